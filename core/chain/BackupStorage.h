#pragma once

#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace orvane {

enum class NewFileOutcome { Saved, Exists, Failed };

// What saving a backup needs of the system: the platform's storage library gives the real
// one (durable, never replacing a file), tests their own.
class IBackupStorage {
public:
    virtual ~IBackupStorage() = default;
    // Why no backup can be saved in `folder` (missing, not a folder, not writable); empty when
    // one can. With `createMissing` a missing folder is made first.
    virtual std::string FolderProblem(const std::string& folder, bool createMissing) = 0;
    // Saves `bytes` as a new file `path`; a file of that name is never replaced (Exists).
    // `error` says why when Failed.
    virtual NewFileOutcome SaveNewFile(const std::string& path, std::span<const std::uint8_t> bytes,
                                       std::string& error) = 0;
    // The PC's local time now, for the backup's name.
    virtual std::tm LocalNow() = 0;
};

} // namespace orvane
