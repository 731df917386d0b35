#pragma once

#include <string>
#include <string_view>

#include "core/comms/SequencerAccess.h"

namespace orvane {

// What a command is doing, for the progress display and the status line: "Reading the
// configuration"; empty for a code without a schedule.
std::string_view CommandActivity(int command);

// "45 s", "2 min 5 s": the wait a person plans for.
std::string DurationText(int seconds);
// Whole seconds, rounded up, that `ticksLeft` ticks of `tickMs` take.
int SecondsLeft(int ticksLeft, int tickMs);

// The progress display: the bar's position and its text, "Reading the configuration: step
// 12 of 34, 22 s left". The time left is the ticks still to run at the tick period.
struct ProgressLine {
    int done = 0;
    int total = 0;
    std::string text;
    bool operator==(const ProgressLine&) const = default;
};
ProgressLine DescribeProgress(std::string_view activity, CommandProgress progress, int tickMs);

} // namespace orvane
