#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
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

// The tick of every end-to-end run. A reply has ten ticks to arrive, so the tick is the
// slack a loaded machine has to answer in: 50 ms leaves half a second, ample for two tests
// sharing a busy 2-core machine, and a read still takes under two seconds. The simulated
// controller's clock runs as many times faster, so that a tick is still one of its seconds.
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
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << SavedFileOf(image);
    return path;
}

struct ProcessResult {
    int exitCode = -1; // -1: could not start; 137: killed by the timeout
    std::string out;
    std::string err;
};

// Runs a program found on the path with its output captured; `timeout` bounds the wait.
inline ProcessResult RunProgram(std::vector<std::string> args) {
    args.insert(args.begin(), {"timeout", "-s", "KILL", "120"});
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
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

// An HTML file as Python's own parser reads it: every start tag it met, and the text of each
// heading, paragraph, list item, preformatted block, table cell and title, in document order.
struct HtmlOutline {
    std::set<std::string> tags;
    std::vector<std::pair<std::string, std::string>> texts; // tag, text
    std::string error;                                      // the parser's, when it failed

    std::vector<std::string> TextsOf(const std::string& tag) const {
        std::vector<std::string> found;
        for (const auto& [t, text] : texts) {
            if (t == tag) {
                found.push_back(text);
            }
        }
        return found;
    }
};

// Prints the tags on the first line, then "tag<TAB>text" with each text's line ends as "\\n".
inline HtmlOutline ReadHtml(const std::string& path) {
    const ProcessResult run =
        RunProgram({"python3", "-c",
                    "import html.parser, sys\n"
                    "class Outline(html.parser.HTMLParser):\n"
                    "    KEEP = {'title', 'h1', 'h2', 'h3', 'p', 'li', 'pre', 'th', 'td'}\n"
                    "    def __init__(self):\n"
                    "        super().__init__(convert_charrefs=True)\n"
                    "        self.tags, self.texts, self.open = set(), [], None\n"
                    "    def handle_starttag(self, tag, attrs):\n"
                    "        self.tags.add(tag)\n"
                    "        if tag in self.KEEP: self.open = [tag, '']\n"
                    "    def handle_endtag(self, tag):\n"
                    "        if self.open and self.open[0] == tag:\n"
                    "            self.texts.append(self.open)\n"
                    "            self.open = None\n"
                    "    def handle_data(self, data):\n"
                    "        if self.open: self.open[1] += data\n"
                    "p = Outline()\n"
                    "p.feed(open(sys.argv[1], encoding='utf-8').read())\n"
                    "p.close()\n"
                    "sys.stdout.reconfigure(encoding='utf-8')\n"
                    "print(' '.join(sorted(p.tags)))\n"
                    "for tag, text in p.texts: print(tag + '\\t' + text.replace('\\n', '\\\\n'))\n",
                    path});
    HtmlOutline outline;
    if (run.exitCode != 0) {
        outline.error = run.err;
        return outline;
    }
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    for (std::istringstream tags(line); tags >> line;) {
        outline.tags.insert(line);
    }
    while (std::getline(lines, line)) {
        const auto tab = line.find('\t');
        outline.texts.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return outline;
}

} // namespace orvane::test
