// The receive text keeps exactly the newest bytes, and the three reply parsers read what the
// controller sends, tolerate its layouts and never read past the text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/Checksum.h"
#include "core/ReceiveBuffer.h"
#include "core/ReplyParsers.h"

namespace orvane {
namespace {

void Feed(CReceiveBuffer& buffer, const std::string& bytes) {
    for (const char c : bytes) {
        buffer.OnReceiveChar(static_cast<std::uint8_t>(c));
    }
}

TEST(ReceiveBuffer, WindowKeepsExactlyTheNewestBytes) {
    CReceiveBuffer buffer;
    EXPECT_EQ(buffer.Text(), std::string(1950, ' '));
    Feed(buffer, "abc");
    EXPECT_EQ(buffer.Text(), "abc" + std::string(1947, ' '));
    Feed(buffer, std::string("\0d", 2));
    EXPECT_EQ(buffer.Text(), "abc") << "a zero byte ends the text";

    buffer.Clear();
    EXPECT_TRUE(buffer.Text().empty());
    std::string bytes;
    for (std::size_t i = 0; i < 1800 + 777; ++i) {
        bytes.push_back(static_cast<char>('A' + i % 26));
    }
    Feed(buffer, bytes.substr(0, 1800));
    EXPECT_EQ(buffer.Text(), bytes.substr(0, 1800));
    Feed(buffer, bytes.substr(1800));
    EXPECT_EQ(buffer.Count(), 1800);
    EXPECT_EQ(buffer.Text(), bytes.substr(777)) << "no stale byte is carried in";

    buffer.ZeroWindow(); // empty until new bytes push through the whole window
    Feed(buffer, std::string(1799, 'b'));
    EXPECT_TRUE(buffer.Text().empty());
    Feed(buffer, "c");
    EXPECT_EQ(buffer.Text(), std::string(1799, 'b') + "c");
}

RegisterTexts SampleRegisters() {
    RegisterTexts texts{};
    for (int i = 0; i < kRegisterCount; ++i) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "%04X", (i * 37 + 13) & 0xFFFF);
        texts[static_cast<std::size_t>(i)] = buf;
    }
    texts[kChecksumIndex] = ChecksumText(texts);
    return texts;
}

// The groups with `separator` after each and `prefix` before the "<".
std::string Reply(const RegisterTexts& texts, const std::string& separator = "",
                  const std::string& prefix = "\r\nConfig dump\r\n") {
    std::string out = prefix + "<\r";
    for (const auto& group : texts) {
        out += group + separator;
    }
    return out + "> END";
}

// CR, LF and space are skipped anywhere; the checksum must match as upper-case text.
TEST(ConfigurationReply, LenientLayoutsLoadAndEveryBadReplyIsRefused) {
    using O = ConfigReplyOutcome;
    const RegisterTexts texts = SampleRegisters();
    ASSERT_EQ(texts[kChecksumIndex], "1EB4");
    RegisterTexts lower = texts, wrong = texts;
    lower[kChecksumIndex] = "1eb4";
    wrong[7] = "FFFF";
    std::string spacedInside = "<";
    for (const auto& group : texts) {
        spacedInside += group.substr(0, 1) + " \r" + group.substr(1, 2) + "\n " + group.substr(3);
    }
    const std::string full = Reply(texts);
    const std::size_t start = full.find('<');
    const struct {
        const char* name;
        std::string text;
        O want;
    } cases[] = {
        {"compact", full, O::Loaded},
        {"LF", Reply(texts, "\n"), O::Loaded},
        {"CR LF", Reply(texts, "\r\n"), O::Loaded},
        {"blanks inside groups", spacedInside, O::Loaded},
        {"marker at 1998", Reply(texts, "", std::string(1998, ' ')), O::Loaded},
        {"marker at 1999", Reply(texts, "", std::string(1999, ' ')), O::NoData},
        {"empty", "", O::NoData},
        {"no marker", std::string(1900, 'x'), O::NoData},
        {"lower-case checksum", Reply(lower), O::ChecksumMismatch},
        {"wrong register", Reply(wrong), O::ChecksumMismatch},
        {"ends after marker", full.substr(0, start + 1), O::ChecksumMismatch},
        {"ends in group 401", full.substr(0, start + 2 + 1603), O::ChecksumMismatch},
    };
    for (const auto& c : cases) {
        const ConfigReply parsed = ReadConfigurationReply(c.text);
        EXPECT_EQ(parsed.outcome, c.want) << "case " << c.name;
        EXPECT_EQ(parsed.groups, c.want == O::Loaded ? texts : RegisterTexts{})
            << "case " << c.name;
    }
}

// Sample fields as the controller spaces them; the uptime ends with "s".
std::string Record(const std::string& uptime, const std::string& lineStart = "\n") {
    return lineStart + "1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
           uptime + "s,\r";
}

TEST(LiveRecord, NewestRecordIsSplitAsReceived) {
    const std::string text = std::string(110, '.') + Record("76") + Record("77");
    const auto record = FindLiveRecord(text);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, Record("77").substr(0, Record("77").size() - 1));
    LiveFields fields{};
    SplitLiveRecord(*record, fields);
    const LiveFields expected{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                              " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "77s",  ""};
    EXPECT_EQ(fields, expected);
}

TEST(LiveRecord, TerminatorRulesDecideWhetherARecordExists) {
    const std::string pad(120, '.'), two = Record("1") + Record("2");
    const struct {
        const char* name;
        std::string text;
        bool found;
    } cases[] = {
        {"one terminator", pad + Record("1"), false},
        {"terminators below 101", "1s,\r2s,\r" + std::string(200, '.'), false},
        {"two records", std::string(30, '.') + two, true},
        {"no line starts", pad + Record("1", "") + Record("2", ""), true},
        {"trailing bytes", pad + two + "\n1300,  4", true},
        {"240 characters", pad + "s,\r" + std::string(238, '1') + "s,\r", false},
        {"239 characters", pad + "s,\r" + std::string(237, '1') + "s,\r", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLiveRecord(c.text).has_value(), c.found) << "case " << c.name;
    }
}

// A field reaching 9 characters ends the split; fields not reached keep their old texts.
TEST(LiveRecord, SplitRules) {
    const struct {
        const char* record;
        std::vector<std::string> want; // the first fields; all others must stay "old"
    } cases[] = {
        {"1,2,123456789,4,5,", {"1", "2"}},
        {"12345678,b,c", {"12345678", "b"}}, // "c" has no comma
        {"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,",
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}},
    };
    for (const auto& c : cases) {
        LiveFields fields{};
        fields.fill("old");
        SplitLiveRecord(c.record, fields);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i], i < c.want.size() ? c.want[i] : "old") << "case " << c.record;
        }
    }
}

TEST(ControllerInfo, NeedsTheAbbreviationAndEnoughText) {
    EXPECT_FALSE(FindControllerInfo("....ORV" + std::string(236, 'x'))) << "239 characters";
    EXPECT_EQ(FindControllerInfo("....ORV" + std::string(237, 'x')).value().size(), 240u);
    const std::string twice = "xxORV 1 ... ORV 2" + std::string(300, 'i');
    EXPECT_EQ(FindControllerInfo(twice).value(), twice.substr(2, 267));
}

} // namespace
} // namespace orvane
