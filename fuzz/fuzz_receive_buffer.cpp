// Any byte stream, with disconnects and write-time clears mixed in, keeps the receive
// buffer's bounds, and its text ends with the newest bytes once the window is full.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/comms/ReceiveBuffer.h"
#include "core/comms/ReplyParsers.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReceiveBuffer buffer;
    std::string lastBytes; // what was stored since the last clear, newest last
    bool cleared = false;  // until a disconnect the 150 bytes past the window stay spaces
    for (std::size_t i = 0; i < size; ++i) {
        // 0xFF followed by a selector is a control: clear or zero the window.
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] < 2) {
            if (data[++i] == 0) {
                buffer.Clear();
                cleared = true;
            } else {
                buffer.ZeroWindow();
            }
            lastBytes.clear();
            continue;
        }
        buffer.OnReceiveChar(data[i]);
        lastBytes.push_back(static_cast<char>(data[i]));
    }
    const std::string_view text = buffer.Text();
    if (buffer.Count() < 0 || buffer.Count() > 1800 || text.size() > 1950) {
        std::abort();
    }
    // After a full window of non-zero bytes the text is exactly those bytes (and the
    // tail beyond the window).
    if (lastBytes.size() >= 1800 &&
        lastBytes.find('\0', lastBytes.size() - 1800) == std::string::npos) {
        const std::string expected =
            lastBytes.substr(lastBytes.size() - 1800) + std::string(cleared ? 0 : 150, ' ');
        if (text != expected) {
            std::abort();
        }
    }
    LiveFields fields{};
    if (const auto record = FindLiveRecord(text)) {
        SplitLiveRecord(*record, fields);
    }
    (void)ReadConfigurationReply(text);
    (void)FindControllerInfo(text);
    return 0;
}
