// Through the window and the built-in simulated controller: connect, read, identify, report and
// disconnect, each seen where the window shows it.
#include <gmock/gmock.h>

#include <fstream>
#include <iterator>

#include <QSettings>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/ProgressPanel.h"
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

TEST_F(WindowEndToEnd, ConnectReadReportAndDisconnect) {
    const auto commandEnded = [&] { return !m_window->Sequencing().IsBusy(); };
    mD1* comms = m_window->CommsPage();
    // Before anything was read, only a chosen file can be the as-found record.
    Click(m_window->ReportButton());
    ASSERT_TRUE(m_window->Report() != nullptr && m_window->Report()->isVisible());
    EXPECT_TRUE(m_window->Report()->FileChoice()->isChecked() &&
                !m_window->Report()->FirstReadChoice()->isEnabled() &&
                !m_window->Report()->SaveHtmlButton()->isEnabled());
    m_window->Report()->close();
    ASSERT_TRUE(Connect());
    EXPECT_EQ(m_window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(comms->ConnectButton()->text() + comms->ConnectButton()->accessibleName(),
              "DisconnectDisconnect");
    EXPECT_FALSE(comms->PortList()->isEnabled() || comms->RefreshButton()->isEnabled());
    m_window->OnTimer();
    EXPECT_EQ(m_window->StatusLine()->text(), "DO_NOTHING");

    ClickTab(1);
    mD2* start = m_window->StartPage();
    start->OnTimer();
    Click(start->ReadButton());
    m_window->OnTimer(); // the read starts
    ASSERT_TRUE(m_window->Sequencing().IsBusy());
    EXPECT_EQ(m_window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(m_window->ActivityAnimation()->IsPlaying());
    EXPECT_EQ(m_window->Progress()->Bar()->maximum(), 34);
    EXPECT_EQ(1 + TickUntil(commandEnded), 34);
    EXPECT_EQ(m_window->Progress()->OutcomeField()->text(), "Reading the configuration: finished");
    EXPECT_EQ(m_window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(m_window->ActivityAnimation()->ResourceId(), kAnimationIdle);
    const RegisterImage controller = m_window->Simulator().Host().Configuration();
    EXPECT_EQ(m_window->Image().Texts(), controller.Texts());
    EXPECT_EQ(m_window->ChecksumField()->text().toStdString(), controller.Text(kChecksumIndex));
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");

    // Downloads are followed through the window by the safe-write tests.
    TypeInto(start->NameEdit(), "Boiler house 2");
    m_window->Requests().RequestControllerInformation();
    ASSERT_TRUE(TickUntil(commandEnded));
    EXPECT_TRUE(start->ControllerInfoField()->toPlainText().startsWith("ORV"));
    ExpectReadable(start);

    // As found the first read, as left the edited window; the site is remembered.
    QTemporaryDir dir;
    m_prompter.saveAnswer = dir.filePath("boiler.txt").toStdString();
    Click(m_window->SaveButton());
    Click(m_window->ReportButton());
    ReportDialog* report = m_window->Report();
    ASSERT_TRUE(report != nullptr && report->isVisible());
    EXPECT_TRUE(report->FirstReadChoice()->isChecked());
    const QString summary = report->SummaryField()->text();
    EXPECT_THAT(summary.toStdString(), HasSubstr("1 setting changed"));
    EXPECT_EQ(report->SummaryField()->accessibleDescription(), summary);
    TypeInto(report->SiteEdit(), "<Plant & 4>");
    EXPECT_EQ(QSettings().value("Report/Site").toString(), "<Plant & 4>");
    m_prompter.saveAnswer = dir.filePath("report.html").toStdString();
    Click(report->SaveHtmlButton());
    const std::string html = Slurp(*m_prompter.saveAnswer);
    for (const char* shown :
         {"<td>&lt;Plant &amp; 4&gt;</td>", "<pre>ORV",
          "<li>Start / Configuration File Name: DEFAULT -&gt; Boiler house 2"}) {
        EXPECT_THAT(html, HasSubstr(shown));
    }
    m_prompter.openAnswer = {dir.filePath("boiler.txt").toStdString()};
    Click(report->ChooseFileButton());
    EXPECT_TRUE(report->FileChoice()->isChecked());
    EXPECT_THAT(report->SummaryField()->text().toStdString(), HasSubstr("No changes"));
    EXPECT_TRUE(m_prompter.asked.empty());
    report->close();

    EXPECT_FALSE(ClickConnect());
    EXPECT_EQ(comms->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(comms->PortList()->isEnabled());
    const auto path = m_window->Simulator().DevicePath();
    EXPECT_TRUE(path && IsFree(*path)); // the window no longer holds it
}

} // namespace
} // namespace orvane::test
