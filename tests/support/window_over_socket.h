#pragma once

#include "endpoint/socket_endpoint.h"
#include "tests/support/look_up_fakes.h"
#include "tests/support/loopback_receiver.h"
#include "tests/support/recording_endpoint.h"
#include "tests/support/rows.h"
#include "tests/support/window_controls.h"
#include "window/frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace zav::testing {

// The real window over the real socket endpoint, started as the program starts it. The box is
// recorded instead of shown. Names are looked up by `lookUp`: the system's only where the test
// has a name service of its own.
class WindowOverSocket : public ::testing::Test, protected WindowControls
{
protected:
    explicit WindowOverSocket(BlockingLookUp lookUp = lookUpLoopbackOnly)
        : WindowControls(window),
          window(socketEndpoint(std::move(lookUp)), std::make_unique<RecordingNotice>(log))
    {
        window.Form_Load();
        window.show();
    }

    // How many times the box was shown since the last call.
    int takeNotices() { return static_cast<int>(std::exchange(log->calls, {}).size()); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    SocketEndpoint *endpoint = nullptr; // owned by the window
    frmMain window;

private:
    std::unique_ptr<DatagramEndpoint> socketEndpoint(BlockingLookUp lookUp)
    {
        auto made = std::make_unique<SocketEndpoint>(std::move(lookUp));
        endpoint = made.get();
        return made;
    }
};

// The same, connected to a receiver on 127.0.0.1.
class WindowOverLoopback : public WindowOverSocket
{
protected:
    WindowOverLoopback() { connectTo("127.0.0.1", QString::number(receiver.port())); }

    LoopbackReceiver receiver;
};

} // namespace zav::testing
