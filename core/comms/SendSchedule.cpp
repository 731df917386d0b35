#include "core/comms/SendSchedule.h"

#include <array>

#include "core/comms/SequencerCodes.h"

namespace orvane {

namespace {

using A = StepAction;

constexpr std::array<ScheduleStep, 7> kReadConfig{{
    {0, A::SendKey, 'c'},
    {8, A::SendKey, 's'},
    {10, A::SendKey, 's'},
    {20, A::ParseConfigurationReply},
    {20, A::SendKey, ' '},
    {27, A::SendKey, ' '},
    {33, A::End},
}};

constexpr std::array<ScheduleStep, 9> kWriteConfig{{
    {0, A::BuildConfigurationText},
    {0, A::SendKey, 'c'},
    {8, A::SendKey, 'r'},
    {10, A::SendConfigurationText},
    {26, A::SendKey, ' '},
    {42, A::SendKey, ' '},
    {49, A::SendKey, ' '},
    {58, A::ClearReceiveWindow},
    {60, A::End},
}};

constexpr std::array<ScheduleStep, 4> kRestart{{
    {0, A::SendKey, 'c'},
    {8, A::SendKey, 'z'},
    {11, A::SendKey, ' '},
    {13, A::End},
}};

constexpr std::array<ScheduleStep, 4> kWriteDefault{{
    {0, A::SendKey, 'c'},
    {8, A::SendKey, 'x'},
    {25, A::SendKey, ' '},
    {33, A::End},
}};

// The controller restarts and the capture state looks for its start-up text;
// the end step runs once the capture has found it.
constexpr std::array<ScheduleStep, 4> kProgramNumber{{
    {0, A::SendKey, 'c'},
    {8, A::SendKey, 'z'},
    {13, A::StartCapture},
    {15, A::End},
}};

} // namespace

std::span<const ScheduleStep> ScheduleFor(int command) {
    switch (command) {
    case CommandCode::ReadConfig:
        return kReadConfig;
    case CommandCode::WriteConfig:
        return kWriteConfig;
    case CommandCode::Restart:
        return kRestart;
    case CommandCode::WriteDefault:
        return kWriteDefault;
    case CommandCode::RestartForProgramNumber:
        return kProgramNumber;
    default:
        return {};
    }
}

int EndOffset(int command) {
    for (const ScheduleStep& step : ScheduleFor(command)) {
        if (step.action == StepAction::End) {
            return step.offset;
        }
    }
    return -1;
}

} // namespace orvane
