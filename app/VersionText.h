#pragma once

#include <string>
#include <string_view>

namespace orvane {

inline constexpr const char* kSoftwareVersion = "2.3.1";

struct BuildStamp {
    const char* date; // "Nov 29 2022", as the compiler writes its build date
    const char* time; // "14:31:04"
};

// When the executable was built: generated anew whenever the executable is linked again,
// so an incremental build never shows the time some older part of it was compiled.
BuildStamp ExecutableBuildStamp();

// "Software Version 2.3.1 Compiled on <date>, <time>" and the download lead-in.
std::string VersionText(std::string_view buildDate, std::string_view buildTime);
// The same with the executable's build stamp.
std::string VersionText();

} // namespace orvane
