#include "controls/CTextProgressCtrl.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QPainter>

namespace orvane {

namespace {

constexpr int kEdge = 2; // a flat sunken edge: shadow outside, face inside

QRect ToQRect(BarRect rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

} // namespace

BarRect BarArea(BarRect client) {
    return {client.left + kEdge, client.top + kEdge, client.right - kEdge, client.bottom - kEdge};
}

double BarFraction(int position, int minimum, int maximum) {
    return (double(position) - minimum) / (double(maximum) - minimum);
}

BarSplit SplitBar(BarRect area, double fraction, bool upright) {
    BarSplit split{area, area};
    if (upright) {
        split.bar.top = area.bottom - static_cast<int>(std::trunc(area.Height() * fraction));
        split.rest.bottom = split.bar.top;
    } else {
        split.bar.right = area.left + static_cast<int>(std::trunc(area.Width() * fraction));
        split.rest.left = split.bar.right;
    }
    return split;
}

QString BarText(const QString& text, bool showPercentage, double fraction) {
    if (!showPercentage) {
        return text;
    }
    return text + QString::number(static_cast<int>(std::trunc(fraction * 100.0 + 0.5))) + '%';
}

TextOrigin BarTextOrigin(BarRect area, int length, int height, int alignment, bool upright) {
    if (upright) {
        const int x = area.left + (area.Width() - height) / 2;
        switch (alignment) {
        case 0:
            return {x, area.bottom - 3};
        case 2:
            return {x, area.top + 2 + length};
        default:
            return {x, area.top + (area.Height() - length) / 2 + length};
        }
    }
    const int y = area.top + (area.Height() - height) / 2;
    switch (alignment) {
    case 0:
        return {area.left + 2, y};
    case 2:
        return {area.right - length - 3, y};
    default:
        return {area.left + (area.Width() - length) / 2, y};
    }
}

int SteppedPosition(int position, int step, int minimum, int maximum) {
    const long long p = static_cast<long long>(position) + step;
    if (p < minimum) {
        return static_cast<int>(maximum - (minimum - p));
    }
    if (p > maximum) {
        return static_cast<int>(minimum + (p - maximum));
    }
    return static_cast<int>(p);
}

CTextProgressCtrl::CTextProgressCtrl(bool upright, QWidget* parent)
    : QWidget(parent), m_upright(upright) {
    setSizePolicy(upright ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                  upright ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    Changed();
}

std::pair<std::int16_t, std::int16_t> CTextProgressCtrl::SetRange(std::int16_t lower,
                                                                  std::int16_t upper) {
    const auto previous = SetRange32(lower, upper);
    return {static_cast<std::int16_t>(previous.first), static_cast<std::int16_t>(previous.second)};
}

std::pair<int, int> CTextProgressCtrl::SetRange32(int lower, int upper) {
    const std::pair previous{std::exchange(m_minimum, lower), std::exchange(m_maximum, upper)};
    // No redraw: the next position or text change shows it. The reading is told now.
    UpdateReading();
    return previous;
}

int CTextProgressCtrl::SetPos(int position) {
    const int previous = m_position;
    m_position = position;
    if (m_position < m_minimum) {
        m_position = m_minimum;
    }
    if (m_position > m_maximum) {
        m_position = m_maximum;
    }
    Changed();
    return previous;
}

int CTextProgressCtrl::OffsetPos(int delta) {
    const long long target = static_cast<long long>(m_position) + delta;
    return SetPos(static_cast<int>(std::clamp<long long>(target, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max())));
}

int CTextProgressCtrl::SetStep(int step) {
    return std::exchange(m_step, step);
}

int CTextProgressCtrl::StepIt() {
    return SetPos(SteppedPosition(m_position, m_step, m_minimum, m_maximum));
}

void CTextProgressCtrl::SetShowText(bool show) {
    m_showPercentage = show;
    Changed();
}

void CTextProgressCtrl::SetTextAlign(int alignment) {
    m_alignment = alignment;
    Changed();
}

void CTextProgressCtrl::SetWindowText(const QString& text) {
    m_text = text;
    Changed();
}

QString CTextProgressCtrl::ShownText() const {
    if (m_minimum >= m_maximum) {
        return m_text;
    }
    return BarText(m_text, m_showPercentage, BarFraction(m_position, m_minimum, m_maximum));
}

void CTextProgressCtrl::UpdateReading() {
    const QString shown = ShownText();
    if (accessibleDescription() != shown) {
        setAccessibleDescription(shown);
    }
}

void CTextProgressCtrl::Changed() {
    UpdateReading();
    update();
}

QSize CTextProgressCtrl::sizeHint() const {
    const QFontMetrics metrics(font());
    const int across = metrics.height() + 2 * kEdge + 8;
    return m_upright ? QSize(across, 160) : QSize(160, across);
}

void CTextProgressCtrl::paintEvent(QPaintEvent*) {
    if (m_minimum >= m_maximum) {
        return;
    }
    QPainter painter(this);
    const QPalette& colours = palette();
    const BarRect client{0, 0, width(), height()};
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    painter.setPen(colours.color(QPalette::Button));
    painter.drawRect(QRect(1, 1, width() - 3, height() - 3));

    const BarRect area = BarArea(client);
    const double fraction = BarFraction(m_position, m_minimum, m_maximum);
    const BarSplit split = SplitBar(area, fraction, m_upright);
    painter.fillRect(ToQRect(split.bar), colours.color(QPalette::Highlight));
    painter.fillRect(ToQRect(split.rest), colours.color(QPalette::Button));

    const QString text = BarText(m_text, m_showPercentage, fraction);
    if (text.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(font());
    const TextOrigin origin = BarTextOrigin(area, metrics.horizontalAdvance(text), metrics.height(),
                                            m_alignment, m_upright);
    // Twice, each clipped to one part: the text changes colour where the bar ends.
    const auto drawClipped = [&](BarRect clip, QPalette::ColorRole role) {
        painter.save();
        painter.setClipRect(ToQRect(clip));
        painter.setPen(colours.color(role));
        painter.translate(origin.x, origin.y);
        if (m_upright) {
            painter.rotate(-90.0);
        }
        painter.drawText(0, metrics.ascent(), text);
        painter.restore();
    };
    drawClipped(split.bar, QPalette::Base);
    drawClipped(split.rest, QPalette::WindowText);
}

} // namespace orvane
