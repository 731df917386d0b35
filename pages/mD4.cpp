#include "pages/mD4.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "pages/GridControls.h"

namespace orvane {

namespace {

const char* const kMaxRpmTip =
    "Change Fan Maximum RPM (As stated in fan Data Sheet. Note - this is NOT the set speed)";
const char* const kRampRateTip = "The rate at which the fan speed changes";

template <std::size_t N>
QStringList Items(const std::array<const char*, N>& items) {
    QStringList list;
    for (const char* item : items) {
        list << item;
    }
    return list;
}

QString FanName(int fan, const char* column) {
    return QString("FAN %1 %2").arg(fan).arg(column);
}

} // namespace

mD4::mD4(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabFanSetting, parent), m_settings(host.Image()) {
    BuildLayout();
    WireSignals();
}

void mD4::BuildLayout() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    const char* const columns[] = {"Used",         "Pulse / Rev", "Stationary PWM",
                                   "Control Type", "Ramp Rate",   "Data Sheet Max Fan RPM"};
    for (int column = 0; column < 6; ++column) {
        grid->addWidget(NewHeader(columns[column]), 0, column + 1);
    }
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        FanRow& row = m_rows[static_cast<std::size_t>(fan - 1)];
        row.used = new QCheckBox;
        NameControl(row.used, FanName(fan, "Used"));
        row.pulsesPerRev =
            NewEditableList(FanName(fan, "Pulse / Rev"), Items(FanSettings::kPulsesPerRevItems));
        row.stationaryPwm = NewEditableList(FanName(fan, "Stationary PWM"),
                                            Items(FanSettings::kStationaryPwmItems));
        AcceptDigitsOnly(row.pulsesPerRev->lineEdit(), kEntryDigits);
        AcceptDigitsOnly(row.stationaryPwm->lineEdit(), kEntryDigits);
        row.controlType =
            NewEditableList(FanName(fan, "Control Type"), Items(FanSettings::kControlTypeItems));
        row.rampRate = NewNumberBox(FanName(fan, "Ramp Rate"), 6);
        row.rampRate->setToolTip(kRampRateTip);
        row.maxRpm = NewNumberBox(FanName(fan, "Data Sheet Max Fan RPM"), 6);
        row.maxRpm->setToolTip(kMaxRpmTip);

        for (QLineEdit* box : {row.rampRate, row.maxRpm}) {
            AcceptDigitsOnly(box, kEntryDigits);
        }
        grid->addWidget(NewCaption(QString("FAN %1").arg(fan)), fan, 0);
        grid->addWidget(row.used, fan, 1, Qt::AlignHCenter);
        grid->addWidget(row.pulsesPerRev, fan, 2);
        grid->addWidget(row.stationaryPwm, fan, 3);
        grid->addWidget(row.controlType, fan, 4);
        grid->addWidget(row.rampRate, fan, 5, Qt::AlignHCenter);
        grid->addWidget(row.maxRpm, fan, 6, Qt::AlignHCenter);
    }

    m_dummyFanLink = new QCheckBox("Dummy Fan Link(Permitted)");
    NameControl(m_dummyFanLink, m_dummyFanLink->text());
    m_dailyFanRun = new QCheckBox("Daily Fan Run");
    NameControl(m_dailyFanRun, m_dailyFanRun->text());
    m_pwmFrequency = NewNumberBox("PWM Freq(KHz)", 6);
    AcceptDigitsOnly(m_pwmFrequency, kEntryDigits);

    auto* outputs = new QGroupBox;
    outputs->setAccessibleName("Settings for all fans");
    auto* outputLayout = new QHBoxLayout(outputs);
    outputLayout->setSpacing(24);
    outputLayout->addWidget(m_dummyFanLink);
    outputLayout->addWidget(m_dailyFanRun);
    auto* frequency = new QHBoxLayout;
    frequency->addWidget(NewCaption("PWM Freq(KHz)", m_pwmFrequency));
    frequency->addWidget(m_pwmFrequency);
    outputLayout->addLayout(frequency);
    outputLayout->addStretch();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(20);
    auto* gridRow = new QHBoxLayout;
    gridRow->addLayout(grid);
    gridRow->addStretch();
    page->addLayout(gridRow);
    page->addWidget(outputs, 0, Qt::AlignLeft);
    page->addStretch();
}

void mD4::WireSignals() {
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const FanRow& row = m_rows[static_cast<std::size_t>(fan - 1)];
        PageFill& fill = Filling();
        fill.OnToggle(row.used, [this, fan](bool checked) { m_settings.SetUsed(fan, checked); });
        fill.OnListText(row.pulsesPerRev, [this, fan] { OnPulsesPerRevChanged(fan); });
        fill.OnListText(row.stationaryPwm, [this, list = row.stationaryPwm, fan] {
            OnListTextEdited(list, reg::FanStationaryPwm(fan));
        });
        fill.OnIndex(row.controlType, [this, list = row.controlType, fan] {
            m_settings.StoreControlType(fan, list->currentText().toStdString());
        });
        fill.OnText(row.rampRate, [this, box = row.rampRate, fan] {
            OnEntryChanged(box, reg::FanRampRate(fan));
        });
        fill.OnText(row.maxRpm,
                    [this, box = row.maxRpm, fan] { OnEntryChanged(box, reg::FanMaxRpm(fan)); });
    }
    Filling().OnText(m_pwmFrequency,
                     [this] { OnEntryChanged(m_pwmFrequency, reg::kPwmFrequency); });
    Filling().OnToggle(m_dailyFanRun, [this](bool checked) { m_settings.SetDailyFanRun(checked); });
    Filling().OnToggle(m_dummyFanLink,
                       [this](bool checked) { m_settings.SetDummyFanLink(checked); });
}

void mD4::LoadFields() {
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const FanRow& row = m_rows[static_cast<std::size_t>(fan - 1)];
        if (const std::optional<bool> used = m_settings.Used(fan)) {
            row.used->setChecked(*used);
        }
        row.pulsesPerRev->setCurrentIndex(m_settings.PulsesPerRevItem(fan).value_or(-1));
        ShowListText(row.stationaryPwm,
                     QString::fromStdString(m_settings.Decimal(reg::FanStationaryPwm(fan))));
        ShowListText(row.controlType, QString::fromStdString(m_settings.ControlTypeText(fan)));
    }
    m_pwmFrequency->setText(QString::fromStdString(m_settings.Decimal(reg::kPwmFrequency)));
    m_dailyFanRun->setChecked(m_settings.DailyFanRun());
    m_dummyFanLink->setChecked(m_settings.DummyFanLink());
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const FanRow& row = m_rows[static_cast<std::size_t>(fan - 1)];
        row.maxRpm->setText(QString::fromStdString(m_settings.Decimal(reg::FanMaxRpm(fan))));
        row.rampRate->setText(QString::fromStdString(m_settings.Decimal(reg::FanRampRate(fan))));
    }
}

void mD4::SetInputsEnabled(bool enabled) {
    for (const FanRow& row : m_rows) {
        for (QWidget* input :
             std::initializer_list<QWidget*>{row.used, row.pulsesPerRev, row.stationaryPwm,
                                             row.controlType, row.rampRate, row.maxRpm}) {
            input->setEnabled(enabled);
        }
    }
    for (QWidget* input :
         std::initializer_list<QWidget*>{m_dummyFanLink, m_dailyFanRun, m_pwmFrequency}) {
        input->setEnabled(enabled);
    }
}

void mD4::OnPulsesPerRevChanged(int fan) {
    QComboBox* list = m_rows[static_cast<std::size_t>(fan - 1)].pulsesPerRev;
    // An item chosen, not a text typed: the reminder comes before the store.
    const bool chosen =
        list->currentIndex() >= 0 && list->itemText(list->currentIndex()) == list->currentText();
    if (chosen && FanSettings::NeedsNoTachoReminder(list->currentText().toStdString())) {
        Host().Prompter().ShowMessage(FanSettings::kNoTachoText, FanSettings::kNoTachoCaption,
                                      MessageIcon::Exclamation, MessageButtons::Ok);
    }
    OnListTextEdited(list, reg::FanPulsesPerRev(fan));
}

void mD4::OnEntryChanged(QLineEdit* box, int index) {
    if (const auto corrected = m_settings.StoreEntry(index, box->text().toStdString())) {
        box->setText(QString::fromStdString(*corrected));
    }
}

void mD4::OnListTextEdited(QComboBox* list, int index) {
    if (const auto corrected = m_settings.StoreListText(index, list->currentText().toStdString())) {
        list->setEditText(QString::fromStdString(*corrected));
    }
}

} // namespace orvane
