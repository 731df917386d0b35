#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

namespace orvane {

// What the toolkit-free programs need of the system beyond the standard library, so that
// core/ and tools/ stay free of platform calls.

// The system's own words for an error code (errno, or GetLastError on Windows).
std::string SystemErrorText(int code);

// True when the standard error stream is a terminal (progress may then be drawn on it).
bool StandardErrorIsTerminal();

// The local calendar time of `when`.
std::tm LocalTime(std::time_t when);

// Creates `path` for binary writing only if no file of that name exists; null with the
// errno in `error` otherwise (EEXIST when it exists).
std::FILE* CreateNewFile(const std::filesystem::path& path, int& error);

} // namespace orvane
