// Through the window and the built-in simulated controller: the window follows the connection and
// keeps its page while a command runs; a configuration read, edited on the Start page and
// downloaded is what a later read brings back, and what a saved file opens to; the identification
// text reaches the Start page; the commissioning report says what was found, left and proved; a
// disconnect releases the port.
#include <gmock/gmock.h>

#include <fstream>
#include <iterator>

#include <QSettings>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/ReportDialog.h"
#include "app/SimulatorPort.h"
#include "pages/mD2.h"
#include "tests/pages/PageTestSupport.h"

namespace orvane::test {
namespace {

using WindowEndToEnd = WindowTest;
using ::testing::HasSubstr;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

RegisterTexts Registers(RegisterTexts texts) {
    texts[kChecksumIndex].clear();
    return texts;
}

TEST_F(WindowEndToEnd, ConnectReadEditDownloadReadBackSaveOpenAndDisconnect) {
    const auto commandEnded = [&] { return !window->Sequencing().IsBusy(); };
    mD1* comms = window->CommsPage();
    // Before anything was read, only a chosen file can be the as-found record.
    Click(window->ReportButton());
    ASSERT_TRUE(window->Report() != nullptr && window->Report()->isVisible());
    EXPECT_FALSE(window->Report()->FirstReadChoice()->isEnabled());
    EXPECT_TRUE(window->Report()->FileChoice()->isChecked());
    EXPECT_FALSE(window->Report()->SaveHtmlButton()->isEnabled());
    window->Report()->close();
    ASSERT_TRUE(Connect());
    EXPECT_EQ(window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(comms->ConnectButton()->text(), "Disconnect");
    EXPECT_EQ(comms->ConnectButton()->accessibleName(), "Disconnect");
    EXPECT_FALSE(comms->PortList()->isEnabled() || comms->RefreshButton()->isEnabled());
    window->OnTimer();
    EXPECT_EQ(window->StatusLine()->text(), "DO_NOTHING");

    ClickTab(1);
    mD2* start = window->StartPage();
    start->OnTimer();
    Click(start->ReadButton());
    window->OnTimer(); // the read starts
    ASSERT_TRUE(window->Sequencing().IsBusy());
    EXPECT_EQ(window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(window->ActivityAnimation()->IsPlaying());
    ClickTab(2); // the page stays while a command runs
    EXPECT_TRUE(window->Page(1)->isVisible());
    EXPECT_FALSE(window->Page(2)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "2");
    EXPECT_EQ(1 + TickUntil(commandEnded), 34);
    EXPECT_EQ(window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(window->ActivityAnimation()->ResourceId(), kAnimationIdle);
    const RegisterImage controller = window->Simulator().Host().Configuration();
    EXPECT_EQ(window->Image().Texts(), controller.Texts());
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), controller.Text(kChecksumIndex));
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");

    // Live data follows the read.
    const auto& fields = window->Sequencing().Fields();
    ASSERT_TRUE(TickUntil(
        [&] { return window->StatusLine()->text() == "VIEW DATA" && fields[13].ends_with("s"); }));
    const std::string uptime = fields[13];
    ASSERT_TRUE(TickUntil([&] { return fields[13] != uptime; }));

    TypeInto(start->NameEdit(), "Boiler house 2");
    TypeInto(start->IssueEdit(), "3");
    const RegisterTexts edited = Registers(window->Image().Texts());
    ASSERT_NE(edited, Registers(controller.Texts()));
    Click(window->DownloadButton());
    EXPECT_EQ(TickUntil(commandEnded), 61);
    EXPECT_EQ(Registers(window->Simulator().Host().Configuration().Texts()), edited);

    Click(start->ReloadButton());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");
    Click(start->ReadButton());
    EXPECT_EQ(TickUntil(commandEnded), 34);
    EXPECT_EQ(Registers(window->Image().Texts()), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Boiler house 2");
    EXPECT_EQ(start->IssueEdit()->text(), "3");
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));

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

    window->Requests().RequestControllerInformation();
    ASSERT_TRUE(TickUntil(commandEnded));
    EXPECT_TRUE(start->ControllerInfoField()->toPlainText().startsWith("ORV"));
    ExpectReadable(start);

    // The report: as found the first read, as left what was downloaded, proved by the read
    // after it; the site is remembered and shown as typed.
    Click(window->ReportButton());
    ReportDialog* report = window->Report();
    ASSERT_TRUE(report != nullptr && report->isVisible());
    EXPECT_TRUE(report->FirstReadChoice()->isChecked());
    const QString summary = report->SummaryField()->text();
    EXPECT_THAT(summary.toStdString(), HasSubstr("\nVerification: passed\n"));
    EXPECT_EQ(report->SummaryField()->accessibleDescription(), summary);
    TypeInto(report->SiteEdit(), "<Plant & 4>");
    EXPECT_EQ(QSettings().value("Report/Site").toString(), "<Plant & 4>");
    prompter.saveAnswer = dir.filePath("report.html").toStdString();
    Click(report->SaveHtmlButton());
    const std::string html = Slurp(*prompter.saveAnswer);
    for (const char* shown : {"<td>&lt;Plant &amp; 4&gt;</td>", "Verification: passed</p>",
                              "<li>Start / Configuration File Name: DEFAULT -&gt; Boiler house 2",
                              "<pre>ORV", "<h2>Live snapshot</h2>"}) {
        EXPECT_THAT(html, HasSubstr(shown));
    }
    // The saved file as the as-found record: nothing changed from it; then as PDF.
    prompter.openAnswer = {dir.filePath("boiler.txt").toStdString()};
    Click(report->ChooseFileButton());
    EXPECT_TRUE(report->FileChoice()->isChecked());
    EXPECT_THAT(report->SummaryField()->text().toStdString(), HasSubstr("No changes"));
    prompter.saveAnswer = dir.filePath("report.pdf").toStdString();
    Click(report->SavePdfButton());
    EXPECT_TRUE(Slurp(*prompter.saveAnswer).starts_with("%PDF"));
    EXPECT_TRUE(prompter.asked.empty());
    report->close();

    EXPECT_FALSE(ClickConnect());
    EXPECT_EQ(comms->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(comms->PortList()->isEnabled());
    const auto path = window->Simulator().DevicePath();
    EXPECT_TRUE(path && IsFree(*path)); // the window no longer holds it
}

} // namespace
} // namespace orvane::test
