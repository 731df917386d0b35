// orvane-sim prints its path first, obeys options and commands, keeps its file, ends on SIGTERM;
// over a real line records arrive whole at the scaled pace; a dropped line hangs up the far end.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>

#include "SimHarness.h"
#include "core/image/ConfigurationText.h"
#include "sim/ConfigStore.h"
#include "sim/Pacer.h"
#include "sim/RuntimeCommands.h"
#include "sim/SimOptions.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;

namespace {

// orvane-sim run with the arguments, its standard input and output on pipes.
struct SimProgram {
    explicit SimProgram(std::vector<std::string> args) {
        std::vector<char*> argv{const_cast<char*>(ORVANE_SIM_PROGRAM)};
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2] = {-1, -1}, in[2] = {-1, -1};
        if (::pipe2(out, O_CLOEXEC) == 0 && ::pipe2(in, O_CLOEXEC) == 0) {
            pid = ::fork();
        }
        if (pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(in[0], 0);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(in[0]);
        output.emplace(out[0]);
        input.emplace(in[1]);
    }
    ~SimProgram() { Wait(SIGKILL); }
    std::string FirstLine() {
        output->ReadUntilText("\n");
        return output->received.substr(0, output->received.find('\n'));
    }
    // Sends the signal (0: none), waits and returns the exit status (-1: it did not exit).
    int Wait(int signal = 0) {
        int status = 0;
        if (pid > 0 && (signal == 0 || ::kill(pid, signal) == 0) &&
            ::waitpid(std::exchange(pid, -1), &status, 0) > 0 && WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        return -1;
    }

    pid_t pid = -1;
    std::optional<LineEnd> output;
    std::optional<LineEnd> input;
};

} // namespace

// A damaged configuration file is not taken; the one a write leaves is taken at the next start.
TEST(SimProgram, TakesFaultsFromOptionsAndTypedCommandsAndKeepsItsConfigurationFile) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("orvane-sim-program-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file) << "no configuration here";
    const StoredConfiguration junk = LoadConfiguration(file);
    EXPECT_FALSE(junk.texts || junk.missing || junk.problem.empty());
    {
        SimProgram sim({"--unpaced", "--time-scale", "20", "--fail-fan", "1", "--fail-sensor=2",
                        "--switch-high", "1", "--config", file.string()});
        LineEnd far(sim.FirstLine());
        ASSERT_TRUE(far.ReadRecords(2));
        const auto fields = Fields(LiveRecords(far.received).back());
        EXPECT_EQ(fields[0] + fields[9] + fields[10], "FAILFAIL HI ");
        const std::pair<const char*, std::pair<std::size_t, const char*>> commands[] = {
            {"fail-fan 2\n", {2, "FAIL"}},
            {"  switch 2 hi \n", {11, " HI "}},
            {"hold 1 33.3\n", {8, " 33.3"}},
            {"explode\nfail-sensor 1\n", {8, "FAIL"}}, // the unknown line is passed over
        };
        for (const auto& [command, field] : commands) {
            sim.input->Write(command);
            EXPECT_TRUE(far.ReadField(field.first, field.second)) << command;
        }
        RegisterImage image = TemplateImage();
        image.SetValue(1, 0); // fan 2 unused
        far.Write("c");
        far.Write("r");
        far.Write(BuildConfigurationText(image).text);
        ASSERT_TRUE(far.ReadUntilText("accepted"));
        EXPECT_EQ(sim.Wait(SIGTERM), 0);
        EXPECT_TRUE(far.HangsUp());
    }
    SimProgram sim({"--unpaced", "--time-scale", "20", "--config=" + file.string()});
    LineEnd far(sim.FirstLine());
    EXPECT_TRUE(far.ReadField(2, "    0"));
    sim.input->Write("drop\n");
    EXPECT_TRUE(far.HangsUp());
    EXPECT_EQ(sim.Wait(), 0);
    std::filesystem::remove(file);
    EXPECT_TRUE(LoadConfiguration(file).missing);
}

TEST(SimProgram, OptionsAndTypedCommandsAreTakenOrRefused) {
    SimulatorHost host; // a stopped host is enough to tell commands from the rest
    for (const char* line : {"", "fix-fan 2", "stall", "resume", "garbage", "clean", "release 1",
                             "corrupt-store 0", "corrupt-store 399", "clean-store"}) {
        EXPECT_EQ(ApplyRuntimeCommand(line, host), CommandOutcome::Done) << line;
    }
    for (const char* line :
         {"fail-fan 5", "fail-fan", "fail-fan 2 now", "switch 1 maybe", "switch 3 hi", "hold 1",
          "hold 1 nan", "hold 1 inf", "stall now", "release", "explode", "corrupt-store",
          "corrupt-store 400", "corrupt-store -1", "corrupt-store 3x", "clean-store 3"}) {
        EXPECT_EQ(ApplyRuntimeCommand(line, host), CommandOutcome::Unknown) << line;
    }
    EXPECT_EQ(ApplyRuntimeCommand("quit", host), CommandOutcome::Quit);

    const CommandLine line =
        ParseCommandLine({"--device", "/dev/ttyUSB1", "--fail-fan", "2", "--fail-fan=4", "--stall",
                          "--garbage", "--corrupt-store", "297"});
    const SimulatorOptions& o = line.simulator;
    EXPECT_TRUE(line.error.empty() && o.devicePath == "/dev/ttyUSB1" && o.faults.stalled &&
                o.faults.garbage && !o.unpaced && o.timeScale == 1.0);
    EXPECT_EQ(o.faults.corruptRegister, 297);
    EXPECT_EQ(o.faults.fanFailed, (std::array<bool, 4>{false, true, false, true}));
    for (const char* bad :
         {"--time-scale=0", "--time-scale=-2", "--time-scale=fast", "--time-scale=inf",
          "--fail-fan=5", "--fail-fan=0", "--fail-sensor=3", "--fail-fan=2x", "--device", "--bogus",
          "--unpaced=yes", "--corrupt-store=400", "--corrupt-store=-1"}) {
        EXPECT_FALSE(ParseCommandLine({bad}).error.empty()) << bad;
    }
    SimProgram help({"--help"});
    EXPECT_NE(help.FirstLine().find("Usage: orvane-sim"), std::string::npos);
    EXPECT_EQ(help.Wait(), 0);
    EXPECT_EQ(SimProgram({"--time-scale", "zero"}).Wait(), 2);
}

// Paced bytes leave singly on time, a few when late, no burst after idling, at the line's rate.
TEST(Pacer, KeepsTheLinesRate) {
    Pacer pacer(Pacer::kLineBytesPerSecond);
    const auto interval = pacer.Interval();
    const Pacer::Clock::time_point t0{1h};
    EXPECT_EQ(pacer.Take(t0, 100) + pacer.Take(t0 + interval / 2, 99), 1u);
    EXPECT_EQ(pacer.Take(t0 + interval * 3, 10'000), 3u);
    EXPECT_EQ(pacer.Take(t0 + 10s, 0) + pacer.Take(t0 + 10s, 9) +
                  pacer.Take(t0 + 10s + interval / 2, 9),
              1u);
    for (double scale : {1.0, 10.0, 100.0}) { // a caller waking every 1.7 ms, plenty waiting
        const double rate = Pacer::kLineBytesPerSecond * scale;
        Pacer scaled(rate);
        std::size_t sent = 0;
        for (auto t = t0; t < t0 + 10s; t += 1700us) {
            sent += scaled.Take(t, 1'000'000);
        }
        EXPECT_NEAR(static_cast<double>(sent), rate * 10, rate * 10 * 0.01) << "scale " << scale;
    }
}

TEST(SimulatorHost, PacedRecordsFollowTheTimeScaleReadersComeAndGoADroppedLineHangsUp) {
    SimulatorHost host;
    SimulatorOptions options;
    options.timeScale = 100;
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(LineEnd(started.path).ReadRecords(2)) << "round " << round;
    }
    LineEnd far(started.path);
    ASSERT_TRUE(far.ReadRecords(40)); // forty seconds at the normal pace; the patience is ten
    const auto records = LiveRecords(far.received);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(Fields(records[i]).size(), 14u) << records[i];
        EXPECT_TRUE(i == 0 || UpTime(records[i]) > UpTime(records[i - 1])) << records[i];
    }
    host.DropLine();
    EXPECT_FALSE(host.IsRunning());
    EXPECT_TRUE(far.HangsUp());
    const StartResult again = host.Start(options); // a new start gives a new line
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_TRUE(LineEnd(again.path).ReadRecords(1));
    options.timeScale = 0; // what it cannot run it refuses
    EXPECT_FALSE(host.Start(options).ok);
    options = SimulatorOptions{};
    options.devicePath = "/nonexistent/ttyS99";
    EXPECT_FALSE(host.Start(options).error.empty() || host.IsRunning());
}
