#include "app/CZephanApp.h"

#include <algorithm>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>

#include "app/AppSettings.h"
#include "app/CZephanDlg.h"
#include "app/CommandRunner.h"
#include "app/ProgressPanel.h"
#include "app/ReportDialog.h"
#include "app/ReportPdf.h"
#include "app/SimulatorPort.h"
#include "controls/AccessibleComboBox.h"
#include "controls/DarkPalette.h"
#include "core/reports/ReportHtml.h"
#include "pages/TrendWindow.h"
#include "pages/mD2.h"
#include "pages/mD6.h"

namespace orvane {

namespace {

constexpr int kMostTicksPerCommand = 100;
// Ticks on the live pages before their shot, so that the table fills and the panel moves.
constexpr int kLiveTicks = 6;
// The shots need the simulated controller's answers, not its pace: never slower than this.
constexpr int kSlowestScreenshotTickMs = 20;

// One main tick, then a tick's time for the simulated controller to answer.
void RunTick(CZephanDlg& dialog, int tickMs) {
    dialog.OnTimer();
    QEventLoop wait;
    QTimer::singleShot(tickMs, &wait, &QEventLoop::quit);
    wait.exec();
}

// Runs the command just asked for to its end; false when it did not end.
bool RunCommand(CZephanDlg& dialog, int tickMs) {
    RunTick(dialog, tickMs);
    for (int tick = 0; tick < kMostTicksPerCommand && dialog.Sequencing().IsBusy(); ++tick) {
        RunTick(dialog, tickMs);
    }
    return !dialog.Sequencing().IsBusy();
}

// The window repaints a few small fields every second. Through the X server's shared-memory
// images each such repaint first waits for the server to let go of the previous one, a
// round trip that wakes two threads; for areas this small a plain transfer costs less. A
// choice made in the environment is kept. Runs before the platform is set up.
int& WithPlatformDefaults(int& argc) {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    return argc;
}

void SendMouse(QWidget* target, QEvent::Type type, const QPointF& at) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// Some of the controller's minutes of live data cut by a disconnect, then the trend window
// with the pointer over it, and the profile chart with the fans' operating points and a
// point of fan 1 halfway through a drag.
bool RenderLiveShots(CZephanDlg& dialog, const QDir& dir, int tickMs) {
    constexpr int kTicksPerMinute = 60; // a tick is one of the controller's seconds
    const auto run = [&](int ticks) {
        for (int tick = 0; tick < ticks; ++tick) {
            RunTick(dialog, tickMs);
        }
    };
    dialog.Requests().RequestLiveData();
    run(4 * kTicksPerMinute);
    dialog.CommsPage()->OnConnect(); // disconnected for half a minute
    run(kTicksPerMinute / 2);
    dialog.CommsPage()->OnConnect();
    run(3 * kTicksPerMinute);

    TrendWindow& trend = *dialog.Trend();
    trend.Open();
    QCoreApplication::processEvents();
    trend.Refresh();
    TrendChart* values = trend.ValuesChart();
    SendMouse(values->viewport(), QEvent::MouseMove,
              QPointF(values->width() * 0.3, values->height() * 0.5));
    QCoreApplication::processEvents();
    bool ok = trend.grab().save(dir.filePath("trend.png"));
    trend.hide();

    dialog.Tabs()->setCurrentIndex(kTabProfile - 1);
    auto* profile = static_cast<mD6*>(dialog.Page(kTabProfile - 1));
    profile->OnTimer();
    profile->FanList()->setCurrentText("1");
    profile->OnFanSelected();
    for (const int fan : {2, 3}) {
        profile->ProfileChartView()->FanBox(fan)->setChecked(true);
        profile->ProfileChartView()->OnFanBoxClicked(fan, true);
    }
    RunTick(dialog, tickMs);
    profile->OnTimer();
    QCoreApplication::processEvents();
    CChartCtrl* chart = profile->ProfileChartView()->Chart();
    const profile::ProfilePoint point = profile->Profiles().Record(1).Point(8);
    SendMouse(chart->viewport(), QEvent::MouseButtonPress, chart->PositionOf({point.x, point.y}));
    SendMouse(chart->viewport(), QEvent::MouseMove,
              chart->PositionOf({point.x + 12.3, point.y - 14.6}));
    QCoreApplication::processEvents();
    ok = dialog.grab().save(dir.filePath("profile-live.png")) && ok;
    SendMouse(chart->viewport(), QEvent::MouseButtonRelease,
              chart->PositionOf({point.x + 12.3, point.y - 14.6}));
    return ok;
}

// A commissioning visit on the simulated controller after the tab shots: the configuration
// renamed and one ramp rate changed, downloaded and read back; then the report dialog's shot
// and the report itself as PDF and HTML.
bool RenderReport(CZephanDlg& dialog, const QString& dir, int tickMs) {
    RegisterImage& image = dialog.Image();
    const std::string name = "SITE-4";
    for (std::size_t i = 0; i <= name.size(); ++i) {
        image.SetValue(kNameField.first + static_cast<int>(i), i < name.size() ? name[i] : 0);
    }
    image.SetValue(kIssueRegister, 2);
    image.SetValue(297, 25); // FAN 2's ramp rate
    dialog.Requests().OnDownloadConfiguration();
    bool ok = RunCommand(dialog, tickMs);
    dialog.Requests().RequestCommand(CommandCode::ReadConfig);
    ok = RunCommand(dialog, tickMs) && ok;
    dialog.ReportButton()->click();
    ReportDialog* report = dialog.Report();
    report->SiteEdit()->setText("Plant room 4");
    report->EngineerEdit()->setText("J. Smith");
    QCoreApplication::processEvents();
    ok = report->grab().save(QDir(dir).filePath("11-commissioning-report.png")) && ok;
    const std::optional<VisitRecord> visit = report->Record();
    if (!visit) {
        return false;
    }
    const std::string html = RenderReportHtml(BuildCommissioningReport(*visit));
    QFile file(QDir(dir).filePath("commissioning-report.html"));
    ok = file.open(QIODevice::WriteOnly) && file.write(html.data(), qint64(html.size())) > 0 && ok;
    report->close();
    return WriteReportPdf(html, "Commissioning report",
                          QDir(dir).filePath("commissioning-report.pdf"))
               .isEmpty() &&
           ok;
}

// The download with backup and verification against a controller that stores FAN 2's ramp rate
// wrongly, after a compare with it: the compare's list, the progress mid-chain, the failure's
// list, and the report the chain feeds.
bool RenderSafeDownload(CZephanDlg& dialog, const QDir& dir, int tickMs) {
    const QString backups = dir.filePath("backups");
    QDir().mkpath(backups);
    dialog.Image().SetValue(296, 30);
    CommandRunner& runner = dialog.Runner();
    runner.CompareWithController();
    for (int tick = 0; tick < 60 && runner.ShownList() == nullptr; ++tick) {
        RunTick(dialog, tickMs);
    }
    bool ok = runner.ShownList() != nullptr &&
              runner.ShownList()->grab().save(dir.filePath("12-compare-controller.png"));
    runner.ShownList()->close();
    dialog.Simulator().Host().SetCorruptStore(296);
    mD2* start = dialog.StartPage();
    start->BackupFolderEdit()->setText(backups);
    start->BackupCheck()->setChecked(true);
    start->VerifyCheck()->setChecked(true);
    dialog.Tabs()->setCurrentIndex(1);
    dialog.DownloadButton()->click();
    for (int tick = 0; tick < 60; ++tick) {
        RunTick(dialog, tickMs);
    }
    ok = dialog.grab().save(dir.filePath("13-download-progress.png")) && ok;
    for (int tick = 0; tick < 300 && runner.LastSafeDownload() == nullptr; ++tick) {
        RunTick(dialog, tickMs);
    }
    ok = runner.ShownList() != nullptr &&
         runner.ShownList()->grab().save(dir.filePath("14-verification-failed.png")) && ok;
    runner.ShownList()->close();
    dialog.ReportButton()->click();
    const std::optional<VisitRecord> visit = dialog.Report()->Record();
    dialog.Report()->close();
    start->BackupCheck()->setChecked(false);
    start->VerifyCheck()->setChecked(false);
    return visit && ok &&
           WriteReportPdf(RenderReportHtml(BuildCommissioningReport(*visit)),
                          "Commissioning report", dir.filePath("chain-report.pdf"))
               .isEmpty();
}

} // namespace

CZephanApp::CZephanApp(int& argc, char** argv) : QApplication(WithPlatformDefaults(argc), argv) {
    setOrganizationName(AppSettings::kOrganisation);
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());
    setDesktopFileName("orvane-gui");
    setWindowIcon(QIcon(":/res/orvane-gui.svg"));
    InstallAccessibleComboBox();
}

int CZephanApp::InitInstance(int tickMs) {
    CZephanDlg dialog(OptionsForTick(tickMs));
    dialog.exec();
    return 0;
}

int CZephanApp::RenderScreenshots(const QString& dir, ShotOptions shot) {
    const int tickMs = std::min(shot.tickMs, kSlowestScreenshotTickMs);
    if (shot.darkPalette) {
        setPalette(DarkDesktopPalette());
    }
    if (!QDir().mkpath(dir)) {
        return 1;
    }
    DlgOptions options = OptionsForTick(tickMs);
    options.startTimers = false;
    CZephanDlg dialog(std::move(options));
    dialog.resize(1280, 800);
    dialog.show();
    if (shot.minimumSize) {
        for (int index = 0; index < dialog.Tabs()->count(); ++index) {
            dialog.Page(index); // every page's needs in the minimum
        }
        processEvents();
        dialog.resize(dialog.minimumSize());
    }
    // Shown connected to the built-in simulated controller, as after "Connect".
    CComPortCombo* ports = dialog.CommsPage()->PortList();
    ports->setCurrentIndex(ports->findText(SimulatorPort::kDescription, Qt::MatchStartsWith));
    const auto number = ports->SelectedData() & 0xFFFF;
    bool ok = true;
    if (number >= 1 && number <= 9) {
        dialog.CommsPage()->OnConnect();
        RunTick(dialog, tickMs);
        RunTick(dialog, tickMs);
        // The configuration and the identification text read from it, as the Start
        // page's buttons would.
        dialog.Requests().RequestCommand(CommandCode::ReadConfig);
        ok = RunCommand(dialog, tickMs);
        dialog.Requests().RequestControllerInformation();
        ok = RunCommand(dialog, tickMs) && ok;
        RunTick(dialog, tickMs); // the status line shows the state the command left
    }
    processEvents();
    for (int index = 0; index < dialog.Tabs()->count(); ++index) {
        dialog.Tabs()->setCurrentIndex(index);
        if (auto* page = qobject_cast<TickPage*>(dialog.Page(index))) {
            page->OnTimer(); // the page as it is one tick after it was chosen
            const bool live = page->TabNumber() >= kTabLiveData && dialog.IsConnected();
            if (live) {
                dialog.Requests().RequestLiveData(); // as "View Live Data" does
            }
            for (int tick = 0; live && tick < kLiveTicks; ++tick) {
                RunTick(dialog, tickMs);
                page->OnTimer();
            }
        }
        if (auto* profile = qobject_cast<mD6*>(dialog.Page(index))) {
            // A curve on the chart, as after choosing fan 1.
            profile->FanList()->setCurrentText("1");
            profile->OnFanSelected();
        }
        processEvents();
        const QString caption = dialog.Tabs()->tabText(index).trimmed().toLower();
        QString name = caption;
        name.replace(QRegularExpression("[^a-z0-9]+"), "-");
        name.remove(QRegularExpression("-+$"));
        const QString file =
            QDir(dir).filePath(QString("%1-%2.png").arg(index + 1, 2, 10, QChar('0')).arg(name));
        ok = dialog.grab().save(file) && ok;
    }
    if (dialog.IsConnected()) {
        ok = RenderReport(dialog, dir, tickMs) && ok;
        ok = RenderLiveShots(dialog, QDir(dir), tickMs) && ok;
        ok = RenderSafeDownload(dialog, QDir(dir), tickMs) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace orvane
