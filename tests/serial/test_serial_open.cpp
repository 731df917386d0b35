// Opening gives 9600 8N1 raw without flow control, is exclusive against every other
// opener, fails silently, and closing releases the device for others.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "tests/serial/PtyHarness.h"

namespace orvane::test {
namespace {

// Another opener as a well-behaved program would try it: open, then ask for the lock.
bool OthersCanOpen(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return locked;
}

bool AnotherProcessCanOpen(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(OthersCanOpen(path) ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(SerialOpen, AppliesLineSettingsReadBackFromTheDevice) {
    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort port;
    port.SetPortResolver(pty.Resolver());
    ASSERT_TRUE(port.OpenPort(&owner, 3));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortNumber(), 3u);

    termios settings{}; // the master reports the slave's settings
    ASSERT_EQ(tcgetattr(pty.Master(), &settings), 0);
    EXPECT_EQ(cfgetispeed(&settings), B9600);
    EXPECT_EQ(cfgetospeed(&settings), B9600);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK), 0u);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_cc[VMIN], 0);
    EXPECT_EQ(settings.c_cc[VTIME], 10);
}

TEST(SerialOpen, FailsSilentlyWhenThereIsNoUsableDevice) {
    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort port;
    EXPECT_FALSE(port.OpenPort(&owner, 1)) << "no resolver";

    port.SetPortResolver([](unsigned) { return std::optional<std::string>(); });
    EXPECT_FALSE(port.OpenPort(&owner, 1)) << "no such port number";
    port.SetPortResolver([](unsigned) { return std::optional<std::string>("/dev/null"); });
    EXPECT_FALSE(port.OpenPort(&owner, 1)) << "not a terminal";
    port.SetPortResolver([](unsigned) { return std::optional<std::string>("/nonexistent/tty"); });
    EXPECT_FALSE(port.OpenPort(&owner, 1)) << "absent";
    port.SetPortResolver(
        [](unsigned) -> std::optional<std::string> { throw std::runtime_error("lookup"); });
    EXPECT_FALSE(port.OpenPort(&owner, 1)) << "resolver failed";
    port.SetPortResolver(pty.Resolver());
    EXPECT_FALSE(port.OpenPort(nullptr, 1)) << "no owner";

    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.StartMonitor());
    EXPECT_FALSE(port.RequestTransmission("AB"));
    EXPECT_EQ(owner.Failures(), 0);
}

TEST(SerialOpen, RefusesEverySecondOpenerUntilClosed) {
    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort first;
    CSerialPort second;
    first.SetPortResolver(pty.Resolver());
    second.SetPortResolver(pty.Resolver());
    ASSERT_TRUE(first.OpenPort(&owner, 1));
    ASSERT_TRUE(first.StartMonitor());

    EXPECT_FALSE(second.OpenPort(&owner, 1)) << "second port object in this process";
    EXPECT_FALSE(OthersCanOpen(pty.SlavePath())) << "plain open in this process";
    EXPECT_FALSE(AnotherProcessCanOpen(pty.SlavePath())) << "another process";
    EXPECT_TRUE(first.IsOpen()) << "a refused opener must not disturb the holder";

    first.StopMonitor();
    EXPECT_FALSE(OthersCanOpen(pty.SlavePath())) << "stopping the monitor keeps the port";

    first.ClosePort();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(AnotherProcessCanOpen(pty.SlavePath()));
    EXPECT_TRUE(second.OpenPort(&owner, 1));
}

TEST(SerialOpen, OpeningAgainStopsTheMonitorAndReleasesTheOldDevice) {
    PseudoTerminal oldPty;
    PseudoTerminal newPty;
    RecordingOwner owner;
    CSerialPort port;
    port.SetPortResolver([&](unsigned n) {
        return std::optional<std::string>(n == 1 ? oldPty.SlavePath() : newPty.SlavePath());
    });
    ASSERT_TRUE(port.OpenPort(&owner, 1));
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(port.IsThreadAlive());

    ASSERT_TRUE(port.OpenPort(&owner, 2));
    EXPECT_FALSE(port.IsThreadAlive());
    EXPECT_TRUE(OthersCanOpen(oldPty.SlavePath()));
    EXPECT_FALSE(OthersCanOpen(newPty.SlavePath()));

    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(newPty.Write("n"));
    ASSERT_TRUE(owner.WaitForBytes(1));
    EXPECT_EQ(owner.Received(), "n");
    for (const unsigned number : owner.Ports()) {
        EXPECT_EQ(number, 2u);
    }
}

} // namespace
} // namespace orvane::test
