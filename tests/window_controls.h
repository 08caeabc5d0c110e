#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
