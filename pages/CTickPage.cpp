#include "pages/CTickPage.h"

namespace orvane {

CTickPage::CTickPage(IPageHost& host, IMainWindowFields& fields, int tabNumber, QWidget* parent)
    : QWidget(parent), m_host(host), m_fields(fields), m_tabNumber(tabNumber) {
    connect(&m_timer, &QTimer::timeout, this, &CTickPage::OnTimer);
}

void CTickPage::StartTicking() {
    if (!m_timer.isActive()) {
        m_timer.start(m_host.TickIntervalMs());
    }
}

void CTickPage::StopTicking() {
    m_timer.stop();
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
