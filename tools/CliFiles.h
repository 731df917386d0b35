#pragma once

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

// Saves the registers in the GUI's file format, replacing the file as a whole and durably.
Outcome WriteConfigurationFile(const RegisterTexts& texts, const std::string& path);

} // namespace orvane::cli
