#pragma once

#include "endpoint/datagram_endpoint.h"
#include "runtime/run_time_fault.h"
#include "window/connect_failure_notice.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zav::testing {

// What the window did to its endpoint and its operator, one line per call, in order.
struct CallLog
{
    std::vector<std::string> calls;
    std::vector<QWidget *> noticeOwners;
    // Each SendText's text and count, whole.
    std::vector<std::pair<Text, std::int16_t>> sends;
};

// Plays the endpoint: records every call and answers as a test tells it to.
class RecordingEndpoint final : public DatagramEndpoint
{
public:
    explicit RecordingEndpoint(std::shared_ptr<CallLog> log) : m_log(std::move(log)) { }

    std::int64_t openResult = 0;
    bool canSend = true;
    std::int64_t sendResult = 1; // below 1: failure; kEchoCount: the count given
    std::int64_t lastErrorCode = 0;
    // What the report tells after an open that succeeds: where to, by the address and port
    // written and this address (the dotted address written when not given).
    std::optional<std::uint32_t> addressOpened;
    // What the report tells after a send: what had come back before it. A send that succeeds
    // reports the bytes of its text, cut to what it claims to have sent.
    std::vector<ReturnedDatagram> returned;
    // What TakeReturned hands out next, once.
    std::vector<ReturnedDatagram> arrived;
    // Run inside OpenPeer, to see the window while an open waits.
    std::function<void()> whileOpening;
    // Members (by name, as logged) that throw RunTimeFault(faultKind) when called.
    std::set<std::string> faulting;
    FaultKind faultKind = FaultKind::EndpointFault;

    static constexpr std::int64_t kEchoCount = -99999;

    void WriteSetting(int memberNumber, const SettingValue &value) override;
    void SetCommandCode(std::int16_t code) override;
    void SetPeerAddress(const Text &address) override;
    void SetPeerPort(double port) override;
    [[nodiscard]] std::int64_t LastErrorCode() const override;
    [[nodiscard]] bool CanSend() override;
    [[nodiscard]] std::int64_t SendText(TextView text, std::int16_t count) override;
    [[nodiscard]] std::int64_t OpenPeer() override;
    void ClosePeer() override;
    [[nodiscard]] EndpointReport LastReport() const override;
    [[nodiscard]] std::optional<std::intptr_t> WatchHandle() const override;
    [[nodiscard]] std::vector<ReturnedDatagram> TakeReturned() override;

private:
    void record(const std::string &member, const std::string &arguments = {}) const;
    void faultIfAsked(const std::string &member) const;

    std::shared_ptr<CallLog> m_log;
    Text m_address;
    double m_port = 0;
    EndpointReport m_report;
};

// Stands in for the message box: records that it was shown, and over which window.
class RecordingNotice final : public ConnectFailureNotice
{
public:
    explicit RecordingNotice(std::shared_ptr<CallLog> log) : m_log(std::move(log)) { }
    void announce(QWidget *owner) override;

private:
    std::shared_ptr<CallLog> m_log;
};

// Shows text with control and non-ASCII characters as \xNN or \uNNNN.
[[nodiscard]] std::string printable(TextView text);

} // namespace zav::testing
