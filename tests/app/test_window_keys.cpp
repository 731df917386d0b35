// The desktop's habits in the window: Escape and the close box ask before unsaved changes are
// lost, a replaced image can be brought back, and the keys switch tabs, save, open and undo.
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/UndoBar.h"
#include "pages/mD2.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/pages/PaletteTestSupport.h"

namespace orvane::test {
namespace {

// Shortcuts reach the active window only.
class WindowKeys : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
};

const AskedMessage kDiscardQuestion{"Discard unsaved changes?", "Orvane - GUI",
                                    MessageIcon::Exclamation, MessageButtons::DiscardCancel};

void Press(QWidget* at, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(at, static_cast<Qt::Key>(key), modifiers);
}

TEST_F(WindowKeys, EscapeAndTheCloseBoxAskOnlyWithUnsavedChangesAndCancelKeepsEverything) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    mD2* start = m_window->StartPage();
    start->OnTimer();
    Press(start->NameEdit(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible()) << "nothing unsaved: closes as before";
    EXPECT_TRUE(m_prompter.asked.empty());

    m_window->show();
    TypeInto(start->NameEdit(), "Plant 7");
    const RegisterTexts edited = m_window->Image().Texts();
    Press(start->NameEdit(), Qt::Key_Escape);
    m_window->close(); // the close box
    EXPECT_EQ(m_prompter.asked, (std::vector<AskedMessage>{kDiscardQuestion, kDiscardQuestion}));
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->Image().Texts(), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Plant 7");
    EXPECT_TRUE(m_window->IsConnected());

    m_prompter.discardAnswer = MessageAnswer::Discard;
    Press(m_window->Tabs(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(WindowKeys, UndoBringsBackTheImageOfBeforeEachReplacementAndRefillsThePage) {
    QTemporaryDir dir;
    ClickTab(1);
    mD2* start = m_window->StartPage();
    start->OnTimer();
    UndoBar* undo = m_window->Undo();
    EXPECT_FALSE(undo->isVisible());
    TypeInto(start->NameEdit(), "Plant 7");
    const RegisterTexts edited = m_window->Image().Texts();

    Click(start->ReloadButton());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");
    ASSERT_TRUE(undo->isVisible());
    EXPECT_EQ(undo->Note()->text(), "Replaced by Reload Template");
    EXPECT_EQ(undo->Note()->accessibleDescription(), undo->Note()->text());
    Click(undo->Button());
    EXPECT_EQ(m_window->Image().Texts(), edited);
    EXPECT_FALSE(undo->isVisible());
    start->OnTimer();
    EXPECT_EQ(start->NameEdit()->text(), "Plant 7");

    // Saved, opened from the Fan Setting tab with Ctrl+O, undone with Ctrl+Z there.
    m_prompter.saveAnswer = dir.filePath("plant7.txt").toStdString();
    Press(m_window->Tabs(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_window->SourceField()->text(), "File: plant7.txt");
    const RegisterTexts saved = m_window->Image().Texts();
    Click(start->ReloadButton());
    const RegisterTexts reloaded = m_window->Image().Texts();
    ClickTab(3);
    m_prompter.openAnswer = {*m_prompter.saveAnswer};
    Press(m_window->Tabs(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_window->Image().Texts(), saved);
    EXPECT_EQ(m_window->RefreshFlag(kTabFanSetting), "0");
    EXPECT_EQ(undo->Note()->text(), "Replaced by the file plant7.txt");
    Press(m_window->Tabs(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_window->Image().Texts(), reloaded);
    EXPECT_TRUE(m_prompter.asked.empty());
}

TEST_F(WindowKeys, CtrlTabAndCtrlPageKeysSwitchTabsFromAnywhereAndRoundTheEnds) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int from, to;
    } cases[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1, 2},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2, 1},
        {Qt::Key_PageDown, Qt::ControlModifier, 9, 0},
        {Qt::Key_PageUp, Qt::ControlModifier, 0, 9},
    };
    for (const auto& c : cases) {
        ClickTab(c.from);
        // From inside the page: the Start page's name field, or whatever has the focus.
        QWidget* at = m_window->Tabs();
        if (c.from == 1) {
            at = m_window->StartPage()->NameEdit();
        }
        at->setFocus();
        Press(at, c.key, c.modifiers);
        EXPECT_EQ(m_window->ActiveTabField()->text().toInt(), c.to + 1) << "case " << c.key;
        EXPECT_TRUE(m_window->Page(c.to)->isVisible()) << "case " << c.key;
    }
    // While a command runs the header moves but the page stays, as with a click.
    ASSERT_TRUE(Connect());
    ClickTab(1);
    m_window->Requests().RequestCommand(CommandCode::ReadConfig);
    m_window->OnTimer();
    ASSERT_TRUE(m_window->Sequencing().IsBusy());
    Press(m_window->Tabs(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(m_window->Tabs()->currentIndex(), 2);
    EXPECT_TRUE(m_window->Page(1)->isVisible());
}

// The tab bar takes the focus on the Tab key's path, and then marks its current tab plainly:
// the mark stands out from the unfocused tab by at least the 3:1 asked of controls' marks.
TEST_F(WindowKeys, TheTabBarTakesTheFocusFromTheKeyboardAndMarksItClearly) {
    QTabBar* tabs = m_window->Tabs();
    ClickTab(2);
    QWidget* after = tabs->nextInFocusChain();
    while ((after->focusPolicy() & Qt::TabFocus) == 0 || !after->isVisible() ||
           !after->isEnabled()) {
        after = after->nextInFocusChain();
    }
    after->setFocus(Qt::OtherFocusReason);
    Press(after, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(tabs->hasFocus());
    QApplication::processEvents();
    const QImage focused = tabs->grab().toImage();
    Press(tabs, Qt::Key_Tab);
    ASSERT_FALSE(tabs->hasFocus());
    QApplication::processEvents();
    const QImage unfocused = tabs->grab().toImage();

    const QRect current = tabs->tabRect(2);
    int marked = 0;
    for (int y = current.top(); y <= current.bottom(); ++y) {
        for (int x = current.left(); x <= current.right(); ++x) {
            marked += Contrast(focused.pixel(x, y), unfocused.pixel(x, y)) >= 3.0 ? 1 : 0;
        }
    }
    EXPECT_GE(marked, 2 * (current.width() + current.height())) << "a frame round the tab";
}

} // namespace
} // namespace orvane::test
