// The port list rules, ports kept in the settings and a lost serial line.
#include <QFile>
#include <QFileInfo>

#include "AppTestSupport.h"
#include "app/SimulatorPort.h"

namespace orvane::test {
namespace {

using Comms = WindowTest;

// Lists ports known only by their friendly names.
class FakeEnumerator final : public IPortEnumerator {
public:
    explicit FakeEnumerator(const std::vector<const char*>& names) {
        for (const char* name : names) {
            devices.push_back({std::nullopt, std::string(name), std::nullopt});
        }
    }
    std::vector<PortDevice> EnumeratePorts() override {
        ++calls;
        return devices;
    }
    std::vector<PortDevice> devices;
    int calls = 0;
};

TEST_F(Comms, FillPortListSelectsTheRememberedElseTheFirstPortAndConnectTakesOneToNine) {
    using Messages = std::vector<AskedMessage>;
    const auto warning = [](std::string text, std::string caption) {
        return Messages{{text, caption, MessageIcon::Exclamation, MessageButtons::Ok}};
    };
    const Messages noPort = warning(
        "No COM port has been selected.",
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
    const Messages tooHigh =
        warning("ChangePort number to a value less than 10", "Port Number maximum count exceeded.");
    const std::tuple<std::vector<const char*>, int, int, int, int, Messages> cases[] = {
        {{"USB Serial Device (COM7)", "Printer Port (LPT1)"}, -1, 1, 0, 7, {}},
        {{"A (COM1)", "B (COM2)", "C (COM9)"}, 9, 3, 2, 9, {}}, // the remembered one
        {{}, -1, 0, -1, 0, noPort},
        {{"USB Serial Device (COM12)"}, -1, 1, 0, 12, tooHigh}, // 12 is stored all the same
    };
    for (const auto& [devices, remembered, count, selected, port, asked] : cases) {
        Restart();
        m_prompter.asked.clear();
        m_window->SetPortNumber(remembered);
        FakeEnumerator enumerator(devices);
        mD1 page(*m_window, *m_window, enumerator); // a second Comms page on the window
        page.show();
        EXPECT_EQ(page.PortList()->count(), count) << "case COM" << port;
        EXPECT_EQ(page.PortList()->currentIndex(), selected) << "case COM" << port;
        EXPECT_EQ(page.PortList()->SelectedData(), std::uint32_t(port)) << "case COM" << port;
        Click(page.ConnectButton());
        EXPECT_EQ(m_window->PortNumber(), port) << "case COM" << port;
        EXPECT_EQ(m_prompter.asked, asked) << "case COM" << port;
        EXPECT_EQ(m_window->Sequencing().PendingAction() == PendingAction::ConnectOrDisconnect,
                  asked.empty())
            << "case COM" << port;
    }
    ASSERT_EQ(m_opened.size(), 1u); // the help document, beside the refusal above COM9
    QFile help(QString::fromStdString(m_opened[0]));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << m_opened[0];
    EXPECT_TRUE(help.readAll().startsWith("{\\rtf1"));
}

TEST_F(Comms, RefreshKeepsTheChoiceUnlessOneIsSavedAndWaitsWhileConnected) {
    FakeEnumerator enumerator({"A (COM1)", "B (COM2)", "C (COM3)"});
    mD1 page(*m_window, *m_window, enumerator);
    page.show();
    page.PortList()->setCurrentIndex(1);
    Click(page.RefreshButton()); // none saved: keep "B"
    EXPECT_EQ(enumerator.calls, 2);
    EXPECT_EQ(page.PortList()->currentText(), "B (COM2)");
    AppSettings().StorePortNumber(1);
    Click(page.RefreshButton());
    EXPECT_EQ(page.PortList()->currentText(), "A (COM1)");
    ASSERT_TRUE(Connect());
    page.OnRefreshPortSearch();
    EXPECT_EQ(enumerator.calls, 3);
}

TEST_F(Comms, ALostLineIsReportedAndTheWindowKeepsTheImage) {
    ASSERT_TRUE(Connect());
    m_window->Image().SetText(5, "1234");
    const RegisterTexts before = m_window->Image().Texts();
    const int port = m_window->PortNumber();

    m_window->Simulator().Host().DropLine(); // closes the pseudo-terminal's far end
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_prompter.asked.empty(); }));
    ASSERT_EQ(m_prompter.asked.size(), 1u);
    EXPECT_NE(m_prompter.asked[0].text.find("<" + std::to_string(port) + ">"), std::string::npos);
    EXPECT_FALSE(m_window->IsConnected());
    EXPECT_EQ(m_window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(m_window->CommsPage()->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->Image().Texts(), before);
    EXPECT_TRUE(ClickConnect()); // the simulated controller comes back on a new line
}

TEST(Settings, ThePortNumberComAssignmentsAndExtraDevicesReadBackAndJunkIsIgnored) {
    using Assignments = std::map<int, std::string>;
    QSettings().clear();
    QSettings().setValue("Config/ComPort", "rubbish");
    EXPECT_EQ(AppSettings().ReadPortNumber(), -1);

    AppSettings().SaveComAssignments({{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}});
    EXPECT_EQ(QSettings().value("Ports/COM12").toString(), "path:/dev/ttyV0");
    // A number given by hand replaces the old one; stray keys are ignored.
    QSettings().remove("Ports/COM12");
    QSettings().setValue("Ports/COM3", "path:/dev/ttyV0");
    QSettings().setValue("Ports/COMX", "junk");
    QSettings().setValue("Ports/COM0", "junk");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (Assignments{{1, "by-id:usb-A"}, {3, "path:/dev/ttyV0"}}));
    AppSettings().SaveComAssignments({{2, "b"}});
    EXPECT_EQ(AppSettings().LoadComAssignments(), (Assignments{{2, "b"}}));

    QSettings().setValue("Ports/ExtraDevices", QStringList{"/tmp/ttyV0", " /dev/ttyNET1 ", ""});
    EXPECT_EQ(AppSettings().ExtraDevicePaths(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyNET1"}));
}

} // namespace
} // namespace orvane::test
