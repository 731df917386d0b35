#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/image/RegisterImage.h"
#include "core/rules/DownloadChoices.h"
#include "core/rules/StartPageActions.h"
#include "pages/TextValidators.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Start" tab: the configuration's name, issue, description and date, stored in
// the register image as they are typed; the whole-configuration buttons; and the
// controller's identification text; the compare buttons and what a download does besides
// writing (remembered). It is also where the main window shows the configuration
// information after a read.
class mD2 final : public TickPage, public IConfigInfoView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD2)

public:
    mD2(IPageHost& host, IMainWindowFields& fields, ISafeWriteStore& safeWriteStore,
        QWidget* parent = nullptr);

    // Fills the fields while the tab is shown, its refresh flag reads "0" and no
    // refused file froze them.
    void OnTimer() override;
    void SetInputsEnabled(bool enabled) override;

    // IConfigInfoView: the four fields here (issue, description and date are stored
    // back as shown; the name is not), the checksum in the main window's field.
    void ShowChecksum(const std::string& text) override;
    void ShowConfigDate(const std::string& text) override;
    void ShowConfigIssue(const std::string& text) override;
    void ShowConfigName(const std::string& text) override;
    void ShowConfigDescription(const std::string& text) override;
    // "Controller Information".
    void ShowControllerInfo(const std::string& text);
    // "Open existing Configuration File from PC", also from the window's shortcut.
    void OpenConfigurationFile() { m_actions.OpenConfigurationFile(); }

    bool FileError() const { return m_actions.FileError(); }
    // What the next download does besides writing.
    const SafeWriteChoices& WriteChoices() const { return m_downloadChoices.Choices(); }
    QLineEdit* NameEdit() { return m_name; }
    QLineEdit* IssueEdit() { return m_issue; }
    QLineEdit* DescriptionEdit() { return m_description; }
    QLineEdit* DateEdit() { return m_date; }
    QPlainTextEdit* ControllerInfoField() { return m_controllerInfo; }
    QPushButton* ReadButton() { return m_read; }
    QPushButton* OpenButton() { return m_open; }
    QPushButton* ReloadButton() { return m_reload; }
    QPushButton* RestoreButton() { return m_restore; }
    QPushButton* RestartButton() { return m_restart; }
    QPushButton* RefreshInfoButton() { return m_refreshInfo; }
    QPushButton* CompareControllerButton() { return m_compareController; }
    QPushButton* CompareFileButton() { return m_compareFile; }
    QCheckBox* BackupCheck() { return m_backup; }
    QLineEdit* BackupFolderEdit() { return m_backupFolder; }
    QPushButton* ChooseFolderButton() { return m_chooseFolder; }
    QCheckBox* PreviewCheck() { return m_preview; }
    QCheckBox* VerifyCheck() { return m_verify; }

signals:
    // The main window runs the compare: it owns the image and the link.
    void CompareWithControllerRequested();
    void CompareWithFileRequested();

private:
    void BuildLayout();
    QWidget* BuildSafeWriteGroup();
    void OnChooseFolder();
    void ShowFolderInUse();
    void OnNameEdited(const QString& text);
    void OnIssueEdited(const QString& text);
    void OnDescriptionEdited(const QString& text);
    void OnDateEdited(const QString& text);

    StartPageActions m_actions;
    DownloadChoices m_downloadChoices;
    StorableTextEdit* m_name = new StorableTextEdit;
    QLineEdit* m_issue = new QLineEdit;
    StorableTextEdit* m_description = new StorableTextEdit;
    StorableTextEdit* m_date = new StorableTextEdit;
    QPlainTextEdit* m_controllerInfo = new QPlainTextEdit;
    QPushButton* m_read = new QPushButton(tr("Read Configuration File from Controller"));
    QPushButton* m_open = new QPushButton(tr("Open existing Configuration File from PC"));
    QPushButton* m_reload = new QPushButton(tr("Reload Template"));
    QPushButton* m_restore = new QPushButton(tr("Restore ORV Default"));
    QPushButton* m_restart = new QPushButton(tr("Restart Controller"));
    QPushButton* m_refreshInfo = new QPushButton(tr("Refresh Controller Information"));
    QPushButton* m_compareController = new QPushButton(tr("Compare with Controller"));
    QPushButton* m_compareFile = new QPushButton(tr("Compare with File..."));
    QCheckBox* m_backup = new QCheckBox(tr("Back up the controller's configuration first"));
    QLineEdit* m_backupFolder = new QLineEdit;
    QPushButton* m_chooseFolder = new QPushButton(tr("Choose..."));
    QCheckBox* m_preview = new QCheckBox(tr("Show what will change and ask first"));
    QCheckBox* m_verify = new QCheckBox(tr("Read back and verify"));
};

} // namespace orvane
