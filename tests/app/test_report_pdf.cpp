// The PDF report carries the same lines as the HTML, every glyph of them, on numbered A4 pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "app/ReportPdf.h"
#include "core/image/Checksum.h"
#include "core/reports/ReportHtml.h"

namespace orvane::test {
namespace {

using ::testing::HasSubstr;

QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ReportPdf, PagesCarryTheReportsLinesAndTheirNumbers) {
    RegisterImage found;
    found.LoadDefaultTemplate();
    RegisterImage left = found;
    const std::string name = "<b>&amp; \xB0"; // one character a register: 00B0 is a degree sign
    for (std::size_t i = 0; i <= name.size(); ++i) {
        left.SetValue(kNameField.first + int(i), i < name.size() ? std::uint8_t(name[i]) : 0);
    }
    left.SetText(297, "0019");
    RegisterImage held = left;
    held.SetText(297, "0018");
    held.SetText(kChecksumIndex, ChecksumText(held.Texts()));
    VisitRecord visit;
    visit.found = found.Texts();
    visit.left = left.Texts();
    visit.readBack = held.Texts();
    visit.identification = "ORV-FC4 Fan and Thermal Controller";
    const std::string html = RenderReportHtml(BuildCommissioningReport(visit));

    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    ASSERT_EQ(WriteReportPdf(html, "Commissioning report", path), QString());
    const QString info = RunTool("pdfinfo", {path});
    EXPECT_THAT(info.toStdString(), HasSubstr("(A4)"));
    const int pages = info.section("Pages:", 1).trimmed().section('\n', 0, 0).toInt();
    EXPECT_GT(pages, 2) << "the appendix runs over several pages";

    const std::string text = RunTool("pdftotext", {"-enc", "UTF-8", path, "-"}).toStdString();
    for (const std::string& line :
         {std::string("Verification: failed (1 registers differ)"),
          std::string("Fan Setting / FAN 2 Ramp Rate: 10 -> 25"),
          std::string("Start / Configuration File Name: DEFAULT -> <b>&amp; \u00B0"),
          std::string("0019 (25)"), std::string("ORV-FC4 Fan and Thermal Controller"),
          std::string("1 \u00B0C"), "Page 1 of " + std::to_string(pages),
          "Page " + std::to_string(pages) + " of " + std::to_string(pages)}) {
        EXPECT_THAT(text, HasSubstr(line));
    }
}

} // namespace
} // namespace orvane::test
