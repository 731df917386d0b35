#include "core/image/Checksum.h"

#include "core/image/Conversions.h"

namespace orvane {

unsigned ChecksumOf(const RegisterTexts& texts) {
    unsigned sum = 0;
    unsigned value = 0;
    for (int i = 0; i < kRegisterCount; ++i) {
        if (const auto read = ScanHex(texts[static_cast<std::size_t>(i)])) {
            value = *read;
        }
        sum ^= value;
    }
    return (sum ^ 4u) & 0xFFFFu;
}

std::string ChecksumText(const RegisterTexts& texts) {
    return FormatHexWord(ChecksumOf(texts));
}

std::optional<int> FirstUnsendableRegister(const RegisterTexts& texts) {
    for (int i = 0; i < kRegisterCount; ++i) {
        if (!IsHexWord(texts[static_cast<std::size_t>(i)])) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace orvane
