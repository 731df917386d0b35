// Any bytes given to the configuration file reader end in one of its outcomes; a
// loaded file always survives a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FileReadResult read = DecodeConfigurationFile(std::span(data, size));
    if (read.outcome != FileReadOutcome::Loaded) {
        return 0;
    }
    if (ChecksumText(read.groups) != read.groups[kChecksumIndex]) {
        std::abort();
    }
    RegisterImage image;
    image.SetTexts(read.groups);
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.Ok()) {
        return 0; // groups that are not hex digits load but are not sendable
    }
    const FileReadResult again = DecodeConfigurationFile(EncodeConfigurationFile(built.text));
    if (again.outcome != FileReadOutcome::Loaded || again.groups != read.groups) {
        std::abort();
    }
    return 0;
}
