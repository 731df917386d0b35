#pragma once

#include <optional>
#include <string>

#include "core/comms/Prompter.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// "Save Configuration File to PC": the register image as a configuration file,
// under a name the user confirms. A file that cannot be written, or an image that
// cannot be turned into a configuration text, is reported; a half-written file is
// never left behind. The path written, or nothing.
std::optional<std::string> SaveConfigurationFile(RegisterImage& image, bool busy,
                                                 IPrompter& prompter, IConfigInfoView& view);

} // namespace orvane
