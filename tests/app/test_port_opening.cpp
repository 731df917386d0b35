// A COM number opens the device that carries it now, the status line says why an open fails,
// and only numbers that stay with their device are offered again at the next start.
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "serial/SerialPort.h"

namespace orvane::test {
namespace {

using PortOpening = WindowTest;

// A pseudo-terminal standing for a serial adapter; its slave is the device node.
class Adapter {
public:
    Adapter() {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_path = ptsname(m_master);
        }
    }
    ~Adapter() { Unplug(); }
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    const std::string& Path() const { return m_path; }
    // Closing the master removes the slave's node, as unplugging removes /dev/ttyUSBn.
    void Unplug() { close(std::exchange(m_master, -1)); }
    // True when nobody holds the device: a well-behaved opener may lock it.
    bool IsFree() const {
        const int fd = open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        const bool free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
        close(fd);
        return free;
    }

private:
    int m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string m_path;
};

PortCandidate UsbAdapter(const std::string& identity, const std::string& path) {
    return {identity, "USB Serial Port " + identity, path, "ftdi_sio", true};
}

class NullOwner final : public ISerialOwner {
public:
    void OnReceiveChar(std::uint8_t, unsigned) override {}
    void OnPortFailure(unsigned) override {}
};

TEST_F(PortOpening, ANumberOpensItsAdapterWhereverItIsNowAndWaitsWhileItIsAway) {
    Adapter first, second;
    hardware = {UsbAdapter("A", first.Path())};
    Restart();
    ASSERT_EQ(window->CommsPage()->PortList()->count(), 2); // A and the simulated controller

    hardware = {}; // unplugged after the list was filled
    EXPECT_FALSE(Connect("USB Serial Port A"));
    const int port = window->PortNumber();
    EXPECT_EQ(window->StatusLine()->text().toStdString(),
              "COM" + std::to_string(port) +
                  ": is not present - plug the adapter in or choose another port, retrying (1)");

    // Plugged back under the other node while another adapter took the old one.
    hardware = {UsbAdapter("B", first.Path()), UsbAdapter("A", second.Path())};
    window->OnTimer();
    ASSERT_TRUE(window->IsConnected());
    EXPECT_FALSE(second.IsFree());
    EXPECT_TRUE(first.IsFree());
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), port);
}

// The port list shows "Serial device <path> (COMn)" for a path in ExtraDevices.
class ExtraDevice : public PortOpening {
protected:
    void SetUp() override {
        PortOpening::SetUp();
        QSettings().setValue("Ports/ExtraDevices", QString::fromStdString(adapter.Path()));
        Restart();
        CComPortCombo* ports = window->CommsPage()->PortList();
        const auto data = ports->itemData(ports->findText("Serial device", Qt::MatchStartsWith));
        com = "COM" + std::to_string(data.toUInt());
    }
    std::string Status() const { return window->StatusLine()->text().toStdString(); }

    Adapter adapter;
    std::string com;
};

TEST_F(ExtraDevice, InUseAndAbsenceReachTheStatusLineAndTheRetryGoesOn) {
    CSerialPort holder; // another program holding the port
    NullOwner owner;
    holder.SetPortResolver([&](unsigned) { return std::optional(adapter.Path()); });
    ASSERT_TRUE(holder.OpenPort(&owner, 1));
    EXPECT_FALSE(Connect("Serial device"));
    window->OnTimer();
    EXPECT_EQ(Status(), com + " (" + adapter.Path() +
                            "): is in use by another program - close it there or choose another "
                            "port, retrying (2)");
    holder.ClosePort();
    window->OnTimer();
    ASSERT_TRUE(window->IsConnected());

    EXPECT_FALSE(ClickConnect());
    adapter.Unplug();
    EXPECT_FALSE(ClickConnect());
    EXPECT_EQ(Status(),
              com + ": is not present - plug the adapter in or choose another port, retrying (1)");
}

TEST_F(ExtraDevice, PermissionDeniedNamesTheGroupToJoin) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "runs only when not root: root may open any device";
    }
    struct stat info {};
    ASSERT_EQ(stat(adapter.Path().c_str(), &info), 0);
    const group* owning = getgrgid(info.st_gid);
    ASSERT_NE(owning, nullptr);
    ASSERT_EQ(chmod(adapter.Path().c_str(), 0060), 0); // only the group may use it
    EXPECT_FALSE(Connect("Serial device"));
    EXPECT_EQ(Status(), com + " (" + adapter.Path() +
                            "): permission denied - add your user to the '" + owning->gr_name +
                            "' group and log in again, retrying (1)");
    ASSERT_EQ(chmod(adapter.Path().c_str(), 0600), 0);
    window->OnTimer();
    EXPECT_TRUE(window->IsConnected());
}

TEST_F(PortOpening, AStandaloneSimulatorsNumberIsNeverOfferedAtTheNextStart) {
    Adapter simulator, adapter;
    simulators = {{"orvane-sim:" + simulator.Path(), "orvane-sim on " + simulator.Path(),
                   simulator.Path(), std::nullopt, false}};
    hardware = {UsbAdapter("A", adapter.Path())};
    Restart();
    ASSERT_TRUE(Connect("USB Serial Port A"));
    const int remembered = window->PortNumber();
    EXPECT_FALSE(ClickConnect());
    ASSERT_TRUE(Connect("orvane-sim on"));
    EXPECT_NE(window->PortNumber(), remembered);
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), remembered);

    Restart();
    EXPECT_EQ(window->PortNumber(), remembered);
    EXPECT_EQ(window->CommsPage()->PortList()->currentText().toStdString(),
              "USB Serial Port A (COM" + std::to_string(remembered) + ")");
}

} // namespace
} // namespace orvane::test
