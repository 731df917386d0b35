#include "core/chain/ChainTexts.h"

#include <algorithm>

#include "core/comms/SequencerTexts.h"

namespace orvane {

namespace {

std::string StepName(const SafeWriteResult& result) {
    return std::string(ChainStepName(result.failedStep.value_or(ChainStep::Write)));
}

// What the controller holds after a chain that stopped short.
std::string WhatWasWritten(const SafeWriteResult& result) {
    return result.written ? "the configuration was written but not verified"
                          : "nothing was written";
}

// The chain's own words start in lower case; a line of their own starts with a capital.
std::string Sentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

} // namespace

ProgressLine DescribeChainProgress(const ChainProgress& progress, int tickMs) {
    if (progress.stepCount <= 0) {
        return {};
    }
    const int total = std::max(progress.ticksTotal, progress.ticksDone);
    return {progress.ticksDone, total,
            "Download, " + std::string(ChainStepName(progress.step)) + " (step " +
                std::to_string(progress.stepNumber) + " of " + std::to_string(progress.stepCount) +
                "): " + DurationText(SecondsLeft(progress.SecondsLeft(), tickMs)) + " left"};
}

std::string DescribeChainOutcome(const SafeWriteResult& result) {
    switch (result.state) {
    case ChainState::Succeeded:
        return result.verification == VerifyOutcome::Passed
                   ? std::string(kVerified)
                   : "Download finished: the configuration was written, not verified";
    case ChainState::Cancelled:
        if (result.failure == ChainFailure::Declined) {
            return "Download cancelled at the question: nothing was written";
        }
        return "Download cancelled in the " + StepName(result) + " step: " + WhatWasWritten(result);
    case ChainState::Failed:
        break;
    default:
        return {};
    }
    if (result.failure == ChainFailure::VerifyMismatch) {
        return Sentence(result.message);
    }
    if (result.failedStep == ChainStep::Verify) {
        // A read-back that did not come back whole proves nothing.
        return "Verification failed: " + result.message + "; the configuration was written";
    }
    return "Download stopped in the " + StepName(result) + " step: " + result.message + "; " +
           WhatWasWritten(result);
}

ChainRefusal DescribeChainRefusal(const SafeWriteResult& result) {
    switch (result.failure) {
    case ChainFailure::Busy:
        return {std::string(texts::kBusy), std::string(texts::kBusyCaption)};
    case ChainFailure::LoggingOn:
        return {std::string(texts::kLogActive), std::string(texts::kLogActiveCaption)};
    case ChainFailure::NotConnected:
        return {std::string(texts::kNotConnected), std::string(texts::kNotConnectedCaption)};
    default:
        return {"The download was not started: " + result.message + ". Nothing was sent.",
                "Download not started"};
    }
}

} // namespace orvane
