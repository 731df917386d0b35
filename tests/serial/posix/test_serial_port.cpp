// Serial port: exclusive 9600 8N1, bytes once and in order, exact sends, stops never hang.
#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <future>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/DeliveryGate.h"
#include "serial/OwnerQueue.h"
#include "serial/SerialPort.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s;
constexpr int kRounds = 200;

// For what no event announces (a thread's end, its sleep): polls `done` every millisecond.
bool Eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    return done();
}

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

// What the port hands over, "|" in `events` for each OnCtsChange; only `calls` is thread-safe.
struct RecordingOwner : ISerialOwner {
    void OnCtsChange(unsigned port) override {
        events += '|';
        ports.insert(port);
    }
    void OnReceiveChar(std::uint8_t byte, unsigned port) override {
        received += static_cast<char>(byte);
        events += static_cast<char>(byte);
        Called(port, byte);
    }
    void OnPortFailure(unsigned port) override {
        ++failures;
        Called(port, -1);
    }
    void Called(unsigned port, int event) {
        ports.insert(port);
        {
            const std::lock_guard lock(mutex);
            ++calls;
        }
        called.notify_all();
        if (hook) {
            hook(event);
        }
    }
    bool WaitForCalls(std::size_t count) {
        std::unique_lock lock(mutex);
        return called.wait_for(lock, kPatience, [&] { return calls >= count; });
    }

    std::string received;
    std::string events;
    std::set<unsigned> ports;
    int failures = 0;
    std::atomic<std::size_t> calls{0}; // bytes and failures
    std::mutex mutex;
    std::condition_variable called;
    std::function<void(int)> hook; // after each byte (its value) or failure (-1)
};

// A port on a fresh pseudo-terminal; a hang ends the test program (SIGALRM).
class SerialPort : public ::testing::Test {
protected:
    SerialPort() { alarm(120); }
    ~SerialPort() override { alarm(0); }
    void Open(unsigned number, bool throughQueue = false) {
        m_throughQueue = throughQueue;
        m_port->SetPortResolver([this](unsigned) { return std::optional(m_pty.SlavePath()); });
        m_port->SetOwnerExecutor(throughQueue ? m_queue.Executor() : OwnerExecutor());
        ASSERT_TRUE(m_port->OpenPort(&m_owner, number));
    }
    // Through the queue the test's thread is the owner's and runs each delivery as it comes.
    bool Await(std::size_t calls) {
        if (!m_throughQueue) {
            return m_owner.WaitForCalls(calls);
        }
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (m_owner.calls < calls && std::chrono::steady_clock::now() < deadline) {
            m_queue.RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()));
        }
        return m_owner.calls >= calls;
    }

    PseudoTerminal m_pty;
    RecordingOwner m_owner;
    OwnerQueue m_queue;
    std::unique_ptr<CSerialPort> m_port = std::make_unique<CSerialPort>();

private:
    bool m_throughQueue = false;
};

class SerialDelivery : public SerialPort, public ::testing::WithParamInterface<bool> {};

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
        {"", DeviceOpenError::NotPresent}, // no such port number
        {"/nonexistent/tty", DeviceOpenError::NotPresent},
        {"/dev/null", DeviceOpenError::NotATerminal},
        {"throw", DeviceOpenError::Other}, // the lookup failed
    };
    for (const auto& c : cases) {
        m_port->SetPortResolver([path = c.path](unsigned) -> std::optional<std::string> {
            if (path == "throw") {
                throw std::runtime_error("lookup");
            }
            return path.empty() ? std::nullopt : std::optional(path);
        });
        EXPECT_FALSE(m_port->OpenPort(&m_owner, 1)) << "case " << c.path;
        EXPECT_EQ(m_port->LastOpenFailure().error, c.error) << "case " << c.path;
        EXPECT_EQ(m_port->LastOpenFailure().devicePath, c.path == "throw" ? "" : c.path);
    }
    m_port->SetPortResolver([this](unsigned) { return std::optional(m_pty.SlavePath()); });
    EXPECT_FALSE(m_port->OpenPort(nullptr, 1)) << "no owner";
    EXPECT_FALSE(m_port->StartMonitor());
    EXPECT_FALSE(m_port->RequestTransmission("AB"));
    EXPECT_EQ(m_owner.failures, 0);
    EXPECT_TRUE(m_port->OpenPort(&m_owner, 1));
    EXPECT_EQ(m_port->LastOpenFailure().error, DeviceOpenError::None);
}

TEST_F(SerialPort, OpensAt9600In8N1AndRefusesEverySecondOpenerUntilReleased) {
    PseudoTerminal other;
    m_port->SetPortResolver(
        [&](unsigned n) { return std::optional(n == 1 ? m_pty.SlavePath() : other.SlavePath()); });
    ASSERT_TRUE(m_port->OpenPort(&m_owner, 1));
    termios settings{}; // the master reports the slave's settings
    ASSERT_EQ(tcgetattr(m_pty.Master(), &settings), 0);
    EXPECT_TRUE(cfgetispeed(&settings) == B9600 && cfgetospeed(&settings) == B9600);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK), 0u);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_TRUE(settings.c_cc[VMIN] == 0 && settings.c_cc[VTIME] == 10);
    ASSERT_TRUE(m_port->StartMonitor());
    CSerialPort second;
    second.SetPortResolver([&](unsigned) { return std::optional(m_pty.SlavePath()); });
    EXPECT_FALSE(second.OpenPort(&m_owner, 1)) << "second port object";
    EXPECT_EQ(second.LastOpenFailure().error, DeviceOpenError::InUse);
    EXPECT_FALSE(OthersCanOpen(m_pty.SlavePath())) << "plain open";
    m_port->StopMonitor();
    EXPECT_FALSE(OthersCanOpen(m_pty.SlavePath())) << "stopping the monitor keeps the port";

    // Opening another port stops the monitor and releases the first device.
    ASSERT_TRUE(m_port->StartMonitor());
    ASSERT_TRUE(m_port->OpenPort(&m_owner, 2));
    EXPECT_FALSE(m_port->IsThreadAlive());
    EXPECT_TRUE(OthersCanOpen(m_pty.SlavePath()));
    EXPECT_FALSE(OthersCanOpen(other.SlavePath()));
    ASSERT_TRUE(m_port->StartMonitor());
    ASSERT_TRUE(other.Write("n"));
    ASSERT_TRUE(Await(1));

    m_port->ClosePort();
    EXPECT_EQ(m_owner.ports, std::set<unsigned>{2});
    EXPECT_TRUE(OthersCanOpen(other.SlavePath()));
    EXPECT_TRUE(second.OpenPort(&m_owner, 1));
}

// The scheduling state of a thread of this process: 'S' while it sleeps.
char ThreadState(pid_t thread) {
    std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
    std::string id, name; // the name of this program holds no blank
    char state = '?';
    stat >> id >> name >> state;
    return state;
}

TEST_F(SerialPort, FarEndVanishingIsReportedOnceWithoutSpinning) {
    Open(7);
    std::atomic<pid_t> monitor{0};
    m_owner.hook = [&](int) { monitor = gettid(); };
    ASSERT_TRUE(m_port->StartMonitor());
    ASSERT_TRUE(m_pty.Write("z"));
    ASSERT_TRUE(Await(1));
    m_pty.CloseMaster();
    ASSERT_TRUE(Await(2));
    // A thread that kept polling the hung-up descriptor would never fall asleep.
    EXPECT_TRUE(Eventually([&] { return ThreadState(monitor) == 'S'; }));
    EXPECT_TRUE(m_port->RequestTransmission("after")) << "still open until the owner closes";
    m_port->ClosePort();
    EXPECT_EQ(m_owner.failures, 1);
    EXPECT_EQ(m_owner.ports, std::set<unsigned>{7});
}

// Parameter: whether the owner takes the bytes on a thread of its own through a queue.
TEST_P(SerialDelivery, DeliversRandomBytesCompleteAndInOrder) {
    Open(4, GetParam());
    ASSERT_TRUE(m_port->StartMonitor());
    std::mt19937 generator(20261206);
    std::string sent(100000, '\0');
    std::generate(sent.begin(), sent.end(), [&] { return static_cast<char>(generator()); });
    std::jthread writer([&] { EXPECT_TRUE(m_pty.Write(sent)); });
    EXPECT_TRUE(Await(sent.size()));
    m_port->StopMonitor();
    EXPECT_TRUE(m_owner.received == sent) << m_owner.received.size() << " bytes arrived";
    EXPECT_EQ(m_owner.ports, std::set<unsigned>{4});
}

// A handler may stop the monitor, even on its first byte; no byte of the batch follows the stop.
TEST_P(SerialDelivery, HandlerMayStopTheMonitor) {
    Open(5, GetParam());
    m_owner.hook = [&](int event) { event < 0 ? m_port->ClosePort() : m_port->StopMonitor(); };
    for (int round = 1; round <= kRounds / 4; ++round) {
        ASSERT_TRUE(m_port->StartMonitor());
        ASSERT_TRUE(m_pty.Write("abc"));
        ASSERT_TRUE(Await(static_cast<std::size_t>(round)) &&
                    Eventually([&] { return !m_port->IsThreadAlive(); }))
            << "round " << round;
        m_queue.RunPending();
        ASSERT_EQ(m_owner.received.size(), static_cast<std::size_t>(round));
    }
    if (!GetParam()) {
        return;
    }
    // Through the queue the owner may also close the port on a failure.
    m_pty.CloseMaster();
    while (m_owner.failures == 0) { // a byte left from the rounds may stop it once more
        ASSERT_TRUE(m_port->StartMonitor());
        ASSERT_TRUE(m_queue.RunOne(kPatience));
    }
    EXPECT_FALSE(m_port->IsOpen());
    EXPECT_EQ(m_owner.failures, 1);
}

INSTANTIATE_TEST_SUITE_P(OwnerThread, SerialDelivery, ::testing::Bool());

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

    const OwnerExecutor broken = [](std::function<void()>) { throw std::runtime_error("full"); };
    EXPECT_FALSE(gate->Deliver(broken, [&] { ++ran; }));
    EXPECT_FALSE(gate->IsOpen());
    EXPECT_EQ(ran, 1);
}

// The owner stops, and at the end destroys the port, while its delivery waits: a late delivery
// must do nothing.
TEST_F(SerialPort, StopFromTheOwnerWhileItsDeliveryWaits) {
    Open(2, true);
    for (int round = 0; round <= kRounds; ++round) {
        ASSERT_TRUE(m_port->StartMonitor());
        ASSERT_TRUE(m_pty.Write("x"));
        ASSERT_TRUE(m_queue.WaitPending(kPatience)) << "round " << round;
        round < kRounds ? m_port->StopMonitor() : m_port.reset();
        EXPECT_EQ(m_queue.RunPending(), 1u);
    }
    EXPECT_EQ(m_owner.events, "");
}

// Another thread stops while the owner's thread is busy taking bytes.
TEST_F(SerialPort, StopRacingARunningDelivery) {
    Open(2, true);
    const std::jthread ownerThread([&](std::stop_token stop) {
        while (!stop.stop_requested()) {
            m_queue.RunOne(1ms);
        }
    });
    for (int round = 0; round < kRounds && !HasFailure(); ++round) {
        EXPECT_TRUE(m_port->StartMonitor());
        const std::size_t calls = m_owner.calls;
        EXPECT_TRUE(m_pty.Write(std::string(512, 'r')));
        EXPECT_TRUE(m_owner.WaitForCalls(calls + 1)) << "round " << round;
        m_port->StopMonitor();
        EXPECT_FALSE(m_port->IsThreadAlive());
    }
}

// Packet mode on the master shows each purge of the slave as a status byte, in order with the data.
class SerialTransmission : public SerialPort {
protected:
    void Start() {
        const int on = 1;
        ASSERT_EQ(ioctl(m_pty.Master(), TIOCPKT, &on), 0);
        Open(1);
        ASSERT_TRUE(m_port->StartMonitor());
        char drain[64];
        while (read(m_pty.Master(), drain, sizeof drain) > 0) {
        }
    }
    // What the port put on the line until it was closed, each status as "<n>". A seen purge
    // proves that the thread took the request, which it then completes.
    std::string LineUntilClosed(bool awaitPurge) {
        std::string line;
        const auto take = [&] {
            pollfd wait{m_pty.Master(), POLLIN, 0};
            char got[4096];
            const ssize_t n = poll(&wait, 1, 100) == 1 ? read(m_pty.Master(), got, sizeof got) : 0;
            if (n > 0) {
                line += got[0] == TIOCPKT_DATA ? std::string(got + 1, got + n)
                                               : "<" + std::to_string(got[0]) + ">";
            }
            return !line.empty();
        };
        EXPECT_TRUE(!awaitPurge || Eventually(take));
        m_port->ClosePort();
        const int slave = open(m_pty.SlavePath().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        EXPECT_EQ(write(slave, "#", 1), 1);
        close(slave);
        EXPECT_TRUE(Eventually([&] { return take() && line.back() == '#'; }));
        return line.substr(0, line.find('#'));
    }

    const std::string m_purge = "<" + std::to_string(TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE) + ">";
};

TEST_F(SerialTransmission, PurgesBothDirectionsThenSendsExactlyTheText) {
    const std::string longest(CSerialPort::kMaxTransmitLength, 'L');
    const struct {
        const char* name;
        std::string text;
        bool accepted;
        std::string line;
    } cases[] = {
        {"AB", "AB", true, m_purge + "AB"},
        {"empty", "", true, m_purge},
        {"ends at its zero", std::string("A\0", 2) + longest, true, m_purge + "A"},
        {"longest", longest, true, m_purge + longest},
        {"too long", longest + "x", false, ""},
    };
    for (const auto& c : cases) {
        Start();
        EXPECT_EQ(m_port->RequestTransmission(c.text), c.accepted) << "case " << c.name;
        EXPECT_EQ(LineUntilClosed(c.accepted), c.line) << "case " << c.name;
    }
}

// Input arriving during a hand-off is served, in one hand-off, before a transmission's purge.
TEST_F(SerialTransmission, PendingInputIsServedBeforeATransmission) {
    // Open takes the lowest free descriptor, so the port's device will get this one.
    const int portFd = open("/dev/null", O_RDONLY);
    close(portFd);
    m_owner.hook = [&](int byte) {
        int waiting = 0;
        if (byte == '1') {
            EXPECT_TRUE(m_pty.Write("23"));
            EXPECT_TRUE(
                Eventually([&] { return !ioctl(portFd, FIONREAD, &waiting) && waiting == 2; }));
            EXPECT_TRUE(m_port->RequestTransmission("T"));
        }
    };
    Start();
    ASSERT_STREQ(ttyname(portFd), m_pty.SlavePath().c_str());
    ASSERT_TRUE(m_pty.Write("1"));
    ASSERT_TRUE(Await(3));
    EXPECT_EQ(LineUntilClosed(true), m_purge + "T");
    EXPECT_EQ(m_owner.events, "|1|23");
}

} // namespace
} // namespace orvane::test
