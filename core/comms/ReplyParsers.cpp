#include "core/comms/ReplyParsers.h"

#include <algorithm>

#include "core/image/Checksum.h"

namespace orvane {

namespace {

constexpr std::size_t kConfigStartLimit = 1998;  // last position searched for "<"
constexpr std::size_t kTerminatorLowest = 101;   // lowest position of the last terminator
constexpr std::size_t kTerminatorHighest = 1950; // highest position of the last terminator
constexpr std::size_t kRecordTooLong = 240;
constexpr std::size_t kFieldTooLong = 9;
constexpr std::size_t kInfoMinimum = 240;
constexpr std::size_t kInfoMaximum = 267;
constexpr std::size_t kGroupLength = 4;

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsSkipped(char c) {
    return c == '\r' || c == '\n' || c == ' ';
}

// A terminator is "s", "," and CR or LF; i is the position of the CR or LF.
bool IsTerminatorAt(std::string_view text, std::size_t i) {
    return i >= 2 && IsLineEnd(text[i]) && text[i - 1] == ',' && text[i - 2] == 's';
}

} // namespace

ConfigReply ReadConfigurationReply(std::string_view text) {
    ConfigReply reply;
    const std::size_t start = text.find('<');
    if (start == std::string_view::npos || start > kConfigStartLimit) {
        return reply;
    }
    std::size_t pos = start + 1;
    for (auto& group : reply.groups) {
        group.clear();
        while (group.size() < kGroupLength) {
            if (pos >= text.size()) {
                // The text ended inside the groups: it cannot match.
                reply.outcome = ConfigReplyOutcome::ChecksumMismatch;
                reply.groups = {};
                return reply;
            }
            const char c = text[pos++];
            if (!IsSkipped(c)) {
                group.push_back(c);
            }
        }
    }
    if (ChecksumText(reply.groups) != reply.groups[kChecksumIndex]) {
        reply.outcome = ConfigReplyOutcome::ChecksumMismatch;
        reply.groups = {};
        return reply;
    }
    reply.outcome = ConfigReplyOutcome::Loaded;
    return reply;
}

std::optional<std::string_view> FindLiveRecord(std::string_view text) {
    if (text.size() <= kTerminatorLowest) {
        return std::nullopt;
    }
    std::size_t last = std::min(text.size() - 1, kTerminatorHighest);
    while (!IsTerminatorAt(text, last)) {
        if (last == kTerminatorLowest) {
            return std::nullopt;
        }
        --last;
    }
    for (std::size_t j = last - 1; j >= 2; --j) {
        if (IsTerminatorAt(text, j)) {
            const std::string_view record = text.substr(j + 1, last - j - 1);
            if (record.size() >= kRecordTooLong) {
                return std::nullopt;
            }
            return record;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> FindLiveRecords(std::string_view text) {
    std::vector<std::string_view> records;
    std::optional<std::size_t> previous;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (!IsTerminatorAt(text, i)) {
            continue;
        }
        if (previous && i - *previous - 1 < kRecordTooLong) {
            records.push_back(text.substr(*previous + 1, i - *previous - 1));
        }
        previous = i;
    }
    return records;
}

void SplitLiveRecord(std::string_view record, LiveFields& fields) {
    std::string field;
    int k = 0;
    for (const char c : record) {
        if (c != ',') {
            field.push_back(c);
            if (field.size() >= kFieldTooLong) {
                return;
            }
            continue;
        }
        fields[static_cast<std::size_t>(k)] = field;
        field.clear();
        if (++k == kLiveFieldsFilled) {
            return;
        }
    }
}

std::optional<std::string_view> FindControllerInfo(std::string_view text) {
    const std::size_t i = text.find("ORV");
    if (i == std::string_view::npos || text.size() - i < kInfoMinimum) {
        return std::nullopt;
    }
    return text.substr(i, kInfoMaximum);
}

} // namespace orvane
