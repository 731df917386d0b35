#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QCheckBox>
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

    void SetAxes(const profile::ChartAxes& axes);
    // Rebuilds and emphasises the selected fan's curve.
    void RedrawSelected();
    // A fan's box clicked.
    void OnFanBoxClicked(int fan, bool checked);

    CChartCtrl* Chart() { return m_chart; }
    QCheckBox* FanBox(int fan) { return m_fanBoxes.at(static_cast<std::size_t>(fan - 1)); }
    // The chart's handle of the fan's curve while it is shown.
    std::optional<int> Curve(int fan) const {
        return m_curves.at(static_cast<std::size_t>(fan - 1));
    }

private:
    void ShowCurve(int fan, int widthPx);

    CurveSource m_curveOf;
    std::function<int()> m_selectedFan;
    CChartCtrl* m_chart = nullptr;
    std::array<QCheckBox*, reg::kFanCount> m_fanBoxes{};
    std::array<std::optional<int>, reg::kFanCount> m_curves{};
};

} // namespace orvane
