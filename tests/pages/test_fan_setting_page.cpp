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

TEST_F(FanSettingPage, NumberBoxesStoreWhatTheyShowWithinAWord) {
    Visit();
    const struct {
        const char* box;
        int index;
        const char* typed;
        const char* shown;
        const char* word;
    } cases[] = {
        {"FAN 1 Data Sheet Max Fan RPM", reg::FanMaxRpm(1), "4000", "4000", "0FA0"},
        {"FAN 1 Data Sheet Max Fan RPM", reg::FanMaxRpm(1), "", "", "0000"},
        {"FAN 2 Ramp Rate", reg::FanRampRate(2), "65535", "65535", "FFFF"},
        {"FAN 3 Ramp Rate", reg::FanRampRate(3), "99999", "65535", "FFFF"},
        {"FAN 4 Ramp Rate", reg::FanRampRate(4), "1234567", "12345", "3039"},
        {"FAN 4 Ramp Rate", reg::FanRampRate(4), "-7a", "7", "0007"},
        {"PWM Freq(KHz)", reg::kPwmFrequency, "16", "16", "0010"},
    };
    for (const auto& c : cases) {
        const RegisterTexts before = host.Image().Texts();
        TypeInto(Box(c.box), c.typed);
        EXPECT_EQ(Changes(before, host.Image().Texts()), std::to_string(c.index) + "=" + c.word)
            << c.box << " typed '" << c.typed << "'";
        EXPECT_EQ(Box(c.box)->text().toStdString(), c.shown) << c.box << " typed " << c.typed;
    }
}

TEST_F(FanSettingPage, ListsStoreChoicesAndTypedTextForEveryFan) {
    host.Image().SetText(reg::FanPulsesPerRev(3), "0001");
    Visit();
    host.rig.prompter.whileOpen = [this] { EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0001"); };
    Choose(List("FAN 3 Pulse / Rev"), "0");
    EXPECT_EQ(host.rig.prompter.asked,
              Strings{"Reminder: This option is for Relay Fan or No Tacho type Fan"});
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0000");
    Choose(List("FAN 3 Pulse / Rev"), "6");
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(3)), "0006");
    Choose(List("FAN 2 Stationary PWM"), "100");
    EXPECT_EQ(Reg(reg::FanStationaryPwm(2)), "0064");
    Choose(List("FAN 2 Control Type"), "0-10V");
    EXPECT_EQ(Reg(reg::FanControlType(2)), "0000");

    TypeInto(List("FAN 4 Pulse / Rev")->lineEdit(), "12");
    TypeInto(List("FAN 3 Stationary PWM")->lineEdit(), "75");
    TypeInto(List("FAN 2 Pulse / Rev")->lineEdit(), "99999");
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(4)) + Reg(reg::FanStationaryPwm(3)), "000C004B");
    EXPECT_EQ(Reg(reg::FanPulsesPerRev(2)), "FFFF");
    EXPECT_EQ(List("FAN 2 Pulse / Rev")->currentText(), "65535");

    // An emptied list text stores nothing anywhere.
    const RegisterTexts before = host.Image().Texts();
    TypeInto(List("FAN 1 Pulse / Rev")->lineEdit(), "");
    TypeInto(List("FAN 1 Stationary PWM")->lineEdit(), "");
    EXPECT_EQ(Changes(before, host.Image().Texts()), "");
    EXPECT_EQ(host.rig.prompter.asked.size(), 1u);
}

TEST_F(FanSettingPage, CheckBoxesSetTheirOwnWordOrBit) {
    host.Image().SetText(kOptionRegister, "0003");
    Visit();
    QTest::mouseClick(Check("FAN 2 Used"), Qt::LeftButton);
    EXPECT_EQ(Reg(reg::FanUsed(2)), "0000");
    QTest::mouseClick(Check("FAN 2 Used"), Qt::LeftButton);
    EXPECT_EQ(Reg(reg::FanUsed(2)), "0001");
    QTest::mouseClick(Check("Dummy Fan Link(Permitted)"), Qt::LeftButton);
    EXPECT_EQ(Reg(kOptionRegister), "000B");
    QTest::mouseClick(Check("Daily Fan Run"), Qt::LeftButton);
    EXPECT_EQ(Reg(kOptionRegister), "001B");
    QTest::mouseClick(Check("Daily Fan Run"), Qt::LeftButton);
    EXPECT_EQ(Reg(kOptionRegister), "000B");
}

TEST_F(FanSettingPage, EveryInputIsOffWhileACommandRuns) {
    Visit();
    const auto inputs = page.findChildren<QWidget*>();
    const auto countEnabled = [&] {
        int enabled = 0;
        for (QWidget* w : inputs) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QCheckBox*>(w);
            enabled += input && w->isEnabled() && !qobject_cast<QComboBox*>(w->parentWidget());
        }
        return enabled;
    };
    EXPECT_EQ(countEnabled(), 4 * 6 + 3);
    page.SetInputsEnabled(false);
    EXPECT_EQ(countEnabled(), 0);
    page.SetInputsEnabled(true);
    EXPECT_EQ(countEnabled(), 27);
}

} // namespace
} // namespace orvane::test
