#pragma once

#include <string>

#include "core/reports/CommissioningReport.h"
#include "tools/CliOptions.h"
#include "tools/CliSession.h"
#include "tools/PortLookup.h"

namespace orvane::cli {

// "COM3 (/dev/ttyUSB0)", or the device path alone when it was given as one.
std::string PortText(const ResolvedPort& port);

// What every report made by this tool starts with: the time, the software, site and engineer.
VisitRecord NewVisit(const CliOptions& options);

// Says before anything is sent when the report could not be saved where it was asked for.
Outcome CheckReportFolder(const std::string& path);

// Renders the report as HTML and saves it as a whole.
Outcome SaveReport(const VisitRecord& visit, const std::string& path);

// report --found A --left B -o OUT.html: nothing was read back, so nothing was verified.
Outcome ReportFromFiles(const CliOptions& options, std::ostream& out);

} // namespace orvane::cli
