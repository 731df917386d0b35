#pragma once

#include <string>

namespace orvane::cli {

struct BuildStamp {
    const char* date; // "Dec  7 2026", as the compiler writes its build date
    const char* time; // "23:10:04"
};

// When orvane-cli was linked (a file generated at each link defines it).
BuildStamp ExecutableBuildStamp();

// "orvane-cli 2.3.1, compiled on Dec  7 2026, 23:10:04": what made a report.
std::string SoftwareText();

} // namespace orvane::cli
