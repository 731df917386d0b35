#pragma once

#include <array>
#include <optional>

#include "Alarms.h"
#include "LiveRecord.h"
#include "SimTime.h"
#include "core/image/RegisterImage.h"

namespace orvane::sim {

// The controller's surroundings: two drifting sensors, two switch inputs and four fans
// whose set speed follows their profile (or an alarm's action) and whose measured
// speed follows the set speed at the fan's ramp rate. Fans and sensors: index 0 to 3
// and 0 to 1.
class PlantModel {
public:
    // Moves the plant on to `now` under the configuration.
    void Step(const RegisterImage& config, SimTime now);
    // The state at the last step, for a live record.
    LiveSample Sample(const RegisterImage& config, std::uint64_t upTimeSeconds) const;
    // A controller restart: outputs off, fans run down from where they are.
    void Restart();

    void SetFanFailed(int fan, bool failed);
    void SetSensorFailed(int sensor, bool failed);
    // Holds a sensor at a value (°C or V) instead of its drift; empty releases it.
    void HoldSensor(int sensor, std::optional<double> value);
    void SetSwitchInput(int input, bool high);

private:
    double DriftingValue(int sensor, bool volts, SimTime now) const;
    std::optional<double> SensorValue(int sensor, bool volts, SimTime now) const;
    double SetSpeed(const RegisterImage& config, int fan, double speedLimit);
    void RampFan(const RegisterImage& config, int fan, double seconds);

    SimTime m_lastStep{0};
    std::array<std::optional<double>, 2> m_sensors{};
    std::array<bool, 2> m_sensorFailed{};
    std::array<std::optional<double>, 2> m_sensorHeld{};
    std::array<bool, 2> m_switchHigh{};
    std::array<bool, 4> m_fanFailed{};
    std::array<std::optional<bool>, 4> m_fanSwitchedOn{}; // ON/OFF state; empty until first step
    std::array<double, 4> m_setPercent{};
    std::array<double, 4> m_targetRpm{};
    std::array<double, 4> m_rpm{};
    AlarmStates m_alarms{};
};

} // namespace orvane::sim
