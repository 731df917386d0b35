#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/comms/LiveFields.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// The three readings of the receive text. They only look at the text they are
// given and never change anything; the sequencer acts on their results.

enum class ConfigReplyOutcome {
    NoData,           // no "<" among positions 0 to 1998
    ChecksumMismatch, // checksum differs as text, or the text ends before 401 groups
    Loaded,           // groups 1 to 400 and the checksum, as received
};

struct ConfigReply {
    ConfigReplyOutcome outcome = ConfigReplyOutcome::NoData;
    RegisterTexts groups{}; // set when Loaded
};

// "<", then 401 groups of four characters; CR, LF and space are skipped anywhere.
ConfigReply ReadConfigurationReply(std::string_view text);

// The newest complete live record: the text between the last two terminators
// ("s", ",", CR or LF), the last one at a position from 101 to 1950. Empty when
// there is none, when only one terminator is found, or when it has 240 characters
// or more.
std::optional<std::string_view> FindLiveRecord(std::string_view text);

// Every complete live record in the text, oldest first: each one between two terminators
// and under 240 characters. The text before the first terminator may have been cut off
// at the receive window's start, so it is never one.
std::vector<std::string_view> FindLiveRecords(std::string_view text);

// Splits a record at its commas into fields 0 to 13. A field reaching 9 characters
// ends the split; fields not reached keep their texts.
void SplitLiveRecord(std::string_view record, LiveFields& fields);

// The controller information: the text from the first "ORV", at most 267
// characters; empty when there is no "ORV" or fewer than 240 characters follow.
std::optional<std::string_view> FindControllerInfo(std::string_view text);

} // namespace orvane
