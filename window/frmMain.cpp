#include "window/frmMain.h"

#include "message/caret_escape.h"
#include "runtime/narrowing.h"
#include "runtime/number_reading.h"
#include "runtime/run_time_fault.h"
#include "window/app_icon.h"
#include "window/command_button.h"
#include "window/line_breaks.h"
#include "window/message_field.h"
#include "window/status_messages.h"
#include "window/twip_layout.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTime>

#include <algorithm>
#include <limits>
#include <optional>

namespace zav {

namespace {

// The client area in twips.
constexpr int kClientWidth = 7530;
constexpr int kClientHeight = 2880;

// Fields hold whatever is pasted into them: the single-line default would cut at 32,767.
constexpr int kUnlimitedLength = std::numeric_limits<int>::max();

// Runs one endpoint call whose fault must not stop the steps after it.
template<typename Call>
void ignoringFaults(Call call)
{
    try {
        call();
    } catch (const std::exception &) { }
}

// The busy pointer for as long as it lives.
class BusyPointer
{
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// A fault as the program knows it; anything else thrown counts as the endpoint's.
RunTimeFault asFault(const std::exception &thrown)
{
    if (const auto *fault = dynamic_cast<const RunTimeFault *>(&thrown))
        return *fault;
    return RunTimeFault(FaultKind::EndpointFault);
}

} // namespace

template<typename Widget>
Widget *frmMain::placed(Widget *widget, const char *name, const QRect &twips)
{
    widget->setObjectName(QString::fromLatin1(name));
    m_twipPlaces.emplace_back(widget, twips);
    return widget;
}

frmMain::frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
                 std::unique_ptr<ConnectFailureNotice> notice, QWidget *parent)
    : QWidget(parent), scktSend(std::move(endpoint)), m_notice(std::move(notice))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZAV UDP Test"));
    setWindowIcon(appIcon());

    lblIP[0] =
            placed(new QLabel(QStringLiteral("IP Address"), this), "lblIP0", {240, 360, 1695, 375});
    txtIpAddress = placed(new QLineEdit(QStringLiteral("127.0.0.1"), this), "txtIpAddress",
                          {240, 720, 1935, 375});
    lblIP[1] =
            placed(new QLabel(QStringLiteral("IP Port"), this), "lblIP1", {240, 1320, 1695, 255});
    txtIPPort = placed(new QLineEdit(QStringLiteral("2160"), this), "txtIPPort",
                       {240, 1560, 2055, 375});
    txtSend = placed(new MessageField(this), "txtSend", {3360, 360, 3495, 1575});
    cmdDisconnect = placed(new CommandButton(QStringLiteral("Disconnect"), this), "cmdDisconnect",
                           {240, 2160, 1095, 375});
    cmdConnect = placed(new CommandButton(QStringLiteral("Connect"), this), "cmdConnect",
                        {1800, 2160, 1215, 375});
    cmdSend = placed(new CommandButton(QStringLiteral("Send"), this), "cmdSend",
                     {4440, 2160, 1215, 375});
    // The one line below the buttons.
    lblStatus = placed(new QLabel(this), "lblStatus", {240, 2580, 7050, 270});
    applyLayout();

    // Screen readers name each field after its label.
    txtIpAddress->setAccessibleName(lblIP[0]->text());
    txtIPPort->setAccessibleName(lblIP[1]->text());
    txtSend->setAccessibleName(QStringLiteral("Message"));
    lblStatus->setAccessibleDescription(QStringLiteral("What the last command did"));
    lblIP[0]->setBuddy(txtIpAddress);
    lblIP[1]->setBuddy(txtIPPort);

    txtIpAddress->setMaxLength(kUnlimitedLength);
    txtIPPort->setMaxLength(kUnlimitedLength);
    txtSend->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtSend->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtSend->setTabChangesFocus(true);
    // What was typed is shown as typed, never read as markup.
    lblStatus->setTextFormat(Qt::PlainText);
    cmdSend->setToolTip(QStringLiteral("Send the message (%1)")
                                .arg(QKeySequence(Qt::CTRL | Qt::Key_Return)
                                             .toString(QKeySequence::NativeText)));

    setTabOrder(txtSend, txtIpAddress);
    setTabOrder(txtIpAddress, txtIPPort);
    setTabOrder(txtIPPort, cmdConnect);
    setTabOrder(cmdConnect, cmdSend);
    setTabOrder(cmdSend, cmdDisconnect);
    txtSend->setFocus();

    connect(cmdConnect, &QPushButton::clicked, this, [this] { cmdConnect_Click(); });
    connect(cmdDisconnect, &QPushButton::clicked, this, [this] { cmdDisconnect_Click(); });
    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(kSendButtonIndex); });
    connect(txtSend, &MessageField::sendRequested, this,
            [this] { cmdSend_Click(kSendButtonIndex); });
}

frmMain::~frmMain() = default;

QSizeF frmMain::roomNeeded(const QWidget &control) const
{
    const QFontMetricsF metrics(font());
    if (const auto *button = qobject_cast<const QPushButton *>(&control)) {
        // The caption, and what the style's frame around it takes.
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect contents =
                style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return QSizeF(metrics.horizontalAdvance(button->text()), metrics.height()) +
                QSizeF(button->size() - contents.size());
    }
    if (&control == lblStatus) // its text changes, and only what was typed may be cut short
        return {0, metrics.height()};
    if (const auto *label = qobject_cast<const QLabel *>(&control))
        return {metrics.horizontalAdvance(label->text()), metrics.height()};
    if (const auto *field = qobject_cast<const QLineEdit *>(&control))
        return {0, static_cast<qreal>(field->minimumSizeHint().height())};
    return {};
}

void frmMain::applyLayout()
{
    // Like dialog units, the scale follows the window's font: it grows with the font's size
    // against the design size, and at least so far that every caption in the font fits its
    // control (a family that is large for its size needs more). It is never below 1, and at
    // the toolkit's default font it is 1: 15 twips to the pixel.
    double scale = std::max(1.0, TwipLayout::fontScale(font()));
    for (const auto &[widget, twips] : m_twipPlaces)
        scale = std::max(scale, TwipLayout::scaleToHold(twips, roomNeeded(*widget)));
    const TwipLayout layout(scale);
    setFixedSize(layout.pixels(kClientWidth), layout.pixels(kClientHeight));
    for (const auto &[widget, twips] : m_twipPlaces)
        widget->setGeometry(layout.pixels(twips));
    // The status line's room changed with it; its whole text is kept as the tooltip.
    showStatus(lblStatus->toolTip());
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        applyLayout();
    QWidget::changeEvent(event);
}

void frmMain::showStatus(const QString &text)
{
    // Screen readers announce the change of name, and read the whole text. Only what was typed
    // or the bytes sent, which come last, can be cut short here: every message's words fit the
    // line at any font. The bytes' rows are one line here.
    lblStatus->setAccessibleName(text);
    lblStatus->setToolTip(text);
    lblStatus->setText(lblStatus->fontMetrics().elidedText(
            QString(text).replace(u'\n', u' '), Qt::ElideRight, lblStatus->contentsRect().width()));
}

void frmMain::Form_Load()
{
    try {
        writeConfiguration();
    } catch (const std::exception &thrown) {
        // An endpoint that cannot be configured cannot be opened either.
        showStatus(status::connectFault(asFault(thrown)));
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
    const QString address = txtIpAddress->text();
    const QString portText = txtIPPort->text();
    bool opened = false;
    try {
        scktSend->SetPeerAddress(address.toStdU16String());
        const double port = readNumber(portText.toStdU16String());
        scktSend->SetPeerPort(port);
        // A name look-up holds the window for up to its time limit: say so before it starts.
        std::optional<BusyPointer> busy;
        if (scktSend->PeerNeedsLookUp()) {
            busy.emplace();
            showStatus(status::lookingUp(address));
            lblStatus->repaint(); // now: the event loop is held until the look-up ends
        }
        const std::int16_t result = narrowToInt16(scktSend->OpenPeer());
        if (result == 0) {
            m_peerShown = status::peer(address, scktSend->PeerAddressOpened(), port);
            opened = true;
        }
        showStatus(opened ? status::readyToSend(m_peerShown)
                          : status::notConnected(result, address, portText));
    } catch (const std::exception &thrown) {
        // A fault while opening leaves the endpoint in no known state: treat it as a failed
        // open, so the operator hears of it and the endpoint ends up closed.
        showStatus(status::connectFault(asFault(thrown)));
    }
    if (!opened)
        closeAndShowConnectFailure();
}

void frmMain::closeAndShowConnectFailure()
{
    m_peerShown.clear();
    ignoringFaults([this] { scktSend->SetCommandCode(kCloseAfterFailedOpen); });
    ignoringFaults([this] { scktSend->ClosePeer(); });
    // At start-up the window is not shown yet, and the box stands on its own.
    m_notice->announce(isVisible() ? this : nullptr);
}

void frmMain::cmdDisconnect_Click()
{
    m_peerShown.clear();
    try {
        scktSend->ClosePeer();
        showStatus(status::disconnected());
    } catch (const std::exception &thrown) {
        showStatus(status::disconnectFault(asFault(thrown)));
    }
}

void frmMain::cmdSend_Click(int /*index*/)
{
    try {
        showStatus(sendAndDescribe());
    } catch (const std::exception &thrown) {
        // A fault ends the Send at once; only the status line tells of it.
        showStatus(status::sendFault(asFault(thrown)));
    }
}

QString frmMain::sendAndDescribe()
{
    const QString typed = txtSend->document()->toRawText();
    Text message = withLineBreaksAsSent(typed);
    if (!message.empty() && message.front() == u'^') {
        try {
            message = ApplyCaretEscape(message);
        } catch (const RunTimeFault &fault) {
            return status::caretNotEscaped(fault.kind(), message);
        }
    }

    for (int attempt = 0; attempt < SendAttemptLimit; ++attempt) {
        if (!scktSend->CanSend())
            return status::notSent(narrowToInt16(scktSend->LastErrorCode()), typed);
        std::int16_t count = 0;
        try {
            count = narrowToInt16(message.size() + 1);
        } catch (const RunTimeFault &) {
            return status::tooLong(message.size());
        }
        const std::int16_t sent = narrowToInt16(scktSend->SendText(message, count));
        if (sent >= 1)
            return status::sent(sent, m_peerShown, QTime::currentTime(), message,
                                scktSend->ReturnedBeforeSend());
        const std::int16_t code = narrowToInt16(scktSend->LastErrorCode());
        if (code != EndpointError::WouldBlockError)
            return status::notSent(code, typed);
    }
    return status::notSent(EndpointError::WouldBlockError, typed);
}

} // namespace zav
