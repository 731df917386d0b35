#include "core/reports/LiveCsv.h"

#include <charconv>
#include <ctime>
#include <string_view>

namespace orvane {

namespace {

constexpr int kSpeedColumns = 8;  // RPM and PWM of the four fans
constexpr int kSensorColumns = 2; // temperatures or voltages
constexpr int kUpTimeField = 13;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsWhole(std::string_view text, long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "  0012" is 12; a text that is no whole number stays as it is.
std::string WholeNumber(std::string_view number, std::string_view text) {
    long long value = 0;
    return IsWhole(number, value) ? std::to_string(value) : std::string(text);
}

} // namespace

std::vector<std::string> LiveCsvHeader() {
    return {"time", "RPM1", "PWM1", "RPM2", "PWM2", "RPM3",   "PWM3",     "RPM4",
            "PWM4", "NTC1", "NTC2", "INP1", "INP2", "ALARMS", "Uptime(s)"};
}

std::vector<std::string> LiveCsvCells(const std::string& time, const LiveFields& fields) {
    std::vector<std::string> cells{time};
    for (int i = 0; i < kLiveFieldsFilled; ++i) {
        const std::string_view text = Trimmed(fields[static_cast<std::size_t>(i)]);
        const bool measured = i < kSpeedColumns + kSensorColumns;
        if (measured && text.find("FAIL") != std::string_view::npos) {
            cells.emplace_back("FAIL");
        } else if (i < kSpeedColumns) {
            cells.push_back(WholeNumber(text, text));
        } else if (i == kUpTimeField && text.ends_with('s')) {
            cells.push_back(WholeNumber(text.substr(0, text.size() - 1), text));
        } else {
            cells.emplace_back(text); // sensor readings keep the controller's decimals
        }
    }
    return cells;
}

std::string LocalIsoTime(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    // std::localtime's shared result is read at once, on the one thread that writes rows.
    const std::tm local = *std::localtime(&t);
    char text[64];
    const std::string_view stamp(text,
                                 std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local));
    if (stamp.size() < 5) {
        return std::string(stamp);
    }
    // "+0100" -> "+01:00"
    return std::string(stamp.substr(0, stamp.size() - 2)) + ":" +
           std::string(stamp.substr(stamp.size() - 2));
}

} // namespace orvane
