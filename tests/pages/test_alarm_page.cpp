// The Alarm Config. page shows the six alarms by the control mode without changing a word
// on a visit (but for fan actions beyond their bound), stores each edit into its alarm's
// own register, and lets rows 5 and 6 be edited only with the power relay board.
#include <algorithm>

#include "PageTestSupport.h"
#include "core/image/RegisterLayout.h"
#include "pages/mD7.h"

namespace orvane::test {
namespace {

class AlarmPage : public ::testing::Test {
protected:
    AlarmPage() { m_page.show(); }
    void Visit(const char* mode = "0001") {
        m_host.Image().SetText(reg::kControlMode, mode);
        m_host.SelectTab(kTabAlarmConfig);
        m_page.OnTimer();
    }
    // Per row, "1" when every input but the sensor-fail boxes can be changed, "0" when
    // none can; then one digit per sensor-fail box.
    std::string Enabled() {
        std::string rows, sensorBoxes;
        for (int alarm = 1; alarm <= reg::kAlarmCount; ++alarm) {
            int on = 0, off = 0;
            for (QWidget* w : m_page.findChildren<QWidget*>()) {
                const QString name = w->accessibleName();
                if (!name.startsWith(QString("Alarm %1 ").arg(alarm))) {
                    continue;
                }
                if (name.contains("Sensor") && name.endsWith("Fail")) {
                    sensorBoxes += w->isEnabled() ? '1' : '0';
                } else {
                    ++(w->isEnabled() ? on : off);
                }
            }
            rows += off == 0 ? '1' : on == 0 ? '0' : '?';
        }
        return rows + " " + sensorBoxes;
    }
    bool ShowsLabels(const QStringList& texts) {
        QStringList shown;
        for (QLabel* label : m_page.findChildren<QLabel*>()) {
            shown << label->text();
        }
        return std::ranges::all_of(texts, [&](const QString& t) { return shown.contains(t); });
    }

    FakePageHost m_host{kTabComms};
    mD7 m_page{m_host, m_host};
};

TEST_F(AlarmPage, TheDefaultConfigurationShowsUnusedConditionsInTemperatureAndPwm) {
    m_host.Image().SetText(reg::AlarmFanAction(2, 3), "0096"); // 150, above 100 %
    m_page.OnTimer();                                          // another tab is shown
    EXPECT_EQ(Shown(&m_page, {"Alarm 2 Fan3 Action"}), "|");
    const RegisterTexts before = m_host.Image().Texts();
    Visit();
    EXPECT_EQ(Changes(before, m_host.Image().Texts()), "142=0064"); // the one bound a visit applies
    EXPECT_EQ(Shown(&m_page, {"Alarm 2 Fan3 Action"}), "100|");
    for (int alarm = 1; alarm <= 6; ++alarm) {
        const QString a = QString("Alarm %1 ").arg(alarm);
        EXPECT_EQ(Shown(&m_page, {a + "Switch Input 1", a + "Switch Input 2", a + "Relay State",
                                  a + "Hysteresis", a + "Sensor 2 High Limit", a + "Delta"}),
                  std::string("1:Ignored|2:Ignored|") + (alarm <= 4 ? "Open" : "Closed") + "|1|||");
    }
    EXPECT_EQ(Shown(&m_page, {"Enable Power Relay PCB"}), "off|");
    EXPECT_EQ(Enabled(), "111100 111111110000");
    EXPECT_TRUE(ShowsLabels({"NTC\nFail", "NTC\nLow Limit", "NTC\nHigh Limit", "Delta\nT1-T2",
                             "Fan1 PWM", "Fan4 PWM", "Hyste-  resis"}));
    EXPECT_EQ(Find<QCheckBox>(&m_page, "Alarm 3 Sensor 2 Fail")->text(), " NTC2");
    ExpectReadable(&m_page);
}

// The display of words and the bounds are tabled in the core tests; here the mode reaches the
// fields, labels, boxes and tooltips.
TEST_F(AlarmPage, VoltageModeShowsVoltsWithItsOwnLabelsAndTooltips) {
    m_host.Image().SetText(reg::AlarmHighLimit(2, 1), "00EB");
    Visit("0004");
    EXPECT_EQ(Shown(&m_page, {"Alarm 2 Sensor 1 High Limit"}), "2.35|");
    EXPECT_TRUE(ShowsLabels({"Low Volt\nLimit", "Delta\nV1-V2", "Fan1 RPM"}));
    EXPECT_FALSE(ShowsLabels({"Fan1 PWM"}) || ShowsLabels({"NTC\nFail"}));
    EXPECT_EQ(Find<QCheckBox>(&m_page, "Alarm 1 Sensor 1 Fail")->text(), " Volt1");
    EXPECT_EQ(Enabled(), "111100 000000000000");
    const struct {
        const char *mode, *field, *tip;
    } cases[] = {
        {"0001", "Alarm 5 Fan2 Action", "Fan set to this PWM if any specified alarm occurst"},
        {"0004", "Alarm 1 Delta",
         "Difference between Voltage input 1 and Voltage input  2 as an Alarm Condition"},
        {"0004", "Alarm 5 Fan2 Action", "Fan set to this RPM if any specified alarm occurst"},
    };
    for (const auto& c : cases) {
        Visit(c.mode);
        EXPECT_EQ(Find<QLineEdit>(&m_page, c.field)->toolTip().toStdString(), c.tip)
            << "mode " << c.mode << ": " << c.field;
    }
}

TEST_F(AlarmPage, EachEditStoresIntoItsAlarmsOwnRegister) {
    using enum Input;
    const struct {
        const char* mode;
        Input input;
        const char *control, *text, *changes;
        const char* shown; // what the control shows afterwards, where that matters
    } cases[] = {
        {"0004", Type, "Alarm 1 Sensor 1 Low Limit", "2.1", "100=00D2", nullptr},
        {"0004", Type, "Alarm 3 Fan1 Action", "4000", "144=0BB8", "3000|"},
        {"0004", Type, "Alarm 4 Hysteresis", "0.07", "303=0007", nullptr},
        {"0003", Type, "Alarm 2 Delta", "-1", "131=0000", "0.0|"},
        {"0001", Type, "Alarm 2 Sensor 2 High Limit", "-", "115=0000", nullptr},
        {"0001", Click, "Alarm 2 Fan3 Fail", "", "329=0003", nullptr},
        {"0001", Click, "Alarm 4 Sensor 2 Fail", "", "95=0002", nullptr},
        {"0001", Choose, "Alarm 3 Switch Input 2", "2:Low", "78=0000", nullptr},
        {"0001", Choose, "Alarm 2 Relay State", "Closed", "125=0001", nullptr},
        {"0001", TypeInList, "Alarm 2 Relay State", "Open", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + ": '" + c.text + "' in " + c.control);
        Visit(c.mode);
        const RegisterTexts before = m_host.Image().Texts();
        Act(&m_page, c.input, c.control, c.text);
        EXPECT_EQ(Changes(before, m_host.Image().Texts()), c.changes);
        if (c.shown != nullptr) {
            EXPECT_EQ(Shown(&m_page, {c.control}), c.shown);
        }
    }
    Act(&m_page, Input::Click, "Alarm 2 Fan3 Fail");
    EXPECT_EQ(m_host.Image().Text(329), "FF55");
}

TEST_F(AlarmPage, RowsFiveAndSixFollowThePowerRelayOptionAndCommandsLockEveryInput) {
    m_host.Image().SetText(kOptionRegister, "0010");
    Visit();
    Act(&m_page, Input::Click, "Enable Power Relay PCB");
    EXPECT_EQ(m_host.Image().Text(kOptionRegister), "0012");
    EXPECT_EQ(Enabled(), "111111 111111111111");

    // A command disables everything; its end gives back only what the rules allow.
    m_page.SetInputsEnabled(false);
    EXPECT_EQ(Enabled(), "000000 000000000000");
    EXPECT_FALSE(Find<QCheckBox>(&m_page, "Enable Power Relay PCB")->isEnabled());
    m_page.SetInputsEnabled(true);
    Act(&m_page, Input::Click, "Enable Power Relay PCB");
    EXPECT_EQ(m_host.Image().Text(kOptionRegister), "0010");
    m_page.SetInputsEnabled(false);
    m_page.SetInputsEnabled(true);
    EXPECT_EQ(Enabled(), "111100 111111110000");

    m_host.Image().SetText(kOptionRegister, "0002");
    Visit("0003");
    EXPECT_EQ(Shown(&m_page, {"Enable Power Relay PCB"}), "on|");
    EXPECT_EQ(Enabled(), "111111 000000000000");
}

TEST_F(AlarmPage, TheNoteIsClearedOnEverySixthVisibleTick) {
    std::string seen;
    for (int tick = 1; tick <= 20; ++tick) {
        if (tick == 9) {
            m_host.SelectTab(kTabAlarmConfig); // ticks 1 to 8 came while another tab was shown
        }
        m_host.note = "note";
        m_page.OnTimer();
        seen += m_host.note == " " ? '.' : '-';
    }
    EXPECT_EQ(seen, "-------------.-----.");
}

} // namespace
} // namespace orvane::test
