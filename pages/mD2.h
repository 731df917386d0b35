#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/image/RegisterImage.h"
#include "core/rules/StartPageActions.h"
#include "pages/TextValidators.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Start" tab: the configuration's name, issue, description and date, stored in
// the register image as they are typed; the whole-configuration buttons; and the
// controller's identification text. It is also where the main window shows the
// configuration information after a read.
class mD2 final : public TickPage, public IConfigInfoView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD2)

public:
    mD2(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

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

private:
    void BuildLayout();
    void OnNameEdited(const QString& text);
    void OnIssueEdited(const QString& text);
    void OnDescriptionEdited(const QString& text);
    void OnDateEdited(const QString& text);

    StartPageActions m_actions;
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
};

} // namespace orvane
