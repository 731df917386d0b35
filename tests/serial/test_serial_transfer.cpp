// Every received byte reaches the owner once, in arrival order, after a CTS notification;
// a transmission purges both directions and sends exactly the text before its zero.
#include <gtest/gtest.h>

#include <random>

#include <sys/ioctl.h>

#include "serial/OwnerQueue.h"
#include "tests/serial/PtyHarness.h"

namespace orvane::test {
namespace {

std::string RandomBytes(std::size_t count) {
    std::mt19937 generator(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

class SerialTransfer : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.SlavePath().empty());
        port.SetPortResolver(pty.Resolver());
        ASSERT_TRUE(port.OpenPort(&owner, 4));
    }
    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort port;
};

// Parameter: whether the owner takes the bytes on a thread of its own through an executor.
TEST_P(SerialTransfer, DeliversRandomBytesCompleteAndInOrder) {
    OwnerQueue queue;
    std::atomic<bool> ownerRuns{true};
    std::thread ownerThread;
    if (GetParam()) {
        port.SetOwnerExecutor(queue.Executor());
        ownerThread = std::thread([&] {
            while (ownerRuns) {
                queue.RunOne(10ms);
            }
        });
    }
    ASSERT_TRUE(port.StartMonitor());
    const std::string sent = RandomBytes(100000);
    std::thread writer([&] { EXPECT_TRUE(pty.Write(sent)); });
    EXPECT_TRUE(owner.WaitForBytes(sent.size()));
    writer.join();
    port.StopMonitor();
    ownerRuns = false;
    if (ownerThread.joinable()) {
        ownerThread.join();
    }
    EXPECT_TRUE(owner.Received() == sent) << owner.Received().size() << " bytes arrived";
    const std::string events = owner.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), '|') << "each hand-off opens with the CTS notification";
    for (const unsigned number : owner.Ports()) {
        ASSERT_EQ(number, 4u);
    }
}

INSTANTIATE_TEST_SUITE_P(OwnerThread, SerialTransfer, ::testing::Bool());

// Packet mode on the master reports each purge of the slave as a status byte, so the
// test sees the purge and the data in the order the port issued them.
class SerialTransmission : public ::testing::Test {
protected:
    void SetUp() override {
        const int on = 1;
        ASSERT_EQ(ioctl(pty.Master(), TIOCPKT, &on), 0);
        port.SetPortResolver(pty.Resolver());
        ASSERT_TRUE(port.OpenPort(&owner, 1));
        ASSERT_TRUE(port.StartMonitor());
        // A byte taken proves the thread's start-up purge is over; drop its status.
        ASSERT_TRUE(pty.Write("p"));
        ASSERT_TRUE(owner.WaitForBytes(1));
        char drain[64];
        while (read(pty.Master(), drain, sizeof drain) > 0) {
        }
    }

    // Next packet from the master: a status byte, or 0 followed by data.
    std::string ReadPacket() const {
        pollfd wait{pty.Master(), POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(kPatience / 1ms)) != 1) {
            return {};
        }
        char packet[4096];
        const ssize_t n = read(pty.Master(), packet, sizeof packet);
        return n > 0 ? std::string(packet, static_cast<std::size_t>(n)) : std::string();
    }

    // Everything the port wrote before closing, ended by a marker written from outside.
    std::string DataUntilClosed() {
        port.ClosePort();
        const int slave = open(pty.SlavePath().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        EXPECT_GE(slave, 0);
        EXPECT_EQ(write(slave, "#", 1), 1);
        std::string data;
        for (std::string packet = ReadPacket(); !packet.empty(); packet = ReadPacket()) {
            if (packet[0] == TIOCPKT_DATA) {
                data += packet.substr(1);
                if (data.back() == '#') {
                    data.pop_back();
                    break;
                }
            }
        }
        close(slave);
        return data;
    }

    PseudoTerminal pty;
    RecordingOwner owner;
    CSerialPort port;
};

constexpr char kBothPurged = TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE;

TEST_F(SerialTransmission, PurgesBothDirectionsThenSendsExactlyTheText) {
    ASSERT_TRUE(port.RequestTransmission("AB"));
    EXPECT_EQ(ReadPacket(), std::string(1, kBothPurged));
    EXPECT_EQ(ReadPacket(), std::string("\0AB", 3));
    EXPECT_EQ(DataUntilClosed(), "") << "nothing after the text, not even its zero";
}

TEST_F(SerialTransmission, EmptyTextPurgesAndSendsNothing) {
    ASSERT_TRUE(port.RequestTransmission(""));
    EXPECT_EQ(ReadPacket(), std::string(1, kBothPurged));
    EXPECT_EQ(DataUntilClosed(), "");
}

TEST_F(SerialTransmission, TextEndsAtItsZeroAndLongTextsAreRefused) {
    EXPECT_FALSE(port.RequestTransmission(std::string(CSerialPort::kMaxTransmitLength + 1, 'x')));
    ASSERT_TRUE(port.RequestTransmission(std::string("A\0B", 3)));
    EXPECT_EQ(ReadPacket(), std::string(1, kBothPurged));
    EXPECT_EQ(ReadPacket(), std::string("\0A", 2));

    const std::string longest(CSerialPort::kMaxTransmitLength, 'L');
    ASSERT_TRUE(port.RequestTransmission(longest));
    EXPECT_EQ(ReadPacket(), std::string(1, kBothPurged));
    EXPECT_EQ(DataUntilClosed(), longest);
}

TEST_F(SerialTransmission, BytesArrivingTogetherFormOneHandOffAfterOneCtsNotification) {
    ASSERT_TRUE(pty.Write("xy"));
    ASSERT_TRUE(owner.WaitForBytes(3));
    EXPECT_EQ(owner.Events(), "|p|xy");
}

// While the thread hands over a byte, more input arrives and a transmission is asked for:
// input (index 1) is served before transmission (index 2), so nothing is purged unread.
TEST_F(SerialTransmission, PendingInputIsServedBeforeATransmission) {
    const int portFd = FindOpenDescriptor(pty.SlavePath());
    ASSERT_GE(portFd, 0);
    owner.SetOnByte([&](std::uint8_t byte) {
        if (byte != '1') {
            return;
        }
        EXPECT_TRUE(pty.Write("23"));
        int waiting = 0;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (waiting < 2 && std::chrono::steady_clock::now() < deadline) {
            ioctl(portFd, FIONREAD, &waiting);
            std::this_thread::yield();
        }
        EXPECT_EQ(waiting, 2);
        EXPECT_TRUE(port.RequestTransmission("T"));
    });
    ASSERT_TRUE(pty.Write("1"));
    ASSERT_TRUE(owner.WaitForBytes(4));
    EXPECT_EQ(owner.Received(), "p123");
    EXPECT_EQ(ReadPacket(), std::string(1, kBothPurged));
    EXPECT_EQ(ReadPacket(), std::string("\0T", 2));
}

} // namespace
} // namespace orvane::test
