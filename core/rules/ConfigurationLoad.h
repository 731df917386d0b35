#pragma once

#include <string>

#include "core/comms/Prompter.h"
#include "core/comms/SequencerAccess.h"
#include "core/image/ImageHistory.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// What loading a configuration file reads and changes; the Start page supplies it.
struct ConfigurationLoadContext {
    RegisterImage& image;
    const ISequencerStatus& status;
    ISequencerRequests& requests;
    IPrompter& prompter;
    IConfigInfoView& view; // the configuration fields and the "Checksum" field
    IImageHistory* history = nullptr;
};

enum class LoadOutcome {
    Busy,             // refused: a command is running
    Cancelled,        // no file chosen
    Unreadable,       // the file could not be read; nothing changed
    TooLarge,         // more than 4000 bytes: the default template instead
    NoStartMarker,    // no "<": the default template instead
    ChecksumMismatch, // the default template instead, "Error!" in the "Checksum" field
    Loaded,
};

// "Open existing Configuration File from PC": asks for files (the last one chosen
// is loaded), reads and checks it, and replaces the register image with it, or with
// the default template when the file is refused. `fileError` is the Start page's
// file error flag: set by a file without a "<" or with a wrong checksum, cleared by
// a load, left alone otherwise.
LoadOutcome LoadConfigurationFile(const ConfigurationLoadContext& context, bool& fileError);

// After the whole image was replaced from the PC side: the log-data-enabled bit of
// register 184 as it was (`previousOptions`, its old text) against its value now.
// Cleared: the log file is closed. Newly set: the user is asked whether to open one;
// on No the bit is cleared again.
void CheckLogEnableChange(const std::string& previousOptions, RegisterImage& image,
                          ISequencerRequests& requests, IPrompter& prompter);

} // namespace orvane
