#include "pages/mD1.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"

namespace orvane {

namespace {

// Ports from 10 up are refused: the port layer opens COM1 to COM9 only.
constexpr std::uint32_t kHighestPortNumber = 9;

std::string ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

} // namespace

mD1::mD1(IPageHost& host, ICommsHost& comms, IPortEnumerator& enumerator, QWidget* parent)
    : QWidget(parent), m_host(host), m_comms(comms), m_portList(new CComPortCombo),
      m_connect(new QPushButton(tr("Connect"))),
      m_refresh(new QPushButton(tr("Refresh Port Search"))) {
    auto* box = new QGroupBox(tr("Serial port"));
    box->setMaximumWidth(720);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* portLabel = new QLabel(tr("Port"));
    portLabel->setBuddy(m_portList);
    portLabel->setAccessibleName(portLabel->text());
    box->setAccessibleName(box->title());
    m_portList->setMinimumWidth(320);
    form->addRow(portLabel, m_portList);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_connect);
    buttons->addWidget(m_refresh);
    buttons->addStretch();
    form->addRow(buttons);
    auto* hint = new QLabel(tr("Choose the port that leads to the controller, then press Connect. "
                               "\"Simulated controller\" is built in and needs no hardware."));
    hint->setWordWrap(true);
    hint->setEnabled(false); // drawn muted: an explanation, not a field
    hint->setAccessibleName(hint->text());
    form->addRow(hint);
    box->setLayout(form);

    auto* page = new QVBoxLayout(this);
    page->addWidget(box);
    page->addStretch();

    NameControl(m_portList, tr("Port"));
    TrackShownValue(m_portList);
    m_connect->setAccessibleName(tr("Connect"));
    m_refresh->setAccessibleName(tr("Refresh Port Search"));
    setAccessibleName(tr("Comms"));

    connect(m_connect, &QPushButton::clicked, this, &mD1::OnConnect);
    connect(m_refresh, &QPushButton::clicked, this, &mD1::OnRefreshPortSearch);

    m_portList->SetEnumerator(&enumerator);
    m_portList->Configure(false, "No port", false, true);
    m_portList->FillPortList(m_comms.PortNumber());
}

void mD1::OnRefreshPortSearch() {
    if (m_comms.IsConnected()) {
        return;
    }
    m_portList->FillPortList(m_comms.SavedPortNumber());
}

void mD1::OnConnect() {
    const std::uint32_t portNumber = m_portList->SelectedData() & 0xFFFF;
    m_comms.SetPortNumber(static_cast<int>(portNumber));
    const QString text = m_portList->currentText();
    if (text.isEmpty()) {
        ShowSelectionMessage("No COM port has been selected.");
        return;
    }
    if (m_portList->findText(text, Qt::MatchExactly) < 0) {
        ShowSelectionMessage("Invalid Port Number");
        return;
    }
    if (portNumber >= 1 && portNumber <= kHighestPortNumber) {
        m_comms.RequestConnectOrDisconnect();
        return;
    }
    m_host.Prompter().ShowMessage("ChangePort number to a value less than 10",
                                  "Port Number maximum count exceeded.", MessageIcon::Exclamation,
                                  MessageButtons::Ok);
    m_host.OpenWithDesktop(m_comms.HelpDocumentPath());
}

void mD1::ShowSelectionMessage(const std::string& text) {
    m_host.Prompter().ShowMessage(text, ApplicationName(), MessageIcon::Exclamation,
                                  MessageButtons::Ok);
}

void mD1::SetConnectButtonText(const std::string& text) {
    m_connect->setText(QString::fromStdString(text));
    m_connect->setAccessibleName(m_connect->text());
}

void mD1::SetPortSelectionEnabled(bool enabled) {
    m_portList->setEnabled(enabled);
    m_refresh->setEnabled(enabled);
}

} // namespace orvane
