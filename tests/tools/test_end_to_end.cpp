// Over a real serial port and pseudo-terminal, the command-line session notices when the
// simulated controller's line is lost, and says so as the window does.
#include <gtest/gtest.h>

#include "ToolsRig.h"
#include "tools/CliSession.h"

namespace orvane::test {
namespace {

TEST(EndToEnd, ALostLineDisconnectsTheSessionWithTheWindowsMessage) {
    SimulatorRig sim;
    cli::CliSession session{sim.path, 0, std::chrono::milliseconds(kTickMs), nullptr};
    ASSERT_TRUE(session.Connect().Ok());
    EXPECT_TRUE(session.Sequencing().IsConnected());
    sim.host.DropLine();
    for (int i = 0; i < 50 && session.Sequencing().IsConnected(); ++i) {
        session.Tick();
    }
    EXPECT_FALSE(session.Sequencing().IsConnected());
    ASSERT_EQ(session.Console().messages.size(), 1u);
    EXPECT_EQ(session.Console().messages.back().caption, "Application Error");
}

} // namespace
} // namespace orvane::test
