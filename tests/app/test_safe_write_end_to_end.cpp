// Through the window and the built-in simulated controller: a compare lists what differs from the
// window's configuration and never changes it; every command shows its progress; the download
// with backup, question and verification writes only what was agreed to, says whether the
// controller holds it, and hands its result to the commissioning report.
#include <gmock/gmock.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include <spawn.h>
#include <sys/wait.h>

#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/CommandRunner.h"
#include "app/ReportDialog.h"
#include "app/SaveConfiguration.h"
#include "app/SimulatorPort.h"
#include "core/chain/ChainTexts.h"
#include "core/image/ConfigFile.h"
#include "pages/mD2.h"

namespace orvane::test {
namespace {

using SafeWriteEndToEnd = WindowTest;
using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

RegisterTexts Registers(RegisterTexts texts) {
    texts[kChecksumIndex].clear();
    return texts;
}

int Files(const QTemporaryDir& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir.path().toStdString()), {}));
}

// A standalone orvane-sim on its own pseudo-terminal, at the tests' pace, ended with SIGTERM.
class SimulatorProcess {
public:
    explicit SimulatorProcess(std::vector<std::string> extra) {
        std::vector<std::string> args{ORVANE_SIM_PROGRAM, "--unpaced", "--time-scale",
                                      std::to_string(1000 / kTickMs)};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        // Its first line is the device to open.
        char c = 0;
        while (m_pid != 0 && read(out[0], &c, 1) == 1 && c != '\n') {
            m_path += c;
        }
        close(out[0]);
    }
    ~SimulatorProcess() {
        if (m_pid != 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;
    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = 0;
    std::string m_path;
};

class SafeDownloadEndToEnd : public WindowTest {
protected:
    // The Start page's three choices as a user sets them.
    void Choose(bool backup, bool preview, bool verify) {
        mD2* start = window->StartPage();
        start->BackupFolderEdit()->setText(dir.path());
        start->BackupCheck()->setChecked(backup);
        start->PreviewCheck()->setChecked(preview);
        start->VerifyCheck()->setChecked(verify);
    }
    bool Running() const { return window->Runner().LastSafeDownload() == nullptr; }
    // Ticks until the download in progress has ended; the ticks it took, 0 when it did not end.
    int RunDownload(const std::function<void(int)>& during = [](int) {}) {
        int tick = 0;
        return TickUntil(
            [&] {
                during(++tick);
                return !Running();
            },
            400);
    }
    std::string Outcome() { return window->Progress()->OutcomeField()->text().toStdString(); }
    RegisterTexts Stored() { return window->Simulator().Host().Configuration().Texts(); }

    QTemporaryDir dir;
};

TEST_F(SafeWriteEndToEnd, CompareWithFileListsTheDifferencesAndSavesThem) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("plant.txt").toStdString();
    prompter.saveAnswer = file;
    SaveConfigurationFile(window->Image(), false, prompter, *window);
    ClickTab(1);
    mD2* start = window->StartPage();
    prompter.openAnswer = {file};
    Click(start->CompareFileButton());
    ListDialog* list = window->Runner().ShownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->HeadingField()->text().toStdString(),
              "From the window to " + file + ": No differences");

    window->Image().SetText(297, "0019");
    const RegisterTexts edited = window->Image().Texts();
    Click(start->CompareFileButton());
    list = window->Runner().ShownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ListField()->toPlainText(),
              "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 25 -> 10");
    const std::string saved = dir.filePath("differences.txt").toStdString();
    prompter.saveAnswer = saved;
    Click(list->SaveButton());
    EXPECT_EQ(Slurp(saved), list->Text().toStdString());
    EXPECT_EQ(window->Image().Text(297), "0019");

    const std::string damaged = dir.filePath("damaged.txt").toStdString();
    std::ofstream(damaged) << "no configuration here";
    prompter.openAnswer = {damaged};
    Click(start->CompareFileButton());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().caption, "Compare with File");
    EXPECT_THAT(prompter.asked.back().text, HasSubstr("not a configuration file"));
    EXPECT_EQ(window->Image().Texts(), edited);
}

TEST_F(SafeWriteEndToEnd, ACommandShowsItsStepsAndTimeLeft) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    Click(window->StartPage()->ReadButton());
    ASSERT_TRUE(TickUntil([&] { return window->Sequencing().Progress().done >= 5; }));
    ProgressPanel* progress = window->Progress();
    EXPECT_THAT(progress->OutcomeField()->text().toStdString(),
                StartsWith("Reading the configuration: step 5 of 34, "));
    EXPECT_EQ(progress->Bar()->value(), 5);
    EXPECT_EQ(progress->Bar()->maximum(), 34);
    ASSERT_TRUE(TickUntil([&] { return !window->Sequencing().IsBusy(); }));
    EXPECT_EQ(progress->OutcomeField()->text(), "Reading the configuration: finished");
}

TEST_F(SafeWriteEndToEnd, CompareWithControllerListsTheDifferencesAndNeverReplacesTheImage) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    mD2* start = window->StartPage();
    const auto listShown = [&] { return window->Runner().ShownList() != nullptr; };
    Click(start->CompareControllerButton());
    ASSERT_TRUE(TickUntil(listShown));
    EXPECT_EQ(window->Runner().ShownList()->HeadingField()->text(),
              "From the window to the controller: No differences");
    window->Runner().ShownList()->close();

    window->Image().SetText(297, "0019");
    const RegisterTexts edited = window->Image().Texts();
    const RegisterTexts stored = window->Simulator().Host().Configuration().Texts();
    Click(start->CompareControllerButton());
    ASSERT_TRUE(TickUntil(listShown));
    EXPECT_EQ(window->Runner().ShownList()->ListField()->toPlainText(),
              "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 25 -> 10");
    EXPECT_EQ(window->Progress()->OutcomeField()->text(), "Compare with Controller: finished");
    EXPECT_EQ(window->Image().Texts(), edited);
    EXPECT_EQ(window->Simulator().Host().Configuration().Texts(), stored);
}

// Backup, write, verify: the backup holds what was found, the controller what was written, the
// panel says it was verified, and the report takes the backup as found and the read-back as proof.
TEST_F(SafeDownloadEndToEnd, BackupWriteAndVerifyPassAndFeedTheReport) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    const RegisterTexts found = Stored();
    window->Image().SetText(297, "0019");
    Choose(true, false, true);
    Click(window->DownloadButton());
    std::set<std::string> steps;
    bool cancellable = true;
    const int ticks = RunDownload([&](int) {
        if (Running()) {
            const std::string text = Outcome();
            steps.insert(text.substr(0, text.find(':')));
            cancellable = cancellable && window->Progress()->CancelButton()->isEnabled();
        }
    });
    ASSERT_NE(ticks, 0);
    EXPECT_EQ(Outcome(), kVerified);
    EXPECT_EQ(steps, (std::set<std::string>{"Download, Backup (step 1 of 3)",
                                            "Download, Write (step 2 of 3)",
                                            "Download, Verify (step 3 of 3)"}));
    EXPECT_TRUE(cancellable);
    EXPECT_EQ(Registers(Stored()), Registers(window->Image().Texts()));
    ASSERT_EQ(Files(dir), 1);
    const std::string backup = window->Runner().LastSafeDownload()->backupPath;
    EXPECT_EQ(DecodeConfigurationFile(ReadConfigurationFileBytes(backup).bytes).groups, found);
    // One tick a controller second: the figure for the whole chain at real pace.
    RecordProperty("chain_ticks", ticks);

    Click(window->ReportButton());
    ReportDialog* report = window->Report();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->LastBackupChoice()->isChecked());
    ASSERT_TRUE(report->Record().has_value());
    EXPECT_EQ(report->Record()->foundFile, backup);
    const std::string summary = report->SummaryField()->text().toStdString();
    EXPECT_THAT(summary, HasSubstr("\nVerification: passed\n"));
    EXPECT_THAT(summary, HasSubstr("1 setting changed"));
}

// Nothing reaches the controller's store unless the question is answered "Download".
TEST_F(SafeDownloadEndToEnd, TheQuestionAndCancelBeforeTheWriteSendNothing) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    window->Image().SetText(297, "0019");
    const RegisterTexts before = Stored();
    enum class Answer { Download, CancelTheQuestion, CancelTheBackup };
    const struct {
        Answer answer;
        const char* outcome;
        int backups;
    } cases[] = {
        {Answer::CancelTheQuestion, "Download cancelled at the question: nothing was written", 0},
        {Answer::CancelTheBackup, "Download cancelled in the Backup step: nothing was written", 0},
        {Answer::Download, "Download finished: the configuration was written, not verified", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcome);
        Choose(c.answer == Answer::CancelTheBackup, c.answer != Answer::CancelTheBackup, false);
        Click(window->DownloadButton());
        QString asked;
        ASSERT_NE(RunDownload([&](int tick) {
                      ListDialog* question = window->Runner().ShownList();
                      if (question != nullptr && question->AcceptButton() != nullptr &&
                          question->isVisible()) {
                          asked = question->ListField()->toPlainText();
                          Click(c.answer == Answer::Download ? question->AcceptButton()
                                                             : question->CloseButton());
                      }
                      if (c.answer == Answer::CancelTheBackup && tick == 5) {
                          Click(window->Progress()->CancelButton());
                      }
                  }),
                  0);
        EXPECT_EQ(Outcome(), c.outcome);
        EXPECT_EQ(asked.toStdString(),
                  c.answer == Answer::CancelTheBackup
                      ? ""
                      : "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 10 -> 25");
        EXPECT_EQ(Stored() == before, c.answer != Answer::Download);
        EXPECT_EQ(Files(dir), c.backups);
    }
}

// A controller that stores a register wrongly: the box lists it as the command line does, and the
// report says so.
TEST_F(SafeDownloadEndToEnd, AStoreFaultOfAStandaloneSimulatorFailsTheVerification) {
    SimulatorProcess simulator({"--corrupt-store", "297"});
    ASSERT_FALSE(simulator.Path().empty());
    simulators = {{"orvane-sim:" + simulator.Path(), "orvane-sim on " + simulator.Path(),
                   simulator.Path(), std::nullopt, false}};
    Restart();
    ASSERT_TRUE(Connect("orvane-sim on"));
    ClickTab(1);
    window->Image().SetText(297, "0019");
    Choose(true, false, true);
    Click(window->DownloadButton());
    ASSERT_NE(RunDownload(), 0);
    const std::string outcome =
        "Verification failed: 1 register and the checksum differ from what was written";
    EXPECT_EQ(Outcome(), outcome);
    ListDialog* box = window->Runner().ShownList();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Verification failed");
    EXPECT_EQ(box->HeadingField()->text().toStdString(), outcome);
    const std::vector<std::string> lines = MismatchLines(*window->Runner().LastSafeDownload());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0],
                StartsWith("register 297 (Fan Setting / FAN 2 Ramp Rate): sent 0019 (25), "
                           "read "));
    EXPECT_EQ(box->ListField()->toPlainText().toStdString(), lines[0] + "\n" + lines[1]);
    Click(window->ReportButton());
    EXPECT_THAT(window->Report()->SummaryField()->text().toStdString(),
                HasSubstr("Verification: failed (1 registers differ)"));
}

// Refused before anything is sent, with the reason; a port lost in the write stops the chain.
TEST_F(SafeDownloadEndToEnd, AMissingFolderIsRefusedAndALostPortStopsTheChain) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    window->Image().SetText(297, "0019");
    const RegisterTexts edited = window->Image().Texts();
    Choose(true, false, true);
    window->StartPage()->BackupFolderEdit()->setText(dir.filePath("gone"));
    Click(window->DownloadButton());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().caption, "Download not started");
    EXPECT_THAT(prompter.asked.back().text, HasSubstr("gone does not exist"));
    window->OnTimer();
    EXPECT_FALSE(window->Sequencing().IsBusy());

    Choose(false, false, true);
    Click(window->DownloadButton());
    ASSERT_NE(RunDownload([&](int) {
                  if (window->Sequencing().Progress().done == 10) {
                      window->Simulator().Host().DropLine();
                  }
              }),
              0);
    EXPECT_THAT(Outcome(), StartsWith("Download stopped in the Write step: the port was closed"));
    EXPECT_EQ(Registers(window->Image().Texts()), Registers(edited));
}

} // namespace
} // namespace orvane::test
