#pragma once

#include <chrono>
#include <string>

#include "core/image/RegisterImage.h"
#include "tools/CliSession.h"

namespace orvane::cli {

struct LoadedConfiguration {
    Outcome outcome;
    RegisterTexts texts{};
};

// A configuration file with every check the GUI's loader makes, and the one the write
// makes: each register must be four hexadecimal digits.
LoadedConfiguration ReadConfigurationFile(const std::string& path);

// Saves the registers in the GUI's file format, replacing the file as a whole.
Outcome WriteConfigurationFile(const RegisterTexts& texts, const std::string& path);

// "<name>_Issue<n>_<YYYYMMDD-HHMMSS>.txt" at the PC's local time; characters that some file
// systems refuse (path separators, control characters, Windows' reserved ones) become "_".
std::string BackupFileName(const RegisterImage& image, std::chrono::system_clock::time_point when);

struct SavedBackup {
    Outcome outcome;
    std::string path; // the file written
};

// Creates the backup folder when missing; says why when it cannot be one.
Outcome MakeBackupFolder(const std::string& dir);

// Saves the registers under BackupFileName in dir (created when missing). An existing file
// is never replaced: the name then takes a "-2", "-3", ... before ".txt".
SavedBackup SaveBackup(const RegisterTexts& texts, const std::string& dir,
                       std::chrono::system_clock::time_point when);

} // namespace orvane::cli
