#pragma once

#include <array>

#include <QComboBox>
#include <QLineEdit>

#include "pages/TickPage.h"

namespace orvane {

// The "ModBus" tab: the controller's RS485 slave settings and four site numbers.
// Site numbers are brought into range as they are typed and when the page is
// filled; while the page is shown, every tick writes the lists' baud rate and
// parity back into register 185.
class mD5 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD5)

public:
    mD5(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    QLineEdit* AddressEdit() { return m_address; }
    QComboBox* BaudList() { return m_baud; }
    QComboBox* ParityList() { return m_parity; }
    // "Customer Number", "Site Number", "Building Number", "Unit Number".
    QLineEdit* SiteNumberEdit(int index) { return m_sites.at(static_cast<std::size_t>(index)); }

protected:
    void LoadFields() override;
    void OnVisibleTick() override;

private:
    void OnAddressEdited(const QString& text);
    void OnSiteNumberEdited(std::size_t index);
    void WriteParityBack();
    void WriteBaudBack();

    QLineEdit* m_address = new QLineEdit;
    QComboBox* m_baud = new QComboBox;
    QComboBox* m_parity = new QComboBox;
    std::array<QLineEdit*, 4> m_sites{};
};

} // namespace orvane
