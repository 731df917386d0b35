// Over a real serial port and pseudo-terminal, the sequencer reads, writes, restores, restarts,
// captures and logs a simulated controller.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "ToolsRig.h"
#include "core/Checksum.h"
#include "core/DataLogger.h"
#include "core/SequencerCodes.h"
#include "tools/CliSession.h"

namespace orvane::test {
namespace {

class EndToEnd : public ::testing::Test {
protected:
    void Open(std::optional<RegisterTexts> configuration = std::nullopt) {
        sim.emplace(std::move(configuration));
        session = std::make_unique<cli::CliSession>(
            sim->path, 0, std::chrono::milliseconds(kFastTickMs), nullptr);
        const cli::Outcome connected = session->Connect();
        ASSERT_TRUE(connected.ok()) << connected.message;
    }
    cli::Outcome Run(int command) {
        return session->RunCommand([&] { Seq().RequestCommand(command); });
    }
    // Ticks in live data until a record was parsed, at most `limit` ticks.
    bool WaitForLiveData(int limit = 20) {
        Seq().SetState(State::ViewData);
        do {
            session->Tick();
        } while (Seq().StatusText() != "VIEW DATA" && --limit > 0);
        return Seq().StatusText() == "VIEW DATA";
    }
    CSequencer& Seq() { return session->Sequencer(); }
    int Uptime() { return std::stoi(Seq().Fields()[13]); }

    std::optional<SimulatorRig> sim;
    std::unique_ptr<cli::CliSession> session;
};

TEST_F(EndToEnd, ReadRestartCaptureLogAndLoseThePort) {
    Open(EditedImage().Texts());
    ASSERT_TRUE(Run(CommandCode::ReadConfig).ok());
    EXPECT_EQ(Seq().LastReplyOutcome(), ConfigReplyOutcome::Loaded);
    EXPECT_TRUE(SameTexts(session->Image(), sim->host.Configuration()));
    EXPECT_EQ(session->Image().Text(186), "0045");
    EXPECT_EQ(session->Console().checksum, ChecksumText(session->Image().Texts()));
    EXPECT_EQ(Seq().State(), State::ViewData);

    // The read took 34 of the controller's seconds; a restart starts its uptime afresh.
    ASSERT_TRUE(WaitForLiveData());
    const int before = Uptime();
    EXPECT_GE(before, 30);
    ASSERT_TRUE(Run(CommandCode::Restart).ok());
    EXPECT_NE(Seq().ReceiveBuffer().Text().find("ORV"), std::string_view::npos);
    ASSERT_TRUE(WaitForLiveData());
    EXPECT_LT(Uptime(), before);

    Seq().SetCaptureStarted(false);
    ASSERT_TRUE(Run(CommandCode::RestartForProgramNumber).ok());
    EXPECT_THAT(session->Console().controllerInfo,
                AllOf(StartsWith("ORV"), SizeIs(AllOf(Ge(240u), Le(267u)))));

    // Live records: every field parsed, each tick's record logged as it stands.
    ASSERT_TRUE(WaitForLiveData());
    const LiveFields& fields = Seq().Fields();
    for (std::size_t i = 0; i < 14; ++i) {
        EXPECT_FALSE(fields[i].empty()) << "field " << i;
    }
    EXPECT_EQ(fields[13].back(), 's');
    const std::string path = TempPath("e2e_log.txt");
    session->Console().logPath = path;
    Seq().SetPendingAction(PendingAction::OpenLog);
    std::string expected(kLogHeader);
    for (int i = 0; i < 5; ++i) {
        session->Tick();
        ASSERT_TRUE(Seq().Logger().LoggedThisTick());
        expected += "\r\n" + std::accumulate(fields.begin(), fields.end(), std::string());
    }
    Seq().SetPendingAction(PendingAction::CloseLog);
    session->Tick();
    EXPECT_EQ(Slurp(path), expected);
    std::filesystem::remove(path);

    sim->host.DropLine();
    for (int i = 0; i < 50 && Seq().IsConnected(); ++i) {
        session->Tick();
    }
    EXPECT_FALSE(Seq().IsConnected());
    ASSERT_FALSE(session->Console().messages.empty());
    EXPECT_EQ(session->Console().messages.back().caption, "Application Error");
}

TEST_F(EndToEnd, WriteThenDefaultsOnBothSides) {
    Open();
    session->Image() = EditedImage();
    const auto written = session->RunCommand([&] { Seq().OnDownloadConfiguration(); });
    ASSERT_TRUE(written.ok()) << written.message;
    EXPECT_TRUE(SameTexts(sim->host.Configuration(), session->Image())); // checksum included
    EXPECT_EQ(session->Image().Text(186), "0045");
    // After the write the live records come back through the cleared window.
    EXPECT_TRUE(WaitForLiveData(40));

    ASSERT_TRUE(Run(CommandCode::WriteDefault).ok());
    EXPECT_TRUE(SameTexts(sim->host.Configuration(), TemplateImage(), kRegisterCount));
    EXPECT_TRUE(SameTexts(session->Image(), TemplateImage(), kRegisterCount));
}

} // namespace
} // namespace orvane::test
