// The window and its parts: start-up, tabs, colours, names, saving, Contact, boxes.
#include <algorithm>
#include <ranges>

#include <QAbstractButton>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/FieldColours.h"
#include "app/QtPrompter.h"
#include "app/SaveConfiguration.h"
#include "app/VersionText.h"
#include "core/comms/MainWindowView.h"
#include "core/image/ConfigFile.h"
#include "core/rules/ProfileTexts.h"
#include "pages/mD10.h"
#include "tests/pages/PageTestSupport.h"

namespace orvane::test {
namespace {

using MainWindow = WindowTest;

const QColor kRed(250, 10, 22);
const QColor kYellow(255, 255, 0);

QColor TextColour(QWidget* field) {
    return field->palette().color(QPalette::WindowText);
}

TEST_F(MainWindow, StartsOnTheCommsTabAndNotLogging) {
    EXPECT_TRUE(m_window->Page(0)->isVisible());
    EXPECT_EQ(m_window->ActiveTabField()->text(), "1");
    EXPECT_FALSE(m_window->DownloadButton()->isEnabled());
    EXPECT_EQ(m_window->ModeField()->text(), "1");
    EXPECT_EQ(m_window->DateField()->text(), QDate::currentDate().toString("dd/MM/yyyy"));
    // The still picture does not count as playing, so logging again restarts the animation.
    EXPECT_FALSE(m_window->IsLoggingIndicatorPlaying());
    for (const auto& [id, plays] : {std::pair{kAnimationLogging, true},
                                    {kAnimationNotLogging, false},
                                    {kAnimationLogging, true}}) {
        m_window->PlayLoggingIndicator(id);
        EXPECT_EQ(m_window->IsLoggingIndicatorPlaying(), plays) << "case " << id;
    }
}

TEST_F(MainWindow, PagesBeyondTheFirstTwoAreBuiltWhenFirstShownAndChangeNothing) {
    const auto built = [this] {
        std::string flags;
        for (int index = 0; index < kTabCount; ++index) {
            flags += m_window->IsPageBuilt(index) ? '1' : '.';
        }
        return flags;
    };
    QTest::qWait(100); // painted and idle: nothing more is built meanwhile
    EXPECT_EQ(built(), "11........");
    for (int index = 2; index < kTabCount; ++index) {
        ClickTab(index);
    }
    ClickTab(0);
    EXPECT_EQ(built(), "1111111111");
    RegisterImage expected;
    expected.LoadDefaultTemplate();
    EXPECT_EQ(m_window->Image().Texts(), expected.Texts());
    EXPECT_FALSE(m_window->ImageEdits().HasUnsavedChanges(m_window->Image()));
    EXPECT_TRUE(m_window->Page(0)->isVisible());
}

TEST_F(MainWindow, ATabChangeShowsItsPageAndResetsWhatBelongedToTheOldOne) {
    m_window->SetRefreshFlag(kTabStart, "1");
    m_window->SetRefreshFlag(kTabIndicator, "1");
    m_window->SetProfileStored(false);
    ClickTab(3);
    EXPECT_TRUE(m_window->Page(3)->isVisible());
    EXPECT_EQ(m_window->ActiveTabField()->text(), "4");
    EXPECT_TRUE(m_window->ProfileStored());
    EXPECT_EQ(m_window->RefreshFlag(kTabStart) + m_window->RefreshFlag(kTabIndicator), "00");
    ASSERT_TRUE(m_window->DownloadButton()->isEnabled());
    Click(m_window->DownloadButton());
    EXPECT_EQ(m_prompter.asked,
              (std::vector<AskedMessage>{{"Communication port not set / connected!",
                                          "Warning, No Connection ", MessageIcon::Exclamation,
                                          MessageButtons::Ok}}));

    ClickTab(6);
    EXPECT_EQ(m_window->NoteField()->text(), "NOTE:\nAlarm Action Priority:\nAlarm1 has priority "
                                             "over 2. Just as Alarm 2 has over 3....");
    EXPECT_EQ(TextColour(m_window->NoteField()), kRed);
    const QRect page = m_window->Page(6)->geometry(), note = m_window->NoteField()->geometry();
    m_window->SetNote(profile::kStoreNote);
    QApplication::processEvents(); // the layout follows
    EXPECT_EQ(m_window->Page(6)->geometry(), page) << "the longest note moves nothing";
    EXPECT_EQ(m_window->NoteField()->geometry(), note);

    m_window->Requests().NoteNoData();
    m_window->SetSyncingSeen(true);
    ClickTab(7); // "Live Data"
    EXPECT_EQ(m_window->NoteField()->text(), " ");
    EXPECT_EQ(m_window->Sequencing().NoDataCounter(), 1);
    EXPECT_TRUE(m_window->SyncingSeen());
    ClickTab(8);
    EXPECT_EQ(m_window->Sequencing().NoDataCounter(), 0);
    EXPECT_FALSE(m_window->SyncingSeen());
    EXPECT_EQ(m_window->ActiveTabField()->text(), "9");
    EXPECT_FALSE(m_window->DownloadButton()->isEnabled()); // not from the Indicator tab
}

TEST_F(MainWindow, FieldsTakeTheWarningColoursOfTheTextsThatReportAProblemAndDropThem) {
    using Colour = std::optional<QColor>;
    const std::tuple<StatusField, const char*, Colour, Colour> cases[] = {
        {StatusField::Checksum, "Error!", kRed, kYellow},
        {StatusField::Checksum, "1A2B", {}, {}},
        {StatusField::Checksum, "Error", {}, {}},
        {StatusField::StatusLine, "Syncing...", kRed, {}},
        {StatusField::Activity, "Communicating...", kRed, kYellow},
        {StatusField::Note, " ", kRed, {}},
        {StatusField::Connection, "Disconnected from COM Port", kRed, kYellow},
        {StatusField::Connection, "Connected to COM Port", {}, {}},
    };
    for (const auto& [field, text, foreground, background] : cases) {
        const FieldColours colours = OnCtlColor(field, text);
        EXPECT_EQ(colours.text, foreground) << "case " << text;
        EXPECT_EQ(colours.background, background) << "case " << text;
    }
    QLabel* checksum = m_window->ChecksumField();
    const QColor normal = TextColour(checksum);
    m_window->ShowChecksum("Error!");
    EXPECT_EQ(TextColour(checksum), kRed);
    EXPECT_EQ(checksum->palette().color(QPalette::Window), kYellow);
    EXPECT_TRUE(checksum->autoFillBackground());
    m_window->ShowChecksum("3F2A");
    EXPECT_EQ(TextColour(checksum), normal);
    EXPECT_FALSE(checksum->autoFillBackground());
}

TEST_F(MainWindow, EveryControlIsNamedAndExposesWhatItShowsAndTheWindowFitsA1280By800Screen) {
    const char* controls[] = {"QAbstractButton", "QComboBox", "QLabel",
                              "QTabBar",         "QGroupBox", "orvane::CPictureEx"};
    Connect();
    m_window->OnTimer();
    m_window->ShowChecksum("Error!");
    for (int i = 0; i < kTabCount; ++i) {
        m_window->Tabs()->setCurrentIndex(i);
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            if (widget->isVisible() && std::ranges::any_of(controls, [widget](const char* type) {
                    return widget->inherits(type);
                })) {
                EXPECT_FALSE(widget->accessibleName().isEmpty())
                    << widget->metaObject()->className() << " "
                    << widget->property("text").toString().toStdString();
            }
        }
    }
    ClickTab(6);
    EXPECT_EQ(m_window->ConnectionField()->accessibleDescription(), "Connected to COM Port");
    EXPECT_EQ(m_window->ActiveTabField()->accessibleDescription(), "7");
    ExpectReadable(m_window.get());
    const QSize needed = m_window->minimumSizeHint().expandedTo(m_window->minimumSize());
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 760); // leaves room for a panel and the title bar
    m_window->resize(1, 1);
    const QSize least = m_window->size();
    EXPECT_TRUE(least.width() >= m_window->layout()->minimumSize().width() &&
                least.height() >= m_window->layout()->minimumSize().height())
        << "the window may be made smaller than its pages need: " << least.width() << "x"
        << least.height();
}

TEST_F(MainWindow, SaveWritesTheWholeFileAndNeverFailsSilently) {
    QTemporaryDir dir;
    Click(m_window->SaveButton()); // cancelled: nothing to report
    EXPECT_TRUE(m_prompter.asked.empty());
    SaveConfigurationFile(m_window->Image(), true, m_prompter, *m_window);
    EXPECT_EQ(m_prompter.saveRequests.size(), 1u); // busy: no name asked for
    ASSERT_EQ(m_prompter.asked.size(), 1u);
    EXPECT_EQ(m_prompter.asked[0].caption + ": " + m_prompter.asked[0].text,
              "Wait until it is ended: Communication with Controller still in Progress");
    m_prompter.saveAnswer = dir.filePath("missing-folder/saved.txt").toStdString();
    Click(m_window->SaveButton());
    ASSERT_EQ(m_prompter.asked.size(), 2u);
    EXPECT_EQ(m_prompter.asked[1].caption, "Configuration not saved");
    EXPECT_NE(m_prompter.asked[1].text.find("missing-folder"), std::string::npos);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    m_window->Image().SetText(42, "ABCD");
    m_prompter.saveAnswer = dir.filePath("saved.txt").toStdString();
    Click(m_window->SaveButton());
    EXPECT_EQ(m_prompter.asked.size(), 2u);
    const SaveFileRequest& asked = m_prompter.saveRequests.back();
    EXPECT_TRUE(asked.proposedName == "DEFAULT_Issue0" && asked.defaultExtension == "txt" &&
                asked.confirmOverwrite);
    EXPECT_EQ(QFileInfo(dir.filePath("saved.txt")).size(),
              kConfigFileSize); // contents: the Start page test
    EXPECT_EQ(m_window->ChecksumField()->text().toStdString(),
              m_window->Image().Text(kChecksumIndex));

    m_window->Image().SetText(7, "XYZ"); // cannot be sent, so is not saved either
    m_prompter.saveAnswer = dir.filePath("other.txt").toStdString();
    Click(m_window->SaveButton());
    ASSERT_EQ(m_prompter.asked.size(), 3u);
    EXPECT_NE(m_prompter.asked[2].text.find("Register 7 "), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.txt")));
}

TEST_F(MainWindow, ContactShowsTheVersionAndALinkThatOpensTheDownloadPage) {
    EXPECT_EQ(m_window->ContactPage()->VersionField()->text().toStdString(), VersionText());
    ClickTab(9);
    QLabel* link = m_window->ContactPage()->LinkField();
    EXPECT_EQ(link->text(), kDownloadAddress);
    Click(link);
    EXPECT_EQ(m_opened, std::vector<std::string>{kDownloadAddress});
    EXPECT_TRUE(m_window->ContactPage()->Picture()->IsPlaying());
}

TEST(MainWindowTimers, OnlyTheShownPageTicksAndFastTicksSpeedEveryTimerAndTheSimulator) {
    const DlgOptions fast = OptionsForTick(20);
    EXPECT_TRUE(fast.tickMs == 20 && fast.simulator.unpaced && fast.simulator.timeScale == 50.0);
    EXPECT_FALSE(OptionsForTick(1000).simulator.unpaced);
    EXPECT_EQ(OptionsForTick(1).tickMs, kFastestTickMs);

    CZephanDlg window(fast);
    const auto ticking = [&window] {
        std::string pages;
        for (int index = 0; index < kTabCount; ++index) {
            auto* page = qobject_cast<TickPage*>(window.Page(index));
            pages += page != nullptr && page->IsTicking() ? '1' : '.';
        }
        return pages;
    };
    EXPECT_EQ(ticking(), "..........");
    window.Tabs()->setCurrentIndex(3);
    EXPECT_EQ(ticking(), "...1......");
}

using Seen = std::tuple<QString, QString, QMessageBox::Icon, QMessageBox::StandardButtons>;

// Once the box is open, notes what it shows and presses one of its buttons.
void AnswerNextBox(Seen& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
        box->button(press)->click();
    });
}

TEST(QtPrompter, ShowsTheBoxAsAskedAndReportsTheButtonPressed) {
    QtPrompter prompter;
    Seen seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    EXPECT_EQ(prompter.ShowMessage("Comms <3> went", "Application Error", MessageIcon::Error,
                                   MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(seen,
              Seen("Comms <3> went", "Application Error", QMessageBox::Critical, QMessageBox::Ok));
    for (const auto& [press, answer] :
         {std::pair{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}}) {
        AnswerNextBox(seen, press);
        EXPECT_EQ(
            prompter.ShowMessage("Log?", "Log", MessageIcon::Exclamation, MessageButtons::YesNo),
            answer);
        EXPECT_EQ(seen,
                  Seen("Log?", "Log", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No));
    }
}

template <typename Dialog>
Dialog* OpenDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<Dialog*>(widget);
        if (dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Asked from a timer's tick, a question and a later file choice leave that timer ticking; each
// answers once, when closed.
TEST(QtPrompter, QuestionsAndLaterFileChoicesLeaveTheAskingTimerTicking) {
    QWidget window;
    window.show();
    QtPrompter prompter(&window);
    QTemporaryDir dir;
    std::vector<MessageAnswer> answers;
    std::vector<std::optional<std::string>> chosen;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 1) {
            prompter.ShowQuestion("Log?", "Log", MessageIcon::Exclamation, MessageButtons::YesNo,
                                  [&](MessageAnswer answer) { answers.push_back(answer); });
            prompter.AskSaveFileLater(
                {"run_log", "txt", true, {kLogFileType}},
                [&](std::optional<std::string> path) { chosen.push_back(std::move(path)); });
        }
    });
    timer.start(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, 2000));
    auto* box = OpenDialog<QMessageBox>();
    auto* files = OpenDialog<QFileDialog>();
    ASSERT_TRUE(box != nullptr && files != nullptr);
    EXPECT_EQ(std::pair(box->windowModality(), files->windowModality()),
              std::pair(Qt::WindowModal, Qt::WindowModal));
    EXPECT_TRUE(answers.empty() && chosen.empty());
    const QString path = dir.filePath("run_log.txt");
    files->selectFile(path);
    static_cast<QDialog*>(files)->accept(); // what its Save button does
    box->button(QMessageBox::Yes)->click();
    const int ticked = ticks;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > ticked; }, 2000));
    EXPECT_EQ(answers, std::vector<MessageAnswer>{MessageAnswer::Yes});
    EXPECT_EQ(chosen, std::vector<std::optional<std::string>>{path.toStdString()});
}

// The no-data warning: shown without blocking anything, it stays until closed and then says so.
TEST(QtPrompter, ANoticeBlocksNothingAndSaysWhenItIsClosed) {
    QtPrompter prompter;
    int closed = 0;
    prompter.ShowNotice("No data", "Warning", MessageIcon::Exclamation, [&] { ++closed; });
    auto* box = OpenDialog<QMessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::pair(box->text(), box->isModal()), std::pair(QString("No data"), false));
    QTest::qWait(20);
    EXPECT_EQ(closed, 0);
    box->button(QMessageBox::Ok)->click();
    EXPECT_EQ(closed, 1);
}

} // namespace
} // namespace orvane::test
