#pragma once

#include <string_view>

#include "core/image/RegisterImage.h"

namespace orvane {

// How the Start page stores its fields in the register image.

// A text field as typed: one character per register from the field's first, then
// "0000" after the last character up to `padThrough`. The field's last register is
// written only by a character of its own, except that the register right after a
// shorter text is always zero, so the stored text ends where the typed one does.
struct TextEntry {
    TextField field;
    int padThrough;
};
inline constexpr TextEntry kNameEntry{kNameField, 207};
inline constexpr TextEntry kDescriptionEntry{kDescriptionField, 290};
inline constexpr TextEntry kDateEntry{kDateField, 355};

constexpr int FieldLength(TextField field) {
    return field.last - field.first + 1;
}

// Characters past the field's length are not stored.
void StoreTextField(RegisterImage& image, TextEntry entry, std::u16string_view text);

// "Set Config File Issue" into register 211: the typed number, at most 65535.
void StoreIssue(RegisterImage& image, std::string_view text);

} // namespace orvane
