// Fans follow the configured profile, ON/OFF values, inputs, ramp rate and alarm actions; the
// alarm field names the raised alarms; failures show as "FAIL".
#include <gtest/gtest.h>

#include "sim/PlantModel.h"

using namespace orvane;
using namespace orvane::sim;
using namespace std::chrono_literals;

namespace {

class PlantTest : public ::testing::Test {
protected:
    PlantTest() { config.LoadDefaultTemplate(); }

    // Steps the plant once a second for `seconds` seconds.
    LiveSample RunFor(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now += 1s;
            plant.Step(config, now);
        }
        return plant.Sample(config, static_cast<std::uint64_t>(now / 1s));
    }
    void SetSigned(int index, int value) { config.SetValue(index, static_cast<unsigned>(value)); }
    // Point p (1 to 8) of fan f (1 to 4).
    void SetPoint(int f, int p, int input, int speed) {
        SetSigned(4 + 4 * (p - 1) + (f - 1), input);
        SetSigned(39 + 4 * (p - 1) + (f - 1), speed);
    }

    CRegisterImage config;
    PlantModel plant;
    SimTime now{0};
};

} // namespace

TEST_F(PlantTest, TwoPointProfileSetsSpeedAndFanRampsToIt) {
    // Template: two points 25 °C / 30 % and 50 °C / 90 %, ramp 10 % of 3000 RPM a second.
    plant.HoldSensor(0, 37.5);
    const LiveSample first = RunFor(1);
    EXPECT_EQ(first.fans[0].setPercent, 60);
    EXPECT_EQ(first.fans[0].rpm, 300);
    EXPECT_EQ(RunFor(3).fans[0].rpm, 1200);
    EXPECT_EQ(RunFor(5).fans[0].rpm, 1800); // reached 60 % of 3000, and stays
    plant.HoldSensor(0, 20.0);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 30); // below the first point: its speed
    EXPECT_EQ(RunFor(1).fans[0].rpm, 1200);
}

TEST_F(PlantTest, MultiPointProfileInterpolatesBetweenNeighbours) {
    config.SetValue(184, 0x04);
    const int inputs[8] = {20, 24, 28, 32, 36, 40, 44, 48};
    const int speeds[8] = {10, 20, 30, 40, 80, 85, 90, 95};
    for (int p = 1; p <= 8; ++p) {
        SetPoint(1, p, inputs[p - 1], speeds[p - 1]);
    }
    config.SetValue(296, 0); // no ramp: the fan is at speed at once
    plant.HoldSensor(0, 34.0);
    const LiveSample s = RunFor(1);
    EXPECT_EQ(s.fans[0].setPercent, 60);
    EXPECT_EQ(s.fans[0].rpm, 1800);
    plant.HoldSensor(0, 60.0);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 95);
}

TEST_F(PlantTest, RpmModeSetsTheFanSpeedAndReportsItAsPercent) {
    config.SetValue(183, 2);
    SetPoint(1, 1, 25, 1000);
    SetPoint(1, 8, 50, 2000);
    config.SetValue(296, 0);
    plant.HoldSensor(0, 37.5);
    const LiveSample s = RunFor(1);
    EXPECT_EQ(s.fans[0].rpm, 1500);
    EXPECT_EQ(s.fans[0].setPercent, 50);
}

TEST_F(PlantTest, VoltageModeReadsPointsInHundredthsOfAVolt) {
    config.SetValue(183, 3);
    SetPoint(1, 1, 200, 10);
    SetPoint(1, 8, 800, 70);
    SetSigned(173, 1); // ON at 1 V
    SetSigned(161, 0);
    plant.HoldSensor(0, 5.0);
    const LiveSample s = RunFor(1);
    EXPECT_TRUE(s.voltageInputs);
    EXPECT_EQ(s.fans[0].setPercent, 40);
    EXPECT_NE(FormatLiveRecord(s).find(" 5.00,"), std::string::npos);
}

TEST_F(PlantTest, OnOffValuesSwitchWithHysteresis) {
    SetSigned(173, 30); // ON
    SetSigned(161, 28); // OFF
    config.SetValue(296, 0);
    plant.HoldSensor(0, 29.0);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 0); // not yet switched on
    plant.HoldSensor(0, 31.0);
    EXPECT_GT(RunFor(1).fans[0].setPercent, 0);
    plant.HoldSensor(0, 29.0);
    EXPECT_GT(RunFor(1).fans[0].setPercent, 0); // between OFF and ON: stays on
    plant.HoldSensor(0, 27.0);
    const LiveSample off = RunFor(1);
    EXPECT_EQ(off.fans[0].setPercent, 0);
    EXPECT_EQ(off.fans[0].rpm, 0);
}

TEST_F(PlantTest, AlwaysOnFanRunsBelowItsFirstPoint) {
    config.SetValue(173, 0xFC19);
    config.SetValue(161, 0xFC19);
    plant.HoldSensor(0, -10.0);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 30);
}

TEST_F(PlantTest, ActiveInputChoosesTheSensorAndBothTakeTheHotter) {
    config.SetValue(296, 0);
    plant.HoldSensor(0, 25.0);
    plant.HoldSensor(1, 50.0);
    config.SetValue(165, 0); // fan 1 on input 2 only
    config.SetValue(169, 1);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 90);
    config.SetValue(165, 1); // both
    plant.HoldSensor(0, 45.0);
    plant.HoldSensor(1, 30.0);
    EXPECT_EQ(RunFor(1).fans[0].setPercent, 78); // 45 °C: 30 + 60 * 20 / 25
}

TEST_F(PlantTest, FailedSensorDrivesItsFansFlatOutAndReadsFail) {
    plant.HoldSensor(0, 25.0);
    plant.SetSensorFailed(0, true);
    const LiveSample s = RunFor(1);
    EXPECT_FALSE(s.sensors[0]);
    EXPECT_EQ(s.fans[0].setPercent, 100);
    const std::string record = FormatLiveRecord(s);
    EXPECT_EQ(record.find("FAIL"), record.find(",FAIL,") + 1) << record; // the sensor's field
}

TEST_F(PlantTest, UnusedAndFailedFansReport) {
    config.SetValue(1, 0); // fan 2 unused
    plant.SetFanFailed(2, true);
    const LiveSample s = RunFor(3);
    EXPECT_FALSE(s.fans[1].used);
    EXPECT_TRUE(s.fans[2].failed);
    const std::string record = FormatLiveRecord(s);
    EXPECT_NE(record.find(",    0,  0,FAIL,"), std::string::npos) << record;
}

TEST_F(PlantTest, SwitchInputRaisesItsAlarmWhoseActionOverridesTheProfile) {
    config.SetValue(75, 1);    // alarm 2: switch input 1 high
    config.SetValue(140, 100); // alarm 2, fan 1: 100 %
    config.SetValue(296, 0);
    plant.HoldSensor(0, 25.0);
    EXPECT_EQ(RunFor(1).alarms, "");
    plant.SetSwitchInput(0, true);
    const LiveSample s = RunFor(1);
    EXPECT_EQ(s.alarms, "2");
    EXPECT_EQ(s.fans[0].setPercent, 100);
    EXPECT_EQ(s.fans[1].setPercent, 30); // no action for fan 2
    EXPECT_NE(FormatLiveRecord(s).find(" HI , LO ,2,"), std::string::npos);
}

TEST_F(PlantTest, HigherAlarmHasPriorityForAFan) {
    config.SetValue(73, 1);   // alarm 1: switch 1 high
    config.SetValue(75, 1);   // alarm 2: the same
    config.SetValue(136, 70); // alarm 1, fan 1
    config.SetValue(140, 20); // alarm 2, fan 1
    plant.SetSwitchInput(0, true);
    const LiveSample s = RunFor(1);
    EXPECT_EQ(s.alarms, "12");
    EXPECT_EQ(s.fans[0].setPercent, 70);
}

TEST_F(PlantTest, HighLimitAlarmClearsOnlyPastItsHysteresis) {
    config.SetValue(112, 30); // alarm 1: sensor 1 above 30 °C
    config.SetValue(300, 2);  // hysteresis 2 °C
    plant.HoldSensor(0, 31.0);
    EXPECT_EQ(RunFor(1).alarms, "1");
    plant.HoldSensor(0, 29.0);
    EXPECT_EQ(RunFor(1).alarms, "1");
    plant.HoldSensor(0, 27.5);
    EXPECT_EQ(RunFor(1).alarms, "");
}

TEST_F(PlantTest, FailureAlarmsAndPowerRelaysNeedTheirOptions) {
    config.SetValue(328, 2); // alarm 2: fan 2 failure
    config.SetValue(97, 2);  // alarm 5: sensor 2 failure
    plant.SetFanFailed(1, true);
    plant.SetSensorFailed(1, true);
    EXPECT_EQ(RunFor(1).alarms, "2"); // alarm 5 needs the power relay board
    config.SetValue(184, 0x02);
    EXPECT_EQ(RunFor(1).alarms, "25");
}
