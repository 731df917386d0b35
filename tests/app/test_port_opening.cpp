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
    m_hardware = {UsbAdapter("A", first.Path())};
    Restart();
    ASSERT_EQ(m_window->CommsPage()->PortList()->count(), 2); // A and the simulated controller

    m_hardware = {}; // unplugged after the list was filled
    EXPECT_FALSE(Connect("USB Serial Port A"));
    const int port = m_window->PortNumber();
    EXPECT_EQ(m_window->StatusLine()->text().toStdString(),
              "COM" + std::to_string(port) +
                  ": is not present - plug the adapter in or choose another port, retrying (1)");

    // Plugged back under the other node while another adapter took the old one.
    m_hardware = {UsbAdapter("B", first.Path()), UsbAdapter("A", second.Path())};
    m_window->OnTimer();
    ASSERT_TRUE(m_window->IsConnected());
    EXPECT_FALSE(IsFree(second.Path()));
    EXPECT_TRUE(IsFree(first.Path()));
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), port);
}

// The port list shows "Serial device <path> (COMn)" for a path in ExtraDevices.
class ExtraDevice : public PortOpening {
protected:
    void SetUp() override {
        PortOpening::SetUp();
        QSettings().setValue("Ports/ExtraDevices", QString::fromStdString(m_adapter.Path()));
        Restart();
        CComPortCombo* ports = m_window->CommsPage()->PortList();
        const auto data = ports->itemData(ports->findText("Serial device", Qt::MatchStartsWith));
        m_com = "COM" + std::to_string(data.toUInt());
    }
    std::string Status() const { return m_window->StatusLine()->text().toStdString(); }

    Adapter m_adapter;
    std::string m_com;
};

TEST_F(ExtraDevice, PermissionDeniedNamesTheGroupToJoin) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "runs only when not root: root may open any device";
    }
    struct stat info {};
    ASSERT_EQ(stat(m_adapter.Path().c_str(), &info), 0);
    const group* owning = getgrgid(info.st_gid);
    ASSERT_NE(owning, nullptr);
    ASSERT_EQ(chmod(m_adapter.Path().c_str(), 0060), 0); // only the group may use it
    EXPECT_FALSE(Connect("Serial device"));
    EXPECT_EQ(Status(), m_com + " (" + m_adapter.Path() +
                            "): permission denied - add your user to the '" + owning->gr_name +
                            "' group and log in again, retrying (1)");
    ASSERT_EQ(chmod(m_adapter.Path().c_str(), 0), 0); // nobody's group: no advice to join it
    m_window->OnTimer();
    EXPECT_EQ(Status(), m_com + " (" + m_adapter.Path() +
                            "): permission denied - ask your administrator for read and write "
                            "access to the device, retrying (2)");
    ASSERT_EQ(chmod(m_adapter.Path().c_str(), 0600), 0);
    m_window->OnTimer();
    EXPECT_TRUE(m_window->IsConnected());
}

// An extra device is remembered for the next start; a standalone simulator's number, which
// shifts from one listing to the next, never is.
TEST_F(ExtraDevice, OnlyANumberThatStaysWithItsDeviceIsOfferedAtTheNextStart) {
    Adapter simulator;
    m_simulators = {{"orvane-sim:" + simulator.Path(), "orvane-sim on " + simulator.Path(),
                     simulator.Path(), std::nullopt, false}};
    Restart();
    ASSERT_TRUE(Connect("Serial device"));
    const QString chosen = m_window->CommsPage()->PortList()->currentText();
    EXPECT_EQ(chosen.toStdString(), "Serial device " + m_adapter.Path() + " (" + m_com + ")");
    const auto remembered = [] { return "COM" + QSettings().value("Config/ComPort").toString(); };
    EXPECT_EQ(remembered().toStdString(), m_com);
    EXPECT_FALSE(ClickConnect());
    ASSERT_TRUE(Connect("orvane-sim on"));
    EXPECT_NE("COM" + std::to_string(m_window->PortNumber()), m_com);
    EXPECT_EQ(remembered().toStdString(), m_com);

    Restart();
    EXPECT_EQ("COM" + std::to_string(m_window->PortNumber()), m_com);
    EXPECT_EQ(m_window->CommsPage()->PortList()->currentText(), chosen);
}

} // namespace
} // namespace orvane::test
