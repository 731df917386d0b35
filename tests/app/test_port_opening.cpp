// A COM number opens the device that carries it now, the status line says why an open fails (the
// texts are tabled with the sequencer), and only numbers that stay with their device are offered
// again at the next start.
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
    Adapter m_adapter;
    std::string m_com;
};

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
