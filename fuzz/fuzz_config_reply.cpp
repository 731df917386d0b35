// Any receive text read as a configuration reply ends in one outcome; a loaded reply
// holds 401 four-character groups whose checksum matches as text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/comms/ReplyParsers.h"
#include "core/image/Checksum.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ConfigReply reply = ReadConfigurationReply(text);
    if (reply.outcome != ConfigReplyOutcome::Loaded) {
        return 0;
    }
    for (const auto& group : reply.groups) {
        if (group.size() != 4 || group.find_first_of("\r\n ") != std::string::npos) {
            std::abort();
        }
    }
    if (ChecksumText(reply.groups) != reply.groups[kChecksumIndex] || text.find('<') > 1998) {
        std::abort();
    }
    return 0;
}
