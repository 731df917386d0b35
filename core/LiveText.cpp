#include "core/LiveText.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "core/Conversions.h"

namespace orvane {

int ReadLiveInteger(std::string_view text) {
    return ScanDecimal(text).value_or(0);
}

double ReadLiveNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    // Only the decimal form: the controller never sends "inf", "nan" or hexadecimal.
    if (i >= text.size() ||
        (std::isdigit(static_cast<unsigned char>(text[i])) == 0 && text[i] != '.')) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

} // namespace orvane
