#include "Line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace orvane::sim {

namespace {

std::string Failure(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Raw 8N1 at 9600 baud: no echo, no line editing, no CR/LF translation, no flow control.
bool MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | CS8;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

Line::~Line() {
    Close();
}

void Line::Close() {
    if (m_fd >= 0) {
        if (!m_pseudoTerminal) {
            ioctl(m_fd, TIOCNXCL); // the flag outlives us on a tty held open elsewhere
        }
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string Line::OpenPseudoTerminal() {
    Close();
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Failure("cannot create a pseudo-terminal");
    }
    char name[128];
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        std::string error = Failure("cannot set up the pseudo-terminal");
        ::close(fd);
        return error;
    }
    // Raw from the start, so that whoever opens the slave without setting it up gets
    // the bytes unchanged and nothing echoed back. Opening and closing the slave once
    // also makes the master report a hang-up until a reader arrives.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0 || !MakeRaw(slave)) {
        std::string error = Failure("cannot set up the pseudo-terminal slave");
        if (slave >= 0) {
            ::close(slave);
        }
        ::close(fd);
        return error;
    }
    ::close(slave);
    m_fd = fd;
    m_pseudoTerminal = true;
    m_path = name;
    return {};
}

std::string Line::OpenDevice(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Failure("cannot open " + path);
    }
    if (!isatty(fd) || !MakeRaw(fd)) {
        std::string error = Failure("cannot set up " + path + " as a serial line");
        ::close(fd);
        return error;
    }
    ioctl(fd, TIOCEXCL); // a second simulator on the same device would garble both
    tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    m_pseudoTerminal = false;
    m_path = path;
    return {};
}

bool Line::HasReader() const {
    pollfd p{m_fd, 0, 0};
    return ::poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
}

void Line::DiscardUnread() const {
    tcflush(m_fd, TCOFLUSH);
}

} // namespace orvane::sim
