#include "ConfigStore.h"

#include <system_error>

#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "storage/DurableFile.h"

namespace orvane::sim {

StoredConfiguration LoadConfiguration(const std::filesystem::path& path) {
    StoredConfiguration stored;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        stored.missing = !error;
        stored.problem = error ? error.message() : std::string();
        return stored;
    }
    const FileLoadResult file = ReadConfigurationFileBytes(path);
    if (!file.opened) {
        stored.problem = file.error;
        return stored;
    }
    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    switch (read.outcome) {
    case FileReadOutcome::Loaded:
        stored.texts = read.groups;
        break;
    case FileReadOutcome::TooLarge:
        stored.problem = "the file is too large to be a configuration";
        break;
    case FileReadOutcome::NoStartMarker:
        stored.problem = "the file holds no configuration text";
        break;
    case FileReadOutcome::ChecksumMismatch:
        stored.problem = "the configuration's checksum does not hold";
        break;
    }
    return stored;
}

std::string SaveConfiguration(const std::filesystem::path& path, const RegisterImage& config) {
    RegisterImage copy = config;
    const ConfigurationTextResult text = BuildConfigurationText(copy);
    if (!text.Ok()) {
        return "register " + std::to_string(text.invalidRegister) + " is not a hexadecimal word";
    }
    const DurableWriteResult written = WriteFileDurably(path, EncodeConfigurationFile(text.text));
    return written.ok ? std::string() : written.error;
}

} // namespace orvane::sim
