// Commands typed to orvane-sim switch the running simulator's faults and inputs at once;
// anything else is refused whole.
#include <gtest/gtest.h>

#include "HostReading.h"
#include "LineEnd.h"
#include "sim/RuntimeCommands.h"

using namespace orvane::sim;
using namespace orvane::sim::testing;

namespace {

// Waits for a record, received after what came so far, whose field has the text.
bool FieldBecomes(LineEnd& far, std::size_t index, const std::string& text) {
    const std::size_t mark = far.received.size();
    return far.ReadUntil([&](const std::string& r) {
        const auto records = LiveRecords(r.substr(std::min(mark, r.size())));
        return !records.empty() && Fields(records.back()).size() == 14 &&
               Fields(records.back())[index] == text;
    });
}

} // namespace

TEST(RuntimeCommands, ReachTheRunningSimulator) {
    SimulatorHost host;
    SimulatorOptions options;
    options.unpaced = true;
    options.timeScale = 20;
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(started.path);

    EXPECT_EQ(ApplyRuntimeCommand("fail-fan 2", host), CommandOutcome::Done);
    EXPECT_TRUE(FieldBecomes(far, 2, "FAIL"));
    EXPECT_EQ(ApplyRuntimeCommand("  switch 2 hi ", host), CommandOutcome::Done);
    EXPECT_TRUE(FieldBecomes(far, 11, " HI "));
    EXPECT_EQ(ApplyRuntimeCommand("hold 1 33.3", host), CommandOutcome::Done);
    EXPECT_TRUE(FieldBecomes(far, 8, " 33.3"));
    EXPECT_EQ(ApplyRuntimeCommand("fix-fan 2", host), CommandOutcome::Done);
    EXPECT_EQ(ApplyRuntimeCommand("fail-sensor 1", host), CommandOutcome::Done);
    EXPECT_TRUE(FieldBecomes(far, 8, "FAIL"));
    EXPECT_EQ(ApplyRuntimeCommand("", host), CommandOutcome::Done);

    // Stalled, it still answers its menu.
    EXPECT_EQ(ApplyRuntimeCommand("stall", host), CommandOutcome::Done);
    far.received.clear();
    far.Write("c");
    EXPECT_TRUE(far.ReadUntilText("MENU"));

    EXPECT_EQ(ApplyRuntimeCommand("drop", host), CommandOutcome::Quit);
    EXPECT_FALSE(host.IsRunning());
}

TEST(RuntimeCommands, MalformedCommandsAreRefused) {
    SimulatorHost host;
    for (const char* line :
         {"fail-fan 5", "fail-fan", "fail-fan 2 now", "switch 1 maybe", "switch 3 hi", "hold 1",
          "hold 1 nan", "hold 1 inf", "stall now", "release", "explode"}) {
        EXPECT_EQ(ApplyRuntimeCommand(line, host), CommandOutcome::Unknown) << line;
    }
    EXPECT_EQ(ApplyRuntimeCommand("quit", host), CommandOutcome::Quit);
    EXPECT_NE(RuntimeCommandHelp().find("fail-fan"), std::string::npos);
}
