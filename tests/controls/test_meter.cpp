// The round meter's needle and scale follow its range, and its reading is told as it changes.
#include <gtest/gtest.h>

#include <QLineF>

#include "controls/C3DMeterCtrl.h"

namespace orvane::test {
namespace {

TEST(MeterGeometry, NeedleSweepsClockwiseOnTheScaleWhoseMarksAreRoundSteps) {
    const struct {
        double value, minimum, maximum, angle;
    } needles[] = {
        {0, 0, 3000, 225},  {3000, 0, 3000, -45}, {4000, 0, 3000, -45},
        {-10, 0, 100, 225}, {5, 5, 5, 225},       {70, 50, 150, 171},
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
        {0, 7, {0, 2, 4, 6}},
        {0, 15, {0, 2.5, 5, 7.5, 10, 12.5, 15}},
        {-20, 40, {-20, -10, 0, 10, 20, 30, 40}},
        {10, 1, {10}},
    };
    for (const auto& c : scales) {
        EXPECT_EQ(ScaleMarks(c.minimum, c.maximum), c.marks) << c.minimum << ".." << c.maximum;
    }
}

// Whatever the needle shows, it crosses neither the readout nor the widest units caption
// allowed, and both stay on the dial's face: at the smallest meter, a usual one and a big one.
TEST(MeterGeometry, NeedleNeverCrossesTheReadoutOrTheUnits) {
    for (const double side : {150.0, 200.0, 420.0}) {
        const double radius = side / 2.0 - 1.0;
        const QPointF centre(side / 2.0, side / 2.0);
        const QRectF widest = UnitsBox(centre, radius, {UnitsWidthLimit(radius), radius * 0.13});
        const QRectF labels[] = {ReadoutWindow(centre, radius), widest};
        for (const QRectF& label : labels) {
            for (const QPointF corner :
                 {label.topLeft(), label.topRight(), label.bottomLeft(), label.bottomRight()}) {
                EXPECT_LT(QLineF(centre, corner).length(), radius * 0.86) << side;
            }
            for (double angle = kMeterStartAngle; angle >= kMeterStartAngle - kMeterSweep;
                 angle -= 0.5) {
                ASSERT_FALSE(NeedleOutline(centre, radius, angle).intersects(QPolygonF(label)))
                    << "side " << side << " angle " << angle;
            }
        }
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
