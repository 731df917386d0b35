#include "pages/TickPage.h"

namespace orvane {

TickPage::TickPage(IPageHost& host, IMainWindowFields& fields, int tabNumber, QWidget* parent)
    : QWidget(parent), m_host(host), m_fields(fields), m_tabNumber(tabNumber) {
    connect(&m_timer, &QTimer::timeout, this, &TickPage::OnTimer);
}

void TickPage::StartTicking() {
    if (!m_timer.isActive()) {
        m_timer.start(m_host.TickIntervalMs());
    }
}

void TickPage::StopTicking() {
    m_timer.stop();
}

void TickPage::OnTimer() {
    if (m_host.ActiveTab() != m_tabNumber) {
        return;
    }
    if (m_host.RefreshFlag(m_tabNumber) == "0") {
        m_fill.Run([this] { LoadFields(); });
        m_host.SetRefreshFlag(m_tabNumber, "1");
    }
    OnVisibleTick();
}

} // namespace orvane
