#include "controls/C3DMeterCtrl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QEvent>
#include <QPainter>
#include <QRadialGradient>

namespace orvane {

namespace {

constexpr int kTargetIntervals = 6;
constexpr int kMinorPerMajor = 5;

// Proportions of the dial, as parts of its radius.
constexpr double kFaceRadius = 0.86;
constexpr double kTickOuter = 0.80;
constexpr double kMajorTickInner = 0.68;
constexpr double kMinorTickInner = 0.74;
constexpr double kLabelRadius = 0.54;
constexpr double kNeedleLength = 0.76;
constexpr double kNeedleHalfWidth = 0.045;
constexpr double kNeedleTail = 0.18;
// Below the hub, in the quarter the needle never enters (it turns no lower than 45
// degrees under the centre line): the readout, then the units caption.
// The readout clears the scale's end labels, the caption the end marks.
constexpr double kReadoutTop = 0.46;
constexpr double kReadoutHalfWidth = 0.22;
constexpr double kReadoutHeight = 0.16;
constexpr double kUnitsTop = 0.64;
constexpr double kUnitsBottom = 0.77;
constexpr double kUnitsHalfWidth = 0.36;

// Round step for about kTargetIntervals intervals over the span.
double NiceStep(double span) {
    const double raw = span / kTargetIntervals;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double residual = raw / magnitude;
    for (const double nice : {1.0, 2.0, 2.5, 5.0}) {
        if (residual <= nice) {
            return nice * magnitude;
        }
    }
    return 10.0 * magnitude;
}

QString ScaleLabel(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

double MeterFraction(double value, double minimum, double maximum) {
    if (!(maximum > minimum) || !std::isfinite(value)) {
        return 0.0;
    }
    return std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
}

double NeedleAngle(double value, double minimum, double maximum) {
    return kMeterStartAngle - kMeterSweep * MeterFraction(value, minimum, maximum);
}

std::vector<double> ScaleMarks(double minimum, double maximum) {
    if (!(maximum > minimum) || !std::isfinite(maximum - minimum)) {
        return {minimum};
    }
    const double step = NiceStep(maximum - minimum);
    std::vector<double> marks;
    const double first = std::ceil(minimum / step - 1e-9) * step;
    for (int i = 0; first + i * step <= maximum + step * 1e-9; ++i) {
        marks.push_back(first + i * step);
    }
    return marks;
}

QPointF DialPoint(QPointF centre, double radius, double angle) {
    const double radians = angle * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
}

QString MeterReadout(double value) {
    return QString::number(value, 'f', value == std::trunc(value) ? 0 : 1);
}

QPolygonF NeedleOutline(QPointF centre, double radius, double angle) {
    return QPolygonF({DialPoint(centre, radius * kNeedleLength, angle),
                      DialPoint(centre, radius * kNeedleHalfWidth, angle + 90.0),
                      DialPoint(centre, radius * kNeedleTail, angle + 180.0),
                      DialPoint(centre, radius * kNeedleHalfWidth, angle - 90.0)});
}

QRectF ReadoutWindow(QPointF centre, double radius) {
    return {centre.x() - radius * kReadoutHalfWidth, centre.y() + radius * kReadoutTop,
            2.0 * radius * kReadoutHalfWidth, radius * kReadoutHeight};
}

double UnitsWidthLimit(double radius) {
    return 2.0 * radius * kUnitsHalfWidth;
}

QRectF UnitsBox(QPointF centre, double radius, QSizeF text) {
    const double middle = centre.y() + radius * (kUnitsTop + kUnitsBottom) / 2.0;
    return {centre.x() - text.width() / 2.0, middle - text.height() / 2.0, text.width(),
            text.height()};
}

C3DMeterCtrl::C3DMeterCtrl(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    Changed(true);
}

void C3DMeterCtrl::SetRange(double minimum, double maximum) {
    if (minimum != m_minimum || maximum != m_maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
        Changed(true);
    }
}

void C3DMeterCtrl::SetValue(double value) {
    if (value != m_value) {
        m_value = value;
        Changed(false);
    }
}

void C3DMeterCtrl::SetUnits(const QString& units) {
    if (units != m_units) {
        m_units = units;
        Changed(true);
    }
}

void C3DMeterCtrl::Changed(bool dialChanged) {
    if (dialChanged) {
        m_dial = QPixmap();
    }
    const QString reading = (MeterReadout(m_value) + ' ' + m_units).trimmed();
    if (accessibleDescription() != reading) {
        setAccessibleDescription(reading);
    }
    update();
}

void C3DMeterCtrl::resizeEvent(QResizeEvent*) {
    m_dial = QPixmap();
}

void C3DMeterCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        m_dial = QPixmap();
    }
    QWidget::changeEvent(event);
}

QSize C3DMeterCtrl::sizeHint() const {
    return {180, 180};
}

QPixmap C3DMeterCtrl::Dial() const {
    if (!m_dial.isNull()) {
        return m_dial;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap dial(size() * ratio);
    dial.setDevicePixelRatio(ratio);
    dial.fill(Qt::transparent);
    QPainter painter(&dial);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double radius = std::min(width(), height()) / 2.0 - 1.0;
    const QPointF centre(width() / 2.0, height() / 2.0);

    // A bevelled metal rim round a light face: lit from the upper left.
    QLinearGradient rim(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    rim.setColorAt(0.0, QColor(250, 250, 250));
    rim.setColorAt(0.5, QColor(150, 154, 160));
    rim.setColorAt(1.0, QColor(70, 74, 80));
    painter.setPen(QPen(QColor(60, 60, 64), 1.0));
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);
    QRadialGradient face(centre - QPointF(radius * 0.25, radius * 0.3), radius * 1.1);
    face.setColorAt(0.0, QColor(255, 255, 255));
    face.setColorAt(1.0, QColor(222, 225, 230));
    painter.setPen(QPen(QColor(90, 94, 100), 1.0));
    painter.setBrush(face);
    painter.drawEllipse(centre, radius * kFaceRadius, radius * kFaceRadius);

    const QColor ink(30, 32, 36);
    const std::vector<double> marks = ScaleMarks(m_minimum, m_maximum);
    if (marks.size() > 1) {
        const double step = marks[1] - marks[0];
        const double minor = step / kMinorPerMajor;
        painter.setPen(QPen(ink, std::max(1.0, radius * 0.012)));
        for (double v = marks.front() - step; v <= m_maximum + minor * 1e-6; v += minor) {
            if (v < m_minimum - minor * 1e-6) {
                continue;
            }
            const double angle = NeedleAngle(v, m_minimum, m_maximum);
            painter.drawLine(DialPoint(centre, radius * kMinorTickInner, angle),
                             DialPoint(centre, radius * kTickOuter, angle));
        }
    }
    QFont labelFont = font();
    labelFont.setPixelSize(std::max(8, static_cast<int>(radius * 0.12)));
    painter.setFont(labelFont);
    const QFontMetricsF labelMetrics(labelFont);
    for (const double mark : marks) {
        const double angle = NeedleAngle(mark, m_minimum, m_maximum);
        painter.setPen(QPen(ink, std::max(1.5, radius * 0.025)));
        painter.drawLine(DialPoint(centre, radius * kMajorTickInner, angle),
                         DialPoint(centre, radius * kTickOuter, angle));
        const QString label = ScaleLabel(mark);
        const QPointF at = DialPoint(centre, radius * kLabelRadius, angle);
        const QSizeF box(labelMetrics.horizontalAdvance(label), labelMetrics.height());
        painter.setPen(ink);
        painter.drawText(QRectF(at - QPointF(box.width() / 2, box.height() / 2), box),
                         Qt::AlignCenter, label);
    }

    QFont unitsFont = font();
    unitsFont.setBold(true);
    const double bandHeight = radius * (kUnitsBottom - kUnitsTop);
    int pixels = std::max(6, static_cast<int>(radius * 0.12));
    QSizeF text;
    for (;; --pixels) {
        unitsFont.setPixelSize(pixels);
        const QFontMetricsF metrics(unitsFont);
        text = QSizeF(metrics.horizontalAdvance(m_units), metrics.height());
        if (pixels <= 6 ||
            (text.width() <= UnitsWidthLimit(radius) && text.height() <= bandHeight)) {
            break;
        }
    }
    painter.setFont(unitsFont);
    painter.setPen(QColor(70, 74, 82));
    painter.drawText(UnitsBox(centre, radius, text), Qt::AlignCenter, m_units);
    painter.end();
    m_dial = dial;
    return m_dial;
}

void C3DMeterCtrl::paintEvent(QPaintEvent*) {
    if (width() < 8 || height() < 8) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, Dial());
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width(), height()) / 2.0 - 1.0;
    const QPointF centre(width() / 2.0, height() / 2.0);

    // The readout: the value in digits in a dark window below the centre.
    QFont digits = font();
    digits.setPixelSize(std::max(8, static_cast<int>(radius * 0.14)));
    digits.setBold(true);
    const QRectF window = ReadoutWindow(centre, radius);
    painter.setPen(QPen(QColor(90, 94, 100), 1.0));
    painter.setBrush(QColor(24, 28, 32));
    painter.drawRoundedRect(window, 3, 3);
    painter.setFont(digits);
    painter.setPen(QColor(120, 255, 140));
    painter.drawText(window, Qt::AlignCenter, MeterReadout(m_value));

    // The needle: tapered, with a short tail, turning on a domed hub.
    const double angle = NeedleAngle(m_value, m_minimum, m_maximum);
    painter.setPen(QPen(QColor(120, 10, 10), 1.0));
    painter.setBrush(QColor(215, 30, 30));
    painter.drawPolygon(NeedleOutline(centre, radius, angle));
    QRadialGradient hub(centre - QPointF(radius * 0.03, radius * 0.03), radius * 0.09);
    hub.setColorAt(0.0, QColor(200, 204, 210));
    hub.setColorAt(1.0, QColor(40, 42, 46));
    painter.setPen(Qt::NoPen);
    painter.setBrush(hub);
    painter.drawEllipse(centre, radius * 0.08, radius * 0.08);
}

} // namespace orvane
