// A value set through the accessibility interface (screen readers, voice control, test robots)
// is stored as a typed or clicked one is, under the same rules.
#include <memory>

#include <QAccessible>
#include <QApplication>

#include "PageTestSupport.h"
#include "core/image/RegisterLayout.h"
#include "core/rules/ProfileTexts.h"
#include "pages/mD2.h"
#include "pages/mD3.h"
#include "pages/mD4.h"
#include "pages/mD5.h"
#include "pages/mD6.h"
#include "pages/mD7.h"

namespace orvane::test {
namespace {

std::unique_ptr<TickPage> NewPage(int tab, FakePageHost& host) {
    switch (tab) {
    case kTabStart:
        static MemoryStore store;
        return std::make_unique<mD2>(host, host, store);
    case kTabMode:
        return std::make_unique<mD3>(host, host);
    case kTabFanSetting:
        return std::make_unique<mD4>(host, host);
    case kTabModBus:
        return std::make_unique<mD5>(host, host);
    case kTabProfile:
        return std::make_unique<mD6>(host, host);
    default:
        return std::make_unique<mD7>(host, host);
    }
}

// The input a screen reader finds by this name; captions share their control's name.
QWidget* Input(QWidget* root, const QString& name) {
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(control) != nullptr ||
                           qobject_cast<QComboBox*>(control) != nullptr ||
                           qobject_cast<QAbstractButton*>(control) != nullptr;
        if (input && control->accessibleName() == name) {
            return control;
        }
    }
    throw std::runtime_error("no input named \"" + name.toStdString() + "\"");
}

enum class Assist { SetText, Toggle, Press };

// What assistive technology does: replaces a box's whole text (a list's through its text box,
// the list's second child), or runs a button's action.
void Apply(QWidget* control, Assist how, const QString& text = {}) {
    QAccessibleInterface* target = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(target, nullptr);
    if (how != Assist::SetText) {
        ASSERT_NE(target->actionInterface(), nullptr);
        target->actionInterface()->doAction(how == Assist::Toggle
                                                ? QAccessibleActionInterface::toggleAction()
                                                : QAccessibleActionInterface::pressAction());
        return;
    }
    if (qobject_cast<QComboBox*>(control) != nullptr) {
        target = target->child(1);
        ASSERT_NE(target, nullptr) << "an editable list has a text box";
    }
    ASSERT_TRUE(target->editableTextInterface() && target->textInterface());
    target->editableTextInterface()->replaceText(0, target->textInterface()->characterCount(),
                                                 text);
}

// One case per kind of control on each page; the typing rules are tabled in the core tests.
TEST(AssistiveInput, EveryFieldStoresWhatItIsSetToUnderTheTypingRules) {
    using namespace reg;
    using enum Assist;
    const struct {
        int tab;
        const char* name;
        Assist how;
        const char* value;
        int reg;
        const char* word;  // none: refused, nothing stored and the text shown as before
        const char* shown; // none: as set
    } cases[] = {
        {kTabStart, "Configuration File Name", SetText, "AB", 187, "0042", nullptr},
        {kTabMode, "0-10V input sets PWM Output (Open Loop)", Toggle, "", kControlMode, "0003",
         nullptr},
        {kTabFanSetting, "FAN 2 Used", Toggle, "", FanUsed(2), "0000", nullptr},
        {kTabFanSetting, "FAN 1 Stationary PWM", SetText, "x5", 0, nullptr, nullptr},
        {kTabModBus, "RS485 Parity", SetText, "Odd", kSerialSettings, "00FE", nullptr},
        {kTabAlarmConfig, "Alarm 1 Fan3 Fail", Toggle, "", AlarmFanFail(1, 3), "0003", nullptr},
        {kTabAlarmConfig, "Alarm 1 Sensor 1 Low Limit", SetText, "-40000", AlarmLowLimit(1, 1),
         "8000", "-32768"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " set to \"" + c.value + "\"");
        FakePageHost host(c.tab);
        const std::unique_ptr<TickPage> page = NewPage(c.tab, host);
        page->show();
        host.SelectTab(c.tab);
        page->OnTimer();
        const std::string before = Shown(page.get(), {c.name});
        const RegisterTexts texts = host.Image().Texts();
        Apply(Input(page.get(), c.name), c.how, QString::fromUtf8(c.value));
        if (c.word == nullptr) {
            EXPECT_EQ(Changes(texts, host.Image().Texts()), "");
            EXPECT_EQ(Shown(page.get(), {c.name}), before);
            continue;
        }
        EXPECT_EQ(host.Image().Text(c.reg), c.word);
        if (c.how == SetText) {
            EXPECT_EQ(Shown(page.get(), {c.name}), std::string(c.shown ? c.shown : c.value) + "|");
        }
    }
}

// A profile edit locks the main buttons until "Cleanup / Store Profiles", pressed the same way.
TEST(AssistiveInput, AProfileEditKeepsTheStoreLock) {
    FakePageHost host(kTabProfile);
    mD6 profiles(host, host);
    profiles.show();
    host.SelectTab(kTabProfile);
    profiles.OnTimer();
    Choose(profiles.FanList(), "1");
    const auto store = [&] {
        Apply(profiles.StoreButton(), Assist::Press);
        for (int wait = 0; wait < 100 && !host.profileStored; ++wait) {
            QTest::qWait(10); // a pressed button clicks once its press has been seen
        }
    };
    store();
    ASSERT_TRUE(host.profileStored && host.mainButtonsEnabled);
    Apply(profiles.OnBox(), Assist::SetText, "-999");
    EXPECT_FALSE(host.profileStored || host.mainButtonsEnabled);
    EXPECT_EQ(host.note, profile::kStoreNote);
    store();
    EXPECT_EQ(host.Image().Text(reg::FanOnValue(1)), "FC18");
    EXPECT_EQ(profiles.OnBox()->text(), "-1000") << "shown as stored, one below the marker";
}

} // namespace
} // namespace orvane::test
