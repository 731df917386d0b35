// Every register named once by its page, each word shown as its page reads it, and the diffs.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/reports/Comparison.h"
#include "core/reports/ConfigDiff.h"
#include "core/reports/RegisterMap.h"

using namespace orvane;

namespace {

RegisterImage Template() {
    RegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// A field of the pages' tables: `name` with '@' and '#' for the first and second number (from 1),
// in `words` registers `wordStride` apart from first + (@ - 1) * strideA + (# - 1) * strideB.
struct LayoutRow {
    std::string_view page;
    std::string name;
    int first, strideA = 0, countA = 1, strideB = 0, countB = 1, words = 1, wordStride = 1;
};

} // namespace

// Fields a slip could plausibly move; any other slip overlaps a field or changes the unused ones.
TEST(RegisterMap, FieldsSitWhereThePagesPlaceThemAndEveryBitIsNamedOnce) {
    const RegisterMap& map = RegisterMap::Get();
    const LayoutRow rows[] = {
        {page::kStart, "Configuration File Name", 186, 0, 1, 0, 1, 23},
        {page::kStart, "Description", 212, 0, 1, 0, 1, 79},
        {page::kStart, "Date", 347, 0, 1, 0, 1, 10},
        {page::kMode, "Operating Mode", 183},
        {page::kFanSetting, "FAN @ Ramp Rate", 296, 1, 4},
        {page::kModBus, "Unit Number", 309},
        {page::kProfile, "Fan @ Point # Input", 4, 1, 4, 4, 8},
        {page::kProfile, "Fan @ Point # Speed", 39, 1, 4, 4, 8},
        {page::kProfile, "Fan @ Active Input", 165, 1, 4, 0, 1, 2, 4},
        {page::kAlarms, "Alarm @ Sensor # Low Limit", 100, 2, 6, 1, 2},
        {page::kAlarms, "Alarm @ Fan# Action", 136, 4, 6, 1, 4},
        {page::kAlarms, "Alarm @ Fan# Fail", 323, 4, 6, 1, 4},
    };
    for (const LayoutRow& row : rows) {
        for (int a = 1; a <= row.countA; ++a) {
            for (int b = 1; b <= row.countB; ++b) {
                std::string name = row.name;
                for (const auto& [mark, n] : {std::pair{'@', a}, std::pair{'#', b}}) {
                    if (const auto at = name.find(mark); at != std::string::npos) {
                        name.replace(at, 1, std::to_string(n));
                    }
                }
                std::vector<int> registers;
                registers.reserve(std::size_t(row.words));
                for (int w = 0; w < row.words; ++w) {
                    registers.push_back(row.first + (a - 1) * row.strideA + (b - 1) * row.strideB +
                                        w * row.wordStride);
                }
                const RegisterField* field = map.Find(name);
                ASSERT_NE(field, nullptr) << name;
                EXPECT_EQ(field->page, row.page) << name;
                EXPECT_EQ(field->registers, registers) << name;
            }
        }
    }
    std::set<std::string> names;
    for (const RegisterField& field : map.Fields()) {
        EXPECT_TRUE(names.insert(field.name).second) << "named twice: " << field.name;
        EXPECT_EQ(map.Find(field.name), &field);
    }
    constexpr std::pair<int, int> kUnusedRuns[] = {{36, 38},   {71, 72},   {85, 87},
                                                   {160, 160}, {177, 179}, {209, 210},
                                                   {291, 291}, {322, 322}, {357, 399}};
    std::vector<int> unused, unusedWanted;
    for (const auto& [first, last] : kUnusedRuns) {
        for (int r = first; r <= last; ++r) {
            unusedWanted.push_back(r);
        }
    }
    for (int r = 0; r < kRegisterCount; ++r) {
        unsigned covered = 0;
        for (const RegisterField* field : map.FieldsAt(r)) {
            EXPECT_EQ(covered & field->mask, 0u) << "register " << r << ": " << field->name;
            covered |= field->mask;
            if (field->name == "Register " + std::to_string(r) + " (unused)") {
                unused.push_back(r);
            }
        }
        EXPECT_EQ(covered, 0xFFFFu) << "register " << r << " has bits no field names";
    }
    EXPECT_EQ(unused, unusedWanted);
    const std::tuple<int, unsigned, const char*> bits[] = {
        {184, 0x10, "Fan Setting / Daily Fan Run"},
        {184, 0x08, "Fan Setting / Dummy Fan Link(Permitted)"},
        {184, 0x04, "Multi Point/Speed / Point Mode"},
        {184, 0x02, "Alarm Config. / Enable Power Relay PCB"},
        {184, 0x20, "Live Data / Log Data File"},
        {184, 0xFFC1, "Register 184 (unused bits)"},
        {185, 0x10, "ModBus / RS485 Baud Rate"},
        {185, 0x03, "ModBus / RS485 Parity"},
        {185, 0xFFEC, "Register 185 (unused bits)"},
    };
    for (const auto& [reg, mask, name] : bits) {
        std::string found;
        for (const RegisterField* field : map.FieldsAt(reg)) {
            found += field->mask == mask ? QualifiedName(*field) : "";
        }
        EXPECT_EQ(found, name) << "register " << reg << " mask " << mask;
    }
    EXPECT_TRUE(map.FieldsAt(-1).empty() && map.FieldsAt(kRegisterCount).empty());
    EXPECT_EQ(map.Find("no such field"), nullptr);
}

TEST(RegisterMap, WordsAreShownAsTheirPagesShowThem) {
    const std::string degrees = " \u00B0C";
    const struct {
        const char* field;
        std::vector<std::pair<int, const char*>> words; // set on the template first
        std::string shown;
    } cases[] = {
        {"FAN 1 Control Type", {{318, "0002"}}, "(word 0002)"},
        {"RS485 Parity", {{185, "0013"}}, "(code 3)"},
        {"Configuration File Name", {{186, "0000"}}, "(empty)"},
        {"Configuration File Name", {{187, "000D"}}, "D\\x0DFAULT"},
        {"Description", {{213, "00E9"}}, "C\xC3\xA9mment"},
        // Signed words in whole degrees, or hundredths of a volt in the voltage modes.
        {"Alarm 1 Sensor 1 Low Limit", {}, "(not used)"},
        {"Alarm 1 Sensor 1 Low Limit", {{100, "8000"}}, "-32768" + degrees},
        {"Alarm 1 Sensor 1 Low Limit", {{183, "0003"}, {100, "00D2"}}, "2.10 V"},
        {"Alarm 2 Hysteresis", {{301, "FFFB"}}, "65531" + degrees},
        {"Fan 1 Point 1 Input", {{183, "0003"}, {4, "FFF6"}}, "-0.10 V"},
        {"Fan 2 ON Value", {{183, "0003"}}, "6 V"}, // whole volts, not scaled
        {"Fan 2 OFF Value", {{162, "FC19"}}, "Always ON"},
        {"Fan 1 Point 8 Speed", {{183, "0002"}, {67, "0BB8"}}, "3000 RPM"},
        {"Fan 1 Active Input", {{165, "0000"}, {169, "0001"}}, "2"},
        {"Fan 1 Active Input", {{165, "0000"}}, "none"},
        {"Fan 1 Active Input", {{169, "0002"}}, "(words 0001 0002)"},
        {"Register 184 (unused bits)", {{184, "0141"}}, "0141"},
        {"RS485 Address", {{181, "zz"}}, "(text \"zz\")"},
    };
    for (const auto& c : cases) {
        RegisterImage image = Template();
        for (const auto& [reg, text] : c.words) {
            image.SetText(reg, text);
        }
        const RegisterField* field = RegisterMap::Get().Find(c.field);
        ASSERT_NE(field, nullptr) << c.field;
        EXPECT_EQ(ShowFieldValue(*field, image), c.shown)
            << "case " << c.field << " " << ::testing::PrintToString(c.words);
    }
}

// Two images compared field by field, page by page, and register by register.
TEST(ConfigDiff, NamesEachDifferenceByPageAndEachWrongRegisterWithBothWords) {
    RegisterImage before = Template();
    before.SetText(kChecksumIndex, "A544");
    RegisterImage after = before;
    after.SetText(100, "00D2"); // read in volts, as the new mode says
    after.SetText(183, "0003");
    after.SetText(297, "0019");
    after.SetText(184, "0014"); // two options of two pages in one register
    after.SetText(207, "0000"); // beyond the name's end: shows the same, still differs
    after.SetText(212, "0063"); // "comment"
    after.SetText(310, "0002"); // unchanged value, once more
    after.SetText(296, "000a"); // lower-case digits are the same number
    after.SetText(360, "1234");
    after.SetText(kChecksumIndex, "A545");
    std::vector<std::string> lines;
    for (const FieldDifference& d : DiffConfigurations(before, after)) {
        lines.push_back(DescribeDifference(d));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         // Long lines are split, not lists missing a comma.
                         // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
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
    // The compare dialog's list: the same lines under their pages' names.
    const auto& l = lines;
    const Comparison listed = CompareConfigurations(before, after, "the window", "the controller");
    EXPECT_EQ(ComparisonHeading(listed), "From the window to the controller: 8 settings differ");
    EXPECT_EQ(ComparisonList(listed), "Start\n" + l[0] + "\n" + l[1] + "\n\nMode\n" + l[2] +
                                          "\n\nFan Setting\n" + l[3] + "\n" + l[4] +
                                          "\n\nMulti Point/Speed\n" + l[5] + "\n\nAlarm Config.\n" +
                                          l[6] + "\n\nRegisters no page uses\n" + l[7]);
    const Comparison same = CompareConfigurations(before, before, "the window", "plant.txt");
    EXPECT_EQ(ComparisonHeading(same) + "|" + ComparisonList(same),
              "From the window to plant.txt: No differences|No differences");
    // One line of each kind: values shown, two fields, a text, unused, the checksum.
    lines.clear();
    for (const RegisterMismatch& m : CompareRegisters(before, after)) {
        lines.push_back(DescribeMismatch(m, before, after));
    }
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "register 100 (Alarm Config. / Alarm 1 Sensor 1 Low Limit): sent FF55 "
                        "(not used), read 00D2 (2.10 V)");
    EXPECT_EQ(lines[2], "register 184 (Fan Setting / Daily Fan Run, Multi Point/Speed / Point "
                        "Mode): sent 0000, read 0014");
    EXPECT_EQ(lines[4], "register 212 (Start / Description): sent 0043, read 0063");
    EXPECT_EQ(lines[6], "register 360 (Register 360 (unused)): sent FFFF, read 1234");
    EXPECT_EQ(lines[7], "checksum: sent A544, read A545");
    EXPECT_TRUE(DiffConfigurations(before, Template()).empty() &&
                CompareRegisters(before, before).empty());
}
