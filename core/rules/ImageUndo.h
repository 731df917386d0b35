#pragma once

#include "core/comms/Prompter.h"
#include "core/comms/SequencerAccess.h"
#include "core/image/ImageHistory.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// What undoing a replacement of the image reads and changes; the main window supplies it.
struct ImageUndoContext {
    ImageHistory& history;
    RegisterImage& image;
    const ISequencerStatus& status;
    ISequencerRequests& requests;
    IPrompter& prompter;
    IConfigInfoView& view; // the configuration fields and the "Checksum" field
};

// Brings back the image of before its last replacement and shows its configuration
// information. Refused with the busy message while a command runs (it may be sending the image
// or about to replace it). A changed log-data-enabled bit is handled as after opening a file.
// True when the image was brought back.
bool UndoReplacement(const ImageUndoContext& context);

// Before the window closes: true when nothing is unsaved or the user chose "Discard".
bool MayDiscardImage(const ImageHistory& history, const RegisterImage& image, IPrompter& prompter);

} // namespace orvane
