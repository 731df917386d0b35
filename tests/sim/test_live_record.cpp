// Live records follow the host's format: 14 fields of at most 8 characters in the log header's
// order, the up time ending in "s", then "," and a line end; the texts the pages look for.
#include <gtest/gtest.h>

#include <regex>

#include "ControllerDriver.h"
#include "HostReading.h"
#include "sim/LiveRecord.h"

using namespace orvane::sim;
using namespace orvane::sim::testing;

TEST(LiveRecordFormat, EveryRecordSplitsIntoFourteenShortFields) {
    for (bool volts : {false, true}) {
        ControllerDriver d;
        d.controller.SetConfiguration([&] {
            auto texts = d.controller.Configuration().Texts();
            texts[183] = volts ? "0003" : "0001";
            return texts;
        }());
        for (int second = 0; second < 30; ++second) {
            d.Run(1s);
        }
        const std::string out = d.Take();
        const auto records = LiveRecords(out);
        ASSERT_EQ(records.size(), 29u);
        for (const std::string& record : records) {
            SCOPED_TRACE(record);
            bool tooLong = true;
            // As the host splits it: the line feed counts into field 0.
            const auto raw = SplitRecord(record, &tooLong);
            EXPECT_FALSE(tooLong);
            ASSERT_EQ(raw.size(), 14u);
            EXPECT_EQ(record.front(), '\n'); // CR LF line ends
            EXPECT_TRUE(record.ends_with("s,"));
            const auto fields = Fields(record);
            EXPECT_TRUE(std::regex_match(fields[13], std::regex("[0-9]+s")));
            const std::regex sensor(volts ? " *-?[0-9]+\\.[0-9]{2}" : " *-?[0-9]+\\.[0-9]");
            EXPECT_TRUE(std::regex_match(fields[8], sensor));
            EXPECT_TRUE(std::regex_match(fields[9], sensor));
        }
    }
}

TEST(LiveRecordFormat, FieldsCarryTheSampleInHeaderOrder) {
    LiveSample s;
    s.fans[0] = {true, false, 1200, 45};
    s.fans[1] = {false, false, 900, 30}; // unused: reads as standing
    s.fans[2] = {true, true, 0, 55};
    s.fans[3] = {true, false, 0, 0}; // standing
    s.sensors = {24.3, std::nullopt};
    s.switchHigh = {true, false};
    s.alarms = "135";
    s.upTimeSeconds = 77;
    const auto f = SplitRecord(FormatLiveRecord(s));
    ASSERT_EQ(f.size(), 14u);
    EXPECT_EQ(std::stoi(f[0]), 1200);
    EXPECT_EQ(std::stoi(f[1]), 45);
    EXPECT_NE(f[2].find("  0"), std::string::npos);
    EXPECT_EQ(f[3], "  0");
    EXPECT_EQ(f[4], "FAIL");
    EXPECT_EQ(std::stoi(f[5]), 55);
    EXPECT_NE(f[6].find("  0"), std::string::npos);
    EXPECT_EQ(f[7], "  0");
    EXPECT_FLOAT_EQ(std::stof(f[8]), 24.3f);
    EXPECT_EQ(f[9], "FAIL");
    EXPECT_EQ(f[10], " HI ");
    EXPECT_EQ(f[11], " LO ");
    EXPECT_EQ(f[12], "135");
    EXPECT_EQ(f[13], "77s");
    EXPECT_TRUE(FormatLiveRecord(s).ends_with("77s,\r\n"));
}

TEST(LiveRecordFormat, ExtremesStayWithinEightCharacters) {
    LiveSample s;
    for (auto& fan : s.fans) {
        fan = {true, false, 65535, 100};
    }
    s.sensors = {-1e9, 1e9};
    s.alarms = "123456";
    s.upTimeSeconds = 123'456'789'012ull;
    bool tooLong = true;
    const auto f = SplitRecord("\n" + FormatLiveRecord(s), &tooLong);
    EXPECT_FALSE(tooLong);
    ASSERT_EQ(f.size(), 14u);
    EXPECT_TRUE(f[13].ends_with("s"));
    EXPECT_LE(f[13].size(), 8u);
}

TEST(LiveRecordFormat, NoAlarmReadsWithoutAnAlarmDigit) {
    const auto f = SplitRecord(FormatLiveRecord(LiveSample{}));
    ASSERT_EQ(f.size(), 14u);
    EXPECT_EQ(f[12].find_first_of("123456"), std::string::npos);
}
