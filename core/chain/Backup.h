#pragma once

#include <ctime>
#include <string>

#include "core/chain/BackupStorage.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// "<name>_Issue<n>_<YYYYMMDD-HHMMSS>.txt" at `when`; characters that some file systems refuse
// (path separators, control characters, Windows' reserved ones) become "_".
std::string BackupFileName(const RegisterImage& image, const std::tm& when);

struct SavedBackup {
    bool ok = false;
    std::string path;  // the file written
    std::string error; // why not, for the user
};

// Saves the registers in the configuration file format under BackupFileName in `folder`.
// An existing file is never replaced: the name then takes a "-2", "-3", ... before ".txt".
SavedBackup SaveBackup(const RegisterTexts& texts, const std::string& folder,
                       IBackupStorage& storage);

} // namespace orvane
