#pragma once

#include <array>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/rules/AlarmConfig.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Alarm Config." tab: six alarms, each with the conditions that raise it and the
// relay state and fan speeds it sets. Alarms 5 and 6 drive the power relay board and
// can be edited only while "Enable Power Relay PCB" is checked. Every edit goes
// straight into the register image.
class mD7 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD7)

public:
    mD7(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    // Clears the main window's note on every sixth visible tick, then reloads the page
    // once after each showing.
    void OnTimer() override;
    void SetInputsEnabled(bool enabled) override;

    // Shows one alarm's row from its registers, storing nothing.
    void LoadAlarmRow(int alarm);
    // Shows register 184's power relay bit: the box, and whether rows 5 and 6 can be edited.
    void ApplyPowerRelayOption();

private:
    struct AlarmRow {
        std::array<QComboBox*, reg::kSwitchInputCount> switchInput{};
        std::array<QCheckBox*, reg::kFanCount> fanFail{};
        std::array<QCheckBox*, reg::kSensorCount> sensorFail{};
        std::array<QLineEdit*, reg::kSensorCount> lowLimit{};
        std::array<QLineEdit*, reg::kSensorCount> highLimit{};
        QLineEdit* hysteresis = nullptr;
        QLineEdit* delta = nullptr;
        QComboBox* relayState = nullptr;
        std::array<QLineEdit*, reg::kFanCount> fanAction{};

        std::vector<QWidget*> Inputs() const;
    };

    void BuildLayout();
    void BuildRow(int alarm, QGridLayout* conditions, QGridLayout* actions);
    void WireSignals();
    void WireRow(int alarm);
    void Refresh();
    void ShowAlarmRow(int alarm);
    void ShowModeTooltips(bool voltage);
    void ShowFanActionTexts();
    void ShowSensorCaptions(bool voltage);
    // Which inputs can be changed now: none while a command runs; rows 5 and 6 only with
    // the power relay board; the sensor-fail boxes only in a temperature mode.
    void ApplyEnabledStates();
    void OnPowerRelayClicked(bool checked);
    void OnSensorValueChanged(QLineEdit* field, int index);
    void OnDeltaChanged(int alarm);
    void OnFanActionChanged(int alarm, int fan);
    AlarmRow& Row(int alarm) { return m_rows[static_cast<std::size_t>(alarm - 1)]; }

    AlarmConfig m_alarms;
    std::array<AlarmRow, reg::kAlarmCount> m_rows{};
    QCheckBox* m_powerRelay = nullptr;
    QLabel* m_sensorFailHeader = nullptr;
    QLabel* m_lowLimitHeader = nullptr;
    QLabel* m_highLimitHeader = nullptr;
    QLabel* m_deltaHeader = nullptr;
    std::array<QLabel*, reg::kFanCount> m_fanActionHeaders{};
    // Counts visible ticks to clear the note; kept across tab changes.
    int m_tickCount = 0;
    bool m_inputsEnabled = true;
    bool m_voltageMode = false;
};

} // namespace orvane
