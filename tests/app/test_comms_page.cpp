// The Comms page: the port list fill rules, the three selection messages and the refusal above
// COM9.
#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "pages/mD1.h"

namespace orvane {
namespace {

using test::RecordingPrompter;

class FakeEnumerator final : public IPortEnumerator {
public:
    std::vector<PortDevice> EnumeratePorts() override {
        ++calls;
        return devices;
    }
    std::vector<PortDevice> devices;
    int calls = 0;
};

class FakeHost final : public IPageHost, public ICommsHost {
public:
    int ActiveTab() const override { return 1; }
    std::string RefreshFlag(int) const override { return "1"; }
    void SetRefreshFlag(int, const std::string&) override {}
    IPrompter& Prompter() override { return prompter; }
    void OpenWithDesktop(const std::string& target) override { opened.push_back(target); }

    int PortNumber() const override { return portNumber; }
    void SetPortNumber(int number) override { portNumber = number; }
    bool IsConnected() const override { return connected; }
    void RequestConnectOrDisconnect() override { ++requests; }
    int SavedPortNumber() const override { return saved; }
    std::string HelpDocumentPath() const override { return "/help/H2F.rtf"; }

    RecordingPrompter prompter;
    std::vector<std::string> opened;
    int portNumber = -1;
    int saved = -1;
    bool connected = false;
    int requests = 0;
};

PortDevice Named(const char* friendly) {
    return {std::nullopt, std::string(friendly), std::nullopt};
}

class CommsPage : public ::testing::Test {
protected:
    std::unique_ptr<mD1> Build() {
        auto page = std::make_unique<mD1>(host, host, enumerator);
        page->show();
        return page;
    }
    FakeHost host;
    FakeEnumerator enumerator;
};

TEST_F(CommsPage, ListsComPortsByFriendlyNameAndLeavesOthersOut) {
    enumerator.devices = {Named("USB Serial Device (COM7)"), Named("Printer Port (LPT1)")};
    auto page = Build();
    ASSERT_EQ(page->PortList()->count(), 1);
    EXPECT_EQ(page->PortList()->itemText(0), "USB Serial Device (COM7)");
    EXPECT_EQ(page->PortList()->SelectedData(), 7u);
    EXPECT_EQ(page->PortList()->currentIndex(), 0); // the only port is selected
}

TEST_F(CommsPage, WithTwoPortsAndNoneRememberedNothingIsSelected) {
    enumerator.devices = {Named("A (COM1)"), Named("B (COM2)")};
    auto page = Build();
    EXPECT_EQ(page->PortList()->count(), 2);
    EXPECT_EQ(page->PortList()->currentIndex(), -1);
}

TEST_F(CommsPage, SelectsTheRememberedPortAndRefreshKeepsTheChoiceWithoutASavedOne) {
    enumerator.devices = {Named("A (COM1)"), Named("B (COM2)"), Named("C (COM3)")};
    host.portNumber = 3;
    auto page = Build();
    EXPECT_EQ(page->PortList()->currentText(), "C (COM3)");

    page->PortList()->setCurrentIndex(1);
    QTest::mouseClick(page->RefreshButton(), Qt::LeftButton); // saved -1: keep "B"
    EXPECT_EQ(enumerator.calls, 2);
    EXPECT_EQ(page->PortList()->currentText(), "B (COM2)");

    host.saved = 1;
    QTest::mouseClick(page->RefreshButton(), Qt::LeftButton);
    EXPECT_EQ(page->PortList()->currentText(), "A (COM1)");
}

TEST_F(CommsPage, RefreshDoesNothingWhileConnected) {
    enumerator.devices = {Named("A (COM1)")};
    auto page = Build();
    host.connected = true;
    page->OnRefreshPortSearch();
    EXPECT_EQ(enumerator.calls, 1);
}

TEST_F(CommsPage, ConnectHandsAPortFromOneToNineToTheMainWindow) {
    enumerator.devices = {Named("A (COM9)")};
    auto page = Build();
    QTest::mouseClick(page->ConnectButton(), Qt::LeftButton);
    EXPECT_EQ(host.portNumber, 9);
    EXPECT_EQ(host.requests, 1);
    EXPECT_TRUE(host.prompter.asked.empty());
}

TEST_F(CommsPage, PortsAboveNineAreRefusedWithTheHelpDocument) {
    enumerator.devices = {Named("USB Serial Device (COM12)")};
    auto page = Build();
    QTest::mouseClick(page->ConnectButton(), Qt::LeftButton);
    EXPECT_EQ(host.requests, 0);
    EXPECT_EQ(host.portNumber, 12); // stored all the same
    ASSERT_EQ(host.prompter.asked.size(), 1u);
    EXPECT_EQ(host.prompter.asked[0].text, "ChangePort number to a value less than 10");
    EXPECT_EQ(host.prompter.asked[0].caption, "Port Number maximum count exceeded.");
    EXPECT_EQ(host.prompter.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.prompter.asked[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(host.opened, std::vector<std::string>{"/help/H2F.rtf"});
}

TEST_F(CommsPage, ConnectWithAnEmptyListSaysNoPortWasSelected) {
    auto page = Build();
    QTest::mouseClick(page->ConnectButton(), Qt::LeftButton);
    EXPECT_EQ(host.portNumber, 0);
    EXPECT_EQ(host.requests, 0);
    ASSERT_EQ(host.prompter.asked.size(), 1u);
    EXPECT_EQ(host.prompter.asked[0].text, "No COM port has been selected.");
    EXPECT_EQ(host.prompter.asked[0].caption,
              QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
}

TEST_F(CommsPage, TheMainWindowRelabelsAndLocksThePortControls) {
    enumerator.devices = {Named("A (COM1)")};
    auto page = Build();
    page->SetConnectButtonText("Disconnect");
    page->SetPortSelectionEnabled(false);
    EXPECT_EQ(page->ConnectButton()->text(), "Disconnect");
    EXPECT_EQ(page->ConnectButton()->accessibleName(), "Disconnect");
    EXPECT_FALSE(page->PortList()->isEnabled());
    EXPECT_FALSE(page->RefreshButton()->isEnabled());
    EXPECT_TRUE(page->ConnectButton()->isEnabled());
}

} // namespace
} // namespace orvane
