#include "serial/posix/SerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace orvane {

namespace {

// Time-outs of the line in termios terms: a blocking read would give up after 1000 ms
// (VTIME counts tenths). Our reads are non-blocking and only follow a ready poll, so the
// value never expires in normal operation.
constexpr cc_t kReadTimeoutTenths = 10;

bool ApplyLineSettings(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = kReadTimeoutTenths;
    if (cfsetispeed(&settings, B9600) != 0 || cfsetospeed(&settings, B9600) != 0) {
        return false;
    }
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool RaiseRts(int fd) {
    const int rts = TIOCM_RTS;
    // A pseudo-terminal has no modem lines; that is no reason to refuse it.
    return ioctl(fd, TIOCMBIS, &rts) == 0 || errno == ENOTTY || errno == EINVAL;
}

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        return 0;
    }
    return left.count() > INT_MAX ? INT_MAX : static_cast<int>(left.count());
}

DeviceOpenError OpenErrorOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO: // a node whose hardware is gone or never answered
        return DeviceOpenError::NotPresent;
    case EACCES:
    case EPERM:
    case EROFS:
        return DeviceOpenError::PermissionDenied;
    case EBUSY: // another opener set TIOCEXCL
        return DeviceOpenError::InUse;
    default:
        return DeviceOpenError::Other;
    }
}

DeviceOpenOutcome Refused(int fd, DeviceOpenError error, int systemError) {
    close(fd);
    return {-1, error, systemError};
}

} // namespace

DeviceOpenOutcome OpenSerialDevice(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return {-1, OpenErrorOf(error), error};
    }
    if (!isatty(fd)) {
        return Refused(fd, DeviceOpenError::NotATerminal, ENOTTY);
    }
    // TIOCEXCL keeps other users out, but not root; the advisory lock holds for everyone
    // who asks for it, so take it first and leave an owner's TIOCEXCL alone on refusal.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        return Refused(fd, error == EWOULDBLOCK ? DeviceOpenError::InUse : DeviceOpenError::Other,
                       error);
    }
    if (ioctl(fd, TIOCEXCL) != 0 || !ApplyLineSettings(fd) || !RaiseRts(fd) ||
        !PurgeSerialDevice(fd)) {
        const int error = errno;
        CloseSerialDevice(fd);
        return {-1, DeviceOpenError::SetupFailed, error};
    }
    return {fd, DeviceOpenError::None, 0};
}

std::string DeviceAccessGroup(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || info.st_gid == 0 ||
        (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
        return {};
    }
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    while (getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    return found != nullptr && found->gr_name != nullptr ? found->gr_name : std::string{};
}

void CloseSerialDevice(int fd) {
    // TIOCEXCL outlives our descriptor on a tty that stays open elsewhere (a pty master).
    ioctl(fd, TIOCNXCL);
    close(fd);
}

bool PurgeSerialDevice(int fd) {
    return tcflush(fd, TCIOFLUSH) == 0;
}

ReadOutcome ReadAvailable(int fd, std::vector<std::uint8_t>& bytes, std::size_t limit) {
    std::uint8_t chunk[4096];
    while (bytes.size() < limit) {
        const std::size_t want = std::min(sizeof chunk, limit - bytes.size());
        const ssize_t got = read(fd, chunk, want);
        if (got > 0) {
            bytes.insert(bytes.end(), chunk, chunk + got);
            // A terminal read returns all it holds, so a short read means drained; this
            // saves a second system call on every wake-up of a slow stream.
            if (static_cast<std::size_t>(got) < want) {
                return ReadOutcome::Drained;
            }
        } else if (got == 0) {
            return ReadOutcome::HungUp;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return ReadOutcome::Drained;
        } else if (errno != EINTR) {
            return ReadOutcome::Failed;
        }
    }
    return ReadOutcome::Full;
}

WriteOutcome WriteAll(int fd, std::string_view text, int stopFd,
                      std::chrono::steady_clock::time_point deadline) {
    while (!text.empty()) {
        const ssize_t put = write(fd, text.data(), text.size());
        if (put > 0) {
            text.remove_prefix(static_cast<std::size_t>(put));
            continue;
        }
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            return WriteOutcome::Failed;
        }
        pollfd waits[2] = {{stopFd, POLLIN, 0}, {fd, POLLOUT, 0}};
        const int ready = poll(waits, 2, MillisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (waits[0].revents != 0) {
            return WriteOutcome::Stopped;
        }
        if (ready <= 0 || (waits[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return WriteOutcome::Failed;
        }
    }
    return WriteOutcome::Written;
}

} // namespace orvane
