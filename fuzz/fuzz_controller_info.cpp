// Any receive text gives controller information only from its first "ORV", 240 to 267
// characters long and inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/comms/ReplyParsers.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto info = FindControllerInfo(text);
    if (!info) {
        return 0;
    }
    if (info->data() != text.data() + text.find("ORV") || info->size() < 240 ||
        info->size() > 267 || info->substr(0, 3) != "ORV") {
        std::abort();
    }
    return 0;
}
