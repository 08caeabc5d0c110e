#include "tests/support/rows.h"
#include "tests/support/window_fixture.h"
#include "window/control_places.h"
#include "window/twip_layout.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTimer>

namespace zav::testing {
namespace {

using WindowLayout = WindowFixture;

TEST_F(WindowLayout, ShowsItsInitialContents)
{
    EXPECT_EQ(window.windowTitle(), "ZAV UDP Test");
    EXPECT_EQ(address()->text(), "127.0.0.1");
    EXPECT_EQ(port()->text(), "2160");
    EXPECT_EQ(message()->toPlainText(), "");
    EXPECT_EQ(control<QLabel>("lblIP0")->text(), "IP Address");
    EXPECT_EQ(control<QLabel>("lblIP1")->text(), "IP Port");
    EXPECT_EQ(control<QPushButton>("cmdDisconnect")->text(), "Disconnect");
    EXPECT_EQ(control<QPushButton>("cmdConnect")->text(), "Connect");
    EXPECT_EQ(control<QPushButton>("cmdSend")->text(), "Send");
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull());
    // Nothing is opened before start-up runs.
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(WindowLayout, PlacesEveryControlAtFifteenTwipsToThePixel)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(502, 192));
    for (const places::Control &place : places::kAll) {
        const places::Twips &t = place.twips;
        EXPECT_EQ(control<QWidget>(place.name)->geometry(),
                  QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15))
                << place.name;
    }
}

// Whether a text fits the room inside a control, by the metrics of the control's font.
::testing::AssertionResult fits(const QString &text, const QWidget &control, const QRect &room)
{
    const QFontMetrics metrics(control.font());
    const QSize needed(metrics.horizontalAdvance(text), metrics.height());
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
            << control.objectName().toStdString() << ": \"" << text.toStdString() << "\" needs "
            << needed.width() << "x" << needed.height() << " in " << room.width() << "x"
            << room.height();
}

// Scaled to hold a caption, a control gives it at least the pixels it needs: rounding never
// takes the last pixel of a caption away.
TEST(TwipLayoutScaling, RoomIsNeverRoundedAway)
{
    const QRect button = TwipLayout::rect(places::kDisconnect.twips);
    for (int needed = 60; needed <= 400; ++needed) {
        const TwipLayout layout(TwipLayout::scaleToHold(button, QSizeF(needed, 0)));
        ASSERT_GE(layout.pixels(button).width(), needed);
    }
}

TEST_F(WindowLayout, GrowsWithTheFontAndEveryCaptionFits)
{
    window.show();
    // A status far longer than its line (the bytes of a long message) never widens the window:
    // it is cut to fit instead.
    fake->sendResult = RecordingEndpoint::kEchoCount;
    send(QString(299, u'W'));
    // The default family at a size below the design size and at three above, and a family wide
    // for its size (monospaced).
    const QString family = window.font().family();
    const std::pair<QString, int> fonts[] = {
            {family, 7}, {family, 9}, {family, 11}, {family, 14}, {"DejaVu Sans Mono", 9}};
    for (const auto &[fontFamily, points] : fonts) {
        window.setFont(QFont(fontFamily, points));
        SCOPED_TRACE(::testing::Message()
                     << fontFamily.toStdString() << " " << points << " points");
        // Never smaller than the design, and in proportion with the font above it (within what
        // the font's own metrics round away).
        const double grown = std::max(1.0, points / TwipLayout::kDesignPointSize);
        EXPECT_GE(window.width(), 502 * grown * 0.95);
        EXPECT_GE(window.height(), 192 * grown * 0.95);
        if (points < TwipLayout::kDesignPointSize) {
            EXPECT_EQ(window.size(), QSize(502, 192));
        }
        for (const char *name : {"cmdDisconnect", "cmdConnect", "cmdSend"}) {
            const auto *button = control<QPushButton>(name);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            EXPECT_TRUE(fits(button->text(), *button,
                             button->style()->subElementRect(QStyle::SE_PushButtonContents, &option,
                                                             button)));
        }
        for (const char *name : {"lblIP0", "lblIP1"}) {
            const auto *label = control<QLabel>(name);
            EXPECT_TRUE(fits(label->text(), *label, label->contentsRect()));
        }
        // The status line shortens its text to fit; only the bytes, which come last, are cut.
        EXPECT_TRUE(statusSays("Sent 300 bytes at {time}: 57 57 *\u2026"));
    }
}

// Where the words are longer than the line at the default font, it keeps what the operator needs
// most, the address a name was found at and the name of what came back, cutting the bytes, the
// details and what was typed (in its middle) first. Its description stays.
struct KeptCase : Row
{
    std::int64_t openResult;
    std::uint32_t found;
    std::vector<ReturnedDatagram> returned;
    QString shown;
};

const KeptCase kKeptCases[] = {
        {"addressFound",
         EndpointError::kThisNetwork,
         1u,
         {},
         "Not connected: 0.0.0.0/8 means this network, not a destination: '*' (0.0.0.1)"},
        {"reportName",
         0,
         0x7F000001u,
         {ReturnedDatagram {113, IcmpReport {3, 1, 0x7F000001u}}},
         "Sent 2 bytes to * (127.0.0.1):2160 at {time} (earlier one: host unrea*"},
};

class LongWords : public WindowFixture, public ::testing::WithParamInterface<KeptCase>
{ };

TEST_P(LongWords, KeepWhatMattersMost)
{
    const KeptCase &c = GetParam();
    window.show();
    window.setFont(QFont(window.font().family(), 9));
    fake->openResult = c.openResult;
    fake->addressOpened = c.found;
    fake->returned = c.returned;
    fake->sendResult = RecordingEndpoint::kEchoCount;
    connectTo("switcher-in-the-third-studio.test", "2160");
    if (c.openResult == 0)
        send("a");
    EXPECT_TRUE(statusSays(c.shown));
    EXPECT_EQ(statusLine()->accessibleDescription(), "What the last command did");
    // A smaller font keeps the window's size; the line shows more all the same.
    const QString atDefault = statusLine()->text();
    window.setFont(QFont(window.font().family(), 7));
    EXPECT_GT(statusLine()->text().size(), atDefault.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, LongWords, ::testing::ValuesIn(kKeptCases), caseName);

TEST_F(WindowLayout, FocusStartsInMessageAndTabsRoundInOrder)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), message());

    const char *const order[] = {"txtIpAddress", "txtIPPort",     "cmdConnect",
                                 "cmdSend",      "cmdDisconnect", "txtSend"};
    for (const char *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
    }
    EXPECT_TRUE(message()->toPlainText().isEmpty()) << "Tab typed into the message";
}

TEST_F(WindowLayout, MessageWrapsWithoutScrollBars)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    message()->setPlainText(QString(2000, u'w'));
    EXPECT_EQ(message()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(message()->verticalScrollBar()->isVisible());
    EXPECT_FALSE(message()->horizontalScrollBar()->isVisible());
}

TEST_F(WindowLayout, FieldsTakeLongPastesWhole)
{
    const QString pasted(100'000, u'7');
    for (QLineEdit *field : {address(), port()}) {
        field->setText(pasted);
        EXPECT_EQ(field->text().size(), pasted.size()) << field->objectName().toStdString();
    }
}

TEST_F(WindowLayout, FieldsCarryTheirNamesForScreenReaders)
{
    const std::pair<const char *, QString> named[] = {
            {"txtIpAddress", "IP Address"}, {"txtIPPort", "IP Port"}, {"txtSend", "Message"}};
    for (const auto &[name, accessibleName] : named) {
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(control<QWidget>(name));
        ASSERT_NE(field, nullptr) << name;
        EXPECT_EQ(field->text(QAccessible::Name), accessibleName) << name;
    }
}

// Screen readers read the status line by its accessible name, which changes with every
// command (the toolkit announces each change of name) and holds the whole text; so does its
// tooltip, where the bytes sent stand 16 to a row, up to 256 of them.
TEST_F(WindowLayout, ScreenReadersHearEachStatusWhole)
{
    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(statusLine());
    ASSERT_NE(line, nullptr);
    click("cmdConnect");
    EXPECT_EQ(line->text(QAccessible::Name), "Ready to send to 127.0.0.1:2160");
    fake->openResult = EndpointError::kBadAddress;
    connectTo(QString(300, u'W'), "2160");
    EXPECT_EQ(line->text(QAccessible::Name),
              "Not connected: not a full IPv4 address or host name: '" + QString(16, u'W') +
                      "\u2026'");

    fake->sendResult = RecordingEndpoint::kEchoCount;
    send(QString(299, u'q'));
    const QString row = QStringList(16, "71").join(u' ');
    const QString whole = line->text(QAccessible::Name);
    EXPECT_TRUE(whole.startsWith("Sent 300 bytes at ")) << whole.toStdString();
    EXPECT_TRUE(whole.endsWith(": " + QStringList(16, row).join(u'\n') + " \u2026 and 44 more"))
            << whole.toStdString();
    // The tooltip shows the same text, whatever markup was typed.
    const auto shownAsTooltip = [this] {
        QTextDocument shown;
        shown.setHtml(statusLine()->toolTip());
        return shown.toPlainText();
    };
    EXPECT_EQ(shownAsTooltip(), whole);
    connectTo("<b>sw</b><br><img src=x>", "2160");
    EXPECT_EQ(shownAsTooltip(), line->text(QAccessible::Name));
    EXPECT_TRUE(shownAsTooltip().contains("'<b>sw</b><br><im")) << shownAsTooltip().toStdString();
}

// Every command by keyboard alone: Tab to it; Space, Return or Enter clicks it, once however
// long the key is held and whatever modifier is held with it. Ctrl+Return sends from anywhere.
TEST_F(WindowLayout, SpaceReturnOrEnterOnAFocusedButtonClicksItOnce)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Space, Qt::NoModifier},     {Qt::Key_Return, Qt::NoModifier},
            {Qt::Key_Enter, Qt::KeypadModifier}, // the keypad's Enter, as the keyboard sends it
            {Qt::Key_Space, Qt::ShiftModifier},  {Qt::Key_Space, Qt::ControlModifier},
            {Qt::Key_Return, Qt::ShiftModifier},
    };
    for (const auto &[key, modifiers] : keys) {
        const std::pair<int, std::string> presses[] = {
                {3, "SetPeerAddress [127.0.0.1]"}, // txtSend -> ... -> cmdConnect
                {1, "CanSend"},                    // cmdSend
                {1, "ClosePeer"},                  // cmdDisconnect
                {1, ""},                           // back in txtSend
        };
        for (const auto &[tabs, firstCall] : presses) {
            for (int i = 0; i < tabs; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (firstCall.empty())
                break;
            log->calls.clear();
            QWidget *button = QApplication::focusWidget();
            holdKey(button, key, modifiers, 4);
            EXPECT_EQ(std::count(log->calls.begin(), log->calls.end(), firstCall), 1)
                    << button->objectName().toStdString() << " key " << key;
        }
    }
    // Return pressed the moment Space is let go is a key of its own, not a repeat.
    log->calls.clear();
    auto *send = control<QPushButton>("cmdSend");
    for (const auto &[type, key] : {std::pair {QEvent::KeyPress, Qt::Key_Space},
                                    {QEvent::KeyRelease, Qt::Key_Space},
                                    {QEvent::KeyPress, Qt::Key_Return},
                                    {QEvent::KeyRelease, Qt::Key_Return}}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        event.setTimestamp(type == QEvent::KeyPress && key == Qt::Key_Space ? 1000 : 1040);
        QApplication::sendEvent(send, &event);
    }
    EXPECT_EQ(std::count(log->calls.begin(), log->calls.end(), "CanSend"), 2);
    for (const char *focused : {"txtIpAddress", "txtIPPort", "cmdConnect", "cmdDisconnect"}) {
        log->calls.clear();
        holdKey(control<QWidget>(focused), Qt::Key_Return, Qt::ControlModifier, 4);
        EXPECT_EQ(std::count(log->calls.begin(), log->calls.end(), "CanSend"), 1) << focused;
    }
}

// The real box, found as the operator would see it and answered with OK.
TEST(ConnectFailureBox, IsModalKorvaleWithOnlyOk)
{
    QString title;
    QString text;
    int buttons = 0;
    bool hasIcon = true;
    bool modal = false;
    bool okIsDefault = false;
    bool closedByHeldKey = true;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        // Return held since the Connect that failed repeats its press: the box stays.
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(box->button(QMessageBox::Ok), &repeated);
        closedByHeldKey = !box->isVisible();
        title = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        hasIcon = box->icon() != QMessageBox::NoIcon;
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        modal = box->isModal();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    makeMessageBoxNotice()->announce(nullptr);

    EXPECT_EQ(title, "Korvale");
    EXPECT_EQ(text, "Unable to connect to remote host");
    EXPECT_EQ(buttons, 1);
    EXPECT_FALSE(hasIcon);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(okIsDefault);
    EXPECT_FALSE(closedByHeldKey);
}

} // namespace
} // namespace zav::testing
