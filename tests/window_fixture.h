#pragma once

#include "frmMain.h"
#include "recording_endpoint.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace zav::testing {

// A window over a recording endpoint, its controls found by name as a user would see them.
class WindowFixture : public ::testing::Test
{
protected:
    WindowFixture() : window(recordingEndpoint(), std::make_unique<RecordingNotice>(log)) { }

    template<typename Widget>
    Widget *control(const char *name)
    {
        auto *widget = window.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit *address() { return control<QLineEdit>("txtIpAddress"); }
    QLineEdit *port() { return control<QLineEdit>("txtIPPort"); }
    QPlainTextEdit *message() { return control<QPlainTextEdit>("txtSend"); }
    void click(const char *button)
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    std::vector<std::string> takeCalls() { return std::exchange(log->calls, {}); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    RecordingEndpoint *fake = nullptr; // owned by the window
    frmMain window;

private:
    std::unique_ptr<DatagramEndpoint> recordingEndpoint()
    {
        auto endpoint = std::make_unique<RecordingEndpoint>(log);
        fake = endpoint.get();
        return endpoint;
    }
};

} // namespace zav::testing
