#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/image/RegisterLayout.h"

namespace orvane {

// The Mode page's rules: the operating mode (register 183, with the alarm hysteresis
// registers it sets) and the project mode (register 182).

inline constexpr const char* kOperatingModeTitle = "OPERATING MODE ";
inline constexpr const char* kProjectModeLabel = "Project Mode";
inline constexpr const char* kCautionText =
    "### CAUTION - CHANGING PROJECT MODE WILL OVERWRITE SETTINGS ###  ### ONLY CHANGE THIS "
    "SETTING IF ADVISED BY Halvorn ###    ";

struct OperatingMode {
    const char* label; // the radio button's text, with its two leading blanks
    reg::ControlMode mode;
    unsigned hysteresis; // registers 300 to 305
};
std::span<const OperatingMode> OperatingModes();

// Choosing a mode: register 183, the six hysteresis registers; returns what the
// main window's "MODE" field then shows.
std::string ApplyOperatingMode(RegisterImage& image, reg::ControlMode mode);

// The mode to check when the page is filled: register 183 read as a decimal number,
// 1 to 4; anything else leaves the buttons as they are.
std::optional<reg::ControlMode> ShownOperatingMode(const RegisterImage& image);

struct ProjectMode {
    const char* text; // the list item
    unsigned value;   // register 182
};
// In list order: "Undefined Project Mode", then modes 0 to 6.
std::span<const ProjectMode> ProjectModes();

// The item shown for register 182: modes 0 to 6 by their item, anything else
// "Undefined Project Mode".
std::string_view ShownProjectMode(const RegisterImage& image);

// Stores the value of the item with exactly this text; false, and nothing changed,
// when no item has it.
bool StoreProjectMode(RegisterImage& image, std::string_view itemText);

} // namespace orvane
