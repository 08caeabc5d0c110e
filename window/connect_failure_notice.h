#pragma once

#include <memory>

class QWidget;

namespace zav {

inline constexpr char kApplicationTitle[] = "Korvale";
inline constexpr char kUnableToConnect[] = "Unable to connect to remote host";

// Tells the operator that an open failed; returns once the operator has acknowledged it.
class ConnectFailureNotice
{
public:
    virtual ~ConnectFailureNotice() = default;

    // Shows the notice over `owner` (or over no window when null) and waits for the operator.
    virtual void announce(QWidget *owner) = 0;
};

// The modal message box: title kApplicationTitle, text kUnableToConnect, one OK, no icon.
[[nodiscard]] std::unique_ptr<ConnectFailureNotice> makeMessageBoxNotice();

} // namespace zav
