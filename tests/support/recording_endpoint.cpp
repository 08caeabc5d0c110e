#include "tests/support/recording_endpoint.h"

#include "endpoint/datagram_encoding.h"
#include "endpoint/peer_address.h"
#include "runtime/run_time_fault.h"

#include <cstdio>
#include <sstream>

namespace zav::testing {

std::string printable(TextView text)
{
    std::string out;
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'\\') {
            out += static_cast<char>(c);
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, c <= 0xFF ? "\\x%02X" : "\\u%04X",
                      static_cast<unsigned>(c));
        out += escaped;
    }
    return out;
}

void RecordingEndpoint::record(const std::string &member, const std::string &arguments) const
{
    m_log->calls.push_back(arguments.empty() ? member : member + " " + arguments);
    faultIfAsked(member);
}

void RecordingEndpoint::faultIfAsked(const std::string &member) const
{
    if (faulting.count(member))
        throw RunTimeFault(faultKind);
}

void RecordingEndpoint::WriteSetting(int memberNumber, const SettingValue &value)
{
    std::string written = "empty";
    if (const auto *flag = std::get_if<bool>(&value))
        written = *flag ? "true" : "false";
    else if (const auto *number = std::get_if<std::int16_t>(&value))
        written = std::to_string(*number);
    record("WriteSetting", std::to_string(memberNumber) + "=" + written);
}

void RecordingEndpoint::SetCommandCode(std::int16_t code)
{
    record("SetCommandCode", std::to_string(code));
}

void RecordingEndpoint::SetPeerAddress(const Text &address)
{
    record("SetPeerAddress", "[" + printable(address) + "]");
    m_address = address;
}

void RecordingEndpoint::SetPeerPort(double port)
{
    std::ostringstream text;
    text << port;
    record("SetPeerPort", text.str());
    m_port = port;
}

std::int64_t RecordingEndpoint::LastErrorCode() const
{
    record("LastErrorCode");
    return lastErrorCode;
}

bool RecordingEndpoint::CanSend()
{
    record("CanSend");
    return canSend;
}

std::int64_t RecordingEndpoint::SendText(TextView text, std::int16_t count)
{
    // Long texts are logged by length so a failure message stays readable.
    const std::string shown = text.size() > 64 ? "<" + std::to_string(text.size()) + " chars>"
                                               : "[" + printable(text) + "]";
    m_log->sends.emplace_back(Text(text), count);
    record("SendText", shown + " " + std::to_string(count));
    const std::int64_t sent = sendResult == kEchoCount ? count : sendResult;
    m_report.returned = returned;
    // The bytes the socket endpoint would send for a count of what it claims to have sent.
    if (encodeDatagram(text, sent, m_report.datagram) != DatagramEncoding::Encoded)
        m_report.datagram.clear();
    return sent;
}

std::int64_t RecordingEndpoint::OpenPeer()
{
    record("OpenPeer");
    if (whileOpening)
        whileOpening();
    m_report = {};
    m_report.addressFound = addressOpened;
    if (openResult == 0)
        m_report.peer = OpenedPeer {m_address, m_port,
                                    addressOpened ? *addressOpened
                                                  : parseDottedDecimal(m_address).value_or(0)};
    return openResult;
}

void RecordingEndpoint::ClosePeer()
{
    record("ClosePeer");
    m_report = {};
}

EndpointReport RecordingEndpoint::LastReport() const
{
    faultIfAsked("LastReport");
    return m_report;
}

std::optional<std::intptr_t> RecordingEndpoint::WatchHandle() const
{
    faultIfAsked("WatchHandle");
    return std::nullopt;
}

std::vector<ReturnedDatagram> RecordingEndpoint::TakeReturned()
{
    faultIfAsked("TakeReturned");
    return std::exchange(arrived, {});
}

void RecordingNotice::announce(QWidget *owner)
{
    m_log->calls.push_back("Notice");
    m_log->noticeOwners.push_back(owner);
}

} // namespace zav::testing
