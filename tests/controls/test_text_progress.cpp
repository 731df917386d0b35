// The text progress bar answers its requests and draws bar and two-coloured text where it should.
#include <QImage>
#include <gtest/gtest.h>

#include "controls/CTextProgressCtrl.h"

namespace orvane::test {
namespace {

std::string Text(BarRect r) {
    return QString("%1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom).toStdString();
}

// A 30 x 200 control: the bar area inside the 2-pixel edge is 26 wide and 196 high.
TEST(TextProgressGeometry, BarSplitAndTextOrigin) {
    const BarRect area = BarArea({0, 0, 30, 200});
    ASSERT_EQ(Text(area), "2,2,28,198");
    const struct {
        double fraction;
        bool upright;
        const char* split; // bar | rest
    } splits[] = {
        {0.55, true, "2,91,28,198|2,2,28,91"}, // 196 x 0.55 = 107.8: 107 pixels
        {0.0, true, "2,198,28,198|2,2,28,198"},
        {1.0, true, "2,2,28,198|2,2,28,2"},
        {0.55, false, "2,2,16,198|16,2,28,198"}, // 26 x 0.55 = 14.3
    };
    for (const auto& c : splits) {
        const BarSplit got = SplitBar(area, c.fraction, c.upright);
        EXPECT_EQ(Text(got.bar) + "|" + Text(got.rest), c.split)
            << "fraction " << c.fraction << (c.upright ? " upright" : " lying");
    }
    // Text 81 long and 13 high; an upright text's origin is where it begins, at its foot.
    const struct {
        int alignment;
        bool upright;
        int x, y;
    } origins[] = {
        {0, true, 8, 195}, {1, true, 8, 140}, {2, true, 8, 85},
        {7, true, 8, 140}, {0, false, 4, 93}, {2, false, -56, 93},
    };
    for (const auto& c : origins) {
        const TextOrigin got = BarTextOrigin(area, 81, 13, c.alignment, c.upright);
        EXPECT_EQ(std::pair(got.x, got.y), std::pair(c.x, c.y))
            << "alignment " << c.alignment << (c.upright ? " upright" : " lying");
    }
}

TEST(TextProgressRequests, RangePositionStepAndPercentage) {
    CTextProgressCtrl bar(true);
    EXPECT_EQ(bar.SetPos(150), 0);
    EXPECT_EQ(bar.SetPos(-5), 100) << "150 was held at the maximum";
    EXPECT_EQ(bar.GetPos(), 0);
    bar.SetPos(95);
    EXPECT_EQ(bar.StepIt(), 95);
    EXPECT_EQ(bar.GetPos(), 5) << "stepping past the maximum wraps";
    EXPECT_EQ(bar.SetStep(-10), 10);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 95) << "and past the minimum";
    bar.OffsetPos(-30);
    EXPECT_EQ(bar.GetPos(), 65);

    bar.SetWindowText("Set Speed: ");
    EXPECT_EQ(bar.SetRange(0, 3), (std::pair<std::int16_t, std::int16_t>(0, 100)));
    bar.SetPos(2);
    EXPECT_EQ(bar.ShownText(), "Set Speed: 67%");
    bar.SetPos(1);
    EXPECT_EQ(bar.accessibleDescription(), "Set Speed: 33%") << "what is drawn is what is read";
    bar.SetShowText(false);
    EXPECT_EQ(bar.accessibleDescription(), "Set Speed: ");
    EXPECT_EQ(bar.SetRange32(-70000, 70000), (std::pair(0, 3)));
    EXPECT_EQ(bar.SetRange(1, 2), (std::pair<std::int16_t, std::int16_t>(-4464, 4464)))
        << "the 16-bit request returns the low 16 bits of each";
    EXPECT_EQ(bar.GetRange(), (std::pair(1, 2)));
}

// Position 55, upright: the lower 55 % in the highlight colour, the text light over the bar
// and dark above it (its pixels are smoothed, so they are told by lightness).
TEST(TextProgressPaint, UprightBarFillsFromTheBottomWithTwoColouredText) {
    CTextProgressCtrl bar(true);
    bar.resize(30, 200);
    bar.SetShowText(false);
    bar.SetWindowText("Set Speed: 55%");
    bar.SetPos(55);
    const QImage image = bar.grab().toImage();
    const QRgb highlight = bar.palette().color(QPalette::Highlight).rgb();
    const QRgb face = bar.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(std::vector({image.pixel(4, 196), image.pixel(4, 92), image.pixel(4, 90)}),
              std::vector({highlight, highlight, face}));
    // Pixels of the bar area between the rows whose lightness passes the test.
    const auto count = [&](int top, int bottom, auto test) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 2; x < 28; ++x) {
                n += test(QColor(image.pixel(x, y)).lightness()) ? 1 : 0;
            }
        }
        return n;
    };
    const auto light = [face](int l) { return l > QColor(face).lightness() + 4; };
    const auto dark = [](int l) { return l < 80; };
    EXPECT_GT(count(91, 198, light), 20);
    EXPECT_GT(count(2, 91, dark), 20);
    EXPECT_EQ(count(91, 198, dark) + count(2, 91, light), 0);

    bar.SetRange32(5, 5); // an empty range draws nothing, not even the edge
    EXPECT_NE(bar.grab().toImage().pixel(0, 0), bar.palette().color(QPalette::Mid).rgb());
}

} // namespace
} // namespace orvane::test
