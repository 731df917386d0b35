// Each controller command keeps its fixed keystroke schedule, tick for tick.
#include <gtest/gtest.h>

#include <string>

#include "core/SendSchedule.h"
#include "core/SequencerCodes.h"

using namespace orvane;

namespace {

// The schedule written as "offset:action" words, e.g. "0:c 8:s 20:parse 33:end".
std::string Describe(int command) {
    std::string out;
    for (const ScheduleStep& step : ScheduleFor(command)) {
        if (!out.empty()) {
            out += ' ';
        }
        out += std::to_string(step.offset) + ':';
        switch (step.action) {
        case StepAction::SendKey:
            out += step.key == ' ' ? std::string("space") : std::string(1, step.key);
            break;
        case StepAction::BuildConfigurationText:
            out += "build";
            break;
        case StepAction::SendConfigurationText:
            out += "text";
            break;
        case StepAction::ParseConfigurationReply:
            out += "parse";
            break;
        case StepAction::ClearReceiveWindow:
            out += "clear";
            break;
        case StepAction::StartCapture:
            out += "capture";
            break;
        case StepAction::End:
            out += "end";
            break;
        }
    }
    return out;
}

} // namespace

TEST(SendSchedule, EveryCommandSendsOnItsTicks) {
    EXPECT_EQ(Describe(CommandCode::ReadConfig), "0:c 8:s 10:s 20:parse 20:space 27:space 33:end");
    EXPECT_EQ(Describe(CommandCode::WriteConfig),
              "0:build 0:c 8:r 10:text 26:space 42:space 49:space 58:clear 60:end");
    EXPECT_EQ(Describe(CommandCode::Restart), "0:c 8:z 11:space 13:end");
    EXPECT_EQ(Describe(CommandCode::WriteDefault), "0:c 8:x 25:space 33:end");
    EXPECT_EQ(Describe(CommandCode::RestartForProgramNumber), "0:c 8:z 13:capture 15:end");
}

TEST(SendSchedule, CodesWithoutAScheduleHaveNone) {
    for (int code : {CommandCode::NoCommand, 0, 3, 99, -1}) {
        EXPECT_TRUE(ScheduleFor(code).empty()) << code;
        EXPECT_EQ(EndOffset(code), -1) << code;
    }
    EXPECT_EQ(EndOffset(CommandCode::WriteConfig), 60);
    EXPECT_EQ(EndOffset(CommandCode::RestartForProgramNumber), 15);
}

TEST(SequencerCodes, StatusTexts) {
    EXPECT_EQ(StateName(18), "DO_NOTHING");
    EXPECT_EQ(StateName(20), "VIEW DATA");
    EXPECT_EQ(StateName(22), "PROGRAM NUMBER DATA");
    EXPECT_EQ(StateName(23), "COMMAND");
    EXPECT_EQ(StateName(19), "");
    EXPECT_EQ(CommandName(2), "NOCOMMAND");
    EXPECT_EQ(CommandName(1), "RESTART");
    EXPECT_EQ(CommandName(13), "READCONFIG");
    EXPECT_EQ(CommandName(16), "WRITECONFIG");
    EXPECT_EQ(CommandName(24), "WRITEDEFAULT");
    EXPECT_EQ(CommandName(25), "RESTART for PROGRAM NUMBER");
    EXPECT_EQ(CommandName(7), "");
}
