#include "pages/ProfileChart.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"

namespace orvane {

namespace {

constexpr int kSelectedMarkerPx = 7;
constexpr int kOperatingMarkerPx = 14;
constexpr int kSelectionRingPx = 18;
constexpr double kReachPx = 12.0; // how near a press must be to take a point

QColor ToColour(profile::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// A short stroke of the fan's colour beside its box, so the boxes read as the legend.
QIcon CurveSwatch(int fan) {
    QPixmap pixmap(28, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ToColour(profile::FanCurveColour(fan)), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(3, 6, 25, 6);
    return QIcon(pixmap);
}

QList<QPointF> ToPoints(const std::vector<profile::ProfilePoint>& points) {
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const profile::ProfilePoint& point : points) {
        out.append(QPointF(point.x, point.y));
    }
    return out;
}

} // namespace

ProfileChart::ProfileChart(CurveSource curveOf, std::function<int()> selectedFan, QWidget* parent)
    : QWidget(parent), m_curveOf(std::move(curveOf)), m_selectedFan(std::move(selectedFan)),
      m_chart(new CChartCtrl) {
    m_chart->setAccessibleName(tr("Profile chart"));
    m_chart->setMinimumSize(420, 260);
    m_chart->SetBackgroundColour(ToColour(profile::kChartBackground));
    m_chart->setFocusPolicy(Qt::StrongFocus);
    m_chart->setToolTip(tr("Drag a point of the selected fan's curve, or press 1 to 8 to select "
                           "a point and the arrow keys to move it one step"));
    m_chart->installEventFilter(this);
    m_chart->viewport()->installEventFilter(this);
    m_chart->viewport()->setMouseTracking(true);
    SetAxes(profile::InitialChartAxes());

    auto* boxes = new QVBoxLayout;
    boxes->addStretch();
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        auto* box = new QCheckBox(tr("Fan %1").arg(fan));
        NameControl(box, box->text());
        box->setIcon(CurveSwatch(fan));
        box->setIconSize(QSize(28, 12));
        m_fanBoxes[static_cast<std::size_t>(fan - 1)] = box;
        boxes->addWidget(box);
        connect(box, &QCheckBox::toggled, this,
                [this, fan](bool checked) { OnFanBoxClicked(fan, checked); });
    }
    boxes->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart, 1);
    layout->addLayout(boxes);
}

void ProfileChart::SetPointEditing(PointEditing editing) {
    m_editing = std::move(editing);
}

void ProfileChart::SetAxes(const profile::ChartAxes& axes) {
    m_chart->SetAxis(CChartCtrl::Axis::Bottom, QString::fromStdString(axes.input.title),
                     axes.input.min, axes.input.max);
    m_chart->SetAxis(CChartCtrl::Axis::Left, QString::fromStdString(axes.speed.title),
                     axes.speed.min, axes.speed.max);
}

void ProfileChart::RedrawSelected() {
    const int selected = m_selectedFan();
    if (selected < 1 || selected > reg::kFanCount) {
        return;
    }
    FanBox(selected)->setChecked(true);
    ShowCurve(selected, profile::kSelectedCurveWidth);
    m_chart->BringToFront(*Curve(selected));
    // Dots on the curve being edited show where its points are.
    m_chart->SetSeriesMarkers(*Curve(selected), kSelectedMarkerPx);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        if (const auto curve = Curve(fan); curve && fan != selected) {
            m_chart->SetSeriesWidth(*curve, profile::kOtherCurveWidth);
            m_chart->SetSeriesMarkers(*curve, 0);
        }
    }
    ShowSelection();
}

void ProfileChart::OnFanBoxClicked(int fan, bool checked) {
    auto& curve = m_curves.at(static_cast<std::size_t>(fan - 1));
    if (checked) {
        if (!curve) {
            ShowCurve(fan, profile::kOtherCurveWidth);
            // The curve being edited stays drawn over the others.
            const int selected = m_selectedFan();
            if (selected >= 1 && selected <= reg::kFanCount && Curve(selected)) {
                m_chart->BringToFront(*Curve(selected));
            }
        }
        return;
    }
    if (fan == m_selectedFan()) {
        FanBox(fan)->setChecked(true); // the curve being edited stays in view
    } else if (curve) {
        m_chart->RemoveSeries(*curve);
        curve.reset();
    }
}

void ProfileChart::ShowCurve(int fan, int widthPx) {
    auto& curve = m_curves.at(static_cast<std::size_t>(fan - 1));
    if (curve) {
        m_chart->SetSeriesWidth(*curve, widthPx);
    } else {
        curve = m_chart->AddSeries(FanBox(fan)->text(), ToColour(profile::FanCurveColour(fan)),
                                   widthPx);
    }
    // The list is built for the fan's own point mode, and its length is the count drawn.
    m_chart->SetSeriesPoints(*curve, ToPoints(m_curveOf(fan)));
}

void ProfileChart::ShowOperatingPoints(
    const std::array<std::optional<profile::ProfilePoint>, reg::kFanCount>& points,
    const profile::ProfileType& type) {
    const QString inputUnit = type.IsVoltage() ? "V" : "\u00B0C";
    const QString speedUnit = type.speed == profile::SpeedUnit::Pwm ? "%" : "RPM";
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        auto& marker = m_operating.at(static_cast<std::size_t>(fan - 1));
        const auto& point = points.at(static_cast<std::size_t>(fan - 1));
        if (!point || !Curve(fan)) {
            if (marker) {
                m_chart->RemoveSeries(*marker);
                marker.reset();
            }
            continue;
        }
        if (!marker) {
            marker =
                m_chart->AddMarkers(tr("Fan %1 operating point").arg(fan),
                                    ToColour(profile::FanCurveColour(fan)), kOperatingMarkerPx);
        }
        const QString label = QString("%1 %2, %3 %4")
                                  .arg(QString::number(point->x, 'f', type.IsVoltage() ? 2 : 1),
                                       inputUnit, QString::number(point->y, 'f', 0), speedUnit);
        m_chart->SetMarkerPoints(*marker, {QPointF(point->x, point->y)}, label);
    }
}

void ProfileChart::SelectPoint(int point) {
    m_selectedPoint = point;
    ShowSelection();
}

void ProfileChart::ShowSelection() {
    const bool editable = m_editing.editable && m_selectedPoint != 0 &&
                          std::ranges::count(m_editing.editable(), m_selectedPoint) != 0;
    if (!editable) {
        m_selectedPoint = 0;
        if (m_selection != 0) {
            m_chart->RemoveSeries(m_selection);
            m_selection = 0;
        }
        return;
    }
    if (m_selection == 0) {
        m_selection =
            m_chart->AddMarkers(tr("Selected point"), Qt::transparent, kSelectionRingPx, Qt::black);
    }
    const profile::ProfilePoint at = m_editing.pointAt(m_selectedPoint);
    m_chart->SetMarkerPoints(m_selection, {QPointF(at.x, at.y)}, tr("%1").arg(m_selectedPoint));
}

int ProfileChart::PointNear(const QPointF& viewPos) const {
    if (!m_editing.editable) {
        return 0;
    }
    int nearest = 0;
    double best = kReachPx;
    for (const int point : m_editing.editable()) {
        const profile::ProfilePoint at = m_editing.pointAt(point);
        const QPointF shown = m_chart->PositionOf(QPointF(at.x, at.y));
        const double distance = QLineF(shown, viewPos).length();
        if (distance <= best) {
            best = distance;
            nearest = point;
        }
    }
    return nearest;
}

void ProfileChart::MovePoint(int point, profile::ProfilePoint to) {
    const profile::ProfilePoint snapped = profile::SnapMovedPoint(to, m_editing.type());
    if (!(snapped == m_editing.pointAt(point))) {
        m_editing.moved(point, snapped);
    }
    ShowSelection();
}

bool ProfileChart::OnKey(int key) {
    if (key >= Qt::Key_1 && key <= Qt::Key_8) {
        SelectPoint(key - Qt::Key_0);
        return m_selectedPoint != 0;
    }
    if (m_selectedPoint == 0) {
        return false;
    }
    const double step = m_editing.type().Step();
    profile::ProfilePoint at = m_editing.pointAt(m_selectedPoint);
    switch (key) {
    case Qt::Key_Left:
        at.x -= step;
        break;
    case Qt::Key_Right:
        at.x += step;
        break;
    case Qt::Key_Down:
        at.y -= 1.0;
        break;
    case Qt::Key_Up:
        at.y += 1.0;
        break;
    default:
        return false;
    }
    MovePoint(m_selectedPoint, at);
    return true;
}

bool ProfileChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chart && event->type() == QEvent::KeyPress) {
        return OnKey(static_cast<QKeyEvent*>(event)->key());
    }
    if (watched != m_chart->viewport()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        m_chart->setFocus(Qt::MouseFocusReason);
        const int point = PointNear(mouse->position());
        SelectPoint(point);
        m_dragging = point != 0;
        return m_dragging;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging) {
            const QPointF value = m_chart->ValueAt(mouse->position());
            MovePoint(m_selectedPoint, {value.x(), value.y()});
            return true;
        }
        m_chart->viewport()->setCursor(PointNear(mouse->position()) != 0 ? Qt::OpenHandCursor
                                                                         : Qt::ArrowCursor);
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragging) {
            m_dragging = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace orvane
