#pragma once

// Text from the controller or a file is bytes of unknown encoding; the writers keep
// well-formed UTF-8 as it is and read any other byte as a Latin-1 character.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none (an ASCII
// byte is not counted as a sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// The character code (0 to 255) in UTF-8.
std::string Latin1AsUtf8(unsigned char c);

} // namespace orvane
