// Over a real serial port and pseudo-terminal, the sequencer writes, reads back, restarts,
// captures, logs and restores a simulated controller, and notices when the line is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "ToolsRig.h"
#include "core/comms/DataLogger.h"
#include "core/comms/SequencerCodes.h"
#include "core/image/Checksum.h"
#include "tools/CliSession.h"

namespace orvane::test {
namespace {

class EndToEnd : public ::testing::Test {
protected:
    // Runs a command to its end; false, with the reason printed, when it failed.
    bool Run(const std::function<void()>& request) {
        const cli::Outcome outcome = session.RunCommand(request);
        EXPECT_TRUE(outcome.ok()) << outcome.message;
        return outcome.ok();
    }
    // Ticks in live data until a record was parsed, at most `limit` ticks.
    bool WaitForLiveData(int limit = 20) {
        Seq().RequestLiveData();
        do {
            session.Tick();
        } while (Seq().StatusText() != "VIEW DATA" && --limit > 0);
        return Seq().StatusText() == "VIEW DATA";
    }
    Sequencer& Seq() { return session.Sequencing(); }
    int Uptime() { return std::stoi(Seq().Fields()[13]); }

    SimulatorRig sim;
    cli::CliSession session{sim.path, 0, std::chrono::milliseconds(kTickMs), nullptr};
};

TEST_F(EndToEnd, WriteReadCaptureLogDefaultsAndLoseThePort) {
    ASSERT_TRUE(session.Connect().ok());
    session.Image() = EditedImage();
    ASSERT_TRUE(Run([&] { Seq().OnDownloadConfiguration(); }));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), session.Image())); // checksum included
    // After the write the live records come back through the cleared window.
    ASSERT_TRUE(WaitForLiveData(40));

    session.Image() = TemplateImage();
    ASSERT_TRUE(Run([&] { Seq().RequestCommand(CommandCode::ReadConfig); }));
    EXPECT_EQ(Seq().LastReplyOutcome(), ConfigReplyOutcome::Loaded);
    EXPECT_TRUE(SameTexts(session.Image(), sim.host.Configuration()));
    EXPECT_EQ(session.Image().Text(186), "0045");
    EXPECT_EQ(session.Console().checksum, ChecksumText(session.Image().Texts()));
    EXPECT_EQ(Seq().State(), State::ViewData);

    // The write and the read took over 90 of the controller's seconds; a restart for its
    // information starts its uptime afresh.
    ASSERT_TRUE(WaitForLiveData());
    const int before = Uptime();
    EXPECT_GE(before, 90);
    ASSERT_TRUE(Run([&] { Seq().RequestControllerInformation(); }));
    EXPECT_THAT(session.Console().controllerInfo,
                AllOf(StartsWith("ORV"), SizeIs(AllOf(Ge(240u), Le(267u)))));

    // Live records: every field parsed, each tick's record logged as it stands.
    ASSERT_TRUE(WaitForLiveData());
    EXPECT_LT(Uptime(), before);
    const LiveFields& fields = Seq().Fields();
    for (std::size_t i = 0; i < 14; ++i) {
        EXPECT_FALSE(fields[i].empty()) << "field " << i;
    }
    EXPECT_EQ(fields[13].back(), 's');
    const std::string path = TempPath("e2e_log.txt");
    session.Console().logPath = path;
    Seq().RequestLog(true);
    std::string expected(kLogHeader);
    for (int i = 0; i < 5; ++i) {
        session.Tick();
        ASSERT_TRUE(Seq().LoggedThisTick());
        expected += "\r\n" + std::accumulate(fields.begin(), fields.end(), std::string());
    }
    Seq().RequestLog(false);
    session.Tick();
    EXPECT_EQ(Slurp(path), expected);
    std::filesystem::remove(path);

    ASSERT_TRUE(Run([&] { Seq().RequestCommand(CommandCode::WriteDefault); }));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), TemplateImage(), kRegisterCount));
    EXPECT_TRUE(SameTexts(session.Image(), TemplateImage(), kRegisterCount));

    sim.host.DropLine();
    for (int i = 0; i < 50 && Seq().IsConnected(); ++i) {
        session.Tick();
    }
    EXPECT_FALSE(Seq().IsConnected());
    ASSERT_FALSE(session.Console().messages.empty());
    EXPECT_EQ(session.Console().messages.back().caption, "Application Error");
}

} // namespace
} // namespace orvane::test
