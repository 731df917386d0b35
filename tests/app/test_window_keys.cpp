// The desktop's habits in the window: Escape and the close box ask before unsaved changes are
// lost, a replaced image can be brought back, and the keys switch tabs, save, open and undo.
#include <QComboBox>
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
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
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
    mD2* start = window->StartPage();
    start->OnTimer();
    Press(start->NameEdit(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "nothing unsaved: closes as before";
    EXPECT_TRUE(prompter.asked.empty());

    window->show();
    TypeInto(start->NameEdit(), "Plant 7");
    const RegisterTexts edited = window->Image().Texts();
    Press(start->NameEdit(), Qt::Key_Escape);
    window->close(); // the close box
    EXPECT_EQ(prompter.asked, (std::vector<AskedMessage>{kDiscardQuestion, kDiscardQuestion}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Image().Texts(), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Plant 7");
    EXPECT_TRUE(window->IsConnected());

    // Escape in an open list closes only the list.
    prompter.asked.clear();
    QComboBox* ports = window->CommsPage()->PortList();
    ClickTab(0);
    ports->setEnabled(true);
    ports->showPopup();
    ASSERT_TRUE(ports->view()->isVisible());
    Press(ports->view(), Qt::Key_Escape);
    EXPECT_FALSE(ports->view()->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.asked.empty());

    prompter.discardAnswer = MessageAnswer::Discard;
    Press(window->Tabs(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowKeys, UndoBringsBackTheImageOfBeforeEachReplacementAndRefillsThePage) {
    QTemporaryDir dir;
    ClickTab(1);
    mD2* start = window->StartPage();
    start->OnTimer();
    UndoBar* undo = window->Undo();
    EXPECT_FALSE(undo->isVisible());
    TypeInto(start->NameEdit(), "Plant 7");
    const RegisterTexts edited = window->Image().Texts();

    Click(start->ReloadButton());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");
    ASSERT_TRUE(undo->isVisible());
    EXPECT_EQ(undo->Note()->text(), "Replaced by Reload Template");
    EXPECT_EQ(undo->Note()->accessibleDescription(), undo->Note()->text());
    Click(undo->Button());
    EXPECT_EQ(window->Image().Texts(), edited);
    EXPECT_FALSE(undo->isVisible());
    start->OnTimer();
    EXPECT_EQ(start->NameEdit()->text(), "Plant 7");

    // Saved, opened from the Fan Setting tab with Ctrl+O, undone with Ctrl+Z there.
    prompter.saveAnswer = dir.filePath("plant7.txt").toStdString();
    Press(window->Tabs(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->SourceField()->text(), "File: plant7.txt");
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].fileTypes, FileTypes{"Configuration files (*.txt)"});
    const RegisterTexts saved = window->Image().Texts();
    Click(start->ReloadButton());
    const RegisterTexts reloaded = window->Image().Texts();
    ClickTab(3);
    prompter.openAnswer = {*prompter.saveAnswer};
    Press(window->Tabs(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].fileTypes, FileTypes{"Configuration files (*.txt)"});
    EXPECT_EQ(window->Image().Texts(), saved);
    EXPECT_EQ(window->RefreshFlag(kTabFanSetting), "0");
    EXPECT_EQ(undo->Note()->text(), "Replaced by the file plant7.txt");
    Press(window->Tabs(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Image().Texts(), reloaded);
    EXPECT_TRUE(prompter.asked.empty());
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
        QWidget* at = window->Tabs();
        if (c.from == 1) {
            at = window->StartPage()->NameEdit();
        }
        at->setFocus();
        Press(at, c.key, c.modifiers);
        EXPECT_EQ(window->ActiveTabField()->text().toInt(), c.to + 1) << "case " << c.key;
        EXPECT_TRUE(window->Page(c.to)->isVisible()) << "case " << c.key;
    }
    // While a command runs the header moves but the page stays, as with a click.
    ASSERT_TRUE(Connect());
    ClickTab(1);
    window->Requests().RequestCommand(CommandCode::ReadConfig);
    window->OnTimer();
    ASSERT_TRUE(window->Sequencing().IsBusy());
    Press(window->Tabs(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->Tabs()->currentIndex(), 2);
    EXPECT_TRUE(window->Page(1)->isVisible());
    EXPECT_EQ(window->SaveButton()->toolTip(), "Shortcut: Ctrl+S");
    EXPECT_EQ(window->StartPage()->OpenButton()->toolTip(), "Shortcut: Ctrl+O");
}

// The tab bar takes the focus on the Tab key's path, and then marks its current tab plainly:
// the mark stands out from the unfocused tab by at least the 3:1 asked of controls' marks.
TEST_F(WindowKeys, TheTabBarTakesTheFocusFromTheKeyboardAndMarksItClearly) {
    QTabBar* tabs = window->Tabs();
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
