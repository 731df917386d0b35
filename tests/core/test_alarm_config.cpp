// Alarm words and field texts convert without loss, held to what a sensor can be set to.
#include <gtest/gtest.h>

#include "core/image/Conversions.h"
#include "core/image/RegisterLayout.h"
#include "core/rules/AlarmConfig.h"

using namespace orvane;

namespace {

struct Rig {
    explicit Rig(const char* mode = "0001") {
        image.LoadDefaultTemplate();
        image.SetText(reg::kControlMode, mode);
    }
    RegisterImage image;
    AlarmConfig alarms{image};
};

TEST(AlarmConfig, LimitTextToWordRoundsVoltsAndHoldsEntriesToTheSensorRange) {
    const struct {
        const char *mode, *text, *word, *corrected;
    } cases[] = {
        {"0001", "-5", "FFFB", nullptr},     {"0001", " 25x", "0019", nullptr},
        {"0001", "32767", "7FFF", nullptr},  {"0001", "32768", "7FFF", "32767"},
        {"0001", "-32768", "8000", nullptr}, {"0001", "-99999999999", "8000", "-32768"},
        {"0005", "2.3", "0002", nullptr},    {"0003", "2.3", "00E6", nullptr},
        {"0004", "10", "03E8", nullptr},     {"0003", "2.1", "00D2", nullptr},
        {"0003", "1.05", "0069", nullptr},   {"0003", "-", "0000", nullptr},
        {"0003", "2.345", "00EB", nullptr},  {"0003", "2.344", "00EA", nullptr},
        {"0003", " .5", "0032", nullptr},    {"0003", "12345678901234", "03E8", "10.0"},
        {"0003", "10.01", "03E8", "10.0"},   {"0003", "3,5", "012C", nullptr},
        {"0003", "-0.5", "0000", "0.0"},     {"0004", "-0.004", "0000", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + " text '" + c.text + "'");
        const LimitedWord limited = LimitTextToWord(c.mode, c.text);
        EXPECT_EQ(limited.word, c.word);
        EXPECT_EQ(limited.corrected.value_or("(kept)"), c.corrected ? c.corrected : "(kept)");
    }
}

TEST(AlarmConfig, WordsShowInDegreesOrWithTheVoltsTheyHold) {
    const struct {
        const char* word;
        bool voltage, asSigned;
        const char* shown;
    } cases[] = {
        {"FF55", true, false, ""},       {"FFFB", false, true, "-5"},
        {"FFFB", true, true, "-0.05"},   {"FFFB", false, false, "65531"},
        {"8000", false, true, "-32768"}, {"8001", false, true, "-32767"},
        {"00E6", true, false, "2.3"},    {"00EB", true, true, "2.35"},
        {"0001", true, false, "0.01"},   {"0000", true, true, "0.0"},
        {"03E8", true, true, "10.0"},    {"FFE2", true, true, "-0.3"},
        {"FFFF", true, false, "655.35"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SensorValueText(c.word, c.voltage, c.asSigned), c.shown)
            << c.word << (c.voltage ? " volts" : " degrees") << (c.asSigned ? " signed" : "");
    }
}

// In volts every word up to 10 V, in degrees every word but the "not used" marker.
TEST(AlarmConfig, EveryWordAFieldCanHoldReadsBackUnchanged) {
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const std::string text = FormatHexWord(word);
        for (const bool asSigned : {true, false}) {
            if (word <= kMaxHundredthsOfVolt) {
                ASSERT_EQ(LimitTextToWord("0003", SensorValueText(text, true, asSigned)).word, text)
                    << "volts " << text << (asSigned ? " signed" : "");
            }
        }
        if (word != reg::kUnused) {
            ASSERT_EQ(LimitTextToWord("0001", SensorValueText(text, false, true)).word, text)
                << "degrees " << text;
        }
    }
}

TEST(AlarmConfig, RowsShowTheirRegistersAndLeaveOutWhatNoItemMeans) {
    Rig rig("0003");
    rig.image.SetText(reg::AlarmSwitchInput(2, 1), "0001");
    rig.image.SetText(reg::AlarmSwitchInput(2, 2), "0007");
    rig.image.SetText(reg::AlarmFanFail(2, 3), "0003");
    rig.image.SetText(reg::AlarmFanFail(2, 4), "0003");
    rig.image.SetText(reg::AlarmSensorFail(2, 1), "0001");
    rig.image.SetText(reg::AlarmSensorFail(2, 2), "0001");
    rig.image.SetText(reg::AlarmLowLimit(2, 2), "00EB");
    rig.image.SetText(reg::AlarmRelayState(2), "0002");
    rig.image.SetText(reg::AlarmFanAction(2, 4), "0BB8");
    const AlarmRowView row = rig.alarms.Row(2);
    EXPECT_EQ(row.switchItem[0], 2);
    EXPECT_EQ(row.switchItem[1], std::nullopt);
    EXPECT_EQ(row.fanFail, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(row.sensorFail, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(row.lowLimit, (std::array<std::string, 2>{"", "2.35"}));
    EXPECT_EQ(row.hysteresis, "0.01");
    EXPECT_EQ(row.relayItem, std::nullopt);
    EXPECT_EQ(rig.alarms.Row(5).relayItem, 1);
    EXPECT_EQ(row.fanAction, (std::array<std::string, 4>{"", "", "", "3000"}));
}

TEST(AlarmConfig, FanActionsAreHeldToOneHundredPercentOrTheFansMaximumSpeed) {
    const struct {
        const char *mode, *text, *word, *corrected;
    } cases[] = {
        {"0001", "150", "0064", "100"},          {"0003", "100", "0064", nullptr},
        {"0002", "4000", "0BB8", "3000"},        {"0004", "2500", "09C4", nullptr},
        {"0007", "4000", "0BB8", "3000"},        {"0001", "", "FF55", nullptr},
        {"0002", "99999999999", "0BB8", "3000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mode ") + c.mode + " text '" + c.text + "'");
        Rig rig(c.mode);
        const auto corrected = rig.alarms.StoreFanAction(3, 1, c.text);
        EXPECT_EQ(rig.image.Text(reg::AlarmFanAction(3, 1)), c.word);
        EXPECT_EQ(corrected.value_or("(kept)"), c.corrected ? c.corrected : "(kept)");
    }
    Rig rpm("0004");
    rpm.image.SetText(reg::FanMaxRpm(2), "1388");
    EXPECT_EQ(rpm.alarms.FanActionBound(2), 5000u);
    EXPECT_EQ(rpm.alarms.FanActionBound(1), 3000u);
}

TEST(AlarmConfig, ListsStoreOnlyTheirOwnItemsAndThePowerRelayOnlyItsBit) {
    Rig rig;
    rig.image.SetText(kOptionRegister, "0010");
    const RegisterTexts before = rig.image.Texts();
    rig.alarms.StoreSwitchInput(4, 2, "1:Low"); // an item of the other input's list
    rig.alarms.StoreRelayState(4, "open");
    EXPECT_EQ(rig.image.Texts(), before);
    rig.alarms.SetPowerRelay(true);
    rig.alarms.SetSensorFail(6, 2, true);
    EXPECT_EQ(rig.image.Text(kOptionRegister) + rig.image.Text(99), "00120002");
    rig.alarms.SetPowerRelay(false);
    rig.alarms.SetSensorFail(6, 2, false);
    EXPECT_EQ(rig.image.Texts(), before);
}

} // namespace
