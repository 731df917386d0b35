// The ModBus page keeps its words in range as they are typed and when it is filled, and brings
// register 185 into the lists' form on every tick while it is shown, keeping the other bits.
#include "PageTestSupport.h"
#include "pages/mD5.h"

namespace orvane::test {
namespace {

class ModBusPage : public ::testing::Test {
protected:
    void SetUp() override { page.show(); }
    void Show() {
        host.SelectTab(kTabModBus);
        page.OnTimer();
    }
    std::string Lists() {
        return (page.BaudList()->currentText() + page.ParityList()->currentText()).toStdString();
    }
    FakePageHost host{kTabModBus};
    mD5 page{host, host};
    RegisterImage& image = host.Image();
};

// The template's unassigned site numbers are clamped by the first fill; register 185 "FFFF"
// shows "19200" and "Even" and is rewritten by the same tick; typing is clamped or refused.
TEST_F(ModBusPage, FillAndTypingKeepTheWordsInRange) {
    EXPECT_EQ(Lists(), "9600None");
    Show();
    EXPECT_EQ(page.AddressEdit()->text(), "1");
    EXPECT_EQ(Lists(), "19200Even");
    EXPECT_EQ(page.SiteNumberEdit(0)->text() + page.SiteNumberEdit(3)->text(), "9999999");
    EXPECT_EQ(Words(image, {306, 307, 308, 309, 185}), "270F 270F 03E7 03E7 00FD");
    ExpectReadable(&page);

    const struct {
        QLineEdit* edit;
        const char *typed, *shown;
        int reg;
        const char* word;
    } cases[] = {{page.SiteNumberEdit(0), "0", "1", 306, "0001"},
                 {page.SiteNumberEdit(1), "12345", "9999", 307, "270F"},
                 {page.SiteNumberEdit(2), "a5", "5", 308, "0005"},
                 {page.AddressEdit(), "70000", "7000", 181, "1B58"}}; // 70000 would pass 65535
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit->accessibleName().toStdString() + " typed " + c.typed);
        TypeInto(c.edit, c.typed);
        EXPECT_EQ(c.edit->text().toStdString(), c.shown);
        EXPECT_EQ(image.Text(c.reg), c.word);
    }
    ExpectReadable(&page);
}

TEST_F(ModBusPage, ListsWriteRegister185BackKeepingItsOtherLowBits) {
    image.SetText(185, "0011");
    Show();
    EXPECT_EQ(Lists(), "19200Even");
    page.ParityList()->setFocus();
    QTest::keyClick(page.ParityList(), Qt::Key_Down); // "Odd"
    QTest::keyClick(page.ParityList(), Qt::Key_Down); // "None"
    EXPECT_EQ(image.Text(185), "0010");
    QTest::keyClick(page.BaudList(), Qt::Key_Up); // "9600"
    EXPECT_EQ(image.Text(185), "0000");

    image.SetText(185, "01EE"); // changed elsewhere: the next shown tick rewrites it
    page.OnTimer();
    EXPECT_EQ(image.Text(185), "00EC");
    image.SetText(185, "01EE");
    host.activeTab = kTabStart;
    page.OnTimer();
    EXPECT_EQ(image.Text(185), "01EE");
}

} // namespace
} // namespace orvane::test
