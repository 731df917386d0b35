// Over a real pseudo-terminal the simulator answers like the device, follows its time scale,
// survives readers coming and going, and a dropped line gives the far end a hang-up.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include <stdlib.h>

#include "HostReading.h"
#include "LineEnd.h"
#include "core/ConfigurationText.h"
#include "sim/SimulatorHost.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;

namespace {

SimulatorOptions Fast(double scale = 20) {
    SimulatorOptions options;
    options.unpaced = true;
    options.timeScale = scale;
    return options;
}

auto RecordsAtLeast(std::size_t n) {
    return [n](const std::string& r) { return LiveRecords(r).size() >= n; };
}

// A record received after `from` whose field `index` satisfies `match`.
auto FieldAfter(std::size_t from, std::size_t index,
                std::function<bool(const std::string&)> match) {
    return [=](const std::string& r) {
        if (r.size() <= from) {
            return false;
        }
        for (const std::string& record : LiveRecords(r.substr(from))) {
            const auto f = Fields(record);
            if (f.size() == 14 && match(f[index])) {
                return true;
            }
        }
        return false;
    };
}

std::string ChangedConfigurationText(CRegisterImage& image) {
    image.LoadDefaultTemplate();
    image.SetValue(211, 9);
    image.SetValue(2, 0);
    return BuildConfigurationText(image).text;
}

} // namespace

TEST(SimulatorHost, RecordsArriveOverThePseudoTerminal) {
    SimulatorHost host;
    const StartResult started = host.Start(Fast());
    ASSERT_TRUE(started.ok) << started.error;
    EXPECT_TRUE(host.IsRunning());
    LineEnd far(started.path);
    ASSERT_TRUE(far.IsOpen());
    ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(4))) << far.received;
    const auto records = LiveRecords(far.received);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(Fields(records[i]).size(), 14u) << records[i];
        if (i > 0) {
            EXPECT_GT(UpTime(records[i]), UpTime(records[i - 1]));
        }
    }
}

TEST(SimulatorHost, ReadAndWriteTheConfigurationAsTheHostDoes) {
    SimulatorHost host;
    std::mutex mutex;
    std::vector<std::string> saved;
    // Slow enough that the menu's and the text's time-outs outlast a busy machine.
    SimulatorOptions options = Fast(5);
    options.configurationChanged = [&](const CRegisterImage& config) {
        std::lock_guard lock(mutex);
        saved.push_back(config.Text(211));
    };
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(started.path);

    far.Write("c");
    ASSERT_TRUE(far.ReadUntilText("MENU"));
    far.Write("s");
    ASSERT_TRUE(far.ReadUntilText("again"));
    far.received.clear();
    far.Write("s");
    ASSERT_TRUE(far.ReadUntilText("> END"));
    const auto dump = ParseConfigurationReply(far.received);
    ASSERT_TRUE(dump);
    EXPECT_TRUE(dump->checksumHolds);
    EXPECT_EQ(dump->groups[183], "0001");

    CRegisterImage image;
    std::string text = ChangedConfigurationText(image);
    std::string broken = text;
    broken[1605] = broken[1605] == 'F' ? 'E' : 'F';
    far.Write("r");
    ASSERT_TRUE(far.ReadUntilText("Ready"));
    far.Write(broken);
    ASSERT_TRUE(far.ReadUntilText("refused"));
    EXPECT_EQ(host.Configuration().Text(211), "0000");

    far.Write("r");
    far.Write(text);
    ASSERT_TRUE(far.ReadUntilText("accepted"));
    EXPECT_EQ(host.Configuration().Text(211), "0009");
    EXPECT_EQ(host.Configuration().Text(kChecksumIndex), image.Text(kChecksumIndex));

    far.Write(" ");
    const std::size_t mark = far.received.size();
    ASSERT_TRUE(far.ReadUntil(FieldAfter(
        mark, 4, [](const std::string& f) { return f == "    0"; }))); // fan 3 is unused now
    host.Stop();
    std::lock_guard lock(mutex);
    EXPECT_EQ(saved, std::vector<std::string>{"0009"}); // the refused text saved nothing
}

TEST(SimulatorHost, TimeScaleSpeedsUpTheRecords) {
    SimulatorHost host;
    // Forty records are forty seconds at the normal pace; the patience is ten.
    const StartResult started = host.Start(Fast(100));
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(started.path);
    ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(40)));
    const auto records = LiveRecords(far.received);
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_GT(UpTime(records[i]), UpTime(records[i - 1]));
    }
}

TEST(SimulatorHost, PacedOutputArrivesWhole) {
    SimulatorHost host;
    SimulatorOptions options;
    options.timeScale = 10;
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(started.path);
    ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(5)));
    for (const std::string& record : LiveRecords(far.received)) {
        EXPECT_EQ(Fields(record).size(), 14u) << record;
    }
}

TEST(SimulatorHost, ReadersMayComeAndGo) {
    SimulatorHost host;
    const StartResult started = host.Start(Fast());
    ASSERT_TRUE(started.ok) << started.error;
    for (int round = 0; round < 3; ++round) {
        LineEnd far(started.path);
        ASSERT_TRUE(far.IsOpen());
        ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(2))) << "round " << round;
    }
    EXPECT_TRUE(host.IsRunning());
}

TEST(SimulatorHost, DroppedLineHangsUpTheFarEnd) {
    SimulatorHost host;
    const StartResult started = host.Start(Fast());
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(started.path);
    ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(1)));
    host.DropLine();
    EXPECT_FALSE(host.IsRunning());
    far.ReadUntil([](const std::string&) { return false; });
    EXPECT_TRUE(far.hungUp);
    pollfd p{far.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_TRUE(p.revents & POLLHUP);

    // A new start gives a new line.
    const StartResult again = host.Start(Fast());
    ASSERT_TRUE(again.ok) << again.error;
    LineEnd next(again.path);
    EXPECT_TRUE(next.ReadUntil(RecordsAtLeast(1)));
}

TEST(SimulatorHost, DeviceThatHangsUpStopsTheSimulator) {
    // A pseudo-terminal stands in for a serial adapter: the simulator opens its slave
    // as a device and the test holds the master as the cable's other end.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    SimulatorOptions options = Fast();
    options.devicePath = ptsname(master);
    SimulatorHost host;
    const StartResult started = host.Start(options);
    ASSERT_TRUE(started.ok) << started.error;
    LineEnd far(master);
    ASSERT_TRUE(far.ReadUntil(RecordsAtLeast(2)));
    far.Write("c");
    ASSERT_TRUE(far.ReadUntilText("MENU"));
    far.Close(); // the adapter is pulled
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (host.IsRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(host.IsRunning());
    EXPECT_FALSE(host.LastError().empty());
}

TEST(SimulatorHost, RefusesWhatItCannotRun) {
    SimulatorHost host;
    SimulatorOptions options;
    options.devicePath = "/nonexistent/ttyS99";
    StartResult started = host.Start(options);
    EXPECT_FALSE(started.ok);
    EXPECT_FALSE(started.error.empty());
    options = SimulatorOptions{};
    options.timeScale = 0;
    EXPECT_FALSE(host.Start(options).ok);
    EXPECT_FALSE(host.IsRunning());
}
