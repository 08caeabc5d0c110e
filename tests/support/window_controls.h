#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace zav::testing {

// A window's controls, found by their names and used as an operator would use them.
class WindowControls
{
public:
    // Only keeps the reference: the window may still be under construction.
    explicit WindowControls(QWidget &window) : m_window(window) { }

    template<typename Widget>
    Widget *control(const char *name) const
    {
        auto *widget = m_window.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit *address() const { return control<QLineEdit>("txtIpAddress"); }
    QLineEdit *port() const { return control<QLineEdit>("txtIPPort"); }
    QPlainTextEdit *message() const { return control<QPlainTextEdit>("txtSend"); }
    QLabel *statusLine() const { return control<QLabel>("lblStatus"); }

    // Whether the status line shows what is expected, where "{time}" stands for a clock time
    // and "*" for any text that is not empty.
    ::testing::AssertionResult statusSays(const QString &expected) const
    {
        return matches(statusLine()->text(), expected);
    }
    // The same for the status line's whole text, which screen readers hear, up to its first line
    // break.
    ::testing::AssertionResult wholeStatusSays(const QString &expected) const
    {
        return matches(statusLine()->accessibleName().section(u'\n', 0, 0), expected);
    }

    void click(const char *button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    void connectTo(const QString &addressText, const QString &portText) const
    {
        address()->setText(addressText);
        port()->setText(portText);
        click("cmdConnect");
    }
    void send(const QString &text) const
    {
        message()->setPlainText(text);
        click("cmdSend");
    }

    // Holds a key down while the keyboard repeats it, as X11 delivers that: each repeat is a
    // release and a press at one moment, which the toolkit marks as repeated only at times.
    static void holdKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers, int repeats)
    {
        const auto deliver = [&](QEvent::Type type, quint64 at, bool marked) {
            QKeyEvent event(type, key, modifiers, QString(), marked);
            event.setTimestamp(at);
            QApplication::sendEvent(widget, &event);
        };
        quint64 at = 1000;
        deliver(QEvent::KeyPress, at, false);
        for (int repeat = 0; repeat < repeats; ++repeat) {
            at += 40;
            deliver(QEvent::KeyRelease, at, repeat % 2 == 0);
            deliver(QEvent::KeyPress, at, repeat % 2 == 0);
        }
        deliver(QEvent::KeyRelease, at + 40, false);
    }

private:
    static ::testing::AssertionResult matches(const QString &shown, const QString &expected)
    {
        QString pattern = QRegularExpression::escape(expected);
        pattern.replace(QRegularExpression::escape("{time}"), "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")
                .replace(QRegularExpression::escape("*"), ".+");
        if (QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                    .match(shown)
                    .hasMatch())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "status line says \"" << shown.toStdString()
                                             << "\", expected \"" << expected.toStdString() << "\"";
    }

    QWidget &m_window;
};

} // namespace zav::testing
