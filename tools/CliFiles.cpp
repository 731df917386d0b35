#include "tools/CliFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"

namespace orvane::cli {

namespace {

constexpr int kMostBackupsASecond = 1000;

std::tm LocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

std::string Formatted(const std::tm& time, const char* format) {
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, format, &time);
    return std::string(text, length);
}

bool FitsFileName(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7F && std::strchr("/\\:*?\"<>|", c) == nullptr;
}

// The file's bytes, or why the registers cannot make one.
Outcome EncodeFile(const RegisterTexts& texts, std::vector<std::uint8_t>& bytes) {
    RegisterImage image;
    image.SetTexts(texts);
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.ok()) {
        return {kExitController, "register " + std::to_string(built.invalidRegister) +
                                     " as received is not four hexadecimal digits"};
    }
    bytes = EncodeConfigurationFile(built.text);
    return {};
}

enum class NewFile { Written, Exists, Failed };

// Creates the file only if no file of that name exists.
NewFile WriteNewFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                     std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        const int why = errno;
        error = std::strerror(why);
        return why == EEXIST ? NewFile::Exists : NewFile::Failed;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    if (!ok) {
        error = std::strerror(errno);
    }
    if (std::fclose(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    return ok ? NewFile::Written : NewFile::Failed;
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
    if (Outcome encoded = EncodeFile(texts, bytes); !encoded.ok()) {
        return encoded;
    }
    const FileWriteResult written = WriteFileAtomically(path, bytes);
    if (!written.ok) {
        return {kExitFile, "cannot write " + path + ": " + written.error};
    }
    return {};
}

std::string BackupFileName(const RegisterImage& image, std::chrono::system_clock::time_point when) {
    std::string name = ProposedFileName(image);
    for (char& c : name) {
        c = FitsFileName(c) ? c : '_';
    }
    return name + "_" + Formatted(LocalTime(when), "%Y%m%d-%H%M%S") + ".txt";
}

Outcome MakeBackupFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        return {kExitFile, "cannot create the backup folder " + dir + ": " + ec.message()};
    }
    return {};
}

SavedBackup SaveBackup(const RegisterTexts& texts, const std::string& dir,
                       std::chrono::system_clock::time_point when) {
    std::vector<std::uint8_t> bytes;
    if (Outcome encoded = EncodeFile(texts, bytes); !encoded.ok()) {
        return {encoded, {}};
    }
    if (Outcome folder = MakeBackupFolder(dir); !folder.ok()) {
        return {folder, {}};
    }
    RegisterImage image;
    image.SetTexts(texts);
    const std::filesystem::path name = BackupFileName(image, when);
    for (int n = 1; n <= kMostBackupsASecond; ++n) {
        std::filesystem::path path = std::filesystem::path(dir) / name;
        if (n > 1) {
            path.replace_filename(name.stem().string() + "-" + std::to_string(n) + ".txt");
        }
        std::string error;
        switch (WriteNewFile(path, bytes, error)) {
        case NewFile::Written:
            return {{}, path.string()};
        case NewFile::Failed:
            return {{kExitFile, "cannot write the backup " + path.string() + ": " + error}, {}};
        case NewFile::Exists:
            break;
        }
    }
    return {{kExitFile, "too many backups named " + name.string() + " in " + dir}, {}};
}

} // namespace orvane::cli
