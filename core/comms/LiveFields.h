#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace orvane {

// The texts of the latest live record, exactly as received: fields 0 to 13 in the
// order of the log header (RPM1 ... Uptime(s)); field 14 stays empty.
inline constexpr int kLiveFieldCount = 15;
inline constexpr int kLiveFieldsFilled = 14;
inline constexpr std::size_t kLiveFieldMaxLength = 8;
// The controller's up time, which changes from record to record.
inline constexpr std::size_t kLiveUpTimeField = 13;

using LiveFields = std::array<std::string, kLiveFieldCount>;

} // namespace orvane
