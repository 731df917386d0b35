// A commissioning run on a simulated controller: what was there is backed up first, a verified
// write fails loudly on a register the controller stores wrongly, differences are named as the
// pages name them, and CSV and JSON output parse with readers other than our own writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "ToolsRig.h"
#include "core/image/Checksum.h"
#include "sim/RuntimeCommands.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// The configuration a site engineer prepared: a new name, a ramp rate, a voltage mode with an
// alarm limit in volts, and two option bits of two pages in register 184.
RegisterImage SiteImage() {
    RegisterImage image = TemplateImage();
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

// The controller stores FAN 2's ramp rate wrongly: the backup holds what was there before, the
// write goes through, and the verification names the register, what was sent and what came back.
TEST(Commissioning, BackUpThenAVerifiedWriteFailsOnTheCorruptedRegister) {
    SimulatorRig sim(EditedImage().Texts());
    const RegisterImage before = sim.host.Configuration();
    ASSERT_EQ(sim::ApplyRuntimeCommand("corrupt-store 297", sim.host), sim::CommandOutcome::Done);
    const std::string site = Saved(SiteImage(), "site.txt");
    const std::string backups = TempPath("backups");
    ProcessResult run =
        RunCli({"write", "--port", sim.path, site, "--backup", backups, "--verify"});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    std::vector<fs::path> saved(fs::directory_iterator(backups), {});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_THAT(saved[0].filename().string(),
                MatchesRegex(R"(EEFAULT_Issue7_[0-9]{8}-[0-9]{6}\.txt)"));
    EXPECT_EQ(Slurp(saved[0]), SavedFileOf(before));
    EXPECT_EQ(run.out, "Backup: " + saved[0].string() +
                           "\nregister 297 (Fan Setting / FAN 2 Ramp Rate): sent 0019 (25), read "
                           "0018 (24)\nchecksum: sent " +
                           ChecksumText(SiteImage().Texts()) + ", read " +
                           sim.host.Configuration().Text(kChecksumIndex) + "\n");
    EXPECT_THAT(run.err, HasSubstr("verification failed: 1 register and the checksum differ"));
    RegisterImage stored = SiteImage();
    stored.SetText(297, "0018");
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), stored, kRegisterCount));

    // A backup that cannot be saved stops the write before anything is sent.
    run = RunCli({"write", "--port", sim.path, Saved(EditedImage(), "edited.txt"), "--backup", site,
                  "--verify"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, AllOf(HasSubstr("backup folder"), HasSubstr("nothing written")));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), stored, kRegisterCount));
    fs::remove_all(backups);
    fs::remove(site);
    fs::remove(TempPath("edited.txt"));
}

TEST(Commissioning, DiffNamesSettingsInThePagesWordsAndAsJson) {
    const std::string defaults = Saved(TemplateImage(), "defaults.txt");
    const std::string site = Saved(SiteImage(), "site.txt");
    // The lines are the register map's descriptions, one a difference, in the pages' order.
    ProcessResult run = RunCli({"diff", defaults, site});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 7) << run.out;
    EXPECT_THAT(run.out, AllOf(StartsWith("Start / Configuration File Name: DEFAULT -> SITE-4\n"),
                               EndsWith("Alarm 3 Sensor 1 Low Limit: (not used) -> -0.05 V\n")));
    run = RunCli({"diff", site, site});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    run = RunCli({"diff", defaults, site, "--json"});
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
    SimulatorRig sim(SiteImage().Texts());
    run = RunCli({"diff", "--port", sim.path, defaults});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Fan Setting / FAN 2 Ramp Rate: 25 -> 10\n"));

    std::ofstream(site, std::ios::binary) << "no configuration";
    run = RunCli({"diff", defaults, site});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("not a configuration file"));
    fs::remove(defaults);
    fs::remove(site);
}

TEST(Commissioning, CsvLogAndJsonReportsParse) {
    SimulatorRig sim;
    sim.host.SetFanFailed(2, true);
    const std::string csv = TempPath("log.csv");
    ProcessResult run = RunCli({"log", "--port", sim.path, "-o", csv, "--csv", "--seconds", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Python's csv module reads it strictly; each record is shown with its cells joined by "|".
    const ProcessResult read = RunProgram(
        {"python3", "-c",
         "import csv, sys\nfor row in csv.reader(open(sys.argv[1], newline=''), strict=True): "
         "print('|'.join(row))",
         csv});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const std::string text = Slurp(csv);
    EXPECT_TRUE(text.ends_with("\r\n") && std::count(text.begin(), text.end(), '\r') == 5 &&
                std::count(text.begin(), text.end(), '\n') == 5)
        << "five records, each ended by CR LF: " << text;
    std::istringstream rows(read.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row,
              "time|RPM1|PWM1|RPM2|PWM2|RPM3|PWM3|RPM4|PWM4|NTC1|NTC2|INP1|INP2|ALARMS|Uptime(s)");
    // The time in ISO 8601 with its offset, numbers as numbers (fan 2's speed failed), the
    // uptime rising from row to row.
    std::string pattern = R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)";
    for (int column = 1; column <= 10; ++column) {
        pattern += column == 3 ? R"(\|FAIL)" : R"(\|-?\d+(\.\d+)?)";
    }
    const std::regex record(pattern + R"(\|LO\|LO\|[^|]*\|(\d+))");
    for (int uptime = -1; std::getline(rows, row);) {
        std::smatch cells;
        ASSERT_TRUE(std::regex_match(row, cells, record)) << row;
        EXPECT_GT(std::stoi(cells[cells.size() - 1]), uptime) << "one row per record: " << row;
        uptime = std::stoi(cells[cells.size() - 1]);
    }
    fs::remove(csv);

    const std::string file = Saved(EditedImage(), "check.txt");
    run = RunCli({"check", file, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ProcessResult parsed = QueryJson(run.out, "d['name'], d['issue'], d['description'], d['date'], "
                                              "d['checksum'] == '" +
                                                  ChecksumText(EditedImage().Texts()) + "'");
    EXPECT_EQ(parsed.out, "EEFAULT 7 Comment dd/mm/yyyy True\n") << parsed.err << run.out;
    fs::remove(file);

    run = RunCli({"info", "--port", sim.path, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    parsed = QueryJson(run.out, "d['identification'][:3], len(d['identification']) >= 240");
    EXPECT_EQ(parsed.out, "ORV True\n") << parsed.err << run.out;
}

} // namespace
} // namespace orvane::test
