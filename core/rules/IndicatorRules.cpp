#include "core/rules/IndicatorRules.h"

#include <cmath>

#include "core/comms/LiveText.h"
#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/RegisterLayout.h"

namespace orvane {

namespace {

// What a display means, for those who cannot see it.
constexpr std::string_view kNotConnected = "not connected";
constexpr std::string_view kNoData = "no data";
constexpr std::string_view kNotUsed = "not used";
constexpr std::string_view kRunning = "running";
constexpr std::string_view kStopped = "stopped";
constexpr std::string_view kFailed = "FAIL";
constexpr std::string_view kOk = "OK";
constexpr std::string_view kOn = "on";
constexpr std::string_view kOff = "off";
constexpr std::string_view kNotFitted = "not fitted";

constexpr std::string_view kSetSpeedZero = "Set Speed: 0%";
constexpr std::string_view kDegrees = "\u00B0C";
constexpr int kAlarmOutputs = 4;
constexpr int kOutOfRangeLevel = 99; // the sensor's reading when it has none

// Field of each reading in the live record.
constexpr std::size_t RpmField(int fan) {
    return 2 * static_cast<std::size_t>(fan - 1);
}
constexpr std::size_t PwmField(int fan) {
    return RpmField(fan) + 1;
}
constexpr std::size_t kSensorField = 8;
constexpr std::size_t kSwitchField = 10;
constexpr std::size_t kAlarmsField = 12;

PictureState Still(IndicatorImage image, std::string_view reading) {
    return {image, false, std::string(reading)};
}
PictureState Playing(IndicatorImage image, std::string_view reading) {
    return {image, true, std::string(reading)};
}

void ClearBar(BarState& bar) {
    bar = {0, std::string(kSetSpeedZero)};
}

// Tenths of the full scale of 100, rounded half away from zero: 25 gives 3, 24 gives 2.
int SensorLevel(double reading) {
    if (reading <= 0.0) {
        return 0;
    }
    const double level = std::round(reading / 10.0);
    return level > 1000.0 ? 1000 : static_cast<int>(level);
}

} // namespace

IndicatorRules::IndicatorRules() {
    for (FanPanel& fan : m_panel.fans) {
        fan.picture = Still(IndicatorImage::FanStill, kStopped);
        fan.led.reading = kNoData;
    }
    m_panel.fans[0].led = Still(IndicatorImage::LedGrey, kNoData);
    for (SensorPanel& sensor : m_panel.sensors) {
        sensor.led = Still(IndicatorImage::LedGrey, kNoData);
        sensor.thermometer = Still(IndicatorImage::ThermometerGrey, kNoData);
    }
    for (PictureState& picture : m_panel.switches) {
        picture = Still(IndicatorImage::SwitchGrey, kNoData);
    }
    for (PictureState& lamp : m_panel.lamps) {
        lamp.reading = kNoData;
    }
}

IndicatorTickRequests IndicatorRules::OnTick(const IndicatorTickInputs& in) {
    IndicatorTickRequests requests;
    if (!in.connected) {
        ShowDisconnected();
    } else if (in.state != State::ViewData) {
        ShowNoData();
        requests.viewData = in.receivedCount != 0;
    } else if (in.status == texts::kSyncing && !in.syncingSeen) {
        ShowNoData();
        requests.syncingSeen = true;
    } else if (in.fields[kLiveUpTimeField] == m_lastUpTime) {
        requests.countNoData = true;
        ShowNoData();
    } else {
        ShowNewRecord(in.fields, in.image);
    }
    return requests;
}

void IndicatorRules::ShowNewRecord(const LiveFields& fields, const RegisterImage& image) {
    m_lastUpTime = m_panel.upTime = fields[kLiveUpTimeField];
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        UpdateFanDisplay(fan, fields, image);
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const std::string& text = fields[kSensorField + static_cast<std::size_t>(sensor - 1)];
        SensorPanel& panel = m_panel.sensors[static_cast<std::size_t>(sensor - 1)];
        panel.value = text;
        panel.unit = kDegrees;
        UpdateSensorDisplay(sensor, text);
    }
    for (std::size_t i = 0; i < m_panel.switches.size(); ++i) {
        // Exactly " HI ": the controller pads it, and anything else is low.
        const bool high = fields[kSwitchField + i] == " HI ";
        m_panel.switches[i] =
            high ? Still(IndicatorImage::SwitchHigh, "HI") : Still(IndicatorImage::SwitchLow, "LO");
    }
    const std::string& alarms = fields[kAlarmsField];
    const auto lampFor = [&alarms](char digit) {
        return Contains(alarms, std::string_view(&digit, 1))
                   ? Playing(IndicatorImage::LampRed, kOn)
                   : Still(IndicatorImage::LampGreen, kOff);
    };
    for (int output = 1; output <= kAlarmOutputs; ++output) {
        m_panel.lamps[static_cast<std::size_t>(output - 1)] = lampFor(char('0' + output));
    }
    const bool relayBoard = image.OptionBit(reg::kPowerRelayBit);
    for (int relay = 1; relay <= 2; ++relay) {
        m_panel.lamps[static_cast<std::size_t>(kAlarmOutputs + relay - 1)] =
            relayBoard ? lampFor(char('0' + kAlarmOutputs + relay))
                       : Still(IndicatorImage::LampGrey, kNotFitted);
    }
}

void IndicatorRules::ShowDisconnected() {
    for (SensorPanel& sensor : m_panel.sensors) {
        sensor.thermometer = Still(IndicatorImage::ThermometerGrey, kNotConnected);
        sensor.led = Still(IndicatorImage::LedGrey, kNotConnected);
        sensor.value = " ";
    }
    for (FanPanel& fan : m_panel.fans) {
        fan.meter.value = 0.0;
        ClearBar(fan.bar);
        fan.led = Still(IndicatorImage::LedGrey, kNotConnected);
        fan.picture = Still(IndicatorImage::FanNotUsed, kNotConnected);
    }
    for (PictureState& lamp : m_panel.lamps) {
        lamp = Still(IndicatorImage::LampGrey, kNotConnected);
    }
    for (PictureState& picture : m_panel.switches) {
        picture = Still(IndicatorImage::SwitchGrey, kNotConnected);
    }
}

void IndicatorRules::ShowNoData() {
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        UpdateSensorDisplay(sensor, "____");
    }
    for (FanPanel& fan : m_panel.fans) {
        // Frozen on the frame it shows; the fan LED keeps its image.
        fan.picture.playing = false;
        fan.picture.reading = kNoData;
        fan.meter = MeterState{};
        ClearBar(fan.bar);
    }
    for (PictureState& lamp : m_panel.lamps) {
        if (lamp.image == IndicatorImage::LampGreen || lamp.image == IndicatorImage::LampRed) {
            lamp = Still(IndicatorImage::LampGrey, kNoData);
        }
    }
}

void IndicatorRules::UpdateFanDisplay(int fan, const LiveFields& fields,
                                      const RegisterImage& image) {
    FanPanel& panel = m_panel.fans[static_cast<std::size_t>(fan - 1)];
    if (image.Text(reg::FanUsed(fan)) != "0001") {
        panel.picture = Still(IndicatorImage::FanNotUsed, kNotUsed);
        panel.meter.value = 0.0;
        panel.led = Still(IndicatorImage::LedGrey, kNotUsed);
        ClearBar(panel.bar);
        return;
    }
    const std::string& rpmText = fields[RpmField(fan)];
    const bool fail = Contains(rpmText, kFailed);
    const bool zero = Contains(rpmText, "  0");

    // While a fan keeps failing or standing its LED alternates on every record.
    const std::string_view ledReading = fail ? kFailed : zero ? kStopped : kOk;
    if (fail && panel.led.image != IndicatorImage::LedRed) {
        panel.led = Playing(IndicatorImage::LedRed, ledReading);
    } else if (zero && panel.led.image != IndicatorImage::LedBlank) {
        panel.led = Still(IndicatorImage::LedBlank, ledReading);
    } else {
        panel.led = Still(IndicatorImage::LedGreen, ledReading);
    }

    const double bound = static_cast<double>(image.Value(reg::FanMaxRpm(fan)).value_or(0));
    panel.meter.minimum = 0.0;
    panel.meter.maximum = bound;
    if (fail || zero || rpmText.empty()) {
        panel.picture.playing = false;
        panel.picture.reading = fail ? kFailed : kStopped;
        panel.meter.value = 0.0;
    } else {
        panel.picture = Playing(IndicatorImage::FanSpinning, kRunning);
        panel.meter.value = std::trunc(ReadLiveNumber(rpmText));
    }

    const std::string& pwmText = fields[PwmField(fan)];
    if (pwmText == "  0") {
        ClearBar(panel.bar);
    } else {
        const int percent = ReadLiveInteger(pwmText);
        panel.bar = {percent, "Set Speed: " + std::to_string(percent) + "%"};
    }
}

void IndicatorRules::UpdateSensorDisplay(int sensor, std::string_view text) {
    SensorPanel& panel = m_panel.sensors[static_cast<std::size_t>(sensor - 1)];
    if (Contains(text, kFailed)) {
        panel.led = Playing(IndicatorImage::LedRed, kFailed);
        panel.thermometer = Still(ThermometerLevel(0), kFailed);
        return;
    }
    if (Contains(text, "____")) {
        panel.led = Still(IndicatorImage::LedGrey, kNoData);
        panel.thermometer = Still(IndicatorImage::ThermometerGrey, kNoData);
        return;
    }
    const int level = SensorLevel(ReadLiveNumber(text));
    panel.led = Still(IndicatorImage::LedGreen, kOk);
    if (level == kOutOfRangeLevel) {
        panel.thermometer = Still(IndicatorImage::ThermometerGrey, "no reading");
    } else {
        const int shown = level < kThermometerLevels ? level : kThermometerLevels - 1;
        panel.thermometer = Still(ThermometerLevel(shown), "level " + std::to_string(shown));
    }
}

} // namespace orvane
