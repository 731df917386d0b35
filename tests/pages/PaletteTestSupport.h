#pragma once

#include <algorithm>
#include <cmath>

#include <QImage>

#include "controls/DarkPalette.h"

namespace orvane::test {

inline double Luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

// WCAG's contrast ratio, 1 to 21.
inline double Contrast(QRgb a, QRgb b) {
    const double first = Luminance(a), second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The strongest contrast of any painted pixel in `area` against the colour at `ground`: the
// text's ink where its strokes are solid.
inline double InkContrast(const QImage& image, const QRect& area, QPoint ground) {
    const QRgb background = image.pixel(ground);
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            best = std::max(best, Contrast(image.pixel(x, y), background));
        }
    }
    return best;
}

} // namespace orvane::test
