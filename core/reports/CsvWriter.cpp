#include "core/reports/CsvWriter.h"

namespace orvane {

std::string CsvRow(std::span<const std::string> cells) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            row += ',';
        }
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            row += cell;
            continue;
        }
        row += '"';
        for (const char c : cell) {
            row += c == '"' ? "\"\"" : std::string(1, c);
        }
        row += '"';
    }
    return row + "\r\n";
}

} // namespace orvane
