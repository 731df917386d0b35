// Linux enumeration: only serial devices that really exist are listed, named "(COMn)" with stable
// numbers.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "serial/PortEnumeratorLinux.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

void Link(const fs::path& target, const fs::path& link) {
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

// A throw-away /sys, /dev and /proc.
class FakeMachine : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("orvane-ports-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(Sys() / "class" / "tty");
        fs::create_directories(Dev());
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path Sys() const { return m_root / "sys"; }
    fs::path Dev() const { return m_root / "dev"; }
    fs::path Proc() const { return m_root / "proc"; }

    void AddUsbAdapter(const std::string& tty, const std::string& product,
                       const std::string& byId) {
        const fs::path usb = Sys() / "devices/pci0000:00/0000:00:14.0/usb1/1-2";
        const fs::path port = usb / "1-2:1.0" / tty;
        Write(usb / "product", product);
        Write(Sys() / "bus/usb-serial/drivers/ftdi_sio/.keep", "");
        Link(Sys() / "bus/usb-serial/drivers/ftdi_sio", port / "driver");
        Link(port, Sys() / "class/tty" / tty / "device");
        Write(Dev() / tty, "");
        Link(Dev() / tty, Dev() / "serial/by-id" / byId);
    }
    void AddUart(const std::string& tty, const std::string& type) {
        const fs::path port = Sys() / "devices/platform/serial8250" / tty;
        fs::create_directories(port);
        Link(port, Sys() / "class/tty" / tty / "device");
        Write(Sys() / "class/tty" / tty / "type", type);
    }
    void AddConsole(const std::string& tty) { Write(Sys() / "class/tty" / tty / "dev", "4:1"); }

    fs::path m_root;
};

TEST_F(FakeMachine, ListsUsbAdaptersAndUartsThatAnsweredOnly) {
    AddUsbAdapter("ttyUSB0", "FT232R USB UART", "usb-FTDI_FT232R_A10K-if00-port0");
    AddUart("ttyS0", "4");
    AddUart("ttyS1", "0"); // a reserved slot without a chip
    AddConsole("tty1");

    const auto found = ScanSerialDevices(Sys().string(), Dev().string());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].devicePath, (Dev() / "ttyS0").string());
    EXPECT_EQ(found[0].description, "Communications Port");
    EXPECT_EQ(found[0].service, "Serial");
    EXPECT_EQ(found[0].identity.rfind("sysfs:", 0), 0u);
    EXPECT_EQ(found[1].devicePath, (Dev() / "ttyUSB0").string());
    EXPECT_EQ(found[1].description, "FT232R USB UART");
    EXPECT_EQ(found[1].identity, "by-id:usb-FTDI_FT232R_A10K-if00-port0");
    EXPECT_EQ(found[1].service, "ftdi_sio");
}

TEST_F(FakeMachine, ExtraPathsAreListedWhenPresentAndOnlyOnce) {
    Write(Dev() / "ttyV0", "");
    const std::string present = (Dev() / "ttyV0").string();
    const auto found = ExtraDeviceCandidates({present, (Dev() / "missing").string(), present, ""});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].devicePath, present);
    EXPECT_EQ(found[0].description, "Serial device " + present);
    EXPECT_TRUE(found[0].remember);
}

TEST_F(FakeMachine, FindsThePseudoTerminalsOfSimulatorProcesses) {
    Write(Proc() / "100/comm", "orvane-sim");
    Link("/dev/ptmx", Proc() / "100/fd/3");
    Write(Proc() / "100/fdinfo/3", "pos:\t0\nflags:\t02\ntty-index:\t5");
    Link("/dev/pts/7", Proc() / "100/fd/4");
    Write(Proc() / "200/comm", "bash");
    Link("/dev/pts/9", Proc() / "200/fd/0");
    Write(Proc() / "self/comm", "orvane-sim");

    const auto found = ScanSimulatorProcesses(Proc().string(), "/dev/pts");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].devicePath, "/dev/pts/5");
    EXPECT_EQ(found[1].devicePath, "/dev/pts/7");
    EXPECT_FALSE(found[0].remember);
}

class MemorySettings final : public IPortNumberSettings {
public:
    std::map<int, std::string> LoadComAssignments() override { return stored; }
    void SaveComAssignments(const std::map<int, std::string>& a) override { stored = a; }
    std::vector<std::string> ExtraDevicePaths() override { return extra; }
    std::map<int, std::string> stored;
    std::vector<std::string> extra;
};

PortCandidate Candidate(std::string identity, std::string description, std::string path,
                        bool remember = true) {
    PortCandidate c;
    c.identity = std::move(identity);
    c.description = std::move(description);
    c.devicePath = std::move(path);
    c.remember = remember;
    return c;
}

TEST_F(FakeMachine, EnumeratorNamesEveryPortWithItsRememberedNumber) {
    MemorySettings settings;
    Write(Dev() / "ttyV0", "");
    settings.extra = {(Dev() / "ttyV0").string()};
    std::vector<PortCandidate> hardware{Candidate("by-id:x", "USB Serial Port", "/dev/ttyUSB0")};
    auto hardwareSource = [&hardware] { return hardware; };
    auto simulators = [] {
        return std::vector<PortCandidate>{
            Candidate("orvane-sim:/dev/pts/4", "orvane-sim on /dev/pts/4", "/dev/pts/4", false)};
    };
    PortEnumeratorLinux enumerator(settings, {Candidate("builtin", "Simulated controller", "")},
                                   hardwareSource, simulators);

    const auto devices = enumerator.EnumeratePorts();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].friendlyName, "USB Serial Port (COM1)");
    EXPECT_EQ(devices[1].friendlyName, "Serial device " + (Dev() / "ttyV0").string() + " (COM2)");
    EXPECT_EQ(devices[2].friendlyName, "Simulated controller (COM3)");
    EXPECT_EQ(devices[3].friendlyName, "orvane-sim on /dev/pts/4 (COM4)");
    EXPECT_EQ(devices[3].portName, "COM4");

    // The adapter is re-plugged after a new one arrived: both keep their numbers.
    hardware = {Candidate("by-id:new", "Other", "/dev/ttyUSB0"),
                Candidate("by-id:x", "USB Serial Port", "/dev/ttyUSB1")};
    PortEnumeratorLinux nextRun(settings, {Candidate("builtin", "Simulated controller", "")},
                                hardwareSource, simulators);
    const auto again = nextRun.EnumeratePorts();
    EXPECT_EQ(again[0].friendlyName, "Other (COM4)");
    EXPECT_EQ(again[1].friendlyName, "USB Serial Port (COM1)");
    EXPECT_EQ(again[3].friendlyName, "Simulated controller (COM3)");
    EXPECT_EQ(again[4].friendlyName, "orvane-sim on /dev/pts/4 (COM5)");

    const auto resolved = nextRun.Resolve(1);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->devicePath, "/dev/ttyUSB1");
    EXPECT_FALSE(nextRun.Resolve(42));
}

TEST_F(FakeMachine, ResolveEnumeratesWhenThePortWasNotListedYet) {
    MemorySettings settings;
    PortEnumeratorLinux enumerator(
        settings, {Candidate("builtin", "Simulated controller", "")},
        [] { return std::vector<PortCandidate>{}; }, [] { return std::vector<PortCandidate>{}; });
    const auto resolved = enumerator.Resolve(1);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->identity, "builtin");
}

} // namespace
} // namespace orvane
