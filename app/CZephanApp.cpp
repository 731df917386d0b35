#include "app/CZephanApp.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/AppSettings.h"
#include "app/CZephanDlg.h"
#include "app/SimulatorPort.h"

namespace orvane {

CZephanApp::CZephanApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(AppSettings::kOrganisation);
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());
    setDesktopFileName("orvane-gui");
    setWindowIcon(QIcon(":/res/orvane-gui.svg"));
}

int CZephanApp::InitInstance(int tickMs) {
    CZephanDlg dialog(OptionsForTick(tickMs));
    dialog.exec();
    return 0;
}

int CZephanApp::RenderScreenshots(const QString& dir, int tickMs) {
    if (!QDir().mkpath(dir)) {
        return 1;
    }
    DlgOptions options = OptionsForTick(tickMs);
    options.startTimers = false;
    CZephanDlg dialog(std::move(options));
    dialog.resize(1280, 800);
    dialog.show();
    // Shown connected to the built-in simulated controller, as after "Connect".
    CComPortCombo* ports = dialog.CommsPage()->PortList();
    ports->setCurrentIndex(ports->findText(SimulatorPort::kDescription, Qt::MatchStartsWith));
    const auto number = ports->SelectedData() & 0xFFFF;
    if (number >= 1 && number <= 9) {
        dialog.CommsPage()->OnConnect();
        dialog.OnTimer();
        dialog.OnTimer();
    }
    processEvents();
    bool ok = true;
    for (int index = 0; index < dialog.Tabs()->count(); ++index) {
        dialog.Tabs()->setCurrentIndex(index);
        processEvents();
        const QString caption = dialog.Tabs()->tabText(index).trimmed().toLower();
        QString name = caption;
        name.replace(QRegularExpression("[^a-z0-9]+"), "-");
        name.remove(QRegularExpression("-+$"));
        const QString file =
            QDir(dir).filePath(QString("%1-%2.png").arg(index + 1, 2, 10, QChar('0')).arg(name));
        ok = dialog.grab().save(file) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace orvane
