#pragma once

#include "runtime/text.h"

namespace zav {

// Turns a message that begins with a caret into one that begins with a control character:
// the caret is dropped and the low byte of the character after it is lowered by 64, so "^M"
// becomes a carriage return. Only that one character changes; its high byte is kept.
// Throws RunTimeFault(SubscriptOutOfRange) when nothing follows the caret and
// RunTimeFault(Overflow) when that character's low byte is below 64.
[[nodiscard]] Text ApplyCaretEscape(TextView message);

} // namespace zav
