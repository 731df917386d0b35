#include "pages/mD9.h"

#include <utility>

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/FixedColours.h"
#include "controls/QtText.h"
#include "pages/ReadingLayout.h"

namespace orvane {

namespace {

constexpr int kFanPictureSize = 60;
constexpr int kLedSize = 24;
constexpr int kLampSize = 52;
const QSize kThermometerSize(36, 108);
const QSize kSwitchSize(38, 60);

// The panels' face is fixed light, so their ink is fixed too: a dark desktop palette would
// otherwise paint light text on it. The set-speed bar's text is white over Highlight.
QPalette PanelPalette(QPalette palette) {
    for (const auto& [role, colour] : {std::pair{QPalette::Window, kFixedLightFace},
                                       {QPalette::WindowText, kFixedDarkInk},
                                       {QPalette::Base, QColor(Qt::white)},
                                       {QPalette::Text, kFixedDarkInk},
                                       {QPalette::Button, QColor(230, 232, 236)},
                                       {QPalette::ButtonText, kFixedDarkInk},
                                       {QPalette::Highlight, QColor(31, 95, 153)},
                                       {QPalette::HighlightedText, QColor(Qt::white)},
                                       {QPalette::Light, QColor(Qt::white)},
                                       {QPalette::Midlight, QColor(236, 237, 240)},
                                       {QPalette::Mid, QColor(160, 163, 168)},
                                       {QPalette::Dark, QColor(120, 123, 128)},
                                       {QPalette::Shadow, QColor(70, 72, 76)}}) {
        palette.setColor(role, colour);
    }
    return palette;
}

CPictureEx* NewPicture(QSize size, const QString& name) {
    auto* picture = new CPictureEx;
    picture->setFixedSize(size);
    picture->setAccessibleName(name);
    return picture;
}

QLabel* NewValueField(const QString& name) {
    auto* field = new QLabel;
    field->setTextFormat(Qt::PlainText);
    field->setAccessibleName(name);
    return field;
}

// Loads an image only when it is not the one shown, so a running animation is
// never restarted by an update that leaves it as it was.
void ShowPicture(CPictureEx* picture, const PictureState& state) {
    if (state.image != IndicatorImage::None &&
        picture->ResourceId() != static_cast<int>(state.image)) {
        picture->Load(static_cast<int>(state.image));
    }
    if (state.playing && !picture->IsPlaying()) {
        picture->Draw();
    } else if (!state.playing && picture->IsPlaying()) {
        picture->Stop();
    }
    picture->SetReading(Q(state.reading));
}

void ShowField(QLabel* field, const std::string& text) {
    const QString shown = Q(text);
    if (field->text() != shown) {
        ShowText(field, shown);
    }
}

QLabel* NewHeading(const QString& text) {
    QLabel* heading = NewCaption(text);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    return heading;
}

// Readings are set larger, to be read from a step away.
void UseReadingFont(QLabel* field) {
    QFont font = field->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    field->setFont(font);
}

// A panel of the instrument: a framed face of one solid colour, so that the pictures on
// it, which paint their own background, sit on it seamlessly; its title above.
QWidget* NewPanel(const QString& title, QLayout* content) {
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAccessibleName(title);
    panel->setPalette(PanelPalette(panel->palette()));
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->addWidget(NewHeading(title));
    layout->addLayout(content, 1);
    return panel;
}

} // namespace

mD9::mD9(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabIndicator, parent) {
    auto* top = new QHBoxLayout;
    top->addWidget(BuildSensors(), 3);
    top->addWidget(BuildAlarms(), 2);
    auto* fans = new QHBoxLayout;
    for (int fan = 1; fan <= static_cast<int>(m_fans.size()); ++fan) {
        fans->addWidget(BuildFan(fan));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addLayout(top);
    layout->addLayout(fans, 1);
    ShowPanel();
}

QWidget* mD9::BuildSensors() {
    auto* row = new QHBoxLayout;
    row->setSpacing(18);
    for (int s = 1; s <= 2; ++s) {
        SensorControls& sensor = m_sensors[static_cast<std::size_t>(s - 1)];
        const QString name = QString("NTC%1").arg(s);
        sensor.led = NewPicture({kLedSize, kLedSize}, name + tr(" Status"));
        sensor.thermometer = NewPicture(kThermometerSize, name + tr(" Level"));
        sensor.value = NewValueField(name);
        sensor.unit = NewValueField(name + tr(" Unit"));
        UseReadingFont(sensor.value);
        UseReadingFont(sensor.unit);
        sensor.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        auto* heading = new QHBoxLayout;
        heading->addWidget(NewHeading(name));
        heading->addWidget(sensor.led);
        heading->addStretch();
        auto* reading = new ReadingLayout(sensor.value, sensor.unit,
                                          sensor.value->fontMetrics().horizontalAdvance("-888.8"),
                                          sensor.unit->fontMetrics().horizontalAdvance("\u00B0CC"));
        auto* beside = new QVBoxLayout;
        beside->addWidget(NewCaption(QString("T%1").arg(s)));
        beside->addStretch();
        beside->addLayout(reading);
        auto* body = new QHBoxLayout;
        body->addWidget(sensor.thermometer);
        body->addLayout(beside);
        auto* column = new QVBoxLayout;
        column->addLayout(heading);
        column->addLayout(body);
        row->addLayout(column);
    }
    for (int input = 1; input <= kIndicatorSwitches; ++input) {
        const QString name = QString("Switch %1").arg(input);
        CPictureEx*& picture = m_switches[static_cast<std::size_t>(input - 1)];
        picture = NewPicture(kSwitchSize, name);
        auto* grid = new QGridLayout;
        grid->addWidget(NewHeading(name), 0, 0, 1, 2);
        grid->addWidget(picture, 1, 0, 2, 1);
        grid->addWidget(NewCaption(tr("High")), 1, 1, Qt::AlignTop);
        grid->addWidget(NewCaption(tr("Low")), 2, 1, Qt::AlignBottom);
        grid->setRowStretch(3, 1);
        row->addLayout(grid);
    }
    m_upTime = NewValueField(tr("Up Time (Controller)"));
    UseReadingFont(m_upTime);
    auto* upTime = new QVBoxLayout;
    upTime->addWidget(NewCaption(tr("Up Time (Controller)"), m_upTime));
    upTime->addWidget(m_upTime);
    upTime->addStretch();
    row->addLayout(upTime);
    row->addStretch();
    return NewPanel(tr("Input Sensors"), row);
}

QWidget* mD9::BuildAlarms() {
    auto* grid = new QGridLayout;
    for (int lamp = 1; lamp <= kIndicatorLamps; ++lamp) {
        const QString name = lamp <= 4 ? QString("Alarm Output %1").arg(lamp)
                                       : QString("Power Relay %1").arg(lamp - 4);
        CPictureEx*& picture = m_lamps[static_cast<std::size_t>(lamp - 1)];
        picture = NewPicture({kLampSize, kLampSize}, name);
        const int row = lamp <= 4 ? 0 : 2;
        const int column = lamp <= 4 ? lamp - 1 : lamp - 5;
        grid->addWidget(picture, row, column, Qt::AlignHCenter);
        grid->addWidget(NewCaption(name), row + 1, column, Qt::AlignHCenter | Qt::AlignTop);
    }
    return NewPanel(tr("Alarms"), grid);
}

QWidget* mD9::BuildFan(int fan) {
    FanControls& controls = m_fans[static_cast<std::size_t>(fan - 1)];
    const QString name = QString("Fan %1").arg(fan);
    controls.picture = NewPicture({kFanPictureSize, kFanPictureSize}, name);
    controls.led = NewPicture({kLedSize, kLedSize}, name + tr(" Status"));
    controls.meter = new C3DMeterCtrl;
    controls.meter->setAccessibleName(name + tr(" Speed"));
    controls.meter->SetUnits(QString("FAN%1 RPM").arg(fan));
    controls.meter->setMinimumSize(150, 150);
    controls.bar = new CTextProgressCtrl(true);
    controls.bar->setAccessibleName(name + tr(" Set Speed"));
    controls.bar->SetRange32(0, 100);
    controls.bar->SetShowText(false);
    controls.bar->setMinimumHeight(150);
    controls.bar->setFixedWidth(34);

    auto* grid = new QGridLayout;
    auto* state = new QHBoxLayout;
    state->addWidget(controls.picture);
    state->addSpacing(8);
    state->addWidget(controls.led);
    state->addStretch();
    grid->addLayout(state, 0, 0, 1, 2);
    grid->addWidget(controls.meter, 1, 0);
    grid->addWidget(controls.bar, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    return NewPanel(QString("FAN %1").arg(fan), grid);
}

void mD9::OnTimer() {
    if (Host().ActiveTab() != TabNumber()) {
        return;
    }
    const ISequencerStatus& sequencer = Host().Sequencing();
    const IndicatorTickRequests requests = m_rules.OnTick({
        .connected = sequencer.IsConnected(),
        .state = sequencer.State(),
        .receivedCount = sequencer.ReceivedCount(),
        .status = sequencer.StatusText(),
        .syncingSeen = Fields().SyncingSeen(),
        .fields = sequencer.Fields(),
        .image = Host().Image(),
    });
    if (requests.viewData) {
        Host().Requests().RequestLiveData();
    }
    if (requests.syncingSeen) {
        Fields().SetSyncingSeen(true);
    }
    if (requests.countNoData) {
        Host().Requests().NoteNoData();
    }
    ShowPanel();
}

void mD9::ShowPanel() {
    const IndicatorPanel& panel = m_rules.Panel();
    for (std::size_t i = 0; i < m_fans.size(); ++i) {
        const FanPanel& fan = panel.fans[i];
        const FanControls& controls = m_fans[i];
        ShowPicture(controls.picture, fan.picture);
        ShowPicture(controls.led, fan.led);
        controls.meter->SetRange(fan.meter.minimum, fan.meter.maximum);
        controls.meter->SetValue(fan.meter.value);
        const QString text = Q(fan.bar.text);
        if (controls.bar->GetWindowText() != text) {
            controls.bar->SetWindowText(text);
        }
        if (controls.bar->GetPos() != fan.bar.position) {
            controls.bar->SetPos(fan.bar.position);
        }
    }
    for (std::size_t i = 0; i < m_sensors.size(); ++i) {
        const SensorPanel& sensor = panel.sensors[i];
        ShowPicture(m_sensors[i].led, sensor.led);
        ShowPicture(m_sensors[i].thermometer, sensor.thermometer);
        ShowField(m_sensors[i].value, sensor.value);
        ShowField(m_sensors[i].unit, sensor.unit);
    }
    for (std::size_t i = 0; i < m_switches.size(); ++i) {
        ShowPicture(m_switches[i], panel.switches[i]);
    }
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        ShowPicture(m_lamps[i], panel.lamps[i]);
    }
    ShowField(m_upTime, panel.upTime);
}

} // namespace orvane
