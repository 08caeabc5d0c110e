#include "endpoint/socket_endpoint.h"
#include "tests/support/loopback_receiver.h"
#include "tests/support/required_in_ci.h"
#include "tests/support/rows.h"
#include "tests/support/window_over_socket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace zav::testing {

// Set before any thread: /etc/resolv.conf, in this process's own namespaces, names the server
// below, on 127.0.0.1 port 53 of the private loopback, with the search list "studio.test".
extern bool g_privateNameService;

namespace {

// How the tiny name server answers a name.
enum class Answer {
    Address,     // one IPv4 address, 127.0.0.1
    Two,         // two IPv4 addresses, 127.0.0.1 then 127.0.0.2
    Unknown,     // no such name
    Failure,     // the server failed
    OnlyIPv6,    // the name is known, with no IPv4 address
    NeverAnswer, // the question goes unanswered
};

// A name server of the test's own on 127.0.0.1:53, which answers from a table and notes each
// name it was asked about. Anything it is not told about it calls unknown.
class TinyNameServer
{
public:
    explicit TinyNameServer(std::map<std::string, Answer> answers) : m_answers(std::move(answers))
    {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(53);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_bound = bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        m_thread = std::thread([this] { serve(); });
    }
    ~TinyNameServer()
    {
        m_stop = true;
        m_thread.join();
        close(m_socket);
    }
    TinyNameServer(const TinyNameServer &) = delete;
    TinyNameServer &operator=(const TinyNameServer &) = delete;

    [[nodiscard]] bool bound() const { return m_bound; }
    [[nodiscard]] std::vector<std::string> asked()
    {
        const std::lock_guard lock(m_mutex);
        return m_asked;
    }

private:
    void serve()
    {
        while (!m_stop) {
            if (!waitReadable(m_socket, 50))
                continue;
            unsigned char query[512];
            sockaddr_in from {};
            socklen_t fromSize = sizeof from;
            const ssize_t size = recvfrom(m_socket, query, sizeof query, 0,
                                          reinterpret_cast<sockaddr *>(&from), &fromSize);
            if (size < 12)
                continue;
            // The question: its labels, then its type and class.
            std::string name;
            std::size_t at = 12;
            while (at < static_cast<std::size_t>(size) && query[at] != 0) {
                const std::size_t length = query[at++];
                if (!name.empty())
                    name += '.';
                name.append(reinterpret_cast<const char *>(query + at), length);
                at += length;
            }
            const std::size_t questionEnd = at + 5;
            if (questionEnd > static_cast<std::size_t>(size))
                continue;
            const bool askedForIPv4 = query[at + 1] == 0 && query[at + 2] == 1;
            {
                const std::lock_guard lock(m_mutex);
                m_asked.push_back(name);
            }
            const auto found = m_answers.find(name);
            const Answer answer = found == m_answers.end() ? Answer::Unknown : found->second;
            if (answer == Answer::NeverAnswer)
                continue;

            std::vector<unsigned char> reply(query, query + questionEnd);
            reply[2] = 0x80 | (query[2] & 0x01); // a reply, recursion as asked
            reply[3] = 0x80;                     // recursion available
            reply[6] = reply[7] = reply[8] = reply[9] = reply[10] = reply[11] = 0;
            if (answer == Answer::Unknown)
                reply[3] |= 3; // no such name
            if (answer == Answer::Failure)
                reply[3] |= 2; // server failure
            const int records = !askedForIPv4   ? 0
                    : answer == Answer::Address ? 1
                    : answer == Answer::Two     ? 2
                                                : 0;
            reply[7] = static_cast<unsigned char>(records);
            for (unsigned char last = 1; last <= records; ++last) {
                const unsigned char record[] = {0xC0, 12, 0, 1, 0,   1, 0, 0,
                                                0,    60, 0, 4, 127, 0, 0, last};
                reply.insert(reply.end(), std::begin(record), std::end(record));
            }
            sendto(m_socket, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr *>(&from),
                   fromSize);
        }
    }

    std::map<std::string, Answer> m_answers;
    int m_socket = -1;
    bool m_bound = false;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<std::string> m_asked;
    std::thread m_thread;
};

struct NameCase : Row
{
    QString typed;
    QString status;                 // "{port}" the receiver's
    std::vector<std::string> asked; // every name the server was asked about, in order
};

// The search list would make 'sw1.lab.test' into 'sw1.lab.test.studio.test', which is
// known here; the absolute 'sw1.lab.test.' is not.
const std::map<std::string, Answer> kZone = {
        {"sw1.lab.test.studio.test", Answer::Address},
        {"xn--mller-kva.test", Answer::Address},
        {"xn--j50i.test", Answer::Address},
        {"two.test", Answer::Two},
        {"broken.test", Answer::Failure},
        {"v6.test", Answer::OnlyIPv6},
        {"silent.test", Answer::NeverAnswer},
};

const NameCase kNameCases[] = {
        {"finalDotKeepsTheNameAbsolute",
         "sw1.lab.test.",
         "Not connected: no host is known by the name 'sw1.lab.test.'",
         {"sw1.lab.test"}},
        {"withoutFinalDotTheSearchListApplies",
         "sw1.lab.test",
         "Ready to send to sw1.lab.test (127.0.0.1):{port}",
         {"sw1.lab.test", "sw1.lab.test.studio.test"}},
        {"localhostAsksNoServer",
         "localhost.",
         "Ready to send to localhost. (127.0.0.1):{port}",
         {}},
        {"internationalName",
         "m\u00FCller.test.",
         "Ready to send to m\u00FCller.test. (127.0.0.1):{port}",
         {"xn--mller-kva.test"}},
        {"firstOfSeveralAddresses",
         "two.test.",
         "Ready to send to two.test. (127.0.0.1):{port}",
         {"two.test"}},
        {"characterAboveFFFF",
         "\U00020000.test.",
         "Ready to send to \U00020000.test. (127.0.0.1):{port}",
         {"xn--j50i.test"}},
        {"refusedByIdnRules",
         "\u2603.test.",
         "Not connected: the IDN rules refuse the host name '\u2603.test.'",
         {}},
        {"serverFailure",
         "broken.test.",
         "Not connected: the name service failed to answer for 'broken.test.'",
         {"broken.test"}},
        {"onlyIPv6",
         "v6.test.",
         "Not connected: the name has no IPv4 address: 'v6.test.'",
         {"v6.test"}},
        {"serverNeverAnswers",
         "silent.test.",
         "Not connected: no answer within 2 s for 'silent.test.'",
         {"silent.test"}},
};

class NameService : public WindowOverSocket, public ::testing::WithParamInterface<NameCase>
{
protected:
    NameService() : WindowOverSocket(systemLookUp) { }
};

// Names typed into the window, looked up by the system's own resolver, which asks a name server
// of the test's own and nothing else.
TEST_P(NameService, NameIsLookedUpAsTypedAndEveryFailureSaysWhich)
{
    if (!g_privateNameService)
        ZAV_SKIP_OUTSIDE_CI("needs network and mount namespaces of its own (root)");
    const NameCase &c = GetParam();
    TinyNameServer server(kZone);
    ASSERT_TRUE(server.bound());
    LoopbackReceiver receiver;
    connectTo(c.typed, QString::number(receiver.port()));
    EXPECT_TRUE(
            wholeStatusSays(QString(c.status).replace("{port}", QString::number(receiver.port()))));
    // A look-up given up on may still be asked about once more.
    std::vector<std::string> asked = server.asked();
    if (asked.size() > c.asked.size())
        asked.resize(c.asked.size());
    EXPECT_EQ(asked, c.asked);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameService, ::testing::ValuesIn(kNameCases), caseName);

} // namespace
} // namespace zav::testing
