#pragma once

#include <map>

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

class QAbstractSeries;
class QChart;
class QXYSeries;
class QValueAxis;

namespace orvane {

// Spacing of the labelled ticks on a fixed axis range: 1, 2 or 5 times a power of ten,
// the smallest that gives at most `maxSteps` steps across the range.
double ChartTickInterval(double min, double max, int maxSteps = 12);
// How many labelled steps fit along an axis of the given length without crowding.
int ChartTickSteps(int axisLengthPx, int pxPerStep);

// An XY line chart on a plain background: a bottom and a left axis, each with a title
// and a fixed range (never ranged automatically), and line series drawn with a solid
// pen through their points in the order given. Its accessible description lists the
// points of every series it draws, kept current.
class CChartCtrl final : public QChartView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChartCtrl)

public:
    enum class Axis { Bottom, Left };

    explicit CChartCtrl(QWidget* parent = nullptr);

    void SetBackgroundColour(const QColor& colour);
    QColor BackgroundColour() const;
    void SetAxis(Axis axis, const QString& title, double min, double max);
    QString AxisTitle(Axis axis) const;
    double AxisMin(Axis axis) const;
    double AxisMax(Axis axis) const;

    // A new line series, empty; returns its handle.
    int AddSeries(const QString& name, const QColor& colour, int widthPx);
    void RemoveSeries(int handle);
    bool HasSeries(int handle) const;
    // Replaces all points of the series.
    void SetSeriesPoints(int handle, const QList<QPointF>& points);
    void SetSeriesColour(int handle, const QColor& colour);
    void SetSeriesWidth(int handle, int widthPx);
    // Dots of the given diameter on the series' points; 0 draws the line alone.
    void SetSeriesMarkers(int handle, int sizePx);
    // A series of dots of the given diameter with a white rim, each labelled with the
    // text given with its points; returns its handle.
    int AddMarkers(const QString& name, const QColor& colour, int sizePx,
                   const QColor& rim = Qt::white);
    void SetMarkerPoints(int handle, const QList<QPointF>& points, const QString& label = {});
    QString MarkerLabel(int handle) const;
    QList<QPointF> SeriesPoints(int handle) const;
    QColor SeriesColour(int handle) const;
    int SeriesWidth(int handle) const;

    // Draws the line series over every other line; dots stay over all lines.
    void BringToFront(int handle);
    // The series' names from the one drawn first to the one drawn over all others.
    QStringList DrawingOrder() const;

    // Each series as "name: (x, y) (x, y) ...", one a line, in the order they were added.
    QString DescribeSeries() const;

    // Axis values at a point of the view, and the point of the view showing them.
    QPointF ValueAt(const QPointF& viewPos) const;
    QPointF PositionOf(const QPointF& value) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateTickIntervals();
    QValueAxis* AxisOf(Axis axis) const;
    QXYSeries* Series(int handle) const;
    int Attach(QXYSeries* series);
    // Adds the series again, which draws it over those added before it.
    void Reattach(QAbstractSeries* series);
    void UpdateDescription();

    QChart* m_chart = nullptr;
    QValueAxis* m_bottom = nullptr;
    QValueAxis* m_left = nullptr;
    std::map<int, QXYSeries*> m_series;
    int m_nextHandle = 1;
};

} // namespace orvane
