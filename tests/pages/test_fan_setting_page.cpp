// The Fan Setting page shows its registers once per visit without changing them, and every
// edit stores one word, within 0..65535, into that fan's own register and nowhere else.
#include <QCheckBox>

#include "GridTestSupport.h"
#include "PageTestSupport.h"
#include "core/RegisterLayout.h"
#include "pages/mD4.h"

namespace orvane::test {
namespace {

class FanSettingPage : public ::testing::Test {
protected:
    FanSettingPage() { page.show(); }
    // Selects the tab and runs the tick that fills the page.
    void Visit() {
        host.SelectTab(kTabFanSetting);
        page.OnTimer();
    }
    QLineEdit* Box(const QString& name) { return Find<QLineEdit>(&page, name); }
    QComboBox* List(const QString& name) { return Find<QComboBox>(&page, name); }
    QCheckBox* Check(const QString& name) { return Find<QCheckBox>(&page, name); }
    const std::string& Reg(int index) { return host.Image().Text(index); }

    FakePageHost host{kTabComms};
    mD4 page{host, host};
};

TEST_F(FanSettingPage, AVisitShowsTheRegistersOnceAndChangesNone) {
    CRegisterImage& image = host.Image();
    image.SetText(reg::FanPulsesPerRev(2), "0004");
    image.SetText(reg::FanStationaryPwm(3), "0032");
    image.SetText(reg::FanControlType(4), "0002");
    image.SetText(reg::FanControlType(1), "0000");
    image.SetText(reg::FanUsed(3), "0000");
    image.SetText(reg::FanMaxRpm(2), "1388");
    image.SetText(kOptionRegister, "0010");
    const RegisterTexts before = image.Texts();

    page.OnTimer(); // another tab is shown
    EXPECT_EQ(Box("FAN 2 Data Sheet Max Fan RPM")->text(), "");
    Visit();
    EXPECT_EQ(Changes(before, image.Texts()), "");
    EXPECT_TRUE(Check("FAN 1 Used")->isChecked());
    EXPECT_FALSE(Check("FAN 3 Used")->isChecked());
    EXPECT_EQ(List("FAN 1 Pulse / Rev")->currentText(), "2");
    EXPECT_EQ(List("FAN 2 Pulse / Rev")->currentIndex(), -1);
    EXPECT_EQ(List("FAN 2 Pulse / Rev")->currentText(), "");
    EXPECT_EQ(List("FAN 3 Stationary PWM")->currentText(), "50");
    EXPECT_EQ(List("FAN 1 Control Type")->currentText(), "0-10V");
    EXPECT_EQ(List("FAN 4 Control Type")->currentText(), "Open Collector");
    EXPECT_EQ(Box("FAN 2 Data Sheet Max Fan RPM")->text(), "5000");
    EXPECT_EQ(Box("FAN 4 Ramp Rate")->text(), "10");
    EXPECT_EQ(Box("PWM Freq(KHz)")->text(), "2");
    EXPECT_TRUE(Check("Daily Fan Run")->isChecked());
    EXPECT_FALSE(Check("Dummy Fan Link(Permitted)")->isChecked());
    EXPECT_EQ(Box("FAN 1 Ramp Rate")->toolTip(), "The rate at which the fan speed changes");
    EXPECT_EQ(Box("FAN 3 Data Sheet Max Fan RPM")->toolTip(),
              "Change Fan Maximum RPM (As stated in fan Data Sheet. Note - this is NOT the set "
              "speed)");
    ExpectReadable(&page);

    image.SetText(reg::FanMaxRpm(2), "0BB8");
    page.OnTimer(); // still shown: no second fill
    EXPECT_EQ(Box("FAN 2 Data Sheet Max Fan RPM")->text(), "5000");
}

TEST_F(FanSettingPage, EachEditStoresOneWordOfItsFanWithinAWord) {
    host.Image().SetText(kOptionRegister, "0003");
    Visit();
    using enum Input;
    const struct {
        Input input;
        const char* control;
        const char* text;
        const char* changes;
        const char* shown; // what the edited field shows afterwards, where that matters
    } cases[] = {
        {Type, "FAN 1 Data Sheet Max Fan RPM", "4000", "292=0FA0", nullptr},
        {Type, "FAN 1 Data Sheet Max Fan RPM", "", "292=0000", nullptr},
        {Type, "FAN 3 Ramp Rate", "99999", "298=FFFF", "65535"},
        {Type, "FAN 4 Ramp Rate", "1234567", "299=3039", "12345"},
        {Type, "PWM Freq(KHz)", "-7a", "180=0007", "7"},
        {TypeInList, "FAN 4 Pulse / Rev", "12", "313=000C", nullptr},
        {TypeInList, "FAN 3 Stationary PWM", "75", "316=004B", nullptr},
        {TypeInList, "FAN 2 Pulse / Rev", "99999", "311=FFFF", "65535"},
        {TypeInList, "FAN 1 Pulse / Rev", "", "", nullptr},
        {TypeInList, "FAN 1 Stationary PWM", "", "", nullptr},
        {Choose, "FAN 2 Stationary PWM", "100", "315=0064", nullptr},
        {Choose, "FAN 2 Control Type", "0-10V", "319=0000", nullptr},
        {Click, "FAN 2 Used", "", "1=0000", nullptr},
        {Click, "Dummy Fan Link(Permitted)", "", "184=000B", nullptr},
        {Click, "Daily Fan Run", "", "184=001B", nullptr},
    };
    for (const auto& c : cases) {
        const RegisterTexts before = host.Image().Texts();
        const QLineEdit* edited = Act(&page, c.input, c.control, c.text);
        EXPECT_EQ(Changes(before, host.Image().Texts()), c.changes)
            << InputName(c.input) << " '" << c.text << "' in " << c.control;
        if (c.shown != nullptr) {
            EXPECT_EQ(edited->text().toStdString(), c.shown) << c.control << " " << c.text;
        }
    }
    EXPECT_TRUE(host.rig.prompter.asked.empty());
}

TEST_F(FanSettingPage, ChoosingNoPulsesRemindsOfTheFanTypeBeforeStoring) {
    Visit();
    host.rig.prompter.whileOpen = [this] { EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0002"); };
    Choose(List("FAN 3 Pulse / Rev"), "0");
    EXPECT_EQ(host.rig.prompter.asked,
              Strings{"Reminder: This option is for Relay Fan or No Tacho type Fan"});
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0000");
    Choose(List("FAN 3 Pulse / Rev"), "6");
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0006");
    EXPECT_EQ(host.rig.prompter.asked.size(), 1u);
}

TEST_F(FanSettingPage, EveryInputIsOffWhileACommandRuns) {
    const auto enabledInputs = [this] {
        int enabled = 0;
        for (QWidget* w : page.findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QCheckBox*>(w);
            enabled += input && w->isEnabled() && !qobject_cast<QComboBox*>(w->parentWidget());
        }
        return enabled;
    };
    EXPECT_EQ(enabledInputs(), 4 * 6 + 3);
    page.SetInputsEnabled(false);
    EXPECT_EQ(enabledInputs(), 0);
    page.SetInputsEnabled(true);
    EXPECT_EQ(enabledInputs(), 27);
}

} // namespace
} // namespace orvane::test
