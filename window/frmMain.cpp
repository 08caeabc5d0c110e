#include "window/frmMain.h"

#include "message/caret_escape.h"
#include "runtime/narrowing.h"
#include "runtime/number_reading.h"
#include "window/app_icon.h"
#include "window/message_field.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <limits>

namespace zav {

namespace {

// The layout is kept in twips; 15 twips make one device-independent pixel, which the toolkit
// scales for high-density screens.
constexpr int kTwipsPerPixel = 15;

constexpr int fromTwips(int twips)
{
    return twips / kTwipsPerPixel;
}

QRect twipRect(int left, int top, int width, int height)
{
    return {fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height)};
}

// Fields hold whatever is pasted into them: the single-line default would cut at 32,767.
constexpr int kUnlimitedLength = std::numeric_limits<int>::max();

template<typename Widget>
Widget *placed(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// The field's text with each of its line and paragraph separators as the line break the
// datagram carries: CR LF. The raw text keeps every other character as typed (no-break spaces
// stay no-break spaces).
Text messageText(const QPlainTextEdit &field)
{
    Text message;
    for (const QChar c : field.document()->toRawText()) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            message += u"\r\n";
        else
            message += c.unicode();
    }
    return message;
}

// Runs one endpoint call whose fault must not stop the steps after it.
template<typename Call>
void ignoringFaults(Call call)
{
    try {
        call();
    } catch (const std::exception &) { }
}

} // namespace

frmMain::frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
                 std::unique_ptr<ConnectFailureNotice> notice, QWidget *parent)
    : QWidget(parent), scktSend(std::move(endpoint)), m_notice(std::move(notice))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZAV UDP Test"));
    setWindowIcon(appIcon());
    setFixedSize(fromTwips(7530), fromTwips(2880));

    lblIP[0] = placed(new QLabel(QStringLiteral("IP Address"), this), "lblIP0",
                      twipRect(240, 360, 1695, 375));
    txtIpAddress = placed(new QLineEdit(QStringLiteral("127.0.0.1"), this), "txtIpAddress",
                          twipRect(240, 720, 1935, 375));
    lblIP[1] = placed(new QLabel(QStringLiteral("IP Port"), this), "lblIP1",
                      twipRect(240, 1320, 1695, 255));
    txtIPPort = placed(new QLineEdit(QStringLiteral("2160"), this), "txtIPPort",
                       twipRect(240, 1560, 2055, 375));
    txtSend = placed(new MessageField(this), "txtSend", twipRect(3360, 360, 3495, 1575));
    cmdDisconnect = placed(new QPushButton(QStringLiteral("Disconnect"), this), "cmdDisconnect",
                           twipRect(240, 2160, 1095, 375));
    cmdConnect = placed(new QPushButton(QStringLiteral("Connect"), this), "cmdConnect",
                        twipRect(1800, 2160, 1215, 375));
    cmdSend = placed(new QPushButton(QStringLiteral("Send"), this), "cmdSend",
                     twipRect(4440, 2160, 1215, 375));

    // Screen readers name each field after its label.
    txtIpAddress->setAccessibleName(lblIP[0]->text());
    txtIPPort->setAccessibleName(lblIP[1]->text());
    txtSend->setAccessibleName(QStringLiteral("Message"));
    lblIP[0]->setBuddy(txtIpAddress);
    lblIP[1]->setBuddy(txtIPPort);

    txtIpAddress->setMaxLength(kUnlimitedLength);
    txtIPPort->setMaxLength(kUnlimitedLength);
    txtSend->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtSend->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtSend->setTabChangesFocus(true);

    setTabOrder(txtSend, txtIpAddress);
    setTabOrder(txtIpAddress, txtIPPort);
    setTabOrder(txtIPPort, cmdConnect);
    setTabOrder(cmdConnect, cmdSend);
    setTabOrder(cmdSend, cmdDisconnect);
    txtSend->setFocus();

    connect(cmdConnect, &QPushButton::clicked, this, [this] { cmdConnect_Click(); });
    connect(cmdDisconnect, &QPushButton::clicked, this, [this] { cmdDisconnect_Click(); });
    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(kSendButtonIndex); });
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    try {
        writeConfiguration();
    } catch (const std::exception &) {
        // An endpoint that cannot be configured cannot be opened either.
        closeAndShowConnectFailure();
        return;
    }
    cmdConnect_Click();
}

void frmMain::writeConfiguration()
{
    scktSend->WriteSetting(member::kAddressFamily, kFamilyIPv4);
    scktSend->WriteSetting(member::kProtocol, kProtocolDefault);
    scktSend->WriteSetting(member::kSocketType, kTypeDatagram);
    scktSend->WriteSetting(member::kBlockingSends, false);
    scktSend->WriteSetting(member::kAllowBroadcast, false);
    scktSend->WriteSetting(member::kLocalAddress, std::monostate {});
    scktSend->WriteSetting(member::kReportPeerUnreachable, false);
}

void frmMain::cmdConnect_Click()
{
    bool opened = false;
    try {
        opened = openPeerFromFields();
    } catch (const std::exception &) {
        // A fault while opening leaves the endpoint in no known state: treat it as a failed
        // open, so the operator hears of it and the endpoint ends up closed.
    }
    if (!opened)
        closeAndShowConnectFailure();
}

bool frmMain::openPeerFromFields()
{
    scktSend->SetPeerAddress(txtIpAddress->text().toStdU16String());
    scktSend->SetPeerPort(readNumber(txtIPPort->text().toStdU16String()));
    return narrowToInt16(scktSend->OpenPeer()) == 0;
}

void frmMain::closeAndShowConnectFailure()
{
    ignoringFaults([this] { scktSend->SetCommandCode(kCloseAfterFailedOpen); });
    ignoringFaults([this] { scktSend->ClosePeer(); });
    // At start-up the window is not shown yet, and the box stands on its own.
    m_notice->announce(isVisible() ? this : nullptr);
}

void frmMain::cmdDisconnect_Click()
{
    ignoringFaults([this] { scktSend->ClosePeer(); });
}

void frmMain::cmdSend_Click(int /*index*/)
{
    try {
        sendMessage();
    } catch (const std::exception &) {
        // Send never troubles the operator: any fault ends it quietly, changing nothing.
    }
}

void frmMain::sendMessage()
{
    Text message = messageText(*txtSend);
    if (!message.empty() && message.front() == u'^')
        message = ApplyCaretEscape(message);

    for (int attempt = 0; attempt < SendAttemptLimit; ++attempt) {
        if (!scktSend->CanSend())
            return;
        const std::int16_t count = narrowToInt16(message.size() + 1);
        if (narrowToInt16(scktSend->SendText(message, count)) >= 1)
            return;
        if (narrowToInt16(scktSend->LastErrorCode()) != WouldBlockError)
            return;
    }
}

} // namespace zav
