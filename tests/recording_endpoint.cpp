#include "tests/recording_endpoint.h"

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
}

void RecordingEndpoint::SetPeerPort(double port)
{
    std::ostringstream text;
    text << port;
    record("SetPeerPort", text.str());
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
    record("SendText", shown + " " + std::to_string(count));
    return sendResult == kEchoCount ? count : sendResult;
}

std::int64_t RecordingEndpoint::OpenPeer()
{
    record("OpenPeer");
    if (whileOpening)
        whileOpening();
    return openResult;
}

void RecordingEndpoint::ClosePeer()
{
    record("ClosePeer");
}

bool RecordingEndpoint::PeerNeedsLookUp() const
{
    faultIfAsked("PeerNeedsLookUp");
    return needsLookUp;
}

std::optional<std::uint32_t> RecordingEndpoint::PeerAddressOpened() const
{
    faultIfAsked("PeerAddressOpened");
    return addressOpened;
}

std::optional<ReturnedDatagram> RecordingEndpoint::ReturnedBeforeSend() const
{
    faultIfAsked("ReturnedBeforeSend");
    return returned;
}

void RecordingNotice::announce(QWidget *owner)
{
    m_log->calls.push_back("Notice");
    m_log->noticeOwners.push_back(owner);
}

} // namespace zav::testing
