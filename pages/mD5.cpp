#include "pages/mD5.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "core/image/TypedEntry.h"
#include "core/rules/ModBusRules.h"
#include "pages/TextValidators.h"

namespace orvane {

namespace {

void Fill(QLineEdit* edit, unsigned value) {
    edit->setText(QString::number(value));
}

void Select(QComboBox* list, std::string_view item) {
    list->setCurrentIndex(list->findText(QString::fromLatin1(item)));
}

QComboBox* SetUpList(QComboBox* list, const QString& label, auto items, const char* shown) {
    for (const char* item : items) {
        list->addItem(QString::fromLatin1(item));
    }
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCurrentIndex(list->findText(QString::fromLatin1(shown)));
    NameControl(list, label);
    TrackShownValue(list);
    return list;
}

} // namespace

mD5::mD5(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabModBus, parent) {
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('W'));

    auto* rs485 = new QGroupBox(tr("RS485"));
    rs485->setAccessibleName(rs485->title());
    auto* line = new QFormLayout(rs485);
    line->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_address->setValidator(new DigitsValidator(kLargestWord, m_address));
    m_address->setFixedWidth(10 * charWidth);
    NameControl(m_address, tr("RS485 Address"));
    TrackShownValue(m_address);
    line->addRow(NewCaption(tr("RS485 Address"), m_address), m_address);
    SetUpList(m_baud, tr("RS485 Baud Rate"), kBaudItems, "9600")->setFixedWidth(10 * charWidth);
    line->addRow(NewCaption(tr("RS485 Baud Rate"), m_baud), m_baud);
    SetUpList(m_parity, tr("RS485 Parity"), kParityItems, "None")->setFixedWidth(10 * charWidth);
    line->addRow(NewCaption(tr("RS485 Parity"), m_parity), m_parity);

    auto* site = new QGroupBox(tr("Site identification"));
    site->setAccessibleName(site->title());
    auto* numbers = new QFormLayout(site);
    numbers->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (std::size_t i = 0; i < m_sites.size(); ++i) {
        const QString label = QString::fromLatin1(kSiteNumbers[i].label);
        m_sites[i] = new QLineEdit;
        m_sites[i]->setValidator(new ClampedNumberValidator(kSiteNumbers[i].largest, m_sites[i]));
        m_sites[i]->setFixedWidth(10 * charWidth);
        NameControl(m_sites[i], label);
        TrackShownValue(m_sites[i]);
        numbers->addRow(NewCaption(label, m_sites[i]), m_sites[i]);
        Filling().OnText(m_sites[i], [this, i] { OnSiteNumberEdited(i); });
    }

    for (QGroupBox* group : {rs485, site}) {
        group->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    }
    auto* groups = new QHBoxLayout;
    groups->addWidget(rs485, 0, Qt::AlignTop);
    groups->addWidget(site, 0, Qt::AlignTop);
    groups->addStretch();
    auto* page = new QVBoxLayout(this);
    page->addLayout(groups);
    page->addStretch();
    setAccessibleName(tr("ModBus"));

    Filling().OnText(m_address, [this] { OnAddressEdited(m_address->text()); });
    Filling().OnListText(m_parity, [this] { WriteParityBack(); });
    Filling().OnListText(m_baud, [this] { WriteBaudBack(); });
}

void mD5::LoadFields() {
    RegisterImage& image = Host().Image();
    // Each box's value is stored back as typing would store it, clamped.
    Fill(m_address, image.Value(reg::kRs485Address).value_or(0));
    OnAddressEdited(m_address->text());
    const unsigned settings = image.Value(reg::kSerialSettings).value_or(0);
    Select(m_baud, BaudShown(settings));
    Select(m_parity, ParityShown(settings));
    for (std::size_t i = 0; i < m_sites.size(); ++i) {
        Fill(m_sites[i], image.Value(kSiteNumbers[i].reg).value_or(0));
        OnSiteNumberEdited(i);
    }
}

void mD5::OnVisibleTick() {
    WriteParityBack();
    WriteBaudBack();
}

void mD5::OnAddressEdited(const QString& text) {
    StoreRs485Address(Host().Image(), text.toStdString());
}

// The box's validator has already brought its text into range, typed or filled.
void mD5::OnSiteNumberEdited(std::size_t index) {
    const SiteNumber& site = kSiteNumbers[index];
    Host().Image().SetValue(
        site.reg, ClampSiteNumber(m_sites[index]->text().toStdString(), site.largest).value);
}

void mD5::WriteParityBack() {
    RegisterImage& image = Host().Image();
    const unsigned settings = image.Value(reg::kSerialSettings).value_or(0);
    image.SetValue(reg::kSerialSettings,
                   ParityWriteBack(settings, m_parity->currentText().toStdString()));
}

void mD5::WriteBaudBack() {
    RegisterImage& image = Host().Image();
    const unsigned settings = image.Value(reg::kSerialSettings).value_or(0);
    image.SetValue(reg::kSerialSettings,
                   BaudWriteBack(settings, m_baud->currentText().toStdString()));
}

} // namespace orvane
