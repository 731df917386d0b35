#include "pages/mD3.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "core/rules/ModeRules.h"

namespace orvane {

namespace {

const QColor kCautionRed(0xFA, 0x0A, 0x16);
const QColor kCautionGrey(0xC8, 0xC8, 0xC8);

} // namespace

mD3::mD3(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabMode, parent) {
    auto* group = new QGroupBox(QString::fromLatin1(kOperatingModeTitle));
    group->setAccessibleName(group->title().trimmed());
    auto* modes = new QVBoxLayout(group);
    for (std::size_t i = 0; i < m_modes.size(); ++i) {
        const OperatingMode& mode = OperatingModes()[i];
        m_modes[i] = new QRadioButton(QString::fromLatin1(mode.label));
        m_modes[i]->setAccessibleName(m_modes[i]->text().trimmed());
        modes->addWidget(m_modes[i]);
        Filling().OnChecked(m_modes[i], [this, which = mode.mode] { OnModeClicked(which); });
        // A click on the mode already chosen applies it again, its hysteresis with it.
        connect(m_modes[i], &QRadioButton::clicked, this,
                [this, which = mode.mode] { OnModeClicked(which); });
    }
    Filling().Run([this] { m_modes[0]->setChecked(true); });

    ShowText(m_caution, QString::fromLatin1(kCautionText));
    m_caution->setAccessibleName(tr("Caution"));
    m_caution->setWordWrap(true);
    m_caution->setMargin(6);
    m_caution->setAutoFillBackground(true);
    QPalette palette = m_caution->palette();
    palette.setColor(QPalette::WindowText, kCautionRed);
    palette.setColor(QPalette::Window, kCautionGrey);
    m_caution->setPalette(palette);

    for (const ProjectMode& item : ProjectModes()) {
        m_projectMode->addItem(QString::fromLatin1(item.text));
    }
    m_projectMode->setEditable(true);
    m_projectMode->setInsertPolicy(QComboBox::NoInsert);
    m_projectMode->setCurrentIndex(-1);
    m_projectMode->setMinimumContentsLength(36);
    m_projectMode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    NameControl(m_projectMode, QString::fromLatin1(kProjectModeLabel));
    TrackShownValue(m_projectMode);
    // An item chosen, or a typed item's text once editing finishes.
    Filling().OnIndex(m_projectMode,
                      [this] { OnProjectModeSelected(m_projectMode->currentText()); });

    auto* project = new QHBoxLayout;
    project->addWidget(NewCaption(QString::fromLatin1(kProjectModeLabel), m_projectMode));
    project->addWidget(m_projectMode);
    project->addStretch();

    auto* column = new QVBoxLayout;
    column->addWidget(group);
    column->addWidget(m_caution);
    column->addSpacing(12);
    column->addLayout(project);
    column->addStretch();
    auto* page = new QHBoxLayout(this);
    page->addLayout(column);
    page->addStretch();
    group->setMinimumWidth(group->sizeHint().width() + 40);
    m_caution->setMaximumWidth(640);
    setAccessibleName(tr("Mode"));
}

void mD3::SetInputsEnabled(bool enabled) {
    for (QRadioButton* mode : m_modes) {
        mode->setEnabled(enabled);
    }
    m_projectMode->setEnabled(enabled);
}

void mD3::LoadFields() {
    const RegisterImage& image = Host().Image();
    m_projectMode->setCurrentIndex(
        m_projectMode->findText(QString::fromLatin1(ShownProjectMode(image))));
    if (const auto mode = ShownOperatingMode(image)) {
        m_modes.at(static_cast<unsigned>(*mode) - 1)->setChecked(true);
    }
}

void mD3::OnModeClicked(reg::ControlMode mode) {
    Fields().ShowMode(ApplyOperatingMode(Host().Image(), mode));
}

void mD3::OnProjectModeSelected(const QString& text) {
    StoreProjectMode(Host().Image(), text.toStdString());
}

} // namespace orvane
