#pragma once

#include <optional>
#include <vector>

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPolygonF>

class QCategoryAxis;
class QChart;
class QDateTimeAxis;
class QValueAxis;

namespace orvane {

class TrendLinesItem;

// A chart of values over time: a time axis at the bottom, value axes at the sides, and
// lines that break wherever their data does. The chart draws the axes and grid; the lines
// are drawn by one item over the plot area, because a line series cannot break. The plot
// area keeps fixed margins, so that charts stacked one above the other share their time
// scale to the pixel.
class TrendChart final : public QChartView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendChart)

public:
    struct LineStyle {
        int axis = 0;
        QColor colour;
        Qt::PenStyle pen = Qt::SolidLine;
        int widthPx = 2;
    };

    explicit TrendChart(QWidget* parent = nullptr);

    // The room beside the plot area for the axes' labels and titles.
    void SetPlotMargins(int left, int right, int bottom);
    void ShowTimeLabels(bool shown);
    void SetTimeRange(qint64 fromMs, qint64 toMs);
    qint64 TimeFrom() const;
    qint64 TimeTo() const;
    // How many pixel columns the plot area spans.
    int PlotColumns() const;

    // A value axis on the left or the right; returns its number.
    int AddValueAxis(const QString& title, Qt::Alignment side);
    // Lanes named bottom up, one unit high each, on the left.
    int AddLaneAxis(const QStringList& names);
    void SetAxisTitle(int axis, const QString& title);
    void SetAxisRange(int axis, double min, double max);
    double AxisMin(int axis) const;
    double AxisMax(int axis) const;

    int AddLine(const LineStyle& style);
    // Each polygon one unbroken piece, x in ms since the epoch, y on the line's axis.
    void SetLinePieces(int line, QList<QPolygonF> pieces);
    void SetLineVisible(int line, bool visible);
    const QList<QPolygonF>& LinePieces(int line) const;
    bool IsLineVisible(int line) const;

    // A vertical line at the time, or none.
    void SetCursorTime(std::optional<qint64> timeMs);

signals:
    // The time under the pointer while it is over the plot area; none when it leaves.
    void PointerMoved(std::optional<qint64> timeMs);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void UpdatePlotArea();

    QChart* m_chart = nullptr;
    QDateTimeAxis* m_time = nullptr;
    std::vector<QValueAxis*> m_axes;
    TrendLinesItem* m_lines = nullptr;
    int m_left = 80;
    int m_right = 80;
    int m_bottom = 40;
};

} // namespace orvane
