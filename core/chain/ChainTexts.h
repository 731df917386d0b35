#pragma once

#include <string>

#include "core/chain/SafeWriteChain.h"
#include "core/rules/ProgressText.h"

namespace orvane {

// What a front end says about a download with backup, preview or verification: the progress
// line while it runs, and one line for how it ended.

inline constexpr std::string_view kVerified = "Verified: the controller holds what was written";
inline constexpr std::string_view kVerificationFailedCaption = "Verification failed";

// "Download, Backup (step 1 of 3): 2 min 21 s left"; the bar counts ticks.
ProgressLine DescribeChainProgress(const ChainProgress& progress, int tickMs);

// How a finished chain ended, with the step that stopped it and whether anything was written:
// kVerified; "Verification failed: 1 register and the checksum differ from what was written";
// "Download stopped in the Backup step: ...; nothing was written"; "Download cancelled ...".
std::string DescribeChainOutcome(const SafeWriteResult& result);

// A chain refused before it started: the box's text and caption. The download's own refusals
// keep the download's boxes.
struct ChainRefusal {
    std::string text;
    std::string caption;
};
ChainRefusal DescribeChainRefusal(const SafeWriteResult& result);

} // namespace orvane
