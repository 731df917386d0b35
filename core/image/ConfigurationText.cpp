#include "core/image/ConfigurationText.h"

#include "core/image/Checksum.h"

namespace orvane {

ConfigurationTextResult BuildConfigurationText(RegisterImage& image) {
    ConfigurationTextResult result;
    const RegisterTexts& texts = image.Texts();
    // Every register must be exactly four digits: anything else would shift every
    // later register on the controller and in the file.
    if (const auto bad = FirstUnsendableRegister(texts)) {
        result.invalidRegister = *bad;
        return result;
    }
    const std::string checksum = ChecksumText(texts);
    image.SetText(kChecksumIndex, checksum);

    std::string& text = result.text;
    text.reserve(kConfigurationTextLength);
    text += "<\r";
    for (int i = 0; i < kRegisterCount; ++i) {
        text += texts[static_cast<std::size_t>(i)];
    }
    text += checksum;
    text += "> END";
    return result;
}

} // namespace orvane
