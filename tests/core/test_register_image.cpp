// The register image, its checksum, the bytes sent to the controller and the file form.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "SequencerFakes.h"
#include "core/comms/ReplyParsers.h"
#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "core/image/Conversions.h"
#include "core/image/RegisterImage.h"

using namespace orvane;
using orvane::test::DefaultImage;
using orvane::test::RecordingView;
using orvane::test::With;
namespace fs = std::filesystem;

namespace {

// The documented template, apart from the code's table: "first-last=value" for a run of one value,
// "first-last=v1,v2,..." for one per register.
constexpr const char* kExpectedTemplate = R"(
    0-3=0001 4-7=0019 8-11=0020 12-15=0022 16-19=0024 20-23=0026 24-27=0028 28-31=002A
    32-35=0032 36-38=FFFF 39-66=001E 67-70=005A 71-72=FFFF 73-84=FF55 85-87=FFFF 88-123=FF55
    124-127=0000 128-129=0001 130-159=FF55 160-160=FFFF 161-164=0005 165-168=0001 169-172=0000
    173-176=0006 177-179=FFFF 180-180=0002 181-181=0001 182-182=0000 183-183=0001 184-184=0000
    185-185=FFFF 186-192=0044,0045,0046,0041,0055,004C,0054 193-206=0000 207-210=FFFF
    211-211=0000 212-218=0043,006F,006D,006D,0065,006E,0074 219-291=0000 292-295=0BB8
    296-299=000A 300-305=0001 306-309=FFFF 310-313=0002 314-317=0000 318-321=0001 322-322=FFFF
    323-346=FF55 347-356=0064,0064,002F,006D,006D,002F,0079,0079,0079,0079 357-398=FFFF
    399-399=A55A)";

RegisterImage Filled(const std::string& text) {
    RegisterImage image;
    for (int i = 0; i < kImageEntries; ++i) {
        image.SetText(i, text);
    }
    return image;
}

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(const std::string& text) {
    Bytes out;
    for (const char c : text) {
        out.insert(out.end(), {static_cast<std::uint8_t>(c), 0});
    }
    return out;
}

} // namespace

TEST(DefaultTemplate, EveryRegisterMatchesTheDocumentedTable) {
    RegisterImage image = Filled("1234");
    image.LoadDefaultTemplate();
    std::istringstream table(kExpectedTemplate);
    int next = 0;
    for (std::string run; table >> run;) {
        int first = 0, last = 0, used = 0;
        ASSERT_EQ(std::sscanf(run.c_str(), "%d-%d=%n", &first, &last, &used), 2) << run;
        ASSERT_EQ(first, next) << "the expected table must cover every register once";
        for (int i = first; i <= last; ++i) {
            const bool one = run.size() == std::size_t(used) + 4;
            EXPECT_EQ(image.Text(i), run.substr(used + (one ? 0 : 5 * std::size_t(i - first)), 4))
                << "register " << i;
        }
        next = last + 1;
    }
    EXPECT_EQ(next, kRegisterCount);
    EXPECT_EQ(image.Text(kChecksumIndex), "1234") << "the template leaves the checksum entry alone";
}

// Each step changes the image further. The checksum entry is never summed; registers are read as
// "%x" reads them, and one holding no number repeats the value before it (0 for register 0).
TEST(Checksum, WorkedExamples) {
    struct Step {
        int reg;
        const char *text, *sum;
    };
    RegisterImage image = Filled("0000");
    const Step steps[] = {{0, "0001", "0005"},   {399, "A55A", "A55F"}, {400, "FFFF", "A55F"},
                          {10, "0003", "A55C"},  {11, "zz", "A55F"},    {0, "????", "A55E"},
                          {20, " 12G4", "A54C"}, {21, "0x10", "A55C"},  {22, "0xZ", "A55C"},
                          {23, "-1", "5AA3"}};
    for (const Step& s : steps) {
        image.SetText(s.reg, s.text);
        EXPECT_EQ(ChecksumText(image.Texts()), s.sum) << "case " << s.reg << "=" << s.text;
    }
    EXPECT_EQ(ScanDecimal("99999999999999999999"), 2147483647); // typed "%d" saturates
}

TEST(ConfigurationInfo, ShowKeepsTheChecksumRefreshRecomputesIt) {
    RegisterImage image;
    image.SetText(kChecksumIndex, "BEEF");
    image.LoadDefaultTemplate();
    image.SetValue(kIssueRegister, 0x1012C);     // only the low 16 bits are kept
    image.SetText(kImageEntries, "0001");        // out of range: harmless
    image.SetText(kNameField.first, "00E9");     // arrives as a 16-bit code, leaves as UTF-8
    image.SetText(kDateField.first + 2, "0000"); // the first zero ends a text
    RecordingView view;
    image.ShowConfigurationInfo(view);
    const std::string name = "name=\xC3\xA9"
                             "EFAULT desc=Comment";
    EXPECT_EQ(view.shown, " checksum=BEEF issue=300 " + name + " date=dd");
    view.shown.clear();
    image.RefreshConfigurationInfo(view);
    const std::string sum = ChecksumText(image.Texts());
    EXPECT_EQ(image.Text(kChecksumIndex), sum);
    EXPECT_EQ(view.shown, " date=dd issue=300 " + name + " checksum=" + sum);
}

TEST(ConfigurationText, DocumentedBytesAndUnsendableImagesRefused) {
    RegisterImage image = DefaultImage();
    const std::string t = BuildConfigurationText(image).text;
    ASSERT_EQ(t.size(), 1611u);
    EXPECT_EQ(t.substr(1602), "A544> END"); // the template's checksum, worked out by hand
    for (const int i : {0, 1, 183, 398, 399}) {
        EXPECT_EQ(t.substr(2 + 4 * std::size_t(i), 4), image.Text(i)) << "register " << i;
    }
    RegisterImage zero = Filled("0000");
    EXPECT_EQ(BuildConfigurationText(zero).text, "<\r" + std::string(1600, '0') + "0004> END");
    // An unsendable image is refused, its first bad register named, and no checksum is stored.
    for (const char* bad : {"", "123", "12345", "12G4", " 123"}) {
        RegisterImage refused = Filled("0000");
        refused.SetText(250, bad);
        refused.SetText(300, "XXXX");
        const auto built = BuildConfigurationText(refused);
        EXPECT_EQ(built.invalidRegister, 250) << "case \"" << bad << '"';
        EXPECT_TRUE(built.text.empty());
        EXPECT_EQ(refused.Text(kChecksumIndex), "0000");
    }
}

TEST(ConfigFile, RoundTripIsByteForByte) {
    RegisterImage image = DefaultImage();
    image.SetText(5, "7fff"); // lower case is kept as stored
    image.SetValue(kIssueRegister, 12);
    const std::string text = BuildConfigurationText(image).text;
    const Bytes bytes = EncodeConfigurationFile(text);
    Bytes expected = Utf16(text);
    expected.resize(kConfigFileSize, 0); // a zero character and five of padding
    EXPECT_EQ(bytes, expected);
    const FileReadResult read = DecodeConfigurationFile(bytes);
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups, image.Texts());
    RegisterImage reloaded;
    reloaded.SetTexts(read.groups);
    EXPECT_EQ(EncodeConfigurationFile(BuildConfigurationText(reloaded).text), bytes);
    reloaded.SetText(189, "0000");
    EXPECT_EQ(ProposedFileName(reloaded), "DEF_Issue12");
    reloaded.SetValue(kNameField.first + 1, '/');
    EXPECT_EQ(ProposedFileName(reloaded), "D_F_Issue12") << "a name must not pick the folder";
}

// A reply and a file skip CR, LF and space anywhere; the checksum must match as upper-case text.
TEST(ConfigurationGroups, ReplyAndFileTakeTheSameLayoutsAndRefuseTheSameGroups) {
    RegisterImage image = DefaultImage();
    const std::string text = BuildConfigurationText(image).text;
    const RegisterTexts texts = image.Texts();
    ASSERT_EQ(texts[kChecksumIndex], "A544") << "the checksum must hold letters";
    std::string loose = "Saved by hand\n<\r\n"; // under the 2000 characters a file holds
    for (std::size_t group = 0; group < 401; ++group) {
        const std::string g = text.substr(2 + 4 * group, 4);
        const std::string sep = group % 2 ? " " : "\r\n";
        loose += group < 80 ? g.substr(0, 1) + sep + g.substr(1, 2) + "\n" + g.substr(3) : g;
    }
    const std::string lowerGroup = With(With(text, 2, "000a"), 1602, "A54F");
    const auto edited = [&](int reg, const char* word, const char* sum) {
        RegisterTexts out = texts;
        out[std::size_t(reg)] = word;
        out[kChecksumIndex] = sum;
        return out;
    };
    // `want` empty: refused for its checksum.
    const std::tuple<const char*, std::string, RegisterTexts> cases[] = {
        {"text around", "Config dump\r\n" + text + "\r\ntrailing junk", texts},
        {"blanks and line ends inside groups", loose + "> END", texts},
        {"lower-case group", lowerGroup, edited(0, "000a", "A54F")},
        // "zz.." repeats register 0's value, as register 1 does.
        {"not hex, checksum fits", With(text, 6, "zz.."), edited(1, "zz..", "A544")},
        {"not hex", With(With(text, 2, "<<<<"), 10, "\x01\x7F\xFF-"), {}},
        {"lower-case checksum", With(lowerGroup, 1602, "a54f"), {}},
        {"wrong register", With(text, 2 + 28, "FFFF"), {}},
        {"ends after the marker", text.substr(0, 1), {}},
        {"ends in group 401", text.substr(0, 1605), {}},
    };
    for (const auto& [name, text, want] : cases) {
        SCOPED_TRACE(name);
        const bool loaded = !want[0].empty();
        const ConfigReply reply = ReadConfigurationReply(text);
        const FileReadResult file = DecodeConfigurationFile(Utf16(text));
        EXPECT_EQ(reply.outcome,
                  loaded ? ConfigReplyOutcome::Loaded : ConfigReplyOutcome::ChecksumMismatch);
        EXPECT_EQ(file.outcome,
                  loaded ? FileReadOutcome::Loaded : FileReadOutcome::ChecksumMismatch);
        EXPECT_EQ(reply.groups, want);
        EXPECT_EQ(file.groups, want);
    }
    // Only where the "<" may stand differs: by character 1998 in a reply.
    using R = ConfigReplyOutcome;
    EXPECT_EQ(ReadConfigurationReply(std::string(1998, ' ') + text).outcome, R::Loaded);
    EXPECT_EQ(ReadConfigurationReply(std::string(1999, ' ') + text).outcome, R::NoData);
    EXPECT_EQ(ReadConfigurationReply(std::string(1900, 'x')).outcome, R::NoData);
}

// A file is at most 4000 bytes of 16-bit characters, each below 256, up to the first zero.
TEST(ConfigFile, ReaderRefusesEveryFileItMust) {
    using O = FileReadOutcome;
    RegisterImage image = DefaultImage();
    const std::string text = BuildConfigurationText(image).text;
    Bytes limit = EncodeConfigurationFile(text), wide = limit;
    limit.resize(4000, 0);
    Bytes over = limit;
    over.push_back(0);
    wide[100 * 2 + 1] = 0x01; // one character above 255 empties the whole text
    const std::tuple<const char*, Bytes, O> cases[] = {
        {"4000 bytes", limit, O::Loaded},
        {"4001 bytes", over, O::TooLarge},
        // 4000 bytes hold 2000 characters: a marker at 1999 is found, the groups are missing.
        {"marker at 1999", Utf16(std::string(1999, 'x') + "<"), O::ChecksumMismatch},
        {"empty", {}, O::NoStartMarker},
        {"8-bit", Bytes(text.begin(), text.end()), O::NoStartMarker},
        {"wide character", wide, O::NoStartMarker},
        // A zero character ends the text even when more groups follow.
        {"zero character inside", Utf16(With(text, 800, std::string(1, '\0'))),
         O::ChecksumMismatch},
    };
    for (const auto& [name, bytes, want] : cases) {
        EXPECT_EQ(DecodeConfigurationFile(bytes).outcome, want) << "case " << name;
    }
}

TEST(ConfigFile, ReadTellsMissingAndStopsPastTheLimit) {
    const fs::path target = fs::path(::testing::TempDir()) / "orvane-config-big.txt";
    const FileLoadResult missing = ReadConfigurationFileBytes(target.string() + ".none");
    EXPECT_FALSE(missing.opened || missing.error.empty()) << "a missing file is told";
    std::ofstream(target, std::ios::binary) << std::string(10000, 'x');
    const FileLoadResult big = ReadConfigurationFileBytes(target);
    ASSERT_TRUE(big.opened);
    EXPECT_EQ(big.bytes.size(), kConfigFileMaxRead + 1) << "one past the limit is enough";
    fs::remove(target);
}
