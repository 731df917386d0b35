// The register image holds the documented factory template, keeps its checksum rule and turns
// into exactly the 1611 bytes the controller expects; an unsendable image sends nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Checksum.h"
#include "core/ConfigurationText.h"
#include "core/Conversions.h"
#include "core/RegisterImage.h"

using namespace orvane;

namespace {

struct ExpectedRun {
    int first, last;
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
    {399, 399, {"A55A"}}};

CRegisterImage Filled(const std::string& text) {
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
    void ShowConfigDescription(const std::string& t) override { calls.push_back("desc=" + t); }
};

} // namespace

TEST(DefaultTemplate, EveryRegisterMatchesTheDocumentedTable) {
    CRegisterImage image = Filled("1234");
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

TEST(TextField, EndsAtTheFirstZeroAndIsEmptyWhenItStartsWithOne) {
    CRegisterImage image = Filled("0041");
    EXPECT_EQ(image.DecodeTextField(kDateField), "AAAAAAAAAA") << "no zero: the whole field";
    image.SetText(kDateField.first + 3, "0000");
    EXPECT_EQ(image.DecodeTextField(kDateField), "AAA");
    image.SetText(kDateField.first, "0000");
    EXPECT_EQ(image.DecodeTextField(kDateField), "");
    image.SetText(kDateField.first, "00E9"); // é arrives as a 16-bit code and leaves as UTF-8
    EXPECT_EQ(image.DecodeTextField(kDateField), "\xC3\xA9"
                                                 "AA");
}

// Each step changes the image further. The checksum entry itself is never summed, and a
// register holding no number repeats the value before it (0 for register 0).
TEST(Checksum, WorkedExamples) {
    struct Step {
        int reg;
        const char *text, *sum;
    };
    CRegisterImage image = Filled("0000");
    EXPECT_EQ(ChecksumText(image.Texts()), "0004");
    const Step steps[] = {{0, "0001", "0005"},  {399, "A55A", "A55F"}, {400, "FFFF", "A55F"},
                          {10, "0003", "A55C"}, {11, "zz", "A55F"},    {0, "????", "A55E"}};
    for (const Step& s : steps) {
        image.SetText(s.reg, s.text);
        EXPECT_EQ(ChecksumText(image.Texts()), s.sum) << "case " << s.reg << "=" << s.text;
    }
}

TEST(ConfigurationInfo, ShowKeepsTheChecksumRefreshRecomputesIt) {
    CRegisterImage image;
    image.SetText(kChecksumIndex, "BEEF");
    image.LoadDefaultTemplate();
    image.SetValue(kIssueRegister, 300);
    RecordingInfoView shown;
    image.ShowConfigurationInfo(shown);
    EXPECT_EQ(shown.calls, (std::vector<std::string>{"checksum=BEEF", "issue=300", "name=DEFAULT",
                                                     "desc=Comment", "date=dd/mm/yyyy"}));
    RecordingInfoView refreshed;
    image.RefreshConfigurationInfo(refreshed);
    const std::string sum = ChecksumText(image.Texts());
    EXPECT_NE(sum, "BEEF");
    EXPECT_EQ(image.Text(kChecksumIndex), sum);
    EXPECT_EQ(refreshed.calls,
              (std::vector<std::string>{"date=dd/mm/yyyy", "issue=300", "name=DEFAULT",
                                        "desc=Comment", "checksum=" + sum}));
}

TEST(Conversions, ReadLikeTheCLibraryAndStoreTheLow16Bits) {
    CRegisterImage image;
    image.SetText(-1, "0001");
    image.SetText(kImageEntries, "0001");
    EXPECT_EQ(image.Text(-1), "");
    EXPECT_EQ(image.Text(kImageEntries), "");
    image.SetText(5, "abc");
    EXPECT_EQ(image.Text(5), "abc") << "texts are kept as stored";
    EXPECT_EQ(image.Value(5), 0xABCu);
    image.SetValue(6, 0x12345);
    EXPECT_EQ(image.Text(6), "2345");
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
    for (const char* bad : {"A55", "A55G", " A55", "A55AA"}) {
        EXPECT_FALSE(IsHexWord(bad)) << "case " << bad;
    }
    EXPECT_EQ(FormatHexWord(static_cast<unsigned>(-5)), "FFFB");
}

TEST(ConfigurationText, TemplateAndAllZeroImageGiveTheDocumentedBytes) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    const auto built = BuildConfigurationText(image);
    ASSERT_TRUE(built.ok());
    const std::string& t = built.text;
    ASSERT_EQ(t.size(), 1611u);
    EXPECT_EQ(t.substr(0, 2 + 24), "<\r000100010001000100190019");
    EXPECT_EQ(t.substr(1602), "A544> END"); // the template's checksum, worked out by hand
    EXPECT_EQ(image.Text(kChecksumIndex), "A544");
    for (int i = 0; i < kRegisterCount; ++i) {
        ASSERT_EQ(t.substr(2 + 4 * std::size_t(i), 4), image.Text(i)) << "register " << i;
    }
    CRegisterImage zero = Filled("0000");
    EXPECT_EQ(BuildConfigurationText(zero).text, "<\r" + std::string(1600, '0') + "0004> END");
}

TEST(ConfigurationText, AnImageWithABadRegisterIsRefusedAndNamesIt) {
    for (const char* bad : {"", "123", "12345", "12G4", " 123"}) {
        CRegisterImage image = Filled("0000");
        image.SetText(kChecksumIndex, "CAFE");
        image.SetText(250, bad);
        image.SetText(300, "XXXX");
        const auto built = BuildConfigurationText(image);
        EXPECT_FALSE(built.ok()) << "case \"" << bad << '"';
        EXPECT_EQ(built.invalidRegister, 250) << "case \"" << bad << '"';
        EXPECT_TRUE(built.text.empty());
        EXPECT_EQ(image.Text(kChecksumIndex), "CAFE") << "a refused build stores no checksum";
    }
}
