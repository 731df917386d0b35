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
    LiveFields fields{"\n1200", "  45", "", "", "", "", "", "", "", "", "", "", "", "1s", ""};
    const auto log = [&](const char* upTime) {
        fields[13] = upTime;
        logger.LogTick(true, State::ViewData, fields);
    };
    const auto records = [](std::initializer_list<const char*> upTimes) {
        std::string out(kLogHeader);
        for (const char* upTime : upTimes) {
            out += std::string("\r\n\n1200  45") + upTime;
        }
        return out;
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
    EXPECT_EQ(Contents(first), records({"1s", "2s", "3s"}));

    open(second);
    log("4s");
    EXPECT_EQ(logger.Path(), second);
    EXPECT_EQ(Contents(first), records({"1s", "2s", "3s"})) << "the old log is kept whole";
    EXPECT_EQ(Contents(second), records({"4s"}));
    open(second); // the same file again starts it afresh
    log("5s");
    EXPECT_EQ(Contents(second), records({"5s"}));
    EXPECT_EQ(rig.prompter.asked.size(), 1u);
    std::filesystem::remove(first);
    std::filesystem::remove(second);
}

} // namespace
} // namespace orvane::test
