#pragma once

#include <string>
#include <vector>

#include "core/comms/LiveFields.h"

namespace orvane::cli {

// "time", then the live record's columns in the order of the GUI's log.
std::vector<std::string> LiveCsvHeader();

// One row: the time, then each field trimmed, numbers as numbers (the up time without its
// "s"), a failed reading as FAIL; a field that holds no number is kept as text.
std::vector<std::string> LiveCsvCells(const std::string& time, const LiveFields& fields);

} // namespace orvane::cli
