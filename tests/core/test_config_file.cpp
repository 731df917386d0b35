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
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

std::string TemplateText() {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    return BuildConfigurationText(image).text;
}

// The template's 401 groups laid out by a person: some on lines of their own, some
// with blanks inside, the rest compact (all of it still under the 4000-byte limit).
std::string LooseLayout(const std::string& text) {
    std::string out = "Saved by hand\n<\r\n";
    for (std::size_t group = 0; group < 401; ++group) {
        const std::string g = text.substr(2 + 4 * group, 4);
        if (group < 50) {
            out += g + "\r\n";
        } else if (group < 100) {
            out += g.substr(0, 1) + " " + g.substr(1, 2) + "\n" + g.substr(3);
        } else {
            out += g;
        }
    }
    return out + "> END";
}

class TempDir : public ::testing::Test {
protected:
    fs::path m_dir =
        fs::temp_directory_path() /
        ("orvane-config-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }
};

} // namespace

TEST(ConfigFileCodec, WriterProducesUtf16TextThenSixZeroCharacters) {
    const std::string text = TemplateText();
    const Bytes bytes = EncodeConfigurationFile(text);
    ASSERT_EQ(bytes.size(), kConfigFileSize);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 3222), Utf16(text));
    EXPECT_EQ(Bytes(bytes.begin() + 3222, bytes.end()), Bytes(12, 0));
}

TEST(ConfigFileCodec, RoundTripGivesBackEveryRegisterAndTheChecksum) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(5, "7fff"); // lower case is kept as stored
    image.SetValue(kIssueRegister, 12);
    const std::string text = BuildConfigurationText(image).text;
    const FileReadResult read = DecodeConfigurationFile(EncodeConfigurationFile(text));
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups, image.Texts());

    CRegisterImage reloaded;
    reloaded.SetTexts(read.groups);
    EXPECT_EQ(EncodeConfigurationFile(BuildConfigurationText(reloaded).text),
              EncodeConfigurationFile(text));
}

TEST(ConfigFileCodec, LenientLayoutsLoadLikeTheCompactForm) {
    const std::string text = TemplateText();
    const FileReadResult compact = DecodeConfigurationFile(EncodeConfigurationFile(text));
    const FileReadResult loose = DecodeConfigurationFile(Utf16(LooseLayout(text)));
    ASSERT_EQ(loose.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(loose.groups, compact.groups);

    // Everything after the 401st group is ignored; text may stand before the "<".
    const std::string late = std::string(300, 'x') + text + "trailing junk";
    EXPECT_EQ(DecodeConfigurationFile(Utf16(late)).outcome, FileReadOutcome::Loaded);
}

TEST(ConfigFileCodec, StartMarkerMustBeAmongTheFirst2000Characters) {
    // 4000 bytes hold 2000 characters, so the last place for the marker is 1999; a
    // marker there is found, and the missing groups fail the checksum.
    EXPECT_EQ(DecodeConfigurationFile(Utf16(std::string(1999, 'x') + "<")).outcome,
              FileReadOutcome::ChecksumMismatch);
    EXPECT_EQ(DecodeConfigurationFile(Utf16("no marker at all")).outcome,
              FileReadOutcome::NoStartMarker);
    EXPECT_EQ(DecodeConfigurationFile({}).outcome, FileReadOutcome::NoStartMarker);
}

TEST(ConfigFileCodec, EightBitAndWideCharacterFilesAreRefused) {
    const std::string text = TemplateText();
    const Bytes eightBit(text.begin(), text.end());
    EXPECT_EQ(DecodeConfigurationFile(eightBit).outcome, FileReadOutcome::NoStartMarker);

    Bytes wide = EncodeConfigurationFile(text);
    wide[100 * 2 + 1] = 0x01; // one character above 255 empties the whole text
    EXPECT_EQ(DecodeConfigurationFile(wide).outcome, FileReadOutcome::NoStartMarker);
}

TEST(ConfigFileCodec, SizeLimitIs4000Bytes) {
    Bytes bytes = EncodeConfigurationFile(TemplateText());
    bytes.resize(4000, 0);
    EXPECT_EQ(DecodeConfigurationFile(bytes).outcome, FileReadOutcome::Loaded);
    bytes.push_back(0);
    EXPECT_EQ(DecodeConfigurationFile(bytes).outcome, FileReadOutcome::TooLarge);
}

TEST(ConfigFileCodec, ChecksumIsComparedAsCaseSensitiveText) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(0, "000a");
    std::string text = BuildConfigurationText(image).text;
    ASSERT_EQ(text.substr(1602, 4), "A54F");
    ASSERT_EQ(DecodeConfigurationFile(Utf16(text)).outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(DecodeConfigurationFile(Utf16(text)).groups[0], "000a");

    text.replace(1602, 4, "a54f");
    EXPECT_EQ(DecodeConfigurationFile(Utf16(text)).outcome, FileReadOutcome::ChecksumMismatch);
    text.replace(1602, 4, "A54E");
    EXPECT_EQ(DecodeConfigurationFile(Utf16(text)).outcome, FileReadOutcome::ChecksumMismatch);
}

TEST(ConfigFileCodec, TextEndingBefore401GroupsIsAChecksumFailure) {
    const std::string text = TemplateText();
    EXPECT_EQ(DecodeConfigurationFile(Utf16(text.substr(0, 1605))).outcome,
              FileReadOutcome::ChecksumMismatch);
    // The zero character ends the text even when more groups follow it.
    std::string cut = text;
    cut[800] = '\0';
    EXPECT_EQ(DecodeConfigurationFile(Utf16(cut)).outcome, FileReadOutcome::ChecksumMismatch);
}

TEST(ConfigFileCodec, GroupsThatAreNotHexNeverCrashTheReader) {
    std::string text = TemplateText();
    text.replace(2, 4, "<<<<");
    text.replace(10, 4, "\x01\x7F\xFF-");
    EXPECT_EQ(DecodeConfigurationFile(Utf16(text)).outcome, FileReadOutcome::ChecksumMismatch);
    // With the checksum made to fit, such groups load as read.
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(1, "0001"); // same value as "zz.." reusing register 0's value
    text = BuildConfigurationText(image).text;
    text.replace(6, 4, "zz..");
    const FileReadResult read = DecodeConfigurationFile(Utf16(text));
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups[1], "zz..");
}

TEST(ConfigFileCodec, ProposedNameIsNameIssueNumber) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    EXPECT_EQ(ProposedFileName(image), "DEFAULT_Issue0");
    image.SetValue(kIssueRegister, 27);
    image.SetText(189, "0000");
    EXPECT_EQ(ProposedFileName(image), "DEF_Issue27");
}

TEST_F(TempDir, SavedFileIsExactlyTheEncodedBytesAndReadsBack) {
    const Bytes bytes = EncodeConfigurationFile(TemplateText());
    const fs::path target = m_dir / "DEFAULT_Issue0.txt";
    std::ofstream(target) << "an older, longer file that must be replaced whole"
                          << std::string(5000, '!');
    const FileWriteResult written = WriteFileAtomically(target, bytes);
    ASSERT_TRUE(written.ok) << written.error;
    const FileLoadResult loaded = ReadConfigurationFileBytes(target);
    ASSERT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.bytes, bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator{}), 1)
        << "no temporary file is left beside the target";
}

TEST_F(TempDir, FailedSaveIsReportedAndLeavesNothingBehind) {
    const Bytes bytes = EncodeConfigurationFile(TemplateText());
    const FileWriteResult noFolder = WriteFileAtomically(m_dir / "missing" / "x.txt", bytes);
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.error.find("missing"), std::string::npos) << noFolder.error;

    fs::create_directory(m_dir / "a-folder");
    const FileWriteResult ontoFolder = WriteFileAtomically(m_dir / "a-folder", bytes);
    EXPECT_FALSE(ontoFolder.ok);
    EXPECT_FALSE(ontoFolder.error.empty());
    EXPECT_TRUE(fs::is_directory(m_dir / "a-folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator{}), 1);
}

TEST_F(TempDir, ReaderReadsOnePastTheLimitAndReportsMissingFiles) {
    const fs::path big = m_dir / "big.txt";
    std::ofstream(big, std::ios::binary) << std::string(10000, 'x');
    const FileLoadResult loaded = ReadConfigurationFileBytes(big);
    ASSERT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.bytes.size(), kConfigFileMaxRead + 1);
    EXPECT_EQ(DecodeConfigurationFile(loaded.bytes).outcome, FileReadOutcome::TooLarge);

    const FileLoadResult missing = ReadConfigurationFileBytes(m_dir / "none.txt");
    EXPECT_FALSE(missing.opened);
    EXPECT_FALSE(missing.error.empty());
}
