// The ModBus page keeps its words in range as they are typed and when it is filled, and brings
// register 185 into the lists' form on every tick while it is shown, keeping the other bits.
#include "PageTestSupport.h"
#include "pages/mD5.h"

namespace orvane::test {
namespace {

class ModBusPage : public ::testing::Test {
protected:
    void SetUp() override { m_page.show(); }
    void Show() {
        m_host.SelectTab(kTabModBus);
        m_page.OnTimer();
    }
    std::string Lists() {
        return (m_page.BaudList()->currentText() + m_page.ParityList()->currentText())
            .toStdString();
    }
    FakePageHost m_host{kTabModBus};
    mD5 m_page{m_host, m_host};
    RegisterImage& m_image = m_host.Image();
};

// The clamping and the write-back of register 185 are tabled in the core tests; here each box
// and list is wired to them once.
TEST_F(ModBusPage, FillAndTypingKeepTheWordsInRange) {
    EXPECT_EQ(Lists(), "9600None");
    Show();
    EXPECT_EQ(m_page.AddressEdit()->text(), "1");
    EXPECT_EQ(Lists(), "19200Even");
    EXPECT_EQ(m_page.SiteNumberEdit(0)->text() + m_page.SiteNumberEdit(3)->text(), "9999999");
    EXPECT_EQ(Words(m_image, {306, 309, 185}), "270F 03E7 00FD");
    TypeInto(m_page.SiteNumberEdit(1), "12345");
    EXPECT_EQ(m_page.SiteNumberEdit(1)->text() + " " + m_image.Text(307).c_str(), "9999 270F");
    TypeInto(m_page.AddressEdit(), "70000"); // the last 0 would pass 65535
    EXPECT_EQ(m_page.AddressEdit()->text() + " " + m_image.Text(181).c_str(), "7000 1B58");
    ExpectReadable(&m_page);
}

TEST_F(ModBusPage, ListsWriteRegister185BackKeepingItsOtherLowBits) {
    m_image.SetText(185, "0011");
    Show();
    m_page.ParityList()->setFocus();
    QTest::keyClick(m_page.ParityList(), Qt::Key_Down); // "Odd"
    QTest::keyClick(m_page.ParityList(), Qt::Key_Down); // "None"
    EXPECT_EQ(m_image.Text(185), "0010");
    QTest::keyClick(m_page.BaudList(), Qt::Key_Up); // "9600"
    EXPECT_EQ(m_image.Text(185), "0000");

    m_image.SetText(185, "01EE"); // changed elsewhere: the next shown tick rewrites it
    m_page.OnTimer();
    EXPECT_EQ(m_image.Text(185), "00EC");
    m_image.SetText(185, "01EE");
    m_host.activeTab = kTabStart;
    m_page.OnTimer();
    EXPECT_EQ(m_image.Text(185), "01EE");
}

} // namespace
} // namespace orvane::test
