#include "pages/TrendWindow.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

#include <QDateTime>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/CChartCtrl.h"
#include "core/image/RegisterLayout.h"
#include "core/reports/LiveCsv.h"
#include "core/reports/TrendCsv.h"
#include "core/rules/ProfileChartPoints.h"

namespace orvane {

namespace {

using trend::kAlarmBits;
using trend::kAlarmsSeries;
using trend::kChannelCount;
using trend::kSeriesCount;
using trend::SeriesKind;

constexpr int kRefreshMs = 200; // records taken together are drawn together
constexpr int kSwitchChannels = 2;
constexpr int kLaneCount = kSwitchChannels + kAlarmBits;
constexpr double kLaneFoot = 0.2;
constexpr double kLaneRise = 0.6;
constexpr int kPlotLeft = 80;
constexpr int kPlotRight = 130;

const QStringList kWindowNames{"1 min", "10 min", "1 h", "all"};
constexpr int kDefaultWindow = 1;
// Bottom up, so that the switch inputs are on top and the relays at the foot.
const QStringList kLaneNames{"Relay 2", "Relay 1", "Alarm 4", "Alarm 3",
                             "Alarm 2", "Alarm 1", "INP2",    "INP1"};
const QString kPointerHint = "Point at the chart to read the values at that time.";

QColor SeriesColour(int channel) {
    if (channel < 8) {
        const profile::Rgb rgb = profile::FanCurveColour(channel / 2 + 1);
        return QColor(rgb.red, rgb.green, rgb.blue);
    }
    switch (channel) {
    case 8:
        return QColor(230, 120, 0);
    case 9:
        return QColor(150, 40, 170);
    case 10:
        return QColor(0, 110, 130);
    case 11:
        return QColor(120, 90, 0);
    default:
        return QColor(200, 0, 0);
    }
}

int LaneOf(int channel) {
    return channel < kAlarmsSeries ? kLaneCount - 1 - (channel - 10)
                                   : kAlarmBits - 1 - (channel - kAlarmsSeries);
}

QIcon Swatch(const QColor& colour, Qt::PenStyle style) {
    QPixmap pixmap(28, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(colour, 3, style, Qt::FlatCap));
    painter.drawLine(2, 6, 26, 6);
    return QIcon(pixmap);
}

// A round top for an axis: the next multiple of its tick step.
double RoundedUp(double value) {
    const double step = ChartTickInterval(0.0, value, 6);
    return std::ceil(value / step) * step;
}

QString ColumnName(int series) {
    return QString::fromStdString(LiveCsvHeader().at(std::size_t(series) + 1));
}

} // namespace

TrendWindow::TrendWindow(trend::TrendHistory& history, const RegisterImage& image,
                         IPrompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), m_image(image), m_prompter(prompter), m_history(history) {
    setWindowTitle("Trend");
    setAccessibleName("Trend");
    BuildLayout();
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &TrendWindow::Refresh);
    resize(1100, 660);
    UpdateDescription();
}

void TrendWindow::BuildLayout() {
    m_window = new QComboBox;
    m_window->addItems(kWindowNames);
    m_window->setCurrentIndex(kDefaultWindow);
    NameControl(m_window, "Window");
    TrackShownValue(m_window);
    m_pause = new QPushButton("Pause");
    m_pause->setCheckable(true);
    NameControl(m_pause, m_pause->text());
    m_exportCsv = new QPushButton("Export CSV...");
    NameControl(m_exportCsv, m_exportCsv->text());
    m_exportPng = new QPushButton("Export PNG...");
    NameControl(m_exportPng, m_exportPng->text());
    m_count = new QLabel;
    m_count->setAccessibleName("Records");
    m_readout = new QLabel;
    m_readout->setAccessibleName("Values under the pointer");
    m_readout->setWordWrap(true);
    m_readout->setMinimumHeight(m_readout->fontMetrics().lineSpacing() * 2);
    ShowText(m_readout, kPointerHint);

    auto* controls = new QHBoxLayout;
    controls->addWidget(NewCaption("Window", m_window));
    controls->addWidget(m_window);
    controls->addSpacing(12);
    controls->addWidget(m_pause);
    controls->addSpacing(12);
    controls->addWidget(m_count, 1);
    controls->addWidget(m_exportCsv);
    controls->addWidget(m_exportPng);

    BuildCharts();
    auto* seriesColumn = new QVBoxLayout;
    seriesColumn->setSpacing(2);
    for (int series = 0; series < kSeriesCount; ++series) {
        const int channel = series == kAlarmsSeries ? kAlarmsSeries : series;
        auto* box = new QCheckBox(ColumnName(series));
        NameControl(box, box->text());
        box->setChecked(true);
        const bool dashed = trend::KindOf(series) == SeriesKind::SetSpeed;
        box->setIcon(Swatch(SeriesColour(channel), dashed ? Qt::DashLine : Qt::SolidLine));
        box->setIconSize(QSize(28, 12));
        m_seriesBoxes[std::size_t(series)] = box;
        seriesColumn->addWidget(box);
        connect(box, &QCheckBox::toggled, this,
                [this, series](bool shown) { ShowSeries(series, shown); });
    }
    seriesColumn->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_chartArea, 1);
    middle->addLayout(seriesColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(middle, 1);
    layout->addWidget(m_readout);

    connect(m_window, &QComboBox::currentIndexChanged, this, [this] {
        m_sampled = false;
        Refresh();
    });
    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) {
        ShowText(m_count, m_count->text()); // the count says whether the view is frozen
        if (!paused) {
            Refresh();
        }
    });
    connect(m_exportCsv, &QPushButton::clicked, this, &TrendWindow::OnExportCsv);
    connect(m_exportPng, &QPushButton::clicked, this, &TrendWindow::OnExportPng);
}

void TrendWindow::BuildCharts() {
    m_chartArea = new QWidget;
    m_values = new TrendChart;
    m_values->setAccessibleName("Trend of speeds and sensors");
    m_values->SetPlotMargins(kPlotLeft, kPlotRight, 12);
    m_values->ShowTimeLabels(false);
    m_speedAxis = m_values->AddValueAxis("Fan speed (RPM)", Qt::AlignLeft);
    m_setSpeedAxis = m_values->AddValueAxis("Set speed (%)", Qt::AlignRight);
    m_sensorAxis = m_values->AddValueAxis("Sensor (\u00B0C)", Qt::AlignRight);
    m_values->SetAxisRange(m_speedAxis, 0, 3000);
    m_values->SetAxisRange(m_setSpeedAxis, 0, 100);
    m_values->SetAxisRange(m_sensorAxis, 0, 50);
    m_lanes = new TrendChart;
    m_lanes->setAccessibleName("Trend of switch inputs and alarms");
    m_lanes->SetPlotMargins(kPlotLeft, kPlotRight, 44);
    m_laneAxis = m_lanes->AddLaneAxis(kLaneNames);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const SeriesKind kind = trend::KindOf(trend::SeriesOfChannel(channel));
        TrendChart::LineStyle style{m_speedAxis, SeriesColour(channel), Qt::SolidLine, 2};
        TrendChart* chart = m_values;
        if (kind == SeriesKind::SetSpeed) {
            style.axis = m_setSpeedAxis;
            style.pen = Qt::DashLine;
            style.widthPx = 1;
        } else if (kind == SeriesKind::Sensor) {
            style.axis = m_sensorAxis;
        } else if (kind == SeriesKind::Switch || kind == SeriesKind::Alarms) {
            style.axis = m_laneAxis;
            chart = m_lanes;
        }
        m_lineOf[std::size_t(channel)] = chart->AddLine(style);
    }
    auto* charts = new QVBoxLayout(m_chartArea);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->setSpacing(0);
    charts->addWidget(m_values, 3);
    charts->addWidget(m_lanes, 2);
    m_values->setMinimumHeight(220);
    m_lanes->setMinimumHeight(170);
    for (TrendChart* chart : {m_values, m_lanes}) {
        connect(chart, &TrendChart::PointerMoved, this, &TrendWindow::ShowPointer);
    }
}

TrendChart* TrendWindow::ChartOf(int channel) {
    const SeriesKind kind = trend::KindOf(trend::SeriesOfChannel(channel));
    return kind == SeriesKind::Switch || kind == SeriesKind::Alarms ? m_lanes : m_values;
}

void TrendWindow::Open() {
    show();
    raise();
    activateWindow();
}

void TrendWindow::OnMainTick(std::string_view receiveText, std::int64_t nowMs) {
    if (m_history.Take(receiveText, nowMs) > 0) {
        ScheduleRefresh();
    }
}

void TrendWindow::ScheduleRefresh() {
    if (!m_refresh.isActive()) {
        m_refresh.start();
    }
}

bool TrendWindow::Drawing() const {
    return isVisible() && !m_pause->isChecked();
}

void TrendWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_sampled = false;
    Refresh();
}

void TrendWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ScheduleRefresh();
}

void TrendWindow::Refresh() {
    m_refresh.stop();
    UpdateDescription();
    const trend::TrendRing& ring = m_history.Records();
    if (!Drawing() || ring.Empty()) {
        return;
    }
    const std::int64_t span = kWindowsMs.at(std::size_t(std::max(0, m_window->currentIndex())));
    const std::int64_t to = ring.Newest().timeMs;
    const std::int64_t from = span != 0 ? to - span : ring.At(0).timeMs;
    const std::int64_t width = trend::BucketWidth(to - from, m_values->PlotColumns());
    const std::uint64_t unfed = ring.PushedCount() - m_fed;
    // A fixed window keeps one bucket a pixel column; all that is kept is drawn coarser
    // up to four times, so that it is sampled afresh only each time its span doubles.
    const bool stale = span != 0 ? m_sampler.WidthMs() != width
                                 : m_sampler.WidthMs() < width || m_sampler.WidthMs() > 4 * width;
    const bool resample = !m_sampled || stale || unfed > ring.Size();
    // Until the newest record is a pixel column on, a redraw could not show it: over a long
    // window the lines are drawn once a column, not once a record.
    if (!resample && to - m_shownTo < width) {
        return;
    }
    if (resample) {
        Rebuild(from, span != 0 ? width : 2 * width);
    } else {
        FeedSampler();
    }
    m_sampler.DropBefore(from);
    m_shownFrom = from;
    m_shownTo = to;
    m_values->SetTimeRange(from, to);
    m_lanes->SetTimeRange(from, to);
    DrawLines();
    ScaleAxes();
}

void TrendWindow::Rebuild(std::int64_t fromMs, std::int64_t widthMs) {
    m_sampler.Reset(widthMs);
    const trend::TrendRing& ring = m_history.Records();
    const std::size_t first = ring.LowerBound(fromMs - widthMs);
    m_fed = ring.PushedCount() - (ring.Size() - first);
    FeedSampler();
    m_sampled = true;
}

void TrendWindow::FeedSampler() {
    const trend::TrendRing& ring = m_history.Records();
    for (; m_fed < ring.PushedCount(); ++m_fed) {
        const std::size_t i = ring.Size() - std::size_t(ring.PushedCount() - m_fed);
        m_sampler.Add(ring.At(i), i == 0 ? nullptr : &ring.At(i - 1), m_history.RecordPeriodMs());
    }
}

void TrendWindow::DrawLines() {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const bool lane = ChartOf(channel) == m_lanes;
        const double base = LaneOf(channel) + kLaneFoot;
        QList<QPolygonF> pieces;
        for (const trend::Polyline& line : m_sampler.Lines(channel)) {
            const trend::Polyline drawn = lane ? trend::AsSteps(line) : line;
            QPolygonF piece;
            piece.reserve(qsizetype(drawn.size()));
            for (const trend::TrendPoint& point : drawn) {
                piece.append(QPointF(double(point.timeMs),
                                     lane ? base + kLaneRise * point.value : point.value));
            }
            pieces.append(piece);
        }
        ChartOf(channel)->SetLinePieces(LineOf(channel), std::move(pieces));
    }
}

void TrendWindow::ScaleAxes() {
    double fastest = 0.0;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    for (int channel = 0; channel < kAlarmsSeries - kSwitchChannels; ++channel) {
        if (!m_values->IsLineVisible(LineOf(channel))) {
            continue;
        }
        const SeriesKind kind = trend::KindOf(channel);
        for (const QPolygonF& piece : m_values->LinePieces(LineOf(channel))) {
            for (const QPointF& point : piece) {
                if (kind == SeriesKind::Speed) {
                    fastest = std::max(fastest, point.y());
                } else if (kind == SeriesKind::Sensor) {
                    low = std::min(low, point.y());
                    high = std::max(high, point.y());
                }
            }
        }
    }
    m_values->SetAxisRange(m_speedAxis, 0, RoundedUp(std::max(100.0, fastest * 1.05)));
    const bool volts = reg::IsVoltageMode(m_image);
    m_values->SetAxisTitle(m_sensorAxis, volts ? "Sensor (V)" : "Sensor (\u00B0C)");
    if (low > high) {
        low = 0.0;
        high = volts ? 10.0 : 50.0;
    }
    const double step = ChartTickInterval(low, high + 1.0, 6);
    m_values->SetAxisRange(m_sensorAxis, std::floor(low / step) * step - step,
                           std::ceil(high / step) * step + step);
}

void TrendWindow::ShowSeries(int series, bool shown) {
    const int first = series == kAlarmsSeries ? kAlarmsSeries : series;
    const int last = series == kAlarmsSeries ? kChannelCount - 1 : series;
    for (int channel = first; channel <= last; ++channel) {
        ChartOf(channel)->SetLineVisible(LineOf(channel), shown);
    }
    UpdateDescription();
    ScaleAxes();
}

void TrendWindow::ShowPointer(std::optional<qint64> timeMs) {
    const trend::TrendRing& ring = m_history.Records();
    std::optional<std::size_t> nearest;
    if (timeMs && !ring.Empty()) {
        const std::size_t i = ring.LowerBound(*timeMs);
        const auto distance = [&](std::size_t k) {
            return std::llabs(ring.At(k).timeMs - *timeMs);
        };
        std::size_t best = std::min(i, ring.Size() - 1);
        if (i > 0 && (i == ring.Size() || distance(i - 1) < distance(best))) {
            best = i - 1;
        }
        // Over a gap there is nothing to read.
        if (distance(best) <= std::max(2 * m_history.RecordPeriodMs(), m_sampler.WidthMs())) {
            nearest = best;
        }
    }
    if (!nearest) {
        m_values->SetCursorTime(std::nullopt);
        m_lanes->SetCursorTime(std::nullopt);
        ShowText(m_readout, timeMs ? QString("No record at this time.") : kPointerHint);
        return;
    }
    const trend::TrendRecord& record = ring.At(*nearest);
    m_values->SetCursorTime(record.timeMs);
    m_lanes->SetCursorTime(record.timeMs);
    const std::vector<std::string> cells = LiveCsvCells("", record.Fields());
    QStringList parts{QDateTime::fromMSecsSinceEpoch(record.timeMs).toString("hh:mm:ss")};
    for (int series = 0; series < kSeriesCount; ++series) {
        if (SeriesBox(series)->isChecked()) {
            parts << ColumnName(series) + " " +
                         QString::fromStdString(cells[std::size_t(series) + 1]);
        }
    }
    ShowText(m_readout, parts.join("  "));
}

void TrendWindow::UpdateDescription() {
    const trend::TrendRing& ring = m_history.Records();
    ShowText(m_count,
             QString("%1 records%2").arg(ring.Size()).arg(m_pause->isChecked() ? ", paused" : ""));
    if (ring.Empty()) {
        for (QWidget* shown : std::initializer_list<QWidget*>{this, m_values, m_lanes}) {
            shown->setAccessibleDescription("no records");
        }
        return;
    }
    const std::vector<std::string> cells = LiveCsvCells("", ring.Newest().Fields());
    QStringList all;
    QStringList values;
    QStringList lanes;
    for (int series = 0; series < kSeriesCount; ++series) {
        if (!SeriesBox(series)->isChecked()) {
            continue;
        }
        const QString text =
            ColumnName(series) + " " + QString::fromStdString(cells[std::size_t(series) + 1]);
        all << text;
        (ChartOf(series) == m_values ? values : lanes) << text;
    }
    setAccessibleDescription(all.join(", "));
    m_values->setAccessibleDescription(values.join(", "));
    m_lanes->setAccessibleDescription(lanes.join(", "));
}

void TrendWindow::OnExportCsv() {
    const auto path = m_prompter.AskSaveFile({"trend.csv", "csv", true, {"CSV files (*.csv)"}});
    if (!path) {
        return;
    }
    std::ofstream file(*path, std::ios::binary | std::ios::trunc);
    file << TrendCsv(m_history.Records(), m_shownFrom, m_shownTo);
    file.close();
    if (!file) {
        m_prompter.ShowMessage("The file " + *path + " could not be written.", "Export CSV...",
                               MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void TrendWindow::OnExportPng() {
    const auto path = m_prompter.AskSaveFile({"trend.png", "png", true, {"PNG images (*.png)"}});
    if (!path) {
        return;
    }
    if (!m_chartArea->grab().save(QString::fromStdString(*path), "PNG")) {
        m_prompter.ShowMessage("The file " + *path + " could not be written.", "Export PNG...",
                               MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

} // namespace orvane
