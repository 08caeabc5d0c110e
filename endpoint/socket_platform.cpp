#include "endpoint/socket_platform.h"

namespace zav {

#ifdef _WIN32

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
    case WSAENOBUFS:
        return SocketFailure::WouldBlock;
    case WSAECONNRESET:
    case WSAECONNREFUSED:
        return SocketFailure::PeerUnreachable;
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

void ignorePeerUnreachable(NativeSocket socket)
{
    BOOL report = FALSE;
    DWORD returned = 0;
    WSAIoctl(socket, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr,
             nullptr);
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

#else

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
#    if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#    endif
    case ENOBUFS:
        return SocketFailure::WouldBlock;
    case ECONNREFUSED:
        return SocketFailure::PeerUnreachable;
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

void ignorePeerUnreachable(NativeSocket)
{
    // A connected socket here still returns the report once, on the next send; the endpoint
    // sends again when that happens.
}

bool isWritable(NativeSocket socket)
{
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

#endif

} // namespace zav
