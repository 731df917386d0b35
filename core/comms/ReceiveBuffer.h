#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane {

// Everything the controller sent since connecting, as one text that the parsers
// read at fixed moments. Once 1800 bytes are held it keeps exactly the latest 1800.
class ReceiveBuffer {
public:
    static constexpr std::size_t kSize = 1952;
    static constexpr std::size_t kTextMax = 1950; // the last two bytes stay zero
    static constexpr std::size_t kWindow = 1800;

    ReceiveBuffer() { FillWithSpaces(); }

    // Appends one byte; constant work, except the one-place move once full.
    void OnReceiveChar(std::uint8_t byte);

    // Start-up: the text is 1950 spaces until bytes arrive.
    void FillWithSpaces();
    // Disconnect: empty text, count 0.
    void Clear();
    // The configuration write's tick 58: the first 1800 bytes zero, count kept.
    void ZeroWindow();

    int Count() const { return static_cast<int>(m_count); }
    // The buffer up to its first zero byte.
    std::string_view Text() const;

private:
    std::array<char, kSize> m_bytes{};
    std::size_t m_count = 0;
};

} // namespace orvane
