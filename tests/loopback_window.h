#pragma once

#include "frmMain.h"
#include "loopback_receiver.h"
#include "recording_endpoint.h"
#include "socket_endpoint.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zav::testing {

// The real window over the real socket endpoint, started as the program starts it and then
// connected to a receiver on 127.0.0.1. The box is recorded instead of shown.
class WindowOverLoopback : public ::testing::Test
{
protected:
    WindowOverLoopback()
        : window(std::make_unique<SocketEndpoint>(), std::make_unique<RecordingNotice>(log))
    {
        window.Form_Load();
        window.show();
        connectTo("127.0.0.1", QString::number(receiver.port()));
    }

    template<typename Widget>
    Widget *field(const char *name)
    {
        return window.findChild<Widget *>(QString::fromLatin1(name));
    }
    void click(const char *name) { QTest::mouseClick(field<QPushButton>(name), Qt::LeftButton); }
    QPlainTextEdit *message() { return field<QPlainTextEdit>("txtSend"); }

    void connectTo(const QString &address, const QString &port)
    {
        field<QLineEdit>("txtIpAddress")->setText(address);
        field<QLineEdit>("txtIPPort")->setText(port);
        click("cmdConnect");
    }
    void send(const QString &text)
    {
        message()->setPlainText(text);
        click("cmdSend");
    }
    // How many times the box was shown since the last call.
    int takeNotices() { return static_cast<int>(std::exchange(log->calls, {}).size()); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    LoopbackReceiver receiver;
    frmMain window;
};

} // namespace zav::testing
