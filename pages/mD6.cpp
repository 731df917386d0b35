#include "pages/mD6.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/QtText.h"
#include "core/comms/SequencerCodes.h"
#include "core/image/RegisterImage.h"
#include "core/rules/ProfileTexts.h"

namespace orvane {

namespace {

using profile::ActiveInput;
using profile::OnOffMode;
using profile::PointMode;

const QStringList kFans{"1", "2", "3", "4"};
const QStringList kActiveInputs{"1", "2", "1 or 2"};

// A caption whose text follows the profile type; a screen reader reads it as shown.
void SetCaption(QLabel* caption, const std::string& text) {
    caption->setText(Q(text));
    caption->setAccessibleName(caption->text());
}

QLineEdit* NewValueBox(const QString& name) {
    auto* box = new QLineEdit;
    NameControl(box, name);
    TrackShownValue(box);
    box->setAlignment(Qt::AlignCenter);
    box->setMinimumWidth(64);
    box->setMaximumWidth(110);
    box->setEnabled(false);
    return box;
}

QComboBox* NewList(const QString& name, const QStringList& items) {
    auto* list = new QComboBox;
    list->addItems(items);
    list->setCurrentIndex(-1);
    NameControl(list, name);
    TrackShownValue(list);
    return list;
}

// A button or box named by its own text.
template <typename Button>
Button* NewButton(const QString& text) {
    auto* button = new Button(text);
    NameControl(button, text);
    return button;
}

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
    for (QWidget* control : controls) {
        control->setEnabled(enabled);
    }
}

QFrame* NewPanel() {
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

mD6::mD6(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabProfile, parent),
      m_chart(new ProfileChart(
          [this](int fan) {
              return profile::CurvePoints(m_profiles.Record(fan), m_profiles.Type());
          },
          [this] { return SelectedFan(); })) {
    BuildLayout();
    WireSignals();
    m_chart->SetPointEditing(
        {[this] { return MovablePoints(); },
         [this](int point) { return m_profiles.Record(SelectedFan()).Point(point); },
         [this] { return m_profiles.Type(); },
         [this](int point, profile::ProfilePoint at) { MovePointByHand(point, at); }});
    // Defined from the start: the profiles as the image holds them now.
    Filling().Run([this] { LoadFields(); });
}

void mD6::BuildLayout() {
    m_fanList = NewList("Settings for Fan", kFans);
    m_fanList->setPlaceholderText(tr("Select"));
    m_copyFrom = NewButton<QPushButton>("Copy From");
    m_copySource = NewList("Copy From Fan", {});
    m_copySource->setEnabled(false);

    const profile::ProfileLabels labels = profile::InitialLabels();
    m_on = NewValueBox("ON Value");
    m_onLabel = NewCaption(Q(labels.on), m_on);
    m_alwaysOn = NewButton<QCheckBox>("Always ON ?");
    m_off = NewValueBox("OFF Value");
    m_offLabel = NewCaption(Q(labels.off), m_off);
    m_activeInput = NewList("Active Input", kActiveInputs);
    m_activeInputLabel = NewCaption(Q(labels.activeInput), m_activeInput);
    m_twoPoint = NewButton<QCheckBox>("Two Point");
    m_multiPoint = NewButton<QCheckBox>("Multi Point");
    m_store = NewButton<QPushButton>("Cleanup / Store Profiles");
    m_store->setMinimumHeight(m_store->sizeHint().height() * 3 / 2);
    QFont storeFont = m_store->font();
    storeFont.setBold(true);
    m_store->setFont(storeFont);
    SetEnabled({m_activeInput, m_alwaysOn, m_twoPoint, m_multiPoint}, false);

    auto* settings = new QGridLayout;
    settings->setVerticalSpacing(8);
    settings->addWidget(NewCaption("Settings for Fan", m_fanList), 0, 0);
    settings->addWidget(m_fanList, 0, 1);
    settings->addWidget(m_copyFrom, 1, 0);
    auto* copyRow = new QHBoxLayout;
    copyRow->setSpacing(8);
    copyRow->addWidget(NewCaption("   <<<<  Fan", m_copySource));
    copyRow->addWidget(m_copySource, 1);
    settings->addLayout(copyRow, 1, 1, 1, 2);
    settings->setRowMinimumHeight(2, 12);
    settings->addWidget(m_onLabel, 3, 0);
    settings->addWidget(m_on, 3, 1);
    settings->addWidget(m_alwaysOn, 3, 2);
    settings->addWidget(m_offLabel, 4, 0);
    settings->addWidget(m_off, 4, 1);
    settings->addWidget(m_activeInputLabel, 5, 0);
    settings->addWidget(m_activeInput, 5, 1);
    settings->setRowMinimumHeight(6, 12);
    settings->addWidget(m_twoPoint, 7, 0);
    settings->addWidget(m_multiPoint, 7, 1);
    settings->setColumnStretch(2, 1);

    auto* settingsPanel = NewPanel();
    settingsPanel->setMinimumWidth(390); // steady while the labels change with the type
    auto* settingsColumn = new QVBoxLayout(settingsPanel);
    settingsColumn->addLayout(settings);
    settingsColumn->addStretch();
    settingsColumn->addWidget(m_store);

    m_inputRowLabel = NewCaption(Q(labels.inputRow));
    m_speedRowLabel = NewCaption(Q(labels.speedRow));
    auto* points = new QGridLayout;
    points->addWidget(m_inputRowLabel, 1, 0);
    points->addWidget(m_speedRowLabel, 2, 0);
    const auto digitsOnly = QRegularExpression("[0-9]*");
    for (int point = 1; point <= reg::kPointCount; ++point) {
        auto* input = NewValueBox(QString("Point %1 Input").arg(point));
        auto* speed = NewValueBox(QString("Point %1 Speed").arg(point));
        speed->setValidator(new QRegularExpressionValidator(digitsOnly, speed));
        m_pointInputs[Slot(point)] = input;
        m_pointSpeeds[Slot(point)] = speed;
        points->addWidget(NewCaption(QString::number(point)), 0, point, Qt::AlignCenter);
        points->addWidget(input, 1, point);
        points->addWidget(speed, 2, point);
        points->setColumnStretch(point, 1);
    }
    auto* pointsPanel = NewPanel();
    pointsPanel->setLayout(points);

    auto* top = new QHBoxLayout;
    top->addWidget(settingsPanel);
    top->addWidget(m_chart, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(pointsPanel);
}

void mD6::WireSignals() {
    connect(m_fanList, &QComboBox::activated, this, &mD6::OnFanSelected);
    connect(m_copyFrom, &QPushButton::clicked, this, &mD6::OnCopyFrom);
    connect(m_copySource, &QComboBox::activated, this, &mD6::OnCopySourceChosen);
    connect(m_store, &QPushButton::clicked, this, &mD6::OnStoreProfiles);
    // Boxes the page fills itself change no value.
    PageFill& fill = Filling();
    fill.OnText(m_on, [this] { OnOnValueEdited(); });
    fill.OnText(m_off, [this] { OnOffValueEdited(); });
    fill.OnToggle(m_alwaysOn, [this](bool checked) { OnAlwaysOnClicked(checked); });
    fill.OnIndex(m_activeInput, [this] { OnActiveInputChosen(); });
    fill.OnToggle(m_twoPoint, [this](bool checked) { OnTwoPointClicked(checked); });
    fill.OnToggle(m_multiPoint, [this](bool checked) { OnMultiPointClicked(checked); });
    for (int point = 1; point <= reg::kPointCount; ++point) {
        fill.OnText(PointInput(point), [this, point] { OnPointInputEdited(point); });
        fill.OnText(PointSpeed(point), [this, point] { OnPointSpeedEdited(point); });
    }
}

void mD6::SetInputsEnabled(bool enabled) {
    SetEnabled({m_fanList, m_copyFrom, m_store}, enabled);
}

int mD6::SelectedFan() const {
    const int fan = m_fanList->currentText().toInt();
    return fan >= 1 && fan <= reg::kFanCount ? fan : 0;
}

void mD6::LoadFields() {
    ShowProfileType(m_profiles.Reload(Host().Image()));
    if (SelectedFan() != 0) {
        m_profiles.CleanupAll();
        ShowSelectedFan();
    }
}

void mD6::ShowProfileType(bool known) {
    const profile::ProfileTooltips tips = profile::TooltipsFor(m_profiles.Type().input);
    for (int point = 1; point <= reg::kPointCount; ++point) {
        PointInput(point)->setToolTip(Q(tips.pointInput.at(Slot(point))));
    }
    m_on->setToolTip(Q(tips.on));
    m_off->setToolTip(Q(tips.off));
    if (!known) {
        return; // an unknown type leaves labels, limits and axes as they were
    }
    const profile::ProfileLabels labels = profile::LabelsFor(m_profiles.Type());
    SetCaption(m_onLabel, labels.on);
    SetCaption(m_offLabel, labels.off);
    SetCaption(m_activeInputLabel, labels.activeInput);
    SetCaption(m_inputRowLabel, labels.inputRow);
    SetCaption(m_speedRowLabel, labels.speedRow);
    m_chart->SetAxes(profile::ChartAxesFor(m_profiles.Type()));
}

void mD6::ShowSelectedFan() {
    const int fan = SelectedFan();
    if (fan == 0) {
        return;
    }
    Filling().Run([this, fan] { ShowRecord(m_profiles.Record(fan)); });
    m_chart->RedrawSelected();
    // Boxes written anew count as edits: a fan on show is a fan not yet stored.
    ApplyStoreLock();
}

void mD6::ShowRecord(const profile::ProfileRecord& record) {
    for (int point = 1; point <= reg::kPointCount; ++point) {
        PointInput(point)->setText(
            Q(profile::FormatPointInput(record.Point(point).x, m_profiles.Type().input)));
        PointSpeed(point)->setText(Q(profile::FormatWhole(record.Point(point).y)));
    }
    switch (record.onOffMode) {
    case OnOffMode::AlwaysOn:
        SetOnOffBoxes(false, " ", " ");
        break;
    case OnOffMode::Switched:
        SetOnOffBoxes(true, Q(profile::FormatWhole(record.OnValue())),
                      Q(profile::FormatWhole(record.offValue)));
        break;
    case OnOffMode::None:
        SetOnOffBoxes(true, "??", "??");
        break;
    }
    m_alwaysOn->setChecked(record.onOffMode == OnOffMode::AlwaysOn);
    if (record.pointMode != PointMode::None) {
        m_twoPoint->setChecked(record.pointMode == PointMode::TwoPoint);
        m_multiPoint->setChecked(record.pointMode == PointMode::MultiPoint);
    }
    EnablePointBoxes(record.pointMode);
    if (record.activeInput != ActiveInput::None) {
        m_activeInput->setCurrentIndex(static_cast<int>(record.activeInput) - 1);
    }
}

void mD6::SetOnOffBoxes(bool enabled, const QString& on, const QString& off) {
    m_on->setEnabled(enabled);
    m_off->setEnabled(enabled);
    m_on->setText(on);
    m_off->setText(off);
}

void mD6::EnablePointBoxes(PointMode mode) {
    for (int point = 1; point <= reg::kPointCount; ++point) {
        const bool outer = point == 1 || point == reg::kPointCount;
        const bool enabled =
            mode == PointMode::MultiPoint || (mode == PointMode::TwoPoint && outer);
        for (QLineEdit* box : {PointInput(point), PointSpeed(point)}) {
            box->setEnabled(enabled);
            if (mode == PointMode::TwoPoint && !outer) {
                box->setText(" ");
            }
        }
    }
}

void mD6::ApplyStoreLock() {
    Fields().SetProfileStored(false);
    Fields().SetMainButtonsEnabled(false);
    Fields().SetNote(profile::kStoreNote);
}

void mD6::OnFanSelected() {
    m_copySource->setCurrentIndex(-1);
    m_copySource->setEnabled(false);
    const int fan = SelectedFan();
    if (fan == 0) {
        return;
    }
    m_profiles.LoadPoints(Host().Image());
    m_profiles.Cleanup(fan);
    SetEnabled({m_on, m_off, m_activeInput, m_alwaysOn, m_twoPoint, m_multiPoint}, true);
    ShowSelectedFan();
    m_profiles.TakeSnapshot(fan);
    ApplyStoreLock();
}

void mD6::OnPointInputEdited(int point) {
    if (const int fan = SelectedFan()) {
        m_profiles.SetPointInput(fan, point, PointInput(point)->text().toStdString());
        m_chart->RedrawSelected();
    }
    ApplyStoreLock();
}

void mD6::OnPointSpeedEdited(int point) {
    if (const int fan = SelectedFan()) {
        m_profiles.SetPointSpeed(fan, point, PointSpeed(point)->text().toStdString());
        m_chart->RedrawSelected();
    }
    ApplyStoreLock();
}

void mD6::OnOnValueEdited() {
    if (const int fan = SelectedFan()) {
        m_profiles.SetOnValue(fan, m_on->text().toStdString());
        m_chart->RedrawSelected();
    }
    ApplyStoreLock();
}

void mD6::OnOffValueEdited() {
    if (const int fan = SelectedFan()) {
        m_profiles.SetOffValue(fan, m_off->text().toStdString());
    }
    ApplyStoreLock();
}

void mD6::OnAlwaysOnClicked(bool checked) {
    const int fan = SelectedFan();
    if (fan == 0) {
        Host().Prompter().ShowMessage(profile::kNoFanText, profile::kNoFanCaption,
                                      MessageIcon::Exclamation, MessageButtons::Ok);
        Filling().Run([this] { m_alwaysOn->setChecked(false); });
        return;
    }
    if (checked) {
        m_profiles.SetAlwaysOn(fan);
        Filling().Run([this] { SetOnOffBoxes(false, " ", " "); });
    } else {
        m_profiles.ClearAlwaysOn(fan);
        const profile::ProfileRecord& record = m_profiles.Record(fan);
        Filling().Run([this, &record] {
            SetOnOffBoxes(true, Q(profile::FormatWhole(record.OnValue())),
                          Q(profile::FormatWhole(record.offValue)));
        });
    }
    m_chart->RedrawSelected();
    ApplyStoreLock();
}

void mD6::OnTwoPointClicked(bool checked) {
    OnPointModeClicked(m_twoPoint, m_multiPoint, checked, PointMode::TwoPoint);
}

void mD6::OnMultiPointClicked(bool checked) {
    OnPointModeClicked(m_multiPoint, m_twoPoint, checked, PointMode::MultiPoint);
}

void mD6::OnPointModeClicked(QCheckBox* clicked, QCheckBox* other, bool checked, PointMode mode) {
    // The pair acts as radio buttons: a click on the checked one leaves it checked.
    if (!checked) {
        Filling().Run([clicked] { clicked->setChecked(true); });
    } else if (other->isChecked()) {
        Filling().Run([other] { other->setChecked(false); });
        m_profiles.SetPointMode(mode);
        if (const int fan = SelectedFan()) {
            m_profiles.Cleanup(fan);
            ShowSelectedFan();
        }
    }
    // Locked in every case, and so also unstored, so that a store can lift the lock.
    ApplyStoreLock();
}

void mD6::OnActiveInputChosen() {
    const int fan = SelectedFan();
    if (fan == 0) {
        return;
    }
    const QString text = m_activeInput->currentText();
    if (text == "1") {
        m_profiles.SetActiveInput(fan, ActiveInput::Input1);
    } else if (text == "2") {
        m_profiles.SetActiveInput(fan, ActiveInput::Input2);
    } else if (text == "1 or 2") {
        Host().Prompter().ShowMessage(profile::kEitherInputText, profile::kEitherInputCaption,
                                      MessageIcon::Exclamation, MessageButtons::Ok);
        m_profiles.SetActiveInput(fan, ActiveInput::Either);
    }
    ApplyStoreLock();
}

void mD6::OnCopyFrom() {
    m_copySource->clear();
    m_copySource->addItems(kFans);
    const int fan = SelectedFan();
    if (fan != 0) {
        m_copySource->removeItem(fan - 1);
    }
    m_copySource->setCurrentIndex(-1);
    m_copySource->setEnabled(fan != 0);
}

void mD6::OnCopySourceChosen() {
    const int fan = SelectedFan();
    const int source = m_copySource->currentText().toInt();
    if (fan == 0 || source < 1 || source > reg::kFanCount) {
        return;
    }
    Fields().SetProfileStored(false);
    m_profiles.CopyFrom(source, fan, Host().Image());
    ShowSelectedFan();
}

void mD6::OnStoreProfiles() {
    const int fan = SelectedFan();
    if (Fields().ProfileStored() || fan == 0) {
        return;
    }
    m_profiles.CleanupAll();
    ShowSelectedFan();
    m_profiles.Store(Host().Image());
    Fields().SetProfileStored(true);
    m_profiles.TakeSnapshot(fan);
    Fields().SetMainButtonsEnabled(true);
    Fields().SetNote(" ");
}

std::vector<int> mD6::MovablePoints() const {
    const int fan = SelectedFan();
    if (fan == 0) {
        return {};
    }
    std::vector<int> points = profile::EditablePoints(m_profiles.Record(fan));
    std::erase_if(points, [this](int point) {
        return !m_pointInputs.at(Slot(point))->isEnabled() ||
               !m_pointSpeeds.at(Slot(point))->isEnabled();
    });
    return points;
}

void mD6::MovePointByHand(int point, profile::ProfilePoint at) {
    const std::pair<QLineEdit*, QString> entries[] = {
        {PointInput(point), Q(profile::FormatPointInput(at.x, m_profiles.Type().input))},
        {PointSpeed(point), Q(profile::FormatWhole(at.y))}};
    for (const auto& [box, text] : entries) {
        // Not a fill: the edit takes the typed path, the page's rules, the redraw and
        // the store lock.
        box->setText(text);
    }
}

void mD6::OnVisibleTick() {
    const ISequencerStatus& sequencer = Host().Sequencing();
    const bool live = sequencer.IsConnected() && sequencer.State() == State::ViewData &&
                      sequencer.StatusText() == StateName(State::ViewData);
    std::array<std::optional<profile::ProfilePoint>, reg::kFanCount> points{};
    for (int fan = 1; live && fan <= reg::kFanCount; ++fan) {
        points.at(static_cast<std::size_t>(fan - 1)) = profile::OperatingPoint(
            sequencer.Fields(), m_profiles.Record(fan), m_profiles.Type(), fan);
    }
    m_chart->ShowOperatingPoints(points, m_profiles.Type());
}

} // namespace orvane
