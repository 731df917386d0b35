#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

// Files that survive a crash of the program and a power cut of the machine: the bytes go to
// a temporary file made beside the target (never one of an existing name, so no stale file
// or link is followed), reach the disk, and are then renamed into place, after which the
// folder reaches the disk too. Any failure leaves the old file as it was and no temporary
// file behind.

// The steps of a durable write, in their order.
enum class WriteStep {
    CreateTemporary, // exclusively: a name already there is never opened
    KeepPermissions, // those of the file being replaced
    Write,
    Flush,       // the file's bytes to the disk
    Rename,      // into place (for a new file: only if the name is still free)
    FlushFolder, // the rename to the disk
};

// "creating the temporary file", "writing", ...: for messages.
std::string_view WriteStepName(WriteStep step);

// A test's way in: the step named fails as the system would (the write after half the
// bytes), so a test can stop the writer half-way and look at what is left.
struct WriteFaults {
    std::optional<WriteStep> failAt;
};

struct DurableWriteResult {
    bool ok = false;
    bool exists = false;                 // CreateFileDurably: the name was taken
    std::optional<WriteStep> failedStep; // where it failed
    std::string error; // "flushing to disk failed: Input/output error", for the user
};

// Replaces `path` as a whole with `bytes`, keeping its permissions. A failure to flush the
// folder comes after the rename: the new file is then in place but may not survive a power
// cut, and the result says so.
DurableWriteResult WriteFileDurably(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes,
                                    const WriteFaults& faults = {});

// Saves `bytes` as `path` only if no file of that name exists: an existing one is never
// replaced (`exists` is then set and nothing is left behind).
DurableWriteResult CreateFileDurably(const std::filesystem::path& path,
                                     std::span<const std::uint8_t> bytes,
                                     const WriteFaults& faults = {});

// Why no backup can be saved in `folder`: missing, not a folder, not writable; empty when one
// can. With `createMissing` a missing folder is made first (and its parents).
std::string BackupFolderProblem(const std::filesystem::path& folder, bool createMissing);

} // namespace orvane
