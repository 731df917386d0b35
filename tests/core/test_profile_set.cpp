// The profiles go into and out of the register image without losing anything: signed words,
// hundredths of a volt that come back as the same word, the Always ON marker, the point mode
// bit and the active inputs; typed entries are clamped to what their registers hold; "Copy
// From" takes the source's snapshot, or its profile in the image when it has none.
#include <gtest/gtest.h>

#include <string>

#include "core/image/Conversions.h"
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

// Every word, all 32 input registers at a time, 8000 as -327.68 V.
TEST(ProfileSet, EveryVoltageWordIsStoredBackAsItWasLoaded) {
    RegisterImage image = Template("0004");
    ProfileSet profiles;
    for (unsigned base = 0; base <= 0xFFFF; base += 32) {
        for (int r = reg::PointInput(1, 1); r <= reg::PointInput(4, 8); ++r) {
            image.SetValue(r, base + unsigned(r - reg::PointInput(1, 1)));
        }
        profiles.Reload(image);
        RegisterImage stored = image;
        profiles.Store(stored);
        ASSERT_EQ(stored.Texts(), image.Texts()) << "words from " << base;
    }
}

// Two Point curves in order keep every word through a cleanup and a store: the word at point 1
// of fans 1 and 3 and at point 8 of fans 2 and 4 where it fits, points 2 to 7 a tenth below
// point 8, ON and OFF Always ON.
TEST(ProfileSet, CleanupKeepsEveryVoltageWordOfACurveInOrder) {
    RegisterImage image = Template("0004");
    for (unsigned word = 0; word <= 1000; ++word) {
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

// Every word in a temperature point, ON or OFF register comes back from the text its box shows:
// shown, typed back, stored. FC19 is the Always ON marker, which a switched fan never stores.
TEST(ProfileSet, EverySignedWordSurvivesItsBoxText) {
    RegisterImage image = Template();
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        image.SetValue(reg::PointInput(1, 1), word);
        image.SetValue(reg::FanOnValue(2), word);
        image.SetValue(reg::FanOffValue(3), word);
        ProfileSet profiles;
        profiles.Reload(image);
        profiles.SetPointInput(
            1, 1, FormatPointInput(profiles.Record(1).Point(1).x, InputKind::Temperature));
        // An Always ON fan's boxes show blanks and take no entry.
        if (word != reg::kAlwaysOn) {
            profiles.SetOnValue(2, FormatWhole(profiles.Record(2).OnValue()));
            profiles.SetOffValue(3, FormatWhole(profiles.Record(3).offValue));
        }
        RegisterImage stored = image;
        profiles.Store(stored);
        const std::string text = FormatHexWord(word);
        ASSERT_EQ(Words(stored, {reg::PointInput(1, 1), reg::FanOnValue(2), reg::FanOffValue(3)}),
                  text + " " + text + " " + text);
        ASSERT_EQ(stored.Text(reg::FanOffValue(2)),
                  word == reg::kAlwaysOn ? text : image.Text(reg::FanOffValue(2)));
    }
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

    image.SetValue(reg::FanOffValue(3), reg::kAlwaysOn);
    profiles.Reload(image);
    EXPECT_EQ(profiles.Record(1).OnValue(), -12);
    EXPECT_EQ(profiles.Record(2).onOffMode, OnOffMode::AlwaysOn);
    EXPECT_EQ(profiles.Record(3).onOffMode, OnOffMode::AlwaysOn) << "either register marks it";
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
        int index = reg::PointInput(1, 3);
        if (field == "input") {
            profiles.SetPointInput(1, 3, c.text);
        } else if (field == "speed") {
            profiles.SetPointSpeed(1, 3, c.text);
            index = reg::PointSpeed(1, 3);
        } else if (field == "on") {
            profiles.SetOnValue(1, c.text);
            index = reg::FanOnValue(1);
        } else {
            profiles.SetOffValue(1, c.text);
            index = reg::FanOffValue(1);
        }
        profiles.Store(image);
        EXPECT_EQ(image.Text(index), c.word) << c.mode << " " << c.field << " \"" << c.text << '"';
    }
}

TEST(ProfileSet, ScanRealReadsWhatTheCLibraryReadsButNoInfinities) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {{" 2.5", 2.5}, {"+.5", 0.5},    {"-1e1", -10.0}, {"2,5", 2.0},
                 {"0x10", 0.0}, {"1e-999", 0.0}, {"", {}},        {"abc", {}},
                 {"inf", {}},   {"-nan", {}},    {".", {}},       {"3.", 3.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScanReal(c.text), c.value) << '"' << c.text << '"';
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

} // namespace
