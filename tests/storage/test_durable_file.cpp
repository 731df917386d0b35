// A save either replaces the whole file or leaves the old one byte for byte, with no temporary
// file behind, whichever step fails; it never opens an existing name; backups never replace one
// another; a folder that cannot take a backup is told before anything is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/chain/Backup.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "storage/BackupFiles.h"
#include "storage/DurableFile.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct TempFolder {
    fs::path path =
        fs::temp_directory_path() / ("orvane-storage-" + std::to_string(std::random_device{}()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() { fs::remove_all(path); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

const Bytes kNew(3234, 0x41);

// Every step failing in turn, replacing a file and making a new one. Only a failure to flush
// the folder comes after the rename: the new bytes are then in place, and the result says so.
TEST(DurableFile, AFailureAtAnyStepLeavesTheOldFileAndNoTemporary) {
    const std::string oldText = "an older, longer file" + std::string(5000, '!');
    const std::string newText(kNew.begin(), kNew.end());
    const WriteStep steps[] = {WriteStep::CreateTemporary, WriteStep::KeepPermissions,
                               WriteStep::Write,           WriteStep::Flush,
                               WriteStep::Rename,          WriteStep::FlushFolder};
    for (const bool replace : {true, false}) {
        for (const WriteStep step : steps) {
            SCOPED_TRACE(std::string(replace ? "replace, " : "new file, ") +
                         std::string(WriteStepName(step)));
            TempFolder folder;
            const fs::path target = folder.path / "DEFAULT_Issue0.txt";
            if (replace) {
                Put(target, oldText);
            }
            const WriteFaults faults{step};
            const DurableWriteResult result = replace ? WriteFileDurably(target, kNew, faults)
                                                      : CreateFileDurably(target, kNew, faults);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.failedStep, step);
            EXPECT_NE(result.error.find(WriteStepName(step)), std::string::npos) << result.error;
            const bool renamed = step == WriteStep::FlushFolder;
            EXPECT_EQ(result.error.find("may not survive a power cut") != std::string::npos,
                      renamed)
                << result.error;
            if (replace || renamed) {
                EXPECT_EQ(folder.Names(), std::set<std::string>{target.filename().string()});
                EXPECT_EQ(Slurp(target), renamed ? newText : oldText);
            } else {
                EXPECT_TRUE(folder.Names().empty());
            }
        }
    }
}

TEST(DurableFile, ReplacesWholeKeepingPermissionsAndNeverReplacesANewOne) {
    TempFolder folder;
    const fs::path target = folder.path / "site.txt";
    Put(target, std::string(9000, 'x'));
#ifndef _WIN32
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
#endif
    const DurableWriteResult replaced = WriteFileDurably(target, kNew);
    ASSERT_TRUE(replaced.ok) << replaced.error;
    EXPECT_EQ(Slurp(target), std::string(kNew.begin(), kNew.end()));
#ifndef _WIN32
    struct stat kept {};
    ASSERT_EQ(::stat(target.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 0640u);
#endif
    const DurableWriteResult again = CreateFileDurably(target, Bytes{1, 2, 3});
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.exists);
    EXPECT_EQ(Slurp(target), std::string(kNew.begin(), kNew.end()));

    fs::create_directories(folder.path / "a-folder");
    EXPECT_FALSE(WriteFileDurably(folder.path / "a-folder", kNew).ok);
    EXPECT_TRUE(fs::is_directory(folder.path / "a-folder"));
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"a-folder", "site.txt"}));
}

#ifndef _WIN32
// Temporary names planted as links to another file: the writer never writes through one.
TEST(DurableFile, NeverOpensAnExistingTemporaryName) {
    TempFolder folder;
    const fs::path target = folder.path / "site.txt";
    const fs::path victim = folder.path / "victim";
    Put(victim, "untouched");
    for (int serial = 0; serial < 400; ++serial) {
        fs::path planted = target;
        planted += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial);
        fs::create_symlink(victim, planted);
    }
    const DurableWriteResult result = WriteFileDurably(target, kNew);
    EXPECT_EQ(Slurp(victim), "untouched");
    EXPECT_EQ(result.ok, fs::exists(target)) << result.error;
}
#endif

std::tm FixedTime() {
    std::tm when{};
    std::istringstream("2023-11-14 22:13:20") >> std::get_time(&when, "%Y-%m-%d %H:%M:%S");
    return when;
}

TEST(Backup, SafeNamesAndNoneReplacesAnother) {
    RegisterImage image;
    image.LoadDefaultTemplate();
    const char* name = "A/B:C*\x01";
    for (int i = 0; name[i] != 0; ++i) {
        image.SetValue(kNameField.first + i, static_cast<unsigned char>(name[i]));
    }
    image.SetValue(kIssueRegister, 12);
    DurableBackupStorage storage(FixedTime);
    const std::string expected = "A_B_C___Issue12_20231114-221320";
    EXPECT_EQ(BackupFileName(image, storage.LocalNow()), expected + ".txt");

    TempFolder folder;
    const SavedBackup first = SaveBackup(image.Texts(), folder.path.string(), storage);
    const SavedBackup second = SaveBackup(image.Texts(), folder.path.string(), storage);
    ASSERT_TRUE(first.ok && second.ok) << second.error;
    EXPECT_EQ(fs::path(second.path).filename(), expected + "-2.txt");
    RegisterImage saved = image;
    const Bytes file = EncodeConfigurationFile(BuildConfigurationText(saved).text);
    EXPECT_EQ(Slurp(first.path), std::string(file.begin(), file.end()));
    EXPECT_EQ(Slurp(second.path), Slurp(first.path));
}

TEST(Backup, FolderProblemsAreToldBeforeAnythingIsRead) {
    TempFolder folder;
    Put(folder.path / "a-file", "x");
    const struct {
        const char* name;
        fs::path folder;
        bool create;
        const char* says; // empty: usable
    } cases[] = {
        {"missing", folder.path / "none", false, "does not exist"},
        {"missing, made", folder.path / "made" / "deeper", true, ""},
        {"a file", folder.path / "a-file", false, "is not a folder"},
        {"a file, made", folder.path / "a-file", true, "cannot create the backup folder"},
        {"usable", folder.path, false, ""},
#ifndef _WIN32
        // Nobody, root included, makes a file there.
        {"not writable", "/proc", false, "cannot write in the backup folder /proc"},
#endif
    };
    for (const auto& c : cases) {
        const std::string problem = BackupFolderProblem(c.folder, c.create);
        EXPECT_EQ(problem.empty(), *c.says == 0) << c.name << ": " << problem;
        EXPECT_NE(problem.find(c.says), std::string::npos) << c.name << ": " << problem;
    }
    EXPECT_TRUE(fs::is_directory(folder.path / "made" / "deeper"));
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"a-file", "made"})) << "no probe left";
}

} // namespace
} // namespace orvane
