#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/comms/LiveFields.h"

namespace orvane {

// Live records as spreadsheet rows, the same from the command line and from the trend
// window.

// "time", then the live record's columns in the order of the GUI's log.
std::vector<std::string> LiveCsvHeader();

// One row: the time, then each field trimmed, numbers as numbers (the up time without its
// "s"), a failed reading as FAIL; a field that holds no number is kept as text.
std::vector<std::string> LiveCsvCells(const std::string& time, const LiveFields& fields);

// The local time to the second with its offset from UTC: "2026-12-07T23:54:41+01:00".
std::string LocalIsoTime(std::chrono::system_clock::time_point when);

} // namespace orvane
