// The endpoint's platform layer over BSD sockets; on Linux the error queue gives each report's
// ICMP details.

#include "endpoint/socket_platform.h"

#ifdef __linux__
#    include <linux/errqueue.h>
#    include <linux/sockios.h>
#    include <sys/ioctl.h>
#endif

#include <cstring>

namespace zav {

SocketLibrary::SocketLibrary() = default;

SocketLibrary::~SocketLibrary() = default;

int lastSocketError()
{
    return errno;
}

SocketFailure socketFailureOf(int error)
{
    switch (error) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return SocketFailure::WouldBlock;
    case EACCES:
        return SocketFailure::AccessDenied;
    default:
        return SocketFailure::Other;
    }
}

void closeNativeSocket(NativeSocket socket)
{
    close(socket);
}

bool setNonBlocking(NativeSocket socket)
{
    const int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

#ifdef __linux__

namespace {

// Takes every entry of the socket's error queue, where the system keeps each ICMP report with
// the address that sent it and where the datagram it concerns went, oldest first. Taking the
// last entry also clears the error the reports left pending.
std::vector<ReturnedDatagram> takeErrorQueue(NativeSocket socket)
{
    std::vector<ReturnedDatagram> reports;
    for (int taken = 0; taken < kMostReportsTaken; ++taken) {
        alignas(cmsghdr) char control[256];
        sockaddr_in destination {};
        msghdr message {};
        message.msg_name = &destination;
        message.msg_namelen = sizeof destination;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (recvmsg(socket, &message, MSG_ERRQUEUE | MSG_DONTWAIT) < 0)
            break;
        std::optional<DatagramDestination> sentTo;
        if (message.msg_namelen >= sizeof destination && destination.sin_family == AF_INET)
            sentTo = DatagramDestination {ntohl(destination.sin_addr.s_addr),
                                          ntohs(destination.sin_port)};
        for (cmsghdr *entry = CMSG_FIRSTHDR(&message); entry;
             entry = CMSG_NXTHDR(&message, entry)) {
            if (entry->cmsg_level != IPPROTO_IP || entry->cmsg_type != IP_RECVERR)
                continue;
            sock_extended_err report {};
            std::memcpy(&report, CMSG_DATA(entry), sizeof report);
            if (report.ee_origin != SO_EE_ORIGIN_ICMP)
                continue; // the system's own refusal of a datagram, which its send returned
            sockaddr_in sender {};
            std::memcpy(&sender, CMSG_DATA(entry) + sizeof report, sizeof sender);
            reports.emplace_back(static_cast<int>(report.ee_errno),
                                 IcmpReport {report.ee_type, report.ee_code,
                                             ntohl(sender.sin_addr.s_addr), report.ee_info},
                                 ReturnMeaning::Unknown, sentTo);
        }
    }
    return reports;
}

// Each report is queued with its details, once the socket asks for them.
constexpr bool kErrorQueueKept = true;

} // namespace

bool keepReturnedReports(NativeSocket socket)
{
    const int on = 1;
    return setsockopt(socket, IPPROTO_IP, IP_RECVERR, &on, sizeof on) == 0;
}

#else

namespace {
std::vector<ReturnedDatagram> takeErrorQueue(NativeSocket)
{
    return {};
}
constexpr bool kErrorQueueKept = false;
} // namespace

bool keepReturnedReports(NativeSocket)
{
    return true;
}

#endif

namespace {

// What the error a report left pending means for a datagram, when its details are not queued.
ReturnMeaning meaningOf(int error)
{
    switch (error) {
    case ECONNREFUSED:
        return ReturnMeaning::PortUnreachable;
    case EHOSTUNREACH:
        return ReturnMeaning::HostUnreachable;
    case ENETUNREACH:
        return ReturnMeaning::NetworkUnreachable;
    default:
        return ReturnMeaning::Unknown;
    }
}

// Takes and clears the error a report left pending: 0 when there is none.
int takePendingError(NativeSocket socket)
{
    int pending = 0;
    socklen_t size = sizeof pending;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &pending, &size) != 0)
        return 0;
    return pending;
}

} // namespace

// A report whose error was taken: the queued entries that came in since, or where the system
// keeps no queue, the report as its error tells it. Where it keeps one, an error whose entry is
// not queued is one already taken (a report sets its error after queuing it, so a reader can
// take the entry first), and is not told again.
std::vector<ReturnedDatagram> reportBehindError(NativeSocket socket, int error)
{
    std::vector<ReturnedDatagram> queued = takeErrorQueue(socket);
    if (queued.empty() && !kErrorQueueKept)
        queued.emplace_back(error, std::nullopt, meaningOf(error));
    return queued;
}

std::vector<ReturnedDatagram> takeReturned(NativeSocket socket)
{
    // The queue is read whatever the pending error says: a report may be queued while its error
    // was already taken (by a failed read, say), and one left queued keeps the socket signalling.
    std::vector<ReturnedDatagram> reports = takeErrorQueue(socket);
    if (const int pending = takePendingError(socket); pending != 0) {
        const std::vector<ReturnedDatagram> later = reportBehindError(socket, pending);
        reports.insert(reports.end(), later.begin(), later.end());
    }
    return reports;
}

std::vector<ReturnedDatagram> takeArrivals(NativeSocket socket)
{
    std::vector<ReturnedDatagram> reports = takeReturned(socket);
    // Each datagram whole, into one byte: MSG_TRUNC drops the rest. A read that fails for a
    // report that came in meanwhile took that report's error: its details are in the queue.
    for (int read = 0; read < kMostReportsTaken; ++read) {
        char byte = 0;
        if (recv(socket, &byte, 1, MSG_DONTWAIT | MSG_TRUNC) >= 0)
            continue;
        const int error = errno;
        if (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)
            break;
        const std::vector<ReturnedDatagram> late = reportBehindError(socket, error);
        reports.insert(reports.end(), late.begin(), late.end());
    }
    return reports;
}

std::vector<ReturnedDatagram> returnedBehindFailure(NativeSocket socket, int error)
{
    // A report that arrived after takeReturned failed the send; the queue tells it from the
    // datagram's own refusal. Without a queue, only port unreachable is surely a report.
    std::vector<ReturnedDatagram> queued = takeErrorQueue(socket);
    if (queued.empty() && error == ECONNREFUSED)
        queued.emplace_back(error, std::nullopt, ReturnMeaning::PortUnreachable);
    return queued;
}

bool isWritable(NativeSocket socket)
{
#ifdef SIOCOUTQ
    // The system takes a datagram while what waits in the send buffer is below the buffer's
    // size; it reports the socket writable only below half of it.
    int queued = 0;
    int size = 0;
    socklen_t sizeSize = sizeof size;
    if (ioctl(socket, SIOCOUTQ, &queued) == 0 &&
        getsockopt(socket, SOL_SOCKET, SO_SNDBUF, &size, &sizeSize) == 0)
        return queued < size;
#endif
    pollfd entry {};
    entry.fd = socket;
    entry.events = POLLOUT;
    return poll(&entry, 1, 0) == 1 && (entry.revents & POLLOUT);
}

bool waitReadable(NativeSocket socket, int milliseconds)
{
    pollfd entry {};
    entry.fd = socket;
    entry.events = POLLIN;
    return poll(&entry, 1, milliseconds) == 1 && (entry.revents & POLLIN);
}

long long sendBytes(NativeSocket socket, const char *bytes, std::size_t size)
{
    return send(socket, bytes, size, MSG_NOSIGNAL);
}

} // namespace zav
