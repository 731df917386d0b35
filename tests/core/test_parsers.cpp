// The three reply parsers read exactly what the controller sends, tolerate its layouts and never
// read past the text.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "core/Checksum.h"
#include "core/ReplyParsers.h"

namespace orvane {
namespace {

RegisterTexts SampleRegisters() {
    RegisterTexts texts{};
    for (int i = 0; i < kRegisterCount; ++i) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "%04X", (i * 37 + 11) & 0xFFFF);
        texts[static_cast<std::size_t>(i)] = buf;
    }
    texts[kChecksumIndex] = ChecksumText(texts);
    return texts;
}

// The groups with `separator` after each and `prefix` before the "<".
std::string Reply(const RegisterTexts& texts, const std::string& separator,
                  const std::string& prefix = "\r\nConfig dump\r\n") {
    std::string out = prefix + "<\r";
    for (const auto& group : texts) {
        out += group + separator;
    }
    return out + "> END";
}

TEST(ConfigurationReply, LenientLayoutsParseAlike) {
    const RegisterTexts texts = SampleRegisters();
    std::string spacedInside = "<";
    for (const auto& group : texts) {
        spacedInside += group.substr(0, 1) + " \r" + group.substr(1, 2) + "\n " + group.substr(3);
    }
    for (const std::string& reply :
         {Reply(texts, ""), Reply(texts, "\n"), Reply(texts, "\r\n"), spacedInside}) {
        const ConfigReply parsed = ReadConfigurationReply(reply);
        ASSERT_EQ(parsed.outcome, ConfigReplyOutcome::Loaded) << reply.substr(0, 60);
        EXPECT_EQ(parsed.groups, texts);
    }
}

TEST(ConfigurationReply, NoStartMarkerIsNoData) {
    EXPECT_EQ(ReadConfigurationReply("").outcome, ConfigReplyOutcome::NoData);
    EXPECT_EQ(ReadConfigurationReply(std::string(1900, 'x')).outcome, ConfigReplyOutcome::NoData);
    const RegisterTexts texts = SampleRegisters();
    EXPECT_EQ(ReadConfigurationReply(Reply(texts, "", std::string(1998, ' '))).outcome,
              ConfigReplyOutcome::Loaded);
    EXPECT_EQ(ReadConfigurationReply(Reply(texts, "", std::string(1999, ' '))).outcome,
              ConfigReplyOutcome::NoData);
}

TEST(ConfigurationReply, ChecksumMustMatchAsUpperCaseText) {
    RegisterTexts texts = SampleRegisters();
    // Choose register 5 so that the checksum holds a letter digit.
    for (unsigned v = 0; texts[kChecksumIndex].find_first_of("ABCDEF") == std::string::npos; ++v) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "%04X", v);
        texts[5] = buf;
        texts[kChecksumIndex] = ChecksumText(texts);
    }
    ASSERT_EQ(ReadConfigurationReply(Reply(texts, "")).outcome, ConfigReplyOutcome::Loaded);

    RegisterTexts lower = texts;
    for (auto& c : lower[kChecksumIndex]) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    ASSERT_NE(lower[kChecksumIndex], texts[kChecksumIndex]) << "checksum needs a letter";
    EXPECT_EQ(ReadConfigurationReply(Reply(lower, "")).outcome,
              ConfigReplyOutcome::ChecksumMismatch);

    RegisterTexts wrong = texts;
    wrong[7] = "FFFF";
    const ConfigReply parsed = ReadConfigurationReply(Reply(wrong, ""));
    EXPECT_EQ(parsed.outcome, ConfigReplyOutcome::ChecksumMismatch);
    EXPECT_EQ(parsed.groups, RegisterTexts{});
}

TEST(ConfigurationReply, TextEndingBeforeTheLastGroupIsAMismatch) {
    const std::string full = Reply(SampleRegisters(), "");
    const std::size_t start = full.find('<');
    for (std::size_t cut : {start + 1, start + 2 + 1600, start + 2 + 1603}) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(ReadConfigurationReply(std::string_view(full).substr(0, cut)).outcome,
                  ConfigReplyOutcome::ChecksumMismatch);
    }
}

// Sample fields as the controller spaces them; the uptime ends with "s".
std::string Record(const std::string& uptime, const std::string& lineStart = "\n") {
    return lineStart + "1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
           uptime + "s,\r";
}

TEST(LiveRecord, NewestRecordIsSplitAsReceived) {
    const std::string text = std::string(110, '.') + Record("76") + Record("77");
    const auto record = FindLiveRecord(text); // a view into `text`
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, Record("77").substr(0, Record("77").size() - 1));
    LiveFields fields{};
    SplitLiveRecord(*record, fields);
    const LiveFields expected{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                              " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "77s",  ""};
    EXPECT_EQ(fields, expected);
}

TEST(LiveRecord, TerminatorRulesDecideWhetherARecordExists) {
    const std::string two = Record("1") + Record("2");
    EXPECT_FALSE(FindLiveRecord(std::string(120, '.') + Record("1"))) << "one terminator";
    EXPECT_FALSE(FindLiveRecord("1s,\r2s,\r" + std::string(200, '.'))) << "terminator below 101";
    EXPECT_TRUE(FindLiveRecord(std::string(30, '.') + two));
    EXPECT_TRUE(FindLiveRecord(std::string(120, '.') + Record("1", "") + Record("2", "")));
    // Trailing bytes after the last terminator do not hide it.
    EXPECT_TRUE(FindLiveRecord(std::string(120, '.') + two + "\n1300,  4"));
    // A record of 240 characters or more is refused.
    const std::string longRecord = "s,\r" + std::string(238, '1') + "s,\r";
    EXPECT_FALSE(FindLiveRecord(std::string(120, '.') + longRecord));
    EXPECT_TRUE(FindLiveRecord(std::string(120, '.') + "s,\r" + std::string(237, '1') + "s,\r"));
}

TEST(LiveRecord, LongFieldEndsTheSplitAndMissingFieldsKeepOldTexts) {
    LiveFields fields{};
    fields.fill("old");
    SplitLiveRecord("1,2,123456789,4,5,", fields);
    EXPECT_EQ(fields[0], "1");
    EXPECT_EQ(fields[1], "2");
    EXPECT_EQ(fields[2], "old");
    EXPECT_EQ(fields[3], "old");

    fields.fill("old");
    SplitLiveRecord("12345678,b,c", fields); // 8 characters still fit; "c" has no comma
    EXPECT_EQ(fields[0], "12345678");
    EXPECT_EQ(fields[1], "b");
    EXPECT_EQ(fields[2], "old");

    fields.fill("old");
    SplitLiveRecord("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,", fields);
    EXPECT_EQ(fields[13], "13");
    EXPECT_EQ(fields[14], "old"); // never written
}

TEST(ControllerInfo, NeedsTheAbbreviationAndEnoughText) {
    const std::string tail(300, 'i');
    EXPECT_FALSE(FindControllerInfo("no abbreviation here " + tail));
    EXPECT_FALSE(FindControllerInfo("....ORV" + std::string(236, 'x')));
    const std::string enough = "....ORV" + std::string(237, 'x');
    const auto exact = FindControllerInfo(enough);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->size(), 240u);
    const std::string twice = "xxORV 1 ... ORV 2" + tail;
    const auto capped = FindControllerInfo(twice);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->size(), 267u);
    EXPECT_EQ(capped->substr(0, 6), "ORV 1 ");
}

} // namespace
} // namespace orvane
