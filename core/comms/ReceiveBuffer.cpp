#include "core/comms/ReceiveBuffer.h"

#include <cstring>

namespace orvane {

void ReceiveBuffer::OnReceiveChar(std::uint8_t byte) {
    if (m_count < kWindow) {
        m_bytes[m_count++] = static_cast<char>(byte);
        return;
    }
    // Full: drop the oldest byte so the window holds exactly the latest 1800.
    std::memmove(m_bytes.data(), m_bytes.data() + 1, kWindow - 1);
    m_bytes[kWindow - 1] = static_cast<char>(byte);
}

void ReceiveBuffer::FillWithSpaces() {
    std::memset(m_bytes.data(), ' ', kTextMax);
    m_bytes[kTextMax] = 0;
    m_bytes[kTextMax + 1] = 0;
    m_count = 0;
}

void ReceiveBuffer::Clear() {
    m_bytes.fill(0);
    m_count = 0;
}

void ReceiveBuffer::ZeroWindow() {
    std::memset(m_bytes.data(), 0, kWindow);
}

std::string_view ReceiveBuffer::Text() const {
    // The last two bytes are never written, so this always finds an end.
    return std::string_view(m_bytes.data(), std::strlen(m_bytes.data()));
}

} // namespace orvane
