#include "core/reports/Comparison.h"

#include "core/image/ConfigFile.h"
#include "core/reports/ConfigDiff.h"

namespace orvane {

Comparison CompareConfigurations(const RegisterImage& from, const RegisterImage& to,
                                 std::string fromName, std::string toName) {
    Comparison comparison{std::move(fromName), std::move(toName), {}, 0};
    // The differences come in the map's order, which keeps each page's fields together.
    for (const FieldDifference& difference : DiffConfigurations(from, to)) {
        const std::string page = difference.field->page.empty()
                                     ? std::string(kOtherRegisters)
                                     : std::string(difference.field->page);
        if (comparison.groups.empty() || comparison.groups.back().page != page) {
            comparison.groups.push_back({page, {}});
        }
        comparison.groups.back().lines.push_back(DescribeDifference(difference));
        ++comparison.count;
    }
    return comparison;
}

std::string ComparisonHeading(const Comparison& comparison) {
    const std::string heading = "From " + comparison.from + " to " + comparison.to + ": ";
    if (comparison.Same()) {
        return heading + std::string(kNoDifferences);
    }
    return heading + std::to_string(comparison.count) +
           (comparison.count == 1 ? " setting differs" : " settings differ");
}

std::string ComparisonList(const Comparison& comparison) {
    if (comparison.Same()) {
        return std::string(kNoDifferences);
    }
    std::string text;
    for (const ComparisonGroup& group : comparison.groups) {
        text += (text.empty() ? "" : "\n\n") + group.page;
        for (const std::string& line : group.lines) {
            text += "\n" + line;
        }
    }
    return text;
}

ComparisonFile ReadComparisonFile(const std::string& path) {
    const FileLoadResult file = ReadConfigurationFileBytes(path);
    if (!file.opened) {
        return {std::nullopt, "The file could not be read: " + file.error};
    }
    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    switch (read.outcome) {
    case FileReadOutcome::Loaded:
        break;
    case FileReadOutcome::TooLarge:
        return {std::nullopt, "This is not a configuration file: it is larger than one."};
    case FileReadOutcome::NoStartMarker:
        return {std::nullopt, "This is not a configuration file: it holds no configuration."};
    case FileReadOutcome::ChecksumMismatch:
        return {std::nullopt, "The configuration in this file is damaged: its checksum is wrong."};
    }
    RegisterImage image;
    image.SetTexts(read.groups);
    return {image, {}};
}

} // namespace orvane
