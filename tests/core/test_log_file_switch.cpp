// Asking for another log file never loses the running log, and the log option never sticks.
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

struct LogRig {
    SequencerRig rig;
    CDataLogger& logger = rig.seq.Logger();
    LiveFields fields{"\n1200", "  45", "", "", "", "", "", "", "", "", "", "", "", "1s", ""};
    const std::string first = ::testing::TempDir() + "log_switch_first.txt";
    const std::string second = ::testing::TempDir() + "log_switch_second.txt";
    const std::string unopenable = ::testing::TempDir() + "no_such_dir/log.txt";

    ~LogRig() {
        std::filesystem::remove(first);
        std::filesystem::remove(second);
    }
    void Open(const std::optional<std::string>& path) {
        rig.prompter.savePath = path;
        logger.OpenLogFile();
    }
    void Log(const std::string& upTime) {
        fields[13] = upTime;
        logger.LogTick(true, State::ViewData, fields);
    }
    std::string Records(std::initializer_list<const char*> upTimes) const {
        std::string out(kLogHeader);
        for (const char* upTime : upTimes) {
            out += std::string("\r\n\n1200  45") + upTime;
        }
        return out;
    }
};

TEST(LogFileSwitch, RunningLogSurvivesAFailedOrCancelledChoiceAndMovesOnlyOnSuccess) {
    LogRig log;
    log.Open(log.first);
    log.Log("1s");

    log.Open(log.unopenable);
    EXPECT_TRUE(log.logger.IsOpen());
    EXPECT_EQ(log.logger.Path(), log.first);
    EXPECT_EQ(log.rig.view.logStatus, "File opened successfully");
    EXPECT_TRUE(log.rig.image.OptionBit(kLogEnableBit));
    ASSERT_EQ(log.rig.prompter.asked.size(), 1u);
    const std::string& told = log.rig.prompter.asked[0];
    EXPECT_NE(told.find(log.unopenable), std::string::npos) << told;
    EXPECT_NE(told.find("No such file or directory"), std::string::npos) << told;
    EXPECT_NE(told.find("goes on into " + log.first), std::string::npos) << told;
    log.Log("2s");

    log.Open(std::nullopt); // the dialog cancelled
    EXPECT_EQ(log.rig.view.logStatus, "File opened successfully");
    EXPECT_TRUE(log.rig.image.OptionBit(kLogEnableBit));
    log.Log("3s");
    EXPECT_EQ(Contents(log.first), log.Records({"1s", "2s", "3s"}));

    log.Open(log.second);
    log.Log("4s");
    EXPECT_EQ(log.logger.Path(), log.second);
    EXPECT_EQ(Contents(log.first), log.Records({"1s", "2s", "3s"})) << "the old log is kept whole";
    EXPECT_EQ(Contents(log.second), log.Records({"4s"}));

    log.Open(log.second); // the same file again starts it afresh
    log.Log("5s");
    EXPECT_EQ(Contents(log.second), log.Records({"5s"}));
}

TEST(LogFileSwitch, WithoutARunningLogTheOptionIsClearedByAFailureAndByClose) {
    LogRig log;
    log.rig.image.SetText(kOptionRegister, "0022"); // as a configuration asking for a log leaves it
    log.Open(log.unopenable);
    EXPECT_FALSE(log.logger.IsOpen());
    EXPECT_EQ(log.rig.view.logStatus, "Log file could not be opened (No such file or directory)");
    EXPECT_EQ(log.rig.image.Text(kOptionRegister), "0002");
    EXPECT_TRUE(log.rig.prompter.asked.empty());

    log.rig.image.SetText(kOptionRegister, "0022");
    log.logger.CloseLogFile();
    EXPECT_EQ(log.rig.image.Text(kOptionRegister), "0002");
}

} // namespace
} // namespace orvane::test
