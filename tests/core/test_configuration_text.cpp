// The configuration text is exactly the 1611 bytes the controller expects, and an unsendable image
// sends nothing.
#include <gtest/gtest.h>

#include <string>

#include "core/ConfigurationText.h"
#include "core/RegisterImage.h"

using namespace orvane;

namespace {

CRegisterImage AllZero() {
    CRegisterImage image;
    for (int i = 0; i < kRegisterCount; ++i) {
        image.SetText(i, "0000");
    }
    return image;
}

} // namespace

TEST(ConfigurationText, TemplateGivesTheDocumentedBytes) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    const auto built = BuildConfigurationText(image);
    ASSERT_TRUE(built.ok());
    const std::string& t = built.text;
    ASSERT_EQ(t.size(), 1611u);
    EXPECT_EQ(t.substr(0, 2 + 24), "<\r000100010001000100190019");
    // The template's checksum, worked out by hand from its table.
    EXPECT_EQ(t.substr(1602), "A544> END");
    EXPECT_EQ(image.Text(kChecksumIndex), "A544");
    for (int i = 0; i < kRegisterCount; ++i) {
        ASSERT_EQ(t.substr(2 + 4 * std::size_t(i), 4), image.Text(i)) << "register " << i;
    }
}

TEST(ConfigurationText, AllZeroImage) {
    CRegisterImage image = AllZero();
    const auto built = BuildConfigurationText(image);
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.text, "<\r" + std::string(1600, '0') + "0004> END");
}

TEST(ConfigurationText, BuildingTwiceGivesTheSameTextAndChecksum) {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    const auto first = BuildConfigurationText(image);
    const std::string sum = image.Text(kChecksumIndex);
    const auto second = BuildConfigurationText(image);
    EXPECT_EQ(first.text, second.text);
    EXPECT_EQ(image.Text(kChecksumIndex), sum);
}

TEST(ConfigurationText, LowerCaseRegistersTravelAsStoredWithAnUpperCaseChecksum) {
    CRegisterImage image = AllZero();
    image.SetText(7, "00ab");
    const auto built = BuildConfigurationText(image);
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.text.substr(2 + 28, 4), "00ab");
    EXPECT_EQ(built.text.substr(1602, 4), "00AF");
}

TEST(ConfigurationText, AnImageWithABadRegisterIsRefusedAndNamesIt) {
    for (const char* bad : {"", "123", "12345", "12G4", " 123"}) {
        CRegisterImage image = AllZero();
        image.SetText(kChecksumIndex, "CAFE");
        image.SetText(250, bad);
        image.SetText(300, "XXXX");
        const auto built = BuildConfigurationText(image);
        EXPECT_FALSE(built.ok()) << '"' << bad << '"';
        EXPECT_EQ(built.invalidRegister, 250) << '"' << bad << '"';
        EXPECT_TRUE(built.text.empty());
        EXPECT_EQ(image.Text(kChecksumIndex), "CAFE") << "a refused build stores no checksum";
    }
}
