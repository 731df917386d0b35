#pragma once

#include <string>
#include <vector>

#include "core/image/RegisterImage.h"
#include "core/reports/ConfigDiff.h"

namespace orvane::cli {

// What check prints: name, issue, description, date and checksum, as lines or as JSON.
std::string ConfigurationSummary(const RegisterImage& image, bool json);

// What info --json prints: the controller's identification text.
std::string IdentificationJson(const std::string& text);

// What diff prints: one line per difference, or a JSON object listing them.
std::string DiffReport(const std::vector<FieldDifference>& differences, const RegisterImage& before,
                       const RegisterImage& after, bool json);

} // namespace orvane::cli
