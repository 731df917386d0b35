#include "core/reports/TrendCsv.h"

#include <chrono>

#include "core/reports/CsvWriter.h"
#include "core/reports/LiveCsv.h"

namespace orvane {

std::string TrendCsv(const trend::TrendRing& records, std::int64_t fromMs, std::int64_t toMs) {
    std::string csv = CsvRow(LiveCsvHeader());
    for (std::size_t i = records.LowerBound(fromMs); i < records.Size(); ++i) {
        const trend::TrendRecord& record = records.At(i);
        if (record.timeMs > toMs) {
            break;
        }
        const std::chrono::system_clock::time_point when{std::chrono::milliseconds(record.timeMs)};
        csv += CsvRow(LiveCsvCells(LocalIsoTime(when), record.Fields()));
    }
    return csv;
}

} // namespace orvane
