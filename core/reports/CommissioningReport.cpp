#include "core/reports/CommissioningReport.h"

#include <array>

#include "core/image/Checksum.h"
#include "core/image/Conversions.h"
#include "core/image/RegisterLayout.h"
#include "core/reports/ConfigDiff.h"
#include "core/reports/RegisterMap.h"
#include "core/rules/LiveDataRules.h"

namespace orvane {

namespace {

constexpr std::string_view kUnclaimedGroup = "Registers no page uses";

RegisterImage ImageOf(const RegisterTexts& texts) {
    RegisterImage image;
    image.SetTexts(texts);
    image.SetText(kChecksumIndex, ChecksumText(texts));
    return image;
}

// "SITE-4, issue 2"; an issue register that holds no number is shown as stored.
std::string NameAndIssue(const RegisterImage& image) {
    const auto issue = image.Value(kIssueRegister);
    return image.DecodeTextField(kNameField) + ", issue " +
           (issue ? FormatDecimal(*issue) : image.Text(kIssueRegister));
}

// "186: 0053 0049 0054 0045"; registers that do not follow on start a group of their own.
std::string WordsOf(const RegisterField& field, const RegisterImage& image) {
    std::string words;
    int previous = -2;
    for (const int r : field.registers) {
        if (r != previous + 1) {
            words += (words.empty() ? "" : "; ") + std::to_string(r) + ":";
        }
        words += " " + image.Text(r);
        previous = r;
    }
    return words;
}

std::vector<ReportRow> LiveRows(const LiveFields& fields, bool voltage) {
    static constexpr std::array<std::string_view, kLiveFieldsFilled> kTemperature{
        "RPM1", "PWM1", "RPM2", "PWM2", "RPM3", "PWM3",   "RPM4",
        "PWM4", "NTC1", "NTC2", "INP1", "INP2", "ALARMS", "Uptime(s)"};
    std::vector<ReportRow> rows;
    for (int i = 0; i < kLiveFieldsFilled; ++i) {
        std::string label(kTemperature[static_cast<std::size_t>(i)]);
        if (voltage && (i == 8 || i == 9)) {
            label = i == 8 ? "V1" : "V2";
        }
        const std::string shown = FormatLiveCell(i + 1, fields[static_cast<std::size_t>(i)]);
        const auto first = shown.find_first_not_of(' ');
        rows.push_back({label, first == std::string::npos
                                   ? std::string()
                                   : shown.substr(first, shown.find_last_not_of(' ') - first + 1)});
    }
    return rows;
}

// A run of registers no page uses that hold the same word.
struct UnusedRun {
    int first = 0;
    int last = 0;
    std::string word;
};

SettingRow RowOf(const UnusedRun& run) {
    const std::string first = std::to_string(run.first);
    if (run.first == run.last) {
        return {"Register " + first + " (unused)", run.word, first + ": " + run.word};
    }
    const std::string range = first + "-" + std::to_string(run.last);
    return {"Registers " + range + " (unused)", run.word, range + ": " + run.word + " each"};
}

// Every page's fields with their values, then the registers no page uses (a run of equal
// words in one row).
std::vector<SettingsGroup> Appendix(const RegisterImage& image) {
    std::vector<SettingsGroup> groups;
    std::vector<UnusedRun> runs;
    for (const RegisterField& field : RegisterMap::Get().Fields()) {
        const std::string_view page = field.page.empty() ? kUnclaimedGroup : field.page;
        if (groups.empty() || groups.back().page != page) {
            groups.push_back({std::string(page), {}});
        }
        if (field.page.empty() && !field.IsBitField()) {
            const int r = field.registers.front();
            if (!runs.empty() && runs.back().last == r - 1 && runs.back().word == image.Text(r)) {
                runs.back().last = r;
            } else {
                runs.push_back({r, r, image.Text(r)});
            }
            continue;
        }
        groups.back().rows.push_back(
            {field.name, ShowFieldValue(field, image), WordsOf(field, image)});
    }
    for (const UnusedRun& run : runs) {
        groups.back().rows.push_back(RowOf(run));
    }
    return groups;
}

} // namespace

std::string VerificationFailedLine(std::size_t registers) {
    return "Verification: failed (" + std::to_string(registers) + " registers differ)";
}

CommissioningReport BuildCommissioningReport(const VisitRecord& visit) {
    const RegisterImage found = ImageOf(visit.found);
    const RegisterImage left = ImageOf(visit.left);
    CommissioningReport report;

    report.header = {{"Configuration", NameAndIssue(left)},
                     {"Visit", visit.visitTime},
                     {"Port", visit.port},
                     {"Software", visit.software}};
    for (const auto& [label, value] :
         {std::pair{"Site", &visit.site}, {"Engineer", &visit.engineer}}) {
        if (!value->empty()) {
            report.header.push_back({label, *value});
        }
    }
    report.identification = visit.identification;
    report.asFound = {{"File", visit.foundFile},
                      {"Configuration", NameAndIssue(found)},
                      {"Checksum", found.Text(kChecksumIndex)}};
    report.asLeft = {{"Configuration", NameAndIssue(left)},
                     {"Checksum", left.Text(kChecksumIndex)}};

    if (!visit.readBack) {
        report.verification = VerificationOutcome::NotDone;
        report.verificationLine = kVerificationNotDone;
    } else {
        RegisterImage read;
        read.SetTexts(*visit.readBack);
        const std::vector<RegisterMismatch> mismatches = CompareRegisters(left, read);
        std::size_t registers = 0;
        for (const RegisterMismatch& mismatch : mismatches) {
            const bool checksum = mismatch.reg == kChecksumIndex;
            registers += checksum ? 0 : 1;
            report.mismatches.push_back({checksum ? "Checksum" : std::to_string(mismatch.reg),
                                         checksum ? "" : MismatchNames(mismatch),
                                         ShowMismatchWord(mismatch, left),
                                         ShowMismatchWord(mismatch, read)});
        }
        report.verification =
            mismatches.empty() ? VerificationOutcome::Passed : VerificationOutcome::Failed;
        report.verificationLine = mismatches.empty() ? std::string(kVerificationPassed)
                                                     : VerificationFailedLine(registers);
    }

    for (const FieldDifference& difference : DiffConfigurations(found, left)) {
        const std::string_view page =
            difference.field->page.empty() ? kUnclaimedGroup : difference.field->page;
        if (report.differences.empty() || report.differences.back().page != page) {
            report.differences.push_back({std::string(page), {}});
        }
        report.differences.back().lines.push_back(DescribeDifference(difference));
    }

    if (visit.live) {
        report.liveTime = visit.live->time;
        report.live = LiveRows(visit.live->fields, reg::IsVoltageMode(left));
    }
    report.appendix = Appendix(left);
    return report;
}

} // namespace orvane
