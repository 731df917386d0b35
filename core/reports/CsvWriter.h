#pragma once

// Comma-separated rows as RFC 4180 has them, for spreadsheets.

#include <span>
#include <string>

namespace orvane {

// The cells joined by commas and ended by CR LF. A cell holding a comma, a double quote, CR
// or LF is put in double quotes, its own quotes doubled.
std::string CsvRow(std::span<const std::string> cells);

} // namespace orvane
