#pragma once

#include <span>

namespace orvane {

// What a command does on a tick of its schedule. Steps due on the same tick run
// in the order listed.
enum class StepAction {
    SendKey,                 // send the one-character key
    BuildConfigurationText,  // build the text from the image (before its "c")
    SendConfigurationText,   // send the 1611-byte configuration text
    ParseConfigurationReply, // parse the receive buffer as a configuration reply
    ClearReceiveWindow,      // zero the first 1800 bytes of the receive buffer
    StartCapture,            // hand over to the controller information capture
    End,                     // the end step: runs on the first tick at or after its offset
};

struct ScheduleStep {
    int offset; // ticks after the command's first tick
    StepAction action;
    char key = 0; // for SendKey
};

// The fixed schedule of a command code (CommandCode::...); empty for a code
// that has none (NoCommand or unknown).
std::span<const ScheduleStep> ScheduleFor(int command);

// Offset of the command's End step; -1 for a code without a schedule.
int EndOffset(int command);

} // namespace orvane
