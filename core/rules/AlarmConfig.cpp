#include "core/rules/AlarmConfig.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/image/Conversions.h"
#include "core/image/RegisterLayout.h"
#include "core/image/TypedEntry.h"

namespace orvane {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Beyond any bound, and far from overflowing once in hundredths.
constexpr long long kSaturated = 1'000'000'000;

// A decimal number of volts in hundredths, rounded half away from zero. Read as the C
// library reads a number (leading blanks, a sign, digits and one decimal point, up to
// the first other character) but in decimal digits throughout, so that 2.1 is 210
// exactly and the system's locale cannot change the decimal point.
long long ReadHundredths(std::string_view text) {
    std::size_t i = 0;
    const bool negative = SkipBlanksAndSign(text, i);
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kSaturated);
    }
    value *= 100;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (const long long place : {10LL, 1LL}) {
            if (i < text.size() && IsDigit(text[i])) {
                value += place * (text[i++] - '0');
            }
        }
        if (i < text.size() && IsDigit(text[i]) && text[i] >= '5') {
            ++value;
        }
    }
    return negative ? -value : value;
}

bool IsUnusedMarker(const std::optional<unsigned>& value) {
    return value == reg::kUnused;
}

} // namespace

std::string VoltageText(long hundredths) {
    const long magnitude = std::labs(hundredths);
    std::string text = (hundredths < 0 ? "-" : "") + FormatDecimal(magnitude / 100) + "." +
                       FormatDecimal(magnitude / 10 % 10);
    if (magnitude % 10 != 0) {
        text += FormatDecimal(magnitude % 10);
    }
    return text;
}

std::string SensorValueText(const std::string& word, bool voltage, bool asSigned) {
    const std::optional<unsigned> read = ScanHex(word);
    if (IsUnusedMarker(read)) {
        return {};
    }
    const unsigned value = read.value_or(0) & 0xFFFFu;
    const long number = asSigned ? SignedWord(value) : static_cast<long>(value);
    return voltage ? VoltageText(number) : FormatDecimal(number);
}

LimitedWord LimitTextToWord(const std::string& mode, std::string_view text) {
    const bool voltage = reg::MeasuresVoltage(reg::ControlModeOf(mode));
    const BoundedNumber held = voltage ? HoldToRange(ReadHundredths(text), 0, kMaxHundredthsOfVolt)
                                       : ReadTypedNumber(text, kMinDegrees, kMaxDegrees);
    LimitedWord result{FormatHexWord(held.Word()), std::nullopt};
    if (held.clamped) {
        const long value = static_cast<long>(held.value);
        result.corrected = voltage ? VoltageText(value) : FormatDecimal(value);
    }
    return result;
}

std::string AlarmConfig::SwitchItem(int input, int level) {
    return FormatDecimal(input) + ":" + kSwitchLevels.at(static_cast<std::size_t>(level));
}

std::string AlarmConfig::Mode() const {
    return m_image.Text(reg::kControlMode);
}

bool AlarmConfig::VoltageMode() const {
    return reg::IsVoltageMode(m_image);
}

bool AlarmConfig::RpmHeaders() const {
    return reg::IsRpmMode(m_image);
}

unsigned AlarmConfig::FanActionBound(int fan) const {
    const std::optional<reg::ControlMode> mode = reg::ReadControlMode(m_image);
    if (mode && !reg::SetsRpm(mode)) {
        return 100;
    }
    return m_image.Value(reg::FanMaxRpm(fan)).value_or(0) & 0xFFFFu;
}

bool AlarmConfig::PowerRelay() const {
    return m_image.OptionBit(reg::kPowerRelayBit);
}

AlarmRowView AlarmConfig::Row(int alarm) const {
    AlarmRowView row;
    const bool voltage = VoltageMode();
    for (int input = 1; input <= reg::kSwitchInputCount; ++input) {
        const std::optional<unsigned> value = m_image.Value(reg::AlarmSwitchInput(alarm, input));
        auto& item = row.switchItem[static_cast<std::size_t>(input - 1)];
        if (IsUnusedMarker(value)) {
            item = 0;
        } else if (value == 0u || value == 1u) {
            item = static_cast<int>(*value) + 1;
        }
    }
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const auto f = static_cast<std::size_t>(fan - 1);
        row.fanFail[f] = m_image.Value(reg::AlarmFanFail(alarm, fan)) == unsigned(fan);
        const std::optional<unsigned> action = m_image.Value(reg::AlarmFanAction(alarm, fan));
        row.fanAction[f] = IsUnusedMarker(action) ? "" : FormatDecimal(action.value_or(0));
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const auto s = static_cast<std::size_t>(sensor - 1);
        row.sensorFail[s] = m_image.Value(reg::AlarmSensorFail(alarm, sensor)) == unsigned(sensor);
        row.lowLimit[s] =
            SensorValueText(m_image.Text(reg::AlarmLowLimit(alarm, sensor)), voltage, true);
        row.highLimit[s] =
            SensorValueText(m_image.Text(reg::AlarmHighLimit(alarm, sensor)), voltage, true);
    }
    row.hysteresis = SensorValueText(m_image.Text(reg::AlarmHysteresis(alarm)), voltage, false);
    row.delta = SensorValueText(m_image.Text(reg::AlarmDelta(alarm)), voltage, true);
    const std::optional<unsigned> relay = m_image.Value(reg::AlarmRelayState(alarm));
    if (relay == 0u || relay == 1u) {
        row.relayItem = static_cast<int>(*relay);
    }
    return row;
}

void AlarmConfig::StoreSwitchInput(int alarm, int input, std::string_view item) {
    static constexpr std::array<unsigned, kSwitchLevels.size()> kWords{reg::kUnused, 0x0000,
                                                                       0x0001};
    for (std::size_t level = 0; level < kWords.size(); ++level) {
        if (item == SwitchItem(input, static_cast<int>(level))) {
            m_image.SetValue(reg::AlarmSwitchInput(alarm, input), kWords[level]);
        }
    }
}

void AlarmConfig::StoreRelayState(int alarm, std::string_view item) {
    for (std::size_t i = 0; i < kRelayItems.size(); ++i) {
        if (item == kRelayItems[i]) {
            m_image.SetValue(reg::AlarmRelayState(alarm), static_cast<unsigned>(i));
        }
    }
}

void AlarmConfig::SetFanFail(int alarm, int fan, bool checked) {
    m_image.SetValue(reg::AlarmFanFail(alarm, fan), checked ? unsigned(fan) : reg::kUnused);
}

void AlarmConfig::SetSensorFail(int alarm, int sensor, bool checked) {
    m_image.SetValue(reg::AlarmSensorFail(alarm, sensor),
                     checked ? unsigned(sensor) : reg::kUnused);
}

void AlarmConfig::SetPowerRelay(bool on) {
    m_image.SetOptionBit(reg::kPowerRelayBit, on);
}

std::optional<std::string> AlarmConfig::StoreFanAction(int alarm, int fan, std::string_view text) {
    const int index = reg::AlarmFanAction(alarm, fan);
    if (text.empty()) {
        m_image.SetValue(index, reg::kUnused);
        return std::nullopt;
    }
    const long read = std::max(ScanDecimal(text).value_or(0), 0);
    const unsigned bound = FanActionBound(fan);
    if (read > static_cast<long>(bound)) {
        m_image.SetValue(index, bound);
        return FormatDecimal(bound);
    }
    m_image.SetValue(index, static_cast<unsigned>(read));
    return std::nullopt;
}

std::optional<std::string> AlarmConfig::StoreSensorValue(int index, std::string_view text) {
    if (text.empty()) {
        m_image.SetValue(index, reg::kUnused);
        return std::nullopt;
    }
    LimitedWord limited = LimitTextToWord(Mode(), text);
    m_image.SetText(index, std::move(limited.word));
    return limited.corrected;
}

std::optional<std::string> AlarmConfig::StoreDelta(int alarm, std::string_view text) {
    if (text == "-") {
        m_image.SetValue(reg::AlarmDelta(alarm), reg::kUnused);
        return std::nullopt;
    }
    return StoreSensorValue(reg::AlarmDelta(alarm), text);
}

} // namespace orvane
