// The profile cleanup puts every fan curve in order the way the page promises: speeds within
// the type's limit, inputs rising by at least one step (whole degrees, tenths of a volt), the
// ON value one whole unit below point 1 and the OFF value one below ON; and each curve is drawn
// through the points of its own point mode.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "core/rules/ProfileChartPoints.h"
#include "core/rules/ProfileCleanup.h"

using namespace orvane::profile;

namespace {

constexpr ProfileType kTempPwm{InputKind::Temperature, SpeedUnit::Pwm, 0};
constexpr ProfileType kTempRpm{InputKind::Temperature, SpeedUnit::Rpm, 3000};
constexpr ProfileType kVoltPwm{InputKind::Voltage, SpeedUnit::Pwm, 0};

// "p1 ... p8 | ON OFF": a record with every speed 30, or the same read back from one.
ProfileRecord Parse(PointMode mode, const std::string& text) {
    std::istringstream in(text);
    ProfileRecord record;
    record.pointMode = mode;
    for (ProfilePoint& point : record.points) {
        in >> point.x;
        point.y = 30;
    }
    char bar = 0;
    in >> bar >> record.onPoint.x >> record.offValue;
    return record;
}

std::string Print(const ProfileRecord& record) {
    std::ostringstream out;
    for (const ProfilePoint& point : record.points) {
        out << std::round(point.x * 100) / 100 << ' ';
    }
    out << "| " << std::round(record.OnValue() * 100) / 100 << ' '
        << std::round(record.offValue * 100) / 100;
    return out.str();
}

TEST(Cleanup, OrdersInputsAndOnOff) {
    struct Case {
        const char* rule;
        ProfileType type;
        PointMode mode;
        const char *before, *after;
    };
    const Case cases[] = {
        {"each point sees its corrected upper neighbour", kTempPwm, PointMode::MultiPoint,
         "40 40 40 40 40 40 40 40 | 33 1", "33 34 35 36 37 38 39 40 | 32 1"},
        {"negative temperatures", kTempPwm, PointMode::MultiPoint,
         "-30 -30 -25 -20 -10 0 10 20 | -30 -30", "-31 -30 -25 -20 -10 0 10 20 | -32 -33"},
        {"point 8 at most 100 degrees", kTempPwm, PointMode::TwoPoint, "25 0 0 0 0 0 0 120 | 6 5",
         "25 99 99 99 99 99 99 100 | 6 5"},
        {"another point mode zeroes points 1 to 7 and ON", kTempPwm, PointMode::None,
         "25 32 34 36 38 40 42 50 | 6 5", "0 0 0 0 0 0 0 50 | -1 -2"},
        {"volts a tenth apart within one volt stay", kVoltPwm, PointMode::MultiPoint,
         "1.5 2.1 2.9 3 4 5 6 7 | 0 -1", "1.5 2.1 2.9 3 4 5 6 7 | 0 -1"},
        {"volts within one tenth are too close", kVoltPwm, PointMode::MultiPoint,
         "1.5 2.15 2.19 3 4 5 6 7 | 0 -1", "1.5 2.09 2.19 3 4 5 6 7 | 0 -1"},
        {"volts cascade by tenths, ON a whole volt below", kVoltPwm, PointMode::MultiPoint,
         "5 5 5 5 5 5 5 5 | 4 5", "4.3 4.4 4.5 4.6 4.7 4.8 4.9 5 | 3.3 2.3"},
        {"point 8 at most 10 V", kVoltPwm, PointMode::TwoPoint, "2.5 0 0 0 0 0 0 10.9 | 1 0",
         "2.5 9.9 9.9 9.9 9.9 9.9 9.9 10 | 1 0"},
        {"point 8 at most 10 V in hundredths", kVoltPwm, PointMode::MultiPoint,
         "1 2 3 4 5 6 7 10.09 | 0 -1", "1 2 3 4 5 6 7 10 | 0 -1"},
        {"ON and OFF step over -999, the Always ON marker", kTempPwm, PointMode::MultiPoint,
         "-998 -997 -996 -995 -994 -993 -992 -991 | 5 0",
         "-998 -997 -996 -995 -994 -993 -992 -991 | -1000 -1001"},
        {"a typed -999 is stored one below", kTempPwm, PointMode::MultiPoint,
         "-990 -980 -970 -960 -950 -940 -930 -920 | -998 -999",
         "-990 -980 -970 -960 -950 -940 -930 -920 | -998 -1000"},
        {"ON and OFF stay within a signed word", kTempPwm, PointMode::TwoPoint,
         "-32768 0 0 0 0 0 0 50 | 0 0", "-32768 49 49 49 49 49 49 50 | -32768 -32768"},
        {"Two Point volts: point 1 a tenth below point 8", kVoltPwm, PointMode::TwoPoint,
         "3.05 0 0 0 0 0 0 3 | 1 0", "2.9 2.9 2.9 2.9 2.9 2.9 2.9 3 | 1 0"},
    };
    for (const Case& c : cases) {
        ProfileRecord record = Parse(c.mode, c.before);
        CleanupProfile(record, c.type);
        EXPECT_EQ(Print(record), Print(Parse(c.mode, c.after))) << c.rule;
    }
}

TEST(Cleanup, LimitsSpeedsAndDerivesTheCurveEnds) {
    struct Case {
        ProfileType type;
        OnOffMode onOff;
        double speed1, speed8;
        ProfilePoint start, onPoint, end;
    };
    const Case cases[] = {
        {kTempPwm, OnOffMode::Switched, 120, 150, {2, 0}, {2, 100}, {101, 100}},
        {kTempRpm, OnOffMode::Switched, 3500, 2000, {2, 0}, {2, 3000}, {101, 2000}},
        {kTempPwm, OnOffMode::AlwaysOn, 40, 90, {-20, 40}, {2, 40}, {101, 90}},
        {kVoltPwm, OnOffMode::AlwaysOn, 40, 90, {0, 40}, {2, 40}, {11, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.type.SpeedLimit() << ", speeds "
                                        << c.speed1 << " and " << c.speed8);
        ProfileRecord record = Parse(PointMode::TwoPoint, "5 0 0 0 0 0 0 8 | 2 1");
        record.onOffMode = c.onOff;
        record.Point(1).y = c.speed1;
        record.Point(8).y = c.speed8;
        record.onPoint.y = 999;
        CleanupProfile(record, c.type);
        EXPECT_EQ(record.start, c.start);
        EXPECT_EQ(record.onPoint, c.onPoint);
        EXPECT_EQ(record.end, c.end);
    }
}

TEST(ProfileChart, CurveRunsThroughThePointsOfItsOwnModeInOrder) {
    ProfileRecord record = Parse(PointMode::TwoPoint, "25 26 27 28 29 30 31 50 | 20 10");
    record.Point(8).y = 90;
    CleanupProfile(record, kTempPwm);
    const std::vector<ProfilePoint> two{{20, 0}, {20, 30}, {25, 30}, {50, 90}, {101, 90}};
    EXPECT_EQ(CurvePoints(record, kTempPwm), two);
    EXPECT_EQ(CurvePoints(record, kVoltPwm).back(), (ProfilePoint{11, 90}));

    record.pointMode = PointMode::MultiPoint;
    record.onOffMode = OnOffMode::AlwaysOn;
    CleanupProfile(record, kTempPwm);
    std::vector<ProfilePoint> multi{{-20, 30}, record.onPoint};
    multi.insert(multi.end(), record.points.begin(), record.points.end());
    multi.push_back({101, 90});
    EXPECT_EQ(CurvePoints(record, kTempPwm), multi);

    record.pointMode = PointMode::None;
    EXPECT_TRUE(CurvePoints(record, kTempPwm).empty());
}

} // namespace
