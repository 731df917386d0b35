#include "core/image/ConfigFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/image/Checksum.h"
#include "core/image/Conversions.h"

namespace orvane {

namespace {

constexpr std::size_t kStartMarkerWindow = 2000; // "<" must stand among these characters
constexpr std::size_t kTrailingZeroChars = 6;    // the terminator and five of padding

bool IsSkipped(char c) {
    return c == '\r' || c == '\n' || c == ' ';
}

// The file's UTF-16LE text as 8-bit characters, up to the first zero character.
// A character that does not fit in 8 bits makes the whole text empty.
std::string NarrowText(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned low = bytes[i];
        const unsigned high = i + 1 < bytes.size() ? bytes[i + 1] : 0u;
        const unsigned unit = low | (high << 8);
        if (unit == 0) {
            break;
        }
        if (unit > 0xFF) {
            return {};
        }
        text.push_back(static_cast<char>(unit));
    }
    return text;
}

// A name may hold any character code; one that would leave the chosen folder or that no
// file system takes must not reach a file dialog or a backup.
bool FitsFileName(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7F && std::strchr("/\\:*?\"<>|", c) == nullptr;
}

} // namespace

std::vector<std::uint8_t> EncodeConfigurationFile(std::string_view configurationText) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * (configurationText.size() + kTrailingZeroChars));
    for (const char c : configurationText) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    bytes.insert(bytes.end(), 2 * kTrailingZeroChars, 0);
    return bytes;
}

FileReadResult DecodeConfigurationFile(std::span<const std::uint8_t> bytes) {
    FileReadResult result;
    if (bytes.size() > kConfigFileMaxRead) {
        result.outcome = FileReadOutcome::TooLarge;
        return result;
    }
    const std::string text = NarrowText(bytes);
    const std::size_t marker = text.find('<');
    if (marker == std::string::npos || marker >= kStartMarkerWindow) {
        result.outcome = FileReadOutcome::NoStartMarker;
        return result;
    }

    RegisterTexts groups{};
    std::size_t pos = marker + 1;
    for (std::string& group : groups) {
        while (group.size() < 4 && pos < text.size()) {
            const char c = text[pos++];
            if (!IsSkipped(c)) {
                group.push_back(c);
            }
        }
        if (group.size() < 4) { // the text ended before 401 groups
            result.outcome = FileReadOutcome::ChecksumMismatch;
            return result;
        }
    }
    if (ChecksumText(groups) != groups[kChecksumIndex]) {
        result.outcome = FileReadOutcome::ChecksumMismatch;
        return result;
    }
    result.outcome = FileReadOutcome::Loaded;
    result.groups = std::move(groups);
    return result;
}

std::string ProposedFileName(const RegisterImage& image) {
    std::string name = image.DecodeTextField(kNameField);
    for (char& c : name) {
        c = FitsFileName(c) ? c : '_';
    }
    return name + "_Issue" + FormatDecimal(image.Value(kIssueRegister).value_or(0));
}

FileLoadResult ReadConfigurationFileBytes(const std::filesystem::path& path) {
    FileLoadResult result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return result;
    }
    result.bytes.resize(kConfigFileMaxRead + 1);
    in.read(reinterpret_cast<char*>(result.bytes.data()),
            static_cast<std::streamsize>(result.bytes.size()));
    if (in.bad()) {
        result.error = "cannot read " + path.string() + ": " + std::strerror(errno);
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(in.gcount()));
    result.opened = true;
    return result;
}

} // namespace orvane
