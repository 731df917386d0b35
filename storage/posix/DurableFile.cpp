#include "storage/DurableFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/FolderProbe.h"

namespace orvane {

namespace {

constexpr int kTemporaryNameTries = 100;

std::atomic<unsigned> g_serial{0};

// One write in progress: its temporary file, and what to say when a step fails.
class DurableWrite {
public:
    DurableWrite(const std::filesystem::path& target, const WriteFaults& faults)
        : m_target(target), m_faults(faults) {}
    ~DurableWrite() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_temp.empty()) {
            ::unlink(m_temp.c_str());
        }
    }
    DurableWrite(const DurableWrite&) = delete;
    DurableWrite& operator=(const DurableWrite&) = delete;

    DurableWriteResult Run(std::span<const std::uint8_t> bytes, bool replace) {
        if (!CreateTemporary() || !KeepPermissions() || !Write(bytes) || !Flush()) {
            return m_result;
        }
        if (!(replace ? RenameOver() : LinkNew())) {
            return m_result;
        }
        if (!FlushFolder()) {
            m_result.error += "; the new contents are in place but may not survive a power cut";
            return m_result;
        }
        m_result.ok = true;
        return m_result;
    }

private:
    // The step fails: as the system said (errno), or as the fault seam makes it.
    bool Failed(WriteStep step, int error) {
        m_result.failedStep = step;
        m_result.error =
            std::string(WriteStepName(step)) + " failed: " + std::generic_category().message(error);
        return false;
    }
    bool Injected(WriteStep step) const { return m_faults.failAt == step; }

    bool CreateTemporary() {
        if (Injected(WriteStep::CreateTemporary)) {
            return Failed(WriteStep::CreateTemporary, EACCES);
        }
        for (int i = 0; i < kTemporaryNameTries; ++i) {
            std::filesystem::path temp = m_target;
            temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(g_serial++);
            // O_EXCL with O_CREAT never opens an existing name, a link included.
            const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd = fd;
                m_temp = temp;
                return true;
            }
            if (errno != EEXIST) {
                return Failed(WriteStep::CreateTemporary, errno);
            }
        }
        return Failed(WriteStep::CreateTemporary, EEXIST);
    }

    bool KeepPermissions() {
        if (Injected(WriteStep::KeepPermissions)) {
            return Failed(WriteStep::KeepPermissions, EPERM);
        }
        struct stat old {};
        if (::stat(m_target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
            return true; // a new file takes the usual mode
        }
        if (::fchmod(m_fd, old.st_mode & 07777) != 0) {
            return Failed(WriteStep::KeepPermissions, errno);
        }
        return true;
    }

    bool Write(std::span<const std::uint8_t> bytes) {
        // The seam writes half of it first, as a full disk would.
        const std::size_t limit = Injected(WriteStep::Write) ? bytes.size() / 2 : bytes.size();
        std::size_t done = 0;
        while (done < limit) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, limit - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return Failed(WriteStep::Write, n < 0 ? errno : EIO);
            }
            done += static_cast<std::size_t>(n);
        }
        return done == bytes.size() || Failed(WriteStep::Write, ENOSPC);
    }

    bool Flush() {
        if (Injected(WriteStep::Flush) || ::fsync(m_fd) != 0) {
            return Failed(WriteStep::Flush, Injected(WriteStep::Flush) ? EIO : errno);
        }
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            return Failed(WriteStep::Flush, errno);
        }
        return true;
    }

    bool RenameOver() {
        if (Injected(WriteStep::Rename) || ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
            return Failed(WriteStep::Rename, Injected(WriteStep::Rename) ? EXDEV : errno);
        }
        m_temp.clear();
        return true;
    }

    // A new name only: link() fails on an existing one, where rename() would replace it.
    bool LinkNew() {
        if (Injected(WriteStep::Rename)) {
            return Failed(WriteStep::Rename, EXDEV);
        }
        if (::link(m_temp.c_str(), m_target.c_str()) == 0) {
            ::unlink(m_temp.c_str());
            m_temp.clear();
            return true;
        }
        int error = errno;
#ifdef __linux__
        // A memory stick's file system has no links; a rename that refuses to replace will do.
        if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS) {
            if (::renameat2(AT_FDCWD, m_temp.c_str(), AT_FDCWD, m_target.c_str(),
                            RENAME_NOREPLACE) == 0) {
                m_temp.clear();
                return true;
            }
            error = errno;
        }
#endif
        m_result.exists = error == EEXIST;
        return Failed(WriteStep::Rename, error);
    }

    bool FlushFolder() {
        if (Injected(WriteStep::FlushFolder)) {
            return Failed(WriteStep::FlushFolder, EIO);
        }
        std::filesystem::path folder = m_target.parent_path();
        if (folder.empty()) {
            folder = ".";
        }
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return Failed(WriteStep::FlushFolder, errno);
        }
        const bool synced = ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        return synced || Failed(WriteStep::FlushFolder, error);
    }

    std::filesystem::path m_target;
    const WriteFaults& m_faults;
    std::filesystem::path m_temp; // removed unless it became the target
    int m_fd = -1;
    DurableWriteResult m_result;
};

} // namespace

DurableWriteResult WriteFileDurably(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes,
                                    const WriteFaults& faults) {
    return DurableWrite(path, faults).Run(bytes, true);
}

DurableWriteResult CreateFileDurably(const std::filesystem::path& path,
                                     std::span<const std::uint8_t> bytes,
                                     const WriteFaults& faults) {
    return DurableWrite(path, faults).Run(bytes, false);
}

std::string FolderWriteError(const std::filesystem::path& folder) {
    std::filesystem::path probe = folder;
    probe /= ".orvane-probe-" + std::to_string(::getpid()) + "-" + std::to_string(g_serial++);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::generic_category().message(errno);
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

} // namespace orvane
