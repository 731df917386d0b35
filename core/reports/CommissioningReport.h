#pragma once

// What an engineer hands over at the end of a site visit: what the controller held on
// arrival, what it holds on leaving, whether reading it back proved the write, and the
// whole configuration as left. Built from what the visit recorded; the renderers only lay
// it out, so the command-line tool and the window hand over the same document.

#include <optional>
#include <string>
#include <vector>

#include "core/comms/LiveFields.h"
#include "core/image/RegisterImage.h"

namespace orvane {

inline constexpr std::string_view kReportTitle = "Commissioning report";
inline constexpr std::string_view kVerificationPassed = "Verification: passed";
inline constexpr std::string_view kVerificationNotDone = "Verification: not done";
inline constexpr std::string_view kNoChanges = "No changes";

// The latest live record received during the visit.
struct LiveSnapshot {
    std::string time; // when it came, ISO 8601 with the offset from UTC
    LiveFields fields{};
};

// What the visit recorded. Texts come from people, files and the controller as they are;
// the renderers escape them.
struct VisitRecord {
    std::string visitTime; // ISO 8601 with the offset from UTC
    std::string port;      // "COM3 (/dev/ttyUSB0)"
    std::string software;  // the tool's name, version and build stamp
    std::string site;      // optional
    std::string engineer;  // optional
    // The controller's identification text, when it was captured during the visit.
    std::optional<std::string> identification;
    std::string foundFile; // the backup's file name, or the file chosen as the as-found record
    RegisterTexts found{};
    RegisterTexts left{}; // the image written (its checksum entry is not trusted)
    // What the controller held when read back after the write; none: not verified.
    std::optional<RegisterTexts> readBack;
    std::optional<LiveSnapshot> live;
};

enum class VerificationOutcome { NotDone, Passed, Failed };

struct ReportRow {
    std::string label;
    std::string value;
};

// A register the controller does not hold as written.
struct MismatchRow {
    std::string reg;  // "297", or "Checksum"
    std::string name; // "Fan Setting / FAN 2 Ramp Rate"
    std::string sent; // "0019 (25)"
    std::string read;
};

// The lines of `orvane-cli diff` that belong to one page.
struct DifferenceGroup {
    std::string page;
    std::vector<std::string> lines;
};

struct SettingRow {
    std::string name;
    std::string value; // as the page shows it
    std::string words; // "297: 0019", so the document alone can rebuild the image
};

struct SettingsGroup {
    std::string page;
    std::vector<SettingRow> rows;
};

struct CommissioningReport {
    std::vector<ReportRow> header;
    std::optional<std::string> identification;
    std::vector<ReportRow> asFound;
    std::vector<ReportRow> asLeft;
    VerificationOutcome verification = VerificationOutcome::NotDone;
    std::string verificationLine; // exactly one of the three verification texts
    std::vector<MismatchRow> mismatches;
    std::vector<DifferenceGroup> differences; // none: "No changes"
    std::optional<std::string> liveTime;
    std::vector<ReportRow> live;
    std::vector<SettingsGroup> appendix;
};

// "Verification: failed (N registers differ)", N counting registers 0 to 399.
std::string VerificationFailedLine(std::size_t registers);

CommissioningReport BuildCommissioningReport(const VisitRecord& visit);

} // namespace orvane
