#pragma once

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

    // Whether the status line says what is expected, where "{time}" stands for a clock time
    // and "*" for any text that is not empty.
    ::testing::AssertionResult statusSays(const QString &expected) const
    {
        QString pattern = QRegularExpression::escape(expected);
        pattern.replace(QRegularExpression::escape("{time}"), "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")
                .replace(QRegularExpression::escape("*"), ".+");
        const QString shown = statusLine()->text();
        if (QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                    .match(shown)
                    .hasMatch())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "status line says \"" << shown.toStdString()
                                             << "\", expected \"" << expected.toStdString() << "\"";
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

private:
    QWidget &m_window;
};

} // namespace zav::testing
