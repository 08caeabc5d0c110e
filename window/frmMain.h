#pragma once

#include "endpoint/datagram_endpoint.h"
#include "runtime/text.h"
#include "window/connect_failure_notice.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zav {

class MessageField;

inline constexpr int SendAttemptLimit = 1;
inline constexpr int kSendButtonIndex = 1; // the Send button's place in its button group

// The operator's window: address, port and message fields, and the Connect, Disconnect and
// Send commands over the endpoint it owns for its whole life.
class frmMain final : public QWidget
{
    Q_OBJECT

public:
    explicit frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
                     std::unique_ptr<ConnectFailureNotice> notice, QWidget *parent = nullptr);
    ~frmMain() override;

    // Configures the endpoint and opens it towards the fields' address and port; run once,
    // before the window is first shown.
    void Form_Load();

    // Reopens the endpoint towards the address and port in the fields; tells the operator
    // when that fails.
    void cmdConnect_Click();

    // Closes the endpoint.
    void cmdDisconnect_Click();

    // Sends the message field as one datagram, or quietly nothing.
    void cmdSend_Click(int index);

private:
    void writeConfiguration();
    [[nodiscard]] bool openPeerFromFields();
    // After a failed open: closes the endpoint, then shows the operator the box.
    void closeAndShowConnectFailure();
    void sendMessage();

    std::array<QLabel *, 2> lblIP {};
    QLineEdit *txtIpAddress = nullptr;
    QLineEdit *txtIPPort = nullptr;
    MessageField *txtSend = nullptr;
    QPushButton *cmdDisconnect = nullptr;
    QPushButton *cmdConnect = nullptr;
    QPushButton *cmdSend = nullptr;

    std::unique_ptr<DatagramEndpoint> scktSend;
    std::unique_ptr<ConnectFailureNotice> m_notice;
};

} // namespace zav
