// The main window's start-up state, tab changes, status colours and accessible names.
#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QSettings>
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/FieldColours.h"
#include "core/DefaultTemplate.h"

namespace orvane {
namespace {

using test::TestWindow;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        window = std::make_unique<CZephanDlg>(harness.Options());
        window->show();
    }

    void ClickTab(int index) {
        QTabBar* tabs = window->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    QWidget* VisiblePage() {
        for (int i = 0; i < kTabCount; ++i) {
            if (window->Page(i)->isVisible()) {
                return window->Page(i);
            }
        }
        return nullptr;
    }

    TestWindow harness;
    std::unique_ptr<CZephanDlg> window;
};

TEST_F(MainWindow, StartsOnTheCommsTabWithTheTemplateLoaded) {
    EXPECT_EQ(window->windowTitle(), "Orvane - GUI");
    EXPECT_EQ(VisiblePage(), window->Page(0));
    EXPECT_EQ(window->ActiveTabField()->text(), "1");
    EXPECT_EQ(window->ActiveTab(), 1);
    EXPECT_FALSE(window->DownloadButton()->isEnabled());
    EXPECT_TRUE(window->SaveButton()->isEnabled());
    EXPECT_EQ(window->ModeField()->text(), "1");
    EXPECT_EQ(window->DateField()->text(), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_EQ(window->StatusLine()->text(), "Status:");
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(window->LogStatusField()->text(), "....");
    EXPECT_EQ(window->Sequencer().State(), State::DoNothing);
    EXPECT_EQ(window->Sequencer().PendingAction(), PendingAction::None);
    EXPECT_TRUE(window->ProfileStored());
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        EXPECT_EQ(window->RefreshFlag(tab), "0") << "tab " << tab;
    }
    CRegisterImage expected;
    expected.LoadDefaultTemplate();
    for (int i = 0; i < kRegisterCount; ++i) {
        ASSERT_EQ(window->Image().Text(i), expected.Text(i)) << "register " << i;
    }
    ASSERT_FALSE(window->Image().Text(0).empty());
}

TEST_F(MainWindow, TabsCarryTheirCaptionsInOrder) {
    const QStringList captions{
        "Comms",         "Start",     "Mode",      "Fan Setting", "ModBus ", "Multi Point/Speed",
        "Alarm Config.", "Live Data", "Indicator", "Contact"};
    ASSERT_EQ(window->Tabs()->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(window->Tabs()->tabText(i), captions[i]);
    }
}

TEST_F(MainWindow, ClickingATabShowsItsPageAndSetsTheIndicator) {
    ClickTab(3);
    EXPECT_EQ(VisiblePage(), window->Page(3));
    EXPECT_EQ(window->ActiveTabField()->text(), "4");
    EXPECT_TRUE(window->DownloadButton()->isEnabled());
    ClickTab(8);
    EXPECT_EQ(window->ActiveTabField()->text(), "9");
    EXPECT_FALSE(window->DownloadButton()->isEnabled()); // not from the Indicator tab
    ClickTab(9);
    EXPECT_EQ(VisiblePage(), window->Page(9));
    EXPECT_EQ(window->ActiveTabField()->text(), "10");
}

TEST_F(MainWindow, AlarmConfigShowsThePriorityNoteInRedAndOtherTabsBlankIt) {
    ClickTab(6);
    EXPECT_EQ(window->NoteField()->text(), "NOTE:\n\rAlarm Action Priority:\n\rAlarm1 has priority "
                                           "over 2. Just as Alarm 2 has over 3....");
    EXPECT_EQ(window->NoteField()->palette().color(QPalette::WindowText), QColor(250, 10, 22));
    ClickTab(5);
    EXPECT_EQ(window->NoteField()->text(), " ");
}

TEST_F(MainWindow, ATabChangeClearsEveryRefreshFlagAndTheProfileStoredFlagIsSet) {
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        window->SetRefreshFlag(tab, "1");
    }
    window->SetProfileStored(false);
    ClickTab(2);
    EXPECT_TRUE(window->ProfileStored());
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        EXPECT_EQ(window->RefreshFlag(tab), "0") << "tab " << tab;
    }
}

TEST_F(MainWindow, OnlyTheVisiblePageReloadsOnItsTick) {
    ClickTab(2); // "Mode": tab number 3
    auto* mode = static_cast<CTickPage*>(window->Page(2));
    auto* fan = static_cast<CTickPage*>(window->Page(3));
    fan->OnTimer();
    EXPECT_EQ(window->RefreshFlag(4), "0");
    mode->OnTimer();
    EXPECT_EQ(window->RefreshFlag(3), "1");
    ClickTab(3);
    EXPECT_EQ(window->RefreshFlag(3), "0"); // shown again later: reloads again
}

TEST_F(MainWindow, TheNoDataCounterAndSyncingSeenAreKeptOnlyOnLiveData) {
    window->Sequencer().IncrementNoDataCounter();
    window->Sequencer().IncrementNoDataCounter();
    window->SetSyncingSeen(true);
    ClickTab(7);
    EXPECT_EQ(window->Sequencer().NoDataCounter(), 2);
    EXPECT_TRUE(window->SyncingSeen());
    ClickTab(8);
    EXPECT_EQ(window->Sequencer().NoDataCounter(), 0);
    EXPECT_FALSE(window->SyncingSeen());
}

TEST_F(MainWindow, TheDownloadButtonRefusesWithoutAConnection) {
    ClickTab(1);
    QTest::mouseClick(window->DownloadButton(), Qt::LeftButton);
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    EXPECT_EQ(harness.prompter.asked[0].text, "Communication port not set / connected!");
    EXPECT_EQ(harness.prompter.asked[0].caption, "Warning, No Connection ");
    EXPECT_EQ(window->Sequencer().State(), State::DoNothing);
}

TEST_F(MainWindow, TheLoggingIndicatorPlaysOnlyWhileLinesAreLogged) {
    EXPECT_FALSE(window->IsLoggingIndicatorPlaying());
    window->PlayLoggingIndicator(kAnimationLogging);
    EXPECT_TRUE(window->IsLoggingIndicatorPlaying());
    window->PlayLoggingIndicator(kAnimationNotLogging);
    EXPECT_FALSE(window->IsLoggingIndicatorPlaying()); // so logging again restarts 247
    window->PlayLoggingIndicator(kAnimationLogging);
    EXPECT_EQ(window->LoggingIndicator()->ResourceId(), kAnimationLogging);
    EXPECT_TRUE(window->IsLoggingIndicatorPlaying());
}

TEST_F(MainWindow, TheTimerTicksTheSequencer) {
    window->OnTimer();
    window->OnTimer();
    EXPECT_EQ(window->TickField()->text(), "12");
}

TEST(FieldColourRules, MatchTheTextsThatReportAProblem) {
    const QColor red(250, 10, 22);
    const QColor yellow(255, 255, 0);
    struct Case {
        StatusField field;
        const char* text;
        std::optional<QColor> foreground;
        std::optional<QColor> background;
    };
    const Case cases[] = {
        {StatusField::Checksum, "Error!", red, yellow},
        {StatusField::Checksum, "1A2B", std::nullopt, std::nullopt},
        {StatusField::Checksum, "Error", std::nullopt, std::nullopt},
        {StatusField::StatusLine, "Syncing...", red, std::nullopt},
        {StatusField::StatusLine, "VIEW DATA", std::nullopt, std::nullopt},
        {StatusField::Activity, "Communicating...", red, yellow},
        {StatusField::Activity, "IDLE", std::nullopt, std::nullopt},
        {StatusField::Note, " ", red, std::nullopt},
        {StatusField::Note, "", red, std::nullopt},
        {StatusField::Connection, "Disconnected from COM Port", red, yellow},
        {StatusField::Connection, "Connected to COM Port", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const FieldColours colours = OnCtlColor(c.field, c.text);
        EXPECT_EQ(colours.text, c.foreground) << c.text;
        EXPECT_EQ(colours.background, c.background) << c.text;
    }
}

TEST_F(MainWindow, FieldsTakeAndDropTheirWarningColoursAsTheirTextsChange) {
    QLabel* checksum = window->ChecksumField();
    const QColor normal = checksum->palette().color(QPalette::WindowText);
    window->ShowChecksum("Error!");
    EXPECT_EQ(checksum->palette().color(QPalette::WindowText), QColor(250, 10, 22));
    EXPECT_EQ(checksum->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_TRUE(checksum->autoFillBackground());
    window->ShowChecksum("3F2A");
    EXPECT_EQ(checksum->palette().color(QPalette::WindowText), normal);
    EXPECT_FALSE(checksum->autoFillBackground());

    window->ShowStatus("Syncing...");
    EXPECT_EQ(window->StatusLine()->palette().color(QPalette::WindowText), QColor(250, 10, 22));
    EXPECT_FALSE(window->StatusLine()->autoFillBackground());
    window->ShowActivity("Communicating...");
    EXPECT_TRUE(window->ActivityField()->autoFillBackground());
    window->ShowConnection("Connected to COM Port");
    EXPECT_FALSE(window->ConnectionField()->autoFillBackground());
}

TEST_F(MainWindow, EveryControlHasAnAccessibleName) {
    for (int i = 0; i < kTabCount; ++i) {
        window->Tabs()->setCurrentIndex(i);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                                 qobject_cast<QComboBox*>(widget) != nullptr ||
                                 qobject_cast<QLabel*>(widget) != nullptr ||
                                 qobject_cast<QTabBar*>(widget) != nullptr ||
                                 qobject_cast<QGroupBox*>(widget) != nullptr ||
                                 qobject_cast<CPictureEx*>(widget) != nullptr;
            if (control && widget->isVisible()) {
                EXPECT_FALSE(widget->accessibleName().isEmpty())
                    << widget->metaObject()->className() << " "
                    << widget->property("text").toString().toStdString();
            }
        }
    }
}

TEST_F(MainWindow, FitsA1280By800Screen) {
    const QSize needed = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 760); // leaves room for a panel and the title bar
}

TEST_F(MainWindow, EscapeClosesTheWindow) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace orvane
