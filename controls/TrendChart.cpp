#include "controls/TrendChart.h"

#include <algorithm>
#include <cmath>

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsItem>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>

#include "controls/CChartCtrl.h"
#include "controls/FixedColours.h"

namespace orvane {

namespace {

constexpr int kPxPerTimeLabel = 110;
constexpr qint64 kDayMs = 24LL * 3600 * 1000;

// A line that runs up and down the plot many times over, as a fast signal does over a long
// window. A wide pen's stroke costs about the square of its crossings (seconds for one
// day-long line), while a one-pixel line is drawn directly; packed that close, the two
// look the same.
bool IsCrowded(const QPolygonF& line, double plotHeight) {
    constexpr double kCrossings = 8.0;
    double travel = 0.0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        travel += std::abs(line[i].y() - line[i - 1].y());
    }
    return travel > kCrossings * std::max(1.0, plotHeight);
}

} // namespace

// The lines, drawn over the plot area in one pass. Only what lies in the time range is
// mapped; everything is clipped to the plot area.
class TrendLinesItem final : public QGraphicsItem {
public:
    struct Line {
        TrendChart::LineStyle style;
        QList<QPolygonF> pieces;
        bool visible = true;
    };

    explicit TrendLinesItem(TrendChart& owner, QGraphicsItem* parent)
        : QGraphicsItem(parent), m_owner(owner) {
        setZValue(100);
    }

    void SetArea(const QRectF& area, double labelRoom) {
        prepareGeometryChange();
        m_area = area;
        m_labelRoom = labelRoom;
    }
    QRectF boundingRect() const override { return m_area.adjusted(-m_labelRoom, 0, 0, 0); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        const double from = double(m_owner.TimeFrom());
        const double span = std::max(1.0, double(m_owner.TimeTo()) - from);
        // The lanes' names beside them; the axis would cut them short in a fixed plot area.
        // The view's face is fixed white, so their ink is fixed dark, as the axes' labels are.
        painter->setPen(kFixedDarkInk);
        const double laneHeight =
            m_area.height() / double(std::max<qsizetype>(1, laneNames.size()));
        for (qsizetype i = 0; i < laneNames.size(); ++i) {
            const QRectF cell(m_area.left() - m_labelRoom,
                              m_area.bottom() - double(i + 1) * laneHeight, m_labelRoom - 8,
                              laneHeight);
            painter->drawText(cell, Qt::AlignRight | Qt::AlignVCenter, laneNames[i]);
        }
        painter->setClipRect(m_area);
        painter->setRenderHint(QPainter::Antialiasing);
        QPolygonF mapped;
        for (const Line& line : lines) {
            if (!line.visible) {
                continue;
            }
            const double low = m_owner.AxisMin(line.style.axis);
            const double range = std::max(1e-9, m_owner.AxisMax(line.style.axis) - low);
            const QPen pen(line.style.colour, line.style.widthPx, line.style.pen, Qt::RoundCap,
                           Qt::RoundJoin);
            const QPen thin(line.style.colour, 1, line.style.pen);
            for (const QPolygonF& piece : line.pieces) {
                mapped.resize(piece.size());
                for (qsizetype i = 0; i < piece.size(); ++i) {
                    mapped[i] =
                        QPointF(m_area.left() + (piece[i].x() - from) / span * m_area.width(),
                                m_area.bottom() - (piece[i].y() - low) / range * m_area.height());
                }
                painter->setPen(IsCrowded(mapped, m_area.height()) ? thin : pen);
                if (mapped.size() == 1) {
                    painter->drawPoint(mapped.front()); // a lone record: a dot
                } else {
                    painter->drawPolyline(mapped);
                }
            }
        }
        if (cursor) {
            painter->setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
            const double x = m_area.left() + (double(*cursor) - from) / span * m_area.width();
            painter->drawLine(QPointF(x, m_area.top()), QPointF(x, m_area.bottom()));
        }
    }

    std::vector<Line> lines;
    std::optional<qint64> cursor;
    QStringList laneNames; // bottom up

private:
    TrendChart& m_owner;
    QRectF m_area;
    double m_labelRoom = 0.0;
};

TrendChart::TrendChart(QWidget* parent) : QChartView(parent) {
    m_chart = new QChart;
    m_chart->legend()->hide();
    // The view paints the background: the chart's own would not follow a fixed plot area.
    m_chart->setBackgroundVisible(false);
    setBackgroundBrush(Qt::white);
    m_time = new QDateTimeAxis(m_chart);
    m_time->setFormat("hh:mm:ss");
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_lines = new TrendLinesItem(*this, m_chart);
    // The view made a chart of its own and gives it up, undeleted, to the one set here.
    QChart* const own = chart();
    setChart(m_chart);
    delete own;
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    SetTimeRange(0, 60'000);
}

void TrendChart::SetPlotMargins(int left, int right, int bottom) {
    m_left = left;
    m_right = right;
    m_bottom = bottom;
    UpdatePlotArea();
}

void TrendChart::ShowTimeLabels(bool shown) {
    m_time->setLabelsVisible(shown);
}

void TrendChart::SetTimeRange(qint64 fromMs, qint64 toMs) {
    toMs = std::max(toMs, fromMs + 1);
    if (fromMs == TimeFrom() && toMs == TimeTo()) {
        return;
    }
    m_time->setFormat(toMs - fromMs > kDayMs ? "dd/MM hh:mm" : "hh:mm:ss");
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(toMs));
    m_lines->update();
}

qint64 TrendChart::TimeFrom() const {
    return m_time->min().toMSecsSinceEpoch();
}

qint64 TrendChart::TimeTo() const {
    return m_time->max().toMSecsSinceEpoch();
}

int TrendChart::PlotColumns() const {
    return std::max(1, int(m_chart->plotArea().width()));
}

int TrendChart::AddValueAxis(const QString& title, Qt::Alignment side) {
    auto* axis = new QValueAxis(m_chart);
    axis->setTitleText(title);
    axis->setLabelFormat("%g");
    axis->setGridLineVisible(side == Qt::AlignLeft); // one grid: the left axis's
    m_chart->addAxis(axis, side);
    m_axes.push_back(axis);
    return int(m_axes.size()) - 1;
}

int TrendChart::AddLaneAxis(const QStringList& names) {
    auto* axis = new QCategoryAxis(m_chart);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    for (qsizetype i = 0; i < names.size(); ++i) {
        axis->append(names[i], double(i + 1));
    }
    axis->setRange(0, double(names.size()));
    axis->setGridLineVisible(true);
    axis->setLabelsVisible(false);
    m_lines->laneNames = names;
    m_chart->addAxis(axis, Qt::AlignLeft);
    m_axes.push_back(axis);
    return int(m_axes.size()) - 1;
}

void TrendChart::SetAxisTitle(int axis, const QString& title) {
    m_axes.at(std::size_t(axis))->setTitleText(title);
}

void TrendChart::SetAxisRange(int axis, double min, double max) {
    QValueAxis* target = m_axes.at(std::size_t(axis));
    if (target->min() != min || target->max() != max) {
        target->setRange(min, max);
        if (qobject_cast<QCategoryAxis*>(target) == nullptr) {
            // Labels on round values, whatever the range.
            target->setTickType(QValueAxis::TicksDynamic);
            target->setTickAnchor(0.0);
            target->setTickInterval(ChartTickInterval(min, max, 6));
        }
        m_lines->update();
    }
}

double TrendChart::AxisMin(int axis) const {
    return m_axes.at(std::size_t(axis))->min();
}

double TrendChart::AxisMax(int axis) const {
    return m_axes.at(std::size_t(axis))->max();
}

int TrendChart::AddLine(const LineStyle& style) {
    m_lines->lines.push_back({style, {}, true});
    return int(m_lines->lines.size()) - 1;
}

void TrendChart::SetLinePieces(int line, QList<QPolygonF> pieces) {
    m_lines->lines.at(std::size_t(line)).pieces = std::move(pieces);
    m_lines->update();
}

void TrendChart::SetLineVisible(int line, bool visible) {
    m_lines->lines.at(std::size_t(line)).visible = visible;
    m_lines->update();
}

const QList<QPolygonF>& TrendChart::LinePieces(int line) const {
    return m_lines->lines.at(std::size_t(line)).pieces;
}

bool TrendChart::IsLineVisible(int line) const {
    return m_lines->lines.at(std::size_t(line)).visible;
}

void TrendChart::SetCursorTime(std::optional<qint64> timeMs) {
    if (m_lines->cursor != timeMs) {
        m_lines->cursor = timeMs;
        m_lines->update();
    }
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    UpdatePlotArea();
}

void TrendChart::UpdatePlotArea() {
    const QRectF area(m_left, 8, std::max(10, width() - m_left - m_right),
                      std::max(10, height() - 8 - m_bottom));
    m_chart->setPlotArea(area);
    m_lines->SetArea(area, m_left);
    m_time->setTickCount(std::clamp(int(area.width()) / kPxPerTimeLabel + 1, 2, 12));
}

void TrendChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const QPointF at = m_chart->mapFromScene(mapToScene(event->position().toPoint()));
    const QRectF area = m_chart->plotArea();
    if (!area.contains(at)) {
        emit PointerMoved(std::nullopt);
        return;
    }
    const double share = (at.x() - area.left()) / area.width();
    emit PointerMoved(TimeFrom() + qint64(share * double(TimeTo() - TimeFrom())));
}

void TrendChart::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    emit PointerMoved(std::nullopt);
}

} // namespace orvane
