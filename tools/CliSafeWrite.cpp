#include "tools/CliSafeWrite.h"

#include <ctime>

#include "core/image/RegisterImage.h"
#include "serial/SystemServices.h"
#include "storage/BackupFiles.h"

namespace orvane::cli {

namespace {

// What the command line says when the chain stops short, as it said before the chain.
Outcome Stopped(const SafeWriteResult& result, const std::string& portWhy) {
    const std::string& why = result.message;
    const bool before = !result.failedStep || *result.failedStep == ChainStep::Backup ||
                        *result.failedStep == ChainStep::Preview;
    switch (result.failure) {
    case ChainFailure::None:
        return {};
    case ChainFailure::Cancelled:
    case ChainFailure::Declined:
        return {kExitInterrupted, "interrupted"};
    case ChainFailure::BackupFolder:
    case ChainFailure::BackupNotSaved:
        return {kExitFile, why + "; nothing written"};
    case ChainFailure::LoggingOn:
    case ChainFailure::UnsendableImage:
        return {kExitFile, why};
    case ChainFailure::Busy:
    case ChainFailure::NotConnected:
        return {kExitPort, why};
    case ChainFailure::VerifyMismatch:
        return {kExitVerify, why};
    case ChainFailure::PortLost:
        if (before) {
            return {kExitPort, "no backup, nothing written: " + portWhy};
        }
        return {kExitPort,
                (result.failedStep == ChainStep::Verify ? "cannot verify: " : "") + portWhy};
    case ChainFailure::NoReply:
    case ChainFailure::BadReply:
    case ChainFailure::CommandFailed:
        if (before) {
            return {kExitController, "no backup, nothing written: " + why};
        }
        return {kExitController,
                (result.failedStep == ChainStep::Verify ? "cannot verify: " : "") + why};
    }
    return {kExitController, why};
}

} // namespace

SafeWriteRun RunSafeWrite(CliSession& session, const CliOptions& options, std::ostream& out) {
    Sequencer& seq = session.Sequencing();
    DurableBackupStorage storage([] { return LocalTime(std::time(nullptr)); });
    SafeWriteChain chain(seq, seq, session.Image(), storage);
    SafeWriteOptions chosen;
    chosen.backup = !options.backupDir.empty();
    chosen.backupFolder = options.backupDir;
    chosen.createBackupFolder = true; // a folder named on the command line is made
    chosen.verify = options.verify;

    const std::size_t messagesBefore = session.Console().messages.size();
    if (chain.Start(chosen)) {
        bool backupShown = false;
        bool stopping = false;
        while (!chain.Finished()) {
            if (CliSession::StopRequested() && !stopping) {
                stopping = true;
                chain.Cancel();
                continue;
            }
            session.Tick();
            chain.OnTick();
            const ChainProgress progress = chain.Progress();
            session.ShowProgress(std::string(ChainStepName(progress.step)), progress.ticksDone,
                                 progress.ticksTotal);
            if (!backupShown && !chain.Result().backupPath.empty()) {
                backupShown = true;
                out << "Backup: " << chain.Result().backupPath << "\n" << std::flush;
            }
        }
        session.EndProgress();
    }
    const SafeWriteResult& result = chain.Result();
    for (const std::string& line : MismatchLines(result)) {
        out << line << "\n";
    }
    if (result.verification == VerifyOutcome::Passed) {
        out << "Verified: the controller holds all " << kRegisterCount << " registers and checksum "
            << result.readBack->at(kChecksumIndex) << " as written\n";
    }
    const auto& messages = session.Console().messages;
    const std::string portWhy =
        messages.size() > messagesBefore ? messages.back().text : "the port was closed";
    return {Stopped(result, portWhy), result};
}

} // namespace orvane::cli
