// A log holds the header and a record per live tick; a new log file never loses the running one.
#include <gtest/gtest.h>

#include <filesystem>

#include "SequencerFakes.h"

namespace orvane::test {
namespace {

// The header, then a record for each up time as Log() below writes it.
std::string Records(std::initializer_list<const char*> upTimes) {
    std::string out(kLogHeader);
    for (const char* upTime : upTimes) {
        out += std::string("\r\n\n1200  45") + upTime;
    }
    return out;
}

// A logger on its own (nothing ticks the rig's sequencer), with temporary files removed after.
struct LoggerRig : SequencerRig {
    DataLogger logger{image, view, prompter};
    std::string Path(const char* name) {
        return names.emplace_back(::testing::TempDir() + "orvane-log-" + name);
    }
    void OpenLog(const std::optional<std::string>& path) {
        prompter.savePath = path;
        logger.OpenLogFile();
    }
    void Log(const char* upTime, bool connected = true, int state = State::ViewData) {
        logger.LogTick(connected, state,
                       {"\n1200", "  45", "", "", "", "", "", "", "", "", "", "", "", upTime, ""});
    }
    std::string Options() const { return image.Text(kOptionRegister); }
    ~LoggerRig() {
        logger.CloseLogFile(); // closed before removing: Windows keeps an open file
        for (const std::string& name : names) {
            std::filesystem::remove(name);
        }
    }
    std::vector<std::string> names;
};

// Nothing is written outside "VIEW DATA", unconnected or with another status.
TEST(Logger, HeaderThenOneRecordPerLiveTickAndFailuresStopIt) {
    LoggerRig rig;
    const std::string path = rig.Path("records.txt");
    rig.image.SetText(kOptionRegister, "0011");
    rig.OpenLog(path);
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(), "File opened successfully|0031");
    EXPECT_EQ(rig.prompter.saveRequests.at(0).defaultExtension, "txt");
    rig.Log("7s", true, State::DoNothing);
    rig.Log("7s", false);
    rig.logger.SetLogStatus("OPENING LOG FILE");
    rig.Log("7s"); // not written: that record is written below
    EXPECT_FALSE(rig.logger.LoggedThisTick());
    EXPECT_TRUE(FileText(path).empty());
    rig.logger.SetLogStatus("File opened successfully");
    std::string logged; // a tick that finds the last record again does not write it twice
    for (const char* upTime : {"7s", "8s", "8s", "9s"}) {
        rig.Log(upTime);
        logged += rig.logger.LoggedThisTick() ? upTime : "-";
    }
    EXPECT_EQ(logged, "7s8s-9s");
    for (int i = 0; i < 2; ++i) { // the still picture is not reloaded
        rig.Log("9s", true, State::DoNothing);
    }
    EXPECT_EQ(rig.view.loggingAnimations,
              (std::vector<int>{kAnimationLogging, kAnimationNotLogging}));
    rig.logger.CloseLogFile();
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(), "Log File Closed|0011");
    EXPECT_EQ(FileText(path), Records({"7s", "8s", "9s"}));

    rig.OpenLog(path);
    std::error_code removing;
    std::filesystem::remove(path, removing);
    if (removing) {
        GTEST_SKIP() << "the rest needs a log file removed while open, which this system refuses";
    }
    rig.Log("10s");
    EXPECT_FALSE(rig.logger.IsOpen() || rig.logger.LoggedThisTick());
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(),
              "Log write failed (file removed), Log File Closed|0011");
}

// Without a running log a failure clears the option, as Close does.
TEST(LogFileSwitch, RunningLogSurvivesAFailedOrCancelledChoiceAndMovesOnlyOnSuccess) {
    LoggerRig rig;
    const std::string first = rig.Path("first.txt"), second = rig.Path("second.txt");
    const std::string unopenable = ::testing::TempDir() + "no_such_dir/log.txt";
    rig.image.SetText(kOptionRegister, "0022"); // as a configuration asking for a log leaves it
    rig.OpenLog(unopenable);
    EXPECT_FALSE(rig.logger.IsOpen() || !rig.prompter.asked.empty());
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(),
              "Log file could not be opened (No such file or directory)|0002");
    rig.image.SetText(kOptionRegister, "0022");
    rig.logger.CloseLogFile();
    EXPECT_EQ(rig.Options(), "0002");

    rig.OpenLog(first);
    rig.Log("1s");
    rig.OpenLog(unopenable);
    EXPECT_TRUE(rig.logger.IsOpen() && rig.logger.Path() == first);
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(), "File opened successfully|0022");
    ASSERT_EQ(rig.prompter.asked.size(), 1u);
    for (const std::string& part : {unopenable + " could not be opened (No such file or directory)",
                                    "goes on into " + first}) {
        EXPECT_NE(rig.prompter.asked[0].find(part), std::string::npos) << part;
    }
    rig.Log("2s");
    rig.OpenLog(std::nullopt); // the dialog cancelled
    EXPECT_EQ(rig.view.logStatus + "|" + rig.Options(), "File opened successfully|0022");
    rig.Log("3s");
    rig.OpenLog(second);
    rig.Log("4s");
    EXPECT_EQ(rig.logger.Path(), second);
    EXPECT_EQ(FileText(first), Records({"1s", "2s", "3s"})) << "the old log is kept whole";
    EXPECT_EQ(FileText(second), Records({"4s"}));
    rig.OpenLog(second); // the same file again starts it afresh
    rig.Log("5s");
    EXPECT_EQ(FileText(second), Records({"5s"}));
    EXPECT_EQ(rig.prompter.asked.size(), 1u);
}

// A file dialog answered later holds no tick and opens no second one.
TEST(LogFileSwitch, ADialogAnsweredLaterOpensTheFileThenAndACloseMeanwhileWins) {
    LoggerRig rig;
    const std::string path = rig.Path("later.txt"), unused = rig.Path("later-unused.txt");
    std::filesystem::remove(unused);
    rig.prompter.later = true;
    rig.OpenLog(path);
    rig.Log("1s");
    rig.logger.OpenLogFile();
    rig.Log("2s");
    EXPECT_TRUE(rig.logger.ChoosingFile() && !rig.logger.IsOpen());
    ASSERT_EQ(rig.prompter.unanswered.size(), 1u);
    rig.prompter.Answer();
    EXPECT_FALSE(rig.logger.ChoosingFile());
    rig.Log("3s");
    EXPECT_EQ(FileText(path), Records({"3s"}));
    EXPECT_TRUE(rig.image.OptionBit(kLogEnableBit));
    for (const char* status : {"Log File Closed", "No File opened"}) { // a log running, or none
        SCOPED_TRACE(status);
        rig.OpenLog(path);
        rig.logger.CloseLogFile();
        rig.prompter.savePath = unused;
        ASSERT_EQ(rig.prompter.unanswered.size(), 1u);
        rig.prompter.Answer();
        EXPECT_FALSE(rig.logger.IsOpen() || rig.logger.ChoosingFile());
        EXPECT_FALSE(rig.image.OptionBit(kLogEnableBit));
        EXPECT_EQ(rig.view.logStatus, status);
        EXPECT_FALSE(std::filesystem::exists(unused));
    }
    EXPECT_EQ(FileText(path), Records({"3s"}));
}

} // namespace
} // namespace orvane::test
