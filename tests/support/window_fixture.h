#pragma once

#include "tests/support/recording_endpoint.h"
#include "tests/support/window_controls.h"
#include "window/frmMain.h"

#include <gtest/gtest.h>

#include <utility>

namespace zav::testing {

// A window over a recording endpoint, its controls found by name as a user would see them.
class WindowFixture : public ::testing::Test, protected WindowControls
{
protected:
    WindowFixture()
        : WindowControls(window),
          window(recordingEndpoint(), std::make_unique<RecordingNotice>(log),
                 [this](QThread &thread) { return threadsStart && startThread(thread); })
    { }

    std::vector<std::string> takeCalls() { return std::exchange(log->calls, {}); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    RecordingEndpoint *fake = nullptr; // owned by the window
    bool threadsStart = true;          // false: as when the system has no thread to give
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
