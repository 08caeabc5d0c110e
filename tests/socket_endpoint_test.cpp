#include "endpoint/socket_endpoint.h"
#include "tests/support/look_up_fakes.h"
#include "tests/support/loopback_receiver.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#    include <sys/ioctl.h>
#endif

#include <cmath>
#include <future>
#include <limits>

namespace zav::testing {
namespace {

// An endpoint configured as the window configures it, aimed at a loopback port.
std::unique_ptr<SocketEndpoint> endpointTowards(const Text &address, double port,
                                                BlockingLookUp lookUp = localhostFromTheSystem)
{
    auto endpoint = std::make_unique<SocketEndpoint>(std::move(lookUp));
    endpoint->WriteSetting(member::kAddressFamily, kFamilyIPv4);
    endpoint->WriteSetting(member::kProtocol, kProtocolDefault);
    endpoint->WriteSetting(member::kSocketType, kTypeDatagram);
    endpoint->WriteSetting(member::kBlockingSends, false);
    endpoint->WriteSetting(member::kAllowBroadcast, false);
    endpoint->WriteSetting(member::kLocalAddress, std::monostate {});
    endpoint->WriteSetting(member::kReportPeerUnreachable, false);
    endpoint->SetPeerAddress(address);
    endpoint->SetPeerPort(port);
    return endpoint;
}

TEST(SocketEndpoint, SendsTextAndClosingZeroByteExact)
{
    LoopbackReceiver receiver;
    auto endpoint = endpointTowards(u"127.0.0.1", receiver.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    ASSERT_TRUE(endpoint->CanSend());

    EXPECT_EQ(endpoint->SendText(u"\rabc", 5), 5);
    EXPECT_EQ(receiver.receive(), "\rabc\0"s);
    EXPECT_EQ(endpoint->LastReport().datagram, "\rabc\0"s);

    const Text allBytes = [] {
        Text text;
        for (char16_t c = 0; c <= 0xFF; ++c)
            text += c;
        return text;
    }();
    EXPECT_EQ(endpoint->SendText(allBytes, 257), 257);
    const auto datagram = receiver.receive();
    ASSERT_TRUE(datagram);
    ASSERT_EQ(datagram->size(), 257u);
    for (std::size_t i = 0; i < 256; ++i)
        EXPECT_EQ(static_cast<unsigned char>((*datagram)[i]), i);
    EXPECT_EQ((*datagram)[256], '\0');
}

TEST(SocketEndpoint, CharacterAboveByteSendsNothing)
{
    LoopbackReceiver receiver;
    auto endpoint = endpointTowards(u"127.0.0.1", receiver.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);

    EXPECT_LT(endpoint->SendText(u"caf\u00E9 \u20AC", 7), 1);
    EXPECT_EQ(endpoint->LastErrorCode(), EndpointError::kCharacterNotByte);
    EXPECT_EQ(endpoint->LastReport().notAByteAt, 5u);
    EXPECT_EQ(endpoint->LastReport().datagram, "");
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

TEST(SocketEndpoint, ClosedEndpointNeitherSendsNorClaimsTo)
{
    LoopbackReceiver receiver;
    auto endpoint = endpointTowards(u"127.0.0.1", receiver.port());
    EXPECT_FALSE(endpoint->CanSend());
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    endpoint->ClosePeer();
    endpoint->ClosePeer();

    EXPECT_FALSE(endpoint->CanSend());
    EXPECT_FALSE(endpoint->LastReport().peer);
    EXPECT_LT(endpoint->SendText(u"x", 2), 1);
    EXPECT_EQ(endpoint->LastErrorCode(), EndpointError::kNotOpen);
    EXPECT_EQ(receiver.receive(kQuietPeriod), std::nullopt);
}

TEST(SocketEndpoint, ReopenFollowsTheNewPeer)
{
    LoopbackReceiver first;
    LoopbackReceiver second;
    auto endpoint = endpointTowards(u"127.0.0.1", first.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    endpoint->SetPeerPort(second.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);

    EXPECT_EQ(endpoint->SendText(u"b", 2), 2);
    EXPECT_EQ(second.receive(), "b\0"s);
    EXPECT_EQ(first.receive(kQuietPeriod), std::nullopt);
}

TEST(SocketEndpoint, HostNameIsLookedUp)
{
    LoopbackReceiver receiver;
    auto endpoint = endpointTowards(u"localhost", receiver.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    const auto peer = endpoint->LastReport().peer;
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->address, u"localhost");
    EXPECT_EQ(peer->port, receiver.port());
    EXPECT_EQ(peer->ipv4, 0x7F000001u);
    EXPECT_EQ(endpoint->SendText(u"n", 2), 2);
    EXPECT_EQ(receiver.receive(), "n\0"s);
}

// An earlier datagram to a port nobody listens on comes back as a "port unreachable" report,
// which the system hands to the next send. That send must still put its datagram on the wire.
TEST(SocketEndpoint, BounceOfEarlierDatagramDoesNotEatTheNextOne)
{
    std::uint16_t port = 0;
    {
        LoopbackReceiver gone;
        port = gone.port();
    }
    auto endpoint = endpointTowards(u"127.0.0.1", port);
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    EXPECT_EQ(endpoint->SendText(u"lost", 5), 5);
    EXPECT_TRUE(endpoint->LastReport().returned.empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(endpoint->SendText(u"lost", 5), 5) << i;
#ifndef _WIN32
        // Each time, the report of the one before was taken and says so. (Wine, which runs the
        // Windows tests, hands the program no report at all.)
        EXPECT_FALSE(endpoint->LastReport().returned.empty()) << i;
#endif
    }

    LoopbackReceiver listening(port);
    EXPECT_EQ(endpoint->SendText(u"kept", 5), 5);
    EXPECT_EQ(listening.receive(), "kept\0"s);
}

// A switcher that answers each datagram would fill the socket's receive buffer, where nothing
// reads, and a full buffer costs later reports their details: what arrives is dropped, both
// when the window's watch takes it and before each send.
struct DropCase : Row
{
    bool bySend; // dropped by the next SendText, else by TakeReturned
};

const DropCase kDropCases[] = {{"byTheWatch", false}, {"byTheNextSend", true}};

class AnswersDropped : public ::testing::TestWithParam<DropCase>
{ };

TEST_P(AnswersDropped, LeaveNothingInTheReceiveBuffer)
{
    LoopbackReceiver peer;
    auto endpoint = endpointTowards(u"127.0.0.1", peer.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    ASSERT_EQ(endpoint->SendText(u"q", 2), 2);
    std::uint16_t ours = 0;
    ASSERT_EQ(peer.receive(std::chrono::milliseconds(2000), &ours), "q\0"s);
    for (int i = 0; i < 50; ++i)
        peer.answer(ours, std::string(1000, 'r'));
    const auto waiting = [&] {
        const auto socket = static_cast<NativeSocket>(*endpoint->WatchHandle());
#ifdef _WIN32
        u_long bytes = 0;
        ioctlsocket(socket, FIONREAD, &bytes);
#else
        int bytes = 0;
        ioctl(socket, FIONREAD, &bytes);
#endif
        return bytes;
    };
    ASSERT_TRUE(waitReadable(static_cast<NativeSocket>(*endpoint->WatchHandle()), 2000));
    ASSERT_GT(waiting(), 0);

    if (GetParam().bySend)
        EXPECT_EQ(endpoint->SendText(u"again", 6), 6);
    else
        EXPECT_TRUE(endpoint->TakeReturned().empty());
    EXPECT_EQ(waiting(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AnswersDropped, ::testing::ValuesIn(kDropCases), caseName);

// With reporting switched on, the same bounce comes back as a failed send instead.
TEST(SocketEndpoint, BounceIsReportedWhenAskedFor)
{
#ifdef _WIN32
    GTEST_SKIP() << "wine, which runs the Windows tests, hands the program no report at all";
#endif
    std::uint16_t port = 0;
    {
        LoopbackReceiver gone;
        port = gone.port();
    }
    auto endpoint = endpointTowards(u"127.0.0.1", port);
    endpoint->WriteSetting(member::kReportPeerUnreachable, true);
    ASSERT_EQ(endpoint->OpenPeer(), 0);
    int reported = 0;
    for (int i = 0; i < 3; ++i) {
        if (endpoint->SendText(u"lost", 5) < 1) {
            EXPECT_EQ(endpoint->LastErrorCode(), EndpointError::kPeerUnreachable);
            ++reported;
        }
    }
    EXPECT_GT(reported, 0);
}

// A report that arrives between the endpoint's look at what came back and its send fails that
// send in place of the datagram. The system's send stands in here: its first call fails as such
// a report makes it fail, and the endpoint must tell the report from its datagram's own refusal.
struct LateFailure : Row
{
    int error;     // what the first send fails with
    bool isReport; // a report of an earlier datagram, so the datagram is sent again
};

#ifdef _WIN32
const LateFailure kLateFailures[] = {
        {"portUnreachable", WSAECONNREFUSED, true},
        {"ownRefusal", WSAEACCES, false},
};
void setSocketError(int error)
{
    WSASetLastError(error);
}
#else
const LateFailure kLateFailures[] = {
        {"portUnreachable", ECONNREFUSED, true},
        {"ownRefusal", EPERM, false},
};
void setSocketError(int error)
{
    errno = error;
}
#endif

class LateReport : public ::testing::TestWithParam<LateFailure>
{ };

TEST_P(LateReport, FailsTheSendOnlyWhenItIsTheDatagramsOwn)
{
    LoopbackReceiver receiver;
    int sends = 0;
    const int error = GetParam().error;
    auto endpoint = std::make_unique<SocketEndpoint>(
            localhostFromTheSystem,
            [&sends, error](NativeSocket socket, const char *bytes, std::size_t size) {
                if (++sends > 1)
                    return sendBytes(socket, bytes, size);
                setSocketError(error);
                return -1LL;
            });
    endpoint->SetPeerAddress(u"127.0.0.1");
    endpoint->SetPeerPort(receiver.port());
    ASSERT_EQ(endpoint->OpenPeer(), 0);

    const std::int64_t sent = endpoint->SendText(u"late", 5);
    if (GetParam().isReport) {
        EXPECT_EQ(sent, 5);
        EXPECT_EQ(receiver.receive(), "late\0"s);
        ASSERT_EQ(endpoint->LastReport().returned.size(), 1u);
        EXPECT_EQ(endpoint->LastReport().returned[0].systemError, error);
    } else {
        EXPECT_LT(sent, 1);
        EXPECT_EQ(endpoint->LastErrorCode(), error);
        EXPECT_EQ(sends, 1);
        EXPECT_TRUE(endpoint->LastReport().returned.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LateReport, ::testing::ValuesIn(kLateFailures), caseName);

struct PeerCase : Row
{
    Text address;
    double port;
    std::int64_t code;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The first rows open (towards loopback only); none of the others may open, and nothing is
// sent: each is refused before a socket is aimed anywhere.
const PeerCase kPeerCases[] = {
        {"lowestPort", u"127.0.0.1", 1, EndpointError::kNone},
        {"highestPort", u"127.0.0.1", 65535, EndpointError::kNone},
        {"topOfLoopbackNetwork", u"127.255.255.254", 2160, EndpointError::kNone},
        {"portZero", u"127.0.0.1", 0, EndpointError::kBadPort},
        {"portNegative", u"127.0.0.1", -1, EndpointError::kBadPort},
        {"portAbove65535", u"127.0.0.1", 65536, EndpointError::kBadPort},
        {"portThatWouldWrapTo2160", u"127.0.0.1", 67696, EndpointError::kBadPort},
        {"portFraction", u"127.0.0.1", 2160.5, EndpointError::kBadPort},
        {"portInfinite", u"127.0.0.1", kInfinity, EndpointError::kBadPort},
        {"portNaN", u"127.0.0.1", kNaN, EndpointError::kBadPort},
        {"octalShorthand", u"127.0.0.010", 2160, EndpointError::kBadAddress},
        {"twoPartShorthand", u"127.1", 2160, EndpointError::kBadAddress},
        {"hexShorthand", u"0x7f.0.0.1", 2160, EndpointError::kBadAddress},
        {"hexWholeAddress", u"0x7f000001", 2160, EndpointError::kBadAddress},
        {"thisNetwork", u"0.0.0.0", 2160, EndpointError::kThisNetwork},
        {"topOfThisNetwork", u"0.255.255.255", 2160, EndpointError::kThisNetwork},
        {"nameInThisNetwork", u"this-network", 2160, EndpointError::kThisNetwork},
        {"partTooLarge", u"999.1.1.1", 2160, EndpointError::kBadAddress},
        {"empty", u"", 2160, EndpointError::kBadAddress},
        {"blanksAround", u" 127.0.0.1 ", 2160, EndpointError::kBadAddress},
        {"nameTooLong", Text(300, u'a'), 2160, EndpointError::kBadAddress},
        {"broadcast", u"255.255.255.255", 2160, EndpointError::kBroadcastRefused},
        // The system refuses a subnet's broadcast address itself, for the same reason.
        {"subnetBroadcast", u"127.255.255.255", 2160, EndpointError::kBroadcastRefused},
        {"nameUnknown", u"switcher", 2160, EndpointError::kHostUnknown},
};

class PeerOpen : public ::testing::TestWithParam<PeerCase>
{ };

TEST_P(PeerOpen, OpensOnlyWhatIsValid)
{
    const PeerCase &c = GetParam();
    auto endpoint = endpointTowards(c.address, c.port, lookUpLoopbackOnly);
    EXPECT_EQ(endpoint->OpenPeer(), c.code);
    EXPECT_EQ(endpoint->LastErrorCode(), c.code);
    EXPECT_EQ(endpoint->CanSend(), c.code == EndpointError::kNone);
    EXPECT_EQ(endpoint->LastReport().peer.has_value(), c.code == EndpointError::kNone);
}

INSTANTIATE_TEST_SUITE_P(Cases, PeerOpen, ::testing::ValuesIn(kPeerCases), caseName);

struct UnsupportedSetting : Row
{
    int member;
    SettingValue value;
};

const UnsupportedSetting kUnsupportedSettings[] = {
        {"familyIPv6", member::kAddressFamily, std::int16_t {23}},
        {"familyAsBoolean", member::kAddressFamily, true},
        {"streamType", member::kSocketType, std::int16_t {1}},
        {"explicitProtocol", member::kProtocol, std::int16_t {17}},
        {"localAddressGiven", member::kLocalAddress, std::int16_t {0}},
        {"blockingAsNumber", member::kBlockingSends, std::int16_t {0}},
        {"unknownMember", 3, false},
};

class UnsupportedConfiguration : public ::testing::TestWithParam<UnsupportedSetting>
{ };

TEST_P(UnsupportedConfiguration, RefusesToOpen)
{
    LoopbackReceiver receiver;
    auto endpoint = endpointTowards(u"127.0.0.1", receiver.port());
    endpoint->WriteSetting(GetParam().member, GetParam().value);
    EXPECT_EQ(endpoint->OpenPeer(), EndpointError::kUnsupportedSetting);
    EXPECT_FALSE(endpoint->CanSend());
}

INSTANTIATE_TEST_SUITE_P(Cases, UnsupportedConfiguration, ::testing::ValuesIn(kUnsupportedSettings),
                         caseName);

// What the endpoint asks the look-up for a typed name, and what it makes of the answer.
struct NameCase : Row
{
    Text typed;
    LookUpResult answer;
    std::string asked;
    std::int64_t code;
};

const NameCase kNameCases[] = {
        // A final dot makes a name absolute: it is kept, so no search list applies; but
        // "localhost." is the hosts file's "localhost".
        {"finalDotKept", u"sw1.example.test.", {0x7F000001u}, "sw1.example.test.", 0},
        {"localhostWithFinalDot", u"LocalHost.", {0x7F000001u}, "LocalHost", 0},
        {"unicodeAsUtf8", u"m\u00FCller.test", {0x7F000001u}, "m\xC3\xBCller.test", 0},
        {"unknown",
         u"sw1",
         {std::nullopt, LookUpFailure::Unknown},
         "sw1",
         EndpointError::kHostUnknown},
        {"withoutIPv4",
         u"sw1",
         {std::nullopt, LookUpFailure::NoIPv4},
         "sw1",
         EndpointError::kHostWithoutIPv4},
        {"serviceFailed",
         u"sw1",
         {std::nullopt, LookUpFailure::ServiceFailed},
         "sw1",
         EndpointError::kNameServiceFailed},
        {"timedOut",
         u"sw1",
         {std::nullopt, LookUpFailure::TimedOut},
         "sw1",
         EndpointError::kHostNotFound},
        {"foundInThisNetwork", u"sw1", {0x00000001u}, "sw1", EndpointError::kThisNetwork},
        {"foundBroadcast", u"sw1", {0xFFFFFFFFu}, "sw1", EndpointError::kBroadcastRefused},
};

class NameLookUp : public ::testing::TestWithParam<NameCase>
{ };

TEST_P(NameLookUp, AsksForTheNameAsTypedAndTellsWhatCameOfIt)
{
    const NameCase &c = GetParam();
    LoopbackReceiver receiver;
    std::vector<std::string> asked;
    auto endpoint = endpointTowards(c.typed, receiver.port(), [&](const std::string &name) {
        asked.push_back(name);
        return c.answer;
    });
    EXPECT_EQ(endpoint->OpenPeer(), c.code);
    EXPECT_EQ(asked, std::vector<std::string> {c.asked});
    EXPECT_EQ(endpoint->LastReport().addressFound, c.answer.address);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameLookUp, ::testing::ValuesIn(kNameCases), caseName);

TEST(HostLookUp, SlowNameServiceIsGivenUpOnAtTheTimeLimit)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const auto slowLookUp = [released](const std::string &) {
        released.wait();
        return LookUpResult {0x7F000001u};
    };

    const auto started = std::chrono::steady_clock::now();
    const LookUpResult result = lookUpHost("switcher", 100ms, slowLookUp);
    EXPECT_EQ(result.address, std::nullopt);
    EXPECT_EQ(result.failure, LookUpFailure::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    release.set_value();
}

TEST(HostLookUp, AnswerWithinTheTimeLimitIsKept)
{
    const auto lookUp = [](const std::string &name) {
        return LookUpResult {static_cast<std::uint32_t>(name.size())};
    };
    EXPECT_EQ(lookUpHost("abc", 10s, lookUp).address, 3u);
}

} // namespace
} // namespace zav::testing
