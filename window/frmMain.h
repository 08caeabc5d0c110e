#pragma once

#include "endpoint/datagram_endpoint.h"
#include "window/command_outcome.h"
#include "window/connect_failure_notice.h"
#include "window/control_places.h"
#include "window/held_key.h"

#include <QRect>
#include <QSizeF>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSocketNotifier;

namespace zav {

class MessageField;
class StatusLine;

inline constexpr int SendAttemptLimit = 1;
inline constexpr int kSendButtonIndex = 1; // the Send button's place in its button group

// The operator's window: address, port and message fields, the Connect, Disconnect and Send
// commands over the endpoint it owns for its whole life, and a status line that says what the
// last command did.
class frmMain final : public QWidget
{
    Q_OBJECT

public:
    frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
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

    // Sends the message field as one datagram, or nothing; the status line says which.
    void cmdSend_Click(int index);

protected:
    void changeEvent(QEvent *event) override;
    // Ctrl+Return in any control sends, once however long it is held.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template<typename Widget>
    Widget *placed(Widget *widget, const places::Control &place);
    // Places every control for the window's current font.
    void applyLayout();
    // The pixels a control needs to show its caption whole in the window's font.
    [[nodiscard]] QSizeF roomNeeded(const QWidget &control) const;

    void writeConfiguration();
    // Opens towards the fields' address and port; returns what came of it.
    [[nodiscard]] outcome::Outcome openTowardsFields();
    // OpenPeer off the window's thread, while the window answers all but the operator's input.
    [[nodiscard]] std::int64_t openWhileTheWindowAnswers();
    // After a failed open: closes the endpoint, then shows the operator the box.
    void closeAndShowConnectFailure();
    // Sends the message field as one datagram, or nothing; returns what came of it.
    [[nodiscard]] outcome::Outcome sendMessageField();
    void showOutcome(const outcome::Outcome &outcome);
    // While open, a watch on the endpoint takes whatever arrives as it comes: datagrams are
    // dropped, and a report is added to the status line at once.
    void watchEndpoint();
    void unwatchEndpoint();
    void takeWhatArrived();

    std::array<QLabel *, 2> lblIP {};
    QLineEdit *txtIpAddress = nullptr;
    QLineEdit *txtIPPort = nullptr;
    MessageField *txtSend = nullptr;
    QPushButton *cmdDisconnect = nullptr;
    QPushButton *cmdConnect = nullptr;
    QPushButton *cmdSend = nullptr;
    StatusLine *lblStatus = nullptr;

    std::unique_ptr<DatagramEndpoint> scktSend;
    std::unique_ptr<ConnectFailureNotice> m_notice;
    HeldKey m_heldKey;
    // True while an open waits for a look-up: commands are not taken meanwhile.
    bool m_opening = false;
    QSocketNotifier *m_watch = nullptr;
    // The last outcome shown, which a report coming back later adds to.
    outcome::Outcome m_shown = outcome::Disconnected {};
    // Reports that came back while the status line told something else: the next Send tells them.
    std::vector<ReturnedDatagram> m_untold;
    // Every control with its place in twips.
    std::vector<std::pair<QWidget *, QRect>> m_twipPlaces;
};

} // namespace zav
