#pragma once

#include "runtime/text.h"

namespace zav {

// Reads a number from the start of a text the way the operator's port field has always been
// read: blanks, tabs and line feeds are ignored anywhere; the longest leading decimal number
// (sign, digits, one decimal point, an exponent after E or D) is taken, or hexadecimal digits
// after "&H" and octal digits after "&O"; a text that does not begin with a number reads as 0.
// Never fails: a number too large or too small for a double reads as an infinity.
[[nodiscard]] double readNumber(TextView text);

} // namespace zav
