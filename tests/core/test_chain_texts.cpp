// What the window says of a download: the step that stopped it and what reached the controller.
#include <gtest/gtest.h>

#include <tuple>

#include "core/chain/ChainTexts.h"

using namespace orvane;

namespace {

SafeWriteResult Ended(ChainState state, ChainFailure failure, std::optional<ChainStep> step,
                      bool written, VerifyOutcome verification, std::string message = {}) {
    SafeWriteResult result;
    result.state = state;
    result.failure = failure;
    result.failedStep = step;
    result.written = written;
    result.verification = verification;
    result.message = std::move(message);
    return result;
}

TEST(ChainTexts, OutcomeSaysWhereItStoppedAndWhatWasWritten) {
    using S = ChainState;
    using F = ChainFailure;
    using V = VerifyOutcome;
    const std::tuple<SafeWriteResult, const char*> cases[] = {
        {Ended(S::Succeeded, F::None, {}, true, V::Passed),
         "Verified: the controller holds what was written"},
        {Ended(S::Succeeded, F::None, {}, true, V::NotDone),
         "Download finished: the configuration was written, not verified"},
        {Ended(S::Failed, F::VerifyMismatch, ChainStep::Verify, true, V::Failed,
               "verification failed: 1 register and the checksum differ from what was written"),
         "Verification failed: 1 register and the checksum differ from what was written"},
        {Ended(S::Failed, F::BadReply, ChainStep::Verify, true, V::Failed,
               "the configuration received has a wrong checksum"),
         "Verification failed: the configuration received has a wrong checksum; the "
         "configuration was written"},
        {Ended(S::Failed, F::BackupNotSaved, ChainStep::Backup, false, V::NotDone, "disk full"),
         "Download stopped in the Backup step: disk full; nothing was written"},
        {Ended(S::Failed, F::PortLost, ChainStep::Write, true, V::NotDone,
               "the port was closed during the Write step"),
         "Download stopped in the Write step: the port was closed during the Write step; the "
         "configuration was written but not verified"},
        {Ended(S::Cancelled, F::Cancelled, ChainStep::Backup, false, V::NotDone),
         "Download cancelled in the Backup step: nothing was written"},
        {Ended(S::Cancelled, F::Declined, ChainStep::Preview, false, V::NotDone),
         "Download cancelled at the question: nothing was written"},
    };
    for (const auto& [result, says] : cases) {
        EXPECT_EQ(DescribeChainOutcome(result), says);
    }
}

TEST(ChainTexts, ARefusalOtherThanTheDownloadsOwnSaysWhy) {
    const ChainRefusal refusal =
        DescribeChainRefusal(Ended(ChainState::Failed, ChainFailure::BackupFolder, {}, false,
                                   VerifyOutcome::NotDone, "the backup folder /x does not exist"));
    EXPECT_EQ(refusal.caption + ": " + refusal.text,
              "Download not started: The download was not started: the backup folder /x does not "
              "exist. Nothing was sent.");
}

TEST(ChainTexts, ProgressCountsTicksAndNeverPromisesLessThanIsLeft) {
    ChainProgress progress{ChainStep::Backup, 1, 3, 12, 153};
    const ProgressLine line = DescribeChainProgress(progress, 1000);
    EXPECT_EQ(line, (ProgressLine{12, 153, "Download, Backup (step 1 of 3): 2 min 21 s left"}));
    progress.ticksDone = 160; // a wait that ran past its estimate
    EXPECT_EQ(DescribeChainProgress(progress, 50).total, 160);
    EXPECT_EQ(DescribeChainProgress(ChainProgress{}, 1000), ProgressLine{});
}

} // namespace
