#include "tools/CliFiles.h"

#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "storage/DurableFile.h"

namespace orvane::cli {

namespace {

// The file's bytes, or why the registers cannot make one.
Outcome EncodeFile(const RegisterTexts& texts, std::vector<std::uint8_t>& bytes) {
    RegisterImage image;
    image.SetTexts(texts);
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.Ok()) {
        return {kExitController, "register " + std::to_string(built.invalidRegister) +
                                     " as received is not four hexadecimal digits"};
    }
    bytes = EncodeConfigurationFile(built.text);
    return {};
}

} // namespace

LoadedConfiguration ReadConfigurationFile(const std::string& path) {
    const FileLoadResult file = ReadConfigurationFileBytes(path);
    if (!file.opened) {
        return {{kExitFile, "cannot read " + path + ": " + file.error}};
    }
    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    switch (read.outcome) {
    case FileReadOutcome::TooLarge:
        return {{kExitFile, path + ": file larger than expected (over 4000 bytes)"}};
    case FileReadOutcome::NoStartMarker:
        return {{kExitFile, path + ": not a configuration file (no \"<\")"}};
    case FileReadOutcome::ChecksumMismatch:
        return {{kExitFile, path + ": checksum does not match the registers"}};
    case FileReadOutcome::Loaded:
        break;
    }
    if (const auto bad = FirstUnsendableRegister(read.groups)) {
        return {{kExitFile, path + ": register " + std::to_string(*bad) + " (\"" +
                                read.groups[static_cast<std::size_t>(*bad)] +
                                "\") is not four hexadecimal digits"}};
    }
    return {{}, read.groups};
}

Outcome WriteConfigurationFile(const RegisterTexts& texts, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (Outcome encoded = EncodeFile(texts, bytes); !encoded.Ok()) {
        return encoded;
    }
    const DurableWriteResult written = WriteFileDurably(path, bytes);
    if (!written.ok) {
        return {kExitFile, "cannot write " + path + ": " + written.error};
    }
    return {};
}

} // namespace orvane::cli
