#include "pages/CTickPage.h"

namespace orvane {

CTickPage::CTickPage(IPageHost& host, int tabNumber, QWidget* parent)
    : QWidget(parent), m_host(host), m_tabNumber(tabNumber) {
    connect(&m_timer, &QTimer::timeout, this, &CTickPage::OnTimer);
    m_timer.start(1000);
}

void CTickPage::OnTimer() {
    if (m_host.ActiveTab() != m_tabNumber) {
        return;
    }
    if (m_host.RefreshFlag(m_tabNumber) == "0") {
        LoadFields();
        m_host.SetRefreshFlag(m_tabNumber, "1");
    }
    OnVisibleTick();
}

} // namespace orvane
