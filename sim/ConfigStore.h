#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/image/RegisterImage.h"

namespace orvane::sim {

// The simulator keeps its configuration in the same file format as the GUI saves.
struct StoredConfiguration {
    std::optional<RegisterTexts> texts; // set when the file was read and its checksum held
    bool missing = false;               // no such file: start from the defaults
    std::string problem;                // why an existing file was not taken
};

StoredConfiguration LoadConfiguration(const std::filesystem::path& path);

// Replaces the file as a whole; returns why it failed, empty on success.
std::string SaveConfiguration(const std::filesystem::path& path, const RegisterImage& config);

} // namespace orvane::sim
