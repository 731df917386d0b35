#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/RegisterLayout.h"

namespace orvane {

// Sensor value words (limits, delta, hysteresis) hold whole degrees Celsius as a
// signed 16-bit number, or in a voltage mode hundredths of a volt.
inline constexpr long kMaxHundredthsOfVolt = 1000; // 10.00 V
inline constexpr long kMinDegrees = -32768;
inline constexpr long kMaxDegrees = 32767;

// Hundredths of a volt as a field shows them: one decimal when the hundredths digit is
// zero ("2.3"), two otherwise ("2.35"), so that the text reads back as the same word.
std::string VoltageText(long hundredths);

// How a field shows a sensor value word: empty for the "not used" marker; limits and
// delta as signed (8000 to FFFF are negative, -32768 to -1), the
// hysteresis unsigned; in degrees, or in volts in a voltage mode.
std::string SensorValueText(const std::string& word, bool voltage, bool asSigned);

// What a limit, delta or hysteresis text stores. An entry beyond what the sensor can be
// set to is held to the nearer bound, and `corrected` is the text the field shows then.
struct LimitedWord {
    std::string word; // four hexadecimal digits
    std::optional<std::string> corrected;
};
// `mode` is register 183's text: in a voltage mode the text is read in volts and
// rounded to the nearest hundredth (0.00 to 10.00 V), otherwise as whole degrees
// (-32768 to 32767). A text without digits reads as 0.
LimitedWord LimitTextToWord(const std::string& mode, std::string_view text);

// One alarm row as the page shows it.
struct AlarmRowView {
    // The item of each switch input list to select, or none to leave the list as it is.
    std::array<std::optional<int>, reg::kSwitchInputCount> switchItem;
    std::array<bool, reg::kFanCount> fanFail{};
    std::array<bool, reg::kSensorCount> sensorFail{};
    std::array<std::string, reg::kSensorCount> lowLimit;
    std::array<std::string, reg::kSensorCount> highLimit;
    std::string hysteresis;
    std::string delta;
    // "Open" or "Closed", or none for an empty selection.
    std::optional<int> relayItem;
    std::array<std::string, reg::kFanCount> fanAction;
};

// The Alarm Config. page's rules: what a row shows of its registers and what each edit
// stores. Only the alarm registers change, and of register 184 only the power relay bit.
class AlarmConfig {
public:
    static constexpr std::array<const char*, 3> kSwitchLevels{"Ignored", "Low", "High"};
    static constexpr std::array<const char*, 2> kRelayItems{"Open", "Closed"};

    explicit AlarmConfig(RegisterImage& image) : m_image(image) {}

    // "1:Ignored", "2:High" and so on.
    static std::string SwitchItem(int input, int level);

    bool VoltageMode() const;
    // Fan actions are RPM for "0002" and "0004".
    bool RpmHeaders() const;
    // 100 in a PWM mode ("0001", "0003"), the fan's data-sheet maximum otherwise.
    unsigned FanActionBound(int fan) const;
    bool PowerRelay() const;

    AlarmRowView Row(int alarm) const;

    // A list item chosen; any other text stores nothing.
    void StoreSwitchInput(int alarm, int input, std::string_view item);
    void StoreRelayState(int alarm, std::string_view item);
    void SetFanFail(int alarm, int fan, bool checked);
    void SetSensorFail(int alarm, int sensor, bool checked);
    void SetPowerRelay(bool on);

    // Number fields; each returns the text the field must show instead, if any. An
    // empty field (and a delta of "-") stores the "not used" marker.
    std::optional<std::string> StoreFanAction(int alarm, int fan, std::string_view text);
    std::optional<std::string> StoreSensorValue(int index, std::string_view text);
    std::optional<std::string> StoreDelta(int alarm, std::string_view text);

private:
    std::string Mode() const;

    RegisterImage& m_image;
};

} // namespace orvane
