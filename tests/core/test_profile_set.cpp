// The profiles go into and out of the register image without losing anything: signed words,
// hundredths of a volt that come back as the same word, the Always ON marker, the point mode
// bit and the active inputs; typed entries are clamped to what their registers hold; "Copy
// From" takes the source's snapshot, or its profile in the image when it has none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ProfileSet.h"

using namespace orvane;
using namespace orvane::profile;

namespace {

CRegisterImage Template(const char* controlMode = "0001") {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(reg::kControlMode, controlMode);
    return image;
}

// Registers first..last as "i=TEXT" where they differ between the two images.
std::string Differences(const CRegisterImage& before, const CRegisterImage& after) {
    std::string out;
    for (int i = 0; i < kRegisterCount; ++i) {
        if (before.Text(i) != after.Text(i)) {
            out += " " + std::to_string(i) + "=" + after.Text(i);
        }
    }
    return out;
}

TEST(ProfileSet, EveryVoltageWordFrom0To1000SurvivesLoadCleanupAndStore) {
    for (const char* mode : {"0003", "0004"}) {
        for (unsigned word = 0; word <= 1000; ++word) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " word " << word);
            CRegisterImage image = Template(mode);
            // Two Point curves in order: fans 1 and 3 carry the word at point 1 (below
            // 10 V), fans 2 and 4 at point 8 (above 0 V); points 2 to 7 sit a tenth below 8.
            for (int fan = 1; fan <= 4; ++fan) {
                const bool atPoint1 = fan % 2 == 1 && word < 1000;
                const unsigned point1 = atPoint1 ? word : (word >= 10 ? 0 : 500);
                const unsigned point8 = atPoint1 || word < 10 ? 1000 : word;
                image.SetValue(reg::PointInput(fan, 1), point1);
                for (int p = 2; p <= 7; ++p) {
                    image.SetValue(reg::PointInput(fan, p), point8 - 10);
                }
                image.SetValue(reg::PointInput(fan, 8), point8);
                image.SetValue(reg::FanOnValue(fan), reg::kAlwaysOn);
                image.SetValue(reg::FanOffValue(fan), reg::kAlwaysOn);
            }
            CProfileSet profiles;
            profiles.Reload(image);
            profiles.CleanupAll();
            CRegisterImage stored = image;
            profiles.Store(stored);
            ASSERT_EQ(Differences(image, stored), "");
        }
    }
}

TEST(ProfileSet, StoresSignedWordsMarkersModeBitAndInputs) {
    CRegisterImage image = Template();
    image.SetValue(kOptionRegister, 0x0023); // bits of other pages
    CProfileSet profiles;
    profiles.Reload(image);
    profiles.SetPointInput(1, 1, "-10");
    profiles.SetOnValue(1, "-12");
    profiles.SetOffValue(1, "-13");
    profiles.SetAlwaysOn(2);
    profiles.SetActiveInput(1, ActiveInput::Input2);
    profiles.SetActiveInput(2, ActiveInput::Either);
    profiles.SetActiveInput(3, ActiveInput::None);
    profiles.Store(image);
    EXPECT_EQ(image.Text(reg::PointInput(1, 1)), "FFF6");
    EXPECT_EQ(image.Text(reg::FanOnValue(1)) + image.Text(reg::FanOffValue(1)), "FFF4FFF3");
    EXPECT_EQ(image.Text(reg::FanOnValue(2)) + image.Text(reg::FanOffValue(2)), "FC19FC19");
    EXPECT_EQ(image.Text(reg::FanInput1Active(1)) + image.Text(reg::FanInput2Active(1)),
              "00000001");
    EXPECT_EQ(image.Text(reg::FanInput1Active(2)) + image.Text(reg::FanInput2Active(2)),
              "00010001");
    EXPECT_EQ(image.Text(reg::FanInput1Active(3)) + image.Text(reg::FanInput2Active(3)), "00010000")
        << "no active input leaves both registers as they were";
    EXPECT_EQ(image.Text(kOptionRegister), "0023") << "all fans Two Point";

    profiles.SetPointMode(PointMode::MultiPoint);
    profiles.Store(image);
    EXPECT_EQ(image.Text(kOptionRegister), "0027");

    // Reloaded: the marker makes the fan Always ON; "0000" in both inputs is no input.
    image.SetValue(reg::FanInput1Active(4), 0);
    image.SetValue(reg::FanInput2Active(4), 0);
    profiles.Reload(image);
    EXPECT_EQ(profiles.Record(2).onOffMode, OnOffMode::AlwaysOn);
    EXPECT_EQ(profiles.Record(1).OnValue(), -12);
    EXPECT_EQ(profiles.Record(1).pointMode, PointMode::MultiPoint);
    EXPECT_EQ(profiles.Record(2).activeInput, ActiveInput::Either);
    EXPECT_EQ(profiles.Record(4).activeInput, ActiveInput::None);
}

TEST(ProfileSet, TypedEntriesAreClampedToTheirRegistersNeverWrapped) {
    struct Case {
        const char* mode;
        const char* field;
        const char* text;
        const char* word;
    };
    const Case cases[] = {
        {"0001", "input", "-10", "FFF6"},    {"0001", "input", "40000", "7FFF"},
        {"0001", "input", "-40000", "8000"}, {"0001", "input", " 12abc", "000C"},
        {"0001", "input", "x", "0000"},      {"0003", "input", "2.5", "00FA"},
        {"0003", "input", "2.55", "00FF"},   {"0003", "input", "0.29", "001D"},
        {"0003", "input", "-1.5", "FF6A"},   {"0003", "input", "400", "7FFF"},
        {"0003", "input", "-1e9", "8000"},   {"0003", "input", "inf", "0000"},
        {"0001", "speed", "99999", "FFFF"},  {"0002", "speed", "65535", "FFFF"},
        {"0001", "on", "99999", "7FFF"},     {"0003", "on", "2.9", "0002"},
        {"0001", "off", "-99999", "8000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.field << " \"" << c.text << '"');
        CRegisterImage image = Template(c.mode);
        CProfileSet profiles;
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
        EXPECT_EQ(image.Text(index), c.word);
    }
}

TEST(ProfileSet, ScanRealReadsWhatTheCLibraryReadsButNoInfinities) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {{" 2.5", 2.5}, {"+.5", 0.5},    {"-1e1", -10.0}, {"2,5", 2.0},
                          {"0x10", 0.0}, {"1e-999", 0.0}, {"", {}},        {"abc", {}},
                          {"inf", {}},   {"-nan", {}},    {".", {}},       {"3.", 3.0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ScanReal(c.text), c.value) << '"' << c.text << '"';
    }
    EXPECT_GT(ScanReal("1e999").value_or(0), 1e300);
}

TEST(ProfileSet, ReloadKeepsTheLastKnownTypeForAnUnknownMode) {
    CRegisterImage image = Template("0004");
    image.SetValue(reg::FanMaxRpm(2), 4000);
    CProfileSet profiles;
    profiles.Reload(image);
    EXPECT_EQ(profiles.Type(), (ProfileType{InputKind::Voltage, SpeedUnit::Rpm, 4000}));
    EXPECT_DOUBLE_EQ(profiles.Record(1).Point(1).x, 0.25);

    image.SetText(reg::kControlMode, "0007");
    profiles.Reload(image);
    EXPECT_TRUE(profiles.Type().IsVoltage()) << "units and limits stay as they were";
    EXPECT_DOUBLE_EQ(profiles.Record(1).Point(1).x, 0.25);
}

TEST(ProfileSet, CopyTakesTheSourceSnapshotOrElseItsProfileInTheImage) {
    CRegisterImage image = Template();
    image.SetValue(reg::FanOnValue(3), reg::kAlwaysOn);
    image.SetValue(reg::PointInput(3, 1), 10);
    CProfileSet profiles;
    profiles.Reload(image);

    // Fan 1 as it was when selected, not as edited since.
    profiles.Cleanup(1);
    profiles.TakeSnapshot(1);
    const ProfileRecord selected = profiles.Record(1);
    profiles.SetOnValue(1, "3");
    profiles.SetAlwaysOn(1);
    profiles.CopyFrom(1, 2, image);
    EXPECT_EQ(profiles.Record(2), selected);

    // Fan 3 was never selected: its profile comes from the image, cleaned up.
    profiles.SetPointMode(PointMode::MultiPoint);
    profiles.CopyFrom(3, 4, image);
    const ProfileRecord& copied = profiles.Record(4);
    EXPECT_EQ(copied.onOffMode, OnOffMode::AlwaysOn);
    EXPECT_EQ(copied.pointMode, PointMode::TwoPoint) << "the image's point mode";
    EXPECT_EQ(copied.Point(1).x, 10);
    EXPECT_EQ(copied.Point(2).x, 49) << "cleaned up as Two Point";
    EXPECT_EQ(copied.start, (ProfilePoint{-20, 30}));
}

} // namespace
