#include "core/comms/SequencerCodes.h"

namespace orvane {

std::string_view StateName(int state) {
    switch (state) {
    case State::DoNothing:
        return "DO_NOTHING";
    case State::ViewData:
        return "VIEW DATA";
    case State::ProgramNumberData:
        return "PROGRAM NUMBER DATA";
    case State::Command:
        return "COMMAND";
    default:
        return {};
    }
}

std::string_view CommandName(int command) {
    switch (command) {
    case CommandCode::Restart:
        return "RESTART";
    case CommandCode::NoCommand:
        return "NOCOMMAND";
    case CommandCode::ReadConfig:
        return "READCONFIG";
    case CommandCode::WriteConfig:
        return "WRITECONFIG";
    case CommandCode::WriteDefault:
        return "WRITEDEFAULT";
    case CommandCode::RestartForProgramNumber:
        return "RESTART for PROGRAM NUMBER";
    default:
        return {};
    }
}

} // namespace orvane
