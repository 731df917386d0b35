// The ModBus page keeps its words in range as they are typed and when it is filled, and brings
// register 185 into the lists' form on every tick while it is shown, keeping the other bits.
#include "PageTestSupport.h"
#include "pages/mD5.h"

namespace orvane::test {
namespace {

void Choose(QComboBox* list, const QString& item) {
    const int target = list->findText(item);
    ASSERT_GE(target, 0) << item.toStdString();
    while (list->currentIndex() != target) {
        QTest::keyClick(list, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }
}

class ModBusPage : public ::testing::Test {
protected:
    void SetUp() override { page.show(); }
    void Show() {
        host.SelectTab(kTabModBus);
        page.OnTimer();
    }
    FakePageHost host{kTabModBus};
    mD5 page{host, host};
};

// The template's unassigned site numbers are clamped by the first fill, register 185 "FFFF"
// shows "19200" and "Even" and is rewritten by the same tick.
TEST_F(ModBusPage, FillingTheTemplateClampsAndRewrites) {
    EXPECT_EQ(page.BaudList()->currentText(), "9600");
    EXPECT_EQ(page.ParityList()->currentText(), "None");
    host.SelectTab(kTabMode);
    page.OnTimer();
    EXPECT_EQ(host.Image().Text(185), "FFFF");

    Show();
    EXPECT_EQ(page.AddressEdit()->text(), "1");
    EXPECT_EQ(page.BaudList()->currentText(), "19200");
    EXPECT_EQ(page.ParityList()->currentText(), "Even");
    const char* shown[] = {"9999", "9999", "999", "999"};
    const char* stored[] = {"270F", "270F", "03E7", "03E7"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page.SiteNumberEdit(i)->text(), shown[i]);
        EXPECT_EQ(host.Image().Text(306 + i), stored[i]);
    }
    EXPECT_EQ(host.Image().Text(185), "00FD");
    ExpectReadable(&page);
}

TEST_F(ModBusPage, TypedNumbersAreStoredClampedAndBounded) {
    Show();
    const struct {
        QLineEdit* edit;
        const char *typed, *shown;
        int reg;
        const char* word;
    } cases[] = {
        {page.SiteNumberEdit(0), "0", "1", 306, "0001"},
        {page.SiteNumberEdit(0), "12345", "9999", 306, "270F"},
        {page.SiteNumberEdit(1), "42", "42", 307, "002A"},
        {page.SiteNumberEdit(2), "a5", "5", 308, "0005"},
        {page.SiteNumberEdit(3), "1000", "999", 309, "03E7"},
        {page.AddressEdit(), "65535", "65535", 181, "FFFF"},
        {page.AddressEdit(), "70000", "7000", 181, "1B58"}, // the last zero would pass 65535
        {page.AddressEdit(), "", "", 181, "0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit->accessibleName().toStdString() + " typed " + c.typed);
        TypeInto(c.edit, c.typed);
        EXPECT_EQ(c.edit->text().toStdString(), c.shown);
        EXPECT_EQ(host.Image().Text(c.reg), c.word);
    }
    ExpectReadable(&page);
}

TEST_F(ModBusPage, ListsWriteRegister185BackKeepingItsOtherLowBits) {
    host.Image().SetText(185, "0011");
    Show();
    EXPECT_EQ(page.BaudList()->currentText(), "19200");
    EXPECT_EQ(page.ParityList()->currentText(), "Even");
    Choose(page.ParityList(), "None");
    EXPECT_EQ(host.Image().Text(185), "0010");
    Choose(page.BaudList(), "9600");
    EXPECT_EQ(host.Image().Text(185), "0000");

    host.Image().SetText(185, "01EE"); // changed elsewhere: the next visible tick rewrites it
    page.OnTimer();
    EXPECT_EQ(host.Image().Text(185), "00EC");
    host.Image().SetText(185, "01EE");
    host.activeTab = kTabStart;
    page.OnTimer();
    EXPECT_EQ(host.Image().Text(185), "01EE");

    host.Image().SetText(185, "00C0");
    Show();
    EXPECT_EQ(page.BaudList()->currentText(), "19200");
    EXPECT_EQ(page.ParityList()->currentText(), "Even");
    EXPECT_EQ(host.Image().Text(185), "00D1");
}

} // namespace
} // namespace orvane::test
