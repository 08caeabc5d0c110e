#pragma once

// The few differences between Winsock and BSD sockets, behind one header: socket_platform_posix.cpp
// and socket_platform_windows.cpp implement it, and CMake builds the one for the system.

#ifdef _WIN32
#    ifndef WIN32_LEAN_AND_MEAN
#        define WIN32_LEAN_AND_MEAN
#    endif
#    include <winsock2.h>
// The declarations below need those of winsock2.h first.
#    include <mstcpip.h>
#    include <mswsock.h>
#    include <ws2tcpip.h>
#else
#    include <arpa/inet.h>
#    include <cerrno>
#    include <fcntl.h>
#    include <netdb.h>
#    include <netinet/in.h>
#    include <poll.h>
#    include <sys/socket.h>
#    include <unistd.h>
#endif

#include "endpoint/datagram_endpoint.h"

#include <functional>
#include <vector>

namespace zav {

#ifdef _WIN32
using NativeSocket = SOCKET;
inline constexpr NativeSocket kNoSocket = INVALID_SOCKET;
#else
using NativeSocket = int;
inline constexpr NativeSocket kNoSocket = -1;
#endif

// Keeps the socket library started for as long as it lives (Winsock needs this; elsewhere it
// does nothing).
class SocketLibrary
{
public:
    SocketLibrary();
    ~SocketLibrary();
    SocketLibrary(const SocketLibrary &) = delete;
    SocketLibrary &operator=(const SocketLibrary &) = delete;

    [[nodiscard]] bool started() const { return m_error == 0; }
    // The system's number for why it did not start; 0 when it did.
    [[nodiscard]] int error() const { return m_error; }

private:
    int m_error = 0;
};

// A bound on the reports taken at once, should a flood of them keep coming.
inline constexpr int kMostReportsTaken = 1000;

enum class SocketFailure {
    WouldBlock,   // no room in the socket's send buffer now
    AccessDenied, // e.g. a broadcast peer without broadcast allowed
    Other,
};

// The system's own number for why the last socket call failed: errno, or Winsock's code.
[[nodiscard]] int lastSocketError();
// What such a number means to the endpoint.
[[nodiscard]] SocketFailure socketFailureOf(int error);
void closeNativeSocket(NativeSocket socket);
[[nodiscard]] bool setNonBlocking(NativeSocket socket);
// Asks the system to keep what comes back about the socket's datagrams where the endpoint can
// take it: the ICMP reports themselves on Linux, the reports on the next receive on Windows.
// False when the system refuses.
[[nodiscard]] bool keepReturnedReports(NativeSocket socket);
// Takes and clears whatever has come back about earlier datagrams, so it cannot fail the next
// send: every report, oldest first. Never waits.
[[nodiscard]] std::vector<ReturnedDatagram> takeReturned(NativeSocket socket);
// Takes whatever has arrived on the socket: drops every datagram (the program receives nothing,
// and a full receive buffer would cost later reports their details) and returns every report
// about earlier datagrams, oldest first. Never waits.
[[nodiscard]] std::vector<ReturnedDatagram> takeArrivals(NativeSocket socket);
// After a send failed with `error`: the reports of earlier datagrams, one of which failed it in
// place of this datagram's own outcome (taken and cleared), or none when the failure is the
// datagram's.
[[nodiscard]] std::vector<ReturnedDatagram> returnedBehindFailure(NativeSocket socket, int error);
// True when the socket takes a datagram now, without waiting.
[[nodiscard]] bool isWritable(NativeSocket socket);
// True when a datagram arrives within the time.
[[nodiscard]] bool waitReadable(NativeSocket socket, int milliseconds);
// One send() of the bytes on a connected socket; the count sent, or -1 with the reason in
// lastSocketError().
[[nodiscard]] long long sendBytes(NativeSocket socket, const char *bytes, std::size_t size);
using SendBytes =
        std::function<long long(NativeSocket socket, const char *bytes, std::size_t size)>;

} // namespace zav
