// The register image holds the factory template exactly, decodes its text fields and keeps its
// checksum rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Checksum.h"
#include "core/Conversions.h"
#include "core/RegisterImage.h"

using namespace orvane;

namespace {

struct ExpectedRun {
    int first;
    int last;
    std::vector<std::string> values; // one value for the whole run, or one per register
};

// The factory template as the controller documentation lists it, written out here
// on its own so that a slip in the code's table cannot hide in the test.
const std::vector<ExpectedRun> kExpectedTemplate = {
    {0, 3, {"0001"}},
    {4, 7, {"0019"}},
    {8, 11, {"0020"}},
    {12, 15, {"0022"}},
    {16, 19, {"0024"}},
    {20, 23, {"0026"}},
    {24, 27, {"0028"}},
    {28, 31, {"002A"}},
    {32, 35, {"0032"}},
    {36, 38, {"FFFF"}},
    {39, 66, {"001E"}},
    {67, 70, {"005A"}},
    {71, 72, {"FFFF"}},
    {73, 84, {"FF55"}},
    {85, 87, {"FFFF"}},
    {88, 123, {"FF55"}},
    {124, 127, {"0000"}},
    {128, 129, {"0001"}},
    {130, 159, {"FF55"}},
    {160, 160, {"FFFF"}},
    {161, 164, {"0005"}},
    {165, 168, {"0001"}},
    {169, 172, {"0000"}},
    {173, 176, {"0006"}},
    {177, 179, {"FFFF"}},
    {180, 180, {"0002"}},
    {181, 181, {"0001"}},
    {182, 182, {"0000"}},
    {183, 183, {"0001"}},
    {184, 184, {"0000"}},
    {185, 185, {"FFFF"}},
    {186, 192, {"0044", "0045", "0046", "0041", "0055", "004C", "0054"}},
    {193, 206, {"0000"}},
    {207, 210, {"FFFF"}},
    {211, 211, {"0000"}},
    {212, 218, {"0043", "006F", "006D", "006D", "0065", "006E", "0074"}},
    {219, 291, {"0000"}},
    {292, 295, {"0BB8"}},
    {296, 299, {"000A"}},
    {300, 305, {"0001"}},
    {306, 309, {"FFFF"}},
    {310, 313, {"0002"}},
    {314, 317, {"0000"}},
    {318, 321, {"0001"}},
    {322, 322, {"FFFF"}},
    {323, 346, {"FF55"}},
    {347, 356, {"0064", "0064", "002F", "006D", "006D", "002F", "0079", "0079", "0079", "0079"}},
    {357, 398, {"FFFF"}},
    {399, 399, {"A55A"}},
};

CRegisterImage ImageFilledWith(const std::string& text) {
    CRegisterImage image;
    for (int i = 0; i < kImageEntries; ++i) {
        image.SetText(i, text);
    }
    return image;
}

class RecordingInfoView : public IConfigInfoView {
public:
    std::vector<std::string> calls;
    void ShowChecksum(const std::string& t) override { calls.push_back("checksum=" + t); }
    void ShowConfigDate(const std::string& t) override { calls.push_back("date=" + t); }
    void ShowConfigIssue(const std::string& t) override { calls.push_back("issue=" + t); }
    void ShowConfigName(const std::string& t) override { calls.push_back("name=" + t); }
    void ShowConfigDescription(const std::string& t) override {
        calls.push_back("description=" + t);
    }
};

} // namespace

TEST(DefaultTemplate, EveryRegisterMatchesTheDocumentedTable) {
    CRegisterImage image = ImageFilledWith("1234");
    image.LoadDefaultTemplate();
    int covered = 0;
    for (const ExpectedRun& run : kExpectedTemplate) {
        for (int i = run.first; i <= run.last; ++i, ++covered) {
            const std::string& want =
                run.values.size() == 1 ? run.values[0] : run.values[std::size_t(i - run.first)];
            EXPECT_EQ(image.Text(i), want) << "register " << i;
        }
    }
    EXPECT_EQ(covered, kRegisterCount) << "the expected table must cover every register once";
    EXPECT_EQ(image.Text(kChecksumIndex), "1234") << "the template leaves the checksum entry alone";
}

TEST(DefaultTemplate, DecodesToTheFactoryNameDescriptionDateAndIssue) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    EXPECT_EQ(image.DecodeTextField(kNameField), "DEFAULT");
    EXPECT_EQ(image.DecodeTextField(kDescriptionField), "Comment");
    EXPECT_EQ(image.DecodeTextField(kDateField), "dd/mm/yyyy");
    EXPECT_EQ(image.Value(kIssueRegister), 0u);
}

TEST(TextField, EndsAtTheFirstZeroAndIsEmptyWhenItStartsWithOne) {
    CRegisterImage image = ImageFilledWith("0041");
    EXPECT_EQ(image.DecodeTextField(kDateField), "AAAAAAAAAA") << "no zero: the whole field";
    image.SetText(kDateField.first + 3, "0000");
    EXPECT_EQ(image.DecodeTextField(kDateField), "AAA");
    image.SetText(kDateField.first, "0000");
    EXPECT_EQ(image.DecodeTextField(kDateField), "");
    image.SetText(kDateField.first, "00E9"); // é arrives as a 16-bit code and leaves as UTF-8
    EXPECT_EQ(image.DecodeTextField(kDateField), "\xC3\xA9"
                                                 "AA");
}

TEST(Checksum, WorkedExamples) {
    CRegisterImage image = ImageFilledWith("0000");
    EXPECT_EQ(ChecksumText(image.Texts()), "0004");
    image.SetText(0, "0001");
    EXPECT_EQ(ChecksumText(image.Texts()), "0005");
    image.SetText(399, "A55A");
    EXPECT_EQ(ChecksumText(image.Texts()), "A55F");
    image.SetText(kChecksumIndex, "FFFF");
    EXPECT_EQ(ChecksumText(image.Texts()), "A55F") << "the checksum entry itself is not summed";
}

TEST(Checksum, ARegisterWithoutANumberRepeatsTheValueBeforeIt) {
    CRegisterImage image = ImageFilledWith("0000");
    image.SetText(10, "0003");
    image.SetText(11, "zz");
    // 3 ^ 3 cancels out, so only the final xor with 4 is left.
    EXPECT_EQ(ChecksumText(image.Texts()), "0004");
    image.SetText(0, "????");
    EXPECT_EQ(ChecksumText(image.Texts()), "0004") << "register 0 without a number counts as 0";
}

TEST(ConfigurationInfo, RefreshRecomputesTheChecksumShowAndLeaveItAlone) {
    CRegisterImage image;
    image.SetText(kChecksumIndex, "BEEF");
    image.LoadDefaultTemplate();
    EXPECT_EQ(image.Text(kChecksumIndex), "BEEF");

    RecordingInfoView shown;
    image.ShowConfigurationInfo(shown);
    EXPECT_EQ(shown.calls, (std::vector<std::string>{"checksum=BEEF", "issue=0", "name=DEFAULT",
                                                     "description=Comment", "date=dd/mm/yyyy"}));

    RecordingInfoView refreshed;
    image.RefreshConfigurationInfo(refreshed);
    const std::string sum = ChecksumText(image.Texts());
    EXPECT_NE(sum, "BEEF");
    EXPECT_EQ(image.Text(kChecksumIndex), sum);
    EXPECT_EQ(refreshed.calls,
              (std::vector<std::string>{"date=dd/mm/yyyy", "issue=0", "name=DEFAULT",
                                        "description=Comment", "checksum=" + sum}));
}

TEST(ConfigurationInfo, IssueIsShownInDecimal) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetValue(kIssueRegister, 300);
    RecordingInfoView shown;
    image.ShowConfigurationInfo(shown);
    EXPECT_EQ(shown.calls[1], "issue=300");
}

TEST(OptionBits, ChangeOneBitAndKeepTheOthers) {
    CRegisterImage image;
    image.SetText(kOptionRegister, "0019");
    EXPECT_FALSE(image.OptionBit(kLogEnableBit));
    image.SetOptionBit(kLogEnableBit, true);
    EXPECT_EQ(image.Text(kOptionRegister), "0039");
    image.SetOptionBit(kLogEnableBit, false);
    EXPECT_EQ(image.Text(kOptionRegister), "0019");
}

TEST(RegisterAccess, OutOfRangeIsHarmlessAndTextsAreKeptAsStored) {
    CRegisterImage image;
    image.SetText(-1, "0001");
    image.SetText(kImageEntries, "0001");
    EXPECT_EQ(image.Text(-1), "");
    EXPECT_EQ(image.Text(kImageEntries), "");
    image.SetText(5, "abc");
    EXPECT_EQ(image.Text(5), "abc");
    EXPECT_EQ(image.Value(5), 0xABCu);
    image.SetValue(6, 0x12345);
    EXPECT_EQ(image.Text(6), "2345") << "only the low 16 bits are stored";
}

TEST(Conversions, HexReadsLikeTheCLibrary) {
    EXPECT_EQ(ScanHex("00ff"), 0xFFu);
    EXPECT_EQ(ScanHex("  1A"), 0x1Au);
    EXPECT_EQ(ScanHex("0x10"), 0x10u);
    EXPECT_EQ(ScanHex("0xZ"), 0u) << "a 0 without digits after the x is the number 0";
    EXPECT_EQ(ScanHex("12G4"), 0x12u);
    EXPECT_EQ(ScanHex("-1"), 0xFFFFFFFFu);
    EXPECT_FALSE(ScanHex("").has_value());
    EXPECT_FALSE(ScanHex("G000").has_value());
    EXPECT_EQ(ScanDecimal(" 42x"), 42);
    EXPECT_EQ(ScanDecimal("-7"), -7);
    EXPECT_EQ(ScanDecimal("99999999999999999999"), 2147483647);
    EXPECT_FALSE(ScanDecimal("x1").has_value());
    EXPECT_TRUE(IsHexWord("a55A"));
    EXPECT_FALSE(IsHexWord("A55"));
    EXPECT_FALSE(IsHexWord("A55G"));
    EXPECT_FALSE(IsHexWord(" A55"));
    EXPECT_EQ(FormatHexWord(0xfb), "00FB");
    EXPECT_EQ(FormatHexWord(static_cast<unsigned>(-5)), "FFFB");
}
