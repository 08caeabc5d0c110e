#include "endpoint/host_look_up.h"

#include "endpoint/socket_platform.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zav {

namespace {

// What the caller and the look-up thread share; whichever finishes last frees it.
struct PendingLookUp
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    LookUpResult result;
};

#ifdef _WIN32
using AddressInfo = ADDRINFOW;

std::wstring wide(const std::string &utf8)
{
    const int size =
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

// GetAddrInfoW converts a name of other than ASCII letters itself.
int getAddressInfo(const std::string &hostName, AddressInfo **found)
{
    AddressInfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    return GetAddrInfoW(wide(hostName).c_str(), nullptr, &hints, found);
}

void freeAddressInfo(AddressInfo *found)
{
    FreeAddrInfoW(found);
}

LookUpFailure failureOf(int error)
{
    switch (error) {
    case WSAHOST_NOT_FOUND:
        return LookUpFailure::Unknown;
    case WSANO_DATA:
        return LookUpFailure::NoIPv4;
    default:
        return LookUpFailure::ServiceFailed;
    }
}
#else
using AddressInfo = addrinfo;

int getAddressInfo(const std::string &hostName, AddressInfo **found)
{
    AddressInfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
#    ifdef AI_IDN
    // Converts a name of other than ASCII letters as the name service needs it.
    hints.ai_flags = AI_IDN;
#    endif
    return getaddrinfo(hostName.c_str(), nullptr, &hints, found);
}

void freeAddressInfo(AddressInfo *found)
{
    freeaddrinfo(found);
}

LookUpFailure failureOf(int error)
{
    switch (error) {
    case EAI_NONAME:
        return LookUpFailure::Unknown;
#    ifdef EAI_IDN_ENCODE
    case EAI_IDN_ENCODE:
        return LookUpFailure::NotAHostName;
#    endif
#    ifdef EAI_NODATA
    case EAI_NODATA:
#    endif
#    ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#    endif
        return LookUpFailure::NoIPv4;
    default:
        return LookUpFailure::ServiceFailed;
    }
}
#endif

} // namespace

LookUpResult systemLookUp(const std::string &hostName)
{
    SocketLibrary library;
    if (!library.started())
        return {std::nullopt, LookUpFailure::ServiceFailed};

    AddressInfo *found = nullptr;
    if (const int error = getAddressInfo(hostName, &found); error != 0 || !found)
        return {std::nullopt, error != 0 ? failureOf(error) : LookUpFailure::NoIPv4};
    LookUpResult result {std::nullopt, LookUpFailure::NoIPv4};
    for (const AddressInfo *entry = found; entry && !result.address; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            const auto *ipv4 = reinterpret_cast<const sockaddr_in *>(entry->ai_addr);
            result = {ntohl(ipv4->sin_addr.s_addr), LookUpFailure::None};
        }
    }
    freeAddressInfo(found);
    return result;
}

LookUpResult lookUpHost(const std::string &hostName, std::chrono::milliseconds timeLimit,
                        const BlockingLookUp &lookUp)
{
    auto pending = std::make_shared<PendingLookUp>();
    try {
        std::thread([pending, hostName, lookUp] {
            LookUpResult result = lookUp(hostName);
            const std::lock_guard lock(pending->mutex);
            pending->result = result;
            pending->done = true;
            pending->finished.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return {std::nullopt, LookUpFailure::NotStarted};
    }

    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_for(lock, timeLimit, [&] { return pending->done; }))
        return {std::nullopt, LookUpFailure::TimedOut};
    return pending->result;
}

} // namespace zav
