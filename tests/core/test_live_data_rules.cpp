// The Live Data table shows the exact headers, each column's format and the newest five readings.
#include <gtest/gtest.h>

#include <filesystem>

#include "SequencerFakes.h"
#include "core/rules/LiveDataRules.h"

namespace orvane::test {
namespace {

TEST(LiveDataHeader, BothVariantsByteForByte) {
    EXPECT_EQ(LiveDataHeader(false),
              " ----- MEASURED VALUES -----\n\nRPM1    PWM1    RPM2  PWM2   RPM3    PWM3   RPM4    "
              "PWM4   NTC1    NCT2     INP1       INP2        ALARMS   Uptime(s)");
    EXPECT_EQ(LiveDataHeader(true),
              " ----- MEASURED VALUES -----\n\nRPM1    PWM1    RPM2  PWM2   RPM3    PWM3   RPM4    "
              "PWM4     V1          V2       INP1        INP2        ALARMS   Uptime(s)");
}

TEST(LiveDataCells, EachColumnFormatsItsFieldText) {
    const struct {
        int column;
        const char *text, *shown;
    } cases[] = {
        {1, "\n 1480", "1480"}, {1, "   0", "0"},      {3, " FAIL", "FAIL"},  {8, "", "0"},
        {4, "-12x", "-12"},     {2, " +42abc", "42"},  {9, "23.46", "23.5"},  {9, " 25", "25.0"},
        {10, "0.0", "0"},       {10, "-0.04", "-0.0"}, {9, "xFAILx", "FAIL"}, {10, " 1e2", "100.0"},
        {9, "V", "0"},          {10, "-3.25", "-3.2"}, {9, "inf", "0"},       {10, "9e9999", "0"},
        {11, " HI ", " HI "},   {12, "0.0", "0.0"},    {14, "77s", "77s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatLiveCell(c.column, c.text), c.shown)
            << "column " << c.column << " text \"" << c.text << '"';
    }
}

LiveFields Reading(int uptime) {
    LiveFields fields{};
    fields[0] = "\n 1480";
    fields[8] = " 23.46";
    fields[13] = std::to_string(uptime) + "s";
    return fields;
}

TEST(LiveDataTable, NewestOnTopAndTheSixthReadingPushesTheFirstOut) {
    LiveDataRules rules;
    for (int uptime = 1; uptime <= 6; ++uptime) {
        rules.DisplayStep(Reading(uptime));
    }
    for (int row = 0; row < kLiveDataRows; ++row) {
        const LiveDataRow& cells = rules.Table()[static_cast<std::size_t>(row)];
        EXPECT_EQ(cells[13], std::to_string(6 - row) + "s") << "row " << row + 1;
        EXPECT_EQ(cells[0] + "|" + cells[8] + "|" + cells[2], "1480|23.5|0") << "row " << row + 1;
    }
}

// The page's ticks: two to re-initialise after it is shown (header, box, then idle picture and
// the refresh flag), then one display step per tick while connected and in "VIEW DATA", and the
// logging animation once while lines are logged.
TEST(LiveDataTicks, ReinitialiseThenStepAndFollowTheLog) {
    SequencerRig rig;
    LiveDataRules rules;
    rig.image.SetText(183, "0003");
    rig.image.SetText(kOptionRegister, "0020");
    const auto describe = [](const LiveDataTickActions& a) {
        std::string out;
        if (a.voltageHeader) {
            out += *a.voltageHeader ? "voltage " : "temperature ";
        }
        if (a.logBoxChecked) {
            out += *a.logBoxChecked ? "box on " : "box off ";
        }
        if (a.picture) {
            out += "picture " + std::to_string(*a.picture) + " ";
        }
        out += a.refreshDone ? "refreshed " : "";
        out += a.tableChanged ? "step" : "";
        return out;
    };
    const auto tick = [&](bool refreshPending, bool playing = false) {
        const std::string actions =
            describe(rules.OnTick(rig.image, rig.seq, refreshPending, playing));
        return actions + "|" + std::to_string(rules.Step());
    };
    EXPECT_EQ(tick(true), "voltage box on |1");
    EXPECT_EQ(tick(true), "voltage picture 243 refreshed |3");
    EXPECT_EQ(tick(true), "box on |0") << "refresh still pending, but the step is 3";
    EXPECT_EQ(tick(false), "box on |0") << "not connected: no step";

    rig.Connect();
    rig.seq.RequestLiveData();
    EXPECT_EQ(tick(false), "box on step|0");
    const std::string path = ::testing::TempDir() + "live_data_ticks.txt";
    rig.prompter.savePath = path;
    rig.seq.RequestLog(true);
    rig.Receive(std::string(120, '#') + "\n1,2,3,4,5,6,7,8,9,10,11,12,13,14s,\r" +
                "\n1,2,3,4,5,6,7,8,9,10,11,12,13,15s,\r");
    rig.Tick();
    ASSERT_TRUE(rig.seq.LoggedThisTick());
    EXPECT_EQ(tick(false), "box on picture 242 step|0");
    EXPECT_EQ(tick(false), "box on step|0") << "shown once";
    rig.image.SetText(kOptionRegister, "0000");
    EXPECT_EQ(tick(false, true), "box off picture 243 step|0");
    EXPECT_EQ(tick(false), "box off step|0");
    rig.image.SetText(183, "0001");
    EXPECT_EQ(tick(true), "temperature box off |1");
    rig.seq.RequestLog(false); // closed before removing: Windows keeps an open file
    rig.Tick();
    ASSERT_FALSE(rig.seq.Logger().IsOpen());
    std::filesystem::remove(path);
}

} // namespace
} // namespace orvane::test
