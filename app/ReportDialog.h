#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/chain/SafeWriteChain.h"
#include "core/comms/Prompter.h"
#include "core/reports/VisitLog.h"

namespace orvane {

// The PC's local time in ISO 8601 with the offset from UTC: "2026-12-07T23:54:41+01:00".
std::string LocalIsoNow();

// "Commissioning report...": picks the as-found record (the backup made by the last download,
// the first read of the visit, or a configuration file), shows what the report will say was left
// and verified, and saves it as PDF or HTML. Site and engineer are remembered between runs.
class ReportDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportDialog)

public:
    struct Sources {
        std::function<const VisitLog&()> visit;
        std::function<RegisterTexts()> windowImage;
        std::function<std::string()> port;
        std::string software;
        // The last download made with backup, question or verification; none when the last
        // download was a plain one.
        std::function<const SafeWriteResult*()> lastDownload;
    };
    ReportDialog(Sources sources, IPrompter& prompter, QWidget* parent = nullptr);

    // Takes in what the visit has seen since the dialog was last shown.
    void Refresh();
    // The record the report would be made from; none without an as-found record.
    std::optional<VisitRecord> Record() const;

    QLineEdit* SiteEdit() { return m_site; }
    QLineEdit* EngineerEdit() { return m_engineer; }
    QRadioButton* LastBackupChoice() { return m_lastBackup; }
    QRadioButton* FirstReadChoice() { return m_firstRead; }
    QRadioButton* FileChoice() { return m_fileChoice; }
    QPushButton* ChooseFileButton() { return m_choose; }
    QLabel* SummaryField() { return m_summary; }
    QPushButton* SavePdfButton() { return m_savePdf; }
    QPushButton* SaveHtmlButton() { return m_saveHtml; }

private:
    void BuildLayout();
    void OnChooseFile();
    void Save(bool pdf);
    void ShowSummary();
    // The last download, when it wrote: what it sent is what was left, and its read-back is the
    // verification.
    const SafeWriteResult* LastWrite() const;

    Sources m_sources;
    IPrompter& m_prompter;
    std::optional<FoundFile> m_file;
    QLineEdit* m_site = new QLineEdit;
    QLineEdit* m_engineer = new QLineEdit;
    QRadioButton* m_lastBackup = new QRadioButton(tr("Backup made by the last download"));
    QRadioButton* m_firstRead = new QRadioButton(tr("First configuration read during this visit"));
    QRadioButton* m_fileChoice = new QRadioButton(tr("Configuration file:"));
    QLabel* m_filePath = new QLabel;
    QPushButton* m_choose = new QPushButton(tr("Choose..."));
    QLabel* m_summary = new QLabel;
    QPushButton* m_savePdf = new QPushButton(tr("Save as PDF..."));
    QPushButton* m_saveHtml = new QPushButton(tr("Save as HTML..."));
    QPushButton* m_close = new QPushButton(tr("Close"));
};

} // namespace orvane
