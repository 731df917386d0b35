#include "core/image/TypedEntry.h"

#include <algorithm>

#include "core/image/Conversions.h"

namespace orvane {

bool IsStorableCharacter(char16_t c) {
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF);
}

int CountUnstorable(std::u16string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char16_t c) { return !IsStorableCharacter(c); }));
}

bool IsDigitsText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsBoundedNumberText(std::string_view text, unsigned bound) {
    // Digits only, so the number read is never negative.
    return IsDigitsText(text) && static_cast<unsigned>(ScanDecimal(text).value_or(0)) <= bound;
}

BoundedNumber HoldToRange(long long read, long long low, long long high) {
    const long long held = std::clamp(read, low, high);
    return {held, held != read};
}

BoundedNumber ReadTypedNumber(std::string_view text, long long low, long long high) {
    return HoldToRange(ScanDecimal(text).value_or(0), low, high);
}

} // namespace orvane
