#include "pages/mD2.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/FixedColours.h"
#include "controls/QtText.h"
#include "core/image/Conversions.h"
#include "core/image/TypedEntry.h"
#include "core/rules/StartPageRules.h"

namespace orvane {

mD2::mD2(IPageHost& host, IMainWindowFields& fields, ISafeWriteStore& safeWriteStore,
         QWidget* parent)
    : TickPage(host, fields, kTabStart, parent),
      m_actions(host.Image(), host.Sequencing(), host.Requests(), host.Prompter(), *this,
                &host.History()),
      m_downloadChoices(safeWriteStore) {
    m_name->setMaxLength(FieldLength(kNameField));
    m_description->setMaxLength(FieldLength(kDescriptionField));
    m_date->setMaxLength(FieldLength(kDateField));
    m_issue->setValidator(new DigitsValidator(kLargestWord, m_issue));
    BuildLayout();

    Filling().OnText(m_name, [this] { OnNameEdited(m_name->text()); });
    Filling().OnText(m_issue, [this] { OnIssueEdited(m_issue->text()); });
    Filling().OnText(m_description, [this] { OnDescriptionEdited(m_description->text()); });
    Filling().OnText(m_date, [this] { OnDateEdited(m_date->text()); });
    connect(m_read, &QPushButton::clicked, this, [this] { m_actions.ReadConfiguration(); });
    connect(m_open, &QPushButton::clicked, this, &mD2::OpenConfigurationFile);
    connect(m_reload, &QPushButton::clicked, this, [this] { m_actions.ReloadTemplate(); });
    connect(m_restore, &QPushButton::clicked, this, [this] { m_actions.RestoreDefault(); });
    connect(m_restart, &QPushButton::clicked, this, [this] { m_actions.RestartController(); });
    connect(m_refreshInfo, &QPushButton::clicked, this,
            [this] { m_actions.RefreshControllerInformation(); });
    connect(m_compareController, &QPushButton::clicked, this, &mD2::CompareWithControllerRequested);
    connect(m_compareFile, &QPushButton::clicked, this, &mD2::CompareWithFileRequested);
    connect(m_backup, &QCheckBox::toggled, this, [this](bool on) {
        m_downloadChoices.SetBackup(on);
        ShowFolderInUse();
    });
    connect(m_backupFolder, &QLineEdit::textChanged, this, [this](const QString& folder) {
        m_downloadChoices.SetBackupFolder(folder.toStdString());
    });
    connect(m_chooseFolder, &QPushButton::clicked, this, &mD2::OnChooseFolder);
    connect(m_preview, &QCheckBox::toggled, this,
            [this](bool on) { m_downloadChoices.SetPreview(on); });
    connect(m_verify, &QCheckBox::toggled, this,
            [this](bool on) { m_downloadChoices.SetVerify(on); });
}

void mD2::BuildLayout() {
    auto* configuration = new QGroupBox(tr("Configuration"));
    configuration->setAccessibleName(configuration->title());
    auto* form = new QFormLayout(configuration);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    // The short boxes as wide as their widest text; the description takes the rest.
    const auto widthOf = [this](const QString& widest) {
        return fontMetrics().horizontalAdvance(widest) + 16;
    };
    m_name->setFixedWidth(widthOf(QString(FieldLength(kNameField), QLatin1Char('M'))));
    m_issue->setFixedWidth(widthOf("655350"));
    m_date->setFixedWidth(widthOf("88/88/88880"));
    m_description->setMinimumWidth(fontMetrics().averageCharWidth() *
                                   FieldLength(kDescriptionField));
    const struct {
        QLineEdit* edit;
        QString label;
    } rows[] = {
        {m_name, tr("Configuration File Name")},
        {m_issue, tr("Set Config File Issue")},
        {m_description, tr("Description")},
        {m_date, tr("Date:")},
    };
    for (const auto& row : rows) {
        NameControl(row.edit, row.label);
        TrackShownValue(row.edit);
        form->addRow(NewCaption(row.label, row.edit), row.edit);
    }

    auto* commands = new QGroupBox(tr("Configuration and controller"));
    commands->setAccessibleName(commands->title());
    auto* buttons = new QVBoxLayout(commands);
    for (QPushButton* button : {m_read, m_open, m_reload, m_restore, m_restart, m_refreshInfo}) {
        button->setAccessibleName(button->text());
        buttons->addWidget(button);
    }

    auto* information = new QGroupBox(tr("Controller Information"));
    information->setAccessibleName(information->title());
    // Read-only text that wraps even a text without blanks. Its blue is fixed, so its face is
    // fixed light too: a dark palette's face would swallow the blue.
    QPalette palette = m_controllerInfo->palette();
    palette.setColor(QPalette::Text, kFixedLinkBlue);
    palette.setColor(QPalette::Base, kFixedLightFace);
    m_controllerInfo->setPalette(palette);
    m_controllerInfo->setReadOnly(true);
    m_controllerInfo->setFrameShape(QFrame::NoFrame);
    m_controllerInfo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_controllerInfo->setMinimumHeight(fontMetrics().lineSpacing() * 8);
    NameControl(m_controllerInfo, tr("Controller Information"));
    TrackShownValue(m_controllerInfo);
    auto* infoLayout = new QVBoxLayout(information);
    infoLayout->addWidget(m_controllerInfo);

    auto* top = new QHBoxLayout;
    top->addWidget(configuration, 1, Qt::AlignTop);
    top->addWidget(commands, 0, Qt::AlignTop);
    top->addWidget(BuildSafeWriteGroup(), 0, Qt::AlignTop);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(information, 1);
    setAccessibleName(tr("Start"));
}

QWidget* mD2::BuildSafeWriteGroup() {
    // Filled before the signals are wired: showing the remembered choices stores nothing.
    const SafeWriteChoices& choices = m_downloadChoices.Choices();
    m_backup->setChecked(choices.backup);
    m_backupFolder->setText(Q(choices.backupFolder));
    m_preview->setChecked(choices.preview);
    m_verify->setChecked(choices.verify);
    ShowFolderInUse();

    auto* group = new QGroupBox(tr("Compare and safe download"));
    group->setAccessibleName(group->title());
    auto* layout = new QVBoxLayout(group);
    for (QPushButton* button : {m_compareController, m_compareFile}) {
        button->setAccessibleName(button->text());
        layout->addWidget(button);
    }
    for (QCheckBox* check : {m_backup, m_preview, m_verify}) {
        check->setAccessibleName(check->text());
    }
    layout->addSpacing(fontMetrics().lineSpacing() / 2);
    layout->addWidget(m_backup);
    const QString folderLabel = tr("Backup folder");
    NameControl(m_backupFolder, folderLabel);
    TrackShownValue(m_backupFolder);
    m_chooseFolder->setAccessibleName(m_chooseFolder->text());
    auto* folderRow = new QHBoxLayout;
    // Indented under its check box: the folder belongs to the backup.
    folderRow->setContentsMargins(fontMetrics().height(), 0, 0, 0);
    folderRow->addWidget(NewCaption(folderLabel, m_backupFolder));
    folderRow->addWidget(m_backupFolder, 1);
    folderRow->addWidget(m_chooseFolder);
    layout->addLayout(folderRow);
    layout->addWidget(m_preview);
    layout->addWidget(m_verify);
    return group;
}

void mD2::ShowFolderInUse() {
    m_backupFolder->setEnabled(m_downloadChoices.FolderInUse());
    m_chooseFolder->setEnabled(m_downloadChoices.FolderInUse());
}

void mD2::OnChooseFolder() {
    if (const auto folder = Host().Prompter().AskFolder(m_downloadChoices.Choices().backupFolder)) {
        m_backupFolder->setText(Q(*folder));
    }
}

void mD2::OnTimer() {
    if (Host().ActiveTab() != TabNumber() || m_actions.FileError() ||
        Host().RefreshFlag(TabNumber()) != "0") {
        return;
    }
    const RegisterImage& image = Host().Image();
    ShowConfigIssue(FormatDecimal(image.Value(kIssueRegister).value_or(0)));
    ShowConfigDate(image.DecodeTextField(kDateField));
    ShowConfigName(image.DecodeTextField(kNameField));
    ShowConfigDescription(image.DecodeTextField(kDescriptionField));
    Host().SetRefreshFlag(TabNumber(), "1");
}

void mD2::SetInputsEnabled(bool enabled) {
    for (QWidget* input :
         std::initializer_list<QWidget*>{m_reload, m_read, m_open, m_refreshInfo, m_restart,
                                         m_restore, m_name, m_description, m_issue, m_date}) {
        input->setEnabled(enabled);
    }
    // A download in progress keeps the choices it started with.
    for (QWidget* input : std::initializer_list<QWidget*>{m_compareController, m_compareFile,
                                                          m_backup, m_preview, m_verify}) {
        input->setEnabled(enabled);
    }
    if (enabled) {
        ShowFolderInUse();
    } else {
        m_backupFolder->setEnabled(false);
        m_chooseFolder->setEnabled(false);
    }
}

void mD2::ShowChecksum(const std::string& text) {
    Fields().ShowChecksum(text);
}

// Fills store nothing by themselves: each stores what its field's rule says.
void mD2::ShowConfigDate(const std::string& text) {
    Filling().Run([this, &text] { m_date->Fill(Q(text)); });
    OnDateEdited(m_date->text());
}

void mD2::ShowConfigIssue(const std::string& text) {
    Filling().Run([this, &text] { m_issue->setText(Q(text)); });
    OnIssueEdited(m_issue->text());
}

void mD2::ShowConfigName(const std::string& text) {
    // No store: the name's registers stay as they are.
    Filling().Run([this, &text] { m_name->Fill(Q(text)); });
}

void mD2::ShowConfigDescription(const std::string& text) {
    Filling().Run([this, &text] { m_description->Fill(Q(text)); });
    OnDescriptionEdited(m_description->text());
}

void mD2::ShowControllerInfo(const std::string& text) {
    // Bytes as the controller sent them, one character each.
    QString shown = QString::fromLatin1(text);
    shown.replace("\r\n", "\n").replace('\r', '\n');
    m_controllerInfo->setPlainText(shown);
}

void mD2::OnNameEdited(const QString& text) {
    StoreTextField(Host().Image(), kNameEntry, text.toStdU16String());
}

void mD2::OnIssueEdited(const QString& text) {
    StoreIssue(Host().Image(), text.toStdString());
}

void mD2::OnDescriptionEdited(const QString& text) {
    StoreTextField(Host().Image(), kDescriptionEntry, text.toStdU16String());
}

void mD2::OnDateEdited(const QString& text) {
    StoreTextField(Host().Image(), kDateEntry, text.toStdU16String());
}

} // namespace orvane
