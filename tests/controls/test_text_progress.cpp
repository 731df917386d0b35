// The text progress bar answers its requests and draws bar and two-coloured text where it should.
#include <QImage>
#include <gtest/gtest.h>

#include "controls/CTextProgressCtrl.h"

namespace orvane {

// Found by argument lookup, so failures print the rectangles.
inline void PrintTo(const BarRect& r, std::ostream* out) {
    *out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}
inline void PrintTo(const BarSplit& split, std::ostream* out) {
    PrintTo(split.bar, out);
    PrintTo(split.rest, out);
}
inline void PrintTo(const TextOrigin& origin, std::ostream* out) {
    *out << origin.x << ',' << origin.y;
}

namespace test {
namespace {

TEST(TextProgressGeometry, BarAndRestSplitAtTheTruncatedPixel) {
    const BarRect area = BarArea({0, 0, 30, 200});
    EXPECT_EQ(area, (BarRect{2, 2, 28, 198}));
    const struct {
        double fraction;
        bool upright;
        BarSplit want;
    } cases[] = {
        {0.55, true, {{2, 91, 28, 198}, {2, 2, 28, 91}}}, // 196 x 0.55 = 107.8: 107 pixels
        {0.0, true, {{2, 198, 28, 198}, {2, 2, 28, 198}}},
        {1.0, true, {{2, 2, 28, 198}, {2, 2, 28, 2}}},
        {0.55, false, {{2, 2, 16, 198}, {16, 2, 28, 198}}}, // 26 x 0.55 = 14.3
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitBar(area, c.fraction, c.upright), c.want)
            << "fraction " << c.fraction << (c.upright ? " upright" : " lying");
    }
}

TEST(TextProgressGeometry, TextOriginByAlignmentAndOrientation) {
    const BarRect area{2, 2, 28, 198}; // 26 wide, 196 high
    const struct {
        int alignment;
        bool upright;
        TextOrigin want;
    } cases[] = {
        {0, true, {8, 195}},   // begins 3 above the bottom, centred across: 2 + (26 - 13) / 2
        {1, true, {8, 140}},   // 2 + (196 - 81) / 2 + 81
        {2, true, {8, 85}},    // 2 + 2 + 81
        {7, true, {8, 140}},   // any other alignment centres
        {0, false, {4, 93}},   // 2 + 2; 2 + (196 - 13) / 2
        {1, false, {-25, 93}}, // 2 + (26 - 81) / 2, cut toward zero
        {2, false, {-56, 93}}, // 28 - 81 - 3
    };
    for (const auto& c : cases) {
        const TextOrigin got = BarTextOrigin(area, 81, 13, c.alignment, c.upright);
        EXPECT_EQ(got, c.want) << "alignment " << c.alignment
                               << (c.upright ? " upright" : " lying");
    }
}

TEST(TextProgressRequests, RangePositionStepAndPercentage) {
    CTextProgressCtrl bar(true);
    EXPECT_EQ(bar.SetPos(150), 0);
    EXPECT_EQ(bar.GetPos(), 100);
    EXPECT_EQ(bar.SetPos(-5), 100);
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
    EXPECT_EQ(bar.ShownText(), "Set Speed: 33%");
    EXPECT_EQ(bar.accessibleDescription(), "Set Speed: 33%") << "what is drawn is what is read";
    bar.SetShowText(false);
    EXPECT_EQ(bar.accessibleDescription(), "Set Speed: ");
    EXPECT_EQ(bar.SetRange32(-70000, 70000), (std::pair(0, 3)));
    EXPECT_EQ(bar.SetRange(1, 2),
              (std::pair<std::int16_t, std::int16_t>(static_cast<std::int16_t>(-70000),
                                                     static_cast<std::int16_t>(70000))));
    EXPECT_EQ(bar.GetRange(), (std::pair(1, 2)));
}

// Position 55, upright, text over the bar: the lower 55 % is the highlight colour, and the text
// shows in the window background colour over it and in the text colour above it.
TEST(TextProgressPaint, UprightBarFillsFromTheBottomWithTwoColouredText) {
    CTextProgressCtrl bar(true);
    bar.resize(30, 200);
    bar.SetShowText(false);
    bar.SetWindowText("Set Speed: 55%");
    bar.SetPos(55);
    const QImage image = bar.grab().toImage();
    const QPalette& colours = bar.palette();
    const QRgb highlight = colours.color(QPalette::Highlight).rgb();
    const QRgb face = colours.color(QPalette::Button).rgb();
    EXPECT_EQ(image.pixel(4, 196), highlight);
    EXPECT_EQ(image.pixel(4, 92), highlight);
    EXPECT_EQ(image.pixel(4, 90), face);
    EXPECT_EQ(image.pixel(4, 4), face);
    // Text is smoothed, so its pixels are told by lightness: white over the bar, black above.
    const auto count = [&](int top, int bottom, auto test) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 2; x < 28; ++x) {
                n += test(QColor(image.pixel(x, y)).lightness()) ? 1 : 0;
            }
        }
        return n;
    };
    const int faceLightness = QColor(face).lightness();
    const auto light = [&](int l) { return l > faceLightness + 4; };
    const auto dark = [](int l) { return l < 80; };
    EXPECT_GT(count(91, 198, light), 20) << "light text over the bar";
    EXPECT_GT(count(2, 91, dark), 20) << "dark text above it";
    EXPECT_EQ(count(91, 198, dark), 0);
    EXPECT_EQ(count(2, 91, light), 0);

    bar.SetRange32(5, 5); // an empty range draws nothing
    const QImage empty = bar.grab().toImage();
    EXPECT_NE(empty.pixel(4, 196), highlight);
    EXPECT_NE(empty.pixel(0, 0), colours.color(QPalette::Mid).rgb()) << "not even the edge";
}

} // namespace
} // namespace test
} // namespace orvane
