#pragma once

// The commissioning report as one self-contained HTML file: no scripts, no outside files,
// readable on screen and printed. The window's PDF lays out the same markup.

#include <string>
#include <string_view>

#include "core/reports/CommissioningReport.h"

namespace orvane {

// Text as HTML shows it, never as markup: & < > " ' as entities, line ends as "\n", other
// control characters as U+FFFD, and bytes that are not UTF-8 as Latin-1 characters.
std::string HtmlEscaped(std::string_view text);

std::string RenderReportHtml(const CommissioningReport& report);

} // namespace orvane
