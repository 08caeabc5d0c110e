#pragma once

#include <exception>

namespace zav {

enum class FaultKind {
    Overflow,            // a value does not fit where it has to go
    SubscriptOutOfRange, // a character or element that is not there was asked for
    TypeMismatch,        // a result is not a number where one is expected
    EndpointFault,       // the endpoint raised a fault instead of answering with a result
};

// The one exception type for faults inside the program. Handlers decide whether to trap it.
class RunTimeFault final : public std::exception
{
public:
    explicit RunTimeFault(FaultKind kind) noexcept : m_kind(kind) { }

    [[nodiscard]] FaultKind kind() const noexcept { return m_kind; }
    [[nodiscard]] const char *what() const noexcept override;

private:
    FaultKind m_kind;
};

} // namespace zav
