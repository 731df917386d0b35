#include "app/ReportDialog.h"

#include <cstdlib>

#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSettings>
#include <QVBoxLayout>

#include "app/ReportPdf.h"
#include "controls/QtText.h"
#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/reports/ReportHtml.h"
#include "storage/DurableFile.h"

namespace orvane {

namespace {

constexpr const char* kSiteKey = "Report/Site";
constexpr const char* kEngineerKey = "Report/Engineer";
constexpr const char* kNotSavedCaption = "Report not saved";

// Every control that shows a value says it to assistive technology as well.
void Show(QLabel* field, const QString& text) {
    field->setText(text);
    field->setAccessibleDescription(text);
}

} // namespace

std::string LocalIsoNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60; // minutes; "Z" would hide a zero offset
    return (now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
            QStringLiteral("%1%2:%3")
                .arg(offset < 0 ? '-' : '+')
                .arg(std::abs(offset) / 60, 2, 10, QChar('0'))
                .arg(std::abs(offset) % 60, 2, 10, QChar('0')))
        .toStdString();
}

ReportDialog::ReportDialog(Sources sources, IPrompter& prompter, QWidget* parent)
    : QDialog(parent), m_sources(std::move(sources)), m_prompter(prompter) {
    BuildLayout();
    m_site->setText(QSettings().value(kSiteKey).toString());
    m_engineer->setText(QSettings().value(kEngineerKey).toString());
    connect(m_site, &QLineEdit::textChanged, this,
            [](const QString& text) { QSettings().setValue(kSiteKey, text); });
    connect(m_engineer, &QLineEdit::textChanged, this,
            [](const QString& text) { QSettings().setValue(kEngineerKey, text); });
    connect(m_firstRead, &QRadioButton::toggled, this, [this] { ShowSummary(); });
    connect(m_lastBackup, &QRadioButton::toggled, this, [this] { ShowSummary(); });
    connect(m_choose, &QPushButton::clicked, this, [this] { OnChooseFile(); });
    connect(m_savePdf, &QPushButton::clicked, this, [this] { Save(true); });
    connect(m_saveHtml, &QPushButton::clicked, this, [this] { Save(false); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void ReportDialog::BuildLayout() {
    setWindowTitle(tr("Commissioning report"));
    setAccessibleName(windowTitle());
    auto* people = new QFormLayout;
    people->addRow(tr("Site"), m_site);
    people->addRow(tr("Engineer"), m_engineer);
    m_site->setAccessibleName(tr("Site"));
    m_engineer->setAccessibleName(tr("Engineer"));

    auto* found = new QGroupBox(tr("As found"));
    auto* foundLayout = new QVBoxLayout(found);
    foundLayout->addWidget(m_lastBackup);
    foundLayout->addWidget(m_firstRead);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileChoice);
    fileRow->addWidget(m_filePath, 1);
    fileRow->addWidget(m_choose);
    foundLayout->addLayout(fileRow);
    m_filePath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_filePath->setAccessibleName(tr("As-found file"));
    Show(m_filePath, tr("(none chosen)"));
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             m_lastBackup, m_firstRead, m_fileChoice, m_choose, m_savePdf, m_saveHtml, m_close}) {
        button->setAccessibleName(button->text());
    }

    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setAccessibleName(tr("Report summary"));
    m_summary->setMinimumWidth(fontMetrics().averageCharWidth() * 60);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_savePdf);
    buttons->addWidget(m_saveHtml);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(people);
    layout->addWidget(found);
    layout->addWidget(m_summary);
    layout->addStretch();
    layout->addLayout(buttons);
}

const SafeWriteResult* ReportDialog::LastWrite() const {
    const SafeWriteResult* last = m_sources.lastDownload ? m_sources.lastDownload() : nullptr;
    return last != nullptr && last->written ? last : nullptr;
}

void ReportDialog::Refresh() {
    const SafeWriteResult* last = LastWrite();
    const bool backup = last != nullptr && !last->backupPath.empty() && last->found;
    const bool read = m_sources.visit().FirstRead().has_value();
    m_lastBackup->setEnabled(backup);
    m_firstRead->setEnabled(read);
    // The backup of the last download is the as-found record, then the first read, unless a
    // file was chosen for it.
    QRadioButton* chosen = backup ? m_lastBackup : read ? m_firstRead : m_fileChoice;
    (m_file ? m_fileChoice : chosen)->setChecked(true);
    ShowSummary();
}

std::optional<VisitRecord> ReportDialog::Record() const {
    const bool useFile = m_fileChoice->isChecked();
    if (useFile && !m_file) {
        return std::nullopt;
    }
    const SafeWriteResult* last = LastWrite();
    std::optional<FoundFile> found = useFile ? m_file : std::nullopt;
    if (m_lastBackup->isChecked() && last != nullptr && last->found && !last->backupPath.empty()) {
        found = FoundFile{last->backupPath, *last->found};
    }
    std::optional<VisitRecord> visit =
        ComposeVisit(m_sources.visit(), m_sources.windowImage(), found);
    if (visit && last != nullptr) {
        // Only the chain's own read-back verifies its write; a read the window made
        // before it does not.
        visit->left = last->sent;
        visit->readBack = last->readBack;
    }
    if (visit) {
        visit->visitTime = LocalIsoNow();
        visit->port = m_sources.port();
        visit->software = m_sources.software;
        visit->site = m_site->text().toStdString();
        visit->engineer = m_engineer->text().toStdString();
    }
    return visit;
}

void ReportDialog::ShowSummary() {
    const std::optional<VisitRecord> visit = Record();
    m_savePdf->setEnabled(visit.has_value());
    m_saveHtml->setEnabled(visit.has_value());
    if (!visit) {
        Show(m_summary, tr("Choose the configuration file that holds what the controller held "
                           "on arrival, such as the backup made before writing."));
        return;
    }
    const CommissioningReport report = BuildCommissioningReport(*visit);
    const bool written = m_sources.visit().Written().has_value();
    QString text = tr("As found: %1, checksum %2\n")
                       .arg(Q(report.asFound[1].value), Q(report.asFound[2].value));
    text += tr("As left: %1, checksum %2 (%3)")
                .arg(Q(report.asLeft[0].value), Q(report.asLeft[1].value),
                     written ? tr("the configuration written during this visit")
                             : tr("the configuration in the window, not written"));
    text += "\n" + Q(report.verificationLine);
    std::size_t changes = 0;
    for (const DifferenceGroup& group : report.differences) {
        changes += group.lines.size();
    }
    text += "\n" + (changes == 0   ? Q(std::string(kNoChanges))
                    : changes == 1 ? tr("1 setting changed")
                                   : tr("%1 settings changed").arg(changes));
    Show(m_summary, text);
}

void ReportDialog::OnChooseFile() {
    const std::vector<std::string> paths =
        m_prompter.AskOpenFiles({false, {kConfigurationFileType}});
    if (paths.empty()) {
        return;
    }
    const FileLoadResult file = ReadConfigurationFileBytes(paths.front());
    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    if (!file.opened || read.outcome != FileReadOutcome::Loaded) {
        m_prompter.ShowMessage(paths.front() + (file.opened ? " is not a configuration file "
                                                              "with a matching checksum."
                                                            : " could not be read: " + file.error),
                               "Not a configuration file", MessageIcon::Exclamation,
                               MessageButtons::Ok);
        return;
    }
    m_file = FoundFile{paths.front(), read.groups};
    Show(m_filePath, Q(paths.front()));
    m_fileChoice->setChecked(true);
    ShowSummary();
}

void ReportDialog::Save(bool pdf) {
    const std::optional<VisitRecord> visit = Record();
    if (!visit) {
        return;
    }
    RegisterImage left;
    left.SetTexts(visit->left);
    const std::string proposed = ProposedFileName(left) + "_commissioning";
    const auto path =
        m_prompter.AskSaveFile({proposed,
                                pdf ? "pdf" : "html",
                                true,
                                {pdf ? "PDF documents (*.pdf)" : "Web pages (*.html)"}});
    if (!path) {
        return;
    }
    const CommissioningReport report = BuildCommissioningReport(*visit);
    const std::string html = RenderReportHtml(report);
    QString error;
    if (pdf) {
        error = WriteReportPdf(
            html, Q(std::string(kReportTitle) + " - " + report.header.front().value), Q(*path));
    } else {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(html.data());
        const DurableWriteResult written = WriteFileDurably(*path, {bytes, html.size()});
        error = written.ok ? QString() : Q(written.error);
    }
    if (!error.isEmpty()) {
        m_prompter.ShowMessage("The report " + *path + " could not be written:\n" +
                                   error.toStdString(),
                               kNotSavedCaption, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

} // namespace orvane
