#pragma once

#include <string_view>

namespace orvane {

// Live field texts arrive exactly as the controller sent them ("  45", " 25.1",
// "FAIL", " HI "); the pages read numbers out of them as scanf would, whatever the
// user's locale, and a text that holds no number reads as 0.

// "%d": blanks, a sign, digits.
int ReadLiveInteger(std::string_view text);
// "%f": blanks, a sign, digits with an optional fraction and exponent.
double ReadLiveNumber(std::string_view text);

inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace orvane
