#pragma once

#include <QComboBox>

#include "serial/PortDiscovery.h"

namespace orvane {

// A drop-down list of the serial ports present, each shown by its friendly name
// and carrying its port number (plus the non-serial-service flag) as item data.
class CComPortCombo final : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CComPortCombo)

public:
    explicit CComPortCombo(QWidget* parent = nullptr);

    void SetEnumerator(IPortEnumerator* enumerator) { m_enumerator = enumerator; }

    // Rebuilds the list and selects the port with this number (a negative number: the
    // port selected now), else the first listed.
    void FillPortList(int selectedPort);

    // The selected item's data, 0 when nothing is selected.
    std::uint32_t SelectedData() const;

    void Configure(bool includeNoneItem, const std::string& noneText, bool onlySerialService,
                   bool presentOnly);

private:
    bool m_includeNoneItem = true;
    bool m_onlySerialService = false;
    bool m_presentOnly = true;
    int m_selectedPort = 0;
    std::string m_noneText = "<None>";
    IPortEnumerator* m_enumerator = nullptr;
};

} // namespace orvane
