// Through the window and the built-in simulated controller: a configuration read, edited on the
// Start page and downloaded is what a later read brings back, and what a saved file opens to;
// the identification text reaches the Start page.
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/SimulatorPort.h"
#include "pages/mD2.h"
#include "tests/pages/PageTestSupport.h"

namespace orvane::test {
namespace {

class StartEndToEnd : public WindowTest {
protected:
    // Ticks from a request until its command has ended (the first one starts it); -1 when it
    // does not end. Each tick leaves the simulated controller time to answer.
    int RunCommand() {
        for (int ticks = 1; ticks <= 120; ++ticks) {
            QTest::qWait(30);
            window->OnTimer();
            if (!window->Sequencer().IsBusy()) {
                return ticks;
            }
        }
        return -1;
    }
};

RegisterTexts Registers(RegisterTexts texts) {
    texts[kChecksumIndex].clear();
    return texts;
}

TEST_F(StartEndToEnd, ReadEditDownloadAndReadBackTheEditedImage) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    mD2* start = window->StartPage();
    start->OnTimer();

    Click(start->ReadButton());
    EXPECT_EQ(RunCommand(), 34);
    const CRegisterImage controller = window->Simulator().Host().Configuration();
    EXPECT_EQ(window->Image().Texts(), controller.Texts());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");

    TypeInto(start->NameEdit(), "Boiler house 2");
    TypeInto(start->IssueEdit(), "3");
    const RegisterTexts edited = Registers(window->Image().Texts());
    ASSERT_NE(edited, Registers(controller.Texts()));
    Click(window->DownloadButton());
    EXPECT_EQ(RunCommand(), 61);
    EXPECT_EQ(Registers(window->Simulator().Host().Configuration().Texts()), edited);

    Click(start->ReloadButton());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");
    Click(start->ReadButton());
    EXPECT_EQ(RunCommand(), 34);
    EXPECT_EQ(Registers(window->Image().Texts()), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Boiler house 2");
    EXPECT_EQ(start->IssueEdit()->text(), "3");
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));
    EXPECT_TRUE(prompter.asked.empty());

    // Saved with the main window's button and opened again with the Start page's.
    QTemporaryDir dir;
    prompter.saveAnswer = dir.filePath("boiler.txt").toStdString();
    Click(window->SaveButton());
    Click(start->ReloadButton());
    prompter.openAnswer = {*prompter.saveAnswer};
    Click(start->OpenButton());
    EXPECT_EQ(Registers(window->Image().Texts()), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Boiler house 2");
    EXPECT_FALSE(start->FileError());
    EXPECT_TRUE(prompter.asked.empty());

    window->Sequencer().RequestControllerInformation();
    ASSERT_GT(RunCommand(), 0);
    EXPECT_TRUE(start->ControllerInfoField()->toPlainText().startsWith("ORV"));
    ExpectReadable(start);
}

} // namespace
} // namespace orvane::test
