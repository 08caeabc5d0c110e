#include "tests/support/window_fixture.h"

#include <algorithm>
#include <set>

namespace zav::testing {
namespace {

enum class Handler { StartUp, Connect, Disconnect, Send };

// One way the endpoint misbehaves: a member that faults (with a kind), or every integer result
// far out of the 16-bit range, or nothing at all.
struct Misbehaviour
{
    std::string member; // empty: no member faults
    FaultKind kind = FaultKind::EndpointFault;
    bool resultsOutOfRange = false;
};

const std::string kMembers[] = {"WriteSetting", "SetCommandCode", "SetPeerAddress",
                                "SetPeerPort",  "LastErrorCode",  "CanSend",
                                "SendText",     "OpenPeer",       "ClosePeer",
                                "LastReport",   "WatchHandle",    "TakeReturned"};

std::vector<Misbehaviour> allMisbehaviours()
{
    std::vector<Misbehaviour> all {{}, {"", FaultKind::EndpointFault, true}};
    for (const std::string &member : kMembers) {
        all.push_back({member, FaultKind::EndpointFault});
        all.push_back({member, FaultKind::TypeMismatch}); // a result that is not a number
    }
    return all;
}

std::string nameOf(Handler handler)
{
    const char *const handlers[] = {"StartUp", "Connect", "Disconnect", "Send"};
    return handlers[static_cast<int>(handler)];
}

std::string nameOf(const Misbehaviour &m)
{
    if (m.resultsOutOfRange)
        return "resultsOutOfRange";
    if (m.member.empty())
        return "wellBehaved";
    return m.member + (m.kind == FaultKind::TypeMismatch ? "NotANumber" : "Faults");
}

void PrintTo(Handler handler, std::ostream *out)
{
    *out << nameOf(handler);
}

void PrintTo(const Misbehaviour &m, std::ostream *out)
{
    *out << nameOf(m);
}

class FaultInjection : public WindowFixture,
                       public ::testing::WithParamInterface<std::tuple<Handler, Misbehaviour>>
{ };

TEST_P(FaultInjection, HandlerEndsAsTheRulesSay)
{
    const auto &[handler, misbehaviour] = GetParam();
    if (!misbehaviour.member.empty())
        fake->faulting = {misbehaviour.member};
    fake->faultKind = misbehaviour.kind;
    if (misbehaviour.resultsOutOfRange)
        fake->openResult = fake->sendResult = fake->lastErrorCode = 70000;
    message()->setPlainText("m");

    switch (handler) {
    case Handler::StartUp:
        window.Form_Load();
        break;
    case Handler::Connect:
        click("cmdConnect");
        break;
    case Handler::Disconnect:
        click("cmdDisconnect");
        break;
    case Handler::Send:
        click("cmdSend");
        break;
    }
    const std::vector<std::string> calls = takeCalls();
    const auto notices = std::count(calls.begin(), calls.end(), "Notice");
    EXPECT_FALSE(statusLine()->text().isEmpty()) << "every command says what it did";

    if (handler == Handler::Disconnect || handler == Handler::Send) {
        EXPECT_EQ(notices, 0);
        EXPECT_EQ(message()->toPlainText(), "m");
        return;
    }
    // Connect and start-up: open, or close and tell the operator exactly once.
    std::set<std::string> neededToOpen = {"SetPeerAddress", "SetPeerPort", "OpenPeer",
                                          "LastReport"};
    if (handler == Handler::StartUp)
        neededToOpen.insert("WriteSetting");
    const bool openSucceeded = fake->openResult == 0 && !neededToOpen.count(misbehaviour.member);
    EXPECT_EQ(notices, openSucceeded ? 0 : 1);
    if (!openSucceeded) {
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2], "ClosePeer");
    }
}

INSTANTIATE_TEST_SUITE_P(AllMembers, FaultInjection,
                         ::testing::Combine(::testing::Values(Handler::StartUp, Handler::Connect,
                                                              Handler::Disconnect, Handler::Send),
                                            ::testing::ValuesIn(allMisbehaviours())),
                         [](const auto &info) {
                             return nameOf(std::get<0>(info.param)) + "_" +
                                     nameOf(std::get<1>(info.param));
                         });

} // namespace
} // namespace zav::testing
