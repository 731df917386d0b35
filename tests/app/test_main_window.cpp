// The main window: start-up state, tab changes, status colours, accessible names, and saving the
// configuration without silent failures.
#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/FieldColours.h"
#include "app/SaveConfiguration.h"
#include "core/ConfigFile.h"

namespace orvane {
namespace {

using MainWindow = test::WindowTest;
using test::Click;

const QColor kRed(250, 10, 22);
const QColor kYellow(255, 255, 0);

QColor TextColour(QWidget* field) {
    return field->palette().color(QPalette::WindowText);
}

TEST_F(MainWindow, StartsOnTheCommsTabWithTheTemplateLoaded) {
    EXPECT_TRUE(window->Page(0)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "1");
    EXPECT_FALSE(window->DownloadButton()->isEnabled());
    EXPECT_EQ(window->ModeField()->text(), "1");
    EXPECT_EQ(window->DateField()->text(), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(window->Sequencer().State(), State::DoNothing);
    CRegisterImage expected;
    expected.LoadDefaultTemplate();
    EXPECT_FALSE(expected.Text(0).empty());
    EXPECT_EQ(window->Image().Texts(), expected.Texts());
}

TEST_F(MainWindow, ATabChangeShowsItsPageAndResetsWhatBelongedToTheOldOne) {
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        window->SetRefreshFlag(tab, "1");
    }
    window->SetProfileStored(false);
    ClickTab(3);
    EXPECT_TRUE(window->Page(3)->isVisible());
    EXPECT_FALSE(window->Page(0)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "4");
    EXPECT_TRUE(window->DownloadButton()->isEnabled());
    EXPECT_TRUE(window->ProfileStored());
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        EXPECT_EQ(window->RefreshFlag(tab), "0") << "tab " << tab;
    }
    // Only the visible page reloads on its tick.
    static_cast<CTickPage*>(window->Page(2))->OnTimer();
    EXPECT_EQ(window->RefreshFlag(3), "0");
    static_cast<CTickPage*>(window->Page(3))->OnTimer();
    EXPECT_EQ(window->RefreshFlag(4), "1");

    ClickTab(6);
    EXPECT_EQ(window->Tabs()->tabText(6), "Alarm Config.");
    EXPECT_EQ(window->NoteField()->text(), "NOTE:\n\rAlarm Action Priority:\n\rAlarm1 has priority "
                                           "over 2. Just as Alarm 2 has over 3....");
    EXPECT_EQ(TextColour(window->NoteField()), kRed);
    EXPECT_EQ(window->RefreshFlag(4), "0"); // shown again later: reloads again

    window->Sequencer().IncrementNoDataCounter();
    window->Sequencer().IncrementNoDataCounter();
    window->SetSyncingSeen(true);
    ClickTab(7);
    EXPECT_EQ(window->Tabs()->tabText(7), "Live Data");
    EXPECT_EQ(window->NoteField()->text(), " ");
    EXPECT_EQ(window->Sequencer().NoDataCounter(), 2);
    EXPECT_TRUE(window->SyncingSeen());
    ClickTab(8);
    EXPECT_EQ(window->Sequencer().NoDataCounter(), 0);
    EXPECT_FALSE(window->SyncingSeen());
    EXPECT_EQ(window->ActiveTabField()->text(), "9");
    EXPECT_FALSE(window->DownloadButton()->isEnabled()); // not from the Indicator tab
    ClickTab(9);
    EXPECT_TRUE(window->Page(9)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "10");
}

TEST_F(MainWindow, TheDownloadButtonRefusesWithoutAConnection) {
    ClickTab(1);
    Click(window->DownloadButton());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Communication port not set / connected!");
    EXPECT_EQ(prompter.asked[0].caption, "Warning, No Connection ");
    EXPECT_EQ(window->Sequencer().State(), State::DoNothing);
}

TEST_F(MainWindow, TheLoggingIndicatorPlaysOnlyWhileLinesAreLogged) {
    EXPECT_FALSE(window->IsLoggingIndicatorPlaying());
    window->PlayLoggingIndicator(kAnimationLogging);
    EXPECT_TRUE(window->IsLoggingIndicatorPlaying());
    window->PlayLoggingIndicator(kAnimationNotLogging);
    EXPECT_FALSE(window->IsLoggingIndicatorPlaying()); // so logging again restarts 247
    window->PlayLoggingIndicator(kAnimationLogging);
    EXPECT_TRUE(window->IsLoggingIndicatorPlaying());
}

TEST(FieldColourRules, MatchTheTextsThatReportAProblem) {
    const struct {
        StatusField field;
        const char* text;
        std::optional<QColor> foreground;
        std::optional<QColor> background;
    } cases[] = {
        {StatusField::Checksum, "Error!", kRed, kYellow},
        {StatusField::Checksum, "1A2B", std::nullopt, std::nullopt},
        {StatusField::Checksum, "Error", std::nullopt, std::nullopt},
        {StatusField::StatusLine, "Syncing...", kRed, std::nullopt},
        {StatusField::StatusLine, "VIEW DATA", std::nullopt, std::nullopt},
        {StatusField::Activity, "Communicating...", kRed, kYellow},
        {StatusField::Activity, "IDLE", std::nullopt, std::nullopt},
        {StatusField::Note, " ", kRed, std::nullopt},
        {StatusField::Note, "", kRed, std::nullopt},
        {StatusField::Connection, "Disconnected from COM Port", kRed, kYellow},
        {StatusField::Connection, "Connected to COM Port", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const FieldColours colours = OnCtlColor(c.field, c.text);
        EXPECT_EQ(colours.text, c.foreground) << "case " << c.text;
        EXPECT_EQ(colours.background, c.background) << "case " << c.text;
    }
}

TEST_F(MainWindow, AFieldTakesAndDropsItsWarningColoursAsItsTextChanges) {
    QLabel* checksum = window->ChecksumField();
    const QColor normal = TextColour(checksum);
    window->ShowChecksum("Error!");
    EXPECT_EQ(TextColour(checksum), kRed);
    EXPECT_EQ(checksum->palette().color(QPalette::Window), kYellow);
    EXPECT_TRUE(checksum->autoFillBackground());
    window->ShowChecksum("3F2A");
    EXPECT_EQ(TextColour(checksum), normal);
    EXPECT_FALSE(checksum->autoFillBackground());
}

TEST_F(MainWindow, EveryControlHasAnAccessibleNameAndTheWindowFitsA1280By800Screen) {
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
    const QSize needed = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 760); // leaves room for a panel and the title bar
}

TEST_F(MainWindow, SaveWritesAFileThatReadsBackAsTheSameImage) {
    QTemporaryDir dir;
    window->Image().SetText(42, "ABCD");
    const std::string file = dir.filePath("saved.txt").toStdString();
    prompter.saveAnswer = file;
    test::Click(window->SaveButton());

    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].proposedName, "DEFAULT_Issue0");
    EXPECT_EQ(prompter.saveRequests[0].defaultExtension, "txt");
    EXPECT_TRUE(prompter.saveRequests[0].confirmOverwrite);
    EXPECT_TRUE(prompter.asked.empty());

    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.size(), kConfigFileSize);
    const FileReadResult read = DecodeConfigurationFile(bytes);
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups, window->Image().Texts());
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));
}

TEST_F(MainWindow, SaveWritesNothingWhenCancelledBusyOrInvalidAndReportsEveryFailure) {
    QTemporaryDir dir;
    test::Click(window->SaveButton()); // cancelled: nothing to report
    EXPECT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_TRUE(prompter.asked.empty());

    prompter.saveAnswer = dir.filePath("missing-folder/saved.txt").toStdString();
    test::Click(window->SaveButton());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].caption, "Configuration not saved");
    EXPECT_NE(prompter.asked[0].text.find("missing-folder"), std::string::npos);

    prompter.saveAnswer = dir.filePath("saved.txt").toStdString();
    SaveConfigurationFile(window->Image(), true, prompter, *window);
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, "Communication with Controller still in Progress");
    EXPECT_EQ(prompter.asked[1].caption, "Wait until it is ended");
    EXPECT_EQ(prompter.saveRequests.size(), 2u); // no name asked for

    window->Image().SetText(7, "XYZ");
    test::Click(window->SaveButton());
    ASSERT_EQ(prompter.asked.size(), 3u);
    EXPECT_NE(prompter.asked[2].text.find("Register 7 "), std::string::npos);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

} // namespace
} // namespace orvane
