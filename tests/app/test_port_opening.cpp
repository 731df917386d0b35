// A COM number opens the device that carries it now, the status line says why an open fails,
// and only numbers that stay with their device are offered again at the next start.
#include <grp.h>
#include <sys/stat.h>

#include "AppTestSupport.h"

namespace orvane::test {
namespace {

using PortOpening = WindowTest;

PortCandidate UsbAdapter(const std::string& identity, const std::string& path) {
    return {identity, "USB Serial Port " + identity, path, "ftdi_sio", true};
}

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
    EXPECT_FALSE(IsFree(second.Path()));
    EXPECT_TRUE(IsFree(first.Path()));
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
    const int holder = LockDevice(adapter.Path()); // another program holding the port
    ASSERT_GE(holder, 0);
    EXPECT_FALSE(Connect("Serial device"));
    window->OnTimer();
    EXPECT_EQ(Status(), com + " (" + adapter.Path() +
                            "): is in use by another program - close it there or choose another "
                            "port, retrying (2)");
    close(holder);
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
    ASSERT_EQ(chmod(adapter.Path().c_str(), 0), 0); // nobody's group: no advice to join it
    window->OnTimer();
    EXPECT_EQ(Status(), com + " (" + adapter.Path() +
                            "): permission denied - ask your administrator for read and write "
                            "access to the device, retrying (2)");
    ASSERT_EQ(chmod(adapter.Path().c_str(), 0600), 0);
    window->OnTimer();
    EXPECT_TRUE(window->IsConnected());
}

// An extra device is remembered for the next start; a standalone simulator's number, which
// shifts from one listing to the next, never is.
TEST_F(ExtraDevice, OnlyANumberThatStaysWithItsDeviceIsOfferedAtTheNextStart) {
    Adapter simulator;
    simulators = {{"orvane-sim:" + simulator.Path(), "orvane-sim on " + simulator.Path(),
                   simulator.Path(), std::nullopt, false}};
    Restart();
    ASSERT_TRUE(Connect("Serial device"));
    const QString chosen = window->CommsPage()->PortList()->currentText();
    EXPECT_EQ(chosen.toStdString(), "Serial device " + adapter.Path() + " (" + com + ")");
    const auto remembered = [] { return "COM" + QSettings().value("Config/ComPort").toString(); };
    EXPECT_EQ(remembered().toStdString(), com);
    EXPECT_FALSE(ClickConnect());
    ASSERT_TRUE(Connect("orvane-sim on"));
    EXPECT_NE("COM" + std::to_string(window->PortNumber()), com);
    EXPECT_EQ(remembered().toStdString(), com);

    Restart();
    EXPECT_EQ("COM" + std::to_string(window->PortNumber()), com);
    EXPECT_EQ(window->CommsPage()->PortList()->currentText(), chosen);
}

} // namespace
} // namespace orvane::test
