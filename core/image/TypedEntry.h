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

// A number held to a range, and whether it had to be.
struct BoundedNumber {
    long long value = 0;
    bool clamped = false; // the number read was outside the range
    // As a register holds it: the low 16 bits, so -5 is FFFB.
    unsigned Word() const { return static_cast<unsigned>(value) & 0xFFFFu; }
};
BoundedNumber HoldToRange(long long read, long long low, long long high);

// A typed number as stored: read as a decimal integer (leading blanks and a sign, then digits
// up to the first other character; no digit reads as 0) and held to `low`..`high`.
BoundedNumber ReadTypedNumber(std::string_view text, long long low, long long high);

} // namespace orvane
