#pragma once

#include <vector>

#include <QPixmap>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace orvane {

// The dial's geometry, apart from painting. Angles are in degrees, counter-clockwise
// from three o'clock; the scale runs clockwise from the lower left to the lower right.
inline constexpr double kMeterStartAngle = 225.0;
inline constexpr double kMeterSweep = 270.0;

// Where the value stands in the range, held to 0 ... 1 (0 for an empty range).
double MeterFraction(double value, double minimum, double maximum);
double NeedleAngle(double value, double minimum, double maximum);
// The labelled marks: round steps (1, 2, 2.5 or 5 times a power of ten) from the
// minimum, about six of them; the minimum alone for an empty range.
std::vector<double> ScaleMarks(double minimum, double maximum);
// A point at the angle on a circle round the centre (screen coordinates, y down).
QPointF DialPoint(QPointF centre, double radius, double angle);
// The value as the readout shows it: whole numbers without decimals.
QString MeterReadout(double value);
// The needle at the angle, tail and tip included.
QPolygonF NeedleOutline(QPointF centre, double radius, double angle);
QRectF ReadoutWindow(QPointF centre, double radius);
// The readout and the units caption sit below it, in the quarter of the dial the needle
// never enters, so that no reading hides them. The units text is made small enough
// for the width limit and the band's height; its box is centred in the band.
double UnitsWidthLimit(double radius);
QRectF UnitsBox(QPointF centre, double radius, QSizeF text);

// A round meter: a scale over its range, a needle at its value, the value as digits
// and a units text; redrawn when any of them changes. The dial is drawn once per
// size and range, so a new value costs a needle and a readout.
class C3DMeterCtrl final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(C3DMeterCtrl)

public:
    explicit C3DMeterCtrl(QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum);
    void SetValue(double value);
    void SetUnits(const QString& units);
    double Maximum() const { return m_maximum; }
    double Value() const { return m_value; }
    QString Units() const { return m_units; }

    QSize sizeHint() const override;
    int heightForWidth(int width) const override { return width; }
    bool hasHeightForWidth() const override { return true; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The accessible description follows the value shown; the dial is drawn anew.
    void Changed(bool dialChanged);
    QPixmap Dial() const;

    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_value = 0.0;
    QString m_units;
    mutable QPixmap m_dial;
};

} // namespace orvane
