// The profile page cleans up, shows and stores each fan's curve exactly, locks the main buttons
// while edits are unstored, copies from another fan's snapshot, and draws every curve shown
// through the points of its own mode on the axes of the profile type.
#include <gmock/gmock.h>

#include "LiveFeed.h"
#include "PageTestSupport.h"
#include "core/rules/ProfileTexts.h"
#include "pages/mD6.h"
#include "tests/app/AppTestSupport.h"

namespace orvane::test {
namespace {

class ProfilePage : public testing::Test {
protected:
    void SetUp() override { Build(); }
    void Build() {
        m_page = std::make_unique<mD6>(m_host, m_host);
        m_page->resize(1200, 560);
        m_page->show();
    }
    RegisterImage& Image() { return m_host.Image(); }
    // As the main window does when the tab is selected, then the tick that reloads.
    void Reload() {
        m_host.SelectTab(kTabProfile);
        m_page->OnTimer();
    }
    void Select(int fan) { Choose(m_page->FanList(), QString::number(fan)); }
    void Store() { Click(m_page->StoreButton()); }
    // The boxes as shown: "inputs / speeds / ON OFF", each row joined by "|".
    std::string Boxes() {
        QStringList inputs, speeds;
        for (int p = 1; p <= 8; ++p) {
            inputs << m_page->PointInput(p)->text();
            speeds << m_page->PointSpeed(p)->text();
        }
        return QString("%1 / %2 / %3 %4")
            .arg(inputs.join('|'), speeds.join('|'), m_page->OnBox()->text(),
                 m_page->OffBox()->text())
            .toStdString();
    }
    const CChartCtrl& Chart() { return *m_page->ProfileChartView()->Chart(); }
    QList<QPointF> Curve(int fan) {
        const auto curve = m_page->ProfileChartView()->Curve(fan);
        return curve ? Chart().SeriesPoints(*curve) : QList<QPointF>{};
    }
    int Width(int fan) {
        return Chart().SeriesWidth(m_page->ProfileChartView()->Curve(fan).value());
    }

    FakePageHost m_host{kTabProfile};
    std::unique_ptr<mD6> m_page;
};

// The cleanup is tabled in the core tests; here a record reaches the boxes.
TEST_F(ProfilePage, SelectingAnAlwaysOnFanBlanksOnAndOff) {
    Image().SetValue(reg::FanOnValue(1), reg::kAlwaysOn);
    Image().SetValue(reg::FanOffValue(1), reg::kAlwaysOn);
    Reload();
    Select(1);
    EXPECT_EQ(Boxes(), "25| | | | | | |50 / 30| | | | | | |90 /    ");
    EXPECT_TRUE(m_page->AlwaysOnBox()->isChecked());
}

// One edit of each control, then "Store Profile"; -10 degrees puts ON and OFF below it.
TEST_F(ProfilePage, StoreWritesTheRegisterWords) {
    using enum Input;
    const struct {
        Input input;
        QString control, text;
        std::vector<int> registers;
        const char* words;
    } cases[] = {
        {Type,
         "Point 1 Input",
         "-10",
         {reg::PointInput(1, 1), reg::FanOnValue(1), reg::FanOffValue(1)},
         "FFF6 FFF5 FFF4"},
        {Click, "Always ON ?", "", {reg::FanOnValue(1), reg::FanOffValue(1)}, "FC19 FC19"},
        {Type, "Point 1 Speed", "-4x5", {reg::PointSpeed(1, 1)}, "002D"},
        {Click, "Multi Point", "", {kOptionRegister}, "0036"}, // other bits kept
        {Choose,
         "Active Input",
         "1 or 2",
         {reg::FanInput1Active(1), reg::FanInput2Active(1)},
         "0001 0001"},
    };
    for (const auto& c : cases) {
        m_host.rig.image.LoadDefaultTemplate();
        Image().SetValue(kOptionRegister, 0x0032); // Two Point; bits of other pages set
        Build();
        Reload();
        Select(1);
        Act(m_page.get(), c.input, c.control, c.text);
        Store();
        EXPECT_EQ(Words(Image(), c.registers), c.words) << c.control.toStdString();
    }
    EXPECT_EQ(m_host.rig.prompter.asked,
              (Strings{"Reminder: Thermistor with the higher temperature has priority"}));
}

TEST_F(ProfilePage, SelectingAFanLocksTheMainButtonsUntilAStoreAndASecondPressStoresNothing) {
    Reload();
    EXPECT_TRUE(m_host.mainButtonsEnabled) << "no fan selected, nothing to store";
    Select(1);
    EXPECT_FALSE(m_host.mainButtonsEnabled || m_host.profileStored);
    EXPECT_EQ(m_host.note, profile::kStoreNote);
    Store();
    EXPECT_TRUE(m_host.mainButtonsEnabled && m_host.profileStored);
    EXPECT_EQ(m_host.note, " ");

    Image().SetValue(reg::PointInput(1, 8), 70);
    Store();
    EXPECT_EQ(Image().Text(reg::PointInput(1, 8)), "0046") << "a second press stores nothing";

    // A click on the point mode already chosen changes nothing, yet locks: a store lifts it.
    Click(m_page->TwoPointBox());
    EXPECT_TRUE(m_page->TwoPointBox()->isChecked());
    EXPECT_FALSE(m_host.mainButtonsEnabled);
    Store();
    EXPECT_TRUE(m_host.mainButtonsEnabled);
    EXPECT_EQ(Image().Text(reg::PointInput(1, 8)), "0032");
    Click(m_page->CopyFromButton());
    Choose(m_page->CopySourceList(), "2");
    EXPECT_FALSE(m_host.mainButtonsEnabled || m_host.profileStored) << "a copy is unstored";
    ExpectReadable(m_page.get());
}

TEST_F(ProfilePage, CopyFromOffersTheOtherFansAndTakesTheSourceAsLastSelected) {
    Reload();
    EXPECT_FALSE(m_page->CopySourceList()->isEnabled());
    Select(2);
    Click(m_page->AlwaysOnBox()); // unstored: fan 2's snapshot is as it was selected
    Select(1);
    Click(m_page->CopyFromButton());
    QStringList items;
    for (int i = 0; i < m_page->CopySourceList()->count(); ++i) {
        items << m_page->CopySourceList()->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"2", "3", "4"}));

    Choose(m_page->CopySourceList(), "2");
    EXPECT_EQ(Boxes(), "25| | | | | | |50 / 30| | | | | | |90 / 6 5");
    EXPECT_FALSE(m_page->AlwaysOnBox()->isChecked());

    Store();
    EXPECT_EQ(Words(Image(), {reg::PointInput(1, 1), reg::FanOnValue(1), reg::FanOffValue(1)}),
              "0019 0006 0005");
    EXPECT_EQ(Image().Text(reg::FanOnValue(2)), "FC19") << "the store writes every fan's record";
}

TEST_F(ProfilePage, LabelsTooltipsAndChartAxesFollowTheProfileType) {
    const std::string tempTip = "Value must be greater than Temperature(1) for Multipoint or (1) "
                                "for two point by atleast 1°C";
    const std::string voltTip = "Value must be greater than Voltage(1) for Multipoint or (1) for "
                                "two point by atleast  0.1V";
    const struct {
        const char* mode;
        std::string labels, bottom, left, point2Tip;
    } cases[] = {
        {"0001", "ON Temp.|OFF Temp.|Active Thermistor  (NTC)|Temp(°C)|Speed(PWM%)",
         "Temperature (°C) -20..100", "Fan Speed (PWM %) 0..105", tempTip},
        {"0004", "ON Voltage|OFF Voltage|Active Volt Input|Voltage(V)|Speed(RPM)",
         "Voltage(V) 0..10", "Fan Speed (RPM) 0..3100", voltTip},
    };
    for (int fan = 1; fan <= 4; ++fan) {
        Image().SetValue(reg::FanMaxRpm(fan), 3000 - 500 * unsigned(fan - 1));
    }
    const auto axis = [this](CChartCtrl::Axis which) {
        return QString("%1 %2..%3")
            .arg(Chart().AxisTitle(which))
            .arg(Chart().AxisMin(which))
            .arg(Chart().AxisMax(which))
            .toStdString();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Image().SetText(reg::kControlMode, c.mode);
        Reload();
        QStringList labels;
        for (QLabel* label : m_page->TypeLabels()) {
            labels << label->text();
            EXPECT_EQ(label->accessibleName(), label->text());
        }
        EXPECT_EQ(labels.join('|').toStdString(), c.labels);
        EXPECT_EQ(axis(CChartCtrl::Axis::Bottom), c.bottom);
        EXPECT_EQ(axis(CChartCtrl::Axis::Left), c.left);
        EXPECT_EQ(m_page->PointInput(2)->toolTip().toStdString(), c.point2Tip);
    }
}

TEST_F(ProfilePage, ChartDrawsEachShownFanThroughThePointsOfItsOwnMode) {
    ProfileChart& chart = *m_page->ProfileChartView();
    // Defined from page creation: the curve as the image holds it.
    Click(chart.FanBox(2));
    EXPECT_EQ(Curve(2), (QList<QPointF>{{6, 0}, {6, 30}, {25, 30}, {50, 90}, {101, 90}}));

    Image().SetValue(reg::FanOnValue(1), 20);
    Reload();
    Select(1);
    EXPECT_EQ(Curve(1), (QList<QPointF>{{20, 0}, {20, 30}, {25, 30}, {50, 90}, {101, 90}}));
    EXPECT_EQ(std::pair(Width(1), Width(2)), std::pair(4, 1));
    EXPECT_EQ(Chart().SeriesColour(*chart.Curve(1)), QColor(10, 20, 30));
    EXPECT_EQ(Chart().BackgroundColour(), QColor(224, 255, 89));

    Click(chart.FanBox(1));
    EXPECT_TRUE(chart.FanBox(1)->isChecked()) << "the selected fan's curve cannot be hidden";
    EXPECT_EQ(Curve(1).size(), 5);
    Click(chart.FanBox(2));
    EXPECT_FALSE(chart.Curve(2).has_value());

    Select(3);
    EXPECT_EQ(std::pair(Width(3), Width(1)), std::pair(4, 1));
    EXPECT_EQ(Chart().SeriesColour(*chart.Curve(3)), QColor(30, 30, 255));
    EXPECT_EQ(Chart().accessibleDescription(), Chart().DescribeSeries());
    EXPECT_EQ(Chart().accessibleDescription().split('\n').first(),
              "Fan 1: (20, 0) (20, 30) (25, 30) (50, 90) (101, 90)");
}

// A point dragged on the chart lands on its fields' steps, fills the boxes as typing would
// and is stored only by "Cleanup / Store Profiles"; the keys move the selected point a step.
TEST_F(ProfilePage, APointDraggedOrMovedByKeysIsATypedEditOnItsSteps) {
    Reload();
    Select(1);
    Store();
    ASSERT_TRUE(m_host.profileStored && m_host.mainButtonsEnabled);
    QApplication::processEvents();
    QWidget* view = m_page->ProfileChartView()->Chart()->viewport();
    const auto at = [&](double x, double y) { return Chart().PositionOf({x, y}).toPoint(); };
    QTest::mousePress(view, Qt::LeftButton, {}, at(50, 90)); // point 8 of a Two Point curve
    QTest::mouseMove(view, at(60.2, 70.8));
    EXPECT_EQ(Boxes(), "25| | | | | | |60 / 30| | | | | | |71 / 6 5");
    EXPECT_EQ(Curve(1).at(3), QPointF(60, 71));
    EXPECT_FALSE(m_host.profileStored || m_host.mainButtonsEnabled);
    EXPECT_EQ(m_host.note, profile::kStoreNote);
    EXPECT_EQ(Image().Text(reg::PointInput(1, 8)), "0032") << "nothing stored mid-drag";
    QTest::mouseRelease(view, Qt::LeftButton, {}, at(60.2, 70.8));

    QWidget* chart = m_page->ProfileChartView()->Chart();
    QTest::keyClick(chart, Qt::Key_Left);
    QTest::keyClick(chart, Qt::Key_Up);
    QTest::keyClick(chart, Qt::Key_3); // not a point of a Two Point curve
    QTest::keyClick(chart, Qt::Key_1);
    QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_EQ(Boxes(), "26| | | | | | |59 / 30| | | | | | |72 / 6 5");
    Store();
    EXPECT_EQ(Words(Image(), {reg::PointInput(1, 1), reg::PointInput(1, 8), reg::PointSpeed(1, 8)}),
              "001A 003B 0048");
}

// While live data runs, each shown fan's operating point is marked with its values.
TEST_F(ProfilePage, OperatingPointsFollowTheLiveRecord) {
    Image().SetText(reg::kControlMode, "0002");
    Image().SetText(reg::FanInput2Active(2), "0001"); // fan 2: either input, the higher counts
    Reload();
    Select(2);
    m_page->ProfileChartView()->OnFanBoxClicked(3, true);
    m_host.rig.Connect();
    m_host.rig.seq.RequestLiveData();
    LiveValues values = SampleValues("9s");
    values[2] = " 1320";
    FeedRecord(m_host.rig, values);
    m_page->OnTimer();
    ProfileChart& chart = *m_page->ProfileChartView();
    EXPECT_FALSE(chart.OperatingMarker(1)) << "fan 1's curve is not shown";
    ASSERT_TRUE(chart.OperatingMarker(2) && chart.OperatingMarker(3));
    EXPECT_EQ(Chart().SeriesPoints(*chart.OperatingMarker(2)), (QList<QPointF>{{26.0, 1320}}));
    EXPECT_EQ(Chart().SeriesPoints(*chart.OperatingMarker(3)), (QList<QPointF>{{25.4, 1480}}));
    EXPECT_EQ(Chart().MarkerLabel(*chart.OperatingMarker(2)).toStdString(),
              "26.0 \u00B0C, 1320 RPM");
    EXPECT_THAT(Chart().accessibleDescription().toStdString(),
                testing::HasSubstr("Fan 2 operating point: (26, 1320)"));
    m_host.rig.Connect(); // disconnected: no live data
    m_page->OnTimer();
    EXPECT_FALSE(chart.OperatingMarker(2) || chart.OperatingMarker(3));
}

class ProfileWindow : public WindowTest {};

TEST_F(ProfileWindow, ATabChangeLiftsTheStoreLockWithoutStoringAndCommandsLockTheSelection) {
    ClickTab(5);
    auto* page = static_cast<mD6*>(m_window->Page(5));
    page->OnTimer();
    Choose(page->FanList(), "2");
    TypeInto(page->PointInput(8), "70");
    EXPECT_FALSE(m_window->DownloadButton()->isEnabled() || m_window->SaveButton()->isEnabled());
    EXPECT_EQ(m_window->NoteField()->text().toStdString(), profile::kStoreNote);

    m_window->DisablePageControls();
    EXPECT_FALSE(page->FanList()->isEnabled());
    m_window->EnablePageControls();
    EXPECT_TRUE(page->StoreButton()->isEnabled());

    ClickTab(3);
    EXPECT_TRUE(m_window->DownloadButton()->isEnabled() && m_window->SaveButton()->isEnabled());
    EXPECT_EQ(m_window->NoteField()->text().toStdString(), " ");
    EXPECT_TRUE(m_window->ProfileStored());
    EXPECT_EQ(m_window->Image().Text(reg::PointInput(2, 8)), "0032") << "nothing stored";
}

} // namespace
} // namespace orvane::test
