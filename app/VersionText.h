#pragma once

#include <string>

namespace orvane {

inline constexpr const char* kSoftwareVersion = "2.3.1";

// "Software Version 2.3.1 Compiled on <date>, <time>" and the download lead-in,
// with the build date as the compiler writes it ("Nov 29 2022").
std::string VersionText();

} // namespace orvane
