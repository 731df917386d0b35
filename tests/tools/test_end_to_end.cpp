// Over a real serial port and pseudo-terminal, the sequencer reads, writes, restores, restarts,
// captures and logs a simulated controller.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "SimulatorRig.h"
#include "core/Checksum.h"
#include "core/DataLogger.h"
#include "core/SequencerCodes.h"
#include "tools/CliSession.h"

namespace orvane::test {
namespace {

using cli::CliSession;

class EndToEnd : public ::testing::Test {
protected:
    void Open(std::optional<RegisterTexts> configuration = std::nullopt) {
        sim.emplace(std::move(configuration));
        session = std::make_unique<CliSession>(sim->path, 0, std::chrono::milliseconds(kFastTickMs),
                                               nullptr);
        const cli::Outcome connected = session->Connect();
        ASSERT_TRUE(connected.ok()) << connected.message;
    }
    cli::Outcome Run(int command) {
        return session->RunCommand([&] { session->Sequencer().RequestCommand(command); });
    }
    // Ticks in live data until a record was parsed, at most `limit` ticks.
    bool WaitForLiveData(int limit = 20) {
        session->Sequencer().SetState(State::ViewData);
        for (int i = 0; i < limit; ++i) {
            session->Tick();
            if (session->Sequencer().StatusText() == "VIEW DATA") {
                return true;
            }
        }
        return false;
    }

    std::optional<SimulatorRig> sim;
    std::unique_ptr<CliSession> session;
};

TEST_F(EndToEnd, ReadGivesTheSimulatorsConfiguration) {
    CRegisterImage edited = EditedImage();
    RegisterTexts texts = edited.Texts();
    texts[kChecksumIndex] = ChecksumText(texts);
    Open(texts);
    ASSERT_TRUE(Run(CommandCode::ReadConfig).ok());
    EXPECT_EQ(session->Sequencer().LastReplyOutcome(), ConfigReplyOutcome::Loaded);
    EXPECT_EQ(session->Image().Texts(), sim->host.Configuration().Texts());
    EXPECT_EQ(session->Image().Text(186), "0045");
    EXPECT_EQ(session->Console().checksum, texts[kChecksumIndex]);
    EXPECT_EQ(session->Sequencer().State(), State::ViewData);
}

TEST_F(EndToEnd, WriteLeavesTheImageInTheSimulator) {
    Open();
    session->Image() = EditedImage();
    const auto outcome =
        session->RunCommand([&] { session->Sequencer().OnDownloadConfiguration(); });
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    const CRegisterImage held = sim->host.Configuration();
    for (int i = 0; i < kRegisterCount; ++i) {
        ASSERT_EQ(held.Text(i), session->Image().Text(i)) << "register " << i;
    }
    EXPECT_EQ(held.Text(kChecksumIndex), session->Image().Text(kChecksumIndex));
    // After the write the live records come back through the cleared window.
    EXPECT_TRUE(WaitForLiveData(40));
}

TEST_F(EndToEnd, DefaultsRestoreTheTemplateOnBothSides) {
    CRegisterImage edited = EditedImage();
    Open(edited.Texts());
    session->Image() = EditedImage();
    ASSERT_TRUE(Run(CommandCode::WriteDefault).ok());
    CRegisterImage fresh;
    fresh.LoadDefaultTemplate();
    for (int i = 0; i < kRegisterCount; ++i) {
        ASSERT_EQ(sim->host.Configuration().Text(i), fresh.Text(i)) << "register " << i;
        ASSERT_EQ(session->Image().Text(i), fresh.Text(i)) << "register " << i;
    }
}

TEST_F(EndToEnd, RestartResetsTheControllersUptime) {
    Open();
    ASSERT_TRUE(WaitForLiveData());
    for (int i = 0; i < 20; ++i) {
        session->Tick();
    }
    const auto uptime = [&] { return std::stoi(session->Sequencer().Fields()[13]); };
    const int before = uptime();
    EXPECT_GE(before, 20);
    ASSERT_TRUE(Run(CommandCode::Restart).ok());
    EXPECT_NE(session->Sequencer().ReceiveBuffer().Text().find("ORV"), std::string_view::npos);
    ASSERT_TRUE(WaitForLiveData());
    EXPECT_LT(uptime(), before);
}

TEST_F(EndToEnd, InformationCaptureShowsTheIdentification) {
    Open();
    ASSERT_TRUE(WaitForLiveData()); // enough received for the capture to look
    session->Sequencer().SetCaptureStarted(false);
    ASSERT_TRUE(Run(CommandCode::RestartForProgramNumber).ok());
    const std::string& info = session->Console().controllerInfo;
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(info.substr(0, 3), "ORV");
    EXPECT_GE(info.size(), 240u);
    EXPECT_LE(info.size(), 267u);
}

TEST_F(EndToEnd, LiveRecordsAreParsedAndLogged) {
    Open();
    ASSERT_TRUE(WaitForLiveData());
    const LiveFields& fields = session->Sequencer().Fields();
    EXPECT_EQ(fields[13].back(), 's');
    for (int i = 0; i < 14; ++i) {
        EXPECT_FALSE(fields[static_cast<std::size_t>(i)].empty()) << "field " << i;
    }

    const std::string path = ::testing::TempDir() + "e2e_log.txt";
    session->Console().logPath = path;
    session->Sequencer().SetPendingAction(PendingAction::OpenLog);
    std::string expected(kLogHeader);
    for (int i = 0; i < 5; ++i) {
        session->Tick();
        ASSERT_TRUE(session->Sequencer().Logger().LoggedThisTick());
        std::string record;
        for (const auto& f : fields) {
            record += f;
        }
        expected += "\r\n" + record;
    }
    session->Sequencer().SetPendingAction(PendingAction::CloseLog);
    session->Tick();
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
    std::filesystem::remove(path);
}

TEST_F(EndToEnd, PortVanishingDisconnectsAndReports) {
    Open();
    ASSERT_TRUE(WaitForLiveData());
    sim->host.DropLine();
    for (int i = 0; i < 50 && session->Sequencer().IsConnected(); ++i) {
        session->Tick();
    }
    EXPECT_FALSE(session->Sequencer().IsConnected());
    ASSERT_FALSE(session->Console().messages.empty());
    EXPECT_EQ(session->Console().messages.back().caption, "Application Error");
}

} // namespace
} // namespace orvane::test
