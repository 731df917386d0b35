// JSON and CSV written for scripts and spreadsheets are well-formed whatever text they carry.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/reports/CsvWriter.h"
#include "core/reports/JsonWriter.h"
#include "core/reports/LiveCsv.h"

using namespace orvane;

TEST(JsonWriter, QuotesAnyTextAsValidJson) {
    const std::tuple<std::string, const char*> cases[] = {
        {"DEFAULT", R"("DEFAULT")"},
        {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
        {"ORV\r\n\tx\x01\x7F", R"("ORV\r\n\tx\u0001\u007F")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
        {"2 \u00B0C \u20AC \U0001F600", "\"2 \u00B0C \u20AC \U0001F600\""}, // UTF-8 passes through
        {"\xB0", R"("\u00B0")"},                                            // a lone Latin-1 byte
        {"\xC0\x80", R"("\u00C0\u0080")"},                                  // overlong
        {"\xF4\x90\x80\x80", R"("\u00F4\u0090\u0080\u0080")"},              // beyond U+10FFFF
        {"ab\xE2\x82", R"("ab\u00E2\u0082")"},                              // cut short at the end
    };
    for (const auto& [text, quoted] : cases) {
        EXPECT_EQ(JsonQuoted(text), quoted) << "case " << ::testing::PrintToString(text);
    }
}

TEST(CsvWriter, QuotesOnlyWhatRfc4180Requires) {
    using Cells = std::vector<std::string>;
    const std::tuple<Cells, const char*> cases[] = {
        {{"time", "RPM1", "Uptime(s)"}, "time,RPM1,Uptime(s)\r\n"},
        {{"", " HI ", "25.3"}, ", HI ,25.3\r\n"},
        {{"a,b", "say \"x\"", "two\r\nlines", "lf\n"},
         "\"a,b\",\"say \"\"x\"\"\",\"two\r\nlines\",\"lf\n\"\r\n"},
        {Cells{}, "\r\n"},
    };
    for (const auto& [cells, row] : cases) {
        EXPECT_EQ(CsvRow(cells), row) << "case " << ::testing::PrintToString(cells);
    }
}

// Live fields exactly as the controller sends them become spreadsheet cells.
TEST(LiveCsv, FieldsBecomeNumbersOrFail) {
    const LiveFields fields{"\n 1200", "  0",   "FAIL", " 45",  "    0", "100", "00012",
                            " 7",      " 25.3", "FAIL", " HI ", " LO ",  "13",  "77s"};
    EXPECT_EQ(LiveCsvCells("T", fields),
              (std::vector<std::string>{"T", "1200", "0", "FAIL", "45", "0", "100", "12", "7",
                                        "25.3", "FAIL", "HI", "LO", "13", "77"}));
    const LiveFields odd{"12a", "", "x", "", "", "", "", "", "-1.50", "n/a", "", "", "", "7x s"};
    const std::vector<std::string> cells = LiveCsvCells("T", odd);
    EXPECT_EQ(cells[1] + "|" + cells[2] + "|" + cells[9] + "|" + cells[10] + "|" + cells[14],
              "12a||-1.50|n/a|7x s"); // what holds no number stays as it came
    EXPECT_EQ(LiveCsvHeader().size(), cells.size());
}
