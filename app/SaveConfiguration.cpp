#include "app/SaveConfiguration.h"

#include "core/comms/SequencerTexts.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "storage/DurableFile.h"

namespace orvane {

namespace {

constexpr const char* kNotSavedCaption = "Configuration not saved";

} // namespace

std::optional<std::string> SaveConfigurationFile(RegisterImage& image, bool busy,
                                                 IPrompter& prompter, IConfigInfoView& view) {
    if (busy) {
        prompter.ShowMessage(std::string(texts::kBusy), std::string(texts::kBusyCaption),
                             MessageIcon::Exclamation, MessageButtons::Ok);
        return std::nullopt;
    }
    auto path =
        prompter.AskSaveFile({ProposedFileName(image), "txt", true, {kConfigurationFileType}});
    if (!path) {
        return std::nullopt;
    }
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.Ok()) {
        prompter.ShowMessage("Register " + std::to_string(built.invalidRegister) +
                                 " does not hold four hexadecimal digits.\n"
                                 "The configuration file was not written.",
                             kNotSavedCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return std::nullopt;
    }
    view.ShowChecksum(image.Text(kChecksumIndex));
    const auto bytes = EncodeConfigurationFile(built.text);
    const DurableWriteResult written = WriteFileDurably(*path, bytes);
    if (!written.ok) {
        prompter.ShowMessage("The configuration file " + *path + " could not be written:\n" +
                                 written.error,
                             kNotSavedCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return std::nullopt;
    }
    return path;
}

} // namespace orvane
