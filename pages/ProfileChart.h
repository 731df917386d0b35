#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QCheckBox>
#include <QEvent>
#include <QWidget>

#include "controls/CChartCtrl.h"
#include "core/rules/ProfileChartPoints.h"

namespace orvane {

// The profile page's chart with its "Fan 1" to "Fan 4" boxes beside it: one curve per
// fan shown, the selected fan's drawn wide and never hidden. Curves are made when
// their box is checked and dropped when it is cleared; only the selected fan's curve
// follows its record on every redraw.
class ProfileChart final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProfileChart)

public:
    // A fan's points as its record stands now.
    using CurveSource = std::function<std::vector<profile::ProfilePoint>(int fan)>;
    // `selectedFan` gives the fan chosen in "Settings for Fan", 0 for none.
    ProfileChart(CurveSource curveOf, std::function<int()> selectedFan, QWidget* parent = nullptr);

    // What moving a point by hand needs of the page.
    struct PointEditing {
        // The selected fan's points that can be moved now.
        std::function<std::vector<int>()> editable;
        std::function<profile::ProfilePoint(int point)> pointAt;
        std::function<profile::ProfileType()> type;
        // A point moved to a new place, already on its fields' steps.
        std::function<void(int point, profile::ProfilePoint at)> moved;
    };
    void SetPointEditing(PointEditing editing);

    void SetAxes(const profile::ChartAxes& axes);
    // Rebuilds and emphasises the selected fan's curve.
    void RedrawSelected();
    // A fan's box clicked.
    void OnFanBoxClicked(int fan, bool checked);
    // Each fan's operating point from live data, shown for the fans whose curves are
    // shown; none for a fan hides its marker.
    void ShowOperatingPoints(
        const std::array<std::optional<profile::ProfilePoint>, reg::kFanCount>& points,
        const profile::ProfileType& type);
    // The point of the selected fan that the keys move: 0 for none.
    int SelectedPoint() const { return m_selectedPoint; }
    void SelectPoint(int point);
    std::optional<int> OperatingMarker(int fan) const {
        return m_operating.at(static_cast<std::size_t>(fan - 1));
    }

    CChartCtrl* Chart() { return m_chart; }
    QCheckBox* FanBox(int fan) { return m_fanBoxes.at(static_cast<std::size_t>(fan - 1)); }
    // The chart's handle of the fan's curve while it is shown.
    std::optional<int> Curve(int fan) const {
        return m_curves.at(static_cast<std::size_t>(fan - 1));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCurve(int fan, int widthPx);
    void ShowSelection();
    // The editable point within reach of a spot of the chart view, 0 for none.
    int PointNear(const QPointF& viewPos) const;
    void MovePoint(int point, profile::ProfilePoint to);
    bool OnKey(int key);

    CurveSource m_curveOf;
    std::function<int()> m_selectedFan;
    CChartCtrl* m_chart = nullptr;
    std::array<QCheckBox*, reg::kFanCount> m_fanBoxes{};
    std::array<std::optional<int>, reg::kFanCount> m_curves{};
    std::array<std::optional<int>, reg::kFanCount> m_operating{};
    PointEditing m_editing;
    int m_selection = 0; // the ring around the selected point
    int m_selectedPoint = 0;
    bool m_dragging = false;
};

} // namespace orvane
