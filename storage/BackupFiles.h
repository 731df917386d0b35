#pragma once

#include <functional>

#include "core/chain/BackupStorage.h"

namespace orvane {

// Backups as the chain saves them: durably, never replacing a file.
class DurableBackupStorage final : public IBackupStorage {
public:
    // `localNow`: the PC's local time, for the backup's name.
    explicit DurableBackupStorage(std::function<std::tm()> localNow)
        : m_localNow(std::move(localNow)) {}

    std::string FolderProblem(const std::string& folder, bool createMissing) override;
    NewFileOutcome SaveNewFile(const std::string& path, std::span<const std::uint8_t> bytes,
                               std::string& error) override;
    std::tm LocalNow() override { return m_localNow(); }

private:
    std::function<std::tm()> m_localNow;
};

} // namespace orvane
