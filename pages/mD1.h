#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "core/comms/MainWindowView.h"
#include "pages/CComPortCombo.h"
#include "pages/PageHost.h"

namespace orvane {

// What the Comms page hands over to and reads from the main window.
class ICommsHost {
public:
    virtual ~ICommsHost() = default;
    virtual int PortNumber() const = 0;
    virtual void SetPortNumber(int portNumber) = 0;
    virtual bool IsConnected() const = 0;
    // Pending action 3: the next main tick connects or disconnects.
    virtual void RequestConnectOrDisconnect() = 0;
    // The remembered "Config"/"ComPort", -1 when none.
    virtual int SavedPortNumber() const = 0;
    // Where the help document on port numbers is.
    virtual std::string HelpDocumentPath() const = 0;
};

// The "Comms" tab: pick the port that leads to the controller, connect, disconnect.
class mD1 final : public QWidget, public ICommsPageView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD1)

public:
    mD1(IPageHost& host, ICommsHost& comms, IPortEnumerator& enumerator, QWidget* parent = nullptr);

    void OnRefreshPortSearch();
    void OnConnect();

    void SetConnectButtonText(const std::string& text) override;
    void SetPortSelectionEnabled(bool enabled) override;

    CComPortCombo* PortList() { return m_portList; }
    QPushButton* ConnectButton() { return m_connect; }
    QPushButton* RefreshButton() { return m_refresh; }

private:
    void ShowSelectionMessage(const std::string& text);

    IPageHost& m_host;
    ICommsHost& m_comms;
    CComPortCombo* m_portList = nullptr;
    QPushButton* m_connect = nullptr;
    QPushButton* m_refresh = nullptr;
};

} // namespace orvane
