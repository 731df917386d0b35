#include "core/image/Conversions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool SkipBlanksAndSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        return text[i++] == '-';
    }
    return false;
}

std::optional<double> ScanReal(std::string_view text) {
    std::size_t i = 0;
    const bool negative = SkipBlanksAndSign(text, i);
    const bool startsWithDigit =
        i < text.size() &&
        (IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])));
    if (!startsWithDigit) {
        return std::nullopt;
    }
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is beyond every bound.
        const std::string_view number(first, static_cast<std::size_t>(end - first));
        const auto exponent = number.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < number.size() &&
                          number[exponent + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

std::optional<unsigned> ScanHex(std::string_view text) {
    std::size_t i = 0;
    const bool negative = SkipBlanksAndSign(text, i);
    // "0x" is a prefix only when a digit follows; otherwise the "0" is the number.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    bool any = false;
    unsigned value = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) {
            break;
        }
        value = value * 16u + static_cast<unsigned>(d); // wraps like the C library's %x
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    return negative ? 0u - value : value;
}

std::optional<int> ScanDecimal(std::string_view text) {
    std::size_t i = 0;
    const bool negative = SkipBlanksAndSign(text, i);
    bool any = false;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value < 10'000'000'000LL) { // enough to saturate below; avoids overflow on long input
            value = value * 10 + (text[i] - '0');
        }
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value > 2147483647LL) {
        value = 2147483647LL;
    }
    if (value < -2147483648LL) {
        value = -2147483648LL;
    }
    return static_cast<int>(value);
}

bool IsHexWord(std::string_view text) {
    if (text.size() != 4) {
        return false;
    }
    for (const char c : text) {
        if (HexDigit(c) < 0) {
            return false;
        }
    }
    return true;
}

std::string FormatHexWord(unsigned value) {
    char out[8];
    std::snprintf(out, sizeof out, "%04X", value & 0xFFFFu);
    return out;
}

int SignedWord(unsigned word) {
    const auto low = static_cast<int>(word & 0xFFFFu);
    return low >= 0x8000 ? low - 0x10000 : low;
}

std::string FormatDecimal(long value) {
    return std::to_string(value);
}

} // namespace orvane
