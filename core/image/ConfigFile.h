#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/RegisterImage.h"

namespace orvane {

inline constexpr std::size_t kConfigFileSize = 3234;    // every file written
inline constexpr std::size_t kConfigFileMaxRead = 4000; // largest file read

// The bytes of a configuration file: the text as UTF-16LE, a zero character and
// five zero characters of padding. The text is the 1611-byte configuration text.
std::vector<std::uint8_t> EncodeConfigurationFile(std::string_view configurationText);

enum class FileReadOutcome {
    Loaded,           // 401 groups read, checksum as text equals group 401
    TooLarge,         // more than 4000 bytes
    NoStartMarker,    // no "<" among the first 2000 characters
    ChecksumMismatch, // checksum differs, or the text ends before 401 groups
};

struct FileReadResult {
    FileReadOutcome outcome = FileReadOutcome::NoStartMarker;
    RegisterTexts groups{}; // registers 0 to 399 and the checksum, as read; set when Loaded
};

// Reads a configuration file's bytes with all of the reader's checks.
FileReadResult DecodeConfigurationFile(std::span<const std::uint8_t> bytes);

// The file name proposed when saving: name, "_Issue", issue in decimal; characters a file
// name cannot hold (separators, controls, reserved) become '_'.
std::string ProposedFileName(const RegisterImage& image);

struct FileLoadResult {
    bool opened = false;
    std::string error;
    std::vector<std::uint8_t> bytes; // at most kConfigFileMaxRead + 1 bytes
};

// Reads a file for DecodeConfigurationFile: at most one byte past the largest
// accepted size, which is enough to tell that it is too large.
FileLoadResult ReadConfigurationFileBytes(const std::filesystem::path& path);

} // namespace orvane
