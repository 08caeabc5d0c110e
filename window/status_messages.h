#pragma once

#include "window/command_outcome.h"

#include <QString>

namespace zav::status {

// What the status line says after a command: plain words, naming what the operator typed where
// that is the reason. Endpoint results and codes become words here. What was typed, or the bytes
// sent, come last, what was typed shortened, so that should the line be too narrow, only they
// are cut short, never the words. Only the bytes may run over more than one line (16 to a row,
// for the tooltip); the status line shows them on its one line. What came back while the line
// told the outcome is told with it.
[[nodiscard]] QString describe(const outcome::Outcome &outcome,
                               const outcome::CameBack &cameBack = {});

} // namespace zav::status
