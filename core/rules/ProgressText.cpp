#include "core/rules/ProgressText.h"

#include <algorithm>

#include "core/comms/SequencerCodes.h"

namespace orvane {

std::string DurationText(int seconds) {
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}

int SecondsLeft(int ticksLeft, int tickMs) {
    const long long leftMs = static_cast<long long>(std::max(ticksLeft, 0)) * std::max(tickMs, 0);
    return static_cast<int>((leftMs + 999) / 1000);
}

std::string_view CommandActivity(int command) {
    switch (command) {
    case CommandCode::ReadConfig:
        return "Reading the configuration";
    case CommandCode::WriteConfig:
        return "Writing the configuration";
    case CommandCode::WriteDefault:
        return "Restoring the controller's defaults";
    case CommandCode::Restart:
        return "Restarting the controller";
    case CommandCode::RestartForProgramNumber:
        return "Fetching the controller information";
    default:
        return {};
    }
}

ProgressLine DescribeProgress(std::string_view activity, CommandProgress progress, int tickMs) {
    if (progress.total <= 0) {
        return {};
    }
    const int done = std::clamp(progress.done, 0, progress.total);
    return {done, progress.total,
            std::string(activity) + ": step " + std::to_string(done) + " of " +
                std::to_string(progress.total) + ", " +
                DurationText(SecondsLeft(progress.total - done, tickMs)) + " left"};
}

} // namespace orvane
