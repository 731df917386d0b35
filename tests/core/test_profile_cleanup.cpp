// The profile cleanup puts every fan curve in order the way the page promises: speeds within
// the type's limit, inputs rising by at least one step (whole degrees, tenths of a volt), the
// ON value one whole unit below point 1 and the OFF value one below ON; and the chart draws
// each curve through the points of its own point mode on fixed axes.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "core/ProfileChartPoints.h"
#include "core/ProfileCleanup.h"

using namespace orvane::profile;

namespace {

constexpr ProfileType kTempPwm{InputKind::Temperature, SpeedUnit::Pwm, 0};
constexpr ProfileType kTempRpm{InputKind::Temperature, SpeedUnit::Rpm, 3000};
constexpr ProfileType kVoltPwm{InputKind::Voltage, SpeedUnit::Pwm, 0};

// Values in hundredths, so that cases compare exactly and print readably.
using Hundredths = std::vector<long>;

long H(double value) {
    return std::lround(value * 100.0);
}

struct CleanupCase {
    const char* name;
    ProfileType type;
    PointMode mode;
    std::vector<double> inputs; // points 1 to 8
    double on, off;
    Hundredths expectedInputs; // points 1 to 8, then ON and OFF
};

void PrintTo(const CleanupCase& c, std::ostream* out) {
    *out << c.name;
}

ProfileRecord Record(PointMode mode, const std::vector<double>& inputs, double on, double off) {
    ProfileRecord record;
    record.pointMode = mode;
    for (int p = 1; p <= 8; ++p) {
        record.Point(p) = {inputs.at(std::size_t(p - 1)), 30.0};
    }
    record.onPoint.x = on;
    record.offValue = off;
    return record;
}

class Cleanup : public testing::TestWithParam<CleanupCase> {};

TEST_P(Cleanup, OrdersInputsAndOnOff) {
    const CleanupCase& c = GetParam();
    ProfileRecord record = Record(c.mode, c.inputs, c.on, c.off);
    CleanupProfile(record, c.type);
    Hundredths got;
    for (const ProfilePoint& point : record.points) {
        got.push_back(H(point.x));
    }
    got.push_back(H(record.OnValue()));
    got.push_back(H(record.offValue));
    EXPECT_EQ(got, c.expectedInputs);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, Cleanup,
    testing::Values(
        // Only point 2, not below point 3, is lowered to one step below it.
        CleanupCase{"multi point 2 above point 3",
                    kTempPwm,
                    PointMode::MultiPoint,
                    {25, 32, 30, 36, 38, 40, 42, 50},
                    6,
                    5,
                    {2500, 2900, 3000, 3600, 3800, 4000, 4200, 5000, 600, 500}},
        // Each correction sees its already corrected upper neighbour.
        CleanupCase{"multi all equal cascades down",
                    kTempPwm,
                    PointMode::MultiPoint,
                    {40, 40, 40, 40, 40, 40, 40, 40},
                    33,
                    1,
                    {3300, 3400, 3500, 3600, 3700, 3800, 3900, 4000, 3200, 100}},
        CleanupCase{"two point 1 above point 8",
                    kTempPwm,
                    PointMode::TwoPoint,
                    {30, 0, 0, 0, 0, 0, 0, 25},
                    24,
                    5,
                    {2400, 2400, 2400, 2400, 2400, 2400, 2400, 2500, 2300, 500}},
        CleanupCase{"ON equal to point 1, OFF follows",
                    kTempPwm,
                    PointMode::TwoPoint,
                    {25, 0, 0, 0, 0, 0, 0, 50},
                    25,
                    24,
                    {2500, 4900, 4900, 4900, 4900, 4900, 4900, 5000, 2400, 2300}},
        CleanupCase{"point 8 above 100 degrees",
                    kTempPwm,
                    PointMode::TwoPoint,
                    {25, 0, 0, 0, 0, 0, 0, 120},
                    6,
                    5,
                    {2500, 9900, 9900, 9900, 9900, 9900, 9900, 10000, 600, 500}},
        CleanupCase{"negative temperatures",
                    kTempPwm,
                    PointMode::MultiPoint,
                    {-30, -30, -25, -20, -10, 0, 10, 20},
                    -30,
                    -30,
                    {-3100, -3000, -2500, -2000, -1000, 0, 1000, 2000, -3200, -3300}},
        CleanupCase{"other point mode zeroes points 1 to 7 and ON",
                    kTempPwm,
                    PointMode::None,
                    {25, 32, 34, 36, 38, 40, 42, 50},
                    6,
                    5,
                    {0, 0, 0, 0, 0, 0, 0, 5000, -100, -200}},
        // Points a tenth apart within one volt are in order.
        CleanupCase{"volts: 2.1 below 2.9 stays",
                    kVoltPwm,
                    PointMode::MultiPoint,
                    {1.5, 2.1, 2.9, 3.0, 4.0, 5.0, 6.0, 7.0},
                    0,
                    -1,
                    {150, 210, 290, 300, 400, 500, 600, 700, 0, -100}},
        CleanupCase{"volts: same tenth is too close",
                    kVoltPwm,
                    PointMode::MultiPoint,
                    {1.5, 2.15, 2.19, 3.0, 4.0, 5.0, 6.0, 7.0},
                    0,
                    -1,
                    {150, 209, 219, 300, 400, 500, 600, 700, 0, -100}},
        CleanupCase{"volts: all equal cascade by tenths, ON a whole volt below",
                    kVoltPwm,
                    PointMode::MultiPoint,
                    {5, 5, 5, 5, 5, 5, 5, 5},
                    4,
                    5,
                    {430, 440, 450, 460, 470, 480, 490, 500, 330, 230}},
        CleanupCase{"volts: point 8 above 10 V",
                    kVoltPwm,
                    PointMode::TwoPoint,
                    {2.5, 0, 0, 0, 0, 0, 0, 10.9},
                    1,
                    0,
                    {250, 990, 990, 990, 990, 990, 990, 1000, 100, 0}},
        CleanupCase{"volts: two point 1 not below point 8",
                    kVoltPwm,
                    PointMode::TwoPoint,
                    {3.05, 0, 0, 0, 0, 0, 0, 3.0},
                    1,
                    0,
                    {290, 290, 290, 290, 290, 290, 290, 300, 100, 0}}),
    [](const testing::TestParamInfo<CleanupCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

TEST(Cleanup, LimitsSpeedsAndDerivesTheCurveEnds) {
    struct Case {
        ProfileType type;
        OnOffMode onOff;
        double speed1, speed8;
        ProfilePoint start, onPoint, end;
    };
    const Case cases[] = {
        {kTempPwm, OnOffMode::Switched, 120, 150, {20, 0}, {20, 100}, {101, 100}},
        {kTempRpm, OnOffMode::Switched, 3500, 2000, {20, 0}, {20, 3000}, {101, 2000}},
        {kTempPwm, OnOffMode::AlwaysOn, 40, 90, {-20, 40}, {20, 40}, {101, 90}},
        {kVoltPwm, OnOffMode::AlwaysOn, 40, 90, {0, 40}, {0, 40}, {11, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.type.SpeedLimit() << " speeds " << c.speed1
                                        << "/" << c.speed8);
        ProfileRecord record =
            Record(PointMode::TwoPoint, {25, 0, 0, 0, 0, 0, 0, c.type.IsVoltage() ? 5.0 : 50.0},
                   c.type.IsVoltage() ? 0 : 20, -1);
        record.onOffMode = c.onOff;
        record.Point(1).y = c.speed1;
        record.Point(8).y = c.speed8;
        record.onPoint.y = 999;
        if (c.type.IsVoltage()) {
            record.Point(1).x = 2.5;
        }
        CleanupProfile(record, c.type);
        EXPECT_EQ(record.start, c.start);
        EXPECT_EQ(record.onPoint, c.onPoint);
        EXPECT_EQ(record.end, c.end);
        EXPECT_LE(record.Point(1).y, c.type.SpeedLimit());
    }
}

TEST(ProfileChart, CurveRunsThroughThePointsOfItsOwnModeInOrder) {
    ProfileRecord record = Record(PointMode::TwoPoint, {25, 26, 27, 28, 29, 30, 31, 50}, 20, 10);
    record.Point(1).y = 30;
    record.Point(8).y = 90;
    CleanupProfile(record, kTempPwm);
    const std::vector<ProfilePoint> two{{20, 0}, {20, 30}, {25, 30}, {50, 90}, {101, 90}};
    EXPECT_EQ(CurvePoints(record, kTempPwm), two);

    record.pointMode = PointMode::MultiPoint;
    record.onOffMode = OnOffMode::AlwaysOn;
    CleanupProfile(record, kTempPwm);
    const std::vector<ProfilePoint> multi = CurvePoints(record, kTempPwm);
    ASSERT_EQ(multi.size(), 11u);
    EXPECT_EQ(multi.front(), (ProfilePoint{-20, 30}));
    EXPECT_EQ(multi[2], record.Point(1));
    EXPECT_EQ(multi[9], record.Point(8));
    EXPECT_EQ(multi.back(), (ProfilePoint{101, 90}));

    record.pointMode = PointMode::TwoPoint;
    EXPECT_EQ(CurvePoints(record, kVoltPwm).back().x, 11) << "end point of a volt curve";
    record.pointMode = PointMode::None;
    EXPECT_TRUE(CurvePoints(record, kTempPwm).empty());
}

TEST(ProfileChart, AxesFollowTheProfileType) {
    const ChartAxis temperature{"Temperature (°C)", -20, 100}, volts{"Voltage(V)", 0, 10};
    const ChartAxis pwm{"Fan Speed (PWM %)", 0, 105}, rpm{"Fan Speed (RPM)", 0, 3100};
    EXPECT_EQ(ChartAxesFor(kTempPwm), (ChartAxes{temperature, pwm}));
    EXPECT_EQ(ChartAxesFor(kTempRpm), (ChartAxes{temperature, rpm}));
    EXPECT_EQ(ChartAxesFor(kVoltPwm), (ChartAxes{volts, pwm}));
    EXPECT_EQ(ChartAxesFor({InputKind::Voltage, SpeedUnit::Rpm, 65535}),
              (ChartAxes{volts, {"Fan Speed (RPM)", 0, 65635}}));
    EXPECT_EQ(InitialChartAxes(), (ChartAxes{temperature, {"Fan Speed (%)", 0, 105}}));
}

} // namespace
