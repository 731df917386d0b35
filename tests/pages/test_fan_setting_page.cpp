// The Fan Setting page shows its registers once per visit without changing them, and every
// edit stores one word, within 0..65535, into that fan's own register and nowhere else.
#include "PageTestSupport.h"
#include "core/image/RegisterLayout.h"
#include "pages/mD4.h"

namespace orvane::test {
namespace {

class FanSettingPage : public ::testing::Test {
protected:
    FanSettingPage() { m_page.show(); }
    void Visit() {
        m_host.SelectTab(kTabFanSetting);
        m_page.OnTimer();
    }
    FakePageHost m_host{kTabComms};
    mD4 m_page{m_host, m_host};
};

TEST_F(FanSettingPage, AVisitShowsTheRegistersOnceAndChangesNoneAndCommandsLockEveryInput) {
    RegisterImage& image = m_host.Image();
    image.SetText(reg::FanPulsesPerRev(2), "0004");
    image.SetText(reg::FanStationaryPwm(3), "0032");
    image.SetText(reg::FanControlType(4), "0002");
    image.SetText(reg::FanControlType(1), "0000");
    image.SetText(reg::FanUsed(3), "0000");
    image.SetText(reg::FanMaxRpm(2), "1388");
    image.SetText(kOptionRegister, "0010");
    const RegisterTexts before = image.Texts();
    const auto shown = [this] {
        return Shown(&m_page, {"FAN 1 Used", "FAN 3 Used", "FAN 1 Pulse / Rev", "FAN 2 Pulse / Rev",
                               "FAN 3 Stationary PWM", "FAN 1 Control Type", "FAN 4 Control Type",
                               "FAN 2 Data Sheet Max Fan RPM", "FAN 4 Ramp Rate", "PWM Freq(KHz)",
                               "Daily Fan Run", "Dummy Fan Link(Permitted)"});
    };
    m_page.OnTimer(); // another tab is shown
    EXPECT_EQ(Shown(&m_page, {"FAN 2 Data Sheet Max Fan RPM"}), "|");
    Visit();
    EXPECT_EQ(Changes(before, image.Texts()), "");
    EXPECT_EQ(shown(), "on|off|2||50|0-10V|Open Collector|5000|10|2|on|off|");
    ExpectReadable(&m_page);

    // A command turns every input off; its end turns them all on again.
    const auto enabledInputs = [this] {
        int enabled = 0;
        for (QWidget* w : m_page.findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QCheckBox*>(w);
            enabled += input && w->isEnabled() && !qobject_cast<QComboBox*>(w->parentWidget());
        }
        return enabled;
    };
    m_page.SetInputsEnabled(false);
    EXPECT_EQ(enabledInputs(), 0);
    m_page.SetInputsEnabled(true);
    EXPECT_EQ(enabledInputs(), 4 * 6 + 3);

    image.SetText(reg::FanMaxRpm(2), "0BB8");
    m_page.OnTimer(); // still shown: no second fill
    EXPECT_EQ(Shown(&m_page, {"FAN 2 Data Sheet Max Fan RPM"}), "5000|");
}

TEST_F(FanSettingPage, EachEditStoresOneWordOfItsFanWithinAWord) {
    m_host.Image().SetText(kOptionRegister, "0003");
    Visit();
    using enum Input;
    const struct {
        Input input;
        const char *control, *text, *changes;
        const char* shown; // what the control shows afterwards, where that matters
    } cases[] = {
        {Type, "FAN 1 Data Sheet Max Fan RPM", "4000", "292=0FA0", nullptr},
        {Type, "FAN 3 Ramp Rate", "99999", "298=FFFF", "65535|"},
        {Type, "PWM Freq(KHz)", "-7a", "180=0007", "7|"},
        {TypeInList, "FAN 4 Pulse / Rev", "12", "313=000C", nullptr},
        {TypeInList, "FAN 1 Pulse / Rev", "", "", nullptr},
        {Choose, "FAN 2 Stationary PWM", "100", "315=0064", nullptr},
        {Choose, "FAN 2 Control Type", "0-10V", "319=0000", nullptr},
        {Click, "FAN 2 Used", "", "1=0000", nullptr},
        {Click, "Dummy Fan Link(Permitted)", "", "184=000B", nullptr},
        {Click, "Daily Fan Run", "", "184=001B", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.text + "' in " + c.control);
        const RegisterTexts before = m_host.Image().Texts();
        Act(&m_page, c.input, c.control, c.text);
        EXPECT_EQ(Changes(before, m_host.Image().Texts()), c.changes);
        if (c.shown != nullptr) {
            EXPECT_EQ(Shown(&m_page, {c.control}), c.shown);
        }
    }
    EXPECT_TRUE(m_host.rig.prompter.asked.empty());
}

TEST_F(FanSettingPage, ChoosingNoPulsesRemindsOfTheFanTypeBeforeStoring) {
    Visit();
    auto* list = Find<QComboBox>(&m_page, "FAN 3 Pulse / Rev");
    m_host.rig.prompter.whileOpen = [this] {
        EXPECT_EQ(m_host.Image().Text(reg::FanPulsesPerRev(3)), "0002");
    };
    Choose(list, "0");
    EXPECT_EQ(m_host.Image().Text(reg::FanPulsesPerRev(3)), "0000");
    Choose(list, "6");
    EXPECT_EQ(m_host.Image().Text(reg::FanPulsesPerRev(3)), "0006");
    EXPECT_EQ(m_host.rig.prompter.asked,
              Strings{"Reminder: This option is for Relay Fan or No Tacho type Fan"});
}

} // namespace
} // namespace orvane::test
