// A commissioning report made by the real chain says what the controller held, what was
// written and what the read-back found, in a file that any HTML parser reads as text.
#include <gtest/gtest.h>

#include <filesystem>

#include "ToolsRig.h"
#include "sim/RuntimeCommands.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// Texts that would be markup if they were not escaped.
const std::string kName = "<b>&amp;";
const std::string kSite = "<script>alert(1)</script>";
const std::string kEngineer = "O'Neil & Sons";

RegisterImage SiteImage() {
    RegisterImage image = EditedImage();
    for (std::size_t i = 0; i <= kName.size(); ++i) {
        image.SetValue(kNameField.first + static_cast<int>(i), i < kName.size() ? kName[i] : 0);
    }
    image.SetText(297, "0019");
    return image;
}

// The `count` cells from the first that reads `first`, joined by "|".
std::string RowFrom(const HtmlOutline& html, const std::string& first, std::size_t count) {
    for (std::size_t i = 0; i + count <= html.texts.size(); ++i) {
        if (html.texts[i].second == first) {
            std::string row = first;
            for (std::size_t k = 1; k < count; ++k) {
                row += "|" + html.texts[i + k].second;
            }
            return row;
        }
    }
    return "(no row " + first + ")";
}

TEST(Report, WrittenAfterAFailedVerificationAndSaysWhatDiffers) {
    SimulatorRig sim;
    ASSERT_EQ(sim::ApplyRuntimeCommand("corrupt-store 297", sim.host), sim::CommandOutcome::Done);
    const std::string site = Saved(SiteImage(), "report_site.txt");
    const std::string backups = TempPath("report_backups");
    const std::string report = TempPath("report.html");
    const ProcessResult run =
        RunCli({"write", "--port", sim.path, site, "--backup", backups, "--verify", "--identify",
                "--report", report, "--site", kSite, "--engineer", kEngineer});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Report: " + report + "\n"));
    const std::vector<fs::path> saved(fs::directory_iterator(backups), {});
    ASSERT_EQ(saved.size(), 1u);

    const HtmlOutline html = ReadHtml(report);
    ASSERT_EQ(html.error, "");
    EXPECT_EQ(html.tags, (std::set<std::string>{"body", "h1", "h2", "h3", "head", "html", "li",
                                                "meta", "p", "pre", "style", "table", "td", "th",
                                                "thead", "title", "tr", "ul"}));
    const auto cells = html.TextsOf("td");
    EXPECT_THAT(cells, IsSupersetOf({kName + ", issue 7", kSite, kEngineer, saved[0].string()}));
    EXPECT_THAT(html.TextsOf("p"), Contains("Verification: failed (1 registers differ)"));
    EXPECT_EQ(RowFrom(html, "297", 4), "297|Fan Setting / FAN 2 Ramp Rate|0019 (25)|0018 (24)");
    ASSERT_EQ(html.TextsOf("pre").size(), 1u);
    EXPECT_THAT(html.TextsOf("pre")[0], StartsWith("ORV"));

    // The changes are the lines of diff from the backup to the file written.
    const ProcessResult diff = RunCli({"diff", saved[0].string(), site});
    std::string lines;
    for (const std::string& item : html.TextsOf("li")) {
        lines += item + "\n";
    }
    EXPECT_EQ(lines, diff.out);
    EXPECT_THAT(lines, HasSubstr("Fan Setting / FAN 2 Ramp Rate: 10 -> 25\n"));

    // The live record received during the chain, and the appendix's words as written.
    EXPECT_THAT(html.TextsOf("h2"), Contains("Live snapshot"));
    EXPECT_THAT(html.TextsOf("p"), Contains(MatchesRegex("Latest live record, received .*")));
    EXPECT_EQ(RowFrom(html, "FAN 2 Ramp Rate", 3), "FAN 2 Ramp Rate|25|297: 0019");
    fs::remove_all(backups);
    fs::remove(site);
    fs::remove(report);
}

TEST(Report, FromTwoFilesIsNotVerified) {
    const std::string found = Saved(SiteImage(), "report_found.txt");
    const std::string report = TempPath("files.html");
    ProcessResult run = RunCli({"report", "--found", found, "--left", found, "-o", report});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const HtmlOutline html = ReadHtml(report);
    EXPECT_THAT(html.TextsOf("p"), AllOf(Contains("Verification: not done"), Contains("No changes"),
                                         Contains("Not captured during this visit")));
    EXPECT_THAT(html.TextsOf("p"), Not(Contains(HasSubstr("Verification: passed"))));
    EXPECT_THAT(html.TextsOf("h2"), Not(Contains("Live snapshot")));

    // Without a backup there is no as-found record, so no report is offered.
    run = RunCli({"write", "--port", "/dev/null", found, "--report", report});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("--report needs --backup"));
    fs::remove(found);
    fs::remove(report);
}

} // namespace
} // namespace orvane::test
