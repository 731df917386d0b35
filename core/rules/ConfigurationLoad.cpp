#include "core/rules/ConfigurationLoad.h"

#include "core/comms/SequencerTexts.h"
#include "core/image/ConfigFile.h"
#include "core/image/Conversions.h"

namespace orvane {

namespace {

constexpr const char* kWrongFile = "Wrong type of file opened!";
constexpr const char* kTooLarge = "Wrong type of file opened!, file larger than expected.";
constexpr const char* kTooLargeCaption =
    "Warning - Error in file!!! , Default Template loaded instead.";
constexpr const char* kNoMarkerCaption = "Warning - Error in file!!!";
constexpr const char* kChecksumCaption = "Warning - Error in file! ";
constexpr const char* kUnreadableCaption = "Configuration not loaded";

void Warn(IPrompter& prompter, const std::string& text, const std::string& caption) {
    prompter.ShowMessage(text, caption, MessageIcon::Exclamation, MessageButtons::Ok);
}

void RefuseBusy(IPrompter& prompter) {
    Warn(prompter, std::string(texts::kBusy), std::string(texts::kBusyCaption));
}

} // namespace

LoadOutcome LoadConfigurationFile(const ConfigurationLoadContext& context, bool& fileError) {
    if (context.status.IsBusy()) {
        RefuseBusy(context.prompter);
        return LoadOutcome::Busy;
    }
    const std::vector<std::string> chosen =
        context.prompter.AskOpenFiles({true, {kConfigurationFileType}});
    if (chosen.empty()) {
        return LoadOutcome::Cancelled;
    }
    // Ticks run while the dialog is open: a command asked for just before may have
    // started meanwhile, and must not have its image replaced under it.
    if (context.status.IsBusy()) {
        RefuseBusy(context.prompter);
        return LoadOutcome::Busy;
    }
    const FileLoadResult file = ReadConfigurationFileBytes(chosen.back());
    if (!file.opened) {
        Warn(context.prompter, "The configuration file could not be read:\n" + file.error,
             kUnreadableCaption);
        return LoadOutcome::Unreadable;
    }

    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    RegisterImage& image = context.image;
    const std::string& path = chosen.back();
    if (context.history != nullptr) {
        context.history->BeforeReplace(image,
                                       read.outcome == FileReadOutcome::Loaded
                                           ? ImageReplacement::File
                                           : ImageReplacement::RefusedFile,
                                       path);
    }
    switch (read.outcome) {
    case FileReadOutcome::TooLarge:
        Warn(context.prompter, kTooLarge, kTooLargeCaption);
        image.LoadDefaultTemplate();
        return LoadOutcome::TooLarge;
    case FileReadOutcome::NoStartMarker:
        Warn(context.prompter, kWrongFile, kNoMarkerCaption);
        fileError = true;
        image.LoadDefaultTemplate();
        return LoadOutcome::NoStartMarker;
    case FileReadOutcome::ChecksumMismatch:
        Warn(context.prompter, kWrongFile, kChecksumCaption);
        context.view.ShowChecksum(std::string(texts::kChecksumError));
        fileError = true;
        context.requests.ReturnToIdle();
        image.LoadDefaultTemplate();
        return LoadOutcome::ChecksumMismatch;
    case FileReadOutcome::Loaded:
        break;
    }
    const std::string previousOptions = image.Text(kOptionRegister);
    image.SetTexts(read.groups);
    image.ShowConfigurationInfo(context.view);
    // After the fields are shown, which may store a field back in its own form; before the
    // log question, whose answer changes the image.
    if (context.history != nullptr) {
        context.history->MarkClean(image, ImageOrigin::OpenedFile, path);
    }
    // Set before the log question, whose box lets ticks run.
    context.requests.ReturnToIdle();
    CheckLogEnableChange(previousOptions, image, context.requests, context.prompter);
    fileError = false;
    return LoadOutcome::Loaded;
}

void CheckLogEnableChange(const std::string& previousOptions, RegisterImage& image,
                          ISequencerRequests& requests, IPrompter& prompter) {
    const bool before = (ScanHex(previousOptions).value_or(0) & kLogEnableBit) != 0;
    const bool now = image.OptionBit(kLogEnableBit);
    if (!now) {
        if (before) {
            requests.RequestLog(false);
        }
        return;
    }
    if (before) {
        return;
    }
    const MessageAnswer answer =
        prompter.ShowMessage(std::string(texts::kCreateLog), std::string(texts::kCreateLogCaption),
                             MessageIcon::Exclamation, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        requests.RequestLog(true);
    } else {
        image.SetOptionBit(kLogEnableBit, false);
    }
}

} // namespace orvane
