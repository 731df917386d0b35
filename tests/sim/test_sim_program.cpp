// orvane-sim prints its line's path first, answers on it, ends cleanly on SIGTERM and keeps a
// written configuration in its file for the next run.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include <spawn.h>
#include <sys/wait.h>

#include "HostReading.h"
#include "LineEnd.h"
#include "core/ConfigurationText.h"

using namespace orvane;
using namespace orvane::sim::testing;

extern char** environ;

namespace {

// Runs orvane-sim with the arguments; its standard output comes back through a pipe.
class SimProgram {
public:
    explicit SimProgram(std::vector<std::string> args) {
        args.insert(args.begin(), ORVANE_SIM_PROGRAM);
        int out[2];
        int in[2];
        if (::pipe(out) != 0 || ::pipe(in) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(in[0]);
        m_out = out[0];
        m_in = in[1];
    }
    ~SimProgram() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) {
            ::close(m_out);
        }
        if (m_in >= 0) {
            ::close(m_in);
        }
    }

    // Types on the program's standard input.
    void Type(const std::string& text) {
        [[maybe_unused]] const auto written = ::write(m_in, text.data(), text.size());
    }

    // The first line of standard output.
    std::string FirstLine() {
        LineEnd pipe(::dup(m_out));
        pipe.ReadUntilText("\n");
        const auto end = pipe.received.find('\n');
        return end == std::string::npos ? std::string() : pipe.received.substr(0, end);
    }
    // Sends the signal and returns the exit status (-1 if it did not exit normally).
    int Terminate(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Wait() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
};

std::filesystem::path TempFile(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string("orvane-sim-program-") + std::to_string(::getpid()) + name);
}

} // namespace

TEST(SimProgram, PrintsThePathFirstAndEndsOnSigterm) {
    SimProgram sim({"--unpaced", "--time-scale", "20", "--fail-fan", "1"});
    const std::string path = sim.FirstLine();
    ASSERT_FALSE(path.empty());
    LineEnd far(path);
    ASSERT_TRUE(far.IsOpen()) << path;
    ASSERT_TRUE(far.ReadUntil([](const std::string& r) { return LiveRecords(r).size() >= 2; }));
    EXPECT_EQ(Fields(LiveRecords(far.received).back())[0], "FAIL");
    EXPECT_EQ(sim.Terminate(SIGTERM), 0);
    far.ReadUntil([](const std::string&) { return false; });
    EXPECT_TRUE(far.hungUp);
}

TEST(SimProgram, KeepsItsConfigurationBetweenRuns) {
    const auto file = TempFile("config.txt");
    std::filesystem::remove(file);
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetValue(211, 0x2A);
    const std::string text = BuildConfigurationText(image).text;
    {
        SimProgram sim({"--unpaced", "--config", file.string()});
        LineEnd far(sim.FirstLine());
        far.Write("c");
        far.Write("r");
        far.Write(text);
        ASSERT_TRUE(far.ReadUntilText("accepted"));
        EXPECT_EQ(sim.Terminate(SIGINT), 0);
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    {
        SimProgram sim({"--unpaced", "--config", file.string()});
        LineEnd far(sim.FirstLine());
        far.Write("c");
        far.Write("s");
        ASSERT_TRUE(far.ReadUntilText("again"));
        far.Write("s");
        ASSERT_TRUE(far.ReadUntilText("> END"));
        const auto dump = ParseConfigurationReply(far.received);
        ASSERT_TRUE(dump);
        EXPECT_EQ(dump->groups[211], "002A");
        EXPECT_TRUE(dump->checksumHolds);
    }
    std::filesystem::remove(file);
}

TEST(SimProgram, TypedCommandsSwitchFaultsAndDropTheLine) {
    SimProgram sim({"--unpaced", "--time-scale", "20"});
    LineEnd far(sim.FirstLine());
    ASSERT_TRUE(far.ReadUntil([](const std::string& r) { return LiveRecords(r).size() >= 1; }));
    sim.Type("fail-sensor 2\nno such command\n");
    const std::size_t mark = far.received.size();
    ASSERT_TRUE(far.ReadUntil([mark](const std::string& r) {
        const auto records = LiveRecords(r.substr(mark));
        return !records.empty() && Fields(records.back())[9] == "FAIL";
    }));
    sim.Type("drop\n");
    far.ReadUntil([](const std::string&) { return false; });
    EXPECT_TRUE(far.hungUp);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST(SimProgram, HelpAndBadOptions) {
    SimProgram help({"--help"});
    EXPECT_NE(help.FirstLine().find("Usage: orvane-sim"), std::string::npos);
    EXPECT_EQ(help.Wait(), 0);
    SimProgram bad({"--time-scale", "zero"});
    EXPECT_EQ(bad.Wait(), 2);
}
