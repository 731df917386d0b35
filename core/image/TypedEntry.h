#pragma once

#include <string_view>

namespace orvane {

// What the pages' edit boxes accept as typed, and how a typed number is read.

// A character a person may type into a text field: one that fits one register byte
// (Latin-1) and is not a control character.
bool IsStorableCharacter(char16_t c);
int CountUnstorable(std::u16string_view text);

// The largest number one register holds.
inline constexpr unsigned kLargestWord = 0xFFFF;

// A digits-only box: digits only (empty too), and with a bound, no number above it.
bool IsDigitsText(std::string_view text);
bool IsBoundedNumberText(std::string_view text, unsigned bound);

// A typed number as stored: leading digits in decimal, empty as 0, kept within 0 to `bound`.
unsigned TypedNumber(std::string_view text, unsigned bound);

} // namespace orvane
