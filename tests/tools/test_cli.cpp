// orvane-cli takes what --help documents, does each command on a simulated controller and fails
// loudly, with the exit status --help lists and a message naming the problem; its session
// notices a lost line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <stdlib.h>
#include <sys/file.h>

#include "ToolsRig.h"
#include "core/comms/DataLogger.h"
#include "core/reports/LiveCsv.h"
#include "tools/CliFiles.h"
#include "tools/CliOptions.h"
#include "tools/CliSession.h"

namespace orvane::test {
namespace {

using cli::ParseCliArgs;

TEST(CliOptions, TakesWhatHelpDocumentsAndNamesWhatItRefuses) {
    EXPECT_EQ(ParseCliArgs({"restart", "--port", "1"}).tickMs, 1000);          // the real schedules
    EXPECT_FALSE(ParseCliArgs({"log", "--port", "2", "-o", "l.txt"}).seconds); // until stopped
    EXPECT_TRUE(ParseCliArgs({"log", "--port", "2", "-o", "l.csv", "--csv"}).csv);
    EXPECT_TRUE(ParseCliArgs({"read", "--help"}).help);
    EXPECT_EQ(ParseCliArgs({"ports"}).command, cli::CliCommand::Ports);
    const cli::CliOptions write =
        ParseCliArgs({"write", "--verify", "--port", "1", "f.txt", "--backup", "old"});
    EXPECT_TRUE(write.error.empty() && write.verify && write.backupDir == "old" &&
                write.input == "f.txt")
        << write.error;
    const cli::CliOptions diff = ParseCliArgs({"diff", "a.txt", "b.txt", "--json"});
    EXPECT_TRUE(diff.error.empty() && diff.json && diff.input == "a.txt" &&
                diff.secondInput == "b.txt")
        << diff.error;
    // Refused, with the words the message must hold; "" for accepted.
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"diff", "--port", "3", "a.txt"}, ""},
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
        {{"diff", "a"}, "diff compares two"},
        {{"diff", "--port", "1", "a", "b"}, "compares the controller with one file"},
        {{"read", "--port", "1", "-o", "x", "--verify"}, "--verify applies to write"},
        {{"check", "a", "--backup", "dir"}, "--backup applies to write"},
        {{"write", "--port", "1", "a", "--backup", ""}, "--backup needs a folder"},
        {{"read", "--port", "1", "-o", "x", "--json"}, "--json applies to check, info and diff"},
        {{"check", "a", "--csv"}, "--csv applies to log"},
    };
    for (const auto& [args, says] : cases) {
        const std::string error = ParseCliArgs(args).error;
        EXPECT_TRUE(*says ? error.find(says) != std::string::npos : error.empty())
            << "case " << PrintToString(args) << " gave: " << error;
    }
}

// Each command's output as text and, where offered, as CSV or JSON that Python's own readers
// take strictly.
TEST(CliProcess, ReadCheckLogAndInfo) {
    SimulatorRig sim(EditedImage().Texts());
    const std::string file = TempPath("read.txt"), log = TempPath("log.csv");
    ProcessResult run = RunCli({"read", "--port", sim.path, "-o", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << "no progress when stderr is not a terminal: " << run.err;
    EXPECT_EQ(Slurp(file), SavedFileOf(sim.host.Configuration()));

    const std::string checksum = sim.host.Configuration().Text(kChecksumIndex);
    run = RunCli({"check", file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Name: EEFAULT\nIssue: 7\nDescription: Comment\nDate: dd/mm/yyyy\n"
                       "Checksum: " +
                           checksum + "\n");
    run = RunCli({"check", file, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ProcessResult parsed =
        QueryJson(run.out, "d['name'], d['issue'], d['description'], d['date'], d['checksum']");
    EXPECT_EQ(parsed.out, "EEFAULT 7 Comment dd/mm/yyyy " + checksum + "\n") << parsed.err;

    // The log: the GUI's header, then one record a tick, each ending with the uptime.
    run = RunCli({"log", "--port", sim.path, "--output", file, "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string logged = Slurp(file);
    ASSERT_TRUE(logged.starts_with(kLogHeader)) << logged;
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\r'), 4); // a CR LF before each
    EXPECT_EQ(logged.back(), 's');                                // and no line end after the last
    std::filesystem::remove(file);

    run = RunCli({"log", "--port", sim.path, "-o", log, "--csv", "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Python's csv module reads it strictly; each record is shown with its cells joined by "|".
    const ProcessResult read = RunProgram(
        {"python3", "-c",
         "import csv, sys\nfor row in csv.reader(open(sys.argv[1], newline=''), strict=True): "
         "print('|'.join(row))",
         log});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const std::string text = Slurp(log);
    EXPECT_TRUE(text.ends_with("\r\n") && std::count(text.begin(), text.end(), '\r') == 5 &&
                std::count(text.begin(), text.end(), '\n') == 5)
        << "five records, each ended by CR LF: " << text;
    std::istringstream rows(read.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row,
              "time|RPM1|PWM1|RPM2|PWM2|RPM3|PWM3|RPM4|PWM4|NTC1|NTC2|INP1|INP2|ALARMS|Uptime(s)");
    std::filesystem::remove(log);

    run = RunCli({"info", "--port", sim.path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, AllOf(StartsWith("ORV"), SizeIs(Ge(241u))));
    run = RunCli({"info", "--port", sim.path, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    parsed = QueryJson(run.out, "d['identification'][:3], len(d['identification']) >= 240");
    EXPECT_EQ(parsed.out, "ORV True\n") << parsed.err << run.out;
}

// Over a real serial port the session notices when the simulated controller's line is lost, and
// says so as the window does.
TEST(CliSession, ALostLineDisconnectsTheSessionWithTheWindowsMessage) {
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

TEST(CliProcess, VerifiedWriteRefusedFileDefaultsAndRestart) {
    SimulatorRig sim;
    RegisterImage edited = EditedImage();
    BuildConfigurationText(edited); // the checksum entry, as the controller will hold it
    const std::string file = Saved(edited, "write.txt");
    ProcessResult run = RunCli({"write", "--port", sim.path, file, "--verify"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, StartsWith("Verified: the controller holds all 400 registers"));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), edited));

    std::string damaged = SavedFileOf(edited);
    damaged[20] = damaged[20] == '0' ? '1' : '0';
    std::ofstream(file, std::ios::binary) << damaged;
    run = RunCli({"write", "--port", sim.path, file});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("checksum"));
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
    ASSERT_TRUE(silent >= 0 && grantpt(silent) == 0 && unlockpt(silent) == 0);
    // Another line, held as another program holds it.
    const int other = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(other >= 0 && grantpt(other) == 0 && unlockpt(other) == 0);
    const int holder = open(ptsname(other), O_RDWR | O_NOCTTY);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    const std::string never = TempPath("never"), config = Saved(TemplateImage(), "config.txt");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } cases[] = {
        {"no command", {}, 1, "no command"},
        {"missing file", {"check", TempPath("none.txt")}, 2, "cannot read"},
        {"no answer to back up",
         {"write", "--port", ptsname(silent), config, "--backup", never},
         3,
         "no backup, nothing written: no configuration received"},
        {"diff with a missing file", {"diff", config, TempPath("none.txt")}, 2, "cannot read"},
        {"no device",
         {"restart", "--port", "/dev/orvane-x"},
         4,
         "open /dev/orvane-x: is not present"},
        {"unknown COM number", {"restart", "--port", "COM99"}, 4, "COM99"},
        {"not a serial device",
         {"info", "--port", "/dev/null"},
         4,
         "/dev/null: is not a serial port"},
        {"in use", {"info", "--port", ptsname(other)}, 4, ": is in use by another program"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << "case " << c.name;
        EXPECT_THAT(run.err, HasSubstr(c.says)) << "case " << c.name;
    }
    close(silent);
    close(holder);
    close(other);
    std::filesystem::remove(config);
    // Nothing written when nothing was read (the backup folder is made before the read).
    EXPECT_TRUE(!std::filesystem::exists(never) || std::filesystem::is_empty(never));
    std::filesystem::remove(never);

    const ProcessResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* documented : {"ports", "read", "write", "info", "restart", "defaults", "log",
                                   "check", "diff", "--tick-ms", "--seconds", "--verify",
                                   "--backup", "--csv", "--json", "COM", "5 verification"}) {
        EXPECT_THAT(help.out, HasSubstr(documented));
    }
}

} // namespace
} // namespace orvane::test
