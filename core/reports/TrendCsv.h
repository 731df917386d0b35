#pragma once

#include <cstdint>
#include <string>

#include "core/rules/TrendHistory.h"

namespace orvane {

// The trend's records stamped from `fromMs` to `toMs` (both included) as a CSV file with
// the header, columns and time format of `orvane-cli log --csv`.
std::string TrendCsv(const trend::TrendRing& records, std::int64_t fromMs, std::int64_t toMs);

} // namespace orvane
