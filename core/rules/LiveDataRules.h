#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/comms/LiveFields.h"
#include "core/image/RegisterImage.h"

namespace orvane {

class ISequencerStatus;

// The "Live Data" page's pictures, by resource id.
inline constexpr int kPictureLiveLogging = 242; // animated while lines are logged
inline constexpr int kPictureLiveIdle = 243;

inline constexpr int kLiveDataRows = 5;
inline constexpr int kLiveDataColumns = 14;

// The text above the table: the measured-values title, a blank line and the column
// names, spaced for temperature sensors or, in the 0-10 V modes, voltage inputs.
std::string LiveDataHeader(bool voltageInputs);

// Column c (1 to 14) of the newest row, from live field c - 1: fan speeds and set
// speeds as whole numbers, the sensors with one decimal, "FAIL" kept, the rest as sent.
std::string FormatLiveCell(int column, std::string_view text);

using LiveDataRow = std::array<std::string, kLiveDataColumns>;
using LiveDataTable = std::array<LiveDataRow, kLiveDataRows>;

// What the page does on one tick of its timer; unset fields leave things as they are.
struct LiveDataTickActions {
    std::optional<bool> voltageHeader; // show this header variant
    std::optional<bool> logBoxChecked; // set "Log Data File" (by program: no request)
    std::optional<int> picture;        // load and play kPictureLiveIdle or kPictureLiveLogging
    bool refreshDone = false;          // set the page's refresh flag to "1"
    bool tableChanged = false;         // a display step added a row
};

// The page's own state across ticks: the step counter that spreads the page's
// re-initialisation over two ticks after it is shown, which picture it shows, and
// the last five readings, newest first.
class LiveDataRules {
public:
    // One tick while the page's tab is visible. refreshPending: the page's refresh
    // flag reads "0"; loggingPlaying: the page's logging animation is playing.
    LiveDataTickActions OnTick(const RegisterImage& image, const ISequencerStatus& sequencer,
                               bool refreshPending, bool loggingPlaying);

    // Moves every row down one (the oldest is lost) and fills the top row.
    void DisplayStep(const LiveFields& fields);

    const LiveDataTable& Table() const { return m_table; }
    int Step() const { return m_step; }

private:
    void ShowIdle(LiveDataTickActions& actions);

    LiveDataTable m_table{};
    int m_step = 0; // 0, 1 or 3
    bool m_idleShown = false;
    bool m_loggingShown = false;
};

} // namespace orvane
