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

// Reads a real number the way "%f" does, but always with "." as the decimal point
// whatever the locale, and never "inf", "nan" or hexadecimal forms: empty when no
// digit starts the number; a value too large to hold is infinite, one too small 0.
std::optional<double> ScanReal(std::string_view text);

// Moves i past leading blanks and a sign, as scanf does; true for a minus.
bool SkipBlanksAndSign(std::string_view text, std::size_t& i);

// Exactly four hexadecimal digits, either case: what a register must hold to be sent.
bool IsHexWord(std::string_view text);

// "%04X" of the low 16 bits.
std::string FormatHexWord(unsigned value);

// "%d".
std::string FormatDecimal(long value);

// The low 16 bits as a two's complement number: 7FFF is 32767, 8000 is -32768, FFFF is -1.
int SignedWord(unsigned word);

} // namespace orvane
