// The Mode page writes the operating mode with its hysteresis words and the "MODE" field when a
// button is clicked, the project mode when an item is chosen, and shows both from the image.
#include "PageTestSupport.h"
#include "pages/mD3.h"

namespace orvane::test {
namespace {

// Moves the list's choice with the arrow keys, as a person would, to the item with this text.
void Choose(QComboBox* list, const QString& item) {
    const int target = list->findText(item);
    ASSERT_GE(target, 0) << item.toStdString();
    while (list->currentIndex() != target) {
        QTest::keyClick(list, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }
}

class ModePage : public ::testing::Test {
protected:
    void SetUp() override { page.show(); }
    FakePageHost host{kTabMode};
    mD3 page{host, host};
};

TEST_F(ModePage, ClickingAnOperatingModeWritesItsWords) {
    const struct {
        const char *controlMode, *hysteresis, *modeField;
    } cases[] = {
        {"0001", "0001", "1"}, {"0002", "0001", "2"}, {"0003", "0000", "3"}, {"0004", "0000", "4"}};
    // From the last to the first, so that each click changes something.
    for (int i = 3; i >= 0; --i) {
        SCOPED_TRACE(page.ModeButton(i)->text().toStdString());
        QTest::mouseClick(page.ModeButton(i), Qt::LeftButton);
        EXPECT_TRUE(page.ModeButton(i)->isChecked());
        EXPECT_EQ(host.Image().Text(183), cases[i].controlMode);
        for (int reg = 300; reg <= 305; ++reg) {
            EXPECT_EQ(host.Image().Text(reg), cases[i].hysteresis) << "register " << reg;
        }
        EXPECT_EQ(host.mode, cases[i].modeField);
    }
}

TEST_F(ModePage, TheTickShowsProjectAndOperatingModeFromTheImage) {
    EXPECT_TRUE(page.ModeButton(0)->isChecked());
    const struct {
        const char *projectWord, *controlWord, *shown;
        int checked; // the button checked afterwards
    } cases[] = {
        {"005A", "0003", "Undefined Project Mode", 2},
        {"0004", "0000", "4 : Webserver RS485 Slave", 2}, // 0 leaves the buttons alone
        {"0007", "0002", "Undefined Project Mode", 1},
        {"0000", "000A", "0 : Project Specific Mode unused", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.projectWord) + " " + c.controlWord);
        host.Image().SetText(182, c.projectWord);
        host.Image().SetText(183, c.controlWord);
        host.SelectTab(kTabMode);
        page.OnTimer();
        EXPECT_EQ(page.ProjectModeList()->currentText().toStdString(), c.shown);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(page.ModeButton(i)->isChecked(), i == c.checked) << "button " << i;
        }
        EXPECT_EQ(host.Image().Text(182), c.projectWord); // showing stores nothing
        EXPECT_EQ(host.mode, "1");
    }
    ExpectReadable(&page);
}

TEST_F(ModePage, ChoosingAProjectModeStoresItsWord) {
    Choose(page.ProjectModeList(), "6 : MODBUS_FCU");
    EXPECT_EQ(host.Image().Text(182), "0006");
    Choose(page.ProjectModeList(), "Undefined Project Mode");
    EXPECT_EQ(host.Image().Text(182), "005A");

    QLabel* caution = page.CautionField();
    EXPECT_EQ(caution->text().toStdString(),
              "### CAUTION - CHANGING PROJECT MODE WILL OVERWRITE SETTINGS ###  ### ONLY CHANGE "
              "THIS SETTING IF ADVISED BY Halvorn ###    ");
    EXPECT_EQ(caution->palette().color(QPalette::WindowText), QColor(0xFA, 0x0A, 0x16));
    EXPECT_EQ(caution->palette().color(QPalette::Window), QColor(0xC8, 0xC8, 0xC8));

    page.SetInputsEnabled(false);
    EXPECT_FALSE(page.ProjectModeList()->isEnabled());
    EXPECT_FALSE(page.ModeButton(3)->isEnabled());
}

} // namespace
} // namespace orvane::test
