// The round meter's needle and scale follow its range, and its reading is told as it changes.
#include <gtest/gtest.h>

#include "controls/C3DMeterCtrl.h"

namespace orvane::test {
namespace {

TEST(MeterGeometry, NeedleSweepsClockwiseOnTheScaleWhoseMarksAreRoundSteps) {
    const struct {
        double value, minimum, maximum, angle;
    } needles[] = {
        {0, 0, 3000, 225},  {1500, 0, 3000, 90}, {3000, 0, 3000, -45}, {4000, 0, 3000, -45},
        {-10, 0, 100, 225}, {5, 5, 5, 225},      {70, 50, 150, 171},
    };
    for (const auto& c : needles) {
        EXPECT_DOUBLE_EQ(NeedleAngle(c.value, c.minimum, c.maximum), c.angle)
            << c.value << " in " << c.minimum << ".." << c.maximum;
    }
    const QPointF top = DialPoint({100, 100}, 50, 90);
    EXPECT_NEAR(top.x(), 100, 1e-9);
    EXPECT_NEAR(top.y(), 50, 1e-9) << "screen y grows downwards";

    const struct {
        double minimum, maximum;
        std::vector<double> marks;
    } scales[] = {
        {0, 3000, {0, 500, 1000, 1500, 2000, 2500, 3000}},
        {0, 100, {0, 20, 40, 60, 80, 100}},
        {0, 7, {0, 2, 4, 6}},
        {0, 15, {0, 2.5, 5, 7.5, 10, 12.5, 15}},
        {-20, 40, {-20, -10, 0, 10, 20, 30, 40}},
        {10, 1, {10}},
    };
    for (const auto& c : scales) {
        EXPECT_EQ(ScaleMarks(c.minimum, c.maximum), c.marks) << c.minimum << ".." << c.maximum;
    }
}

TEST(Meter, ReadingFollowsValueAndUnits) {
    C3DMeterCtrl meter;
    meter.SetUnits("FAN1 RPM");
    meter.SetRange(0, 3000);
    meter.SetValue(1480);
    EXPECT_EQ(meter.accessibleDescription(), "1480 FAN1 RPM");
    meter.SetValue(12.5);
    EXPECT_EQ(meter.accessibleDescription(), "12.5 FAN1 RPM");
    meter.resize(160, 160);
    EXPECT_FALSE(meter.grab().toImage().isNull());
}

} // namespace
} // namespace orvane::test
