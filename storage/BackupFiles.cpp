#include "storage/BackupFiles.h"

#include "storage/DurableFile.h"

namespace orvane {

std::string DurableBackupStorage::FolderProblem(const std::string& folder, bool createMissing) {
    return BackupFolderProblem(folder, createMissing);
}

NewFileOutcome DurableBackupStorage::SaveNewFile(const std::string& path,
                                                 std::span<const std::uint8_t> bytes,
                                                 std::string& error) {
    const DurableWriteResult written = CreateFileDurably(path, bytes);
    if (written.ok) {
        return NewFileOutcome::Saved;
    }
    error = written.error;
    return written.exists ? NewFileOutcome::Exists : NewFileOutcome::Failed;
}

} // namespace orvane
