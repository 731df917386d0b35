#include "core/chain/Backup.h"

#include <filesystem>

#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"

namespace orvane {

namespace {

constexpr int kMostBackupsASecond = 1000;

} // namespace

std::string BackupFileName(const RegisterImage& image, const std::tm& when) {
    const std::string name = ProposedFileName(image);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    return name + "_" + std::string(stamp, length) + ".txt";
}

SavedBackup SaveBackup(const RegisterTexts& texts, const std::string& folder,
                       IBackupStorage& storage) {
    RegisterImage image;
    image.SetTexts(texts);
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.Ok()) {
        return {false,
                {},
                "register " + std::to_string(built.invalidRegister) +
                    " as received is not four hexadecimal digits"};
    }
    const std::vector<std::uint8_t> bytes = EncodeConfigurationFile(built.text);
    const std::filesystem::path name = BackupFileName(image, storage.LocalNow());
    for (int n = 1; n <= kMostBackupsASecond; ++n) {
        std::filesystem::path path = std::filesystem::path(folder) / name;
        if (n > 1) {
            path.replace_filename(name.stem().string() + "-" + std::to_string(n) + ".txt");
        }
        std::string error;
        switch (storage.SaveNewFile(path.string(), bytes, error)) {
        case NewFileOutcome::Saved:
            return {true, path.string(), {}};
        case NewFileOutcome::Failed:
            return {false, {}, "cannot write the backup " + path.string() + ": " + error};
        case NewFileOutcome::Exists:
            break;
        }
    }
    return {false, {}, "too many backups named " + name.string() + " in " + folder};
}

} // namespace orvane
