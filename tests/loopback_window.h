#pragma once

#include "endpoint/socket_endpoint.h"
#include "tests/loopback_receiver.h"
#include "tests/recording_endpoint.h"
#include "tests/window_controls.h"
#include "window/frmMain.h"

#include <gtest/gtest.h>

namespace zav::testing {

// Host names answered without the name service, which is not on this machine: "localhost" and
// the names under it are 127.0.0.1, and no other name is known.
inline std::optional<std::uint32_t> lookUpLoopbackOnly(const std::string &hostName)
{
    const std::string under = ".localhost";
    if (hostName == "localhost" ||
        (hostName.size() > under.size() &&
         hostName.compare(hostName.size() - under.size(), under.size(), under) == 0))
        return 0x7F000001u;
    return std::nullopt;
}

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
