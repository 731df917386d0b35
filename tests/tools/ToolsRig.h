#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/RegisterImage.h"
#include "sim/SimulatorHost.h"

namespace orvane::test {

using namespace ::testing; // matchers

// Fast ticks for the end-to-end runs; the simulated controller's clock runs as many
// times faster, so that one tick is still one of its seconds.
inline constexpr int kFastTickMs = 20;

// A simulated controller on a pseudo-terminal, unpaced.
struct SimulatorRig {
    sim::SimulatorHost host;
    std::string path;

    explicit SimulatorRig(std::optional<RegisterTexts> configuration = std::nullopt,
                          int tickMs = kFastTickMs) {
        sim::SimulatorOptions options;
        options.unpaced = true;
        options.timeScale = 1000.0 / tickMs;
        options.configuration = std::move(configuration);
        const sim::StartResult started = host.Start(options);
        EXPECT_TRUE(started.ok) << started.error;
        path = started.path;
    }
};

inline CRegisterImage TemplateImage() {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// An image that differs from the template in several places.
inline CRegisterImage EditedImage() {
    CRegisterImage image = TemplateImage();
    image.SetText(0, "0002");
    image.SetText(180, "0003");
    image.SetText(186, "0045"); // name "EEFAULT"
    image.SetText(211, "0007");
    image.SetText(296, "0014");
    return image;
}

// The first `entries` entries agree, or the first that does not is named.
inline ::testing::AssertionResult SameTexts(const CRegisterImage& a, const CRegisterImage& b,
                                            int entries = kImageEntries) {
    for (int i = 0; i < entries; ++i) {
        if (a.Text(i) != b.Text(i)) {
            return ::testing::AssertionFailure()
                   << "register " << i << ": " << a.Text(i) << " vs " << b.Text(i);
        }
    }
    return ::testing::AssertionSuccess();
}

// A file name of this test process's own, so parallel runs do not share it.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "tools_" + std::to_string(getpid()) + "_" + name;
}

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct ProcessResult {
    int exitCode = -1; // -1: could not start; 137: killed by the timeout
    std::string out;
    std::string err;
};

// Runs a program found on the path with its output captured; `timeout` bounds the wait.
inline ProcessResult RunProgram(std::vector<std::string> args) {
    args.insert(args.begin(), {"timeout", "-s", "KILL", "60"});
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const std::string out = TempPath("cli_out");
    const std::string err = TempPath("cli_err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ProcessResult result;
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
        waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = Slurp(out);
    result.err = Slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

// Runs orvane-cli on fast ticks.
inline ProcessResult RunCli(std::vector<std::string> args, int tickMs = kFastTickMs) {
    args.insert(args.begin(), ORVANE_CLI_PROGRAM);
    args.insert(args.end(), {"--tick-ms", std::to_string(tickMs)});
    return RunProgram(std::move(args));
}

// Reads `json` with Python's own parser and prints what the expression `query` makes of it
// (the parsed value is `d`); the output is empty and the exit status non-zero when it does
// not parse.
inline ProcessResult QueryJson(const std::string& json, const std::string& query) {
    const std::string path = TempPath("query.json");
    std::ofstream(path, std::ios::binary) << json;
    ProcessResult result =
        RunProgram({"python3", "-c",
                    "import json, sys\nd = json.load(open(sys.argv[1], encoding='utf-8'))\nprint(" +
                        query + ")",
                    path});
    std::filesystem::remove(path);
    return result;
}

} // namespace orvane::test
