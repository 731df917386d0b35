#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Reads a number the way the controller's texts were always read ("%x"): leading
// blanks skipped, an optional sign and "0x", then hexadecimal digits up to the
// first other character. Empty when no digit follows.
std::optional<unsigned> ScanHex(std::string_view text);

// Reads a decimal number the way typed fields are read ("%d"); empty when no digit.
std::optional<int> ScanDecimal(std::string_view text);

// Exactly four hexadecimal digits, either case: what a register must hold to be sent.
bool IsHexWord(std::string_view text);

// "%04X" of the low 16 bits.
std::string FormatHexWord(unsigned value);

// "%d".
std::string FormatDecimal(long value);

} // namespace orvane
