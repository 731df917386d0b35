// The window and its parts: start-up, tabs, colours, names, saving, Contact, boxes.
#include <algorithm>
#include <ranges>

#include <QAbstractButton>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/FieldColours.h"
#include "app/QtPrompter.h"
#include "app/SaveConfiguration.h"
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

TEST_F(MainWindow, StartsOnTheCommsTabWithTheTemplateLoadedAndNotLogging) {
    EXPECT_TRUE(window->Page(0)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "1");
    EXPECT_FALSE(window->DownloadButton()->isEnabled());
    EXPECT_EQ(window->ModeField()->text(), "1");
    EXPECT_EQ(window->DateField()->text(), QDate::currentDate().toString("dd/MM/yyyy"));
    RegisterImage expected;
    expected.LoadDefaultTemplate();
    EXPECT_EQ(window->Image().Texts(), expected.Texts());
    // The still picture does not count as playing, so logging again restarts the animation.
    EXPECT_FALSE(window->IsLoggingIndicatorPlaying());
    for (const auto& [id, plays] : {std::pair{kAnimationLogging, true},
                                    {kAnimationNotLogging, false},
                                    {kAnimationLogging, true}}) {
        window->PlayLoggingIndicator(id);
        EXPECT_EQ(window->IsLoggingIndicatorPlaying(), plays) << "case " << id;
    }
}

TEST_F(MainWindow, PagesBeyondTheFirstTwoAreBuiltWhenFirstShownAndChangeNothing) {
    const auto built = [this] {
        std::string flags;
        for (int index = 0; index < kTabCount; ++index) {
            flags += window->IsPageBuilt(index) ? '1' : '.';
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
    EXPECT_EQ(window->Image().Texts(), expected.Texts());
    EXPECT_FALSE(window->ImageEdits().HasUnsavedChanges(window->Image()));
    EXPECT_TRUE(window->Page(0)->isVisible());
    for (int index = 1; index < kTabCount; ++index) {
        auto* page = qobject_cast<TickPage*>(window->Page(index));
        EXPECT_FALSE(page != nullptr && (page->isVisible() || page->IsTicking())) << index;
    }
}

TEST_F(MainWindow, ATabChangeShowsItsPageAndResetsWhatBelongedToTheOldOne) {
    window->SetRefreshFlag(kTabStart, "1");
    window->SetRefreshFlag(kTabIndicator, "1");
    window->SetProfileStored(false);
    ClickTab(3);
    EXPECT_TRUE(window->Page(3)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "4");
    EXPECT_TRUE(window->ProfileStored());
    EXPECT_EQ(window->RefreshFlag(kTabStart) + window->RefreshFlag(kTabIndicator), "00");
    // Only the visible page reloads on its tick.
    static_cast<TickPage*>(window->Page(2))->OnTimer();
    EXPECT_EQ(window->RefreshFlag(3), "0");
    static_cast<TickPage*>(window->Page(3))->OnTimer();
    EXPECT_EQ(window->RefreshFlag(4), "1");
    ASSERT_TRUE(window->DownloadButton()->isEnabled());
    Click(window->DownloadButton());
    EXPECT_EQ(prompter.asked,
              (std::vector<AskedMessage>{{"Communication port not set / connected!",
                                          "Warning, No Connection ", MessageIcon::Exclamation,
                                          MessageButtons::Ok}}));

    ClickTab(6);
    EXPECT_EQ(window->NoteField()->text(), "NOTE:\nAlarm Action Priority:\nAlarm1 has priority "
                                           "over 2. Just as Alarm 2 has over 3....");
    EXPECT_EQ(TextColour(window->NoteField()), kRed);
    const QRect page = window->Page(6)->geometry(), note = window->NoteField()->geometry();
    window->SetNote(profile::kStoreNote);
    QApplication::processEvents(); // the layout follows
    EXPECT_EQ(window->Page(6)->geometry(), page) << "the longest note moves nothing";
    EXPECT_EQ(window->NoteField()->geometry(), note);
    EXPECT_EQ(window->RefreshFlag(4), "0"); // shown again later: reloads again

    window->Requests().NoteNoData();
    window->SetSyncingSeen(true);
    ClickTab(7); // "Live Data"
    EXPECT_EQ(window->NoteField()->text(), " ");
    EXPECT_EQ(window->Sequencing().NoDataCounter(), 1);
    EXPECT_TRUE(window->SyncingSeen());
    ClickTab(8);
    EXPECT_EQ(window->Sequencing().NoDataCounter(), 0);
    EXPECT_FALSE(window->SyncingSeen());
    EXPECT_EQ(window->ActiveTabField()->text(), "9");
    EXPECT_FALSE(window->DownloadButton()->isEnabled()); // not from the Indicator tab
}

TEST_F(MainWindow, FieldsTakeTheWarningColoursOfTheTextsThatReportAProblemAndDropThem) {
    using Colour = std::optional<QColor>;
    const std::tuple<StatusField, const char*, Colour, Colour> cases[] = {
        {StatusField::Checksum, "Error!", kRed, kYellow},
        {StatusField::Checksum, "1A2B", {}, {}},
        {StatusField::Checksum, "Error", {}, {}},
        {StatusField::StatusLine, "Syncing...", kRed, {}},
        {StatusField::StatusLine, "VIEW DATA", {}, {}},
        {StatusField::Activity, "Communicating...", kRed, kYellow},
        {StatusField::Activity, "IDLE", {}, {}},
        {StatusField::Note, " ", kRed, {}},
        {StatusField::Note, "", kRed, {}},
        {StatusField::Connection, "Disconnected from COM Port", kRed, kYellow},
        {StatusField::Connection, "Connected to COM Port", {}, {}},
    };
    for (const auto& [field, text, foreground, background] : cases) {
        const FieldColours colours = OnCtlColor(field, text);
        EXPECT_EQ(colours.text, foreground) << "case " << text;
        EXPECT_EQ(colours.background, background) << "case " << text;
    }
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

TEST_F(MainWindow, EveryControlIsNamedAndExposesWhatItShowsAndTheWindowFitsA1280By800Screen) {
    const char* controls[] = {"QAbstractButton", "QComboBox", "QLabel",
                              "QTabBar",         "QGroupBox", "orvane::CPictureEx"};
    Connect();
    window->OnTimer();
    window->ShowChecksum("Error!");
    for (int i = 0; i < kTabCount; ++i) {
        window->Tabs()->setCurrentIndex(i);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
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
    EXPECT_EQ(window->ConnectionField()->accessibleDescription(), "Connected to COM Port");
    EXPECT_EQ(window->ActiveTabField()->accessibleDescription(), "7");
    ExpectReadable(window.get());
    const QSize needed = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 760); // leaves room for a panel and the title bar
    window->resize(1, 1);
    const QSize least = window->size();
    EXPECT_TRUE(least.width() >= window->layout()->minimumSize().width() &&
                least.height() >= window->layout()->minimumSize().height())
        << "the window may be made smaller than its pages need: " << least.width() << "x"
        << least.height();
}

TEST_F(MainWindow, SaveWritesTheWholeFileAndNeverFailsSilently) {
    QTemporaryDir dir;
    Click(window->SaveButton()); // cancelled: nothing to report
    EXPECT_TRUE(prompter.asked.empty());
    SaveConfigurationFile(window->Image(), true, prompter, *window);
    EXPECT_EQ(prompter.saveRequests.size(), 1u); // busy: no name asked for
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].caption + ": " + prompter.asked[0].text,
              "Wait until it is ended: Communication with Controller still in Progress");
    prompter.saveAnswer = dir.filePath("missing-folder/saved.txt").toStdString();
    Click(window->SaveButton());
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].caption, "Configuration not saved");
    EXPECT_NE(prompter.asked[1].text.find("missing-folder"), std::string::npos);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    window->Image().SetText(42, "ABCD");
    prompter.saveAnswer = dir.filePath("saved.txt").toStdString();
    Click(window->SaveButton());
    EXPECT_EQ(prompter.asked.size(), 2u);
    const SaveFileRequest& asked = prompter.saveRequests.back();
    EXPECT_TRUE(asked.proposedName == "DEFAULT_Issue0" && asked.defaultExtension == "txt" &&
                asked.confirmOverwrite);
    EXPECT_EQ(QFileInfo(dir.filePath("saved.txt")).size(),
              kConfigFileSize); // contents: the Start page test
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));

    window->Image().SetText(7, "XYZ"); // cannot be sent, so is not saved either
    prompter.saveAnswer = dir.filePath("other.txt").toStdString();
    Click(window->SaveButton());
    ASSERT_EQ(prompter.asked.size(), 3u);
    EXPECT_NE(prompter.asked[2].text.find("Register 7 "), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.txt")));
}

TEST_F(MainWindow, ContactShowsTheVersionAndABlueLinkThatOpensTheDownloadPage) {
    const QString text = window->ContactPage()->VersionField()->text();
    const QRegularExpression form(
        "^Software Version 2\\.3\\.1 Compiled on [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, "
        "[0-9]{2}:[0-9]{2}:[0-9]{2}\nThe latest version of the Software \ncan be downloaded "
        "from:$");
    EXPECT_TRUE(form.match(text).hasMatch()) << text.toStdString();

    ClickTab(9);
    QLabel* link = window->ContactPage()->LinkField();
    EXPECT_EQ(link->text(), kDownloadAddress);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x19, 0x19, 0xFF));
    EXPECT_TRUE(link->autoFillBackground());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    Click(link);
    EXPECT_EQ(opened, std::vector<std::string>{kDownloadAddress});
    EXPECT_TRUE(window->ContactPage()->Picture()->IsPlaying());
    EXPECT_EQ(window->ContactPage()->Picture()->ResourceId(), kPictureContact);
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
    for (const auto& [tab, pages] :
         {std::pair{3, "...1......"}, {8, "........1."}, {9, ".........."}}) {
        window.Tabs()->setCurrentIndex(tab);
        EXPECT_EQ(ticking(), pages) << "case " << tab;
    }
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

} // namespace
} // namespace orvane::test
