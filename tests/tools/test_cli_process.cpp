// orvane-cli reads, writes, restores, restarts, identifies and logs a simulated controller, and
// fails loudly with a clear status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "ProcessRunner.h"
#include "SimulatorRig.h"
#include "core/Checksum.h"
#include "core/ConfigFile.h"
#include "core/ConfigurationText.h"
#include "core/DataLogger.h"

namespace orvane::test {
namespace {

const std::string kCli = ORVANE_CLI_PROGRAM;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "cli_" + name;
}

ProcessResult Cli(std::vector<std::string> args) {
    args.push_back("--tick-ms");
    args.push_back(std::to_string(kFastTickMs));
    return RunProcess(kCli, args);
}

// The configuration file the GUI would save for `image`.
std::vector<std::uint8_t> SavedFileOf(CRegisterImage image) {
    return EncodeConfigurationFile(BuildConfigurationText(image).text);
}

TEST(CliProcess, ReadWritesTheGuisConfigurationFile) {
    CRegisterImage edited = EditedImage();
    SimulatorRig sim(edited.Texts());
    const std::string out = TempPath("read.txt");
    const ProcessResult run = Cli({"read", "--port", sim.path, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << "no progress when stderr is not a terminal: " << run.err;
    const std::string bytes = Slurp(out);
    const auto expected = SavedFileOf(sim.host.Configuration());
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));

    const ProcessResult check = RunProcess(kCli, {"check", out});
    ASSERT_EQ(check.exitCode, 0) << check.err;
    EXPECT_EQ(check.out, "Name: EEFAULT\nIssue: 7\nDescription: Comment\nDate: dd/mm/yyyy\n"
                         "Checksum: " +
                             sim.host.Configuration().Text(kChecksumIndex) + "\n");
    std::filesystem::remove(out);
}

TEST(CliProcess, WriteSendsAFileAndRefusesABadOne) {
    SimulatorRig sim;
    CRegisterImage edited = EditedImage();
    BuildConfigurationText(edited); // the checksum entry, as the controller will hold it
    const std::string good = TempPath("write.txt");
    const auto bytes = SavedFileOf(edited);
    ASSERT_TRUE(WriteFileAtomically(good, bytes).ok);
    const ProcessResult run = Cli({"write", "--port", sim.path, good});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(sim.host.Configuration().Texts(), edited.Texts());

    auto damaged = bytes;
    damaged[20] = damaged[20] == '0' ? '1' : '0';
    const std::string bad = TempPath("write_bad.txt");
    ASSERT_TRUE(WriteFileAtomically(bad, damaged).ok);
    const ProcessResult refused = Cli({"write", "--port", sim.path, bad});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("checksum"), std::string::npos) << refused.err;
    EXPECT_EQ(RunProcess(kCli, {"check", bad}).exitCode, 2);
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

TEST(CliProcess, DefaultsRestartAndInfo) {
    SimulatorRig sim(EditedImage().Texts());
    ProcessResult run = Cli({"defaults", "--port", sim.path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    CRegisterImage fresh;
    fresh.LoadDefaultTemplate();
    EXPECT_EQ(sim.host.Configuration().Text(0), fresh.Text(0));
    EXPECT_EQ(sim.host.Configuration().Text(186), fresh.Text(186));

    run = Cli({"restart", "--port", sim.path});
    EXPECT_EQ(run.exitCode, 0) << run.err;

    run = Cli({"info", "--port", sim.path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 3), "ORV");
    EXPECT_GE(run.out.size(), 241u);
}

TEST(CliProcess, LogWritesTheGuisLogFormat) {
    SimulatorRig sim;
    const std::string out = TempPath("log.txt");
    const ProcessResult run = Cli({"log", "--port", sim.path, "-o", out, "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string log = Slurp(out);
    ASSERT_GE(log.size(), kLogHeader.size());
    EXPECT_EQ(log.substr(0, kLogHeader.size()), kLogHeader);
    const std::string body = log.substr(kLogHeader.size());
    std::size_t records = 0;
    for (std::size_t at = body.find("\r\n"); at != std::string::npos;
         at = body.find("\r\n", at + 2)) {
        ++records;
    }
    EXPECT_EQ(records, 4u);
    EXPECT_NE(body.substr(body.size() - 2), "\r\n"); // no trailing line end
    EXPECT_EQ(body.back(), 's');                     // each record ends with the uptime
    std::filesystem::remove(out);
}

TEST(CliProcess, FailuresExitWithAClearStatus) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    };
    const std::string missing = TempPath("no_such_file.txt");
    const Case cases[] = {
        {"no command", {}, 1, "no command"},
        {"unknown option", {"read", "--bogus"}, 1, "unknown option"},
        {"read without output", {"read", "--port", "/dev/null"}, 1, "-o FILE"},
        {"tick out of range", {"restart", "--port", "/dev/null", "--tick-ms", "0"}, 1, "--tick-ms"},
        {"missing file", {"check", missing}, 2, "cannot read"},
        {"no such device", {"restart", "--port", "/dev/orvane-none"}, 4, "cannot open"},
        {"not a serial device", {"restart", "--port", "/dev/null"}, 4, "cannot open"},
        {"unknown COM number", {"restart", "--port", "COM99"}, 4, "COM99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessResult run = RunProcess(kCli, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    const ProcessResult help = RunProcess(kCli, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* documented : {"ports", "read", "write", "info", "restart", "defaults", "log",
                                   "check", "--tick-ms", "--seconds", "COM"}) {
        EXPECT_NE(help.out.find(documented), std::string::npos) << documented;
    }
}

TEST(CliProcess, ReadWithoutAnAnswerIsAControllerFailure) {
    // A pseudo-terminal whose far end never answers.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string out = TempPath("never.txt");
    const ProcessResult run = Cli({"read", "--port", ptsname(master), "-o", out});
    close(master);
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.err.find("no configuration received"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace orvane::test
