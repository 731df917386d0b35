#include "core/rules/LiveDataRules.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "core/comms/LiveText.h"
#include "core/comms/SequencerAccess.h"
#include "core/comms/SequencerCodes.h"
#include "core/image/RegisterLayout.h"

namespace orvane {

namespace {

// Each column name with the blanks that follow it.
struct HeaderColumn {
    std::string_view label;
    int blanks;
};

constexpr std::array<HeaderColumn, kLiveDataColumns> kTemperatureColumns{{
    {"RPM1", 4},
    {"PWM1", 4},
    {"RPM2", 2},
    {"PWM2", 3},
    {"RPM3", 4},
    {"PWM3", 3},
    {"RPM4", 4},
    {"PWM4", 3},
    {"NTC1", 4},
    {"NCT2", 5},
    {"INP1", 7},
    {"INP2", 8},
    {"ALARMS", 3},
    {"Uptime(s)", 0},
}};
constexpr std::array<HeaderColumn, kLiveDataColumns> kVoltageColumns{{
    {"RPM1", 4},
    {"PWM1", 4},
    {"RPM2", 2},
    {"PWM2", 3},
    {"RPM3", 4},
    {"PWM3", 3},
    {"RPM4", 4},
    {"PWM4", 5},
    {"V1", 10},
    {"V2", 7},
    {"INP1", 8},
    {"INP2", 8},
    {"ALARMS", 3},
    {"Uptime(s)", 0},
}};

constexpr std::string_view kHeaderTitle = " ----- MEASURED VALUES -----\n\n";
constexpr std::string_view kFail = "FAIL";

// "%3.1f" of a single-precision value, without the locale's decimal comma.
std::string FormatOneDecimal(double value) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    const float held = std::fabs(value) > kFloatMax
                           ? std::copysign(std::numeric_limits<float>::infinity(), float(value))
                           : static_cast<float>(value);
    char out[64];
    const auto [end, error] =
        std::to_chars(out, out + sizeof out, held, std::chars_format::fixed, 1);
    return error == std::errc() ? std::string(out, end) : std::string("0");
}

} // namespace

std::string LiveDataHeader(bool voltageInputs) {
    std::string header(kHeaderTitle);
    for (const auto& [label, blanks] : voltageInputs ? kVoltageColumns : kTemperatureColumns) {
        header += label;
        header.append(static_cast<std::size_t>(blanks), ' ');
    }
    return header;
}

std::string FormatLiveCell(int column, std::string_view text) {
    if (column < 1 || column > 10) {
        return std::string(text);
    }
    if (Contains(text, kFail)) {
        return std::string(kFail);
    }
    if (column <= 8) {
        const int value = ReadLiveInteger(text);
        return value == 0 ? "0" : std::to_string(value);
    }
    const double value = ReadLiveNumber(text);
    return static_cast<float>(value) == 0.0f ? "0" : FormatOneDecimal(value);
}

void LiveDataRules::DisplayStep(const LiveFields& fields) {
    for (int row = kLiveDataRows - 1; row > 0; --row) {
        m_table[static_cast<std::size_t>(row)] =
            std::move(m_table[static_cast<std::size_t>(row - 1)]);
    }
    LiveDataRow& newest = m_table[0];
    for (int column = 1; column <= kLiveDataColumns; ++column) {
        newest[static_cast<std::size_t>(column - 1)] =
            FormatLiveCell(column, fields[static_cast<std::size_t>(column - 1)]);
    }
}

void LiveDataRules::ShowIdle(LiveDataTickActions& actions) {
    if (!m_idleShown) {
        actions.picture = kPictureLiveIdle;
        m_loggingShown = false;
        m_idleShown = true;
    }
}

LiveDataTickActions LiveDataRules::OnTick(const RegisterImage& image,
                                          const ISequencerStatus& sequencer, bool refreshPending,
                                          bool loggingPlaying) {
    LiveDataTickActions actions;
    const bool logEnabled = image.OptionBit(kLogEnableBit);
    if (refreshPending && (m_step == 0 || m_step == 1)) {
        // Just shown: the header on both ticks, then the box, then the idle picture.
        actions.voltageHeader = reg::IsVoltageMode(image);
        if (m_step == 0) {
            m_step = 1;
            actions.logBoxChecked = logEnabled;
        } else {
            ShowIdle(actions);
            actions.refreshDone = true;
            m_step = 3;
        }
        return actions;
    }
    actions.logBoxChecked = logEnabled;
    if (logEnabled) {
        if (sequencer.IsConnected() && sequencer.LoggedThisTick() && !loggingPlaying &&
            !m_loggingShown) {
            actions.picture = kPictureLiveLogging;
            m_idleShown = false;
            m_loggingShown = true;
        }
    } else {
        ShowIdle(actions);
    }
    m_step = 0;
    if (sequencer.IsConnected() && sequencer.State() == State::ViewData) {
        DisplayStep(sequencer.Fields());
        actions.tableChanged = true;
    }
    return actions;
}

} // namespace orvane
