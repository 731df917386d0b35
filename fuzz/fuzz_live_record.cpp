// Any receive text yields at most one live record, taken from inside the text between
// two terminators, and its split never stores a field longer than 8 characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/comms/ReplyParsers.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto record = FindLiveRecord(text);
    if (!record) {
        return 0;
    }
    const char* begin = record->data();
    if (begin < text.data() || begin + record->size() > text.data() + text.size() ||
        record->size() >= 240 || record->size() < 2 || record->substr(record->size() - 2) != "s,") {
        std::abort();
    }
    LiveFields fields{};
    fields[14] = "kept";
    SplitLiveRecord(*record, fields);
    for (const auto& field : fields) {
        if (field.size() > kLiveFieldMaxLength) {
            std::abort();
        }
    }
    if (fields[14] != "kept") {
        std::abort();
    }
    return 0;
}
