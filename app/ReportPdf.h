#pragma once

#include <string>

#include <QString>

namespace orvane {

// The report's HTML laid out on A4 pages, each numbered "Page n of N" at its foot, saved as
// a PDF file as a whole (the old file stays until the new one is complete). Returns why it
// could not be saved, or an empty text.
QString WriteReportPdf(const std::string& html, const QString& title, const QString& path);

} // namespace orvane
