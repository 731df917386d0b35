#include "tools/CliCommissioning.h"

#include <chrono>
#include <filesystem>

#include "core/image/ConfigFile.h"
#include "core/reports/LiveCsv.h"
#include "core/reports/ReportHtml.h"
#include "storage/DurableFile.h"
#include "tools/CliFiles.h"
#include "tools/CliVersion.h"

namespace orvane::cli {

std::string PortText(const ResolvedPort& port) {
    if (port.number == 0) {
        return port.devicePath;
    }
    return "COM" + std::to_string(port.number) + " (" + port.devicePath + ")";
}

VisitRecord NewVisit(const CliOptions& options) {
    VisitRecord visit;
    visit.visitTime = LocalIsoTime(std::chrono::system_clock::now());
    visit.software = SoftwareText();
    visit.site = options.site;
    visit.engineer = options.engineer;
    return visit;
}

Outcome CheckReportFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return {kExitFile,
                "cannot write the report " + path + ": " + folder.string() + " is not a folder"};
    }
    return {};
}

Outcome SaveReport(const VisitRecord& visit, const std::string& path) {
    const std::string html = RenderReportHtml(BuildCommissioningReport(visit));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(html.data());
    const DurableWriteResult written = WriteFileDurably(path, {bytes, html.size()});
    if (!written.ok) {
        return {kExitFile, "cannot write the report " + path + ": " + written.error};
    }
    return {};
}

Outcome ReportFromFiles(const CliOptions& options, std::ostream& out) {
    const LoadedConfiguration found = ReadConfigurationFile(options.found);
    if (!found.outcome.Ok()) {
        return found.outcome;
    }
    const LoadedConfiguration left = ReadConfigurationFile(options.left);
    if (!left.outcome.Ok()) {
        return left.outcome;
    }
    VisitRecord visit = NewVisit(options);
    visit.port = "(none: made from files)";
    visit.foundFile = options.found;
    visit.found = found.texts;
    visit.left = left.texts;
    if (Outcome saved = SaveReport(visit, options.output); !saved.Ok()) {
        return saved;
    }
    out << "Report: " << options.output << "\n";
    return {};
}

} // namespace orvane::cli
