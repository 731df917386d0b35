// A commissioning run on a simulated controller: what was there is backed up first, a verified
// write fails loudly on a register the controller stores wrongly, differences are named as the
// pages name them, and CSV and JSON output parse with readers other than our own writers.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <utility>

#include "ToolsRig.h"
#include "core/Checksum.h"
#include "core/ConfigFile.h"
#include "core/ConfigurationText.h"
#include "sim/RuntimeCommands.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// Twice the other tool tests' tick: these runs chain several commands, and every reply must
// arrive within its ten ticks even while other tests keep the processors busy.
constexpr int kTickMs = 2 * kFastTickMs;

ProcessResult Cli(std::vector<std::string> args) {
    return RunCli(std::move(args), kTickMs);
}

std::string SavedFileOf(CRegisterImage image) {
    const auto bytes = EncodeConfigurationFile(BuildConfigurationText(image).text);
    return {bytes.begin(), bytes.end()};
}

std::string Saved(const CRegisterImage& image, const std::string& name) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << SavedFileOf(image);
    return path;
}

// The configuration a site engineer prepared: a new name, a ramp rate, a voltage mode with an
// alarm limit in volts, and two option bits of two pages in register 184.
CRegisterImage SiteImage() {
    CRegisterImage image = TemplateImage();
    const std::string name = "SITE-4";
    for (std::size_t i = 0; i <= name.size(); ++i) {
        image.SetValue(kNameField.first + static_cast<int>(i), i < name.size() ? name[i] : 0);
    }
    image.SetText(297, "0019");
    image.SetText(183, "0003");
    image.SetText(100, "00D2");
    image.SetText(104, "FFFB"); // alarm 3's low limit, -0.05 V
    image.SetText(184, "0014");
    return image;
}

// RFC 4180 records, or nothing when the text is not well-formed CSV with CR LF line ends.
std::optional<std::vector<std::vector<std::string>>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"' && cell.empty()) {
            for (++i;; i += 2) { // up to the closing quote, doubled quotes taken as one
                const std::size_t quote = text.find('"', i);
                if (quote == std::string::npos) {
                    return std::nullopt;
                }
                cell.append(text, i, quote - i);
                i = quote;
                if (text.compare(i, 2, "\"\"") != 0) {
                    break;
                }
                cell += '"';
            }
            if (++i < text.size() && text[i] != ',' && text.compare(i, 2, "\r\n") != 0) {
                return std::nullopt;
            }
        } else if (text[i] == ',') {
            row.push_back(std::exchange(cell, {}));
            ++i;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            row.push_back(std::exchange(cell, {}));
            rows.push_back(std::exchange(row, {}));
            i += 2;
        } else if (text[i] == '"' || text[i] == '\r' || text[i] == '\n') {
            return std::nullopt;
        } else {
            cell += text[i++];
        }
    }
    if (!row.empty() || !cell.empty()) {
        return std::nullopt; // the last record must end with CR LF too
    }
    return rows;
}

bool IsNumber(const std::string& cell) {
    return std::regex_match(cell, std::regex(R"(-?\d+(\.\d+)?)"));
}

TEST(Commissioning, BackUpThenVerifiedWritesPassAndFailOnTheCorruptedRegister) {
    SimulatorRig sim(EditedImage().Texts(), kTickMs);
    const CRegisterImage before = sim.host.Configuration();
    const std::string site = Saved(SiteImage(), "site.txt");
    const std::string backups = TempPath("backups");
    ProcessResult run = Cli({"write", "--port", sim.path, site, "--backup", backups, "--verify"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Verified"));
    std::vector<fs::path> saved(fs::directory_iterator(backups), {});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(std::regex_match(saved[0].filename().string(),
                                 std::regex(R"(EEFAULT_Issue7_\d{8}-\d{6}\.txt)")))
        << saved[0];
    EXPECT_EQ(Slurp(saved[0]), SavedFileOf(before));
    EXPECT_THAT(run.out, HasSubstr("Backup: " + saved[0].string()));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), SiteImage(), kRegisterCount));

    // The controller now stores FAN 2's ramp rate wrongly: the write goes through, and the
    // verification names the register, what was sent and what came back.
    ASSERT_EQ(sim::ApplyRuntimeCommand("corrupt-store 297", sim.host), sim::CommandOutcome::Done);
    const std::string edited = Saved(EditedImage(), "edited.txt");
    run = Cli({"write", "--port", sim.path, edited, "--verify"});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    EXPECT_EQ(run.out, "register 297 (Fan Setting / FAN 2 Ramp Rate): sent 000A (10), read 000B "
                       "(11)\nchecksum: sent " +
                           ChecksumText(EditedImage().Texts()) + ", read " +
                           sim.host.Configuration().Text(kChecksumIndex) + "\n");
    EXPECT_THAT(run.err, HasSubstr("verification failed: 1 register and the checksum differ"));

    // A backup that cannot be saved stops the write before anything is sent.
    ASSERT_EQ(sim::ApplyRuntimeCommand("clean-store", sim.host), sim::CommandOutcome::Done);
    const CRegisterImage held = sim.host.Configuration();
    run = Cli({"write", "--port", sim.path, site, "--backup", edited, "--verify"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, AllOf(HasSubstr("backup folder"), HasSubstr("nothing written")));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), held));
    fs::remove_all(backups);
    fs::remove(site);
    fs::remove(edited);
}

TEST(Commissioning, DiffNamesSettingsInThePagesWordsAndAsJson) {
    const std::string defaults = Saved(TemplateImage(), "defaults.txt");
    const std::string site = Saved(SiteImage(), "site.txt");
    const std::string lines = "Start / Configuration File Name: DEFAULT -> SITE-4\n"
                              "Mode / Operating Mode: Temperature sets PWM Output (Open Loop) -> "
                              "0-10V input sets PWM Output (Open Loop)\n"
                              "Fan Setting / FAN 2 Ramp Rate: 10 -> 25\n"
                              "Fan Setting / Daily Fan Run: no -> yes\n"
                              "Multi Point/Speed / Point Mode: Two Point -> Multi Point\n"
                              "Alarm Config. / Alarm 1 Sensor 1 Low Limit: (not used) -> 2.10 V\n"
                              "Alarm Config. / Alarm 3 Sensor 1 Low Limit: (not used) -> -0.05 V\n";
    ProcessResult run = Cli({"diff", defaults, site});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, lines);
    run = Cli({"diff", site, site});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    run = Cli({"diff", defaults, site, "--json"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const ProcessResult parsed = QueryJson(
        run.out, "d['same'], len(d['differences']), [(x['register'], x['page'], x['name'], "
                 "x['old'], x['new']) for x in d['differences'][2:4]], d['differences'][0]"
                 "['registers'], d['differences'][3]['bits'], d['differences'][3]['newWords']");
    ASSERT_EQ(parsed.exitCode, 0) << parsed.err << run.out;
    EXPECT_EQ(parsed.out, "False 7 [(297, 'Fan Setting', 'FAN 2 Ramp Rate', '10', '25'), (184, "
                          "'Fan Setting', 'Daily Fan Run', 'no', 'yes')] [186, 187, 188, 189, 190, "
                          "191, 192] 16 ['0014']\n");

    // Against the controller: what writing the file would change.
    SimulatorRig sim(SiteImage().Texts(), kTickMs);
    run = Cli({"diff", "--port", sim.path, defaults});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Fan Setting / FAN 2 Ramp Rate: 25 -> 10\n"));
    EXPECT_EQ(Cli({"diff", "--port", sim.path, site}).exitCode, 0);

    std::ofstream(site, std::ios::binary) << "no configuration";
    run = Cli({"diff", defaults, site});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("not a configuration file"));
    fs::remove(defaults);
    fs::remove(site);
}

TEST(Commissioning, CsvLogAndJsonReportsParse) {
    SimulatorRig sim(std::nullopt, kTickMs);
    sim.host.SetFanFailed(2, true);
    const std::string csv = TempPath("log.csv");
    ProcessResult run = Cli({"log", "--port", sim.path, "-o", csv, "--csv", "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto read = ReadCsv(Slurp(csv));
    ASSERT_TRUE(read && read->size() == 5u) << Slurp(csv);
    const auto& rows = *read;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time", "RPM1", "PWM1", "RPM2", "PWM2", "RPM3",
                                                 "PWM3", "RPM4", "PWM4", "NTC1", "NTC2", "INP1",
                                                 "INP2", "ALARMS", "Uptime(s)"}));
    const std::regex isoTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)");
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& row = rows[r];
        ASSERT_EQ(row.size(), 15u) << "row " << r;
        EXPECT_TRUE(std::regex_match(row[0], isoTime)) << "row " << r << ": " << row[0];
        for (std::size_t c = 1; c <= 10; ++c) {
            EXPECT_TRUE(c == 3 ? row[c] == "FAIL" : IsNumber(row[c]))
                << "row " << r << " column " << rows[0][c] << ": " << row[c];
        }
        EXPECT_EQ(row[11] + row[12], "LOLO") << "row " << r;
        EXPECT_TRUE(IsNumber(row[14])) << "row " << r << ": " << row[14];
        if (r > 1) {
            EXPECT_GT(std::stoi(row[14]), std::stoi(rows[r - 1][14])) << "one row per record";
        }
    }
    fs::remove(csv);

    const std::string file = Saved(EditedImage(), "check.txt");
    run = Cli({"check", file, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ProcessResult parsed = QueryJson(run.out, "d['name'], d['issue'], d['description'], d['date'], "
                                              "d['checksum'] == '" +
                                                  ChecksumText(EditedImage().Texts()) + "'");
    EXPECT_EQ(parsed.out, "EEFAULT 7 Comment dd/mm/yyyy True\n") << parsed.err << run.out;
    fs::remove(file);

    run = Cli({"info", "--port", sim.path, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    parsed = QueryJson(run.out, "d['identification'][:3], len(d['identification']) >= 240");
    EXPECT_EQ(parsed.out, "ORV True\n") << parsed.err << run.out;
}

} // namespace
} // namespace orvane::test
