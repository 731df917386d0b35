// orvane-gui's command line: fast ticks within their bounds, refusals with a reason.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace orvane {
namespace {

TEST(GuiCommandLine, AcceptsFastTicksWithinBoundsAndRefusesTheRest) {
    struct Case {
        QStringList args;
        int tickMs;
        bool refused;
    };
    for (const Case& c :
         {Case{{}, 1000, false}, Case{{"--tick-ms", "20"}, 20, false},
          Case{{"--tick-ms", "5"}, 5, false}, Case{{"--tick-ms", "1000"}, 1000, false},
          Case{{"--tick-ms", "4"}, 1000, true}, Case{{"--tick-ms", "1001"}, 1000, true},
          Case{{"--tick-ms", "fast"}, 1000, true}, Case{{"--tick-ms"}, 1000, true},
          Case{{"--verbose"}, 1000, true}, Case{{"--palette", "dark"}, 1000, false},
          Case{{"--palette", "dim"}, 1000, true}, Case{{"--palette"}, 1000, true}}) {
        const GuiCommandLine line = ParseGuiCommandLine(QStringList{"orvane-gui"} + c.args);
        const std::string shown = c.args.join(' ').toStdString();
        EXPECT_EQ(line.tickMs, c.tickMs) << shown;
        EXPECT_EQ(!line.error.isEmpty(), c.refused) << shown;
    }
    const GuiCommandLine shots = ParseGuiCommandLine(
        {"orvane-gui", "--screenshots", "out", "--tick-ms", "10", "--palette", "dark"});
    EXPECT_EQ(shots.screenshotDir, "out");
    EXPECT_EQ(shots.tickMs, 10);
    EXPECT_TRUE(shots.darkPalette);
    EXPECT_FALSE(shots.minimumSize);
    EXPECT_FALSE(ParseGuiCommandLine({"orvane-gui", "--palette", "light"}).darkPalette);
    EXPECT_TRUE(ParseGuiCommandLine({"orvane-gui", "--minimum-size"}).minimumSize);
    EXPECT_TRUE(ParseGuiCommandLine({"orvane-gui", "--help"}).help);
    EXPECT_TRUE(GuiUsageText().contains("simulated controllers only"));
}

} // namespace
} // namespace orvane
