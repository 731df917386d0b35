#pragma once

// How the host reads what the controller sends, written out on its own so that the
// simulator is checked against the host's rules rather than against itself.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane::sim::testing {

struct ConfigurationReply {
    std::array<std::string, 401> groups;
    bool checksumHolds = false;
};

// First "<", then 401 groups of four characters with CR, LF and blanks skipped; the
// checksum (exclusive-or of groups 1 to 400, then 4) compared as "%04X" text.
inline std::optional<ConfigurationReply> ParseConfigurationReply(const std::string& text) {
    const auto start = text.find('<');
    ConfigurationReply reply;
    std::size_t group = 0;
    for (auto i = start + 1; start != std::string::npos && i < text.size() && group < 401; ++i) {
        if (text[i] != '\r' && text[i] != '\n' && text[i] != ' ') {
            reply.groups[group] += text[i];
            group += reply.groups[group].size() == 4 ? 1 : 0;
        }
    }
    if (group < 401) {
        return std::nullopt;
    }
    unsigned sum = 4;
    for (std::size_t i = 0; i < 400; ++i) {
        sum ^= static_cast<unsigned>(std::strtoul(reply.groups[i].c_str(), nullptr, 16));
    }
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", sum & 0xFFFFu);
    reply.checksumHolds = reply.groups[400] == expected;
    return reply;
}

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
