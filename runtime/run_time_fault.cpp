#include "runtime/run_time_fault.h"

namespace zav {

const char *RunTimeFault::what() const noexcept
{
    switch (m_kind) {
    case FaultKind::Overflow:
        return "overflow";
    case FaultKind::SubscriptOutOfRange:
        return "subscript out of range";
    case FaultKind::TypeMismatch:
        return "type mismatch";
    case FaultKind::EndpointFault:
        return "endpoint fault";
    }
    return "run-time fault";
}

} // namespace zav
