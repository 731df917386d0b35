#pragma once

#include <string_view>

namespace orvane {

// Sequencer states, command codes and pending actions: the numbers the status line,
// the logger and the pages compare (plain ints, as they are stored and logged). Only the
// sequencer sets them.
struct State {
    enum : int { DoNothing = 18, ViewData = 20, ProgramNumberData = 22, Command = 23 };
};

struct CommandCode {
    enum : int {
        Restart = 1,
        NoCommand = 2,
        ReadConfig = 13,
        WriteConfig = 16,
        WriteDefault = 24,
        RestartForProgramNumber = 25,
    };
};

struct PendingAction {
    enum : int { None = 2, ConnectOrDisconnect = 3, OpenLog = 5, CloseLog = 6 };
};

// The status-line texts: "DO_NOTHING", "VIEW DATA", "PROGRAM NUMBER DATA", "COMMAND";
// empty for an unknown state.
std::string_view StateName(int state);
// "NOCOMMAND", "RESTART", "READCONFIG", "WRITECONFIG", "WRITEDEFAULT",
// "RESTART for PROGRAM NUMBER"; empty for an unknown code.
std::string_view CommandName(int command);

} // namespace orvane
