#pragma once

#include <string>

#include "core/image/RegisterImage.h"

namespace orvane::sim {

// What the controller prints besides its live records. None of these texts holds "<"
// or "ORV" (the host searches for the first of each), nor "s," before a line end.
extern const char* const kMenuText;
extern const char* const kPressAgainText;
extern const char* const kSendConfigurationText;
extern const char* const kConfigurationAcceptedText;
extern const char* const kChecksumRefusedText;
extern const char* const kMalformedRefusedText;
extern const char* const kTimeoutRefusedText;
extern const char* const kDefaultsRestoredText;
extern const char* const kRestartingText;
extern const char* const kLeaveMenuText;

// The start-up text: begins with "ORV", at least 240 characters, and no more than the
// 267 that the host shows.
std::string IdentificationText();

// A heading, "<", CR, the 401 groups with a line break after every 20, "> END".
std::string ConfigurationDump(const RegisterImage& config);

} // namespace orvane::sim
