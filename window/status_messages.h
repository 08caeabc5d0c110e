#pragma once

#include "window/command_outcome.h"

#include <QString>

namespace zav::status {

// Marks in the words around what the status line may cut to fit its width: the bytes sent, which
// run to the end and are cut first; then details (where a report came from, which datagram it
// concerns); then what was typed, in its middle. They are noncharacters, which nothing shown
// holds (what was typed shows them as U+FFFD).
namespace marks {
inline constexpr QChar kTypedStart = u'\uFDD0';
inline constexpr QChar kDetailsStart = u'\uFDD1';
inline constexpr QChar kPartEnd = u'\uFDD2';
inline constexpr QChar kBytesStart = u'\uFDD3';
} // namespace marks

// What the status line says after a command: plain words, naming what the operator typed where
// that is the reason. Endpoint results and codes become words here. What was typed, or the bytes
// sent, come last, what was typed shortened, so that should the line be too narrow, only they
// are cut short, never the words. Only the bytes may run over more than one line (16 to a row,
// for the tooltip); the status line shows them on its one line. What came back while the line
// told the outcome is told with it.
[[nodiscard]] QString describe(const outcome::Outcome &outcome,
                               const outcome::CameBack &cameBack = {});

// The same words, with what the line may cut marked.
[[nodiscard]] QString describeMarked(const outcome::Outcome &outcome,
                                     const outcome::CameBack &cameBack = {});
[[nodiscard]] QString withoutMarks(QString marked);

} // namespace zav::status
