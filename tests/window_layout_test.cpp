#include "tests/window_fixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
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

struct Placement
{
    const char *name;
    QRect twips; // left, top, width, height in twips
};

const Placement kPlacements[] = {
        {"lblIP0", {240, 360, 1695, 375}},       {"txtIpAddress", {240, 720, 1935, 375}},
        {"lblIP1", {240, 1320, 1695, 255}},      {"txtIPPort", {240, 1560, 2055, 375}},
        {"txtSend", {3360, 360, 3495, 1575}},    {"cmdDisconnect", {240, 2160, 1095, 375}},
        {"cmdConnect", {1800, 2160, 1215, 375}}, {"cmdSend", {4440, 2160, 1215, 375}},
};

TEST_F(WindowLayout, PlacesEveryControlAtFifteenTwipsToThePixel)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(7530 / 15, 2880 / 15));
    for (const Placement &p : kPlacements) {
        const QRect &t = p.twips;
        EXPECT_EQ(control<QWidget>(p.name)->geometry(),
                  QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15))
                << p.name;
    }
}

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

// Every command by keyboard alone: Tab to it, Space clicks it.
TEST_F(WindowLayout, SpaceOnAFocusedButtonClicksIt)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::pair<int, std::string> presses[] = {
            {3, "SetPeerAddress [127.0.0.1]"}, // txtSend -> ... -> cmdConnect
            {1, "CanSend"},                    // cmdSend
            {1, "ClosePeer"},                  // cmdDisconnect
    };
    for (const auto &[tabs, firstCall] : presses) {
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        log->calls.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        ASSERT_FALSE(log->calls.empty()) << QApplication::focusWidget()->objectName().toStdString();
        EXPECT_EQ(log->calls.front(), firstCall);
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
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
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
}

} // namespace
} // namespace zav::testing
