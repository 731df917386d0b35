// The Start page stores what is typed at once (only storable characters, issue up to 65535),
// stores back what a fill shows except the name, freezes after a refused file, wires its
// buttons to the documented refusals and requests, and remembers what a download does besides.
#include <fstream>

#include <QTemporaryDir>

#include "PageTestSupport.h"
#include "app/SaveConfiguration.h"
#include "core/image/Checksum.h"
#include "pages/mD2.h"

namespace orvane::test {
namespace {

// Each character as a key press carrying it, as a keyboard with that key would send it
// (QTest's key clicks cover ASCII only).
void TypeCharacters(QLineEdit* edit, const QString& text, bool replace = true) {
    edit->setFocus();
    if (replace) {
        edit->selectAll();
    }
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class StartPage : public ::testing::Test {
protected:
    void SetUp() override { page.show(); }
    FakePageHost host{kTabStart};
    MemoryStore store;
    mD2 page{host, host, store};
    RegisterImage& image = host.Image();
};

TEST_F(StartPage, TypingStoresEachFieldAtOnce) {
    const struct {
        QLineEdit* (mD2::*edit)();
        QString typed, shown;
        std::vector<int> registers;
        std::string words;
    } cases[] = {
        {&mD2::NameEdit, "AB", "AB", {206, 207, 208}, "0000 0000 FFFF"},
        {&mD2::NameEdit,
         QString::fromUtf8("é€x"),
         QString::fromUtf8("éx"),
         {186, 187, 188},
         "00E9 0078 0000"},
        {&mD2::IssueEdit, "7x0000", "7000", {211}, "1B58"}, // the 4th zero would pass 65535
        {&mD2::DescriptionEdit, "Hi", "Hi", {212, 213, 214}, "0048 0069 0000"},
        {&mD2::DateEdit, "01/02/2024x", "01/02/2024", {355, 356}, "0032 0034"}};
    for (const auto& c : cases) {
        QLineEdit* edit = (page.*c.edit)();
        SCOPED_TRACE(edit->accessibleName().toStdString() + " typed " + c.typed.toStdString());
        TypeCharacters(edit, c.typed);
        EXPECT_EQ(edit->text(), c.shown);
        EXPECT_EQ(Words(image, c.registers), c.words);
    }
    ExpectReadable(&page);
}

// The fill shows the image; issue, description and date go back through their edit handling
// (a zero register cuts the text there), the name does not. Only while the tab is shown.
TEST_F(StartPage, TheTickFillsTheVisiblePageAndStoresBackAllButTheName) {
    const std::pair<int, const char*> words[] = {
        {211, "000c"}, {186, "004E"}, {187, "0000"}, {188, "004A"}, {212, "0041"},
        {213, "0000"}, {214, "0042"}, {347, "0031"}, {348, "0000"}, {349, "0032"}};
    for (const auto& [index, word] : words) {
        image.SetText(index, word);
    }
    host.SelectTab(kTabMode);
    page.OnTimer();
    EXPECT_EQ(page.NameEdit()->text(), "");

    host.SelectTab(kTabStart);
    page.OnTimer();
    EXPECT_EQ(host.RefreshFlag(kTabStart), "1");
    EXPECT_EQ(page.IssueEdit()->text() + "|" + page.NameEdit()->text() + "|" +
                  page.DescriptionEdit()->text() + "|" + page.DateEdit()->text(),
              "12|N|A|1");
    EXPECT_EQ(Words(image, {186, 187, 188, 211, 212, 213, 214, 347, 348, 349}),
              "004E 0000 004A 000C 0041 0000 0000 0031 0000 0000");
    ExpectReadable(&page);

    // A character no key could type, filled from the image, stays while the rest is edited.
    image.SetText(187, "20AC");
    image.SetText(188, "0000");
    host.SelectTab(kTabStart);
    page.OnTimer();
    page.NameEdit()->end(false);
    TypeCharacters(page.NameEdit(), QString::fromUtf8("€y"), false);
    EXPECT_EQ(page.NameEdit()->text(), QString::fromUtf8("N€y"));
    EXPECT_EQ(Words(image, {186, 187, 188, 189}), "004E 20AC 0079 0000");
}

// Saved by the main window's code, opened with the page's button; a refused file then freezes
// the fields (the image holds the template) until a file loads again.
TEST_F(StartPage, SaveAndOpenRoundTripAndARefusedFileFreezesTheFields) {
    QTemporaryDir dir;
    TypeInto(page.NameEdit(), "Plant room 4");
    TypeInto(page.IssueEdit(), "7");
    const std::string good = dir.filePath("plant.txt").toStdString();
    host.rig.prompter.savePath = good;
    SaveConfigurationFile(image, false, host.rig.prompter, page);
    EXPECT_EQ(host.rig.prompter.saveRequests.at(0).proposedName, "Plant room 4_Issue7");
    const RegisterTexts saved = image.Texts();

    TypeInto(page.NameEdit(), "Something else");
    host.rig.prompter.openPaths = {good};
    QTest::mouseClick(page.OpenButton(), Qt::LeftButton);
    EXPECT_EQ(image.Texts(), saved);
    EXPECT_EQ(page.NameEdit()->text(), "Plant room 4");
    EXPECT_EQ(host.checksum, saved[kChecksumIndex]);

    const std::string bad = dir.filePath("bad.txt").toStdString();
    std::ofstream(bad) << "no configuration here";
    host.rig.prompter.openPaths = {bad};
    QTest::mouseClick(page.OpenButton(), Qt::LeftButton);
    EXPECT_TRUE(page.FileError());
    EXPECT_EQ(image.Text(186), "0044"); // the template's DEFAULT
    page.OnTimer();
    EXPECT_EQ(page.NameEdit()->text(), "Plant room 4");
    EXPECT_EQ(host.RefreshFlag(kTabStart), "0");

    host.rig.prompter.openPaths = {good};
    QTest::mouseClick(page.OpenButton(), Qt::LeftButton);
    page.OnTimer();
    EXPECT_EQ(host.RefreshFlag(kTabStart), "1");
    EXPECT_EQ(host.rig.prompter.asked,
              Strings{"Warning - Error in file!!!: Wrong type of file opened!"});
}

TEST_F(StartPage, ButtonsReachTheirActionsAndTheInformationShowsInBlue) {
    for (QPushButton* button :
         {page.ReadButton(), page.OpenButton(), page.ReloadButton(), page.RestoreButton(),
          page.RestartButton(), page.RefreshInfoButton()}) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const std::string notConnected =
        "Warning, No Connection : Communication port not set / connected!";
    EXPECT_EQ(host.rig.prompter.asked,
              (Strings{notConnected, notConnected, notConnected,
                       "Controller restarting!: This action will restart the controller\nDo you "
                       "want to restart the controller? [Yes/No]"}));
    EXPECT_EQ(host.rig.prompter.openRequests.size(), 1u);
    EXPECT_EQ(host.checksum, ChecksumText(image.Texts())); // from "Reload Template"
    host.rig.Connect();
    QTest::mouseClick(page.ReadButton(), Qt::LeftButton);
    EXPECT_EQ(host.rig.Flags(), "connected | COMMAND | READCONFIG | pending 2");

    page.SetInputsEnabled(false);
    for (QWidget* input : page.findChildren<QWidget*>()) {
        const bool listed = qobject_cast<QPushButton*>(input) || qobject_cast<QLineEdit*>(input) ||
                            qobject_cast<QCheckBox*>(input);
        EXPECT_EQ(input->isEnabled(), !listed) << input->accessibleName().toStdString();
    }

    page.ShowControllerInfo("ORV-FC4\r\nFirmware 4.12\r\n\xb5-series");
    QPlainTextEdit* info = page.ControllerInfoField();
    EXPECT_EQ(info->toPlainText(), QString::fromUtf8("ORV-FC4\nFirmware 4.12\nµ-series"));
    EXPECT_TRUE(info->isReadOnly());
    EXPECT_EQ(info->palette().color(QPalette::Text), QColor(0x19, 0x19, 0xFF));
    ExpectReadable(&page);
}

// Off by default; each choice is remembered as it changes and shown again by a new page; the
// folder is of use only with the backup; the compare buttons go to the main window.
TEST_F(StartPage, DownloadChoicesAreRememberedAndCompareGoesToTheWindow) {
    EXPECT_EQ(page.WriteChoices(), SafeWriteChoices{});
    EXPECT_FALSE(page.BackupFolderEdit()->isEnabled() || page.ChooseFolderButton()->isEnabled());
    QTest::mouseClick(page.BackupCheck(), Qt::LeftButton);
    EXPECT_TRUE(page.BackupFolderEdit()->isEnabled() && page.ChooseFolderButton()->isEnabled());
    TypeInto(page.BackupFolderEdit(), "/srv/typed");
    EXPECT_EQ(store.stored.backupFolder, "/srv/typed");
    host.rig.prompter.folder = "/srv/chosen";
    QTest::mouseClick(page.ChooseFolderButton(), Qt::LeftButton);
    QTest::mouseClick(page.PreviewCheck(), Qt::LeftButton);
    QTest::mouseClick(page.VerifyCheck(), Qt::LeftButton);
    const SafeWriteChoices all{true, "/srv/chosen", true, true};
    EXPECT_EQ(store.stored, all);
    EXPECT_EQ(page.WriteChoices(), all);

    mD2 again{host, host, store};
    EXPECT_TRUE(again.BackupCheck()->isChecked() && again.PreviewCheck()->isChecked() &&
                again.VerifyCheck()->isChecked());
    EXPECT_EQ(again.BackupFolderEdit()->text(), "/srv/chosen");
    EXPECT_EQ(again.WriteChoices(), all);

    int toController = 0, toFile = 0;
    QObject::connect(&page, &mD2::CompareWithControllerRequested, [&] { ++toController; });
    QObject::connect(&page, &mD2::CompareWithFileRequested, [&] { ++toFile; });
    QTest::mouseClick(page.CompareControllerButton(), Qt::LeftButton);
    QTest::mouseClick(page.CompareFileButton(), Qt::LeftButton);
    EXPECT_EQ(std::pair(toController, toFile), std::pair(1, 1));
    ExpectReadable(&page);
}

} // namespace
} // namespace orvane::test
