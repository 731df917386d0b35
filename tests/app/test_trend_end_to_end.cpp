// "Trend..." on the Live Data page opens the trend, which the main ticks fill with the simulated
// controller's records before its window is built or shown.
#include "AppTestSupport.h"
#include "pages/TrendWindow.h"
#include "pages/mD8.h"

namespace orvane::test {
namespace {

using TrendEndToEnd = WindowTest;

TEST_F(TrendEndToEnd, FillsBeforeItsWindowIsBuilt) {
    ASSERT_TRUE(Connect());
    ClickTab(7);
    auto* page = static_cast<mD8*>(m_window->Page(7));
    const trend::TrendRing& ring = m_window->TrendRecords().Records();
    ASSERT_NE(TickUntil([&] {
                  if (m_window->Sequencing().State() != State::ViewData) {
                      Click(page->ViewButton());
                  }
                  return ring.Size() >= 5;
              }),
              0);
    for (std::size_t i = 1; i < ring.Size(); ++i) {
        EXPECT_GT(ring.At(i).upTime, ring.At(i - 1).upTime) << "each record once, in order";
    }
    EXPECT_FALSE(m_window->IsTrendBuilt()) << "it fills before the window is built";
    Click(page->TrendButton());
    TrendWindow& trend = *m_window->Trend();
    EXPECT_TRUE(trend.isVisible());
    EXPECT_EQ(&trend.History(), &m_window->TrendRecords());
    EXPECT_EQ(trend.accessibleDescription().left(5), "RPM1 ");
}

} // namespace
} // namespace orvane::test
