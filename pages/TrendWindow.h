#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "controls/TrendChart.h"
#include "core/comms/Prompter.h"
#include "core/image/RegisterImage.h"
#include "core/rules/TrendDownsample.h"
#include "core/rules/TrendHistory.h"

namespace orvane {

// The "Trend" window: every live record over time, fans' speeds and set speeds, the
// sensors, switch inputs and alarm bits, in a window of the last minute, ten minutes, hour
// or all that is kept. It draws the history the main window keeps, which fills whether the
// window was ever built or not; it only draws while it is shown and not paused.
class TrendWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendWindow)

public:
    // The windows offered, in the order of the list; 0 for all that is kept.
    static constexpr std::array<std::int64_t, 4> kWindowsMs{60'000, 600'000, 3'600'000, 0};

    TrendWindow(trend::TrendHistory& history, const RegisterImage& image, IPrompter& prompter,
                QWidget* parent = nullptr);

    // Every main tick once built: takes the new records of the receive text into the history.
    void OnMainTick(std::string_view receiveText, std::int64_t nowMs);
    // Shows the window, or brings it to the front.
    void Open();

    void OnExportCsv();
    void OnExportPng();

    const trend::TrendHistory& History() const { return m_history; }
    QComboBox* WindowList() { return m_window; }
    QPushButton* PauseButton() { return m_pause; }
    QPushButton* ExportCsvButton() { return m_exportCsv; }
    QPushButton* ExportPngButton() { return m_exportPng; }
    QCheckBox* SeriesBox(int series) { return m_seriesBoxes.at(std::size_t(series)); }
    QLabel* PointerReadout() { return m_readout; }
    TrendChart* ValuesChart() { return m_values; }
    TrendChart* LanesChart() { return m_lanes; }
    // The line of a channel and the chart it is in.
    int LineOf(int channel) const { return m_lineOf.at(std::size_t(channel)); }
    TrendChart* ChartOf(int channel);
    // The time range shown: the window's span up to the newest record.
    std::int64_t ShownFrom() const { return m_shownFrom; }
    std::int64_t ShownTo() const { return m_shownTo; }
    // Draws what is due now rather than on the next refresh.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildLayout();
    void BuildCharts();
    void Rebuild(std::int64_t fromMs, std::int64_t widthMs);
    void FeedSampler();
    void DrawLines();
    void ScaleAxes();
    void ShowSeries(int series, bool shown);
    void ShowPointer(std::optional<qint64> timeMs);
    void UpdateDescription();
    void ScheduleRefresh();
    bool Drawing() const;

    const RegisterImage& m_image;
    IPrompter& m_prompter;
    trend::TrendHistory& m_history;
    trend::TrendDownsampler m_sampler;
    std::uint64_t m_fed = 0; // records given to the sampler, counted as the ring counts
    bool m_sampled = false;  // whether the sampler holds the window being shown
    std::int64_t m_shownFrom = 0;
    std::int64_t m_shownTo = 0;

    QComboBox* m_window = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_exportCsv = nullptr;
    QPushButton* m_exportPng = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_readout = nullptr;
    QWidget* m_chartArea = nullptr;
    TrendChart* m_values = nullptr;
    TrendChart* m_lanes = nullptr;
    int m_speedAxis = 0;
    int m_setSpeedAxis = 0;
    int m_sensorAxis = 0;
    int m_laneAxis = 0;
    std::array<QCheckBox*, trend::kSeriesCount> m_seriesBoxes{};
    std::array<int, trend::kChannelCount> m_lineOf{};
    QTimer m_refresh;
};

} // namespace orvane
