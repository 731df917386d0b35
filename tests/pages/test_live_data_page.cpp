// The Live Data page requests data and logs only on a person's action and tables the live fields.
#include "LiveFeed.h"
#include "PageTestSupport.h"
#include "core/rules/LiveDataRules.h"
#include "pages/mD8.h"

namespace orvane::test {
namespace {

struct LiveDataPage : ::testing::Test {
    FakePageHost host{kTabLiveData};
    mD8 page{host, host};
    SequencerRig& rig = host.rig;

    void SetUp() override { page.show(); }
    std::string Row(int row) {
        std::string out;
        for (int column = 0; column < kLiveDataColumns; ++column) {
            out += page.Table()->item(row, column)->text().toStdString() + "|";
        }
        return out;
    }
};

// The view button refuses while unconnected and waits for bytes; clicking the log box asks to
// open or close, the tick setting the box from register 184 does not.
TEST_F(LiveDataPage, OnlyAPersonsClickAsksForLiveDataOrALog) {
    QTest::mouseClick(page.ViewButton(), Qt::LeftButton);
    EXPECT_EQ(rig.prompter.asked, Strings{"Warning, No Connection : Communication port not set / "
                                          "connected!"});
    rig.Connect();
    QTest::mouseClick(page.ViewButton(), Qt::LeftButton);
    EXPECT_TRUE(rig.seq.LiveDataAwaitingBytes()) << "nothing received yet";
    rig.Receive("x");
    QTest::mouseClick(page.ViewButton(), Qt::LeftButton);
    EXPECT_EQ(rig.seq.State(), State::ViewData);

    host.Image().SetText(kOptionRegister, "0020");
    page.OnTimer();
    EXPECT_TRUE(page.LogBox()->isChecked());
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::None);
    QTest::mouseClick(page.LogBox(), Qt::LeftButton);
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::CloseLog);
    QTest::mouseClick(page.LogBox(), Qt::LeftButton);
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::OpenLog);
    EXPECT_EQ(rig.prompter.asked.size(), 1u);

    page.SetInputsEnabled(false);
    EXPECT_FALSE(page.ViewButton()->isEnabled() || page.LogBox()->isEnabled());
}

TEST_F(LiveDataPage, HeaderFollowsTheModeWhenShownAgain) {
    EXPECT_EQ(page.HeaderField()->text().toStdString(), LiveDataHeader(false));
    host.Image().SetText(183, "0003");
    page.OnTimer();
    page.OnTimer();
    EXPECT_EQ(page.HeaderField()->text().toStdString(), LiveDataHeader(true));
    EXPECT_EQ(page.Picture()->ResourceId(), kPictureLiveIdle);
    EXPECT_EQ(host.RefreshFlag(kTabLiveData), "1");
    EXPECT_EQ(page.Table()->model()->headerData(8, Qt::Horizontal).toString(), "V1")
        << "the columns are named for screen readers";
    ExpectReadable(&page);
}

// The table's rules are tabled in the core tests: here each record reaches the table, newest on
// top.
TEST_F(LiveDataPage, ReadingsFillTheTableNewestOnTop) {
    rig.Connect();
    rig.seq.RequestLiveData();
    page.OnTimer();
    page.OnTimer(); // re-initialised, nothing added yet
    EXPECT_EQ(Row(0), std::string(kLiveDataColumns, '|'));
    for (const char* upTime : {"1s", "2s"}) {
        LiveValues values = SampleValues(upTime);
        values[8] = " 23.46";
        FeedRecord(rig, values);
        page.OnTimer();
    }
    EXPECT_EQ(Row(0), "1480|55|1480|55|1480|55|1480|55|23.5|26.0| HI | LO |0|2s|");
    EXPECT_EQ(Row(1).substr(Row(1).size() - 4), "|1s|");
    ExpectReadable(&page);
}

} // namespace
} // namespace orvane::test
