// The endpoint's platform layer over Winsock.

#include "endpoint/socket_platform.h"

namespace zav {

#ifndef SIO_UDP_NETRESET
// Declared by the Windows SDK's mstcpip.h, not yet by mingw-w64's.
#    define SIO_UDP_NETRESET _WSAIOW(IOC_VENDOR, 15)
#endif

SocketLibrary::SocketLibrary()
{
    WSADATA data;
    m_error = WSAStartup(MAKEWORD(2, 2), &data);
}

SocketLibrary::~SocketLibrary()
{
    if (started())
        WSACleanup();
}

int lastSocketError()
{
    return WSAGetLastError();
}

SocketFailure socketFailureOf(int error)
{
    switch (error) {
    case WSAEWOULDBLOCK:
        return SocketFailure::WouldBlock;
    case WSAEACCES:
        return SocketFailure::AccessDenied;
    default:
        return SocketFailure::Other;
    }
}

void closeNativeSocket(NativeSocket socket)
{
    closesocket(socket);
}

bool setNonBlocking(NativeSocket socket)
{
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
}

namespace {

// The codes with which Winsock hands over a report of an earlier datagram: port unreachable
// (reset; refused under wine), time to live exceeded (network reset), and the unreachables.
bool isReturnReport(int error)
{
    return error == WSAECONNRESET || error == WSAECONNREFUSED || error == WSAENETRESET ||
            error == WSAEHOSTUNREACH || error == WSAENETUNREACH;
}

// What Winsock's words for a report mean for a datagram: a reset is a port unreachable (under
// wine, a refusal), a network reset a time to live exceeded.
ReturnMeaning meaningOf(int error)
{
    switch (error) {
    case WSAECONNRESET:
    case WSAECONNREFUSED:
        return ReturnMeaning::PortUnreachable;
    case WSAENETRESET:
        return ReturnMeaning::TimeToLiveExceeded;
    case WSAEHOSTUNREACH:
        return ReturnMeaning::HostUnreachable;
    case WSAENETUNREACH:
        return ReturnMeaning::NetworkUnreachable;
    default:
        return ReturnMeaning::Unknown;
    }
}

bool hasSomethingToReceive(NativeSocket socket)
{
    WSAPOLLFD entry {};
    entry.fd = socket;
    entry.events = POLLRDNORM;
    return WSAPoll(&entry, 1, 0) == 1 && entry.revents != 0;
}

} // namespace

bool keepReturnedReports(NativeSocket socket)
{
    // Both are reported on the next receive, where takeReturned finds them; an older system
    // without them still sends.
    BOOL on = TRUE;
    DWORD returned = 0;
    WSAIoctl(socket, SIO_UDP_CONNRESET, &on, sizeof on, nullptr, 0, &returned, nullptr, nullptr);
    WSAIoctl(socket, SIO_UDP_NETRESET, &on, sizeof on, nullptr, 0, &returned, nullptr, nullptr);
    return true;
}

std::vector<ReturnedDatagram> takeReturned(NativeSocket socket)
{
    // What arrives on the socket is read and dropped (the program receives nothing); a report
    // makes a read fail with its code. Asking first keeps a blocking socket from waiting.
    std::vector<ReturnedDatagram> reports;
    for (int read = 0; read < kMostReportsTaken && hasSomethingToReceive(socket); ++read) {
        char byte = 0;
        if (recv(socket, &byte, 1, 0) >= 0)
            continue;
        const int error = WSAGetLastError();
        if (isReturnReport(error))
            reports.emplace_back(error, std::nullopt, meaningOf(error));
        else if (error != WSAEMSGSIZE) // a longer datagram, dropped all the same
            break;
    }
    return reports;
}

std::vector<ReturnedDatagram> takeArrivals(NativeSocket socket)
{
    return takeReturned(socket);
}

std::vector<ReturnedDatagram> returnedBehindFailure(NativeSocket socket, int error)
{
    if (!isReturnReport(error))
        return {};
    // Under wine the system's pending report fails the send itself.
    std::vector<ReturnedDatagram> later = takeReturned(socket);
    if (later.empty())
        later.emplace_back(error, std::nullopt, meaningOf(error));
    return later;
}

bool isWritable(NativeSocket socket)
{
    WSAPOLLFD entry {};
    entry.fd = socket;
    entry.events = POLLWRNORM;
    return WSAPoll(&entry, 1, 0) == 1 && (entry.revents & POLLWRNORM);
}

bool waitReadable(NativeSocket socket, int milliseconds)
{
    WSAPOLLFD entry {};
    entry.fd = socket;
    entry.events = POLLRDNORM;
    return WSAPoll(&entry, 1, milliseconds) == 1 && (entry.revents & POLLRDNORM);
}

long long sendBytes(NativeSocket socket, const char *bytes, std::size_t size)
{
    return send(socket, bytes, static_cast<int>(size), 0);
}

} // namespace zav
