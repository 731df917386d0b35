// The Mode page writes the operating mode with its hysteresis words and the "MODE" field when a
// button is clicked, the project mode when an item is chosen, and shows both from the image.
#include "PageTestSupport.h"
#include "pages/mD3.h"

namespace orvane::test {
namespace {

TEST(ModePage, ClickingAndChoosingStoreShowingDoesNot) {
    FakePageHost host(kTabMode);
    mD3 page(host, host);
    page.show();
    RegisterImage& image = host.Image();
    EXPECT_TRUE(page.ModeButton(0)->isChecked());
    QTest::mouseClick(page.ModeButton(3), Qt::LeftButton);
    EXPECT_EQ(Words(image, {183, 300, 305}) + " " + host.mode, "0004 0000 0000 4");
    QTest::mouseClick(page.ModeButton(1), Qt::LeftButton);
    EXPECT_EQ(Words(image, {183, 300, 305}) + " " + host.mode, "0002 0001 0001 2");
    Choose(page.ProjectModeList(), "6 : MODBUS_FCU");
    EXPECT_EQ(image.Text(182), "0006");
    Choose(page.ProjectModeList(), "Undefined Project Mode");
    EXPECT_EQ(image.Text(182), "005A");

    const struct {
        const char *projectWord, *controlWord, *shown;
        int checked; // the button checked afterwards
    } cases[] = {{"0007", "0003", "Undefined Project Mode", 2},
                 {"0004", "0000", "4 : Webserver RS485 Slave", 2}, // 0 leaves the buttons alone
                 {"0000", "0001", "0 : Project Specific Mode unused", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.projectWord) + " " + c.controlWord);
        image.SetText(182, c.projectWord);
        image.SetText(183, c.controlWord);
        host.SelectTab(kTabMode);
        page.OnTimer();
        EXPECT_EQ(page.ProjectModeList()->currentText().toStdString(), c.shown);
        EXPECT_TRUE(page.ModeButton(c.checked)->isChecked());
        EXPECT_EQ(Words(image, {182, 183}) + " " + host.mode,
                  std::string(c.projectWord) + " " + c.controlWord + " 2");
    }
    ExpectReadable(&page);

    EXPECT_EQ(page.CautionField()->palette().color(QPalette::WindowText), QColor(0xFA, 0x0A, 0x16));
    page.SetInputsEnabled(false);
    EXPECT_FALSE(page.ProjectModeList()->isEnabled() || page.ModeButton(3)->isEnabled());
}

} // namespace
} // namespace orvane::test
