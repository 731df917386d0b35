// The Start, Mode and ModBus pages turn what is typed or chosen into exactly the register words
// the controller expects, within bounds, and keep the bits of shared words they do not own.
#include <gtest/gtest.h>

#include <string>

#include "core/ModBusRules.h"
#include "core/ModeRules.h"
#include "core/StartPageRules.h"
#include "core/TypedEntry.h"

using namespace orvane;

namespace {

// Registers first to last as one text, "|" between them.
std::string Words(const CRegisterImage& image, int first, int last) {
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

CRegisterImage Filled(const std::string& word) {
    CRegisterImage image;
    for (int i = 0; i < kRegisterCount; ++i) {
        image.SetText(i, word);
    }
    return image;
}

} // namespace

// Characters from the field's first register, "0000" up to the pad limit, the last register
// only by a character of its own or when the text would otherwise run into it.
TEST(StartPageRules, TextFieldsStoreOneCharacterPerRegisterAndEndWhereTheTextEnds) {
    const struct {
        const char* name;
        TextEntry entry;
        std::u16string typed;
        std::string want; // the field's registers
    } cases[] = {
        {"name AB", kNameEntry, u"AB", "0041|0042|" + Repeat("0000", 20) + "|7777"},
        {"name empty", kNameEntry, u"", Repeat("0000", 22) + "|7777"},
        {"name 22", kNameEntry, std::u16string(22, u'x'), Repeat("0078", 22) + "|0000"},
        {"name 23", kNameEntry, std::u16string(23, u'x'), Repeat("0078", 23)},
        {"name 24 cut", kNameEntry, std::u16string(24, u'x'), Repeat("0078", 23)},
        {"name Latin-1", kNameEntry, u"\u00e9\u00ff", "00E9|00FF|" + Repeat("0000", 20) + "|7777"},
        {"description C", kDescriptionEntry, u"C", "0043|" + Repeat("0000", 78)},
        {"description 79", kDescriptionEntry, std::u16string(79, u'd'), Repeat("0064", 79)},
        {"date 1/2", kDateEntry, u"1/2", "0031|002F|0032|" + Repeat("0000", 6) + "|7777"},
        {"date 9", kDateEntry, u"1/12/2024", "0031|002F|0031|0032|002F|0032|0030|0032|0034|0000"},
        {"date 10", kDateEntry, u"01/12/2024", "0030|0031|002F|0031|0032|002F|0032|0030|0032|0034"},
    };
    for (const auto& c : cases) {
        CRegisterImage image = Filled("7777");
        StoreTextField(image, c.entry, c.typed);
        const TextField field = c.entry.field;
        EXPECT_EQ(Words(image, field.first, field.last), c.want) << "case " << c.name;
        EXPECT_EQ(image.Text(field.first - 1) + image.Text(field.last + 1), "77777777")
            << "case " << c.name;
    }
}

TEST(StartPageRules, TypedNumbersStayWithinTheirBounds) {
    const struct {
        const char* typed;
        bool digits, issueAccepted; // issue and RS485 address: at most 65535
        const char* issueStored;
    } cases[] = {
        {"", true, true, "0000"},       {"12", true, true, "000C"},
        {"00012", true, true, "000C"},  {"65535", true, true, "FFFF"},
        {"65536", true, false, "FFFF"}, {"99999999999", true, false, "FFFF"},
        {"1a", false, false, "0001"},   {"-1", false, false, "0000"},
        {" 5", false, false, "0005"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        EXPECT_EQ(IsDigitsText(c.typed), c.digits);
        EXPECT_EQ(IsBoundedNumberText(c.typed, kLargestWord), c.issueAccepted);
        CRegisterImage image;
        StoreIssue(image, c.typed);
        StoreRs485Address(image, c.typed);
        EXPECT_EQ(image.Text(kIssueRegister), c.issueStored);
        EXPECT_EQ(image.Text(reg::kRs485Address), c.issueStored);
    }
}

TEST(StartPageRules, OnlyPrintableOneByteCharactersMayBeTyped) {
    for (const char16_t c : {u' ', u'A', u'~', u'\u00a0', u'\u00e9', u'\u00ff'}) {
        EXPECT_TRUE(IsStorableCharacter(c)) << int(c);
    }
    for (const char16_t c : {u'\0', u'\t', u'\n', u'\x7f', u'\x85', u'\u0100', u'\u20ac'}) {
        EXPECT_FALSE(IsStorableCharacter(c)) << int(c);
    }
    EXPECT_EQ(CountUnstorable(u"a\u20acb\uffff\t"), 3);
}

TEST(ModeRules, EachOperatingModeSetsItsWordsAndTheModeField) {
    const struct {
        reg::ControlMode mode;
        const char *label, *controlMode, *hysteresis, *modeField;
    } cases[] = {
        {reg::ControlMode::TemperaturePwm, "  Temperature sets PWM Output (Open Loop)", "0001",
         "0001", "1"},
        {reg::ControlMode::TemperatureRpm, "  Temperature sets Fan RPM (Closed Loop)", "0002",
         "0001", "2"},
        {reg::ControlMode::VoltagePwm, "  0-10V input sets PWM Output (Open Loop)", "0003", "0000",
         "3"},
        {reg::ControlMode::VoltageRpm, "  0-10V input sets Fan RPM (Closed Loop)", "0004", "0000",
         "4"},
    };
    ASSERT_EQ(OperatingModes().size(), 4u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(std::string(OperatingModes()[static_cast<unsigned>(c.mode) - 1].label), c.label);
        CRegisterImage image = Filled("5555");
        EXPECT_EQ(ApplyOperatingMode(image, c.mode), c.modeField);
        EXPECT_EQ(image.Text(reg::kControlMode), c.controlMode);
        EXPECT_EQ(Words(image, 300, 305), Repeat(c.hysteresis, 6));
        EXPECT_EQ(Words(image, 299, 299) + Words(image, 306, 306) + image.Text(182),
                  "555555555555");
        EXPECT_EQ(ShownOperatingMode(image), c.mode);
    }
    // Register 183 is read as a decimal number: only 1 to 4 check a button.
    for (const char* other : {"0000", "0005", "000A", "0010", "FFFF", "xyz"}) {
        CRegisterImage image;
        image.SetText(reg::kControlMode, other);
        EXPECT_EQ(ShownOperatingMode(image), std::nullopt) << other;
    }
}

TEST(ModeRules, ProjectModeItemsAndTheirWords) {
    const struct {
        const char* item;
        const char* word;
    } items[] = {
        {"Undefined Project Mode", "005A"},
        {"0 : Project Specific Mode unused", "0000"},
        {"1 : Project 12185, Master", "0001"},
        {"2 : Project 12185, Slave", "0002"},
        {"3 : Project 12190 or 12632, Eco", "0003"},
        {"4 : Webserver RS485 Slave", "0004"},
        {"5 : NTC2 Switch Silences Alarm Output 1", "0005"},
        {"6 : MODBUS_FCU", "0006"},
    };
    ASSERT_EQ(ProjectModes().size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(items[i].item);
        EXPECT_EQ(std::string(ProjectModes()[i].text), items[i].item);
        CRegisterImage image;
        EXPECT_TRUE(StoreProjectMode(image, items[i].item));
        EXPECT_EQ(image.Text(reg::kProjectMode), items[i].word);
        EXPECT_EQ(ShownProjectMode(image), items[i].item);
    }
    for (const char* other : {"0007", "FFFF", "0106", "nope"}) {
        CRegisterImage image;
        image.SetText(reg::kProjectMode, other);
        EXPECT_EQ(ShownProjectMode(image), "Undefined Project Mode") << other;
        EXPECT_FALSE(StoreProjectMode(image, "6 : MODBUS_FCU ")) << other;
        EXPECT_EQ(image.Text(reg::kProjectMode), other);
    }
}

TEST(ModBusRules, SiteNumbersAreClampedAndTheBoxCorrected) {
    const struct {
        const char* typed;
        int largest;
        unsigned value;
        const char* replacement; // "" when the text stays
    } cases[] = {
        {"", 9999, 1, "1"},       {"0", 9999, 1, "1"},           {"1", 9999, 1, ""},
        {"9999", 9999, 9999, ""}, {"12345", 9999, 9999, "9999"}, {"65535", 9999, 9999, "9999"},
        {"999", 999, 999, ""},    {"1000", 999, 999, "999"},
    };
    for (const auto& c : cases) {
        const ClampedNumber got = ClampSiteNumber(c.typed, c.largest);
        EXPECT_EQ(got.value, c.value) << c.typed << " up to " << c.largest;
        EXPECT_EQ(got.replacement.value_or(""), c.replacement) << c.typed << " up to " << c.largest;
    }
    EXPECT_EQ(kSiteNumbers[0].reg, 306);
    EXPECT_EQ(kSiteNumbers[3].reg, 309);
}

// What the lists show for register 185, and the word after both write-backs of a tick.
TEST(ModBusRules, SerialSettingsShownAndWrittenBack) {
    const struct {
        unsigned word;
        const char *baud, *parity;
        unsigned afterTick; // the lists left as shown
    } shown[] = {
        {0x0000, "9600", "None", 0x0000},  {0x0011, "19200", "Even", 0x0011},
        {0x0012, "19200", "Odd", 0x0012},  {0x0003, "9600", "Even", 0x0001},
        {0x000F, "9600", "Even", 0x000D},  {0xFFFF, "19200", "Even", 0x00FD},
        {0x00C0, "19200", "Even", 0x00D1}, {0x0120, "9600", "None", 0x0020},
    };
    for (const auto& c : shown) {
        SCOPED_TRACE(::testing::Message() << "register 185 = " << std::hex << c.word);
        EXPECT_EQ(BaudShown(c.word), c.baud);
        EXPECT_EQ(ParityShown(c.word), c.parity);
        EXPECT_EQ(BaudWriteBack(ParityWriteBack(c.word, c.parity), c.baud), c.afterTick);
    }
    const struct {
        const char* text;
        unsigned parity, baud; // from 0x01FF
    } texts[] = {
        {"None", 0xFC, 0xFF},      {"Even", 0xFD, 0xFF},  {"Odd", 0xFE, 0xFF},
        {"9600", 0xFD, 0xEF},      {"19200", 0xFD, 0xFF}, {"", 0xFD, 0xFF},
        {"9600 baud", 0xFD, 0xEF},
    };
    for (const auto& c : texts) {
        EXPECT_EQ(ParityWriteBack(0x01FF, c.text), c.parity) << "text \"" << c.text << '"';
        EXPECT_EQ(BaudWriteBack(0x01FF, c.text), c.baud) << "text \"" << c.text << '"';
    }
}
