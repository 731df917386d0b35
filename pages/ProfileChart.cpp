#include "pages/ProfileChart.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"

namespace orvane {

namespace {

constexpr int kSelectedMarkerPx = 7;

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
        connect(box, &QCheckBox::clicked, this,
                [this, fan](bool checked) { OnFanBoxClicked(fan, checked); });
    }
    boxes->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart, 1);
    layout->addLayout(boxes);
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
    // Dots on the curve being edited show where its points are.
    m_chart->SetSeriesMarkers(*Curve(selected), kSelectedMarkerPx);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        if (const auto curve = Curve(fan); curve && fan != selected) {
            m_chart->SetSeriesWidth(*curve, profile::kOtherCurveWidth);
            m_chart->SetSeriesMarkers(*curve, 0);
        }
    }
}

void ProfileChart::OnFanBoxClicked(int fan, bool checked) {
    auto& curve = m_curves.at(static_cast<std::size_t>(fan - 1));
    if (checked) {
        if (!curve) {
            ShowCurve(fan, profile::kOtherCurveWidth);
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

} // namespace orvane
