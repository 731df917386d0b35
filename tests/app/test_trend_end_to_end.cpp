// "Trend..." on the Live Data page opens the trend, which the main ticks fill with every record
// of the simulated controller once, before its window is built or shown, and whose lines break
// across a disconnect.
#include "AppTestSupport.h"
#include "pages/TrendWindow.h"
#include "pages/mD8.h"

namespace orvane::test {
namespace {

using TrendEndToEnd = WindowTest;

TEST_F(TrendEndToEnd, FillsFromEveryRecordOnceAndBreaksAcrossADisconnect) {
    ASSERT_TRUE(Connect());
    ClickTab(7);
    auto* page = static_cast<mD8*>(m_window->Page(7));
    const trend::TrendRing& ring = m_window->TrendRecords().Records();
    const auto liveRecords = [&](std::size_t count) {
        return [&, count] {
            if (m_window->Sequencing().State() != State::ViewData) {
                Click(page->ViewButton());
            }
            return ring.Size() >= count;
        };
    };
    ASSERT_NE(TickUntil(liveRecords(5)), 0);
    EXPECT_FALSE(m_window->IsTrendBuilt()) << "it fills before the window is built";
    Click(page->TrendButton());
    TrendWindow& trend = *m_window->Trend();
    EXPECT_TRUE(trend.isVisible());
    EXPECT_EQ(&trend.History(), &m_window->TrendRecords());
    EXPECT_EQ(trend.windowTitle(), "Trend");

    ASSERT_FALSE(ClickConnect());
    QTest::qWait(6 * kTickMs); // the controller's clock runs on meanwhile
    ASSERT_TRUE(ClickConnect());
    const std::size_t before = ring.Size();
    ASSERT_NE(TickUntil(liveRecords(before + 5)), 0);
    int breaks = 0;
    for (std::size_t i = 1; i < ring.Size(); ++i) {
        ASSERT_GT(ring.At(i).upTime, ring.At(i - 1).upTime) << "each record once, in order";
        breaks += trend::IsBreak(ring.At(i - 1), ring.At(i), trend.History().RecordPeriodMs());
    }
    // The disconnect breaks the line; a machine stalled for five fast ticks may add a break.
    EXPECT_GE(breaks, 1);
    // The simulator's clock runs faster than the PC's, so the records after the reconnect can
    // share the stamp last drawn and wait a column to be drawn; all records are drawn afresh.
    trend.WindowList()->setCurrentIndex(trend.WindowList()->count() - 1);
    trend.Refresh();
    EXPECT_EQ(trend.ChartOf(0)->LinePieces(trend.LineOf(0)).size(), breaks + 1);
    EXPECT_EQ(trend.accessibleDescription().left(5), "RPM1 ");
}

} // namespace
} // namespace orvane::test
