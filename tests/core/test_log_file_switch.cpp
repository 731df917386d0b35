// A log holds exactly the header and one record per live tick; asking for another log file never
// loses the running log, and the log option never sticks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "SequencerFakes.h"

namespace orvane::test {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LiveFields Fields(const char* upTime) {
    return {"\n1200", "  45", "", "", "", "", "", "", "", "", "", "", "", upTime, ""};
}

std::string Records(std::initializer_list<const char*> upTimes) {
    std::string out(kLogHeader);
    for (const char* upTime : upTimes) {
        out += std::string("\r\n\n1200  45") + upTime;
    }
    return out;
}

// Nothing is written outside "VIEW DATA", unconnected or with another status; a record is written
// once; closing keeps the records; a removed file or a full disk stops logging and says so.
TEST(Logger, HeaderThenOneRecordPerLiveTickAndFailuresStopIt) {
    SequencerRig rig;
    DataLogger logger(rig.image, rig.view, rig.prompter);
    const std::string path = ::testing::TempDir() + "log_test.txt";
    const auto liveTick = [&](const char* upTime) {
        logger.LogTick(true, State::ViewData, Fields(upTime));
    };
    rig.prompter.savePath = path;
    rig.image.SetText(kOptionRegister, "0011");
    logger.OpenLogFile();
    ASSERT_TRUE(logger.IsOpen());
    EXPECT_EQ(rig.view.logStatus, "File opened successfully");
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0031") << "bit 5 set, the others kept";
    EXPECT_EQ(rig.prompter.saveRequests.at(0).defaultExtension, "txt");
    logger.LogTick(true, State::DoNothing, Fields("7s"));
    logger.LogTick(false, State::ViewData, Fields("7s"));
    logger.SetLogStatus("OPENING LOG FILE");
    liveTick("7s"); // not written: that record is written below
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_TRUE(Contents(path).empty());
    logger.SetLogStatus("File opened successfully");
    std::string logged; // a tick that finds the last record again does not write it twice
    for (const char* upTime : {"7s", "8s", "8s", "9s"}) {
        liveTick(upTime);
        logged += logger.LoggedThisTick() ? upTime : "-";
    }
    EXPECT_EQ(logged, "7s8s-9s");
    EXPECT_EQ(Contents(path), Records({"7s", "8s", "9s"}));
    logger.LogTick(true, State::DoNothing, Fields("9s"));
    logger.LogTick(true, State::DoNothing, Fields("9s")); // the still picture is not reloaded
    EXPECT_EQ(rig.view.loggingAnimations,
              (std::vector<int>{kAnimationLogging, kAnimationNotLogging}));
    logger.CloseLogFile();
    EXPECT_EQ(rig.view.logStatus, "Log File Closed");
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
    EXPECT_EQ(Contents(path), Records({"7s", "8s", "9s"}));
    logger.OpenLogFile();

    std::error_code removing;
    std::filesystem::remove(path, removing);
    if (removing) {
        logger.CloseLogFile();
        std::filesystem::remove(path);
        GTEST_SKIP() << "the rest needs a log file removed while open, which this system refuses";
    }
    liveTick("10s");
    EXPECT_FALSE(logger.IsOpen() || logger.LoggedThisTick());
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
    EXPECT_EQ(rig.view.logStatus, "Log write failed (file removed), Log File Closed");
    if (std::filesystem::exists("/dev/full")) {
        rig.prompter.savePath = "/dev/full";
        logger.OpenLogFile();
        ASSERT_TRUE(logger.IsOpen());
        liveTick("11s");
        EXPECT_FALSE(logger.IsOpen());
        EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
        EXPECT_EQ(rig.view.logStatus.find("Log write failed ("), 0u) << rig.view.logStatus;
    }
}

// Without a running log a failure clears the option, as Close does; with one, a failed or
// cancelled choice keeps it running and only a file that opens takes over.
TEST(LogFileSwitch, RunningLogSurvivesAFailedOrCancelledChoiceAndMovesOnlyOnSuccess) {
    SequencerRig rig;
    DataLogger logger(rig.image, rig.view, rig.prompter);
    const std::string first = ::testing::TempDir() + "log_switch_first.txt";
    const std::string second = ::testing::TempDir() + "log_switch_second.txt";
    const std::string unopenable = ::testing::TempDir() + "no_such_dir/log.txt";
    const auto open = [&](const std::optional<std::string>& path) {
        rig.prompter.savePath = path;
        logger.OpenLogFile();
    };
    const auto log = [&](const char* upTime) {
        logger.LogTick(true, State::ViewData, Fields(upTime));
    };

    rig.image.SetText(kOptionRegister, "0022"); // as a configuration asking for a log leaves it
    open(unopenable);
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_EQ(rig.view.logStatus, "Log file could not be opened (No such file or directory)");
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0002");
    EXPECT_TRUE(rig.prompter.asked.empty());
    rig.image.SetText(kOptionRegister, "0022");
    logger.CloseLogFile();
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0002");

    open(first);
    log("1s");
    open(unopenable);
    EXPECT_TRUE(logger.IsOpen());
    EXPECT_EQ(logger.Path(), first);
    EXPECT_EQ(rig.view.logStatus, "File opened successfully");
    EXPECT_TRUE(rig.image.OptionBit(kLogEnableBit));
    const std::string told = rig.prompter.asked.empty() ? "" : rig.prompter.asked[0];
    EXPECT_NE(told.find(unopenable + " could not be opened (No such file or directory)"),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("goes on into " + first), std::string::npos) << told;
    log("2s");
    open(std::nullopt); // the dialog cancelled
    EXPECT_EQ(rig.view.logStatus, "File opened successfully");
    EXPECT_TRUE(rig.image.OptionBit(kLogEnableBit));
    log("3s");
    EXPECT_EQ(Contents(first), Records({"1s", "2s", "3s"}));

    open(second);
    log("4s");
    EXPECT_EQ(logger.Path(), second);
    EXPECT_EQ(Contents(first), Records({"1s", "2s", "3s"})) << "the old log is kept whole";
    EXPECT_EQ(Contents(second), Records({"4s"}));
    open(second); // the same file again starts it afresh
    log("5s");
    EXPECT_EQ(Contents(second), Records({"5s"}));
    EXPECT_EQ(rig.prompter.asked.size(), 1u);
    logger.CloseLogFile();
    std::filesystem::remove(first);
    std::filesystem::remove(second);
}

// A file dialog answered later holds no tick: the ticks meanwhile log nothing, asking again opens
// no second dialog, and the file takes the records from its choice on. A close asked for while
// the dialog is open has the last word, with or without a running log.
TEST(LogFileSwitch, ADialogAnsweredLaterOpensTheFileThenAndACloseMeanwhileWins) {
    SequencerRig rig;
    DataLogger logger(rig.image, rig.view, rig.prompter);
    const std::string path = ::testing::TempDir() + "log_later.txt";
    const std::string unused = ::testing::TempDir() + "log_later_unused.txt";
    std::filesystem::remove(unused);
    const auto log = [&](const char* upTime) {
        logger.LogTick(true, State::ViewData, Fields(upTime));
    };
    rig.prompter.later = true;
    rig.prompter.savePath = path;
    logger.OpenLogFile();
    log("1s");
    logger.OpenLogFile();
    log("2s");
    EXPECT_TRUE(logger.ChoosingFile());
    EXPECT_FALSE(logger.IsOpen());
    ASSERT_EQ(rig.prompter.unanswered.size(), 1u);
    rig.prompter.Answer();
    EXPECT_FALSE(logger.ChoosingFile());
    log("3s");
    EXPECT_EQ(Contents(path), Records({"3s"}));
    EXPECT_TRUE(rig.image.OptionBit(kLogEnableBit));

    const struct {
        const char* name;
        bool running;
        const char* status;
    } cases[] = {{"a log running", true, "Log File Closed"}, {"none", false, "No File opened"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(logger.IsOpen(), c.running);
        rig.prompter.savePath = path;
        logger.OpenLogFile();
        logger.CloseLogFile();
        rig.prompter.savePath = unused;
        ASSERT_EQ(rig.prompter.unanswered.size(), 1u);
        rig.prompter.Answer();
        EXPECT_FALSE(logger.IsOpen());
        EXPECT_FALSE(logger.ChoosingFile());
        EXPECT_FALSE(rig.image.OptionBit(kLogEnableBit));
        EXPECT_EQ(rig.view.logStatus, c.status);
        EXPECT_FALSE(std::filesystem::exists(unused));
    }
    EXPECT_EQ(Contents(path), Records({"3s"}));
    std::filesystem::remove(path);
}

} // namespace
} // namespace orvane::test
