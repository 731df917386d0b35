#include "app/CZephanDlg.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QUrl>
#include <QVBoxLayout>

#include "app/CommandRunner.h"
#include "app/FieldColours.h"
#include "app/FieldWidths.h"
#include "app/FocusTabBar.h"
#include "app/ProgressPanel.h"
#include "app/QtPrompter.h"
#include "app/ReportDialog.h"
#include "app/SaveConfiguration.h"
#include "app/SimulatorPort.h"
#include "app/UndoBar.h"
#include "app/VersionText.h"
#include "app/WindowKeys.h"
#include "controls/AccessibleText.h"
#include "controls/QtText.h"
#include "core/comms/SequencerTexts.h"
#include "core/rules/ImageUndo.h"
#include "core/rules/ProfileTexts.h"
#include "core/rules/TabRules.h"
#include "pages/TrendWindow.h"
#include "pages/mD2.h"
#include "pages/mD3.h"
#include "pages/mD4.h"
#include "pages/mD5.h"
#include "pages/mD6.h"
#include "pages/mD7.h"
#include "pages/mD8.h"
#include "pages/mD9.h"
#include "serial/SerialLink.h"

namespace orvane {

namespace {

constexpr int kPictureSize = 28; // the status pictures, and the height of the fields beside them

const std::array<const char*, kTabCount> kTabCaptions{
    "Comms",         "Start",     "Mode",      "Fan Setting", "ModBus ", "Multi Point/Speed",
    "Alarm Config.", "Live Data", "Indicator", "Contact"};

// "Shortcut: Ctrl+S", in the desktop's own spelling of the keys.
QString ShortcutTip(QKeySequence::StandardKey key) {
    return QObject::tr("Shortcut: %1").arg(QKeySequence(key).toString(QKeySequence::NativeText));
}

QLabel* NewField(const QString& text, const QString& accessibleName, bool bordered = false) {
    auto* field = new QLabel;
    field->setTextFormat(Qt::PlainText);
    ShowText(field, text);
    field->setAccessibleName(accessibleName);
    if (bordered) {
        field->setFrameShape(QFrame::StyledPanel);
        field->setFrameShadow(QFrame::Sunken);
        field->setMinimumWidth(60);
        field->setAlignment(Qt::AlignCenter);
    }
    return field;
}

int LongestNoteLines() {
    int lines = 1;
    for (const std::string_view note : {std::string_view(profile::kStoreNote), kAlarmNote}) {
        lines = std::max(lines, static_cast<int>(std::ranges::count(note, '\n')) + 1);
    }
    return lines;
}

} // namespace

DlgOptions OptionsForTick(int tickMs) {
    DlgOptions options;
    options.tickMs = std::clamp(tickMs, kFastestTickMs, kNormalTickMs);
    if (options.tickMs < kNormalTickMs) {
        options.simulator.unpaced = true;
        options.simulator.timeScale = double(kNormalTickMs) / options.tickMs;
    }
    return options;
}

// The Comms page is the sequencer's view of the port controls but is built after
// the sequencer; this passes calls on once it exists.
class CZephanDlg::CommsRelay final : public ICommsPageView {
public:
    void SetTarget(ICommsPageView* target) { m_target = target; }
    void SetConnectButtonText(const std::string& text) override {
        if (m_target != nullptr) {
            m_target->SetConnectButtonText(text);
        }
    }
    void SetPortSelectionEnabled(bool enabled) override {
        if (m_target != nullptr) {
            m_target->SetPortSelectionEnabled(enabled);
        }
    }

private:
    ICommsPageView* m_target = nullptr;
};

CZephanDlg::CZephanDlg(DlgOptions options, QWidget* parent)
    : QDialog(parent), m_options(std::move(options)),
      m_ownPrompter(m_options.prompter == nullptr ? std::make_unique<QtPrompter>(this) : nullptr),
      m_prompter(m_options.prompter != nullptr ? m_options.prompter : m_ownPrompter.get()),
      m_simulator(std::make_unique<SimulatorPort>(m_options.simulator)),
      m_enumerator(std::make_unique<PortEnumeratorLinux>(
          m_settings, std::vector<PortCandidate>{SimulatorPort::Candidate()},
          m_options.hardwarePorts, m_options.simulatorProcesses)),
      // The port stops its thread before the window goes (the window owns the link),
      // and Qt drops calls still queued for a window that is destroyed.
      m_link(std::make_unique<SerialLink>(
          [this](std::function<void()> call) {
              QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
          },
          [this](unsigned number) { return ResolvePort(number); },
          [this](std::uint8_t byte) { m_sequencer.OnReceiveChar(byte); },
          [this] { m_sequencer.OnLinkFailure(); })),
      m_commsRelay(std::make_unique<CommsRelay>()),
      m_sequencer(SequencerContext{m_image, *m_link, *this, *m_commsRelay, *this, *m_prompter,
                                   m_settings, &m_history}) {
    BuildLayout();
    OnInitDialog();
}

CZephanDlg::~CZephanDlg() {
    m_mainTimer.stop();
    // Stop the port before the pages and the sequencer it reports to go.
    m_link.reset();
}

void CZephanDlg::OnInitDialog() {
    setWindowIcon(QIcon(":/res/orvane-gui.svg"));
    InitMainWindow();
    // Return in a field must not start a download or anything else.
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    connect(&m_mainTimer, &QTimer::timeout, this, &CZephanDlg::OnTimer);
    if (m_options.startTimers) {
        m_mainTimer.start(m_options.tickMs);
    }
}

void CZephanDlg::BuildLayout() {
    m_tabs = new FocusTabBar;
    m_tabs->setAccessibleName(tr("Tabs"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);

    auto* pageArea = new QFrame;
    pageArea->setFrameShape(QFrame::StyledPanel);
    pageArea->setAccessibleName(tr("Page"));
    m_pageStack = new QStackedLayout(pageArea);

    m_note = NewField(QString(), tr("Note"));
    m_note->setWordWrap(true);
    // As tall as the longest note, so that the page stays put as notes come and go.
    m_note->setMinimumHeight(m_note->fontMetrics().lineSpacing() * LongestNoteLines());
    m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_download = new QPushButton(tr("Download Configuration File to Controller"));
    m_download->setAccessibleName(m_download->text());
    m_save = new QPushButton(tr("Save Configuration File to PC"));
    m_save->setAccessibleName(m_save->text());
    m_report = new QPushButton(tr("Commissioning report..."));
    m_report->setAccessibleName(m_report->text());

    m_undoBar = new UndoBar;
    auto* noteColumn = new QVBoxLayout;
    noteColumn->addWidget(m_note, 1);
    noteColumn->addWidget(m_undoBar);
    auto* actions = new QHBoxLayout;
    actions->addLayout(noteColumn, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_download);
    buttons->addWidget(m_save);
    buttons->addWidget(m_report);
    buttons->addStretch();
    actions->addLayout(buttons);

    m_status = NewField("Status:", tr("Status"));
    m_status->setWordWrap(true); // a port that cannot be opened is explained at length
    m_activeTab = NewField("Active Tab", tr("Active Tab"), true);
    m_tick = NewField("00000000", tr("Tick"), true);
    // A fixed size: the count changes every second, and a field whose size may change
    // makes every change lay the whole window out again.
    m_tick->setFixedSize(m_tick->sizeHint().width(),
                         std::max(m_tick->sizeHint().height(), kPictureSize));
    ShowText(m_tick, QString());
    m_logStatus = NewField("....", tr("Log status"));
    m_logStatus->setWordWrap(true); // a failure's reason wraps within the field's width
    m_connection = NewField(Q(std::string(texts::kDisconnected)), tr("Connection"));
    m_connection->setMargin(2);
    m_activity = NewField("Static", tr("Activity"));
    m_activity->setMargin(2);
    m_checksum = NewField(QString(), tr("Checksum"), true);
    m_date = NewField(QString(), tr("Date"));
    m_source = NewField(QString(), tr("Configuration from"));
    m_mode = NewField("MODE", tr("MODE"), true);
    m_activityAnimation = new CPictureEx;
    m_activityAnimation->setFixedSize(kPictureSize, kPictureSize);
    m_activityAnimation->setAccessibleName(tr("Activity animation"));
    m_activityAnimation->Load(kAnimationIdle);
    m_loggingIndicator = new CPictureEx;
    m_loggingIndicator->setFixedSize(kPictureSize, kPictureSize);
    m_loggingIndicator->setAccessibleName(tr("Logging indicator"));
    m_loggingIndicator->Load(kAnimationNotLogging);

    // Two rows under the page: what the link is doing, then where the user is.
    auto* statusPanel = new QFrame;
    statusPanel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(statusPanel);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->addWidget(m_activityAnimation, 0, 0);
    grid->addWidget(m_activity, 0, 1);
    grid->addWidget(m_status, 0, 2);
    grid->addWidget(m_connection, 0, 3);
    grid->addWidget(NewCaption(tr("Checksum"), m_checksum), 0, 4, Qt::AlignRight);
    grid->addWidget(m_checksum, 0, 5);
    grid->addWidget(NewCaption(tr("Tick"), m_tick), 0, 6, Qt::AlignRight);
    grid->addWidget(m_tick, 0, 7);
    grid->addWidget(m_loggingIndicator, 1, 0);
    grid->addWidget(m_logStatus, 1, 1);
    grid->addWidget(m_source, 1, 2);
    grid->addWidget(m_date, 1, 3);
    grid->addWidget(NewCaption(tr("Mode"), m_mode), 1, 4, Qt::AlignRight);
    grid->addWidget(m_mode, 1, 5);
    grid->addWidget(NewCaption(tr("Tab"), m_activeTab), 1, 6, Qt::AlignRight);
    grid->addWidget(m_activeTab, 1, 7);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 120);
    FixStatusWidths();

    m_progress = new ProgressPanel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->setSpacing(6);
    layout->addWidget(pageArea, 1);
    layout->addLayout(actions);
    layout->addWidget(m_progress);
    layout->addWidget(statusPanel);

    setAccessibleName(tr("Orvane - GUI"));
    setSizeGripEnabled(true);
    // No smaller than the pages need: squeezed below that, fixed-size controls and the
    // readings' fields would be painted over their neighbours.
    resize(1100, 720);

    connect(m_tabs, &QTabBar::currentChanged, this, &CZephanDlg::OnTabSelChange);
    connect(m_download, &QPushButton::clicked, this,
            [this] { m_runner->Download(m_startPage->WriteChoices()); });
    connect(m_save, &QPushButton::clicked, this, &CZephanDlg::SaveConfiguration);
    connect(m_undoBar->Button(), &QPushButton::clicked, this, &CZephanDlg::UndoImageReplacement);
    m_save->setToolTip(ShortcutTip(QKeySequence::Save));
    // Ctrl+S as the button: not while the button is off (the profile page holds edits).
    InstallWindowKeys(this, m_tabs,
                      {[this] {
                           if (m_save->isEnabled()) {
                               SaveConfiguration();
                           }
                       },
                       [this] { OpenConfigurationFile(); }, [this] { UndoImageReplacement(); }});
    connect(m_report, &QPushButton::clicked, this, &CZephanDlg::OpenReportDialog);
    for (QLabel* field : {m_checksum, m_status, m_activity, m_note, m_connection}) {
        ApplyFieldColours(field);
    }
}

void CZephanDlg::FixStatusWidths() {
    const auto list = [](std::initializer_list<std::string_view> shown) {
        QStringList list;
        for (const std::string_view text : shown) {
            list.append(Q(std::string(text)));
        }
        return list;
    };
    QStringList checksums = list({texts::kChecksumError});
    QStringList tabs = list({"Active Tab"});
    for (int digit = 0; digit < 16; ++digit) {
        checksums.append(QString(4, QString::number(digit, 16).toUpper().front()));
        tabs.append(QString::number(digit));
    }
    const std::pair<QLabel*, QStringList> fields[] = {
        {m_activity, list({"Static", texts::kIdle, texts::kCommunicating})},
        {m_connection, list({texts::kConnected, texts::kDisconnected})},
        {m_logStatus, list({"....", texts::kLogOpening, texts::kLogClosing, texts::kLogOpened,
                            texts::kLogNotOpened, texts::kLogClosed})},
        {m_checksum, checksums},
        {m_mode, list({"MODE", "1", "2", "3", "4"})},
        {m_activeTab, tabs}};
    for (const auto& [field, shown] : fields) {
        field->setFixedWidth(WidthForTexts(*field, shown));
    }
}

void CZephanDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        FixStatusWidths();
    }
}

void CZephanDlg::InitMainWindow() {
    m_sequencer.InitSequencer();
    m_sequencer.SelectPort(m_settings.ReadPortNumber());
    EnablePageControls();
    setWindowTitle("Orvane - GUI");
    SetFieldText(m_mode, "1");

    m_versionText = Q(VersionText());
    m_comms = new mD1(*this, *this, *m_enumerator);
    m_commsRelay->SetTarget(m_comms);
    m_startPage = new mD2(*this, *this, m_settings);
    m_runner = std::make_unique<CommandRunner>(CommandRunner::Context{
        m_sequencer, m_image, *m_prompter, *m_progress, this, m_options.tickMs});
    connect(m_startPage, &mD2::CompareWithFileRequested, m_runner.get(),
            &CommandRunner::CompareWithFile);
    connect(m_startPage, &mD2::CompareWithControllerRequested, m_runner.get(),
            &CommandRunner::CompareWithController);
    connect(m_progress, &ProgressPanel::CancelRequested, m_runner.get(), &CommandRunner::OnCancel);
    m_startMs = QDateTime::currentMSecsSinceEpoch();
    // The other pages are not needed before the first tab is seen.
    m_pages[0] = m_comms;
    m_pages[1] = m_startPage;
    for (std::size_t i = 0; i < 2; ++i) {
        m_pages[i]->setAccessibleName(kTabCaptions[i]);
        m_pageStack->addWidget(m_pages[i]);
    }
    ShowPage(0);

    {
        const QSignalBlocker block(m_tabs);
        for (const char* caption : kTabCaptions) {
            m_tabs->addTab(caption);
        }
        m_tabs->setCurrentIndex(0);
    }

    SetFieldText(m_date, QDate::currentDate().toString("dd/MM/yyyy"));
    m_refreshFlags.fill("0");
    m_image.LoadDefaultTemplate();
    m_profileStored = true;
    m_startPage->OpenButton()->setToolTip(ShortcutTip(QKeySequence::Open));
    m_history.MarkClean(m_image, ImageOrigin::Template, {});
    m_history.SetOnChange([this] { OnImageHistoryChanged(); });
}

QWidget* CZephanDlg::Page(int index) {
    const auto at = static_cast<std::size_t>(index);
    if (m_pages.at(at) == nullptr) {
        BuildPage(at);
    }
    return m_pages[at];
}

void CZephanDlg::BuildPage(std::size_t index) {
    QWidget* page = nullptr;
    switch (static_cast<int>(index) + 1) {
    case kTabMode:
        page = new mD3(*this, *this);
        break;
    case kTabFanSetting:
        page = new mD4(*this, *this);
        break;
    case kTabModBus:
        page = new mD5(*this, *this);
        break;
    case kTabProfile:
        page = new mD6(*this, *this);
        break;
    case kTabAlarmConfig:
        page = new mD7(*this, *this);
        break;
    case kTabLiveData: {
        auto* liveData = new mD8(*this, *this);
        connect(liveData, &mD8::TrendRequested, this, [this] { Trend()->Open(); });
        page = liveData;
        break;
    }
    case kTabIndicator:
        page = new mD9(*this, *this);
        break;
    default: {
        auto* contact = new mD10(*this);
        contact->SetVersionText(m_versionText);
        page = contact;
        break;
    }
    }
    page->setAccessibleName(kTabCaptions[index]);
    m_pages[index] = page;
    m_pageStack->addWidget(page);
}

TrendWindow* CZephanDlg::Trend() {
    if (m_trend == nullptr) {
        m_trend = new TrendWindow(m_trendHistory, m_image, *m_prompter, this);
    }
    return m_trend;
}

void CZephanDlg::reject() {
    if (MayDiscardImage(m_history, m_image, *m_prompter)) {
        QDialog::reject();
    }
}

void CZephanDlg::SaveConfiguration() {
    if (const auto path =
            SaveConfigurationFile(m_image, m_sequencer.IsBusy(), *m_prompter, *this)) {
        m_history.MarkClean(m_image, ImageOrigin::SavedFile, *path);
    }
}

void CZephanDlg::OpenConfigurationFile() {
    m_startPage->OpenConfigurationFile();
    // Opened from another tab, the page shown must show the new image.
    m_refreshFlags.fill("0");
}

void CZephanDlg::UndoImageReplacement() {
    if (UndoReplacement({m_history, m_image, m_sequencer, m_sequencer, *m_prompter, *this})) {
        m_refreshFlags.fill("0");
    }
}

void CZephanDlg::OnImageHistoryChanged() {
    m_undoBar->Refresh(m_history);
    SetFieldText(m_source, Q(m_history.OriginText()));
}

void CZephanDlg::ShowPage(int index) {
    SetFieldText(m_note, " ");
    const TabChange change = ChangeTab(index + 1, m_sequencer.IsBusy());
    if (!change.shown) {
        return;
    }
    m_refreshFlags.fill("0");
    m_download->setEnabled(change.downloadEnabled);
    m_save->setEnabled(true);
    QWidget* shown = Page(index);
    m_pageStack->setCurrentWidget(shown);
    shown->raise();
    for (int tab = kTabStart; tab <= kTabIndicator; ++tab) {
        TickPage* page = TickPageAt(tab);
        if (page == nullptr) {
            continue; // not built yet, so not ticking
        }
        if (tab != change.tickingTab) {
            page->StopTicking();
        } else if (m_options.startTimers) {
            page->StartTicking();
        }
    }
    if (change.resetNoData) {
        m_sequencer.ResetNoData();
        m_syncingSeen = false;
    }
    m_activeTabNumber = index + 1;
    SetFieldText(m_activeTab, QString::number(m_activeTabNumber));
    if (!change.note.empty()) {
        SetNote(std::string(change.note));
    }
    if (m_tabs->currentIndex() != index && m_tabs->count() > index) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
}

void CZephanDlg::OnTabSelChange(int index) {
    m_profileStored = true;
    if (!m_sequencer.IsBusy()) {
        ShowPage(index);
    }
}

void CZephanDlg::OnTimer() {
    m_sequencer.OnTimer();
    m_runner->OnTick();
    const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - m_startMs;
    const std::string_view received = m_sequencer.Received().Text();
    const qint64 nowMs = m_startMs + elapsed * kNormalTickMs / m_options.tickMs;
    if (m_trend != nullptr) {
        m_trend->OnMainTick(received, nowMs);
    } else {
        m_trendHistory.Take(received, nowMs);
    }
    m_visit.AfterTick(m_sequencer, m_image, LocalIsoNow());
    if (m_sequencer.IsConnected()) {
        m_lastPort = "COM" + std::to_string(m_sequencer.PortNumber());
    }
}

void CZephanDlg::OpenReportDialog() {
    if (m_reportDialog == nullptr) {
        ReportDialog::Sources sources{
            [this]() -> const VisitLog& { return m_visit; }, [this] { return m_image.Texts(); },
            [this] { return m_lastPort.empty() ? std::string("(not connected)") : m_lastPort; },
            "Orvane - GUI, " + m_versionText.section('\n', 0, 0).toStdString(),
            [this] { return m_runner->LastSafeDownload(); }};
        m_reportDialog = new ReportDialog(std::move(sources), *m_prompter, this);
    }
    m_reportDialog->Refresh();
    m_reportDialog->open();
}

void CZephanDlg::SetFieldText(QLabel* field, const QString& text) {
    ShowText(field, text);
    ApplyFieldColours(field);
}

void CZephanDlg::SetNote(const std::string& text) {
    // The note's lines end in a line feed and a carriage return; a label would show the
    // carriage return as a blank at the start of the next line.
    SetFieldText(m_note, Q(text).remove('\r'));
}

void CZephanDlg::SetMainButtonsEnabled(bool enabled) {
    m_download->setEnabled(enabled);
    m_save->setEnabled(enabled);
}

void CZephanDlg::ShowMode(const std::string& text) {
    SetFieldText(m_mode, Q(text));
}

void CZephanDlg::ApplyFieldColours(QLabel* field) {
    StatusField which{};
    if (field == m_checksum) {
        which = StatusField::Checksum;
    } else if (field == m_status) {
        which = StatusField::StatusLine;
    } else if (field == m_activity) {
        which = StatusField::Activity;
    } else if (field == m_note) {
        which = StatusField::Note;
    } else if (field == m_connection) {
        which = StatusField::Connection;
    } else {
        return;
    }
    const FieldColours colours = OnCtlColor(which, field->text());
    QPalette palette = this->palette();
    if (colours.text) {
        palette.setColor(QPalette::WindowText, *colours.text);
    }
    if (colours.background) {
        palette.setColor(QPalette::Window, *colours.background);
    }
    field->setAutoFillBackground(colours.background.has_value());
    field->setPalette(palette);
}

void CZephanDlg::ShowTick(const std::string& text) {
    SetFieldText(m_tick, Q(text));
}

void CZephanDlg::ShowStatus(const std::string& text) {
    SetFieldText(m_status, Q(text));
}

void CZephanDlg::ShowActivity(const std::string& text) {
    SetFieldText(m_activity, Q(text));
}

void CZephanDlg::PlayActivityAnimation(int resourceId) {
    m_activityAnimation->Load(resourceId);
    m_activityAnimation->Draw();
}

void CZephanDlg::ShowConnection(const std::string& text) {
    SetFieldText(m_connection, Q(text));
}

void CZephanDlg::ShowLogStatus(const std::string& text) {
    SetFieldText(m_logStatus, Q(text));
}

void CZephanDlg::PlayLoggingIndicator(int resourceId) {
    m_loggingIndicator->Load(resourceId);
    m_loggingIndicator->Draw();
}

bool CZephanDlg::IsLoggingIndicatorPlaying() const {
    return m_loggingIndicator->IsPlaying();
}

TickPage* CZephanDlg::TickPageAt(int tabNumber) {
    if (tabNumber < kTabStart || tabNumber > kTabIndicator) {
        return nullptr;
    }
    return static_cast<TickPage*>(m_pages[static_cast<std::size_t>(tabNumber - 1)]);
}

void CZephanDlg::DisablePageControls() {
    if (TickPage* page = TickPageAt(m_activeTabNumber)) {
        page->SetInputsEnabled(false);
    }
}

void CZephanDlg::EnablePageControls() {
    if (TickPage* page = TickPageAt(m_activeTabNumber)) {
        page->SetInputsEnabled(true);
    }
}

void CZephanDlg::ShowControllerInfo(const std::string& text) {
    if (!text.empty()) {
        m_visit.OnControllerInfo(text);
    }
    if (m_startPage != nullptr) {
        m_startPage->ShowControllerInfo(text);
    }
}

void CZephanDlg::ShowChecksum(const std::string& text) {
    SetFieldText(m_checksum, Q(text));
}

void CZephanDlg::ShowConfigDate(const std::string& text) {
    if (m_startPage != nullptr) {
        m_startPage->ShowConfigDate(text);
    }
}

void CZephanDlg::ShowConfigIssue(const std::string& text) {
    if (m_startPage != nullptr) {
        m_startPage->ShowConfigIssue(text);
    }
}

void CZephanDlg::ShowConfigName(const std::string& text) {
    m_visit.OnConfigurationShown(m_sequencer, m_image);
    if (m_startPage != nullptr) {
        m_startPage->ShowConfigName(text);
    }
}

void CZephanDlg::ShowConfigDescription(const std::string& text) {
    if (m_startPage != nullptr) {
        m_startPage->ShowConfigDescription(text);
    }
}

std::string CZephanDlg::RefreshFlag(int tabNumber) const {
    if (tabNumber < kTabStart || tabNumber > kTabIndicator) {
        return {};
    }
    return m_refreshFlags[static_cast<std::size_t>(tabNumber - kTabStart)];
}

void CZephanDlg::SetRefreshFlag(int tabNumber, const std::string& flag) {
    if (tabNumber >= kTabStart && tabNumber <= kTabIndicator) {
        m_refreshFlags[static_cast<std::size_t>(tabNumber - kTabStart)] = flag;
    }
}

void CZephanDlg::OpenWithDesktop(const std::string& pathOrUrl) {
    if (m_options.openWithDesktop) {
        m_options.openWithDesktop(pathOrUrl);
        return;
    }
    const QString text = Q(pathOrUrl);
    const QUrl url = QUrl(text, QUrl::StrictMode);
    QDesktopServices::openUrl(url.scheme().startsWith("http") ? url : QUrl::fromLocalFile(text));
}

std::string CZephanDlg::HelpDocumentPath() const {
    const QString appDir = QCoreApplication::applicationDirPath();
    // Installed, beside the executable in the build tree, then the working directory.
    for (const QString& candidate :
         {appDir + "/../share/orvane-gui/H2F.rtf", appDir + "/H2F.rtf", QString("H2F.rtf")}) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).absoluteFilePath().toStdString();
        }
    }
    return QDir::current().absoluteFilePath("H2F.rtf").toStdString();
}

std::optional<std::string> CZephanDlg::ResolvePort(unsigned number) {
    const auto port = m_enumerator->Resolve(static_cast<int>(number));
    if (!port) {
        return std::nullopt;
    }
    if (port->identity == SimulatorPort::kIdentity) {
        return m_simulator->DevicePath();
    }
    return port->devicePath;
}

} // namespace orvane
