#pragma once

// The "Multi Point/Speed" page's own texts: the labels that follow the profile type,
// the tooltips stating the cleanup rules, its note and its messages.

#include <array>
#include <string>

#include "core/rules/ProfileRecord.h"

namespace orvane::profile {

struct ProfileLabels {
    std::string on, off, activeInput, inputRow, speedRow;
    bool operator==(const ProfileLabels&) const = default;
};

// Before any profile type is known.
ProfileLabels InitialLabels();
ProfileLabels LabelsFor(const ProfileType& type);

struct ProfileTooltips {
    std::array<std::string, reg::kPointCount> pointInput; // points 1 to 8
    std::string on, off;
};

ProfileTooltips TooltipsFor(InputKind kind);

// Shown in the main window while profile edits are not stored.
inline constexpr const char* kStoreNote =
    "NOTE: \nStore Profile before \ndownloading to controller Or \nsaving to PC";

inline constexpr const char* kNoFanCaption = "No fan selected";
inline constexpr const char* kNoFanText = "Select Fan from the fan list before continuing.";
inline constexpr const char* kEitherInputCaption = "Reminder";
inline constexpr const char* kEitherInputText =
    "Thermistor with the higher temperature has priority";

} // namespace orvane::profile
