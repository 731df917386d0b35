#pragma once

#include <string_view>

namespace orvane {

// Sequencer states, command codes and pending actions: the numbers the status line,
// the logger and the pages compare. Only the sequencer sets them.
namespace State {
inline constexpr int DoNothing = 18;
inline constexpr int ViewData = 20;
inline constexpr int ProgramNumberData = 22;
inline constexpr int Command = 23;
} // namespace State

namespace CommandCode {
inline constexpr int Restart = 1;
inline constexpr int NoCommand = 2;
inline constexpr int ReadConfig = 13;
inline constexpr int WriteConfig = 16;
inline constexpr int WriteDefault = 24;
inline constexpr int RestartForProgramNumber = 25;
} // namespace CommandCode

namespace PendingAction {
inline constexpr int None = 2;
inline constexpr int ConnectOrDisconnect = 3;
inline constexpr int OpenLog = 5;
inline constexpr int CloseLog = 6;
} // namespace PendingAction

// The status-line texts: "DO_NOTHING", "VIEW DATA", "PROGRAM NUMBER DATA", "COMMAND";
// empty for an unknown state.
std::string_view StateName(int state);
// "NOCOMMAND", "RESTART", "READCONFIG", "WRITECONFIG", "WRITEDEFAULT",
// "RESTART for PROGRAM NUMBER"; empty for an unknown code.
std::string_view CommandName(int command);

} // namespace orvane
