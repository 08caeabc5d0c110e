#include "window/frmMain.h"

#include "endpoint/peer_address.h"
#include "message/caret_escape.h"
#include "runtime/narrowing.h"
#include "runtime/number_reading.h"
#include "runtime/run_time_fault.h"
#include "window/app_icon.h"
#include "window/command_button.h"
#include "window/line_breaks.h"
#include "window/message_field.h"
#include "window/status_line.h"
#include "window/status_messages.h"
#include "window/twip_layout.h"

#include <QCloseEvent>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QThread>
#include <QTime>

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <utility>

namespace zav {

namespace {

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

bool startThread(QThread &thread)
{
    thread.start();
    // A thread the system could not start is neither running nor finished.
    return thread.isRunning() || thread.isFinished();
}

template<typename Widget>
Widget *frmMain::placed(Widget *widget, const places::Control &place)
{
    widget->setObjectName(QString::fromLatin1(place.name));
    m_twipPlaces.emplace_back(widget, TwipLayout::rect(place.twips));
    return widget;
}

frmMain::frmMain(std::unique_ptr<DatagramEndpoint> endpoint,
                 std::unique_ptr<ConnectFailureNotice> notice, StartThread start, QWidget *parent)
    : QWidget(parent),
      scktSend(std::move(endpoint)),
      m_notice(std::move(notice)),
      m_startThread(std::move(start))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZAV UDP Test"));
    setWindowIcon(appIcon());

    const auto caption = [](const places::Control &place) {
        return QString::fromLatin1(place.caption);
    };
    lblIP[0] = placed(new QLabel(caption(places::kAddressLabel), this), places::kAddressLabel);
    txtIpAddress = placed(new QLineEdit(caption(places::kAddress), this), places::kAddress);
    lblIP[1] = placed(new QLabel(caption(places::kPortLabel), this), places::kPortLabel);
    txtIPPort = placed(new QLineEdit(caption(places::kPort), this), places::kPort);
    txtSend = placed(new MessageField(this), places::kMessage);
    cmdDisconnect =
            placed(new CommandButton(caption(places::kDisconnect), this), places::kDisconnect);
    cmdConnect = placed(new CommandButton(caption(places::kConnect), this), places::kConnect);
    cmdSend = placed(new CommandButton(caption(places::kSend), this), places::kSend);
    lblStatus = placed(new StatusLine(this), places::kStatus);
    applyLayout();

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
    // The send keys work wherever the focus is.
    for (QWidget *control : std::initializer_list<QWidget *> {txtSend, txtIpAddress, txtIPPort,
                                                              cmdConnect, cmdSend, cmdDisconnect})
        control->installEventFilter(this);
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
    setFixedSize(layout.pixels(places::kClientArea.width),
                 layout.pixels(places::kClientArea.height));
    for (const auto &[widget, twips] : m_twipPlaces)
        widget->setGeometry(layout.pixels(twips));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease)
        m_heldKey.released(*static_cast<QKeyEvent *>(event));
    if (event->type() != QEvent::KeyPress || !isSendShortcut(*static_cast<QKeyEvent *>(event)))
        return QWidget::eventFilter(watched, event);
    if (!m_heldKey.repeats(*static_cast<QKeyEvent *>(event)))
        cmdSend_Click(kSendButtonIndex);
    return true;
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        applyLayout();
    QWidget::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_opening) {
        m_closeAsked = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmMain::showOutcome(const outcome::Outcome &outcome)
{
    m_shown = outcome;
    m_cameBack = {};
    if (const auto *sent = std::get_if<outcome::Sent>(&outcome))
        m_lastSent = outcome::SentDatagram {sent->peer, sent->at};
    else
        m_cameBack.about = m_lastSent;
    lblStatus->setWords(status::describeMarked(m_shown, m_cameBack));
}

void frmMain::watchEndpoint()
{
    std::optional<std::intptr_t> handle;
    ignoringFaults([&] { handle = scktSend->WatchHandle(); });
    if (!handle)
        return;
    m_watch = new QSocketNotifier(static_cast<qintptr>(*handle), QSocketNotifier::Read, this);
    connect(m_watch, &QSocketNotifier::activated, this, &frmMain::takeWhatArrived);
}

void frmMain::unwatchEndpoint()
{
    delete m_watch;
    m_watch = nullptr;
    // Nothing more can come back about what the closed endpoint sent.
    m_lastSent.reset();
}

void frmMain::takeWhatArrived()
{
    std::vector<ReturnedDatagram> reports;
    ignoringFaults([&] { reports = scktSend->TakeReturned(); });
    if (reports.empty())
        return;
    // Told at once with whatever the line tells, and kept no longer than the line tells it.
    m_cameBack.reports.add(reports);
    lblStatus->setWords(status::describeMarked(m_shown, m_cameBack));
}

bool frmMain::takenAfterTheLookUp(void (frmMain::*command)())
{
    if (!m_opening)
        return false;
    m_takenAfter.push_back(command);
    return true;
}

void frmMain::runCommandsTakenAfter()
{
    for (const auto command : std::exchange(m_takenAfter, {}))
        (this->*command)();
}

void frmMain::Form_Load()
{
    try {
        writeConfiguration();
    } catch (const std::exception &thrown) {
        // An endpoint that cannot be configured cannot be opened either.
        showOutcome(outcome::Faulted {outcome::Command::Connect, asFault(thrown)});
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
    if (takenAfterTheLookUp(&frmMain::cmdConnect_Click))
        return;
    unwatchEndpoint();
    const outcome::Outcome opened = openTowardsFields();
    showOutcome(opened);
    const bool failed = !std::holds_alternative<outcome::Opened>(opened);
    if (std::exchange(m_closeAsked, false)) {
        // The operator closed the window while the look-up ran: no box, the program ends.
        m_takenAfter.clear();
        if (failed)
            closeAfterFailedOpen();
        close();
        return;
    }
    if (failed)
        closeAndShowConnectFailure();
    else
        watchEndpoint();
    if (!m_takenAfter.empty())
        QMetaObject::invokeMethod(this, &frmMain::runCommandsTakenAfter, Qt::QueuedConnection);
}

outcome::Outcome frmMain::openTowardsFields()
{
    const QString address = txtIpAddress->text();
    const QString portText = txtIPPort->text();
    try {
        const Text typed = address.toStdU16String();
        scktSend->SetPeerAddress(typed);
        scktSend->SetPeerPort(readNumber(portText.toStdU16String()));
        std::int64_t opened = 0;
        if (needsLookUp(typed)) {
            const BusyPointer busy;
            showOutcome(outcome::LookingUp {address});
            opened = openWhileTheWindowAnswers();
        } else {
            opened = scktSend->OpenPeer();
        }
        const std::int16_t result = narrowToInt16(opened);
        if (result != 0)
            return outcome::NotOpened {result, address, portText,
                                       scktSend->LastReport().addressFound};
        return outcome::Opened {scktSend->LastReport().peer};
    } catch (const std::exception &thrown) {
        // A fault while opening leaves the endpoint in no known state: treat it as a failed
        // open, so the operator hears of it and the endpoint ends up closed.
        return outcome::Faulted {outcome::Command::Connect, asFault(thrown)};
    }
}

std::int64_t frmMain::openWhileTheWindowAnswers()
{
    // A name look-up may take up to its time limit. The open runs on a thread of its own while
    // the window repaints and answers screen readers; the operator's input waits until it ends
    // (see takenAfterTheLookUp), so the handler still runs to its end before the next command.
    std::int64_t result = 0;
    std::exception_ptr fault;
    const auto open = [&] {
        try {
            result = scktSend->OpenPeer();
        } catch (...) {
            fault = std::current_exception();
        }
    };
    const std::unique_ptr<QThread> opening(QThread::create(open));
    QEventLoop waiting;
    connect(opening.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    m_opening = true;
    if (m_startThread(*opening)) {
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
        opening->wait();
    } else {
        // No thread to be had: the open runs here, its look-up still bounded by its time limit.
        repaint();
        open();
    }
    m_opening = false;
    if (fault)
        std::rethrow_exception(fault);
    return result;
}

void frmMain::closeAfterFailedOpen()
{
    unwatchEndpoint();
    ignoringFaults([this] { scktSend->SetCommandCode(kCloseAfterFailedOpen); });
    ignoringFaults([this] { scktSend->ClosePeer(); });
}

void frmMain::closeAndShowConnectFailure()
{
    closeAfterFailedOpen();
    // At start-up the window is not shown yet, and the box stands on its own.
    m_notice->announce(isVisible() ? this : nullptr);
}

void frmMain::cmdDisconnect_Click()
{
    if (takenAfterTheLookUp(&frmMain::cmdDisconnect_Click))
        return;
    unwatchEndpoint();
    try {
        scktSend->ClosePeer();
        showOutcome(outcome::Disconnected {});
    } catch (const std::exception &thrown) {
        showOutcome(outcome::Faulted {outcome::Command::Disconnect, asFault(thrown)});
    }
}

void frmMain::sendFromTheButton()
{
    cmdSend_Click(kSendButtonIndex);
}

void frmMain::cmdSend_Click(int /*index*/)
{
    if (takenAfterTheLookUp(&frmMain::sendFromTheButton))
        return;
    try {
        showOutcome(sendMessageField());
    } catch (const std::exception &thrown) {
        // A fault ends the Send at once; only the status line tells of it.
        showOutcome(outcome::Faulted {outcome::Command::Send, asFault(thrown)});
    }
}

outcome::Outcome frmMain::sendMessageField()
{
    const QString typed = txtSend->document()->toRawText();
    Text message = withLineBreaksAsSent(typed);
    const bool escaped = !message.empty() && message.front() == u'^';
    if (escaped) {
        try {
            message = ApplyCaretEscape(message);
        } catch (const RunTimeFault &fault) {
            return outcome::CaretRefused {fault.kind(), std::move(message)};
        }
    }

    for (int attempt = 0; attempt < SendAttemptLimit; ++attempt) {
        if (!scktSend->CanSend())
            return outcome::NotSent {narrowToInt16(scktSend->LastErrorCode())};
        std::int16_t count = 0;
        try {
            count = narrowToInt16(message.size() + 1);
        } catch (const RunTimeFault &) {
            // Counted as typed: a line break, or a character above U+FFFF, is one.
            const auto pairs = static_cast<std::size_t>(std::count_if(
                    typed.begin(), typed.end(), [](QChar c) { return c.isLowSurrogate(); }));
            return outcome::TooLong {static_cast<std::size_t>(typed.size()) - pairs,
                                     message.size()};
        }
        const std::int16_t sent = narrowToInt16(scktSend->SendText(message, count));
        EndpointReport report = scktSend->LastReport();
        if (sent >= 1)
            return outcome::Sent {sent, std::move(report.datagram), std::move(report.peer),
                                  QTime::currentTime(), report.returned};
        const std::int16_t code = narrowToInt16(scktSend->LastErrorCode());
        if (code != EndpointError::WouldBlockError)
            return outcome::NotSent {code, std::move(message), report.notAByteAt, escaped,
                                     report.returned};
    }
    return outcome::NotSent {EndpointError::WouldBlockError};
}

} // namespace zav
