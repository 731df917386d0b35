#include "core/reports/ReportHtml.h"

#include "core/reports/Utf8.h"

namespace orvane {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Table attributes as well as the style sheet: the window's PDF layout reads the former.
constexpr std::string_view kTable = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>)";

constexpr std::string_view kStyle = R"(</title>
<style>
body { font-family: "DejaVu Sans", "Segoe UI", Arial, sans-serif; font-size: 10pt; margin: 1.5em; }
h1 { font-size: 16pt; }
h2 { font-size: 13pt; margin-top: 1.2em; border-bottom: 1px solid #888; }
h3 { font-size: 11pt; margin-bottom: 0.2em; }
table { border-collapse: collapse; margin: 0.3em 0; }
th, td { border: 1px solid #888; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #eee; }
pre { font-family: "DejaVu Sans Mono", monospace; font-size: 9pt; white-space: pre-wrap; }
.passed { color: #006000; font-weight: bold; }
.failed { color: #b00000; font-weight: bold; }
.notdone { font-weight: bold; }
@media print { h2, h3 { page-break-after: avoid; } tr { page-break-inside: avoid; } }
</style>
</head>
<body>
)";

std::string Cell(std::string_view tag, std::string_view text) {
    return "<" + std::string(tag) + ">" + HtmlEscaped(text) + "</" + std::string(tag) + ">";
}

// A list of labels and values, one row each.
std::string RowTable(const std::vector<ReportRow>& rows) {
    std::string html(kTable);
    for (const ReportRow& row : rows) {
        html += "<tr>" + Cell("th", row.label) + Cell("td", row.value) + "</tr>\n";
    }
    return html + "</table>\n";
}

std::string HeaderRow(std::initializer_list<std::string_view> columns) {
    // A header row: the PDF repeats it on each page the table runs over.
    std::string html = std::string(kTable) + "<thead><tr>";
    for (const std::string_view column : columns) {
        html += Cell("th", column);
    }
    return html + "</tr></thead>\n";
}

std::string_view VerificationClass(VerificationOutcome outcome) {
    switch (outcome) {
    case VerificationOutcome::Passed:
        return "passed";
    case VerificationOutcome::Failed:
        return "failed";
    case VerificationOutcome::NotDone:
        break;
    }
    return "notdone";
}

std::string Verification(const CommissioningReport& report) {
    std::string html = "<p class=\"verification " +
                       std::string(VerificationClass(report.verification)) + "\">" +
                       HtmlEscaped(report.verificationLine) + "</p>\n";
    if (report.mismatches.empty()) {
        return html;
    }
    html += HeaderRow({"Register", "Setting", "Value sent", "Value read"});
    for (const MismatchRow& row : report.mismatches) {
        html += "<tr>" + Cell("td", row.reg) + Cell("td", row.name) + Cell("td", row.sent) +
                Cell("td", row.read) + "</tr>\n";
    }
    return html + "</table>\n";
}

std::string Differences(const CommissioningReport& report) {
    if (report.differences.empty()) {
        return Cell("p", kNoChanges) + "\n";
    }
    std::string html;
    for (const DifferenceGroup& group : report.differences) {
        html += Cell("h3", group.page) + "\n<ul>\n";
        for (const std::string& line : group.lines) {
            html += Cell("li", line) + "\n";
        }
        html += "</ul>\n";
    }
    return html;
}

std::string Appendix(const CommissioningReport& report) {
    std::string html;
    for (const SettingsGroup& group : report.appendix) {
        html += Cell("h3", group.page) + "\n" + HeaderRow({"Setting", "Value", "Registers"});
        for (const SettingRow& row : group.rows) {
            html += "<tr>" + Cell("td", row.name) + Cell("td", row.value) + Cell("td", row.words) +
                    "</tr>\n";
        }
        html += "</table>\n";
    }
    return html;
}

} // namespace

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            out += length ? std::string(text.substr(i, length)) : Latin1AsUtf8(c);
            i += length ? length : 1;
            continue;
        }
        ++i;
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '\r':
            out += '\n';
            if (i < text.size() && text[i] == '\n') {
                ++i; // CR LF is one line end
            }
            break;
        case '\n':
        case '\t':
            out.push_back(static_cast<char>(c));
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += kReplacement;
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
    }
    return out;
}

std::string RenderReportHtml(const CommissioningReport& report) {
    std::string title(kReportTitle);
    if (!report.header.empty()) {
        title += " - " + report.header.front().value;
    }
    std::string html = std::string(kHead) + HtmlEscaped(title) + std::string(kStyle);
    html += Cell("h1", kReportTitle) + "\n" + RowTable(report.header);

    html += Cell("h2", "Controller identification") + "\n";
    html += report.identification ? Cell("pre", *report.identification) + "\n"
                                  : Cell("p", "Not captured during this visit") + "\n";

    html += Cell("h2", "As found") + "\n" + RowTable(report.asFound);
    html += Cell("h2", "As left") + "\n" + RowTable(report.asLeft) + Verification(report);
    html += Cell("h2", "Changes from as found to as left") + "\n" + Differences(report);

    if (report.liveTime) {
        html += Cell("h2", "Live snapshot") + "\n" +
                Cell("p", "Latest live record, received " + *report.liveTime) + "\n" +
                RowTable(report.live);
    }
    html += Cell("h2", "Appendix: settings as left") + "\n" + Appendix(report);
    return html + "</body>\n</html>\n";
}

} // namespace orvane
