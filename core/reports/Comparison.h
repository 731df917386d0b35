#pragma once

// What two configurations (the window's, the controller's, a file's) differ in, as the compare
// dialog lists it and saves it: the lines of `orvane-cli diff`, from the first one's value to
// the second one's, under the name of the page they belong to.

#include <optional>
#include <string>
#include <vector>

#include "core/image/RegisterImage.h"

namespace orvane {

struct ComparisonGroup {
    std::string page; // as the tab shows it; kOtherRegisters for registers no page uses
    std::vector<std::string> lines;
};

inline constexpr std::string_view kOtherRegisters = "Registers no page uses";
inline constexpr std::string_view kNoDifferences = "No differences";

struct Comparison {
    std::string from; // "the window", "the controller", or a file's path
    std::string to;
    std::vector<ComparisonGroup> groups;
    std::size_t count = 0; // settings that differ

    bool Same() const { return count == 0; }
};

Comparison CompareConfigurations(const RegisterImage& from, const RegisterImage& to,
                                 std::string fromName, std::string toName);

// One line saying what was compared and how many settings differ.
std::string ComparisonHeading(const Comparison& comparison);

// Each page's name and its lines, a blank line between pages; "No differences" when none.
std::string ComparisonList(const Comparison& comparison);

// A configuration file to compare with; `error` says why it cannot be, for the user.
struct ComparisonFile {
    std::optional<RegisterImage> image;
    std::string error;
};
ComparisonFile ReadComparisonFile(const std::string& path);

} // namespace orvane
