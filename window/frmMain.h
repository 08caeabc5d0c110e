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
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSocketNotifier;
class QThread;

namespace zav {

class MessageField;
class StatusLine;

inline constexpr int SendAttemptLimit = 1;
inline constexpr int kSendButtonIndex = 1; // the Send button's place in its button group

// Starts a thread; false when the system could not start it.
using StartThread = std::function<bool(QThread &thread)>;
[[nodiscard]] bool startThread(QThread &thread);

// The operator's window: address, port and message fields, the Connect, Disconnect and Send
// commands over the endpoint it owns for its whole life, and a status line that says what the
// last command did.
class frmMain final : public QWidget
{
    Q_OBJECT

public:
    // The open that waits for a look-up runs on a thread that `start` starts.
    frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
            std::unique_ptr<ConnectFailureNotice> notice, StartThread start = startThread,
            QWidget *parent = nullptr);
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
    // A close asked for while a look-up runs ends the program when it ends.
    void closeEvent(QCloseEvent *event) override;
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
    // OpenPeer off the window's thread, while the window answers all but the operator's input,
    // which it takes afterwards; on the window's thread when no thread can be started.
    [[nodiscard]] std::int64_t openWhileTheWindowAnswers();
    // While a look-up runs, a command is taken after it, as any other input is; false when the
    // command may run now.
    [[nodiscard]] bool takenAfterTheLookUp(void (frmMain::*command)());
    void runCommandsTakenAfter();
    // After a failed open: closes the endpoint; the second then shows the operator the box.
    void closeAfterFailedOpen();
    void closeAndShowConnectFailure();
    // Sends the message field as one datagram, or nothing; returns what came of it.
    [[nodiscard]] outcome::Outcome sendMessageField();
    void showOutcome(const outcome::Outcome &outcome);
    // While open, a watch on the endpoint takes whatever arrives as it comes: datagrams are
    // dropped, and a report is added to the status line at once.
    void watchEndpoint();
    void unwatchEndpoint();
    void takeWhatArrived();
    void sendFromTheButton();

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
    StartThread m_startThread;
    HeldKey m_heldKey;
    // True while an open waits for a look-up.
    bool m_opening = false;
    // Commands given while a look-up ran, in order, and whether a close was asked for.
    std::vector<void (frmMain::*)()> m_takenAfter;
    bool m_closeAsked = false;
    QSocketNotifier *m_watch = nullptr;
    // The last outcome shown, and what came back while it was: a report is told with it at once.
    outcome::Outcome m_shown = outcome::Disconnected {};
    outcome::CameBack m_cameBack;
    // The last datagram sent while the endpoint is open, which a report may concern.
    std::optional<outcome::SentDatagram> m_lastSent;
    // Every control with its place in twips.
    std::vector<std::pair<QWidget *, QRect>> m_twipPlaces;
};

} // namespace zav
