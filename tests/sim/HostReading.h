#pragma once

// Every live record in a text, read by the host's rules but written out on its own: the host
// looks only at the newest record in its window, and these tests check them all.

#include <string>
#include <utility>
#include <vector>

namespace orvane::sim::testing {

// Records are what lies between two terminators "s", ",", CR or LF; a record begins
// with whatever followed the previous terminator (the LF of a CR LF pair, say).
inline std::vector<std::string> LiveRecords(const std::string& text) {
    std::vector<std::string> records;
    std::size_t previous = std::string::npos;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if ((text[i] == '\r' || text[i] == '\n') && text[i - 1] == ',' && text[i - 2] == 's') {
            if (previous != std::string::npos) {
                records.push_back(text.substr(previous + 1, i - previous - 1));
            }
            previous = i;
        }
    }
    return records;
}

// The host's split: fields end at ","; a field reaching 9 characters ends the split, so
// 14 fields back means none was longer than 8.
inline std::vector<std::string> SplitRecord(const std::string& record) {
    std::vector<std::string> fields;
    std::string current;
    for (std::size_t i = 0; i < record.size() && fields.size() < 14 && current.size() < 9; ++i) {
        if (record[i] == ',') {
            fields.push_back(std::exchange(current, {}));
        } else {
            current += record[i];
        }
    }
    return fields;
}

// A record's fields with the line feed that opens it dropped.
inline std::vector<std::string> Fields(const std::string& record) {
    return SplitRecord(record.starts_with('\n') ? record.substr(1) : record);
}

inline long UpTime(const std::string& record) {
    const auto fields = Fields(record);
    return fields.size() == 14 ? std::stol(fields[13]) : -1;
}

// The up time of the last record in the text; -1 when there is none.
inline long LastUpTime(const std::string& text) {
    const auto records = LiveRecords(text);
    return records.empty() ? -1 : UpTime(records.back());
}

} // namespace orvane::sim::testing
