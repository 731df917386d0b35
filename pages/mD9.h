#pragma once

#include <array>

#include <QLabel>

#include "controls/C3DMeterCtrl.h"
#include "controls/CPictureEx.h"
#include "controls/CTextProgressCtrl.h"
#include "core/rules/IndicatorRules.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Indicator" tab: the controller's live state as an instrument panel, read
// only. While it is shown and connected it keeps the sequencer on live data; the
// rules (IndicatorRules) decide what every display shows, and this page only
// carries their states over to the controls.
class mD9 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD9)

public:
    struct FanControls {
        CPictureEx* picture = nullptr;
        CPictureEx* led = nullptr;
        C3DMeterCtrl* meter = nullptr;
        CTextProgressCtrl* bar = nullptr;
    };
    struct SensorControls {
        CPictureEx* led = nullptr;
        CPictureEx* thermometer = nullptr;
        QLabel* value = nullptr;
        QLabel* unit = nullptr;
    };

    mD9(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    // Does not use the page's refresh flag: every tick follows the live data.
    void OnTimer() override;

    const FanControls& Fan(int fan) const { return m_fans.at(static_cast<std::size_t>(fan - 1)); }
    const SensorControls& Sensor(int sensor) const {
        return m_sensors.at(static_cast<std::size_t>(sensor - 1));
    }
    CPictureEx* Switch(int input) const {
        return m_switches.at(static_cast<std::size_t>(input - 1));
    }
    // Alarm outputs 1 to 4, then power relays 1 and 2.
    CPictureEx* Lamp(int lamp) const { return m_lamps.at(static_cast<std::size_t>(lamp - 1)); }
    QLabel* UpTimeField() const { return m_upTime; }

private:
    QWidget* BuildSensors();
    QWidget* BuildAlarms();
    QWidget* BuildFan(int fan);
    // Carries the rules' panel over to the controls; unchanged states cost nothing.
    void ShowPanel();

    IndicatorRules m_rules;
    std::array<FanControls, 4> m_fans{};
    std::array<SensorControls, 2> m_sensors{};
    std::array<CPictureEx*, kIndicatorSwitches> m_switches{};
    std::array<CPictureEx*, kIndicatorLamps> m_lamps{};
    QLabel* m_upTime = nullptr;
};

} // namespace orvane
