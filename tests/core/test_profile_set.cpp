// The profiles into and out of the register image, and the cleanup.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/image/Conversions.h"
#include "core/rules/ProfileCleanup.h"
#include "core/rules/ProfileSet.h"

using namespace orvane;
using namespace orvane::profile;

namespace {

RegisterImage Template(const char* controlMode = "0001") {
    RegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(reg::kControlMode, controlMode);
    return image;
}

std::string Words(const RegisterImage& image, std::initializer_list<int> registers) {
    std::string out;
    for (const int r : registers) {
        out += (out.empty() ? "" : " ") + image.Text(r);
    }
    return out;
}

// Two Point curves in order, at point 1 of fans 1 and 3 or point 8 of fans 2 and 4, are kept.
TEST(ProfileSet, CleanupKeepsTheVoltageWordsOfACurveInOrder) {
    RegisterImage image = Template("0004");
    for (const unsigned word : {0u, 1u, 9u, 10u, 11u, 257u, 989u, 990u, 999u, 1000u}) {
        for (int fan = 1; fan <= 4; ++fan) {
            const bool atPoint1 = fan % 2 == 1 && word < 1000;
            const unsigned point8 = atPoint1 || word < 10 ? 1000 : word;
            image.SetValue(reg::PointInput(fan, 1), atPoint1 ? word : (word >= 10 ? 0 : 500));
            for (int p = 2; p <= 7; ++p) {
                image.SetValue(reg::PointInput(fan, p), point8 - 10);
            }
            image.SetValue(reg::PointInput(fan, 8), point8);
            image.SetValue(reg::FanOnValue(fan), reg::kAlwaysOn);
            image.SetValue(reg::FanOffValue(fan), reg::kAlwaysOn);
        }
        ProfileSet profiles;
        profiles.Reload(image);
        profiles.CleanupAll();
        RegisterImage stored = image;
        profiles.Store(stored);
        ASSERT_EQ(stored.Texts(), image.Texts()) << "word " << word;
    }
}

// Words come back from their box's text, but FC19, the Always ON marker.
TEST(ProfileSet, SignedWordsSurviveTheirBoxText) {
    for (const unsigned word : {0x0000u, 0x0001u, 0x00FAu, 0x7FFFu, 0x8000u, 0xFC18u, 0xFC19u,
                                0xFC1Au, 0xFF55u, 0xFFFFu}) {
        SCOPED_TRACE(FormatHexWord(word));
        RegisterImage image = Template(), volts = Template("0004");
        volts.SetValue(reg::PointInput(3, 5), word);
        ProfileSet loaded;
        loaded.Reload(volts);
        RegisterImage storedVolts = volts;
        loaded.Store(storedVolts);
        EXPECT_EQ(storedVolts.Texts(), volts.Texts());
        image.SetValue(reg::PointInput(1, 1), word);
        image.SetValue(reg::FanOnValue(2), word);
        image.SetValue(reg::FanOffValue(3), word);
        ProfileSet profiles;
        profiles.Reload(image);
        profiles.SetPointInput(
            1, 1, FormatPointInput(profiles.Record(1).Point(1).x, InputKind::Temperature));
        if (word != reg::kAlwaysOn) { // an Always ON fan's boxes show blanks and take no entry
            profiles.SetOnValue(2, FormatWhole(profiles.Record(2).OnValue()));
            profiles.SetOffValue(3, FormatWhole(profiles.Record(3).offValue));
        }
        RegisterImage stored = image;
        profiles.Store(stored);
        const std::string text = FormatHexWord(word);
        EXPECT_EQ(Words(stored, {reg::PointInput(1, 1), reg::FanOnValue(2), reg::FanOffValue(3)}),
                  std::string(text).append(" ").append(text).append(" ").append(text));
        EXPECT_EQ(stored.Text(reg::FanOffValue(2)),
                  word == reg::kAlwaysOn ? text : image.Text(reg::FanOffValue(2)));
    }
    RegisterImage image = Template();
    ProfileSet profiles;
    profiles.Reload(image);
    profiles.SetOnValue(1, "-999");
    profiles.Store(image);
    EXPECT_EQ(image.Text(reg::FanOnValue(1)), "FC18") << "one below the marker";
}

TEST(ProfileSet, StoresSignedWordsMarkersModeBitAndInputsAndReadsThemBack) {
    RegisterImage image = Template();
    image.SetValue(kOptionRegister, 0x0027); // Multi Point and bits of other pages
    image.SetValue(reg::FanInput1Active(4), 0);
    ProfileSet profiles;
    profiles.Reload(image);
    EXPECT_EQ(profiles.Record(1).pointMode, PointMode::MultiPoint);
    EXPECT_EQ(profiles.Record(4).activeInput, ActiveInput::None) << "0000 in both";

    profiles.SetOnValue(1, "-12");
    profiles.SetOffValue(1, "-13");
    profiles.SetAlwaysOn(2);
    profiles.SetActiveInput(1, ActiveInput::Input2);
    profiles.SetPointMode(PointMode::TwoPoint);
    image.SetValue(reg::FanInput2Active(4), 1);
    profiles.Store(image);
    EXPECT_EQ(Words(image, {reg::FanOnValue(1), reg::FanOffValue(1), reg::FanOnValue(2),
                            reg::FanOffValue(2), reg::FanInput1Active(1), reg::FanInput2Active(1),
                            reg::FanInput1Active(4), reg::FanInput2Active(4), kOptionRegister}),
              "FFF4 FFF3 FC19 FC19 0000 0001 0000 0001 0023")
        << "no active input leaves its registers as they were";

    image.SetValue(reg::FanOffValue(3), reg::kAlwaysOn); // either register marks it
    profiles.Reload(image);
    EXPECT_EQ(profiles.Record(1).OnValue(), -12);
    EXPECT_TRUE(profiles.Record(2).onOffMode == OnOffMode::AlwaysOn &&
                profiles.Record(3).onOffMode == OnOffMode::AlwaysOn);
}

// Fan 1's point 3 input or speed, or its ON or OFF value, typed in the given control mode.
TEST(ProfileSet, TypedEntriesAreClampedToTheirRegistersNeverWrapped) {
    const struct {
        const char *mode, *field, *text, *word;
    } cases[] = {
        {"0001", "input", "-10", "FFF6"},    {"0001", "input", "40000", "7FFF"},
        {"0001", "input", "-40000", "8000"}, {"0001", "input", " 12abc", "000C"},
        {"0001", "input", "x", "0000"},      {"0003", "input", "2.5", "00FA"},
        {"0003", "input", "2.55", "00FF"},   {"0003", "input", "0.29", "001D"},
        {"0003", "input", "-1.5", "FF6A"},   {"0003", "input", "400", "7FFF"},
        {"0003", "input", "-1e9", "8000"},   {"0003", "input", "inf", "0000"},
        {"0002", "speed", "99999", "FFFF"},  {"0001", "on", "99999", "7FFF"},
        {"0003", "on", "2.9", "0002"},       {"0001", "off", "-99999", "8000"},
    };
    for (const auto& c : cases) {
        RegisterImage image = Template(c.mode);
        ProfileSet profiles;
        profiles.Reload(image);
        const std::string field = c.field;
        field == "input"   ? profiles.SetPointInput(1, 3, c.text)
        : field == "speed" ? profiles.SetPointSpeed(1, 3, c.text)
        : field == "on"    ? profiles.SetOnValue(1, c.text)
                           : profiles.SetOffValue(1, c.text);
        const int index = field == "input"   ? reg::PointInput(1, 3)
                          : field == "speed" ? reg::PointSpeed(1, 3)
                          : field == "on"    ? reg::FanOnValue(1)
                                             : reg::FanOffValue(1);
        profiles.Store(image);
        EXPECT_EQ(image.Text(index), c.word) << c.mode << " " << c.field << " \"" << c.text << '"';
    }
}

TEST(ProfileSet, ScanRealReadsWhatTheCLibraryReadsButNoInfinities) {
    const std::tuple<const char*, std::optional<double>> cases[] = {
        {" 2.5", 2.5}, {"+.5", 0.5}, {"-1e1", -10.0}, {"2,5", 2.0}, {"0x10", 0.0}, {"1e-999", 0.0},
        {"", {}},      {"abc", {}},  {"inf", {}},     {"-nan", {}}, {".", {}},     {"3.", 3.0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ScanReal(text), value) << '"' << text << '"';
    }
    EXPECT_GT(ScanReal("1e999").value_or(0), 1e300);
}

TEST(ProfileSet, ReloadKeepsTheLastKnownTypeForAnUnknownMode) {
    RegisterImage image = Template("0004");
    image.SetValue(reg::FanMaxRpm(2), 4000);
    ProfileSet profiles;
    EXPECT_TRUE(profiles.Reload(image));
    EXPECT_EQ(profiles.Type(), (ProfileType{InputKind::Voltage, SpeedUnit::Rpm, 4000}));
    image.SetText(reg::kControlMode, "0007");
    EXPECT_FALSE(profiles.Reload(image));
    EXPECT_TRUE(profiles.Type().IsVoltage()) << "units and limits stay as they were";
    EXPECT_DOUBLE_EQ(profiles.Record(1).Point(1).x, 0.25);
}

TEST(ProfileSet, CopyTakesTheSourceSnapshotOrElseItsProfileInTheImage) {
    RegisterImage image = Template();
    image.SetValue(reg::FanOnValue(3), reg::kAlwaysOn);
    image.SetValue(reg::PointInput(3, 1), 10);
    ProfileSet profiles;
    profiles.Reload(image);

    // Fan 1 as it was when selected, not as edited since.
    profiles.Cleanup(1);
    profiles.TakeSnapshot(1);
    const ProfileRecord selected = profiles.Record(1);
    profiles.SetAlwaysOn(1);
    profiles.CopyFrom(1, 2, image);
    EXPECT_EQ(profiles.Record(2), selected);

    // Fan 3 was never selected: its profile comes from the image, cleaned up.
    profiles.SetPointMode(PointMode::MultiPoint);
    profiles.CopyFrom(3, 4, image);
    const ProfileRecord& copied = profiles.Record(4);
    EXPECT_EQ(copied.onOffMode, OnOffMode::AlwaysOn);
    EXPECT_EQ(copied.pointMode, PointMode::TwoPoint) << "the image's point mode";
    EXPECT_EQ(copied.Point(2).x, 49) << "cleaned up as Two Point";
    EXPECT_EQ(copied.start, (ProfilePoint{-20, 30}));
}

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

// Each point sees its corrected upper neighbour; ON and OFF step over -999, the Always ON marker.
TEST(Cleanup, OrdersInputsAndOnOff) {
    const auto multi = PointMode::MultiPoint, two = PointMode::TwoPoint;
    const std::tuple<ProfileType, PointMode, const char*, const char*> cases[] = {
        {kTempPwm, multi, "40 40 40 40 40 40 40 40 | 33 1", "33 34 35 36 37 38 39 40 | 32 1"},
        {kTempPwm, multi, "-30 -30 -25 -20 -10 0 10 20 | -30 -30",
         "-31 -30 -25 -20 -10 0 10 20 | -32 -33"},
        {kTempPwm, two, "25 0 0 0 0 0 0 120 | 6 5", "25 99 99 99 99 99 99 100 | 6 5"},
        {kTempPwm, PointMode::None, "25 32 34 36 38 40 42 50 | 6 5", "0 0 0 0 0 0 0 50 | -1 -2"},
        {kVoltPwm, multi, "1.5 2.15 2.19 3 4 5 6 7 | 0 -1", "1.5 2.09 2.19 3 4 5 6 7 | 0 -1"},
        {kVoltPwm, multi, "5 5 5 5 5 5 5 5 | 4 5", "4.3 4.4 4.5 4.6 4.7 4.8 4.9 5 | 3.3 2.3"},
        {kVoltPwm, two, "2.5 0 0 0 0 0 0 10.9 | 1 0", "2.5 9.9 9.9 9.9 9.9 9.9 9.9 10 | 1 0"},
        {kTempPwm, multi, "-998 -997 -996 -995 -994 -993 -992 -991 | 5 0",
         "-998 -997 -996 -995 -994 -993 -992 -991 | -1000 -1001"},
        {kTempPwm, multi, "-990 -980 -970 -960 -950 -940 -930 -920 | -998 -999",
         "-990 -980 -970 -960 -950 -940 -930 -920 | -998 -1000"},
        {kTempPwm, two, "-32768 0 0 0 0 0 0 50 | 0 0",
         "-32768 49 49 49 49 49 49 50 | -32768 -32768"},
        {kVoltPwm, two, "3.05 0 0 0 0 0 0 3 | 1 0", "2.9 2.9 2.9 2.9 2.9 2.9 2.9 3 | 1 0"},
    };
    for (const auto& [type, mode, before, after] : cases) {
        ProfileRecord record = Parse(mode, before);
        CleanupProfile(record, type);
        EXPECT_EQ(Print(record), Print(Parse(mode, after))) << before;
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

} // namespace
