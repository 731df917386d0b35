// A commissioning run on a simulated controller: what was there is backed up first, a verified
// write fails loudly on a register the controller stores wrongly, differences are named as the
// pages name them, and the JSON and HTML written parse with readers other than our own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ToolsRig.h"
#include "core/image/Checksum.h"
#include "sim/RuntimeCommands.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// Texts that would be markup if they were not escaped.
const std::string kSite = "<script>alert(1)</script>";
const std::string kEngineer = "O'Neil & Sons";

// The configuration a site engineer prepared: a new name, a ramp rate, a voltage mode with an
// alarm limit in volts, and two option bits of two pages in register 184.
RegisterImage SiteImage(const std::string& name = "SITE-4") {
    RegisterImage image = TemplateImage();
    for (std::size_t i = 0; i <= name.size(); ++i) {
        image.SetValue(kNameField.first + static_cast<int>(i), i < name.size() ? name[i] : 0);
    }
    for (const auto& [reg, text] :
         {std::pair{297, "0019"}, {183, "0003"}, {100, "00D2"}, {104, "FFFB"}, {184, "0014"}}) {
        image.SetText(reg, text); // 104: alarm 3's low limit, -0.05 V
    }
    return image;
}

// The controller stores FAN 2's ramp rate wrongly: the backup holds what was there before, the
// write goes through, the verification names the register, what was sent and what came back,
// and the report says so.
TEST(Commissioning, BackUpThenAVerifiedWriteFailsOnTheCorruptedRegisterAndIsReported) {
    SimulatorRig sim(EditedImage().Texts());
    const RegisterImage before = sim.host.Configuration();
    ASSERT_EQ(sim::ApplyRuntimeCommand("corrupt-store 297", sim.host), sim::CommandOutcome::Done);
    RegisterImage site = SiteImage("<b>&amp;");
    site.SetValue(kIssueRegister, 7);
    const std::string file = Saved(site, "site.txt"), backups = TempPath("backups");
    const std::string report = TempPath("report.html");
    ProcessResult run =
        RunCli({"write", "--port", sim.path, file, "--backup", backups, "--verify", "--identify",
                "--report", report, "--site", kSite, "--engineer", kEngineer});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    std::vector<fs::path> saved(fs::directory_iterator(backups), {});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_THAT(saved[0].filename().string(),
                MatchesRegex(R"(EEFAULT_Issue7_[0-9]{8}-[0-9]{6}\.txt)"));
    EXPECT_EQ(Slurp(saved[0]), SavedFileOf(before));
    EXPECT_EQ(run.out, "Backup: " + saved[0].string() +
                           "\nregister 297 (Fan Setting / FAN 2 Ramp Rate): sent 0019 (25), read "
                           "0018 (24)\nchecksum: sent " +
                           ChecksumText(site.Texts()) + ", read " +
                           sim.host.Configuration().Text(kChecksumIndex) + "\nReport: " + report +
                           "\n");
    EXPECT_THAT(run.err, HasSubstr("verification failed: 1 register and the checksum differ"));
    RegisterImage stored = site;
    stored.SetText(297, "0018");
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), stored, kRegisterCount));

    auto html = ReadHtml(report);
    const std::vector<std::string> cells{"<b>&amp;, issue 7", kSite,       kEngineer,
                                         saved[0].string(),   "0019 (25)", "0018 (24)"};
    EXPECT_THAT(html["td"], IsSupersetOf(cells));
    EXPECT_THAT(html["p"], Contains("Verification: failed (1 registers differ)"));
    EXPECT_THAT(html["li"], Contains("Fan Setting / FAN 2 Ramp Rate: 10 -> 25"));
    EXPECT_THAT(html["h2"], Contains("Live snapshot"));
    ASSERT_EQ(html["pre"].size(), 1u);
    EXPECT_THAT(html["pre"][0], StartsWith("ORV"));

    // A backup that cannot be saved stops the write before anything is sent.
    run = RunCli({"write", "--port", sim.path, Saved(EditedImage(), "edited.txt"), "--backup", file,
                  "--verify"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, AllOf(HasSubstr("backup folder"), HasSubstr("nothing written")));
    EXPECT_TRUE(SameTexts(sim.host.Configuration(), stored, kRegisterCount));

    // From two files: not verified, and no report without a backup's as-found record.
    run = RunCli({"report", "--found", file, "--left", file, "-o", report});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    html = ReadHtml(report);
    EXPECT_THAT(html["p"], AllOf(Contains("Verification: not done"), Contains("No changes"),
                                 Contains("Not captured during this visit")));
    EXPECT_THAT(html["h2"], Not(Contains("Live snapshot")));
    run = RunCli({"write", "--port", "/dev/null", file, "--report", report});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("--report needs --backup"));
    fs::remove_all(backups);
    for (const std::string& name : {file, report, TempPath("edited.txt")}) {
        fs::remove(name);
    }
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

} // namespace
} // namespace orvane::test
