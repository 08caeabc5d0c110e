#include "fuzz/fuzz_text.h"
#include "message/caret_escape.h"
#include "runtime/run_time_fault.h"
#include "tests/field_line_breaks.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using zav::Text;
using zav::TextView;

struct SendCall
{
    Text text;
    std::int16_t count;
};

// Answers from the fuzz input: any result, in range or not, and faults from any member.
class ScriptedEndpoint final : public zav::DatagramEndpoint
{
public:
    bool canSend = true;
    std::int64_t sendResult = 0; // kEcho: the count
    std::int64_t lastError = 0;
    bool canSendFaults = false;
    bool sendFaults = false;
    bool lastErrorFaults = false;
    int canSendCalls = 0;
    std::vector<SendCall> sends;

    static constexpr std::int64_t kEcho = -12345;

    void WriteSetting(int, const zav::SettingValue &) override { }
    void SetCommandCode(std::int16_t) override { }
    void SetPeerAddress(const Text &) override { }
    void SetPeerPort(double) override { }
    std::int64_t LastErrorCode() const override
    {
        if (lastErrorFaults)
            throw zav::RunTimeFault(zav::FaultKind::EndpointFault);
        return lastError;
    }
    bool CanSend() override
    {
        ++canSendCalls;
        if (canSendFaults)
            throw zav::RunTimeFault(zav::FaultKind::EndpointFault);
        return canSend;
    }
    std::int64_t SendText(TextView text, std::int16_t count) override
    {
        sends.push_back({Text(text), count});
        if (sendFaults)
            throw zav::RunTimeFault(zav::FaultKind::EndpointFault);
        return sendResult == kEcho ? count : sendResult;
    }
    std::int64_t OpenPeer() override { return 0; }
    void ClosePeer() override { }
    bool PeerNeedsLookUp() const override { return false; }
    std::optional<std::uint32_t> PeerAddressOpened() const override { return std::nullopt; }
    std::optional<zav::ReturnedDatagram> ReturnedBeforeSend() const override
    {
        return std::nullopt;
    }
};

class CountingNotice final : public zav::ConnectFailureNotice
{
public:
    int shown = 0;
    void announce(QWidget *) override { ++shown; }
};

// What the operator sees in the field: every kind of line break is one line break, sent as a
// carriage return and a line feed.
Text asShownInTheField(const Text &pasted)
{
    Text shown;
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const char16_t c = pasted[i];
        if (c == u'\r' && i + 1 < pasted.size() && pasted[i + 1] == u'\n')
            continue;
        if (zav::testing::breaksTheLineInTheField(c))
            shown += u"\r\n";
        else
            shown += c;
    }
    return shown;
}

std::optional<Text> expectedDatagramText(const Text &shown)
{
    if (shown.empty() || shown.front() != u'^')
        return shown;
    try {
        return zav::ApplyCaretEscape(shown);
    } catch (const zav::RunTimeFault &) {
        return std::nullopt;
    }
}

constexpr std::int64_t kResults[] = {ScriptedEndpoint::kEcho, 0, -1, 1, 70000, -70000};
constexpr std::int64_t kErrors[] = {zav::EndpointError::WouldBlockError, 0, 70000, 10054};

} // namespace

// One window for the whole run, as an operator keeps it open across many Sends.
struct Harness
{
    ScriptedEndpoint *endpoint = nullptr;
    CountingNotice *notice = nullptr;
    std::unique_ptr<zav::frmMain> window;
    QPlainTextEdit *field = nullptr;
};

Harness *harness = nullptr;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static Harness h;
    auto endpoint = std::make_unique<ScriptedEndpoint>();
    auto notice = std::make_unique<CountingNotice>();
    h.endpoint = endpoint.get();
    h.notice = notice.get();
    h.window = std::make_unique<zav::frmMain>(std::move(endpoint), std::move(notice));
    h.field = h.window->findChild<QPlainTextEdit *>(QStringLiteral("txtSend"));
    harness = &h;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    ScriptedEndpoint &fake = *harness->endpoint;
    fake = ScriptedEndpoint();
    fake.canSend = data[0] & 1;
    fake.canSendFaults = data[0] & 2;
    fake.sendFaults = data[0] & 4;
    fake.lastErrorFaults = data[0] & 8;
    fake.sendResult = kResults[data[1] % std::size(kResults)];
    fake.lastError = kErrors[data[2] % std::size(kErrors)];
    const Text pasted = zav::fuzzing::textFrom(data + 3, size - 3);

    QPlainTextEdit *field = harness->field;
    // Not QString::fromUtf16, which would take a leading U+FEFF or U+FFFE for a byte order mark.
    field->setPlainText(QString(reinterpret_cast<const QChar *>(pasted.data()),
                                static_cast<qsizetype>(pasted.size())));
    const QString before = field->document()->toRawText();
    harness->notice->shown = 0;

    harness->window->cmdSend_Click(zav::kSendButtonIndex);
    // No event loop runs here: hand out what the field posted, as the loop would.
    QCoreApplication::processEvents();

    ZAV_FUZZ_CHECK(field->document()->toRawText() == before);
    ZAV_FUZZ_CHECK(harness->notice->shown == 0);
    ZAV_FUZZ_CHECK(fake.sends.size() <= 1);
    ZAV_FUZZ_CHECK(fake.canSendCalls == (expectedDatagramText(asShownInTheField(pasted)) ? 1 : 0));

    const std::optional<Text> expected = expectedDatagramText(asShownInTheField(pasted));
    const bool sendable =
            expected && expected->size() < 32767 && fake.canSend && !fake.canSendFaults;
    ZAV_FUZZ_CHECK(fake.sends.size() == (sendable ? 1u : 0u));
    if (sendable) {
        ZAV_FUZZ_CHECK(fake.sends[0].text == *expected);
        ZAV_FUZZ_CHECK(fake.sends[0].count == static_cast<std::int16_t>(expected->size() + 1));
    }
    return 0;
}
