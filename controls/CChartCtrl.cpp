#include "controls/CChartCtrl.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace orvane {

namespace {

// Room the axes' labels and titles take beside the plot, and what one label needs.
constexpr int kLeftAxisPx = 90;
constexpr int kBottomAxisPx = 70;
constexpr int kPxPerBottomStep = 45;
constexpr int kPxPerLeftStep = 24;

void SetPen(QXYSeries* series, const QColor& colour, int widthPx) {
    series->setPen(QPen(colour, widthPx, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

} // namespace

double ChartTickInterval(double min, double max, int maxSteps) {
    const double span = max - min;
    if (!(span > 0.0) || maxSteps < 1) {
        return 1.0;
    }
    double power = std::pow(10.0, std::floor(std::log10(span / maxSteps)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (span / (factor * power) <= maxSteps + 1e-9) {
                return factor * power;
            }
        }
        power *= 10.0;
    }
}

int ChartTickSteps(int axisLengthPx, int pxPerStep) {
    constexpr int kFewest = 2;
    constexpr int kMost = 12;
    return pxPerStep > 0 ? std::clamp(axisLengthPx / pxPerStep, kFewest, kMost) : kMost;
}

CChartCtrl::CChartCtrl(QWidget* parent) : QChartView(parent) {
    m_chart = new QChart;
    m_bottom = new QValueAxis(m_chart);
    m_left = new QValueAxis(m_chart);
    m_chart->legend()->hide();
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(6, 6, 12, 6));
    m_chart->setPlotAreaBackgroundVisible(false);
    m_chart->addAxis(m_bottom, Qt::AlignBottom);
    m_chart->addAxis(m_left, Qt::AlignLeft);
    for (QValueAxis* axis : {m_bottom, m_left}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setLabelFormat("%g");
        axis->setMinorTickCount(1);
        QFont title = axis->titleFont();
        title.setBold(true);
        axis->setTitleFont(title);
    }
    // The view made a chart of its own and gives it up, undeleted, to the one set here.
    QChart* const own = chart();
    setChart(m_chart);
    delete own;
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    UpdateDescription();
}

void CChartCtrl::SetBackgroundColour(const QColor& colour) {
    m_chart->setBackgroundBrush(colour);
    setBackgroundBrush(colour);
}

QColor CChartCtrl::BackgroundColour() const {
    return m_chart->backgroundBrush().color();
}

QValueAxis* CChartCtrl::AxisOf(Axis axis) const {
    return axis == Axis::Bottom ? m_bottom : m_left;
}

void CChartCtrl::SetAxis(Axis axis, const QString& title, double min, double max) {
    QValueAxis* target = AxisOf(axis);
    target->setTitleText(title);
    target->setRange(min, max);
    UpdateTickIntervals();
}

void CChartCtrl::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    UpdateTickIntervals();
}

void CChartCtrl::UpdateTickIntervals() {
    m_bottom->setTickInterval(ChartTickInterval(
        m_bottom->min(), m_bottom->max(), ChartTickSteps(width() - kLeftAxisPx, kPxPerBottomStep)));
    m_left->setTickInterval(ChartTickInterval(
        m_left->min(), m_left->max(), ChartTickSteps(height() - kBottomAxisPx, kPxPerLeftStep)));
}

QString CChartCtrl::AxisTitle(Axis axis) const {
    return AxisOf(axis)->titleText();
}

double CChartCtrl::AxisMin(Axis axis) const {
    return AxisOf(axis)->min();
}

double CChartCtrl::AxisMax(Axis axis) const {
    return AxisOf(axis)->max();
}

int CChartCtrl::AddSeries(const QString& name, const QColor& colour, int widthPx) {
    auto* series = new QLineSeries;
    series->setName(name);
    SetPen(series, colour, widthPx);
    return Attach(series);
}

int CChartCtrl::AddMarkers(const QString& name, const QColor& colour, int sizePx,
                           const QColor& rim) {
    auto* series = new QScatterSeries;
    series->setName(name);
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(sizePx);
    series->setColor(colour);
    series->setPen(QPen(rim, 2));
    series->setPointLabelsColor(Qt::black);
    series->setPointLabelsClipping(false);
    QFont font = series->pointLabelsFont();
    font.setBold(true);
    series->setPointLabelsFont(font);
    return Attach(series);
}

int CChartCtrl::Attach(QXYSeries* series) {
    m_chart->addSeries(series);
    series->attachAxis(m_bottom);
    series->attachAxis(m_left);
    const int handle = m_nextHandle++;
    m_series.emplace(handle, series);
    UpdateDescription();
    return handle;
}

void CChartCtrl::Reattach(QAbstractSeries* series) {
    m_chart->removeSeries(series);
    m_chart->addSeries(series);
    series->attachAxis(m_bottom);
    series->attachAxis(m_left);
}

void CChartCtrl::BringToFront(int handle) {
    QXYSeries* front = Series(handle);
    const QList<QAbstractSeries*> drawn = m_chart->series();
    const auto lastLine = std::find_if(drawn.rbegin(), drawn.rend(), [](QAbstractSeries* series) {
        return series->type() != QAbstractSeries::SeriesTypeScatter;
    });
    if (front == nullptr || (lastLine != drawn.rend() && *lastLine == front)) {
        return;
    }
    // Series of one kind are drawn in the order the chart was given them.
    Reattach(front);
    for (QAbstractSeries* series : m_chart->series()) {
        if (series->type() == QAbstractSeries::SeriesTypeScatter) {
            Reattach(series);
        }
    }
}

QStringList CChartCtrl::DrawingOrder() const {
    QStringList names;
    for (const QAbstractSeries* series : m_chart->series()) {
        names << series->name();
    }
    return names;
}

void CChartCtrl::SetMarkerPoints(int handle, const QList<QPointF>& points, const QString& label) {
    if (QXYSeries* series = Series(handle)) {
        series->replace(points);
        // A text with no "@" field is shown as it stands beside every point.
        series->setPointLabelsFormat(label);
        series->setPointLabelsVisible(!label.isEmpty());
        UpdateDescription();
    }
}

QString CChartCtrl::MarkerLabel(int handle) const {
    const QXYSeries* series = Series(handle);
    return series != nullptr && series->pointLabelsVisible() ? series->pointLabelsFormat()
                                                             : QString();
}

QPointF CChartCtrl::ValueAt(const QPointF& viewPos) const {
    const QPointF at = m_chart->mapFromScene(mapToScene(viewPos.toPoint()));
    const QRectF area = m_chart->plotArea();
    return {m_bottom->min() +
                (at.x() - area.left()) / area.width() * (m_bottom->max() - m_bottom->min()),
            m_left->min() +
                (area.bottom() - at.y()) / area.height() * (m_left->max() - m_left->min())};
}

QPointF CChartCtrl::PositionOf(const QPointF& value) const {
    const QRectF area = m_chart->plotArea();
    const QPointF at(area.left() + (value.x() - m_bottom->min()) /
                                       (m_bottom->max() - m_bottom->min()) * area.width(),
                     area.bottom() - (value.y() - m_left->min()) / (m_left->max() - m_left->min()) *
                                         area.height());
    return mapFromScene(m_chart->mapToScene(at));
}

void CChartCtrl::RemoveSeries(int handle) {
    if (QXYSeries* series = Series(handle)) {
        m_chart->removeSeries(series);
        delete series;
        m_series.erase(handle);
        UpdateDescription();
    }
}

bool CChartCtrl::HasSeries(int handle) const {
    return Series(handle) != nullptr;
}

void CChartCtrl::SetSeriesPoints(int handle, const QList<QPointF>& points) {
    if (QXYSeries* series = Series(handle)) {
        series->replace(points);
        UpdateDescription();
    }
}

void CChartCtrl::SetSeriesColour(int handle, const QColor& colour) {
    if (QXYSeries* series = Series(handle)) {
        SetPen(series, colour, series->pen().width());
    }
}

void CChartCtrl::SetSeriesWidth(int handle, int widthPx) {
    if (QXYSeries* series = Series(handle)) {
        SetPen(series, series->pen().color(), widthPx);
    }
}

void CChartCtrl::SetSeriesMarkers(int handle, int sizePx) {
    if (QXYSeries* series = Series(handle)) {
        series->setPointsVisible(sizePx > 0);
        series->setMarkerSize(sizePx);
    }
}

QList<QPointF> CChartCtrl::SeriesPoints(int handle) const {
    const QXYSeries* series = Series(handle);
    return series != nullptr ? series->points() : QList<QPointF>{};
}

QColor CChartCtrl::SeriesColour(int handle) const {
    const QXYSeries* series = Series(handle);
    return series != nullptr ? series->pen().color() : QColor();
}

int CChartCtrl::SeriesWidth(int handle) const {
    const QXYSeries* series = Series(handle);
    return series != nullptr ? series->pen().width() : 0;
}

QString CChartCtrl::DescribeSeries() const {
    QStringList lines;
    for (const auto& [handle, series] : m_series) {
        QString line = series->name() + ":";
        for (const QPointF& point : series->points()) {
            line +=
                QString(" (%1, %2)")
                    .arg(QString::number(point.x(), 'g', 10), QString::number(point.y(), 'g', 10));
        }
        lines << line;
    }
    return lines.join('\n');
}

QXYSeries* CChartCtrl::Series(int handle) const {
    const auto found = m_series.find(handle);
    return found != m_series.end() ? found->second : nullptr;
}

void CChartCtrl::UpdateDescription() {
    setAccessibleDescription(DescribeSeries());
}

} // namespace orvane
