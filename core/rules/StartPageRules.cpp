#include "core/rules/StartPageRules.h"

#include <algorithm>

#include "core/image/TypedEntry.h"

namespace orvane {

void StoreTextField(RegisterImage& image, TextEntry entry, std::u16string_view text) {
    const int length = std::min(static_cast<int>(text.size()), FieldLength(entry.field));
    for (int i = 0; i < length; ++i) {
        image.SetValue(entry.field.first + i, text[static_cast<std::size_t>(i)]);
    }
    if (length == FieldLength(entry.field)) {
        return;
    }
    const int end = entry.field.first + length; // the register after the text
    for (int r = end; r <= std::max(entry.padThrough, end); ++r) {
        image.SetValue(r, 0);
    }
}

void StoreIssue(RegisterImage& image, std::string_view text) {
    image.SetValue(kIssueRegister, ReadTypedNumber(text, 0, kLargestWord).Word());
}

} // namespace orvane
