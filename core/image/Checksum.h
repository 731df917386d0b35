#pragma once

#include <optional>
#include <string>

#include "core/image/RegisterImage.h"

namespace orvane {

// Exclusive-or of the values of registers 0 to 399, then exclusive-or 4.
// A register holding no number contributes the value read before it (0 for
// register 0), as the controller's own tools always computed it.
unsigned ChecksumOf(const RegisterTexts& texts);

// ChecksumOf as four upper-case hexadecimal digits.
std::string ChecksumText(const RegisterTexts& texts);

// The first register 0 to 399 that is not four hexadecimal digits, if any.
std::optional<int> FirstUnsendableRegister(const RegisterTexts& texts);

} // namespace orvane
