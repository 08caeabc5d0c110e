#include "message/caret_escape.h"

#include "runtime/run_time_fault.h"

namespace zav {

Text ApplyCaretEscape(TextView message)
{
    if (message.size() < 2)
        throw RunTimeFault(FaultKind::SubscriptOutOfRange);

    const char16_t escaped = message[1];
    const unsigned lowByte = escaped & 0xFFu;
    if (lowByte < 64)
        throw RunTimeFault(FaultKind::Overflow);

    Text result(message.substr(1));
    result[0] = static_cast<char16_t>(escaped - 64);
    return result;
}

} // namespace zav
