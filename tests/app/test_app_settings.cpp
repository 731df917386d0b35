// Settings: COM numbers and extra device paths survive in QSettings, and an extra path is a
// connectable port.
#include <cstdlib>
#include <fcntl.h>

#include <QSettings>
#include <gtest/gtest.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/AppSettings.h"

namespace orvane {
namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};

TEST_F(Settings, ThePortNumberDefaultsToMinusOneAndIsKept) {
    AppSettings settings;
    EXPECT_EQ(settings.ReadPortNumber(), -1);
    settings.StorePortNumber(4);
    EXPECT_EQ(AppSettings().ReadPortNumber(), 4);
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), 4);
    QSettings().setValue("Config/ComPort", "rubbish");
    EXPECT_EQ(AppSettings().ReadPortNumber(), -1);
}

TEST_F(Settings, ComAssignmentsRoundTripAsReadableComKeys) {
    AppSettings settings;
    settings.SaveComAssignments({{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}});
    EXPECT_EQ(QSettings().value("Ports/COM12").toString(), "path:/dev/ttyV0");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (std::map<int, std::string>{{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}}));

    // A number given by hand replaces the old one; stray keys are ignored.
    QSettings().remove("Ports/COM12");
    QSettings().setValue("Ports/COM3", "path:/dev/ttyV0");
    QSettings().setValue("Ports/COMX", "junk");
    QSettings().setValue("Ports/COM0", "junk");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (std::map<int, std::string>{{1, "by-id:usb-A"}, {3, "path:/dev/ttyV0"}}));
    settings.SaveComAssignments({{2, "b"}});
    EXPECT_EQ(AppSettings().LoadComAssignments(), (std::map<int, std::string>{{2, "b"}}));
}

TEST_F(Settings, ExtraDevicesAcceptOnePathOrAList) {
    QSettings().setValue("Ports/ExtraDevices", "/tmp/ttyV0");
    EXPECT_EQ(AppSettings().ExtraDevicePaths(), std::vector<std::string>{"/tmp/ttyV0"});
    QSettings().setValue("Ports/ExtraDevices", QStringList{"/tmp/ttyV0", " /dev/ttyNET1 ", ""});
    EXPECT_EQ(AppSettings().ExtraDevicePaths(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyNET1"}));
}

TEST_F(Settings, AnExtraPseudoTerminalIsListedAndConnects) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string path = ptsname(master);
    QSettings().setValue("Ports/ExtraDevices", QString::fromStdString(path));

    test::TestWindow harness;
    CZephanDlg window(harness.Options());
    CComPortCombo* ports = window.CommsPage()->PortList();
    const int item =
        ports->findText(QString::fromStdString("Serial device " + path), Qt::MatchStartsWith);
    ASSERT_GE(item, 0);
    ports->setCurrentIndex(item);
    window.CommsPage()->OnConnect();
    window.OnTimer();
    EXPECT_TRUE(window.IsConnected());
    EXPECT_EQ(window.PortNumber(), static_cast<int>(ports->SelectedData() & 0xFFFF));
    window.CommsPage()->OnConnect();
    window.OnTimer();
    EXPECT_FALSE(window.IsConnected());
    ::close(master);
}

} // namespace
} // namespace orvane
