// A page's tick works only while its tab is shown, and reloads once per showing.
#include "PageTestSupport.h"
#include "pages/CTickPage.h"

namespace orvane::test {
namespace {

class CountingPage final : public CTickPage {
public:
    using CTickPage::CTickPage;
    int loads = 0, ticks = 0;

protected:
    void LoadFields() override { ++loads; }
    void OnVisibleTick() override { ++ticks; }
};

TEST(TickPage, ReloadsOnceAfterEachShowingAndIgnoresTicksWhileAnotherTabIsShown) {
    FakePageHost host(kTabComms);
    CountingPage page(host, host, kTabMode);
    page.OnTimer();
    EXPECT_EQ(page.loads + page.ticks, 0);

    host.SelectTab(kTabMode);
    page.OnTimer();
    page.OnTimer();
    EXPECT_EQ(page.loads, 1);
    EXPECT_EQ(page.ticks, 2);
    EXPECT_EQ(host.RefreshFlag(kTabMode), "1");

    host.SelectTab(kTabStart);
    page.OnTimer();
    host.SelectTab(kTabMode);
    page.OnTimer();
    EXPECT_EQ(page.loads, 2);
}

TEST(TickPage, ItsTimerRunsOnlyBetweenStartAndStop) {
    FakePageHost host(kTabMode);
    CountingPage page(host, host, kTabMode);
    EXPECT_FALSE(page.IsTicking());
    page.StartTicking();
    EXPECT_TRUE(page.IsTicking());
    page.StopTicking();
    EXPECT_FALSE(page.IsTicking());
}

} // namespace
} // namespace orvane::test
