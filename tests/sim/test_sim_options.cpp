// orvane-sim takes its options as documented and refuses what it cannot use; its configuration
// file survives a restart and a damaged file is not taken.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/ConfigFile.h"
#include "sim/ConfigStore.h"
#include "sim/SimOptions.h"

using namespace orvane;
using namespace orvane::sim;

TEST(SimCommandLine, DefaultsArePacedRealTimePseudoTerminal) {
    const CommandLine line = ParseCommandLine({});
    EXPECT_TRUE(line.error.empty());
    EXPECT_FALSE(line.help);
    EXPECT_TRUE(line.simulator.devicePath.empty());
    EXPECT_FALSE(line.simulator.unpaced);
    EXPECT_EQ(line.simulator.timeScale, 1.0);
    EXPECT_TRUE(line.configFile.empty());
}

TEST(SimCommandLine, EveryOptionIsTaken) {
    const CommandLine line =
        ParseCommandLine({"--device", "/dev/ttyUSB1", "--config=/tmp/x.txt", "--unpaced",
                          "--time-scale", "2.5", "--fail-fan", "2", "--fail-fan=4", "--fail-sensor",
                          "1", "--switch-high", "2", "--stall", "--garbage"});
    ASSERT_TRUE(line.error.empty()) << line.error;
    EXPECT_EQ(line.simulator.devicePath, "/dev/ttyUSB1");
    EXPECT_EQ(line.configFile, "/tmp/x.txt");
    EXPECT_TRUE(line.simulator.unpaced);
    EXPECT_EQ(line.simulator.timeScale, 2.5);
    EXPECT_EQ(line.simulator.faults.fanFailed, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(line.simulator.faults.sensorFailed, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(line.simulator.switchHigh, (std::array<bool, 2>{false, true}));
    EXPECT_TRUE(line.simulator.faults.stalled);
    EXPECT_TRUE(line.simulator.faults.garbage);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

TEST(SimCommandLine, BadValuesAreRefused) {
    const std::vector<std::vector<std::string>> bad = {{"--time-scale", "0"},
                                                       {"--time-scale", "-2"},
                                                       {"--time-scale", "fast"},
                                                       {"--time-scale", "inf"},
                                                       {"--fail-fan", "5"},
                                                       {"--fail-fan", "0"},
                                                       {"--fail-sensor", "3"},
                                                       {"--fail-fan", "2x"},
                                                       {"--device"},
                                                       {"--bogus"},
                                                       {"--unpaced=yes"}};
    for (const auto& args : bad) {
        EXPECT_FALSE(ParseCommandLine(args).error.empty()) << args.front();
    }
    EXPECT_NE(UsageText().find("--time-scale"), std::string::npos);
}

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("orvane-sim-store-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(ConfigStoreTest, SavedConfigurationLoadsBack) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetValue(211, 42);
    const auto path = dir / "sim.txt";
    ASSERT_EQ(SaveConfiguration(path, image), "");
    EXPECT_EQ(std::filesystem::file_size(path), kConfigFileSize);
    const StoredConfiguration stored = LoadConfiguration(path);
    ASSERT_TRUE(stored.texts) << stored.problem;
    for (int i = 0; i < kRegisterCount; ++i) {
        EXPECT_EQ((*stored.texts)[static_cast<std::size_t>(i)], image.Text(i)) << i;
    }
}

TEST_F(ConfigStoreTest, MissingFileIsNoProblemButADamagedOneIsNotTaken) {
    const StoredConfiguration missing = LoadConfiguration(dir / "none.txt");
    EXPECT_TRUE(missing.missing);
    EXPECT_FALSE(missing.texts);

    std::ofstream(dir / "junk.txt") << "no configuration here";
    const StoredConfiguration junk = LoadConfiguration(dir / "junk.txt");
    EXPECT_FALSE(junk.missing);
    EXPECT_FALSE(junk.texts);
    EXPECT_FALSE(junk.problem.empty());
}
