// What the Start, Mode, ModBus, Fan Setting and Alarm Config. pages store, and the progress line.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "SequencerFakes.h"
#include "core/image/Conversions.h"
#include "core/image/TypedEntry.h"
#include "core/rules/AlarmConfig.h"
#include "core/rules/FanSettings.h"
#include "core/rules/ModBusRules.h"
#include "core/rules/ModeRules.h"
#include "core/rules/ProgressText.h"
#include "core/rules/StartPageRules.h"
#include "core/rules/TabRules.h"

using namespace orvane;
using orvane::test::DefaultImage;

namespace {

// Registers first to last as one text, "|" between them.
std::string Words(const RegisterImage& image, int first, int last) {
    std::string out;
    for (int i = first; i <= last; ++i) {
        out += (i > first ? "|" : "") + image.Text(i);
    }
    return out;
}

std::string Repeat(const std::string& word, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += (i > 0 ? "|" : "") + word;
    }
    return out;
}

struct FanRig {
    RegisterImage image = DefaultImage();
    FanSettings settings{image};
};

struct AlarmRig {
    explicit AlarmRig(const char* mode = "0001") { image.SetText(reg::kControlMode, mode); }
    RegisterImage image = DefaultImage();
    AlarmConfig alarms{image};
};

} // namespace

// "0000" up to the pad limit; the last register only by a character of its own, else zeroed.
TEST(StartPageRules, TextFieldsStoreOneCharacterPerRegisterAndEndWhereTheTextEnds) {
    const std::u16string x22(22, u'x'), x23(23, u'x'), x24(24, u'x'), d79(79, u'd');
    // `want`: the field's registers, all "7777" before.
    const std::tuple<const char*, TextEntry, std::u16string, std::string> cases[] = {
        {"name AB", kNameEntry, u"AB", "0041|0042|" + Repeat("0000", 20) + "|7777"},
        {"name 22", kNameEntry, x22, Repeat("0078", 22) + "|0000"},
        {"name 23", kNameEntry, x23, Repeat("0078", 23)},
        {"name 24", kNameEntry, x24, Repeat("0078", 23)},
        {"name Latin-1", kNameEntry, u"\u00e9", "00E9|" + Repeat("0000", 21) + "|7777"},
        {"description C", kDescriptionEntry, u"C", "0043|" + Repeat("0000", 78)},
        {"description 79", kDescriptionEntry, d79, Repeat("0064", 79)},
        {"date 9", kDateEntry, u"1/12/2024", "0031|002F|0031|0032|002F|0032|0030|0032|0034|0000"}};
    for (const auto& [name, entry, typed, want] : cases) {
        SCOPED_TRACE(std::string("case ") + name);
        RegisterImage image;
        for (int i = 0; i < kRegisterCount; ++i) {
            image.SetText(i, "7777");
        }
        StoreTextField(image, entry, typed);
        const TextField field = entry.field;
        EXPECT_EQ(Words(image, field.first - 1, field.last + 1), "7777|" + want + "|7777");
    }
}

// Digits only, up to 65535; control characters and those beyond one byte cannot be typed.
TEST(StartPageRules, TypedEntriesStayWithinWhatARegisterHolds) {
    const std::tuple<const char*, bool, bool, const char*> cases[] = {
        {"", true, true, "0000"},
        {"12", true, true, "000C"},
        {"65535", true, true, "FFFF"},
        {"65536", true, false, "FFFF"},
        {"99999999999", true, false, "FFFF"},
        {"1a", false, false, "0001"},
        {"-1", false, false, "0000"}};
    for (const auto& [typed, digits, accepted, stored] : cases) {
        SCOPED_TRACE(std::string("typed \"") + typed + "\"");
        EXPECT_EQ(std::pair(IsDigitsText(typed), IsBoundedNumberText(typed, kLargestWord)),
                  std::pair(digits, accepted));
        RegisterImage image;
        StoreIssue(image, typed);
        StoreRs485Address(image, typed);
        EXPECT_EQ(image.Text(kIssueRegister) + image.Text(reg::kRs485Address),
                  std::string(stored) + stored);
    }
    EXPECT_EQ(CountUnstorable(u" A~\u00a0\u00e9\u00ff"), 0);
    EXPECT_EQ(CountUnstorable(u"\t\n\x7f\x85\u0100\u20ac"), 6);
}

TEST(ModeRules, OperatingAndProjectModesInTheirRegisters) {
    RegisterImage image = DefaultImage();
    EXPECT_EQ(ApplyOperatingMode(image, reg::ControlMode::VoltageRpm), "4");
    EXPECT_EQ(Words(image, 299, 306), "000A|" + Repeat("0000", 6) + "|FFFF");
    EXPECT_EQ(image.Text(reg::kControlMode), "0004");
    EXPECT_EQ(ApplyOperatingMode(image, reg::ControlMode::TemperatureRpm), "2");
    EXPECT_EQ(Words(image, 300, 305), Repeat("0001", 6));
    EXPECT_EQ(ShownOperatingMode(image), reg::ControlMode::TemperatureRpm);
    // Register 183 is read as a decimal number: only 1 to 4 check a button.
    for (const char* other : {"0000", "0005", "000A", "0010", "xyz"}) {
        image.SetText(reg::kControlMode, other);
        EXPECT_EQ(ShownOperatingMode(image), std::nullopt) << other;
    }

    const std::tuple<const char*, const char*> projectModes[] = {
        {"0006", "6 : MODBUS_FCU"},
        {"0007", "Undefined Project Mode"},
        {"0106", "Undefined Project Mode"}};
    for (const auto& [word, shown] : projectModes) {
        image.SetText(reg::kProjectMode, word);
        EXPECT_EQ(ShownProjectMode(image), shown) << word;
    }
    EXPECT_TRUE(StoreProjectMode(image, "Undefined Project Mode"));
    EXPECT_EQ(image.Text(reg::kProjectMode), "005A");
    EXPECT_TRUE(StoreProjectMode(image, "3 : Project 12190 or 12632, Eco"));
    EXPECT_FALSE(StoreProjectMode(image, "6 : MODBUS_FCU "));
    EXPECT_EQ(image.Text(reg::kProjectMode), "0003");
}

TEST(ModBusRules, SiteNumbersAreClampedAndTheBoxCorrected) {
    // `replacement` "" when the text stays.
    const std::tuple<const char*, int, unsigned, const char*> cases[] = {
        {"", 9999, 1, "1"},       {"0", 9999, 1, "1"},
        {"9999", 9999, 9999, ""}, {"12345", 9999, 9999, "9999"},
        {"999", 999, 999, ""},    {"1000", 999, 999, "999"}};
    for (const auto& [typed, largest, value, replacement] : cases) {
        const ClampedNumber got = ClampSiteNumber(typed, largest);
        EXPECT_EQ(std::to_string(got.value) + " " + got.replacement.value_or(""),
                  std::to_string(value) + " " + replacement)
            << typed << " up to " << largest;
    }
}

// What the lists show for register 185, the word after a tick's write-backs, each alone.
TEST(ModBusRules, SerialSettingsShownAndWrittenBack) {
    const std::tuple<unsigned, const char*, const char*, unsigned> shown[] = {
        {0x0000, "9600", "None", 0x0000},  {0x0011, "19200", "Even", 0x0011},
        {0x0012, "19200", "Odd", 0x0012},  {0x0003, "9600", "Even", 0x0001},
        {0xFFFF, "19200", "Even", 0x00FD}, {0x00C0, "19200", "Even", 0x00D1},
        {0x0120, "9600", "None", 0x0020}};
    for (const auto& [word, baud, parity, afterTick] : shown) {
        SCOPED_TRACE(::testing::Message() << "register 185 = " << std::hex << word);
        EXPECT_EQ(BaudShown(word), baud);
        EXPECT_EQ(ParityShown(word), parity);
        EXPECT_EQ(BaudWriteBack(ParityWriteBack(word, parity), baud), afterTick);
    }
    const std::tuple<const char*, unsigned, unsigned> texts[] = {{"None", 0xFC, 0xFF},
                                                                 {"Odd", 0xFE, 0xFF},
                                                                 {"9600", 0xFD, 0xEF},
                                                                 {"", 0xFD, 0xFF},
                                                                 {"9600 baud", 0xFD, 0xEF}};
    for (const auto& [text, parity, baud] : texts) {
        EXPECT_EQ(std::pair(ParityWriteBack(0x01FF, text), BaudWriteBack(0x01FF, text)),
                  std::pair(parity, baud))
            << "text \"" << text << '"';
    }
}

TEST(FanSettings, EntriesAreReadAsDecimalAndHeldToAWord) {
    const struct {
        const char *text, *word, *corrected; // corrected nullptr: the field keeps what was typed
    } cases[] = {
        {"3000", "0BB8", nullptr},  {"", "0000", nullptr},      {"abc", "0000", nullptr},
        {" 12x", "000C", nullptr},  {"65535", "FFFF", nullptr}, {"65536", "FFFF", "65535"},
        {"99999", "FFFF", "65535"}, {"-5", "0000", "0"},        {"0007", "0007", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("entry '") + c.text + "'");
        FanRig rig;
        const auto corrected = rig.settings.StoreEntry(reg::FanRampRate(2), c.text);
        EXPECT_EQ(rig.image.Text(reg::FanRampRate(2)), c.word);
        EXPECT_EQ(corrected.value_or("(kept)"), c.corrected ? c.corrected : "(kept)");
    }
}

TEST(FanSettings, RegistersShowAsTheirItemsOrAsNoneOfThem) {
    FanRig rig;
    const std::tuple<const char*, std::optional<int>, const char*, std::optional<bool>> cases[] = {
        {"0000", 0, "0-10V", false},
        {"0001", 1, "Open Collector", true},
        {"0004", std::nullopt, "Open Collector", std::nullopt},
        {"0006", 4, "Open Collector", std::nullopt}};
    for (const auto& [word, pulsesItem, controlType, used] : cases) {
        SCOPED_TRACE(std::string("word ") + word);
        for (const int r : {reg::FanPulsesPerRev(3), reg::FanControlType(3), reg::FanUsed(3)}) {
            rig.image.SetText(r, word);
        }
        EXPECT_EQ(rig.settings.PulsesPerRevItem(3), pulsesItem);
        EXPECT_EQ(rig.settings.ControlTypeText(3), controlType);
        EXPECT_EQ(rig.settings.Used(3), used);
    }
}

TEST(FanSettings, OptionBitsChangeOnlyTheirOwnBitOfRegister184) {
    // With `daily` false the dummy fan link box is clicked.
    const std::tuple<const char*, bool, bool, const char*> cases[] = {
        {"0010", true, false, "0000"},
        {"0003", false, true, "000B"},
        {"0022", true, true, "0032"},
        {"003A", false, false, "0032"}};
    for (const auto& [before, daily, checked, after] : cases) {
        FanRig rig;
        rig.image.SetText(kOptionRegister, before);
        daily ? rig.settings.SetDailyFanRun(checked) : rig.settings.SetDummyFanLink(checked);
        EXPECT_EQ(rig.image.Text(kOptionRegister), after)
            << before << (daily ? " daily " : " dummy ") << checked;
        EXPECT_EQ(daily ? rig.settings.DailyFanRun() : rig.settings.DummyFanLink(), checked);
    }
}

// Refused while busy and for no tab; Download off on "Comms" and "Indicator"; one page ticks.
TEST(TabRules, WhatSelectingATabChanges) {
    EXPECT_FALSE(ChangeTab(kTabStart, true).shown);
    EXPECT_FALSE(ChangeTab(0, false).shown || ChangeTab(kTabCount + 1, false).shown);
    std::string seen;
    for (int tab = 1; tab <= kTabCount; ++tab) {
        const TabChange change = ChangeTab(tab, false);
        seen += std::to_string(tab) + (change.shown ? "" : " refused") +
                (change.downloadEnabled ? "" : " no download") +
                (change.resetNoData ? "" : " keeps no-data") +
                (change.note.empty() ? "" : " note") +
                (change.tickingTab == tab ? " ticks"
                 : change.tickingTab == 0 ? ""
                                          : " wrong page") +
                "|";
    }
    EXPECT_EQ(seen, "1 no download|2 ticks|3 ticks|4 ticks|5 ticks|6 ticks|7 note ticks|"
                    "8 keeps no-data ticks|9 no download ticks|10|");
}

TEST(ProgressText, StepTotalAndTheTimeLeftRoundedUp) {
    const std::tuple<CommandProgress, int, std::string> cases[] = {
        {{1, 61}, 1000, "Reading the configuration: step 1 of 61, 1 min 0 s left"},
        {{10, 34}, 50, "Reading the configuration: step 10 of 34, 2 s left"}, // 1.2 s
        {{40, 34}, 1000, "Reading the configuration: step 34 of 34, 0 s left"},
    };
    for (const auto& [progress, tickMs, text] : cases) {
        const ProgressLine line = DescribeProgress("Reading the configuration", progress, tickMs);
        EXPECT_EQ(line.text, text);
        EXPECT_LE(line.done, line.total) << text;
    }
    EXPECT_EQ(DescribeProgress("Reading the configuration", {}, 1000), ProgressLine{});
}

TEST(AlarmConfig, LimitTextToWordRoundsVoltsAndHoldsEntriesToTheSensorRange) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
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
    for (const auto& [mode, text, word, corrected] : cases) {
        SCOPED_TRACE(std::string("mode ") + mode + " text '" + text + "'");
        const LimitedWord limited = LimitTextToWord(mode, text);
        EXPECT_EQ(limited.word, word);
        EXPECT_EQ(limited.corrected.value_or("(kept)"), corrected ? corrected : "(kept)");
    }
}

TEST(AlarmConfig, WordsShowInDegreesOrWithTheVoltsTheyHold) {
    const std::tuple<const char*, bool, bool, const char*> cases[] = {
        {"FF55", true, false, ""},       {"FFFB", false, true, "-5"},
        {"FFFB", true, true, "-0.05"},   {"FFFB", false, false, "65531"},
        {"8000", false, true, "-32768"}, {"8001", false, true, "-32767"},
        {"00E6", true, false, "2.3"},    {"00EB", true, true, "2.35"},
        {"0001", true, false, "0.01"},   {"0000", true, true, "0.0"},
        {"03E8", true, true, "10.0"},    {"FFE2", true, true, "-0.3"},
        {"FFFF", true, false, "655.35"},
    };
    for (const auto& [word, voltage, asSigned, shown] : cases) {
        EXPECT_EQ(SensorValueText(word, voltage, asSigned), shown)
            << word << (voltage ? " volts" : " degrees") << (asSigned ? " signed" : "");
    }
}

// Words at the ends of each range and beside the "not used" marker read back unchanged.
TEST(AlarmConfig, WordsAFieldCanHoldReadBackUnchanged) {
    const std::tuple<const char*, bool, bool> cases[] = {
        {"0000", true, true},  {"0001", true, false}, {"00EB", true, true},  {"03E7", true, false},
        {"03E8", true, true},  {"8000", false, true}, {"FF54", false, true}, {"FF56", false, true},
        {"FFFF", false, true}, {"7FFF", false, true}, {"0000", false, true},
    };
    for (const auto& [word, voltage, asSigned] : cases) {
        const std::string text = SensorValueText(word, voltage, asSigned);
        EXPECT_EQ(LimitTextToWord(voltage ? "0003" : "0001", text).word, word) << text;
    }
}

TEST(AlarmConfig, RowsShowTheirRegistersAndLeaveOutWhatNoItemMeans) {
    AlarmRig rig("0003");
    for (const auto& [r, word] : {std::pair{reg::AlarmSwitchInput(2, 1), "0001"},
                                  {reg::AlarmSwitchInput(2, 2), "0007"},
                                  {reg::AlarmFanFail(2, 3), "0003"},
                                  {reg::AlarmFanFail(2, 4), "0003"},
                                  {reg::AlarmSensorFail(2, 1), "0001"},
                                  {reg::AlarmSensorFail(2, 2), "0001"},
                                  {reg::AlarmLowLimit(2, 2), "00EB"},
                                  {reg::AlarmRelayState(2), "0002"},
                                  {reg::AlarmFanAction(2, 4), "0BB8"}}) {
        rig.image.SetText(r, word);
    }
    const AlarmRowView row = rig.alarms.Row(2);
    EXPECT_EQ(row.switchItem, (std::array<std::optional<int>, 2>{2, std::nullopt}));
    EXPECT_EQ(row.fanFail, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(row.sensorFail, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(row.lowLimit, (std::array<std::string, 2>{"", "2.35"}));
    EXPECT_EQ(row.hysteresis, "0.01");
    EXPECT_EQ(std::pair(row.relayItem, rig.alarms.Row(5).relayItem),
              std::pair(std::optional<int>{}, std::optional<int>{1}));
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
        AlarmRig rig(c.mode);
        const auto corrected = rig.alarms.StoreFanAction(3, 1, c.text);
        EXPECT_EQ(rig.image.Text(reg::AlarmFanAction(3, 1)), c.word);
        EXPECT_EQ(corrected.value_or("(kept)"), c.corrected ? c.corrected : "(kept)");
    }
    AlarmRig rpm("0004");
    rpm.image.SetText(reg::FanMaxRpm(2), "1388");
    EXPECT_EQ(std::pair(rpm.alarms.FanActionBound(2), rpm.alarms.FanActionBound(1)),
              std::pair(5000u, 3000u));
}

TEST(AlarmConfig, ListsStoreOnlyTheirOwnItemsAndThePowerRelayOnlyItsBit) {
    AlarmRig rig;
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
