// The chart keeps its axes where they are set, draws each series through its points in the
// order given with the pen it was given, and reads out every series it draws.
#include <QTest>
#include <gtest/gtest.h>

#include "controls/CChartCtrl.h"

namespace orvane {
namespace {

TEST(ChartCtrl, TickIntervalIsARoundStepThatFitsTheRange) {
    const struct {
        double min, max, interval;
    } cases[] = {{-20, 100, 10}, {0, 105, 10},      {0, 10, 1},     {0, 3100, 500},
                 {0, 100, 10},   {0, 65635, 10000}, {0, 0.5, 0.05}, {5, 5, 1}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ChartTickInterval(c.min, c.max), c.interval) << c.min << ".." << c.max;
    }
    // A narrow chart labels fewer, wider steps; never fewer than two.
    EXPECT_EQ(ChartTickSteps(330, 45), 7);
    EXPECT_EQ(ChartTickSteps(10, 45), 2);
    EXPECT_EQ(ChartTickSteps(5000, 45), 12);
    EXPECT_DOUBLE_EQ(ChartTickInterval(-20, 100, 7), 20);
}

TEST(ChartCtrl, SeriesKeepTheirOrderAndPointsAndAreReadOut) {
    CChartCtrl chart;
    chart.SetAxis(CChartCtrl::Axis::Bottom, "Voltage(V)", 0, 10);
    const int first = chart.AddSeries("Fan 1", QColor(10, 20, 30), 4);
    const int second = chart.AddSeries("Fan 2", QColor(255, 20, 20), 1);
    // Out of order on purpose: nothing is sorted, nothing is ranged automatically.
    chart.SetSeriesPoints(first, {{2.5, 0}, {2.5, 30}, {1.5, 30}, {11, 90}});
    chart.SetSeriesPoints(second, {{0, 10}});
    EXPECT_EQ(chart.SeriesPoints(first),
              (QList<QPointF>{{2.5, 0}, {2.5, 30}, {1.5, 30}, {11, 90}}));
    EXPECT_EQ(chart.AxisMax(CChartCtrl::Axis::Bottom), 10);
    EXPECT_EQ(chart.accessibleDescription(),
              "Fan 1: (2.5, 0) (2.5, 30) (1.5, 30) (11, 90)\nFan 2: (0, 10)");

    chart.RemoveSeries(first);
    EXPECT_FALSE(chart.HasSeries(first));
    EXPECT_EQ(chart.accessibleDescription(), "Fan 2: (0, 10)");
}

} // namespace
} // namespace orvane
