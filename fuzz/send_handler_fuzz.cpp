#include "fuzz/fuzz_text.h"
#include "message/caret_escape.h"
#include "runtime/run_time_fault.h"
#include "tests/support/field_line_breaks.h"
#include "tests/support/recording_endpoint.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

using zav::Text;
using zav::TextView;

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

constexpr std::int64_t kResults[] = {
        zav::testing::RecordingEndpoint::kEchoCount, 0, -1, 1, 70000, -70000};
constexpr std::int64_t kErrors[] = {zav::EndpointError::WouldBlockError, 0, 70000, 10054};

} // namespace

// One window for the whole run, as an operator keeps it open across many Sends.
struct Harness
{
    std::shared_ptr<zav::testing::CallLog> log = std::make_shared<zav::testing::CallLog>();
    zav::testing::RecordingEndpoint *endpoint = nullptr;
    std::unique_ptr<zav::frmMain> window;
    QPlainTextEdit *field = nullptr;
};

Harness *harness = nullptr;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static Harness h;
    auto endpoint = std::make_unique<zav::testing::RecordingEndpoint>(h.log);
    h.endpoint = endpoint.get();
    h.window = std::make_unique<zav::frmMain>(
            std::move(endpoint), std::make_unique<zav::testing::RecordingNotice>(h.log));
    h.field = h.window->findChild<QPlainTextEdit *>(QStringLiteral("txtSend"));
    harness = &h;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    zav::testing::RecordingEndpoint &fake = *harness->endpoint;
    fake.canSend = data[0] & 1;
    fake.faulting.clear();
    if (data[0] & 2)
        fake.faulting.insert("CanSend");
    if (data[0] & 4)
        fake.faulting.insert("SendText");
    if (data[0] & 8)
        fake.faulting.insert("LastErrorCode");
    fake.sendResult = kResults[data[1] % std::size(kResults)];
    fake.lastErrorCode = kErrors[data[2] % std::size(kErrors)];
    const Text pasted = zav::fuzzing::textFrom(data + 3, size - 3);

    QPlainTextEdit *field = harness->field;
    // Not QString::fromUtf16, which would take a leading U+FEFF or U+FFFE for a byte order mark.
    field->setPlainText(QString(reinterpret_cast<const QChar *>(pasted.data()),
                                static_cast<qsizetype>(pasted.size())));
    const QString before = field->document()->toRawText();
    zav::testing::CallLog &log = *harness->log;
    log = {};

    harness->window->cmdSend_Click(zav::kSendButtonIndex);
    // No event loop runs here: hand out what the field posted, as the loop would.
    QCoreApplication::processEvents();

    const std::optional<Text> expected = expectedDatagramText(asShownInTheField(pasted));
    const auto canSendCalls = std::count(log.calls.begin(), log.calls.end(), "CanSend");
    ZAV_FUZZ_CHECK(field->document()->toRawText() == before);
    ZAV_FUZZ_CHECK(log.noticeOwners.empty());
    ZAV_FUZZ_CHECK(canSendCalls == (expected ? 1 : 0));

    const bool sendable =
            expected && expected->size() < 32767 && fake.canSend && !fake.faulting.count("CanSend");
    ZAV_FUZZ_CHECK(log.sends.size() == (sendable ? 1u : 0u));
    if (sendable) {
        ZAV_FUZZ_CHECK(log.sends[0].first == *expected);
        ZAV_FUZZ_CHECK(log.sends[0].second == static_cast<std::int16_t>(expected->size() + 1));
    }
    return 0;
}
