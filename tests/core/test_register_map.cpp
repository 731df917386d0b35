// Every register is named once, by the page that owns it and the label it has there, each word is
// shown as its page reads it, and a difference between two images is never lost or misnamed.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ConfigDiff.h"
#include "core/RegisterMap.h"

using namespace orvane;

namespace {

const CRegisterMap& Map() {
    return CRegisterMap::Get();
}

CRegisterImage Template() {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// The whole-word field of a register, or the field holding `bit` of an option register.
const RegisterField* FieldAt(int reg, unsigned bit = 0xFFFF) {
    for (const RegisterField* field : Map().FieldsAt(reg)) {
        if ((field->mask & bit) == bit) {
            return field;
        }
    }
    return nullptr;
}

std::string NameAt(int reg, unsigned bit = 0xFFFF) {
    const RegisterField* field = FieldAt(reg, bit);
    return field ? QualifiedName(*field) : "(none)";
}

} // namespace

// Who uses which registers, as the register image's documentation lists it; every register
// outside these ranges except the option register 184 is unused. The alarm range 73 to 159
// holds three words no alarm row uses (85 to 87, unassigned in the template).
TEST(RegisterMap, EveryRegisterBelongsToTheDocumentedPageOnce) {
    const struct {
        int first, last;
        std::string_view page;
    } owners[] = {
        {0, 3, page::kFanSetting},     {4, 35, page::kProfile},   {39, 70, page::kProfile},
        {73, 84, page::kAlarms},       {88, 159, page::kAlarms},  {161, 176, page::kProfile},
        {180, 180, page::kFanSetting}, {181, 181, page::kModBus}, {182, 183, page::kMode},
        {186, 208, page::kStart},      {211, 211, page::kStart},  {212, 290, page::kStart},
        {292, 299, page::kFanSetting}, {300, 305, page::kAlarms}, {306, 309, page::kModBus},
        {310, 321, page::kFanSetting}, {323, 346, page::kAlarms}, {347, 356, page::kStart},
    };
    std::map<int, std::string_view> owner;
    for (const auto& range : owners) {
        for (int r = range.first; r <= range.last; ++r) {
            owner[r] = range.page;
        }
    }
    std::set<std::string> names;
    for (const RegisterField& field : Map().Fields()) {
        EXPECT_TRUE(names.insert(field.name).second) << "named twice: " << field.name;
    }
    for (int r = 0; r < kRegisterCount; ++r) {
        unsigned covered = 0;
        for (const RegisterField* field : Map().FieldsAt(r)) {
            EXPECT_EQ(covered & field->mask, 0u) << "register " << r << ": " << field->name;
            covered |= field->mask;
        }
        EXPECT_EQ(covered, 0xFFFFu) << "register " << r << " has bits no field names";
        if (r == kOptionRegister || r == 185) {
            continue; // bit fields of several pages, checked below
        }
        ASSERT_EQ(Map().FieldsAt(r).size(), 1u) << "register " << r;
        const RegisterField& field = *Map().FieldsAt(r).front();
        if (owner.count(r)) {
            EXPECT_EQ(field.page, owner[r]) << "register " << r << ": " << field.name;
        } else {
            EXPECT_EQ(field.name, "Register " + std::to_string(r) + " (unused)");
        }
    }
    EXPECT_TRUE(Map().FieldsAt(-1).empty() && Map().FieldsAt(kRegisterCount).empty());
}

// The pages' labels at the registers and bits their tables give.
TEST(RegisterMap, NamesComeFromThePagesTables) {
    const struct {
        int reg;
        unsigned bit;
        const char* name;
    } cases[] = {
        {297, 0xFFFF, "Fan Setting / FAN 2 Ramp Rate"},
        {292, 0xFFFF, "Fan Setting / FAN 1 Data Sheet Max Fan RPM"},
        {312, 0xFFFF, "Fan Setting / FAN 3 Pulse / Rev"},
        {3, 0xFFFF, "Fan Setting / FAN 4 Used"},
        {314, 0xFFFF, "Fan Setting / FAN 1 Stationary PWM"},
        {321, 0xFFFF, "Fan Setting / FAN 4 Control Type"},
        {180, 0xFFFF, "Fan Setting / PWM Freq(KHz)"},
        {184, 0x10, "Fan Setting / Daily Fan Run"},
        {184, 0x08, "Fan Setting / Dummy Fan Link(Permitted)"},
        {184, 0x04, "Multi Point/Speed / Point Mode"},
        {184, 0x02, "Alarm Config. / Enable Power Relay PCB"},
        {184, 0x20, "Live Data / Log Data File"},
        {184, 0x01, "Register 184 (unused bits)"},
        {185, 0x10, "ModBus / RS485 Baud Rate"},
        {185, 0x03, "ModBus / RS485 Parity"},
        {185, 0x0C, "Register 185 (unused bits)"},
        // Alarm rows: the documented register lists (73, 75, ... and so on).
        {77, 0xFFFF, "Alarm Config. / Alarm 3 Switch Input 1"},
        {84, 0xFFFF, "Alarm Config. / Alarm 6 Switch Input 2"},
        {89, 0xFFFF, "Alarm Config. / Alarm 1 Sensor 2 Fail"},
        {98, 0xFFFF, "Alarm Config. / Alarm 6 Sensor 1 Fail"},
        {100, 0xFFFF, "Alarm Config. / Alarm 1 Sensor 1 Low Limit"},
        {111, 0xFFFF, "Alarm Config. / Alarm 6 Sensor 2 Low Limit"},
        {119, 0xFFFF, "Alarm Config. / Alarm 4 Sensor 2 High Limit"},
        {129, 0xFFFF, "Alarm Config. / Alarm 6 Relay State"},
        {134, 0xFFFF, "Alarm Config. / Alarm 5 Delta"},
        {143, 0xFFFF, "Alarm Config. / Alarm 2 Fan4 Action"},
        {159, 0xFFFF, "Alarm Config. / Alarm 6 Fan4 Action"},
        {300, 0xFFFF, "Alarm Config. / Alarm 1 Hysteresis"},
        {329, 0xFFFF, "Alarm Config. / Alarm 2 Fan3 Fail"},
        {346, 0xFFFF, "Alarm Config. / Alarm 6 Fan4 Fail"},
        // Profiles: points 1 to 8 of fans 1 to 4 interleaved from 4 and from 39.
        {4, 0xFFFF, "Multi Point/Speed / Fan 1 Point 1 Input"},
        {12, 0xFFFF, "Multi Point/Speed / Fan 1 Point 3 Input"},
        {35, 0xFFFF, "Multi Point/Speed / Fan 4 Point 8 Input"},
        {47, 0xFFFF, "Multi Point/Speed / Fan 1 Point 3 Speed"},
        {70, 0xFFFF, "Multi Point/Speed / Fan 4 Point 8 Speed"},
        {162, 0xFFFF, "Multi Point/Speed / Fan 2 OFF Value"},
        {174, 0xFFFF, "Multi Point/Speed / Fan 2 ON Value"},
        {167, 0xFFFF, "Multi Point/Speed / Fan 3 Active Input"},
        {171, 0xFFFF, "Multi Point/Speed / Fan 3 Active Input"},
        {182, 0xFFFF, "Mode / Project Mode"},
        {183, 0xFFFF, "Mode / Operating Mode"},
        {181, 0xFFFF, "ModBus / RS485 Address"},
        {306, 0xFFFF, "ModBus / Customer Number"},
        {309, 0xFFFF, "ModBus / Unit Number"},
        {186, 0xFFFF, "Start / Configuration File Name"},
        {208, 0xFFFF, "Start / Configuration File Name"},
        {211, 0xFFFF, "Start / Set Config File Issue"},
        {290, 0xFFFF, "Start / Description"},
        {356, 0xFFFF, "Start / Date"},
        {399, 0xFFFF, "Register 399 (unused)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameAt(c.reg, c.bit), c.name) << "register " << c.reg << " bit " << c.bit;
    }
    const RegisterField* input = Map().Find("Fan 3 Active Input");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->registers, (std::vector<int>{167, 171}));
    EXPECT_EQ(Map().Find("Configuration File Name")->registers.size(), 23u);
    EXPECT_EQ(Map().Find("no such field"), nullptr);
}

TEST(RegisterMap, WordsAreShownAsTheirPagesShowThem) {
    const std::string degrees = " \u00B0C";
    const struct {
        const char* field;
        std::vector<std::pair<int, const char*>> words; // set on the template first
        std::string shown;
    } cases[] = {
        {"FAN 2 Ramp Rate", {}, "10"},
        {"FAN 1 Control Type", {{318, "0000"}}, "0-10V"},
        {"FAN 1 Control Type", {{318, "0002"}}, "(word 0002)"},
        {"FAN 4 Used", {{3, "0000"}}, "no"},
        {"Daily Fan Run", {{184, "0013"}}, "yes"},
        {"Point Mode", {{184, "0004"}}, "Multi Point"},
        {"RS485 Baud Rate", {{185, "0011"}}, "19200"},
        {"RS485 Parity", {{185, "0011"}}, "Even"},
        {"RS485 Parity", {{185, "0013"}}, "(code 3)"},
        {"Customer Number", {}, "65535"},
        {"Operating Mode", {{183, "0004"}}, "0-10V input sets Fan RPM (Closed Loop)"},
        {"Project Mode", {}, "0 : Project Specific Mode unused"},
        {"Project Mode", {{182, "005A"}}, "Undefined Project Mode"},
        {"Project Mode", {{182, "0007"}}, "(word 0007)"},
        {"Configuration File Name", {}, "DEFAULT"},
        {"Configuration File Name", {{186, "0000"}}, "(empty)"},
        {"Configuration File Name", {{187, "000D"}}, "D\\x0DFAULT"},
        {"Description", {{213, "00E9"}}, "C\xC3\xA9mment"},
        {"Set Config File Issue", {{211, "000C"}}, "12"},
        // Signed words in whole degrees, or hundredths of a volt in the voltage modes.
        {"Alarm 1 Sensor 1 Low Limit", {}, "(not used)"},
        {"Alarm 1 Sensor 1 Low Limit", {{100, "FFFB"}}, "-5" + degrees},
        {"Alarm 1 Sensor 1 Low Limit", {{100, "8000"}}, "32768" + degrees},
        {"Alarm 1 Sensor 1 Low Limit", {{100, "8001"}}, "-32767" + degrees},
        {"Alarm 1 Sensor 1 Low Limit", {{183, "0003"}, {100, "00D2"}}, "2.10 V"},
        {"Alarm 5 Delta", {{183, "0004"}, {134, "FFFB"}}, "-0.05 V"},
        {"Alarm 2 Hysteresis", {{183, "0004"}, {301, "00E6"}}, "2.30 V"},
        {"Alarm 2 Hysteresis", {{301, "FFFB"}}, "65531" + degrees},
        {"Fan 1 Point 1 Input", {{4, "FFF6"}}, "-10" + degrees},
        {"Fan 1 Point 1 Input", {{183, "0003"}, {4, "00FA"}}, "2.50 V"},
        {"Fan 2 ON Value", {}, "6" + degrees},
        {"Fan 2 ON Value", {{183, "0003"}}, "6 V"}, // whole volts, not scaled
        {"Fan 2 OFF Value", {{162, "FC19"}}, "Always ON"},
        {"Fan 1 Point 8 Speed", {}, "90 %"},
        {"Fan 1 Point 8 Speed", {{183, "0002"}, {67, "0BB8"}}, "3000 RPM"},
        {"Alarm 2 Fan4 Action", {}, "(not used)"},
        {"Alarm 2 Fan4 Action", {{143, "0064"}}, "100 %"},
        {"Alarm 3 Switch Input 1", {}, "Ignored"},
        {"Alarm 3 Switch Input 1", {{77, "0001"}}, "High"},
        {"Alarm 2 Fan3 Fail", {{329, "0003"}}, "yes"},
        {"Alarm 2 Fan3 Fail", {{329, "0001"}}, "(word 0001)"},
        {"Alarm 1 Sensor 2 Fail", {{89, "0002"}}, "yes"},
        {"Alarm 6 Relay State", {}, "Closed"},
        {"Fan 1 Active Input", {}, "1"},
        {"Fan 1 Active Input", {{169, "0001"}}, "1 or 2"},
        {"Fan 1 Active Input", {{165, "0000"}, {169, "0001"}}, "2"},
        {"Fan 1 Active Input", {{165, "0000"}}, "none"},
        {"Fan 1 Active Input", {{169, "0002"}}, "(words 0001 0002)"},
        {"Register 36 (unused)", {}, "FFFF"},
        {"Register 184 (unused bits)", {{184, "0141"}}, "0141"},
        {"RS485 Address", {{181, "zz"}}, "(text \"zz\")"},
    };
    for (const auto& c : cases) {
        CRegisterImage image = Template();
        for (const auto& [reg, text] : c.words) {
            image.SetText(reg, text);
        }
        const RegisterField* field = Map().Find(c.field);
        ASSERT_NE(field, nullptr) << c.field;
        EXPECT_EQ(ShowFieldValue(*field, image), c.shown)
            << "case " << c.field << " " << ::testing::PrintToString(c.words);
    }
}

TEST(ConfigDiff, NamesEachDifferenceByPageInPageOrder) {
    const CRegisterImage before = Template();
    CRegisterImage after = Template();
    after.SetText(100, "00D2"); // read in volts, as the new mode says
    after.SetText(183, "0003");
    after.SetText(297, "0019");
    after.SetText(184, "0014"); // two options of two pages in one register
    after.SetText(207, "0000"); // beyond the name's end: shows the same, still differs
    after.SetText(212, "0063"); // "comment"
    after.SetText(310, "0002"); // unchanged value, once more
    after.SetText(296, "000a"); // lower-case digits are the same number
    after.SetText(360, "1234");
    std::vector<std::string> lines;
    for (const FieldDifference& d : DiffConfigurations(before, after)) {
        lines.push_back(DescribeDifference(d));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Start / Configuration File Name: DEFAULT (register 207 FFFF) -> "
                         "DEFAULT (register 207 0000)",
                         "Start / Description: Comment -> comment",
                         "Mode / Operating Mode: Temperature sets PWM Output (Open Loop) -> "
                         "0-10V input sets PWM Output (Open Loop)",
                         "Fan Setting / FAN 2 Ramp Rate: 10 -> 25",
                         "Fan Setting / Daily Fan Run: no -> yes",
                         "Multi Point/Speed / Point Mode: Two Point -> Multi Point",
                         "Alarm Config. / Alarm 1 Sensor 1 Low Limit: (not used) -> 2.10 V",
                         "Register 360 (unused): FFFF -> 1234",
                     }));
    EXPECT_TRUE(DiffConfigurations(before, Template()).empty());
}

TEST(ConfigDiff, ARegisterReadBackWronglyIsNamedWithBothWords) {
    CRegisterImage sent = Template();
    sent.SetText(kChecksumIndex, "A544");
    CRegisterImage read = sent;
    read.SetText(297, "000B");
    read.SetText(184, "0014");
    read.SetText(190, "0056");
    read.SetText(kChecksumIndex, "A545");
    read.SetText(296, "000a"); // case alone is no difference
    std::vector<std::string> lines;
    for (const RegisterMismatch& m : CompareRegisters(sent, read)) {
        lines.push_back(DescribeMismatch(m, sent, read));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "register 184 (Fan Setting / Daily Fan Run, Multi Point/Speed / Point "
                         "Mode): sent 0000, read 0014",
                         "register 190 (Start / Configuration File Name): sent 0055, read 0056",
                         "register 297 (Fan Setting / FAN 2 Ramp Rate): sent 000A (10), read 000B "
                         "(11)",
                         "checksum: sent A544, read A545",
                     }));
    EXPECT_TRUE(CompareRegisters(sent, sent).empty());
}
