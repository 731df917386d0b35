// The Alarm Config. page shows the six alarms by the control mode without changing a word
// on a visit (but for fan actions beyond their bound), stores each edit into its alarm's
// own register, and lets rows 5 and 6 be edited only with the power relay board.
#include <QCheckBox>

#include "GridTestSupport.h"
#include "PageTestSupport.h"
#include "core/RegisterLayout.h"
#include "pages/mD7.h"

namespace orvane::test {
namespace {

class AlarmPage : public ::testing::Test {
protected:
    AlarmPage() { page.show(); }
    void Visit(const char* mode = "0001") {
        host.Image().SetText(reg::kControlMode, mode);
        host.SelectTab(kTabAlarmConfig);
        page.OnTimer();
    }
    QLineEdit* Field(const QString& name) { return Find<QLineEdit>(&page, name); }
    QComboBox* List(const QString& name) { return Find<QComboBox>(&page, name); }
    QCheckBox* Check(const QString& name) { return Find<QCheckBox>(&page, name); }
    const std::string& Reg(int index) { return host.Image().Text(index); }
    // Whether the row's inputs (but its sensor-fail boxes) can be changed: "on", "off", "mixed".
    std::string RowState(int alarm) {
        const QString prefix = QString("Alarm %1 ").arg(alarm);
        int on = 0, off = 0;
        for (QWidget* w : page.findChildren<QWidget*>()) {
            const QString name = w->accessibleName();
            const bool sensorFail = name.startsWith(prefix + "Sensor") && name.endsWith("Fail");
            if (name.startsWith(prefix) && !sensorFail) {
                ++(w->isEnabled() ? on : off);
            }
        }
        return off == 0 ? "on" : on == 0 ? "off" : "mixed";
    }
    bool ShowsLabel(const QString& text) {
        for (QLabel* label : page.findChildren<QLabel*>()) {
            if (label->text() == text) {
                return true;
            }
        }
        return false;
    }
    void ExpectHeaders(const QStringList& headers) {
        for (const QString& header : headers) {
            EXPECT_TRUE(ShowsLabel(header)) << "header " << header.toStdString();
        }
    }
    std::string SensorFailBoxes() {
        std::string states;
        for (int alarm = 1; alarm <= 6; ++alarm) {
            for (int sensor = 1; sensor <= 2; ++sensor) {
                states +=
                    Check(QString("Alarm %1 Sensor %2 Fail").arg(alarm).arg(sensor))->isEnabled()
                        ? '1'
                        : '0';
            }
        }
        return states;
    }

    FakePageHost host{kTabComms};
    mD7 page{host, host};
};

TEST_F(AlarmPage, TheDefaultConfigurationShowsUnusedConditionsInTemperatureAndPwm) {
    page.OnTimer(); // another tab is shown
    EXPECT_EQ(List("Alarm 1 Relay State")->currentText(), "");
    const RegisterTexts before = host.Image().Texts();
    Visit();
    EXPECT_EQ(Changes(before, host.Image().Texts()), "");
    for (int alarm = 1; alarm <= 6; ++alarm) {
        const QString a = QString("Alarm %1 ").arg(alarm);
        EXPECT_EQ(List(a + "Switch Input 1")->currentText(), "1:Ignored");
        EXPECT_EQ(List(a + "Switch Input 2")->currentText(), "2:Ignored");
        EXPECT_EQ(List(a + "Relay State")->currentText(), alarm <= 4 ? "Open" : "Closed");
        EXPECT_EQ(Field(a + "Hysteresis")->text(), "1");
        EXPECT_EQ(Field(a + "Sensor 2 High Limit")->text(), "");
        EXPECT_EQ(Field(a + "Delta")->text(), "");
        EXPECT_EQ(Field(a + "Fan4 Action")->text(), "");
        EXPECT_EQ(RowState(alarm), alarm <= 4 ? "on" : "off") << "alarm " << alarm;
    }
    EXPECT_FALSE(Check("Enable Power Relay PCB")->isChecked());
    ExpectHeaders({"NTC\nFail", "NTC\nLow Limit", "NTC\nHigh Limit", "Delta\nT1-T2", "Fan1 PWM",
                   "Fan2 PWM", "Fan3 PWM", "Fan4 PWM"});
    EXPECT_EQ(Check("Alarm 3 Sensor 2 Fail")->text(), " NTC2");
    EXPECT_EQ(SensorFailBoxes(), "111111110000");
    EXPECT_EQ(Field("Alarm 2 Sensor 1 High Limit")->toolTip(),
              "temperature T1 above this limit as an Alarm Condition");
    EXPECT_EQ(Field("Alarm 5 Fan2 Action")->toolTip(),
              "Fan set to this PWM if any specified alarm occurst");
    EXPECT_EQ(Field("Alarm 5 Fan3 Action")->toolTip(),
              "Fan set to this PWM if any specified alarm occurs");
    ExpectReadable(&page);
}

TEST_F(AlarmPage, VoltageRpmModeShowsVoltsToTheHundredthAndKeepsEveryWord) {
    CRegisterImage& image = host.Image();
    image.SetText(reg::AlarmHysteresis(1), "00E6");
    image.SetText(reg::AlarmHighLimit(2, 1), "00EB");
    image.SetText(reg::AlarmLowLimit(3, 2), "FFFB");
    image.SetText(reg::AlarmDelta(4), "03E8");
    image.SetText(reg::AlarmFanAction(1, 2), "0FA0"); // 4000, above the fan's 3000
    image.SetText(reg::kControlMode, "0004");
    const RegisterTexts before = image.Texts();
    Visit("0004");
    EXPECT_EQ(Changes(before, image.Texts()), "137=0BB8"); // the one bound the visit applies
    EXPECT_EQ(Field("Alarm 1 Hysteresis")->text(), "2.3");
    EXPECT_EQ(Field("Alarm 2 Hysteresis")->text(), "0.01");
    EXPECT_EQ(Field("Alarm 2 Sensor 1 High Limit")->text(), "2.35");
    EXPECT_EQ(Field("Alarm 3 Sensor 2 Low Limit")->text(), "-0.05");
    EXPECT_EQ(Field("Alarm 4 Delta")->text(), "10.0");
    EXPECT_EQ(Field("Alarm 1 Fan2 Action")->text(), "3000");
    ExpectHeaders({" ", "Low Volt\nLimit", "High Volt\nLimit", "Delta\nV1-V2", "Fan1 RPM",
                   "Fan2 RPM", "Fan3 RPM", "Fan4 RPM"});
    EXPECT_FALSE(ShowsLabel("NTC\nFail") || ShowsLabel("Fan1 PWM"));
    EXPECT_EQ(Check("Alarm 1 Sensor 1 Fail")->text(), " Volt1");
    EXPECT_EQ(SensorFailBoxes(), "000000000000");
    EXPECT_EQ(Field("Alarm 1 Delta")->toolTip(),
              "Difference between Voltage input 1 and Voltage input  2 as an Alarm Condition");
    EXPECT_EQ(Field("Alarm 2 Delta")->toolTip(),
              "Difference between Voltage input  1 and Voltage input  2 as an Alarm Condition");
    EXPECT_EQ(Field("Alarm 1 Sensor 1 High Limit")->toolTip(),
              "Voltage V1  above this limit as an Alarm Condition");
    EXPECT_EQ(Field("Alarm 1 Sensor 2 High Limit")->toolTip(), "");
    EXPECT_EQ(Field("Alarm 5 Fan2 Action")->toolTip(),
              "Fan set to this RPM if any specified alarm occurst");

    const struct {
        const char* field;
        int index;
        const char* typed;
        const char* shown;
        const char* word;
    } cases[] = {
        {"Alarm 1 Sensor 1 Low Limit", reg::AlarmLowLimit(1, 1), "2.1", "2.1", "00D2"},
        {"Alarm 1 Sensor 1 Low Limit", reg::AlarmLowLimit(1, 1), "12", "10.0", "03E8"},
        {"Alarm 4 Hysteresis", reg::AlarmHysteresis(4), "0.07", "0.07", "0007"},
        {"Alarm 2 Delta", reg::AlarmDelta(2), "-1", "0.0", "0000"},
        {"Alarm 2 Delta", reg::AlarmDelta(2), "-", "-", "FF55"},
        {"Alarm 3 Fan1 Action", reg::AlarmFanAction(3, 1), "4000", "3000", "0BB8"},
        {"Alarm 3 Fan1 Action", reg::AlarmFanAction(3, 1), "2500", "2500", "09C4"},
    };
    for (const auto& c : cases) {
        const RegisterTexts beforeEdit = image.Texts();
        TypeInto(Field(c.field), c.typed);
        EXPECT_EQ(Changes(beforeEdit, image.Texts()), std::to_string(c.index) + "=" + c.word)
            << c.field << " typed '" << c.typed << "'";
        EXPECT_EQ(Field(c.field)->text().toStdString(), c.shown) << c.field << " " << c.typed;
    }
}

TEST_F(AlarmPage, EditsInTemperatureAndPwmStoreIntoTheirAlarmsRegisters) {
    Visit();
    const auto type = [this](const char* field, const char* text) { TypeInto(Field(field), text); };
    type("Alarm 1 Sensor 1 Low Limit", "-5");
    type("Alarm 2 Sensor 2 High Limit", "-");
    type("Alarm 3 Delta", "-");
    type("Alarm 4 Fan1 Action", "150");
    type("Alarm 1 Hysteresis", "");
    type("Alarm 2 Sensor 1 Low Limit", "40000");
    QTest::mouseClick(Check("Alarm 2 Fan3 Fail"), Qt::LeftButton);
    QTest::mouseClick(Check("Alarm 4 Sensor 2 Fail"), Qt::LeftButton);
    Choose(List("Alarm 3 Switch Input 1"), "1:High");
    Choose(List("Alarm 3 Switch Input 2"), "2:Low");
    Choose(List("Alarm 2 Relay State"), "Closed");
    const std::pair<int, const char*> stored[] = {
        {reg::AlarmLowLimit(1, 1), "FFFB"},
        {reg::AlarmHighLimit(2, 2), "0000"},
        {reg::AlarmDelta(3), "FF55"},
        {reg::AlarmFanAction(4, 1), "0064"},
        {reg::AlarmHysteresis(1), "FF55"},
        {reg::AlarmLowLimit(2, 1), "7FFF"},
        {329, "0003"},
        {reg::AlarmSensorFail(4, 2), "0002"},
        {reg::AlarmSwitchInput(3, 1), "0001"},
        {reg::AlarmSwitchInput(3, 2), "0000"},
        {reg::AlarmRelayState(2), "0001"},
    };
    for (const auto& [index, word] : stored) {
        EXPECT_EQ(Reg(index), word) << "register " << index;
    }
    EXPECT_EQ(Field("Alarm 4 Fan1 Action")->text(), "100");
    EXPECT_EQ(Field("Alarm 2 Sensor 1 Low Limit")->text(), "32767");

    QTest::mouseClick(Check("Alarm 2 Fan3 Fail"), Qt::LeftButton);
    type("Alarm 1 Sensor 1 Low Limit", "");
    EXPECT_EQ(Reg(329) + Reg(100), "FF55FF55");
}

TEST_F(AlarmPage, RowsFiveAndSixFollowThePowerRelayOption) {
    host.Image().SetText(kOptionRegister, "0010");
    Visit();
    QCheckBox* option = Check("Enable Power Relay PCB");
    QTest::mouseClick(option, Qt::LeftButton);
    EXPECT_EQ(Reg(kOptionRegister), "0012");
    EXPECT_EQ(RowState(5) + RowState(6), "onon");
    EXPECT_EQ(SensorFailBoxes(), "111111111111");

    // A command disables everything; its end gives back only what the rules allow.
    page.SetInputsEnabled(false);
    EXPECT_EQ(RowState(1) + RowState(6), "offoff");
    EXPECT_FALSE(option->isEnabled());
    EXPECT_EQ(SensorFailBoxes(), "000000000000");
    page.SetInputsEnabled(true);
    QTest::mouseClick(option, Qt::LeftButton);
    EXPECT_EQ(Reg(kOptionRegister), "0010");
    EXPECT_EQ(RowState(5) + RowState(6), "offoff");
    EXPECT_EQ(SensorFailBoxes(), "111111110000");
    page.SetInputsEnabled(false);
    page.SetInputsEnabled(true);
    EXPECT_EQ(RowState(4) + RowState(5), "onoff");

    host.Image().SetText(kOptionRegister, "0002");
    Visit("0003");
    EXPECT_TRUE(option->isChecked());
    EXPECT_EQ(RowState(6), "on");
    EXPECT_EQ(SensorFailBoxes(), "000000000000");
}

TEST_F(AlarmPage, TheNoteIsClearedOnEverySixthVisibleTick) {
    host.note = "priority note";
    for (int i = 0; i < 8; ++i) {
        page.OnTimer(); // not visible: no count
    }
    host.SelectTab(kTabAlarmConfig);
    for (int i = 0; i < 5; ++i) {
        page.OnTimer();
    }
    EXPECT_EQ(host.note, "priority note");
    page.OnTimer();
    EXPECT_EQ(host.note, " ");
    host.note = "again";
    for (int i = 0; i < 5; ++i) {
        page.OnTimer();
    }
    EXPECT_EQ(host.note, "again");
    page.OnTimer();
    EXPECT_EQ(host.note, " ");
}

} // namespace
} // namespace orvane::test
