#include "storage/DurableFile.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

#include <windows.h>

#include "storage/FolderProbe.h"

namespace orvane {

namespace {

constexpr int kTemporaryNameTries = 100;
// The attributes a replaced file keeps; read-only would stop the next save.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::atomic<unsigned> g_serial{0};

// One write in progress: its temporary file, and what to say when a step fails.
class DurableWrite {
public:
    DurableWrite(const std::filesystem::path& target, const WriteFaults& faults)
        : m_target(target), m_faults(faults) {}
    ~DurableWrite() {
        if (m_file != INVALID_HANDLE_VALUE) {
            CloseHandle(m_file);
        }
        if (!m_temp.empty()) {
            DeleteFileW(m_temp.c_str());
        }
    }
    DurableWrite(const DurableWrite&) = delete;
    DurableWrite& operator=(const DurableWrite&) = delete;

    DurableWriteResult Run(std::span<const std::uint8_t> bytes, bool replace) {
        if (!CreateTemporary() || !Write(bytes) || !Flush() || !KeepPermissions() ||
            !Rename(replace) || !FlushFolder()) {
            return m_result;
        }
        m_result.ok = true;
        return m_result;
    }

private:
    bool Failed(WriteStep step, DWORD error) {
        m_result.failedStep = step;
        m_result.error = std::string(WriteStepName(step)) +
                         " failed: " + std::system_category().message(static_cast<int>(error));
        return false;
    }
    bool Injected(WriteStep step) const { return m_faults.failAt == step; }

    bool CreateTemporary() {
        if (Injected(WriteStep::CreateTemporary)) {
            return Failed(WriteStep::CreateTemporary, ERROR_ACCESS_DENIED);
        }
        for (int i = 0; i < kTemporaryNameTries; ++i) {
            std::filesystem::path temp = m_target;
            temp +=
                ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(g_serial++);
            // CREATE_NEW never opens an existing name.
            HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                m_file = file;
                m_temp = temp;
                return true;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return Failed(WriteStep::CreateTemporary, error);
            }
        }
        return Failed(WriteStep::CreateTemporary, ERROR_FILE_EXISTS);
    }

    bool Write(std::span<const std::uint8_t> bytes) {
        const std::size_t limit = Injected(WriteStep::Write) ? bytes.size() / 2 : bytes.size();
        std::size_t done = 0;
        while (done < limit) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(limit - done, 1u << 20));
            if (!WriteFile(m_file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
                return Failed(WriteStep::Write, GetLastError());
            }
            done += written;
        }
        return done == bytes.size() || Failed(WriteStep::Write, ERROR_DISK_FULL);
    }

    bool Flush() {
        if (Injected(WriteStep::Flush) || !FlushFileBuffers(m_file)) {
            return Failed(WriteStep::Flush,
                          Injected(WriteStep::Flush) ? ERROR_WRITE_FAULT : GetLastError());
        }
        HANDLE file = m_file;
        m_file = INVALID_HANDLE_VALUE;
        if (!CloseHandle(file)) {
            return Failed(WriteStep::Flush, GetLastError());
        }
        return true;
    }

    bool KeepPermissions() {
        if (Injected(WriteStep::KeepPermissions)) {
            return Failed(WriteStep::KeepPermissions, ERROR_ACCESS_DENIED);
        }
        const DWORD old = GetFileAttributesW(m_target.c_str());
        if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return true;
        }
        const DWORD kept = old & kKeptAttributes;
        if (kept != 0 && !SetFileAttributesW(m_temp.c_str(), kept)) {
            return Failed(WriteStep::KeepPermissions, GetLastError());
        }
        return true;
    }

    bool Rename(bool replace) {
        if (Injected(WriteStep::Rename)) {
            return Failed(WriteStep::Rename, ERROR_NOT_SAME_DEVICE);
        }
        // Without MOVEFILE_REPLACE_EXISTING an existing name is refused, never replaced.
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        if (!MoveFileExW(m_temp.c_str(), m_target.c_str(), flags)) {
            const DWORD error = GetLastError();
            m_result.exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
            return Failed(WriteStep::Rename, error);
        }
        m_temp.clear();
        return true;
    }

    // MOVEFILE_WRITE_THROUGH returns once the rename is on the disk; a folder cannot be
    // flushed on its own here.
    bool FlushFolder() {
        if (Injected(WriteStep::FlushFolder)) {
            Failed(WriteStep::FlushFolder, ERROR_WRITE_FAULT);
            m_result.error += "; the new contents are in place but may not survive a power cut";
            return false;
        }
        return true;
    }

    std::filesystem::path m_target;
    const WriteFaults& m_faults;
    std::filesystem::path m_temp; // removed unless it became the target
    HANDLE m_file = INVALID_HANDLE_VALUE;
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
    probe /=
        ".orvane-probe-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(g_serial++);
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::system_category().message(static_cast<int>(GetLastError()));
    }
    CloseHandle(file);
    return {};
}

} // namespace orvane
