#include "fuzz/fuzz_text.h"
#include "message/caret_escape.h"
#include "runtime/run_time_fault.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const zav::Text message = u'^' + zav::fuzzing::textFrom(data, size);
    const bool mustFault = message.size() < 2 || (message[1] & 0xFF) < 64;
    try {
        const zav::Text escaped = zav::ApplyCaretEscape(message);
        ZAV_FUZZ_CHECK(!mustFault);
        ZAV_FUZZ_CHECK(escaped.size() == message.size() - 1);
        // Only the first character changes, and of it only the low byte, by exactly 64.
        ZAV_FUZZ_CHECK((escaped[0] & 0xFF00) == (message[1] & 0xFF00));
        ZAV_FUZZ_CHECK((escaped[0] & 0xFF) + 64 == (message[1] & 0xFF));
        ZAV_FUZZ_CHECK(escaped.compare(1, escaped.npos, message, 2) == 0);
    } catch (const zav::RunTimeFault &fault) {
        ZAV_FUZZ_CHECK(mustFault);
        ZAV_FUZZ_CHECK(fault.kind() ==
                       (message.size() < 2 ? zav::FaultKind::SubscriptOutOfRange
                                           : zav::FaultKind::Overflow));
    }
    return 0;
}
