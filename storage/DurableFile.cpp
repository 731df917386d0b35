#include "storage/DurableFile.h"

#include <system_error>

#include "storage/FolderProbe.h"

namespace orvane {

std::string_view WriteStepName(WriteStep step) {
    switch (step) {
    case WriteStep::CreateTemporary:
        return "creating the temporary file";
    case WriteStep::KeepPermissions:
        return "keeping the permissions";
    case WriteStep::Write:
        return "writing";
    case WriteStep::Flush:
        return "flushing to disk";
    case WriteStep::Rename:
        return "renaming into place";
    case WriteStep::FlushFolder:
        return "flushing the folder to disk";
    }
    return {};
}

std::string BackupFolderProblem(const std::filesystem::path& folder, bool createMissing) {
    std::error_code ec;
    if (createMissing) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            return "cannot create the backup folder " + folder.string() + ": " + ec.message();
        }
    }
    const std::filesystem::file_status status = std::filesystem::status(folder, ec);
    if (!std::filesystem::exists(status)) {
        return "the backup folder " + folder.string() + " does not exist";
    }
    if (!std::filesystem::is_directory(status)) {
        return "the backup folder " + folder.string() + " is not a folder";
    }
    if (std::string error = FolderWriteError(folder); !error.empty()) {
        return "cannot write in the backup folder " + folder.string() + ": " + error;
    }
    return {};
}

} // namespace orvane
