#pragma once

#include <cstddef>
#include <string>

#include "core/image/RegisterImage.h"

namespace orvane {

// "<", CR, 400 registers of four characters, the checksum, "> END".
inline constexpr std::size_t kConfigurationTextLength = 1611;

struct ConfigurationTextResult {
    std::string text;         // the 1611 bytes; empty when refused
    int invalidRegister = -1; // the register that made the image unsendable
    bool Ok() const { return invalidRegister < 0; }
};

// Builds the configuration text and stores its checksum in the checksum entry.
// An image whose register is not four hexadecimal digits is refused: nothing is
// built, the checksum entry is left alone, and the register is named.
ConfigurationTextResult BuildConfigurationText(RegisterImage& image);

} // namespace orvane
