// Receive path of the serial port: bulk throughput from a pseudo-terminal to an owner on
// its own thread, and the CPU that a byte-paced 960 B/s stream costs the process.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "serial/OwnerQueue.h"
#include "serial/SerialPort.h"

namespace {

using namespace std::chrono_literals;
using orvane::CSerialPort;
using orvane::OwnerQueue;

double Seconds(const timespec& t) {
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return Seconds(now);
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Checks each byte against the sequence the writer sends.
class CheckingOwner : public orvane::ISerialOwner {
public:
    void OnReceiveChar(std::uint8_t byte, unsigned) override {
        m_outOfOrder += byte != static_cast<std::uint8_t>(m_expected());
        ++m_count;
    }
    void OnCtsChange(unsigned) override { ++m_handOffs; }
    void OnPortFailure(unsigned) override { m_failed = true; }
    std::size_t HandOffs() const { return m_handOffs; }
    std::size_t Count() const { return m_count; }
    std::size_t OutOfOrder() const { return m_outOfOrder; }
    bool Failed() const { return m_failed; }

private:
    std::minstd_rand m_expected{1};
    std::size_t m_count = 0;
    std::size_t m_handOffs = 0;
    std::size_t m_outOfOrder = 0;
    bool m_failed = false;
};

std::string Sequence(std::minstd_rand& generator, std::size_t count) {
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator());
    }
    return bytes;
}

struct Link {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    CheckingOwner owner;
    OwnerQueue queue;
    CSerialPort port;

    explicit Link(std::chrono::microseconds gatherWindow) {
        grantpt(master);
        unlockpt(master);
        port.SetPortResolver([path = std::string(ptsname(master))](unsigned) {
            return std::optional<std::string>(path);
        });
        port.SetOwnerExecutor(queue.Executor());
        port.SetGatherWindow(gatherWindow);
    }
    ~Link() {
        port.ClosePort();
        close(master);
    }
    bool Start() { return port.OpenPort(&owner, 1) && port.StartMonitor(); }
    // The owner's thread: takes hand-offs until `count` bytes arrived or nothing comes.
    void TakeUntil(std::size_t count) {
        while (owner.Count() < count && queue.RunOne(5s)) {
        }
    }
};

void ReportQuality(benchmark::State& state, const Link& link, std::size_t expected) {
    state.counters["lost"] = static_cast<double>(expected - link.owner.Count());
    state.counters["out_of_order"] = static_cast<double>(link.owner.OutOfOrder());
    if (link.owner.Count() != expected || link.owner.OutOfOrder() != 0 || link.owner.Failed()) {
        state.SkipWithError("bytes lost, out of order, or the port failed");
    }
}

// Bulk: a writer thread pushes as fast as the pseudo-terminal takes; CPU per byte counts
// the whole process except the writer (the monitoring thread and the owner's thread).
void BM_SerialReceiveThroughput(benchmark::State& state) {
    const auto chunk = static_cast<std::size_t>(state.range(0));
    Link link(std::chrono::microseconds(state.range(1)));
    if (!link.Start()) {
        state.SkipWithError("cannot open a pseudo-terminal");
        return;
    }
    std::minstd_rand generator{1};
    std::size_t total = 0;
    double cpu = 0;
    for (auto _ : state) {
        const std::string bytes = Sequence(generator, chunk);
        double writerCpu = 0;
        const double before = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        std::thread writer([&] {
            const double start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            for (std::size_t sent = 0; sent < bytes.size();) {
                const ssize_t put = write(link.master, bytes.data() + sent, bytes.size() - sent);
                sent += put > 0 ? static_cast<std::size_t>(put) : 0;
            }
            writerCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
        });
        link.TakeUntil(total + chunk);
        writer.join();
        cpu += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before - writerCpu;
        total += chunk;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(link.owner.Count()));
    state.counters["cpu_ns_per_byte"] = cpu * 1e9 / static_cast<double>(total);
    ReportQuality(state, link, total);
}
// Arguments: bytes per iteration, gather window in microseconds.
BENCHMARK(BM_SerialReceiveThroughput)
    ->Args({1 << 20, CSerialPort::kDefaultGatherWindow.count()})
    ->Args({1 << 20, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One byte every 1/960 s from a child process (the worst a real adapter delivers at
// 9600 baud), for a few seconds; the figure is this process's CPU share of one core.
void BM_SerialPacedStream960(benchmark::State& state) {
    constexpr int kRate = 960;
    constexpr int kSeconds = 3;
    constexpr std::size_t kBytes = kRate * kSeconds;
    Link link(std::chrono::microseconds(state.range(0)));
    if (!link.Start()) {
        state.SkipWithError("cannot open a pseudo-terminal");
        return;
    }
    std::minstd_rand generator{1};
    const std::string bytes = Sequence(generator, kBytes);
    double share = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const double wallBefore = CpuSeconds(CLOCK_MONOTONIC);
        const pid_t child = fork();
        if (child == 0) {
            timespec next{};
            clock_gettime(CLOCK_MONOTONIC, &next);
            for (const char byte : bytes) {
                next.tv_nsec += 1000000000 / kRate;
                if (next.tv_nsec >= 1000000000) {
                    next.tv_nsec -= 1000000000;
                    ++next.tv_sec;
                }
                clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
                if (write(link.master, &byte, 1) != 1) {
                    _exit(1);
                }
            }
            _exit(0);
        }
        link.TakeUntil(kBytes);
        share = (ProcessCpuSeconds() - cpuBefore) / (CpuSeconds(CLOCK_MONOTONIC) - wallBefore);
        int status = 0;
        waitpid(child, &status, 0);
    }
    state.counters["cpu_percent_of_core"] = share * 100;
    state.counters["hand_offs_per_s"] = static_cast<double>(link.owner.HandOffs()) / kSeconds;
    ReportQuality(state, link, kBytes);
}
// Argument: gather window in microseconds (0 hands every wake-up over at once).
BENCHMARK(BM_SerialPacedStream960)
    ->Arg(CSerialPort::kDefaultGatherWindow.count())
    ->Arg(10000)
    ->Arg(4000)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
