// Through the window and the built-in simulated controller: the compares and the download's
// choices reach their chain (whose rules the sim and core tests table) and show what it says.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

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

using ::testing::HasSubstr;
namespace fs = std::filesystem;

int Files(const QTemporaryDir& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir.path().toStdString()), {}));
}

// Connected, on the Start page, with FAN 2's ramp rate edited.
class SafeDownloadEndToEnd : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(Connect());
        ClickTab(1);
        m_window->Image().SetText(297, "0019");
    }
    // The Start page's three choices as a user sets them, then "Download".
    void Download(bool backup, bool preview, bool verify, const QString& folder = {}) {
        mD2* start = m_window->StartPage();
        start->BackupFolderEdit()->setText(folder.isEmpty() ? m_dir.path() : folder);
        start->BackupCheck()->setChecked(backup);
        start->PreviewCheck()->setChecked(preview);
        start->VerifyCheck()->setChecked(verify);
        Click(m_window->DownloadButton());
    }
    bool Running() const { return m_window->Runner().LastSafeDownload() == nullptr; }
    // Ticks until the download has ended; the ticks it took, 0 when it did not end.
    int RunDownload(const std::function<void(int)>& during = [](int) {}) {
        int tick = 0;
        return TickUntil(
            [&] {
                during(++tick);
                return !Running();
            },
            400);
    }
    std::string Outcome() { return m_window->Progress()->OutcomeField()->text().toStdString(); }
    RegisterTexts Stored() { return m_window->Simulator().Host().Configuration().Texts(); }
    std::string ListText() {
        return m_window->Runner().ShownList()->ListField()->toPlainText().toStdString();
    }

    QTemporaryDir m_dir;
};

TEST_F(SafeDownloadEndToEnd, ComparesListTheDifferencesAndChangeNothing) {
    const std::string file = m_dir.filePath("plant.txt").toStdString();
    RegisterImage plant;
    plant.LoadDefaultTemplate();
    m_prompter.saveAnswer = file;
    SaveConfigurationFile(plant, false, m_prompter, *m_window);
    m_prompter.openAnswer = {file};
    Click(m_window->StartPage()->CompareFileButton());
    ListDialog* list = m_window->Runner().ShownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->HeadingField()->text().toStdString(),
              "From the window to " + file + ": 1 setting differs");
    EXPECT_EQ(ListText(), "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 25 -> 10");
    const std::string saved = m_dir.filePath("differences.txt").toStdString();
    m_prompter.saveAnswer = saved;
    Click(list->SaveButton());
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), list->Text().toStdString());
    std::ofstream(file) << "no configuration here";
    Click(m_window->StartPage()->CompareFileButton());
    ASSERT_FALSE(m_prompter.asked.empty());
    EXPECT_EQ(m_prompter.asked.back().caption, "Compare with File");
    EXPECT_THAT(m_prompter.asked.back().text, HasSubstr("not a configuration file"));

    list->close();
    const RegisterTexts edited = m_window->Image().Texts(), stored = Stored();
    Click(m_window->StartPage()->CompareControllerButton());
    ASSERT_TRUE(TickUntil([&] { return m_window->Runner().ShownList() != nullptr; }));
    EXPECT_EQ(ListText(), "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 25 -> 10");
    EXPECT_EQ(Outcome(), "Compare with Controller: finished");
    EXPECT_EQ(m_window->Image().Texts(), edited);
    EXPECT_EQ(Stored(), stored);
}

// The backup holds what was found, the controller what was written, the panel shows each step
// and the outcome, and the report takes the backup as found and the read-back as proof.
TEST_F(SafeDownloadEndToEnd, BackupWriteAndVerifyPassAndFeedTheReport) {
    const RegisterTexts found = Stored();
    Click(m_window->StartPage()->ReadButton()); // a first read, which the backup outranks
    ASSERT_NE(TickUntil([&] {
                  return m_window->Visit().FirstRead() && !m_window->Sequencing().IsBusy();
              }),
              0);
    m_window->Image().SetText(297, "0019");
    Download(true, false, true);
    std::set<std::string> steps;
    bool cancellable = true;
    const int ticks = RunDownload([&](int) {
        if (Running()) {
            const std::string text = Outcome();
            steps.insert(text.substr(0, text.find(':')));
            cancellable = cancellable && m_window->Progress()->CancelButton()->isEnabled();
        }
    });
    ASSERT_NE(ticks, 0);
    EXPECT_EQ(Outcome(), kVerified);
    EXPECT_EQ(steps, (std::set<std::string>{"Download, Backup (step 1 of 3)",
                                            "Download, Write (step 2 of 3)",
                                            "Download, Verify (step 3 of 3)"}));
    EXPECT_TRUE(cancellable);
    RegisterTexts written = m_window->Image().Texts(), held = Stored();
    written[kChecksumIndex].clear();
    held[kChecksumIndex].clear();
    EXPECT_EQ(held, written);
    ASSERT_EQ(Files(m_dir), 1);
    const std::string backup = m_window->Runner().LastSafeDownload()->backupPath;
    EXPECT_EQ(DecodeConfigurationFile(ReadConfigurationFileBytes(backup).bytes).groups, found);
    RecordProperty("chain_ticks", ticks); // one tick a controller second: the real pace

    Click(m_window->ReportButton());
    ReportDialog* report = m_window->Report();
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
    const RegisterTexts before = Stored();
    enum class Answer { Download, CancelTheQuestion, CancelTheBackup };
    const struct {
        Answer answer;
        const char* outcome;
    } cases[] = {
        {Answer::CancelTheQuestion, "Download cancelled at the question: nothing was written"},
        {Answer::CancelTheBackup, "Download cancelled in the Backup step: nothing was written"},
        {Answer::Download, "Download finished: the configuration was written, not verified"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcome);
        Download(c.answer == Answer::CancelTheBackup, c.answer != Answer::CancelTheBackup, false);
        QString asked;
        ASSERT_NE(RunDownload([&](int tick) {
                      ListDialog* question = m_window->Runner().ShownList();
                      if (question != nullptr && question->AcceptButton() != nullptr &&
                          question->isVisible()) {
                          asked = question->HeadingField()->text() + "\n" +
                                  question->ListField()->toPlainText();
                          Click(c.answer == Answer::Download ? question->AcceptButton()
                                                             : question->CloseButton());
                      }
                      if (c.answer == Answer::CancelTheBackup && tick == 5) {
                          Click(m_window->Progress()->CancelButton());
                      }
                  }),
                  0);
        EXPECT_EQ(Outcome(), c.outcome);
        EXPECT_EQ(asked.toStdString(),
                  c.answer == Answer::CancelTheBackup
                      ? ""
                      : "From the controller to the window: 1 setting differs\n"
                        "Download the window's configuration to the controller?\n"
                        "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 10 -> 25");
        EXPECT_EQ(Stored() == before, c.answer != Answer::Download);
        EXPECT_EQ(Files(m_dir), 0);
    }
}

// A controller that stores a register wrongly: the box lists the mismatches and the report says
// so; a missing backup folder is refused before anything is sent.
TEST_F(SafeDownloadEndToEnd, AStoreFaultFailsTheVerificationAndAMissingFolderIsRefused) {
    Download(true, false, false, m_dir.filePath("gone"));
    ASSERT_FALSE(m_prompter.asked.empty());
    EXPECT_EQ(m_prompter.asked.back().caption, "Download not started");
    EXPECT_THAT(m_prompter.asked.back().text, HasSubstr("gone does not exist"));
    m_window->OnTimer();
    EXPECT_FALSE(m_window->Sequencing().IsBusy());

    m_window->Simulator().Host().SetCorruptStore(297);
    Download(true, false, true);
    ASSERT_NE(RunDownload(), 0);
    const std::string outcome =
        "Verification failed: 1 register and the checksum differ from what was written";
    EXPECT_EQ(Outcome(), outcome);
    ListDialog* box = m_window->Runner().ShownList();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle().toStdString() + ": " + box->HeadingField()->text().toStdString(),
              "Verification failed: " + outcome);
    const std::vector<std::string> lines = MismatchLines(*m_window->Runner().LastSafeDownload());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(ListText(), lines[0] + "\n" + lines[1]);
    Click(m_window->ReportButton());
    EXPECT_THAT(m_window->Report()->SummaryField()->text().toStdString(),
                HasSubstr("Verification: failed (1 registers differ)"));
}

} // namespace
} // namespace orvane::test
