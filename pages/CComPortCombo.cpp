#include "pages/CComPortCombo.h"

namespace orvane {

CComPortCombo::CComPortCombo(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

std::uint32_t CComPortCombo::SelectedData() const {
    if (currentIndex() < 0) {
        return 0;
    }
    return currentData().toUInt();
}

void CComPortCombo::Configure(bool includeNoneItem, const std::string& noneText,
                              bool onlySerialService, bool presentOnly) {
    m_includeNoneItem = includeNoneItem;
    m_noneText = noneText;
    m_onlySerialService = onlySerialService;
    m_presentOnly = presentOnly;
}

void CComPortCombo::FillPortList(int selectedPort) {
    m_selectedPort = selectedPort;
    if (m_selectedPort < 0) {
        m_selectedPort = static_cast<int>(SelectedData() & 0xFFFF);
    }
    // Linux lists present devices only (a device that is gone has no node), so
    // m_presentOnly needs nothing further here.
    const std::vector<PortDevice> devices =
        m_enumerator != nullptr ? m_enumerator->EnumeratePorts() : std::vector<PortDevice>{};
    const PortList list = BuildPortList(
        devices, {m_includeNoneItem, m_onlySerialService, m_noneText}, m_selectedPort);

    clear();
    for (const auto& item : list.items) {
        addItem(QString::fromStdString(item.text), QVariant::fromValue(item.data));
    }
    // A list with ports and none chosen reads as "nothing found": offer the first instead.
    setCurrentIndex(list.selectedIndex < 0 && count() > 0 ? 0 : list.selectedIndex);
}

} // namespace orvane
