// orvane-cli takes what --help documents, does each command on a simulated controller and fails
// loudly, with the exit status --help lists and a message naming the problem.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <stdlib.h>

#include "ToolsRig.h"
#include "core/ConfigFile.h"
#include "core/ConfigurationText.h"
#include "core/DataLogger.h"
#include "tools/CliOptions.h"

namespace orvane::test {
namespace {

using cli::ParseCliArgs;

// The configuration file the GUI would save for `image`.
std::string SavedFileOf(CRegisterImage image) {
    const auto bytes = EncodeConfigurationFile(BuildConfigurationText(image).text);
    return {bytes.begin(), bytes.end()};
}

TEST(CliOptions, TakesWhatHelpDocuments) {
    EXPECT_EQ(ParseCliArgs({"restart", "--port", "1"}).tickMs, 1000);          // the real schedules
    EXPECT_FALSE(ParseCliArgs({"log", "--port", "2", "-o", "l.txt"}).seconds); // until stopped
    EXPECT_TRUE(ParseCliArgs({"read", "--help"}).help);
    EXPECT_EQ(ParseCliArgs({"ports"}).command, cli::CliCommand::Ports);
}

TEST(CliOptions, RefusalsNameTheProblem) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"frobnicate"}, "unknown command"},
        {{"read", "--bogus"}, "unknown option --bogus"},
        {{"info"}, "--port is required"},
        {{"check", "f.txt", "--port", "COM1"}, "--port does not apply"},
        {{"read", "--port", "COM1"}, "-o FILE is required"},
        {{"restart", "--port", "COM1", "-o", "x"}, "-o does not apply"},
        {{"write", "--port", "COM1"}, "configuration FILE is required"},
        {{"info", "--port", "COM1", "--seconds", "3"}, "--seconds applies to log"},
        {{"log", "--port", "1", "-o", "x", "--seconds", "0"}, "--seconds needs"},
        {{"log", "--port", "1", "-o", "x", "--seconds", "3x"}, "--seconds needs"},
        {{"info", "--port", "1", "--tick-ms", "4"}, "--tick-ms needs"},
        {{"info", "--port", "1", "--tick-ms", "1001"}, "--tick-ms needs"},
        {{"info", "--port"}, "--port needs a value"},
        {{"check", "a", "b"}, "unexpected argument b"},
    };
    for (const auto& [args, says] : cases) {
        const std::string error = ParseCliArgs(args).error;
        EXPECT_NE(error.find(says), std::string::npos)
            << "case " << ::testing::PrintToString(args) << " gave: " << error;
    }
}

TEST(CliProcess, ReadCheckLogAndInfo) {
    SimulatorRig sim(EditedImage().Texts());
    const std::string file = TempPath("read.txt");
    ProcessResult run = RunCli({"read", "--port", sim.path, "-o", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << "no progress when stderr is not a terminal: " << run.err;
    EXPECT_EQ(Slurp(file), SavedFileOf(sim.host.Configuration()));

    run = RunCli({"check", file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Name: EEFAULT\nIssue: 7\nDescription: Comment\nDate: dd/mm/yyyy\n"
                       "Checksum: " +
                           sim.host.Configuration().Text(kChecksumIndex) + "\n");
    std::filesystem::remove(file);

    // The log: the GUI's header, then one record a tick, each ending with the uptime.
    run = RunCli({"log", "--port", sim.path, "--output", file, "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string logged = Slurp(file);
    ASSERT_TRUE(logged.starts_with(kLogHeader)) << logged;
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\r'), 4); // a CR LF before each
    EXPECT_EQ(logged.back(), 's');                                // and no line end after the last
    std::filesystem::remove(file);

    run = RunCli({"info", "--port", sim.path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, AllOf(StartsWith("ORV"), SizeIs(Ge(241u))));
}

TEST(CliProcess, WriteRefuseDefaultsAndRestart) {
    SimulatorRig sim;
    CRegisterImage edited = EditedImage();
    BuildConfigurationText(edited); // the checksum entry, as the controller will hold it
    const std::string bytes = SavedFileOf(edited);
    const std::string file = TempPath("write.txt");
    std::ofstream(file, std::ios::binary) << bytes;
    ProcessResult run = RunCli({"write", "--port", sim.path, file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), edited));

    std::string damaged = bytes;
    damaged[20] = damaged[20] == '0' ? '1' : '0';
    std::ofstream(file, std::ios::binary) << damaged;
    run = RunCli({"write", "--port", sim.path, file});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("checksum"), std::string::npos) << run.err;
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), edited));
    EXPECT_EQ(RunCli({"check", file}).exitCode, 2);
    std::filesystem::remove(file);

    run = RunCli({"defaults", "--port", sim.path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), TemplateImage(), kRegisterCount));
    run = RunCli({"restart", "--port", sim.path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(CliProcess, FailuresExitWithAClearStatus) {
    // A pseudo-terminal whose far end never answers.
    const int silent = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(silent, 0);
    ASSERT_EQ(grantpt(silent), 0);
    ASSERT_EQ(unlockpt(silent), 0);
    const std::string never = TempPath("never.txt");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } cases[] = {
        {"no command", {}, 1, "no command"},
        {"missing file", {"check", TempPath("no_such_file.txt")}, 2, "cannot read"},
        {"no answer", {"read", "--port", ptsname(silent), "-o", never}, 3, "no configuration"},
        {"no such device", {"restart", "--port", "/dev/orvane-none"}, 4, "cannot open"},
        {"not a serial device", {"restart", "--port", "/dev/null"}, 4, "cannot open"},
        {"unknown COM number", {"restart", "--port", "COM99"}, 4, "COM99"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << "case " << c.name;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << "case " << c.name << ": " << run.err;
    }
    close(silent);
    EXPECT_FALSE(std::filesystem::exists(never)); // nothing written when nothing was read

    const ProcessResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* documented : {"ports", "read", "write", "info", "restart", "defaults", "log",
                                   "check", "--tick-ms", "--seconds", "COM"}) {
        EXPECT_NE(help.out.find(documented), std::string::npos) << documented;
    }
}

} // namespace
} // namespace orvane::test
