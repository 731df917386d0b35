#include "core/rules/ImageUndo.h"

#include "core/comms/SequencerTexts.h"
#include "core/rules/ConfigurationLoad.h"

namespace orvane {

namespace {

constexpr const char* kDiscardQuestion = "Discard unsaved changes?";
constexpr const char* kDiscardCaption = "Orvane - GUI";

} // namespace

bool UndoReplacement(const ImageUndoContext& context) {
    if (!context.history.CanUndo()) {
        return false;
    }
    if (context.status.IsBusy()) {
        context.prompter.ShowMessage(std::string(texts::kBusy), std::string(texts::kBusyCaption),
                                     MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    const std::string previousOptions = context.image.Text(kOptionRegister);
    context.history.Undo(context.image);
    context.image.ShowConfigurationInfo(context.view);
    CheckLogEnableChange(previousOptions, context.image, context.requests, context.prompter);
    return true;
}

bool MayDiscardImage(const ImageHistory& history, const RegisterImage& image, IPrompter& prompter) {
    return !history.HasUnsavedChanges(image) ||
           prompter.ShowMessage(kDiscardQuestion, kDiscardCaption, MessageIcon::Exclamation,
                                MessageButtons::DiscardCancel) == MessageAnswer::Discard;
}

} // namespace orvane
