#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "core/image/RegisterImage.h"
#include "sim/SimulatorHost.h"

namespace orvane::test {

using namespace ::testing; // matchers

// The tick of every end-to-end run: a reply's ten ticks leave a loaded machine half a second;
// the simulated controller runs as many times faster, so that a tick is still one of its seconds.
inline constexpr int kTickMs = 50;

// A simulated controller on a pseudo-terminal, unpaced.
struct SimulatorRig {
    sim::SimulatorHost host;
    std::string path;

    explicit SimulatorRig(std::optional<RegisterTexts> configuration = std::nullopt) {
        sim::SimulatorOptions options;
        options.unpaced = true;
        options.timeScale = 1000.0 / kTickMs;
        options.configuration = std::move(configuration);
        const sim::StartResult started = host.Start(options);
        EXPECT_TRUE(started.ok) << started.error;
        path = started.path;
    }
};

inline RegisterImage TemplateImage() {
    RegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// Differs from the template in several places; its name is "EEFAULT", its issue 7.
inline RegisterImage EditedImage() {
    RegisterImage image = TemplateImage();
    for (const auto& [reg, text] :
         {std::pair{0, "0002"}, {180, "0003"}, {186, "0045"}, {211, "0007"}, {296, "0014"}}) {
        image.SetText(reg, text);
    }
    return image;
}

// The first `entries` entries agree, or the first that does not is named.
inline AssertionResult SameTexts(const RegisterImage& a, const RegisterImage& b,
                                 int entries = kImageEntries) {
    for (int i = 0; i < entries; ++i) {
        if (a.Text(i) != b.Text(i)) {
            return AssertionFailure()
                   << "register " << i << ": " << a.Text(i) << " vs " << b.Text(i);
        }
    }
    return AssertionSuccess();
}

// A file name of this test process's own, so parallel runs do not share it.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "tools_" + std::to_string(getpid()) + "_" + name;
}

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The configuration file the GUI would save for `image`.
inline std::string SavedFileOf(RegisterImage image) {
    const auto bytes = EncodeConfigurationFile(BuildConfigurationText(image).text);
    return {bytes.begin(), bytes.end()};
}

// `image` saved as the GUI saves it, under a temporary name; returns the path.
inline std::string Saved(const RegisterImage& image, const std::string& name) {
    std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << SavedFileOf(image);
    return path;
}

struct ProcessResult {
    int exitCode = -1; // -1: could not start; 137: killed by the timeout
    std::string out;
    std::string err;
};

// Runs a program found on the path with its output captured, killed after two minutes.
inline ProcessResult RunProgram(std::vector<std::string> args) {
    args.insert(args.begin(), {"timeout", "-s", "KILL", "120"});
    std::vector<char*> argv(args.size() + 1, nullptr);
    std::transform(args.begin(), args.end(), argv.begin(), [](auto& arg) { return arg.data(); });
    const std::string out = TempPath("cli_out"), err = TempPath("cli_err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [fd, path] : {std::pair{STDOUT_FILENO, &out}, {STDERR_FILENO, &err}}) {
        posix_spawn_file_actions_addopen(&actions, fd, path->c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    }
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

// Runs orvane-cli on the end-to-end tick.
inline ProcessResult RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), ORVANE_CLI_PROGRAM);
    args.insert(args.end(), {"--tick-ms", std::to_string(kTickMs)});
    return RunProgram(std::move(args));
}

// What the Python expression `query` makes of `json` parsed by Python (as `d`).
inline ProcessResult QueryJson(const std::string& json, const std::string& query) {
    const std::string path = TempPath("query.json");
    std::ofstream(path, std::ios::binary) << json;
    ProcessResult result =
        RunProgram({"python3", "-c",
                    "import json, sys\nd = json.load(open(sys.argv[1], encoding='utf-8'))\n" +
                        std::string("print(") + query + ")",
                    path});
    std::filesystem::remove(path);
    return result;
}

// The texts of an HTML file's headings, paragraphs, list items, preformatted blocks and table
// cells as Python's own parser reads them, by tag, in document order.
inline std::map<std::string, std::vector<std::string>> ReadHtml(const std::string& path) {
    const ProcessResult run =
        RunProgram({"python3", "-c",
                    "import html.parser, sys\n"
                    "class Outline(html.parser.HTMLParser):\n"
                    "    open = None\n"
                    "    def handle_starttag(self, tag, attrs):\n"
                    "        if tag in ('h2', 'p', 'li', 'pre', 'td'): self.open = [tag, '']\n"
                    "    def handle_endtag(self, tag):\n"
                    "        if self.open and self.open[0] == tag:\n"
                    "            print(tag + '\\t' + self.open[1].replace('\\n', '\\\\n'))\n"
                    "            self.open = None\n"
                    "    def handle_data(self, data):\n"
                    "        if self.open: self.open[1] += data\n"
                    "sys.stdout.reconfigure(encoding='utf-8')\n"
                    "Outline().feed(open(sys.argv[1], encoding='utf-8').read())\n",
                    path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::map<std::string, std::vector<std::string>> texts;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const auto tab = line.find('\t');
        texts[line.substr(0, tab)].push_back(line.substr(tab + 1));
    }
    return texts;
}

} // namespace orvane::test
