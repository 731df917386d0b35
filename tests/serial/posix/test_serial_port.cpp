// Serial port on pseudo-terminals: the shared contract, exclusive 9600 8N1, no spinning on a
// hung-up line, input pending at a transmission served first.
#include <fstream>
#include <future>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/DeliveryGate.h"
#include "tests/serial/PortContract.h"

namespace orvane::test {
namespace {

// A pseudo-terminal whose slave the port opens; the test plays the far end on the master.
class PseudoTerminal {
public:
    PseudoTerminal() {
        if (grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_slavePath = ptsname(m_master);
        }
    }
    ~PseudoTerminal() { CloseMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }
    void CloseMaster() { close(std::exchange(m_master, -1)); }
    // Writes whenever the line has room for more.
    bool Write(std::string_view bytes) const {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!bytes.empty() && std::chrono::steady_clock::now() < deadline) {
            pollfd wait{m_master, POLLOUT, 0};
            poll(&wait, 1, 100);
            const ssize_t put = write(m_master, bytes.data(), bytes.size());
            bytes.remove_prefix(put > 0 ? static_cast<std::size_t>(put) : 0);
        }
        return bytes.empty();
    }

private:
    int m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    std::string m_slavePath;
};

// The port on a fresh pseudo-terminal; a hang ends the test program (SIGALRM).
struct PtyRig : OwnerSide<CSerialPort> {
    PtyRig() {
        alarm(120);
        port = std::make_unique<CSerialPort>();
        port->SetPortResolver([this](unsigned n) -> std::optional<std::string> {
            return n == 0 ? std::nullopt : std::optional(pty.SlavePath());
        });
    }
    ~PtyRig() {
        port.reset();
        alarm(0);
    }
    PtyRig(const PtyRig&) = delete;
    PtyRig& operator=(const PtyRig&) = delete;

    void Arrive(std::string_view bytes) { EXPECT_TRUE(pty.Write(bytes)); }
    void Vanish() { pty.CloseMaster(); }
    // Packet mode on the master shows each purge of the slave as a status byte, in order with
    // the data.
    void StartOnLine() {
        const int on = 1;
        ASSERT_EQ(ioctl(pty.Master(), TIOCPKT, &on), 0);
        Open(1);
        ASSERT_TRUE(port->StartMonitor());
        char drain[64];
        while (read(pty.Master(), drain, sizeof drain) > 0) {
        }
    }
    // A seen purge proves that the thread took the request, which it then completes; a "#"
    // written to the slave after the close marks the end.
    std::string LineUntilClosed(bool awaitPurge) {
        std::string line;
        const auto take = [&] {
            pollfd wait{pty.Master(), POLLIN, 0};
            char got[4096];
            const ssize_t n = poll(&wait, 1, 100) == 1 ? read(pty.Master(), got, sizeof got) : 0;
            if (n > 0 && got[0] == TIOCPKT_DATA) {
                line.append(got + 1, got + n);
            } else if (n > 0) {
                line += got[0] == (TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE)
                            ? "~"
                            : "<" + std::to_string(got[0]) + ">";
            }
            return !line.empty();
        };
        EXPECT_TRUE(!awaitPurge || Eventually(take));
        port->ClosePort();
        const int slave = open(pty.SlavePath().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        EXPECT_EQ(write(slave, "#", 1), 1);
        close(slave);
        EXPECT_TRUE(Eventually([&] { return take() && line.back() == '#'; }));
        return line.substr(0, line.find('#'));
    }

    PseudoTerminal pty;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Pty, PortContract, PtyRig);

class SerialPort : public ::testing::Test {
protected:
    PtyRig m_rig;
};

// Another opener as a well-behaved program would try it: open, then ask for the lock.
bool OthersCanOpen(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool locked = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return locked;
}

TEST_F(SerialPort, FailsSilentlyWhenThereIsNoUsableDeviceAndSaysWhy) {
    const struct {
        std::string path;
        DeviceOpenError error;
    } cases[] = {
        {"/nonexistent/tty", DeviceOpenError::NotPresent},
        {"/dev/null", DeviceOpenError::NotATerminal},
        {"throw", DeviceOpenError::Other}, // the lookup failed
    };
    for (const auto& c : cases) {
        m_rig.port->SetPortResolver([path = c.path](unsigned) -> std::optional<std::string> {
            if (path == "throw") {
                throw std::runtime_error("lookup");
            }
            return path;
        });
        EXPECT_FALSE(m_rig.port->OpenPort(&m_rig.owner, 1)) << "case " << c.path;
        EXPECT_EQ(m_rig.port->LastOpenFailure().error, c.error) << "case " << c.path;
        EXPECT_EQ(m_rig.port->LastOpenFailure().devicePath, c.path == "throw" ? "" : c.path);
    }
    EXPECT_EQ(m_rig.owner.failures, 0);
}

TEST_F(SerialPort, OpensAt9600In8N1AndRefusesEverySecondOpenerUntilReleased) {
    const PseudoTerminal& pty = m_rig.pty;
    PseudoTerminal other;
    CSerialPort& port = *m_rig.port;
    port.SetPortResolver(
        [&](unsigned n) { return std::optional(n == 1 ? pty.SlavePath() : other.SlavePath()); });
    ASSERT_TRUE(port.OpenPort(&m_rig.owner, 1));
    termios settings{}; // the master reports the slave's settings
    ASSERT_EQ(tcgetattr(pty.Master(), &settings), 0);
    EXPECT_TRUE(cfgetispeed(&settings) == B9600 && cfgetospeed(&settings) == B9600);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK), 0u);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_TRUE(settings.c_cc[VMIN] == 0 && settings.c_cc[VTIME] == 10);
    ASSERT_TRUE(port.StartMonitor());
    CSerialPort second;
    second.SetPortResolver([&](unsigned) { return std::optional(pty.SlavePath()); });
    EXPECT_FALSE(second.OpenPort(&m_rig.owner, 1)) << "second port object";
    EXPECT_EQ(second.LastOpenFailure().error, DeviceOpenError::InUse);
    EXPECT_FALSE(OthersCanOpen(pty.SlavePath())) << "plain open";
    port.StopMonitor();
    EXPECT_FALSE(OthersCanOpen(pty.SlavePath())) << "stopping the monitor keeps the port";

    // Opening another port stops the monitor and releases the first device.
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(port.OpenPort(&m_rig.owner, 2));
    EXPECT_FALSE(port.IsThreadAlive());
    EXPECT_TRUE(OthersCanOpen(pty.SlavePath()));
    EXPECT_FALSE(OthersCanOpen(other.SlavePath()));
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(other.Write("n"));
    ASSERT_TRUE(m_rig.Await(1));

    port.ClosePort();
    EXPECT_EQ(m_rig.owner.ports, std::set<unsigned>{2});
    EXPECT_TRUE(OthersCanOpen(other.SlavePath()));
    EXPECT_TRUE(second.OpenPort(&m_rig.owner, 1));
}

// The scheduling state of a thread of this process: 'S' while it sleeps.
char ThreadState(pid_t thread) {
    std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
    std::string id, name; // the name of this program holds no blank
    char state = '?';
    stat >> id >> name >> state;
    return state;
}

// A thread that kept polling the hung-up descriptor would never fall asleep.
TEST_F(SerialPort, AHungUpLineIsNotPolledOnAndOn) {
    m_rig.Open(7);
    std::atomic<pid_t> monitor{0};
    m_rig.owner.hook = [&](int) { monitor = gettid(); };
    ASSERT_TRUE(m_rig.port->StartMonitor());
    m_rig.Vanish();
    ASSERT_TRUE(m_rig.Await(1));
    EXPECT_TRUE(Eventually([&] { return ThreadState(monitor) == 'S'; }));
}

// Input arriving during a hand-off is served, in one hand-off, before a transmission's purge.
TEST_F(SerialPort, PendingInputIsServedBeforeATransmission) {
    // Open takes the lowest free descriptor, so the port's device will get this one.
    const int portFd = open("/dev/null", O_RDONLY);
    close(portFd);
    m_rig.owner.hook = [&](int byte) {
        int waiting = 0;
        if (byte == '1') {
            m_rig.Arrive("23");
            EXPECT_TRUE(
                Eventually([&] { return !ioctl(portFd, FIONREAD, &waiting) && waiting == 2; }));
            EXPECT_TRUE(m_rig.port->RequestTransmission("T"));
        }
    };
    m_rig.StartOnLine();
    ASSERT_STREQ(ttyname(portFd), m_rig.pty.SlavePath().c_str());
    m_rig.Arrive("1");
    ASSERT_TRUE(m_rig.Await(3));
    EXPECT_EQ(m_rig.LineUntilClosed(true), "~T");
    EXPECT_EQ(m_rig.owner.events, "|1|23");
}

TEST(DeliveryGate, WaitsUntilTheOwnerRanTheTaskAndClosesWhenItCannotQueue) {
    auto gate = std::make_shared<DeliveryGate>();
    OwnerQueue queue;
    std::atomic<int> ran{0};
    auto delivered = std::async(std::launch::async,
                                [&] { return gate->Deliver(queue.Executor(), [&] { ++ran; }); });
    ASSERT_TRUE(queue.WaitPending(kPatience));
    EXPECT_EQ(delivered.wait_for(50ms), std::future_status::timeout) << "returned before the run";
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_TRUE(delivered.get());

    const OwnerExecutor broken = [](const std::function<void()>&) {
        throw std::runtime_error("full");
    };
    EXPECT_FALSE(gate->Deliver(broken, [&] { ++ran; }));
    EXPECT_FALSE(gate->IsOpen());
    EXPECT_EQ(ran, 1);
}

} // namespace
} // namespace orvane::test
