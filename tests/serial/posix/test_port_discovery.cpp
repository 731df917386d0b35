// Port discovery on Linux: real devices only, each number resolving to the device that carries it
// now.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "serial/ComNumbers.h"
#include "serial/PortDiscovery.h"
#include "serial/posix/PortEnumeratorLinux.h"
#include "tests/serial/PortTestSupport.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using std::nullopt;
using test::MemorySettings;
using test::Show;

// Writes `text` to `file` and, with a target, links `file` to it; parents are created.
void Make(const fs::path& file, const std::string& text = "", const fs::path& target = {}) {
    fs::create_directories(file.parent_path());
    if (target.empty()) {
        std::ofstream(file) << text << "\n";
    } else {
        fs::create_symlink(target, file);
    }
}

TEST(PortScanners, FindOnlyDevicesThatExist) {
    char pattern[] = "/tmp/orvane-ports-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path root = pattern, sys = root / "sys", dev = root / "dev", proc = root / "proc";
    const fs::path usb = sys / "devices/pci0000:00/usb1/1-2", tty = sys / "class/tty";
    Make(usb / "product", "FT232R USB UART");
    Make(sys / "bus/usb-serial/drivers/ftdi_sio/.keep");
    Make(usb / "1-2:1.0/ttyUSB0/driver", "", sys / "bus/usb-serial/drivers/ftdi_sio");
    Make(tty / "ttyUSB0/device", "", usb / "1-2:1.0/ttyUSB0");
    Make(dev / "ttyUSB0");
    Make(dev / "serial/by-id/usb-FTDI_A10K-if00", "", dev / "ttyUSB0");
    for (const std::string uart : {"ttyS0", "ttyS1"}) {
        fs::create_directories(sys / "devices/platform/serial8250" / uart);
        Make(tty / uart / "device", "", sys / "devices/platform/serial8250" / uart);
        Make(tty / uart / "type", uart == "ttyS0" ? "4" : "0"); // 0: a slot without a chip
    }
    Make(tty / "tty1/dev", "4:1"); // a console
    auto found = ScanSerialDevices(sys.string(), dev.string());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].devicePath, (dev / "ttyS0").string());
    EXPECT_EQ(found[0].description, "Communications Port");
    EXPECT_EQ(found[0].service, "Serial");
    EXPECT_EQ(found[0].identity.rfind("sysfs:", 0), 0u);
    EXPECT_EQ(found[1].devicePath, (dev / "ttyUSB0").string());
    EXPECT_EQ(found[1].description, "FT232R USB UART");
    EXPECT_EQ(found[1].identity, "by-id:usb-FTDI_A10K-if00");
    EXPECT_EQ(found[1].service, "ftdi_sio");

    Make(proc / "100/comm", "orvane-sim");
    Make(proc / "100/fd/3", "", "/dev/ptmx");
    Make(proc / "100/fdinfo/3", "pos:\t0\nflags:\t02\ntty-index:\t5");
    Make(proc / "100/fd/4", "", "/dev/pts/7");
    Make(proc / "200/comm", "bash");
    Make(proc / "200/fd/0", "", "/dev/pts/9");
    Make(proc / "self/comm", "orvane-sim");
    found = ScanSimulatorProcesses(proc.string(), "/dev/pts");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].devicePath, "/dev/pts/5");
    EXPECT_EQ(found[1].devicePath, "/dev/pts/7");
    EXPECT_FALSE(found[0].remember);
    fs::remove_all(root);
}

PortCandidate Candidate(std::string identity, std::string description, std::string path,
                        bool remember = true) {
    return {std::move(identity), std::move(description), std::move(path), nullopt, remember};
}

// Devices change between the fill of the list and the connect (and between retries): a number
// opens the device it was listed for, wherever that is now, or nothing. Numbers stay with the
// devices that keep an identity; a simulator on a pseudo-terminal is numbered for one listing.
TEST(PortEnumeratorLinux, NamesEveryPortAndResolvesTheDeviceThatCarriesTheNumberNow) {
    MemorySettings settings;
    settings.extra = {"/dev/null", "/nonexistent/tty", "", "/dev/null"}; // present ones, once
    std::vector<PortCandidate> hardware{Candidate("x", "USB Serial Port", "/dev/ttyUSB0")};
    std::vector<PortCandidate> simulators{Candidate("sim:a", "Sim", "/dev/pts/4", false),
                                          Candidate("sim:b", "Sim", "/dev/pts/6", false)};
    const std::vector<PortCandidate> own{Candidate("builtin", "Simulated controller", "")};
    const auto show = [](PortEnumeratorLinux& e) {
        return Show(BuildPortList(e.EnumeratePorts(), {false, false, ""}, 0));
    };
    const auto path = [](PortEnumeratorLinux& e, int number) {
        const auto port = e.Resolve(number);
        return port ? port->devicePath : "-";
    };
    PortEnumeratorLinux enumerator(
        settings, own, [&] { return hardware; }, [&] { return simulators; });
    EXPECT_EQ(show(enumerator), " Serial device /dev/null (COM2)=2 Sim (COM4)=4 Sim (COM5)=5 "
                                "Simulated controller (COM3)=3 USB Serial Port (COM1)=1");
    // What COM1, COM4 and COM5 open as the devices change.
    const struct {
        const char* change;
        std::vector<PortCandidate> hardware, simulators;
        std::string opened;
    } steps[] = {
        {"as listed", hardware, simulators, "/dev/ttyUSB0 /dev/pts/4 /dev/pts/6"},
        {"unplugged, another adapter took its node",
         {Candidate("other", "Other", "/dev/ttyUSB0")},
         simulators,
         "- /dev/pts/4 /dev/pts/6"},
        {"plugged back under another node, first simulator gone",
         {Candidate("other", "Other", "/dev/ttyUSB0"),
          Candidate("x", "USB Serial Port", "/dev/ttyUSB1")},
         {simulators[1]},
         "/dev/ttyUSB1 - /dev/pts/6"},
    };
    for (const auto& step : steps) {
        hardware = step.hardware;
        simulators = step.simulators;
        EXPECT_EQ(path(enumerator, 1) + " " + path(enumerator, 4) + " " + path(enumerator, 5),
                  step.opened)
            << step.change;
    }
    // The next run resolves a remembered number before any listing; the new adapter takes the
    // lowest number free, one a simulator had.
    PortEnumeratorLinux nextRun(
        settings, own, [&] { return hardware; }, [&] { return simulators; });
    EXPECT_EQ(path(nextRun, 1), "/dev/ttyUSB1");
    EXPECT_EQ(path(nextRun, 42), "-");
    EXPECT_EQ(show(nextRun), " Other (COM4)=4 Serial device /dev/null (COM2)=2 Sim (COM5)=5 "
                             "Simulated controller (COM3)=3 USB Serial Port (COM1)=1");
}

} // namespace
} // namespace orvane
