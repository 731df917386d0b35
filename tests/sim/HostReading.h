#pragma once

// How the host reads what the controller sends, written out on its own so that the
// simulator is checked against the host's rules rather than against itself.

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orvane::sim::testing {

struct ConfigurationReply {
    std::array<std::string, 401> groups;
    bool checksumHolds = false;
};

inline unsigned HexValue(const std::string& group) {
    unsigned value = 0;
    std::sscanf(group.c_str(), "%x", &value);
    return value;
}

// First "<", then 401 groups of four characters with CR, LF and blanks skipped; the
// checksum (exclusive-or of groups 1 to 400, then 4) compared as "%04X" text.
inline std::optional<ConfigurationReply> ParseConfigurationReply(const std::string& text) {
    const auto start = text.find('<');
    if (start == std::string::npos) {
        return std::nullopt;
    }
    ConfigurationReply reply;
    std::size_t group = 0;
    for (std::size_t i = start + 1; i < text.size() && group < 401; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || c == ' ') {
            continue;
        }
        reply.groups[group] += c;
        if (reply.groups[group].size() == 4) {
            ++group;
        }
    }
    if (group < 401) {
        return std::nullopt;
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 400; ++i) {
        sum ^= HexValue(reply.groups[i]);
    }
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", (sum ^ 4u) & 0xFFFFu);
    reply.checksumHolds = reply.groups[400] == expected;
    return reply;
}

// Records are what lies between two terminators "s", ",", CR or LF; a record begins
// with whatever followed the previous terminator (the LF of a CR LF pair, say).
inline std::vector<std::string> LiveRecords(const std::string& text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if ((text[i] == '\r' || text[i] == '\n') && text[i - 1] == ',' && text[i - 2] == 's') {
            ends.push_back(i);
        }
    }
    std::vector<std::string> records;
    for (std::size_t k = 1; k < ends.size(); ++k) {
        records.push_back(text.substr(ends[k - 1] + 1, ends[k] - ends[k - 1] - 1));
    }
    return records;
}

// The host's split: fields end at ","; a field reaching 9 characters ends the split.
inline std::vector<std::string> SplitRecord(const std::string& record, bool* tooLong = nullptr) {
    std::vector<std::string> fields;
    std::string current;
    if (tooLong) {
        *tooLong = false;
    }
    for (char c : record) {
        if (c != ',') {
            current += c;
            if (current.size() >= 9) {
                if (tooLong) {
                    *tooLong = true;
                }
                break;
            }
            continue;
        }
        fields.push_back(current);
        current.clear();
        if (fields.size() == 14) {
            break;
        }
    }
    return fields;
}

// A record's fields with the line feed that opens it dropped.
inline std::vector<std::string> Fields(std::string record) {
    if (!record.empty() && record.front() == '\n') {
        record.erase(0, 1);
    }
    return SplitRecord(record);
}

inline long UpTime(const std::string& record) {
    const auto fields = Fields(record);
    return fields.size() == 14 ? std::stol(fields[13]) : -1;
}

} // namespace orvane::sim::testing
