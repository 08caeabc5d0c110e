#pragma once

#include "endpoint/socket_endpoint.h"
#include "tests/support/look_up_fakes.h"
#include "tests/support/loopback_receiver.h"
#include "tests/support/recording_endpoint.h"
#include "tests/support/window_controls.h"
#include "window/frmMain.h"

#include <gtest/gtest.h>

namespace zav::testing {

// The real window over the real socket endpoint, started as the program starts it and then
// connected to a receiver on 127.0.0.1. The box is recorded instead of shown.
class WindowOverLoopback : public ::testing::Test, protected WindowControls
{
protected:
    WindowOverLoopback()
        : WindowControls(window),
          window(std::make_unique<SocketEndpoint>(lookUpLoopbackOnly),
                 std::make_unique<RecordingNotice>(log))
    {
        window.Form_Load();
        window.show();
        connectTo("127.0.0.1", QString::number(receiver.port()));
    }

    // How many times the box was shown since the last call.
    int takeNotices() { return static_cast<int>(std::exchange(log->calls, {}).size()); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    LoopbackReceiver receiver;
    frmMain window;
};

} // namespace zav::testing
