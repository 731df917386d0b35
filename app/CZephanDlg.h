#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabBar>
#include <QTimer>

#include "app/AppSettings.h"
#include "controls/CPictureEx.h"
#include "core/comms/Sequencer.h"
#include "core/image/ImageHistory.h"
#include "core/image/RegisterImage.h"
#include "core/reports/VisitLog.h"
#include "core/rules/TrendHistory.h"
#include "pages/TickPage.h"
#include "pages/mD1.h"
#include "pages/mD10.h"
#include "serial/posix/PortEnumeratorLinux.h"
#include "sim/SimulatorHost.h"

namespace orvane {

class CommandRunner;
class ProgressPanel;
class ReportDialog;
class SerialLink;
class SimulatorPort;
class mD2;
class TrendWindow;
class UndoBar;

// What a test or the screenshot tool may replace; the defaults are the real ones.
inline constexpr int kNormalTickMs = 1000;
inline constexpr int kFastestTickMs = 5;

struct DlgOptions {
    PortEnumeratorLinux::CandidateSource hardwarePorts;      // default: sysfs
    PortEnumeratorLinux::CandidateSource simulatorProcesses; // default: /proc
    IPrompter* prompter = nullptr;                           // default: Qt message boxes
    std::function<void(const std::string&)> openWithDesktop; // default: QDesktopServices
    sim::SimulatorOptions simulator;                         // the built-in simulated controller
    bool startTimers = true;
    int tickMs = kNormalTickMs; // period of the main and page timers
};

// The options for `--tick-ms N`: every timer ticks each N ms (5 to 1000) and the
// built-in simulated controller runs its clock as much faster, unpaced, so that the
// schedules, which count ticks, take as many ticks as ever.
DlgOptions OptionsForTick(int tickMs);

// The main window: hosts the ten tabs and the status fields, owns the register
// image, the serial link, the sequencer with its receive buffer and logger, and
// wires them to each other. The logic lives in those objects.
class CZephanDlg final : public QDialog,
                         public IMainWindowView,
                         public IConfigInfoView,
                         public IPageHost,
                         public IMainWindowFields,
                         public ICommsHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CZephanDlg)

public:
    explicit CZephanDlg(DlgOptions options = {}, QWidget* parent = nullptr);
    ~CZephanDlg() override;

    // Initialisation; the constructor runs it, as the dialog framework would.
    void OnInitDialog();
    void InitMainWindow();
    void ShowPage(int index);
    void OnTabSelChange(int index);
    // The main timer's handler; tests call it to run a tick.
    void OnTimer();

    // IMainWindowView
    void ShowTick(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void ShowActivity(const std::string& text) override;
    void PlayActivityAnimation(int resourceId) override;
    void ShowConnection(const std::string& text) override;
    void ShowLogStatus(const std::string& text) override;
    void PlayLoggingIndicator(int resourceId) override;
    bool IsLoggingIndicatorPlaying() const override;
    void DisablePageControls() override;
    void EnablePageControls() override;
    void ShowControllerInfo(const std::string& text) override;

    // IConfigInfoView
    void ShowChecksum(const std::string& text) override;
    void ShowConfigDate(const std::string& text) override;
    void ShowConfigIssue(const std::string& text) override;
    void ShowConfigName(const std::string& text) override;
    void ShowConfigDescription(const std::string& text) override;

    // IPageHost
    int ActiveTab() const override { return m_activeTabNumber; }
    std::string RefreshFlag(int tabNumber) const override;
    void SetRefreshFlag(int tabNumber, const std::string& flag) override;
    IPrompter& Prompter() override { return *m_prompter; }
    void OpenWithDesktop(const std::string& pathOrUrl) override;
    RegisterImage& Image() override { return m_image; }
    IImageHistory& History() override { return m_history; }
    const Sequencer& Sequencing() const override { return m_sequencer; }
    Sequencer& Requests() override { return m_sequencer; }
    int TickIntervalMs() const override { return m_options.tickMs; }

    // IMainWindowFields (ShowChecksum above serves both)
    void SetNote(const std::string& text) override;
    void SetMainButtonsEnabled(bool enabled) override;
    void ShowMode(const std::string& text) override;
    bool ProfileStored() const override { return m_profileStored; }
    void SetProfileStored(bool stored) override { m_profileStored = stored; }
    bool SyncingSeen() const override { return m_syncingSeen; }
    void SetSyncingSeen(bool seen) override { m_syncingSeen = seen; }

    // ICommsHost
    int PortNumber() const override { return m_sequencer.PortNumber(); }
    void SetPortNumber(int portNumber) override { m_sequencer.SelectPort(portNumber); }
    bool IsConnected() const override { return m_sequencer.IsConnected(); }
    void RequestConnectOrDisconnect() override { m_sequencer.RequestConnectOrDisconnect(); }
    int SavedPortNumber() const override { return m_settings.ReadPortNumber(); }
    std::string HelpDocumentPath() const override;

    SimulatorPort& Simulator() { return *m_simulator; }

    // Escape and the close box: asks first when the image holds unsaved changes.
    void reject() override;
    // Ctrl+Z and "Undo": the image of before its last replacement, every page refilled.
    void UndoImageReplacement();
    // Ctrl+O: "Open existing Configuration File from PC", from any tab.
    void OpenConfigurationFile();
    const ImageHistory& ImageEdits() const { return m_history; }

    // The fields, for tests and the screenshot tool.
    QTabBar* Tabs() { return m_tabs; }
    // Pages beyond the first two are built when first shown; asking for one builds it.
    QWidget* Page(int index);
    bool IsPageBuilt(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    mD1* CommsPage() { return m_comms; }
    mD2* StartPage() { return m_startPage; }
    mD10* ContactPage() { return static_cast<mD10*>(Page(kTabContact - 1)); }
    // Built when first asked for; its history records from the first tick on.
    TrendWindow* Trend();
    bool IsTrendBuilt() const { return m_trend != nullptr; }
    const trend::TrendHistory& TrendRecords() const { return m_trendHistory; }
    QLabel* StatusLine() { return m_status; }
    QLabel* ActiveTabField() { return m_activeTab; }
    QLabel* TickField() { return m_tick; }
    QLabel* ConnectionField() { return m_connection; }
    QLabel* ActivityField() { return m_activity; }
    QLabel* ChecksumField() { return m_checksum; }
    QLabel* DateField() { return m_date; }
    QLabel* ModeField() { return m_mode; }
    QLabel* LogStatusField() { return m_logStatus; }
    QLabel* NoteField() { return m_note; }
    QPushButton* DownloadButton() { return m_download; }
    QPushButton* SaveButton() { return m_save; }
    QPushButton* ReportButton() { return m_report; }
    ProgressPanel* Progress() { return m_progress; }
    CommandRunner& Runner() { return *m_runner; }
    UndoBar* Undo() { return m_undoBar; }
    // Where the configuration is from: a file's name or the controller.
    QLabel* SourceField() { return m_source; }
    // Built when "Commissioning report..." is first pressed.
    ReportDialog* Report() { return m_reportDialog; }
    const VisitLog& Visit() const { return m_visit; }
    CPictureEx* ActivityAnimation() { return m_activityAnimation; }

protected:
    // The status fields' widths follow the font.
    void changeEvent(QEvent* event) override;

private:
    void BuildLayout();
    void BuildPage(std::size_t index);
    // Every status field is written here: its text, its accessible description, its colours.
    void SetFieldText(QLabel* field, const QString& text);
    // Each status field as wide as the widest text it shows, so that none moves another.
    void FixStatusWidths();
    void ApplyFieldColours(QLabel* field);
    TickPage* TickPageAt(int tabNumber);
    std::optional<std::string> ResolvePort(unsigned number);
    void OpenReportDialog();
    void SaveConfiguration();
    void OnImageHistoryChanged();

    DlgOptions m_options;
    AppSettings m_settings;
    std::unique_ptr<IPrompter> m_ownPrompter;
    IPrompter* m_prompter = nullptr;
    RegisterImage m_image;
    // Before the sequencer, which is told of reads and downloads.
    ImageHistory m_history;
    std::unique_ptr<SimulatorPort> m_simulator;
    std::unique_ptr<PortEnumeratorLinux> m_enumerator;
    std::unique_ptr<SerialLink> m_link;
    // Built before the pages so that the Comms page can be its view.
    class CommsRelay;
    std::unique_ptr<CommsRelay> m_commsRelay;
    Sequencer m_sequencer;
    VisitLog m_visit;
    std::string m_lastPort; // the port of the visit, for a report made after disconnecting

    QTabBar* m_tabs = nullptr;
    QStackedLayout* m_pageStack = nullptr;
    std::array<QWidget*, kTabCount> m_pages{};
    mD1* m_comms = nullptr;
    // Also the view of the configuration information and the controller information.
    mD2* m_startPage = nullptr;
    // Filled on every main tick; the window opened from the Live Data page draws it.
    trend::TrendHistory m_trendHistory{kNormalTickMs};
    TrendWindow* m_trend = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_activeTab = nullptr;
    QLabel* m_tick = nullptr;
    QLabel* m_logStatus = nullptr;
    QLabel* m_connection = nullptr;
    CPictureEx* m_activityAnimation = nullptr;
    QLabel* m_activity = nullptr;
    QLabel* m_checksum = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_report = nullptr;
    ReportDialog* m_reportDialog = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_mode = nullptr;
    CPictureEx* m_loggingIndicator = nullptr;
    QLabel* m_note = nullptr;
    ProgressPanel* m_progress = nullptr;
    std::unique_ptr<CommandRunner> m_runner;
    UndoBar* m_undoBar = nullptr;
    QLabel* m_source = nullptr;

    int m_activeTabNumber = 0;
    std::array<std::string, 8> m_refreshFlags{"0", "0", "0", "0", "0", "0", "0", "0"};
    bool m_profileStored = true;
    bool m_syncingSeen = false;
    QString m_versionText;
    QTimer m_mainTimer;
    // The trend's clock starts here; with fast ticks it runs as much faster, as the
    // simulated controller's does.
    qint64 m_startMs = 0;
};

} // namespace orvane
