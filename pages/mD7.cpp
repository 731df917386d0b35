#include "pages/mD7.h"

#include <algorithm>

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "core/rules/FanSettings.h"
#include "pages/GridControls.h"

namespace orvane {

namespace {

constexpr int kPowerRelayFirstAlarm = 5;

// Grid rows: headers, a rule, then two rows per alarm with a rule after each; the
// power relay option and its rule stand between alarms 4 and 5.
constexpr int kHeaderRow = 0;
constexpr int FirstRowOf(int alarm) {
    return 2 + 3 * (alarm - 1) + (alarm >= kPowerRelayFirstAlarm ? 2 : 0);
}
constexpr int kPowerRelayRow = FirstRowOf(kPowerRelayFirstAlarm) - 2;
constexpr int kLastRow = FirstRowOf(reg::kAlarmCount) + 1;

// Columns of the conditions grid; the fan-fail boxes take two, two over two.
enum ConditionColumn {
    kAlarmName,
    kSwitch,
    kFanFail,
    kSensorFail = kFanFail + 2,
    kLowLimit,
    kHighLimit,
    kHysteresis,
    kDelta,
    kConditionColumns
};
// Columns of the actions grid.
enum ActionColumn { kRelay, kFanAction, kActionColumns = kFanAction + reg::kFanCount };

const char* const kPwmTip = "Fan set to this PWM if any specified alarm occurs";
const char* const kPwmTipAlarm5Fan2 = "Fan set to this PWM if any specified alarm occurst";
const char* const kRpmTip = "Fan set to this RPM if any specified alarm occurs";
const char* const kRpmTipAlarm5Fan2 = "Fan set to this RPM if any specified alarm occurst";

QString AlarmName(int alarm, const QString& field) {
    return QString("Alarm %1 %2").arg(alarm).arg(field);
}

QFrame* NewRule() {
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

bool IsRuleRow(int row) {
    if (row == kHeaderRow + 1 || row == kPowerRelayRow + 1) {
        return true;
    }
    for (int alarm = 1; alarm < reg::kAlarmCount; ++alarm) {
        if (row == FirstRowOf(alarm) + 2) {
            return true;
        }
    }
    return false;
}

// Both grids get the same rows, so that each alarm reads straight across the two boxes:
// fixed heights and no spacing, which a grid would leave out beside empty rows.
void ShapeRows(QGridLayout* grid, int columns, int lineHeight) {
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(6);
    grid->setContentsMargins(8, 4, 8, 6);
    for (int row = kHeaderRow + 1; row <= kLastRow; ++row) {
        if (IsRuleRow(row)) {
            grid->setRowMinimumHeight(row, 7);
            grid->addWidget(NewRule(), row, 0, 1, columns);
        } else {
            grid->setRowMinimumHeight(row, lineHeight);
        }
    }
    grid->setRowStretch(kLastRow + 1, 1);
}

} // namespace

std::vector<QWidget*> mD7::AlarmRow::Inputs() const {
    std::vector<QWidget*> inputs{switchInput.begin(), switchInput.end()};
    inputs.insert(inputs.end(), fanFail.begin(), fanFail.end());
    inputs.insert(inputs.end(), sensorFail.begin(), sensorFail.end());
    inputs.insert(inputs.end(), lowLimit.begin(), lowLimit.end());
    inputs.insert(inputs.end(), highLimit.begin(), highLimit.end());
    inputs.insert(inputs.end(), {hysteresis, delta, relayState});
    inputs.insert(inputs.end(), fanAction.begin(), fanAction.end());
    return inputs;
}

mD7::mD7(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabAlarmConfig, parent), m_alarms(host.Image()) {
    BuildLayout();
    WireSignals();
    ApplyEnabledStates();
}

void mD7::BuildLayout() {
    auto* conditionsBox = new QGroupBox("ANY ALARM CONDITION ");
    auto* actionsBox = new QGroupBox("RELAY and ALARM ACTION");
    conditionsBox->setAccessibleName(conditionsBox->title());
    actionsBox->setAccessibleName(actionsBox->title());
    auto* conditions = new QGridLayout(conditionsBox);
    auto* actions = new QGridLayout(actionsBox);

    // Headers take two lines in both boxes, whatever their text, so that rows line up.
    const auto header = [this](const QString& text) {
        QLabel* label = NewHeader(text);
        label->setWordWrap(true);
        label->setFixedHeight(fontMetrics().lineSpacing() * 2 + 4);
        return label;
    };
    m_sensorFailHeader = header("NTC Fail");
    m_lowLimitHeader = header("NTC   Low limit ");
    m_highLimitHeader = header("NTC     High Limit");
    m_deltaHeader = header("Delta T1-T2");
    conditions->addWidget(header("Switch Input"), kHeaderRow, kSwitch);
    conditions->addWidget(header("Fan Fail"), kHeaderRow, kFanFail, 1, 2);
    conditions->addWidget(m_sensorFailHeader, kHeaderRow, kSensorFail);
    conditions->addWidget(m_lowLimitHeader, kHeaderRow, kLowLimit);
    conditions->addWidget(m_highLimitHeader, kHeaderRow, kHighLimit);
    conditions->addWidget(header("Hyste-  resis"), kHeaderRow, kHysteresis);
    conditions->addWidget(m_deltaHeader, kHeaderRow, kDelta);
    actions->addWidget(header("Relay State"), kHeaderRow, kRelay);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        m_fanActionHeaders[static_cast<std::size_t>(fan - 1)] =
            header(QString("Fan%1 PWM").arg(fan));
        actions->addWidget(m_fanActionHeaders[static_cast<std::size_t>(fan - 1)], kHeaderRow,
                           kFanAction + fan - 1);
    }

    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        if (alarm == kPowerRelayFirstAlarm) {
            m_powerRelay = new QCheckBox("Enable Power Relay PCB");
            NameControl(m_powerRelay, m_powerRelay->text());
            conditions->addWidget(m_powerRelay, kPowerRelayRow, kAlarmName, 1, kConditionColumns,
                                  Qt::AlignLeft);
        }
        BuildRow(alarm, conditions, actions);
    }
    const int lineHeight = std::max(Row(1).switchInput[0]->sizeHint().height(),
                                    Row(1).lowLimit[0]->sizeHint().height()) +
                           2;
    ShapeRows(conditions, kConditionColumns, lineHeight);
    ShapeRows(actions, kActionColumns, lineHeight);

    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(10);
    boxes->addWidget(conditionsBox);
    boxes->addWidget(actionsBox);
    boxes->addStretch();
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 8);
    page->addLayout(boxes);
    page->addStretch();
}

void mD7::BuildRow(int alarm, QGridLayout* conditions, QGridLayout* actions) {
    AlarmRow& row = Row(alarm);
    const int top = FirstRowOf(alarm);
    conditions->addWidget(NewCaption(QString("Alarm %1").arg(alarm)), top, kAlarmName, 2, 1);
    for (int input = 1; input <= reg::kSwitchInputCount; ++input) {
        QStringList items;
        for (std::size_t level = 0; level < AlarmConfig::kSwitchLevels.size(); ++level) {
            items << QString::fromStdString(
                AlarmConfig::SwitchItem(input, static_cast<int>(level)));
        }
        QComboBox* list =
            NewEditableList(AlarmName(alarm, QString("Switch Input %1").arg(input)), items);
        list->setCurrentIndex(-1);
        list->setFixedWidth(list->fontMetrics().horizontalAdvance("1:Ignored") + 40);
        row.switchInput[static_cast<std::size_t>(input - 1)] = list;
        conditions->addWidget(list, top + input - 1, kSwitch);
    }
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        auto* box = new QCheckBox(QString("Fan%1").arg(fan));
        NameControl(box, AlarmName(alarm, QString("Fan%1 Fail").arg(fan)));
        row.fanFail[static_cast<std::size_t>(fan - 1)] = box;
        conditions->addWidget(box, top + (fan - 1) / 2, kFanFail + (fan - 1) % 2);
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const auto s = static_cast<std::size_t>(sensor - 1);
        row.sensorFail[s] = new QCheckBox(QString(" NTC%1").arg(sensor));
        NameControl(row.sensorFail[s], AlarmName(alarm, QString("Sensor %1 Fail").arg(sensor)));
        conditions->addWidget(row.sensorFail[s], top + sensor - 1, kSensorFail);
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const auto s = static_cast<std::size_t>(sensor - 1);
        row.lowLimit[s] =
            NewNumberBox(AlarmName(alarm, QString("Sensor %1 Low Limit").arg(sensor)), 6);
        conditions->addWidget(row.lowLimit[s], top + sensor - 1, kLowLimit, Qt::AlignHCenter);
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const auto s = static_cast<std::size_t>(sensor - 1);
        row.highLimit[s] =
            NewNumberBox(AlarmName(alarm, QString("Sensor %1 High Limit").arg(sensor)), 6);
        conditions->addWidget(row.highLimit[s], top + sensor - 1, kHighLimit, Qt::AlignHCenter);
    }
    row.hysteresis = NewNumberBox(AlarmName(alarm, "Hysteresis"), 6);
    row.hysteresis->setToolTip("Hysteresis");
    conditions->addWidget(row.hysteresis, top, kHysteresis, 2, 1, Qt::AlignCenter);
    row.delta = NewNumberBox(AlarmName(alarm, "Delta"), 6);
    conditions->addWidget(row.delta, top, kDelta, 2, 1, Qt::AlignCenter);

    row.relayState = NewEditableList(AlarmName(alarm, "Relay State"),
                                     {AlarmConfig::kRelayItems[0], AlarmConfig::kRelayItems[1]});
    row.relayState->setCurrentIndex(-1);
    row.relayState->setFixedWidth(row.relayState->fontMetrics().horizontalAdvance("Closed") + 40);
    actions->addWidget(row.relayState, top, kRelay, 2, 1, Qt::AlignCenter);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        QLineEdit* field = NewNumberBox(AlarmName(alarm, QString("Fan%1 Action").arg(fan)), 5);
        AcceptDigitsOnly(field, kEntryDigits);
        row.fanAction[static_cast<std::size_t>(fan - 1)] = field;
        actions->addWidget(field, top, kFanAction + fan - 1, 2, 1, Qt::AlignCenter);
    }
}

void mD7::WireSignals() {
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        WireRow(alarm);
    }
    Filling().OnToggle(m_powerRelay, [this](bool checked) { OnPowerRelayClicked(checked); });
}

void mD7::WireRow(int alarm) {
    const AlarmRow& row = Row(alarm);
    PageFill& fill = Filling();
    for (int input = 1; input <= reg::kSwitchInputCount; ++input) {
        QComboBox* list = row.switchInput[static_cast<std::size_t>(input - 1)];
        // Lists store an item chosen, or a typed item's text once editing finishes.
        fill.OnIndex(list, [this, list, alarm, input] {
            m_alarms.StoreSwitchInput(alarm, input, list->currentText().toStdString());
        });
    }
    fill.OnIndex(row.relayState, [this, list = row.relayState, alarm] {
        m_alarms.StoreRelayState(alarm, list->currentText().toStdString());
    });
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const auto f = static_cast<std::size_t>(fan - 1);
        fill.OnToggle(row.fanFail[f], [this, alarm, fan](bool checked) {
            m_alarms.SetFanFail(alarm, fan, checked);
        });
        fill.OnText(row.fanAction[f], [this, alarm, fan] { OnFanActionChanged(alarm, fan); });
    }
    for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
        const auto s = static_cast<std::size_t>(sensor - 1);
        fill.OnToggle(row.sensorFail[s], [this, alarm, sensor](bool checked) {
            m_alarms.SetSensorFail(alarm, sensor, checked);
        });
        fill.OnText(row.lowLimit[s],
                    [this, field = row.lowLimit[s], index = reg::AlarmLowLimit(alarm, sensor)] {
                        OnSensorValueChanged(field, index);
                    });
        fill.OnText(row.highLimit[s],
                    [this, field = row.highLimit[s], index = reg::AlarmHighLimit(alarm, sensor)] {
                        OnSensorValueChanged(field, index);
                    });
    }
    fill.OnText(row.hysteresis,
                [this, field = row.hysteresis, index = reg::AlarmHysteresis(alarm)] {
                    OnSensorValueChanged(field, index);
                });
    fill.OnText(row.delta, [this, alarm] { OnDeltaChanged(alarm); });
}

void mD7::OnTimer() {
    if (Host().ActiveTab() != TabNumber()) {
        return;
    }
    if (m_tickCount++ >= 5) {
        m_tickCount = 0;
        Fields().SetNote(" ");
    }
    if (Host().RefreshFlag(TabNumber()) != "0") {
        return;
    }
    Refresh();
    Host().SetRefreshFlag(TabNumber(), "1");
}

void mD7::Refresh() {
    m_voltageMode = m_alarms.VoltageMode();
    ShowModeTooltips(m_voltageMode);
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        LoadAlarmRow(alarm);
        // The one store a visit makes: each fan action held to its bound.
        for (int fan = 1; fan <= reg::kFanCount; ++fan) {
            OnFanActionChanged(alarm, fan);
        }
    }
    ApplyPowerRelayOption();
    ShowFanActionTexts();
    ShowSensorCaptions(m_voltageMode);
}

void mD7::LoadAlarmRow(int alarm) {
    Filling().Run([this, alarm] { ShowAlarmRow(alarm); });
}

void mD7::ShowAlarmRow(int alarm) {
    const AlarmRowView view = m_alarms.Row(alarm);
    const AlarmRow& row = Row(alarm);
    const auto show = [](QLineEdit* field, const std::string& text) {
        field->setText(QString::fromStdString(text));
    };
    show(row.hysteresis, view.hysteresis);
    for (std::size_t f = 0; f < row.fanAction.size(); ++f) {
        show(row.fanAction[f], view.fanAction[f]);
    }
    show(row.delta, view.delta);
    for (std::size_t s = 0; s < row.highLimit.size(); ++s) {
        show(row.highLimit[s], view.highLimit[s]);
    }
    for (std::size_t s = 0; s < row.lowLimit.size(); ++s) {
        show(row.lowLimit[s], view.lowLimit[s]);
    }
    row.relayState->setCurrentIndex(view.relayItem.value_or(-1));
    for (std::size_t s = 0; s < row.sensorFail.size(); ++s) {
        row.sensorFail[s]->setChecked(view.sensorFail[s]);
    }
    for (std::size_t f = 0; f < row.fanFail.size(); ++f) {
        row.fanFail[f]->setChecked(view.fanFail[f]);
    }
    for (std::size_t i = 0; i < row.switchInput.size(); ++i) {
        if (const auto& item = view.switchItem[i]) {
            row.switchInput[i]->setCurrentIndex(*item);
        }
    }
}

void mD7::ApplyPowerRelayOption() {
    Filling().Run([this] { m_powerRelay->setChecked(m_alarms.PowerRelay()); });
    ApplyEnabledStates();
}

void mD7::SetInputsEnabled(bool enabled) {
    m_inputsEnabled = enabled;
    ApplyEnabledStates();
}

void mD7::ApplyEnabledStates() {
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        const bool rowEnabled =
            m_inputsEnabled && (alarm < kPowerRelayFirstAlarm || m_powerRelay->isChecked());
        const AlarmRow& row = Row(alarm);
        for (QWidget* input : row.Inputs()) {
            input->setEnabled(rowEnabled);
        }
        for (QCheckBox* box : row.sensorFail) {
            box->setEnabled(rowEnabled && !m_voltageMode);
        }
    }
    m_powerRelay->setEnabled(m_inputsEnabled);
}

void mD7::ShowModeTooltips(bool voltage) {
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        const AlarmRow& row = Row(alarm);
        const bool first = alarm == 1;
        if (voltage) {
            row.delta->setToolTip(
                first ? "Difference between Voltage input 1 and Voltage input  2 as an Alarm "
                        "Condition"
                      : "Difference between Voltage input  1 and Voltage input  2 as an Alarm "
                        "Condition");
            row.lowLimit[0]->setToolTip("Voltage V1 below this limit as an Alarm Condition");
            row.highLimit[0]->setToolTip(first
                                             ? "Voltage V1  above this limit as an Alarm Condition"
                                             : "Voltage V1 above this limit as an Alarm Condition");
            row.lowLimit[1]->setToolTip(QString());
            row.highLimit[1]->setToolTip(QString());
        } else {
            row.delta->setToolTip(
                "Difference between Temperature 1 and Temperature 2 as an Alarm Condition");
            row.lowLimit[0]->setToolTip("temperature T1 below this limit as an Alarm Condition");
            row.highLimit[0]->setToolTip("temperature T1 above this limit as an Alarm Condition");
            row.lowLimit[1]->setToolTip("temperature T2 below this limit as an Alarm Condition");
            row.highLimit[1]->setToolTip("temperature T2 above this limit as an Alarm Condition");
        }
    }
}

void mD7::ShowFanActionTexts() {
    const bool rpm = m_alarms.RpmHeaders();
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        SetHeaderText(m_fanActionHeaders[static_cast<std::size_t>(fan - 1)],
                      QString("Fan%1 %2").arg(fan).arg(rpm ? "RPM" : "PWM"));
    }
    for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
        for (int fan = 1; fan <= reg::kFanCount; ++fan) {
            const bool odd = alarm == 5 && fan == 2;
            const char* tip =
                rpm ? (odd ? kRpmTipAlarm5Fan2 : kRpmTip) : (odd ? kPwmTipAlarm5Fan2 : kPwmTip);
            Row(alarm).fanAction[static_cast<std::size_t>(fan - 1)]->setToolTip(tip);
        }
    }
}

void mD7::ShowSensorCaptions(bool voltage) {
    SetHeaderText(m_sensorFailHeader, voltage ? " " : "NTC\nFail");
    SetHeaderText(m_lowLimitHeader, voltage ? "Low Volt\nLimit" : "NTC\nLow Limit");
    SetHeaderText(m_highLimitHeader, voltage ? "High Volt\nLimit" : "NTC\nHigh Limit");
    SetHeaderText(m_deltaHeader, voltage ? "Delta\nV1-V2" : "Delta\nT1-T2");
    for (const AlarmRow& row : m_rows) {
        for (int sensor = 1; sensor <= reg::kSensorCount; ++sensor) {
            row.sensorFail[static_cast<std::size_t>(sensor - 1)]->setText(
                QString(voltage ? " Volt%1" : " NTC%1").arg(sensor));
        }
    }
    ApplyEnabledStates();
}

void mD7::OnPowerRelayClicked(bool checked) {
    m_alarms.SetPowerRelay(checked);
    ApplyEnabledStates();
}

void mD7::OnSensorValueChanged(QLineEdit* field, int index) {
    if (const auto corrected = m_alarms.StoreSensorValue(index, field->text().toStdString())) {
        field->setText(QString::fromStdString(*corrected));
    }
}

void mD7::OnDeltaChanged(int alarm) {
    QLineEdit* field = Row(alarm).delta;
    if (const auto corrected = m_alarms.StoreDelta(alarm, field->text().toStdString())) {
        field->setText(QString::fromStdString(*corrected));
    }
}

void mD7::OnFanActionChanged(int alarm, int fan) {
    QLineEdit* field = Row(alarm).fanAction[static_cast<std::size_t>(fan - 1)];
    if (const auto corrected = m_alarms.StoreFanAction(alarm, fan, field->text().toStdString())) {
        field->setText(QString::fromStdString(*corrected));
    }
}

} // namespace orvane
