// The Fan Setting rules store exactly one word per edit, within 0..65535, into the fan's
// own register, and touch no option bit of register 184 but their own.
#include <gtest/gtest.h>

#include "core/FanSettings.h"
#include "core/RegisterLayout.h"

using namespace orvane;

namespace {

struct Rig {
    Rig() { image.LoadDefaultTemplate(); }
    CRegisterImage image;
    CFanSettings settings{image};
};

TEST(FanSettings, EntriesAreReadAsDecimalAndHeldToAWord) {
    const struct {
        const char* text;
        const char* word;
        const char* corrected; // nullptr: the field keeps what was typed
    } cases[] = {
        {"3000", "0BB8", nullptr},  {"", "0000", nullptr},      {"abc", "0000", nullptr},
        {" 12x", "000C", nullptr},  {"65535", "FFFF", nullptr}, {"65536", "FFFF", "65535"},
        {"99999", "FFFF", "65535"}, {"-5", "0000", "0"},        {"0007", "0007", nullptr},
    };
    for (const auto& c : cases) {
        Rig rig;
        const auto corrected = rig.settings.StoreEntry(reg::FanRampRate(2), c.text);
        EXPECT_EQ(rig.image.Text(reg::FanRampRate(2)), c.word) << "entry '" << c.text << "'";
        EXPECT_EQ(corrected.value_or("(kept)"), c.corrected ? c.corrected : "(kept)")
            << "entry '" << c.text << "'";
    }
}

TEST(FanSettings, RegistersShowAsTheirItemsOrAsNoneOfThem) {
    Rig rig;
    const struct {
        const char* word;
        std::optional<int> pulsesItem;
        const char* controlType;
        std::optional<bool> used;
    } cases[] = {
        {"0000", 0, "0-10V", false},
        {"0001", 1, "Open Collector", true},
        {"0002", 2, "Open Collector", std::nullopt},
        {"0004", std::nullopt, "Open Collector", std::nullopt},
        {"0006", 4, "Open Collector", std::nullopt},
    };
    for (const auto& c : cases) {
        rig.image.SetText(reg::FanPulsesPerRev(3), c.word);
        rig.image.SetText(reg::FanControlType(3), c.word);
        rig.image.SetText(reg::FanUsed(3), c.word);
        EXPECT_EQ(rig.settings.PulsesPerRevItem(3), c.pulsesItem) << "word " << c.word;
        EXPECT_EQ(rig.settings.ControlTypeText(3), c.controlType) << "word " << c.word;
        EXPECT_EQ(rig.settings.Used(3), c.used) << "word " << c.word;
    }
    rig.image.SetText(reg::FanMaxRpm(1), "0BB8");
    EXPECT_EQ(rig.settings.Decimal(reg::FanMaxRpm(1)), "3000");
}

TEST(FanSettings, OptionBitsChangeOnlyTheirOwnBitOfRegister184) {
    const struct {
        const char* before;
        bool daily; // false: the dummy fan link box is clicked
        bool checked;
        const char* after;
    } cases[] = {
        {"0010", true, false, "0000"},
        {"0003", false, true, "000B"},
        {"0022", true, true, "0032"},
        {"003A", false, false, "0032"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.image.SetText(kOptionRegister, c.before);
        if (c.daily) {
            rig.settings.SetDailyFanRun(c.checked);
        } else {
            rig.settings.SetDummyFanLink(c.checked);
        }
        EXPECT_EQ(rig.image.Text(kOptionRegister), c.after)
            << c.before << (c.daily ? " daily " : " dummy ") << c.checked;
        EXPECT_EQ(c.daily ? rig.settings.DailyFanRun() : rig.settings.DummyFanLink(), c.checked);
    }
}

} // namespace
