// A log file holds exactly the header and one CR LF record per live tick, and a failing log is
// stopped and reported, never silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "SequencerFakes.h"
#include "core/DataLogger.h"
#include "core/SequencerCodes.h"

namespace orvane::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LoggerTest : public ::testing::Test {
protected:
    CRegisterImage image;
    RecordingView view;
    ScriptedPrompter prompter;
    CDataLogger logger{image, view, prompter};
    LiveFields fields{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                      " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "77s",  ""};
    std::string path = ::testing::TempDir() + "log_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";

    void SetUp() override {
        image.LoadDefaultTemplate();
        std::filesystem::remove(path);
        prompter.savePath = path;
    }
    void TearDown() override { std::filesystem::remove(path); }
    void LiveTick() { logger.LogTick(true, State::ViewData, fields); }
    std::string Record() const {
        std::string record = "\r\n";
        for (const auto& f : fields) {
            record += f;
        }
        return record;
    }
};

TEST_F(LoggerTest, HeaderThenOneRecordPerTickAndReopeningTruncates) {
    image.SetText(kOptionRegister, "0011");
    logger.OpenLogFile();
    ASSERT_TRUE(logger.IsOpen());
    EXPECT_EQ(view.logStatus, "File opened successfully");
    EXPECT_EQ(image.Text(kOptionRegister), "0031") << "bit 5 set, the others kept";
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].defaultExtension, "txt");
    EXPECT_TRUE(prompter.saveRequests[0].proposedName.empty());
    EXPECT_TRUE(prompter.saveRequests[0].confirmOverwrite);
    EXPECT_EQ(logger.FileName(), std::filesystem::path(path).filename().string());

    std::string expected(kLogHeader);
    for (const char* uptime : {"77s", "78s", "79s"}) {
        fields[13] = uptime;
        LiveTick();
        EXPECT_TRUE(logger.LoggedThisTick());
        expected += Record();
    }
    EXPECT_EQ(kLogHeader.size(), 80u);
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(view.loggingAnimations, std::vector<int>{kAnimationLogging});

    logger.CloseLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_EQ(view.logStatus, "Log File Closed");
    EXPECT_EQ(image.Text(kOptionRegister), "0011");
    EXPECT_EQ(ReadFile(path), expected);
    logger.OpenLogFile();
    EXPECT_TRUE(ReadFile(path).empty());
    LiveTick();
    EXPECT_EQ(ReadFile(path), std::string(kLogHeader) + Record());
}

TEST_F(LoggerTest, CancelledOrUnopenableFileLeavesTheLoggerClosed) {
    image.SetText(kOptionRegister, "0031");
    prompter.savePath.reset();
    logger.OpenLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_EQ(view.logStatus, "No File opened");
    EXPECT_EQ(image.Text(kOptionRegister), "0011");

    prompter.savePath = ::testing::TempDir() + "no_such_dir/x/log.txt";
    logger.OpenLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_NE(view.logStatus.find("could not be opened"), std::string::npos) << view.logStatus;
}

TEST_F(LoggerTest, WritesOnlyWhenConnectedInViewDataWithTheOpenedStatus) {
    logger.OpenLogFile();
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(false, State::ViewData, fields);
    logger.SetLogStatus("OPENING LOG FILE");
    LiveTick();
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(view.loggingAnimations.empty());
    logger.SetLogStatus("File opened successfully");
    LiveTick();
    EXPECT_EQ(ReadFile(path), std::string(kLogHeader) + Record());
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(true, State::DoNothing, fields); // the still picture is not reloaded
    EXPECT_EQ(view.loggingAnimations, (std::vector<int>{kAnimationLogging, kAnimationNotLogging}));
}

// A full disk, or a file removed under the logger, stops logging and says so.
TEST_F(LoggerTest, WriteFailureStopsLoggingAndSaysSo) {
    const bool haveDevFull = std::filesystem::exists("/dev/full");
    for (const bool diskFull : {true, false}) {
        if (diskFull && !haveDevFull) {
            continue;
        }
        prompter.savePath = diskFull ? "/dev/full" : path;
        logger.OpenLogFile();
        ASSERT_TRUE(logger.IsOpen()) << "case " << diskFull;
        if (!diskFull) {
            LiveTick();
            std::filesystem::remove(path);
        }
        LiveTick();
        EXPECT_FALSE(logger.IsOpen()) << "case " << diskFull;
        EXPECT_FALSE(logger.LoggedThisTick());
        EXPECT_EQ(image.Text(kOptionRegister), "0000");
        EXPECT_NE(view.logStatus.find(diskFull ? "Log write failed" : "file removed"),
                  std::string::npos)
            << view.logStatus;
        EXPECT_NE(view.logStatus.find("Log File Closed"), std::string::npos);
        LiveTick(); // stays stopped
        EXPECT_FALSE(logger.LoggedThisTick());
    }
}

// Through the sequencer: pending actions open and close, only live ticks write.
TEST(LoggerThroughSequencer, PendingActionsDriveTheLogAndDoNothingWritesNothing) {
    SequencerRig rig;
    const std::string path = ::testing::TempDir() + "log_through_sequencer.txt";
    rig.prompter.savePath = path;
    rig.Connect();
    std::vector<std::string> statusWhileAsking;
    rig.prompter.whileOpen = [&] {
        statusWhileAsking.push_back(rig.view.logStatus);
        EXPECT_EQ(rig.seq.PendingAction(), PendingAction::None);
        rig.Tick(2);
    };
    rig.seq.SetPendingAction(PendingAction::OpenLog);
    rig.Tick();
    EXPECT_EQ(statusWhileAsking, std::vector<std::string>{"OPENING LOG FILE"});
    EXPECT_EQ(rig.prompter.saveRequests.size(), 1u);
    rig.Tick(3); // DO_NOTHING
    EXPECT_TRUE(ReadFile(path).empty());
    rig.seq.SetState(State::ViewData);
    rig.Tick(2);
    EXPECT_EQ(ReadFile(path), std::string(kLogHeader) + "\r\n\r\n");
    rig.seq.SetPendingAction(PendingAction::CloseLog);
    rig.Tick();
    EXPECT_EQ(rig.view.logStatus, "Log File Closed");
    EXPECT_FALSE(rig.seq.Logger().IsOpen());
    std::filesystem::remove(path);
}

} // namespace
} // namespace orvane::test
