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
    void SetUp() override { m_page.show(); }
    FakePageHost m_host{kTabStart};
    MemoryStore m_store;
    mD2 m_page{m_host, m_host, m_store};
    RegisterImage& m_image = m_host.Image();
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
        QLineEdit* edit = (m_page.*c.edit)();
        SCOPED_TRACE(edit->accessibleName().toStdString() + " typed " + c.typed.toStdString());
        TypeCharacters(edit, c.typed);
        EXPECT_EQ(edit->text(), c.shown);
        EXPECT_EQ(Words(m_image, c.registers), c.words);
    }
    ExpectReadable(&m_page);
}

// The fill shows the image; issue, description and date go back through their edit handling
// (a zero register cuts the text there), the name does not. Only while the tab is shown.
TEST_F(StartPage, TheTickFillsTheVisiblePageAndStoresBackAllButTheName) {
    const std::pair<int, const char*> words[] = {
        {211, "000c"}, {186, "004E"}, {187, "0000"}, {188, "004A"}, {212, "0041"},
        {213, "0000"}, {214, "0042"}, {347, "0031"}, {348, "0000"}, {349, "0032"}};
    for (const auto& [index, word] : words) {
        m_image.SetText(index, word);
    }
    m_host.SelectTab(kTabMode);
    m_page.OnTimer();
    EXPECT_EQ(m_page.NameEdit()->text(), "");

    m_host.SelectTab(kTabStart);
    m_page.OnTimer();
    EXPECT_EQ(m_host.RefreshFlag(kTabStart), "1");
    EXPECT_EQ(m_page.IssueEdit()->text() + "|" + m_page.NameEdit()->text() + "|" +
                  m_page.DescriptionEdit()->text() + "|" + m_page.DateEdit()->text(),
              "12|N|A|1");
    EXPECT_EQ(Words(m_image, {186, 187, 188, 211, 212, 213, 214, 347, 348, 349}),
              "004E 0000 004A 000C 0041 0000 0000 0031 0000 0000");
    ExpectReadable(&m_page);

    // A character no key could type, filled from the image, stays while the rest is edited.
    m_image.SetText(187, "20AC");
    m_image.SetText(188, "0000");
    m_host.SelectTab(kTabStart);
    m_page.OnTimer();
    m_page.NameEdit()->end(false);
    TypeCharacters(m_page.NameEdit(), QString::fromUtf8("€y"), false);
    EXPECT_EQ(m_page.NameEdit()->text(), QString::fromUtf8("N€y"));
    EXPECT_EQ(Words(m_image, {186, 187, 188, 189}), "004E 20AC 0079 0000");
}

// Saved by the main window's code, opened with the page's button; a refused file then freezes
// the fields (the image holds the template) until a file loads again.
TEST_F(StartPage, SaveAndOpenRoundTripAndARefusedFileFreezesTheFields) {
    QTemporaryDir dir;
    TypeInto(m_page.NameEdit(), "Plant room 4");
    TypeInto(m_page.IssueEdit(), "7");
    const std::string good = dir.filePath("plant.txt").toStdString();
    m_host.rig.prompter.savePath = good;
    SaveConfigurationFile(m_image, false, m_host.rig.prompter, m_page);
    EXPECT_EQ(m_host.rig.prompter.saveRequests.at(0).proposedName, "Plant room 4_Issue7");
    const RegisterTexts saved = m_image.Texts();

    TypeInto(m_page.NameEdit(), "Something else");
    m_host.rig.prompter.openPaths = {good};
    QTest::mouseClick(m_page.OpenButton(), Qt::LeftButton);
    EXPECT_EQ(m_image.Texts(), saved);
    EXPECT_EQ(m_page.NameEdit()->text(), "Plant room 4");
    EXPECT_EQ(m_host.checksum, saved[kChecksumIndex]);

    const std::string bad = dir.filePath("bad.txt").toStdString();
    std::ofstream(bad) << "no configuration here";
    m_host.rig.prompter.openPaths = {bad};
    QTest::mouseClick(m_page.OpenButton(), Qt::LeftButton);
    EXPECT_TRUE(m_page.FileError());
    EXPECT_EQ(m_image.Text(186), "0044"); // the template's DEFAULT
    m_page.OnTimer();
    EXPECT_EQ(m_page.NameEdit()->text(), "Plant room 4");
    EXPECT_EQ(m_host.RefreshFlag(kTabStart), "0");

    m_host.rig.prompter.openPaths = {good};
    QTest::mouseClick(m_page.OpenButton(), Qt::LeftButton);
    m_page.OnTimer();
    EXPECT_EQ(m_host.RefreshFlag(kTabStart), "1");
    EXPECT_EQ(m_host.rig.prompter.asked,
              Strings{"Warning - Error in file!!!: Wrong type of file opened!"});
}

TEST_F(StartPage, ButtonsReachTheirActionsAndTheInformationShowsInBlue) {
    for (QPushButton* button :
         {m_page.ReadButton(), m_page.OpenButton(), m_page.ReloadButton(), m_page.RestoreButton(),
          m_page.RestartButton(), m_page.RefreshInfoButton()}) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const std::string notConnected =
        "Warning, No Connection : Communication port not set / connected!";
    EXPECT_EQ(m_host.rig.prompter.asked,
              (Strings{notConnected, notConnected, notConnected,
                       "Controller restarting!: This action will restart the controller\nDo you "
                       "want to restart the controller? [Yes/No]"}));
    EXPECT_EQ(m_host.rig.prompter.openRequests.size(), 1u);
    EXPECT_EQ(m_host.checksum, ChecksumText(m_image.Texts())); // from "Reload Template"
    m_host.rig.Connect();
    QTest::mouseClick(m_page.ReadButton(), Qt::LeftButton);
    EXPECT_EQ(m_host.rig.Flags(), "connected | COMMAND | READCONFIG | pending 2");

    m_page.SetInputsEnabled(false);
    for (QWidget* input : m_page.findChildren<QWidget*>()) {
        const bool listed = qobject_cast<QPushButton*>(input) || qobject_cast<QLineEdit*>(input) ||
                            qobject_cast<QCheckBox*>(input);
        EXPECT_EQ(input->isEnabled(), !listed) << input->accessibleName().toStdString();
    }

    m_page.ShowControllerInfo("ORV-FC4\r\nFirmware 4.12\r\n\xb5-series");
    QPlainTextEdit* info = m_page.ControllerInfoField();
    EXPECT_EQ(info->toPlainText(), QString::fromUtf8("ORV-FC4\nFirmware 4.12\nµ-series"));
    EXPECT_TRUE(info->isReadOnly());
    EXPECT_EQ(info->palette().color(QPalette::Text), QColor(0x19, 0x19, 0xFF));
    ExpectReadable(&m_page);
}

// Off by default; each choice is remembered as it changes and shown again by a new page; the
// folder is of use only with the backup; the compare buttons go to the main window.
TEST_F(StartPage, DownloadChoicesAreRememberedAndCompareGoesToTheWindow) {
    EXPECT_EQ(m_page.WriteChoices(), SafeWriteChoices{});
    EXPECT_FALSE(m_page.BackupFolderEdit()->isEnabled() ||
                 m_page.ChooseFolderButton()->isEnabled());
    QTest::mouseClick(m_page.BackupCheck(), Qt::LeftButton);
    EXPECT_TRUE(m_page.BackupFolderEdit()->isEnabled() && m_page.ChooseFolderButton()->isEnabled());
    TypeInto(m_page.BackupFolderEdit(), "/srv/typed");
    EXPECT_EQ(m_store.stored.backupFolder, "/srv/typed");
    m_host.rig.prompter.folder = "/srv/chosen";
    QTest::mouseClick(m_page.ChooseFolderButton(), Qt::LeftButton);
    QTest::mouseClick(m_page.PreviewCheck(), Qt::LeftButton);
    QTest::mouseClick(m_page.VerifyCheck(), Qt::LeftButton);
    const SafeWriteChoices all{true, "/srv/chosen", true, true};
    EXPECT_EQ(m_store.stored, all);
    EXPECT_EQ(m_page.WriteChoices(), all);

    mD2 again{m_host, m_host, m_store};
    EXPECT_TRUE(again.BackupCheck()->isChecked() && again.PreviewCheck()->isChecked() &&
                again.VerifyCheck()->isChecked());
    EXPECT_EQ(again.BackupFolderEdit()->text(), "/srv/chosen");
    EXPECT_EQ(again.WriteChoices(), all);

    int toController = 0, toFile = 0;
    QObject::connect(&m_page, &mD2::CompareWithControllerRequested, [&] { ++toController; });
    QObject::connect(&m_page, &mD2::CompareWithFileRequested, [&] { ++toFile; });
    QTest::mouseClick(m_page.CompareControllerButton(), Qt::LeftButton);
    QTest::mouseClick(m_page.CompareFileButton(), Qt::LeftButton);
    EXPECT_EQ(std::pair(toController, toFile), std::pair(1, 1));
    ExpectReadable(&m_page);
}

} // namespace
} // namespace orvane::test
