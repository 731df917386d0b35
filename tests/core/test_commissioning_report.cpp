// What the commissioning report says of a visit; nothing it carries becomes markup.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "SequencerFakes.h"
#include "core/image/Checksum.h"
#include "core/reports/CommissioningReport.h"
#include "core/reports/ReportHtml.h"

using namespace orvane;
using orvane::test::DefaultImage;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

void SetName(RegisterImage& image, const std::string& name) {
    for (std::size_t i = 0; i <= name.size(); ++i) {
        image.SetValue(kNameField.first + static_cast<int>(i), i < name.size() ? name[i] : 0);
    }
}

// A new name and issue, FAN 2's ramp rate, a voltage mode and an unused register.
RegisterImage SiteImage() {
    RegisterImage image = DefaultImage();
    SetName(image, "SITE-4");
    image.SetText(kIssueRegister, "0002");
    image.SetText(297, "0019");
    image.SetText(183, "0003");
    image.SetText(399, "1234");
    image.SetText(kChecksumIndex, "0000"); // a stale entry the report must not repeat
    return image;
}

VisitRecord Visit() {
    VisitRecord visit;
    visit.visitTime = "2026-12-07T23:54:41+00:00";
    visit.port = "COM3 (/dev/ttyUSB0)";
    visit.software = "orvane-cli 2.3.1";
    visit.foundFile = "DEFAULT_Issue0_20261207-235441.txt";
    visit.found = DefaultImage().Texts();
    visit.left = SiteImage().Texts();
    return visit;
}

std::vector<std::string> Labels(const std::vector<ReportRow>& rows) {
    std::vector<std::string> labels;
    labels.reserve(rows.size());
    for (const ReportRow& row : rows) {
        labels.push_back(row.label + "=" + row.value);
    }
    return labels;
}

TEST(CommissioningReport, SaysWhatWasFoundLeftAndVerified) {
    VisitRecord visit = Visit();
    const std::string leftSum = ChecksumText(visit.left);
    visit.site = "Plant room 4";

    CommissioningReport report = BuildCommissioningReport(visit);
    EXPECT_THAT(Labels(report.header),
                ElementsAre("Configuration=SITE-4, issue 2", "Visit=2026-12-07T23:54:41+00:00",
                            "Port=COM3 (/dev/ttyUSB0)", "Software=orvane-cli 2.3.1",
                            "Site=Plant room 4"));
    EXPECT_THAT(Labels(report.asFound),
                ElementsAre("File=DEFAULT_Issue0_20261207-235441.txt",
                            "Configuration=DEFAULT, issue 0",
                            "Checksum=" + ChecksumText(DefaultImage().Texts())));
    EXPECT_THAT(Labels(report.asLeft),
                ElementsAre("Configuration=SITE-4, issue 2", "Checksum=" + leftSum));
    EXPECT_EQ(report.verificationLine, "Verification: not done");
    EXPECT_FALSE(report.identification || report.liveTime);

    // The diff's lines (tabled with ConfigDiff) grouped by page in tab order.
    std::string groups;
    for (const DifferenceGroup& group : report.differences) {
        groups += group.page + ": " + std::to_string(group.lines.size()) + "; ";
    }
    EXPECT_EQ(groups, "Start: 2; Mode: 1; Fan Setting: 1; Registers no page uses: 1; ");

    RegisterImage held = SiteImage();
    held.SetText(kChecksumIndex, leftSum); // the controller's reply carries the right one
    visit.readBack = held.Texts();
    report = BuildCommissioningReport(visit);
    EXPECT_EQ(report.verificationLine, "Verification: passed");
    EXPECT_TRUE(report.mismatches.empty());

    // The controller stored FAN 2's ramp rate wrongly: its register and the checksum differ.
    held.SetText(297, "0018");
    held.SetText(kChecksumIndex, ChecksumText(held.Texts()));
    visit.readBack = held.Texts();
    report = BuildCommissioningReport(visit);
    EXPECT_EQ(report.verification, VerificationOutcome::Failed);
    EXPECT_EQ(report.verificationLine, "Verification: failed (1 registers differ)");
    ASSERT_EQ(report.mismatches.size(), 2u);
    const MismatchRow &row = report.mismatches[0], &sum = report.mismatches[1];
    EXPECT_EQ(row.reg + "|" + row.name + "|" + row.sent + "|" + row.read + "|" + sum.reg + "|" +
                  sum.sent,
              "297|Fan Setting / FAN 2 Ramp Rate|0019 (25)|0018 (24)|Checksum|" + leftSum);

    visit.found = visit.left;
    EXPECT_TRUE(BuildCommissioningReport(visit).differences.empty());
}

// A field's words, words that do not follow on, a run of unused registers and one alone.
TEST(CommissioningReport, AppendixShowsEachFieldsValueAndWords) {
    const CommissioningReport report = BuildCommissioningReport(Visit());
    std::map<std::string, std::string> rows;
    for (const SettingsGroup& group : report.appendix) {
        for (const SettingRow& row : group.rows) {
            rows[row.name] = group.page + "|" + row.value + "|" + row.words;
        }
    }
    const std::tuple<const char*, const char*> cases[] = {
        {"FAN 2 Ramp Rate", "Fan Setting|25|297: 0019"},
        {"Fan 1 Active Input", "Multi Point/Speed|1|165: 0001; 169: 0000"},
        {"Registers 357-398 (unused)", "Registers no page uses|FFFF|357-398: FFFF each"},
        {"Register 399 (unused)", "Registers no page uses|1234|399: 1234"},
    };
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(rows[name], shown);
    }
    EXPECT_EQ(report.appendix.front().rows.front().value, "SITE-4");
}

TEST(CommissioningReport, LiveSnapshotInTheModesUnits) {
    VisitRecord visit = Visit();
    LiveFields fields{};
    for (int i = 0; i < kLiveFieldsFilled; ++i) {
        fields[std::size_t(i)] = i == 8 ? "  4.5678" : " " + std::to_string(i * 10);
    }
    visit.live = LiveSnapshot{"2026-12-07T23:58:00+00:00", fields};
    const CommissioningReport report = BuildCommissioningReport(visit); // left in a voltage mode
    EXPECT_EQ(report.liveTime, "2026-12-07T23:58:00+00:00");
    ASSERT_EQ(report.live.size(), std::size_t(kLiveFieldsFilled));
    EXPECT_EQ(report.live[1].label + "=" + report.live[1].value + " " + report.live[8].label + "=" +
                  report.live[8].value + " " + report.live[13].label,
              "PWM1=10 V1=4.6 Uptime(s)");
}

TEST(ReportHtml, EscapesAnyTextSoNoneBecomesMarkup) {
    const std::tuple<std::string, const char*> cases[] = {
        {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
        {"&amp; \"q\"", "&amp;amp; &quot;q&quot;"},
        {"ORV\r\nline\rtwo\tx\x01", "ORV\nline\ntwo\tx\uFFFD"},
        {"2 \u00B0C", "2 \u00B0C"},               // UTF-8 passes through
        {"\xB0 \xC0\x80", "\u00B0 \u00C0\u0080"}, // other bytes read as Latin-1
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(HtmlEscaped(text), shown) << ::testing::PrintToString(text);
    }

    // Names, site, engineer and the controller's text as typed or sent, in every place shown.
    RegisterImage left = SiteImage();
    SetName(left, "<b>&amp;");
    VisitRecord visit = Visit();
    visit.left = left.Texts();
    visit.found = visit.left;
    visit.site = "<script>alert(1)</script>";
    visit.engineer = "O'Neil & Sons";
    visit.identification = "<i>ORV</i>\r\n";
    visit.foundFile = "<img src=x>.txt";
    const std::string html = RenderReportHtml(BuildCommissioningReport(visit));
    for (const char* markup : {"<script", "<b>", "<i>", "<img"}) {
        EXPECT_THAT(html, Not(HasSubstr(markup)));
    }
    for (const char* shown :
         {"<title>Commissioning report - &lt;b&gt;&amp;amp;, issue 2</title>",
          "<td>&lt;script&gt;alert(1)&lt;/script&gt;</td>", "<td>O&#39;Neil &amp; Sons</td>",
          "<pre>&lt;i&gt;ORV&lt;/i&gt;\n</pre>", "<p>No changes</p>",
          "<p class=\"verification notdone\">Verification: not done</p>"}) {
        EXPECT_THAT(html, HasSubstr(shown));
    }
}

} // namespace
