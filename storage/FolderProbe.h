#pragma once

#include <filesystem>
#include <string>

namespace orvane {

// Makes and removes a file in `folder`: the system's words for why it cannot, or empty.
// Only making one tells for certain (permissions, access lists, a read-only disk).
std::string FolderWriteError(const std::filesystem::path& folder);

} // namespace orvane
