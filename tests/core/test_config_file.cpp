// Configuration files round-trip byte for byte, and the reader refuses every file it must refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/ConfigFile.h"
#include "core/ConfigurationText.h"
#include "core/RegisterImage.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(const std::string& text) {
    Bytes out;
    for (const char c : text) {
        out.insert(out.end(), {static_cast<std::uint8_t>(c), 0});
    }
    return out;
}

std::string TemplateText(int reg = 0, const std::string& value = "0001") {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(reg, value);
    return BuildConfigurationText(image).text;
}

class TempDir : public ::testing::Test {
protected:
    fs::path m_dir = fs::temp_directory_path() /
                     ("orvane-config-file-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }
    long Entries() const {
        return std::distance(fs::directory_iterator(m_dir), fs::directory_iterator{});
    }
};

} // namespace

TEST(ConfigFileCodec, RoundTripIsByteForByte) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(5, "7fff"); // lower case is kept as stored
    image.SetValue(kIssueRegister, 12);
    const std::string text = BuildConfigurationText(image).text;
    const Bytes bytes = EncodeConfigurationFile(text);
    ASSERT_EQ(bytes.size(), kConfigFileSize);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 3222), Utf16(text));
    EXPECT_EQ(Bytes(bytes.begin() + 3222, bytes.end()), Bytes(12, 0)) << "six zero characters";

    const FileReadResult read = DecodeConfigurationFile(bytes);
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups, image.Texts());
    CRegisterImage reloaded;
    reloaded.SetTexts(read.groups);
    EXPECT_EQ(EncodeConfigurationFile(BuildConfigurationText(reloaded).text), bytes);
    EXPECT_EQ(ProposedFileName(reloaded), "DEFAULT_Issue12");
    reloaded.SetText(189, "0000");
    EXPECT_EQ(ProposedFileName(reloaded), "DEF_Issue12");
}

// The groups laid out by a person: some on lines of their own, some with blanks
// inside, text before the "<" and after the 401st group.
TEST(ConfigFileCodec, LenientLayoutsLoadLikeTheCompactForm) {
    const std::string text = TemplateText();
    std::string loose = "Saved by hand\n<\r\n";
    for (std::size_t group = 0; group < 401; ++group) {
        const std::string g = text.substr(2 + 4 * group, 4);
        if (group < 50) {
            loose += g + "\r\n";
        } else if (group < 100) {
            loose += g.substr(0, 1) + " " + g.substr(1, 2) + "\n" + g.substr(3);
        } else {
            loose += g;
        }
    }
    const FileReadResult compact = DecodeConfigurationFile(EncodeConfigurationFile(text));
    for (const std::string& layout :
         {loose + "> END", std::string(300, 'x') + text + "trailing junk"}) {
        const FileReadResult read = DecodeConfigurationFile(Utf16(layout));
        ASSERT_EQ(read.outcome, FileReadOutcome::Loaded) << "case " << layout.substr(0, 20);
        EXPECT_EQ(read.groups, compact.groups);
    }
}

TEST(ConfigFileCodec, ReaderRefusesEveryFileItMust) {
    using O = FileReadOutcome;
    const std::string text = TemplateText();
    Bytes limit = EncodeConfigurationFile(text);
    limit.resize(4000, 0);
    Bytes over = limit;
    over.push_back(0);
    Bytes wide = EncodeConfigurationFile(text);
    wide[100 * 2 + 1] = 0x01; // one character above 255 empties the whole text
    std::string cut = text;
    cut[800] = '\0'; // a zero character ends the text even when more groups follow
    std::string notHex = text;
    notHex.replace(2, 4, "<<<<").replace(10, 4, "\x01\x7F\xFF-");
    std::string fittingNotHex = TemplateText(1, "0001"); // "zz.." repeats register 0's value
    fittingNotHex.replace(6, 4, "zz..");
    const std::string lowerGroup = TemplateText(0, "000a");
    ASSERT_EQ(lowerGroup.substr(1602, 4), "A54F");
    std::string lowerSum = lowerGroup, wrongSum = lowerGroup;
    lowerSum.replace(1602, 4, "a54f");
    wrongSum.replace(1602, 4, "A54E");
    const struct {
        const char* name;
        Bytes bytes;
        O want;
    } cases[] = {
        {"4000 bytes", limit, O::Loaded},
        {"4001 bytes", over, O::TooLarge},
        // 4000 bytes hold 2000 characters: a marker at 1999 is found, the groups are missing.
        {"marker at 1999", Utf16(std::string(1999, 'x') + "<"), O::ChecksumMismatch},
        {"no marker", Utf16("no marker at all"), O::NoStartMarker},
        {"empty", {}, O::NoStartMarker},
        {"8-bit", Bytes(text.begin(), text.end()), O::NoStartMarker},
        {"wide character", wide, O::NoStartMarker},
        {"ends before 401 groups", Utf16(text.substr(0, 1605)), O::ChecksumMismatch},
        {"zero character inside", Utf16(cut), O::ChecksumMismatch},
        {"groups not hex", Utf16(notHex), O::ChecksumMismatch},
        {"groups not hex, checksum fits", Utf16(fittingNotHex), O::Loaded},
        {"lower-case group", Utf16(lowerGroup), O::Loaded},
        {"lower-case checksum", Utf16(lowerSum), O::ChecksumMismatch},
        {"wrong checksum", Utf16(wrongSum), O::ChecksumMismatch},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeConfigurationFile(c.bytes).outcome, c.want) << "case " << c.name;
    }
    EXPECT_EQ(DecodeConfigurationFile(Utf16(lowerGroup)).groups[0], "000a");
}

TEST_F(TempDir, SaveReplacesTheFileWholeAndReadsBack) {
    const Bytes bytes = EncodeConfigurationFile(TemplateText());
    const fs::path target = m_dir / "DEFAULT_Issue0.txt";
    std::ofstream(target) << "an older, longer file" << std::string(5000, '!');
    const FileWriteResult written = WriteFileAtomically(target, bytes);
    ASSERT_TRUE(written.ok) << written.error;
    const FileLoadResult loaded = ReadConfigurationFileBytes(target);
    ASSERT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.bytes, bytes);
    EXPECT_EQ(Entries(), 1) << "no temporary file is left beside the target";

    std::ofstream(target, std::ios::binary) << std::string(10000, 'x');
    const FileLoadResult big = ReadConfigurationFileBytes(target);
    ASSERT_TRUE(big.opened);
    EXPECT_EQ(big.bytes.size(), kConfigFileMaxRead + 1) << "one past the limit is enough";
    EXPECT_EQ(DecodeConfigurationFile(big.bytes).outcome, FileReadOutcome::TooLarge);
}

TEST_F(TempDir, FailuresAreReportedAndLeaveNothingBehind) {
    const Bytes bytes = EncodeConfigurationFile(TemplateText());
    const FileWriteResult noFolder = WriteFileAtomically(m_dir / "missing" / "x.txt", bytes);
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.error.find("missing"), std::string::npos) << noFolder.error;
    fs::create_directory(m_dir / "a-folder");
    const FileWriteResult ontoFolder = WriteFileAtomically(m_dir / "a-folder", bytes);
    EXPECT_FALSE(ontoFolder.ok);
    EXPECT_FALSE(ontoFolder.error.empty());
    EXPECT_TRUE(fs::is_directory(m_dir / "a-folder"));
    EXPECT_EQ(Entries(), 1);
    const FileLoadResult missing = ReadConfigurationFileBytes(m_dir / "none.txt");
    EXPECT_FALSE(missing.opened);
    EXPECT_FALSE(missing.error.empty());
}
