#pragma once

namespace zav::testing {

// What the toolkit's message field breaks a line at when a text is pasted or set: CR, LF (CR LF
// is one break), the line and paragraph separators, and its own frame marks. Each is held as a
// paragraph separator and sent as CR LF.
constexpr bool breaksTheLineInTheField(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029' || c == u'\uFDD0' ||
            c == u'\uFDD1';
}

} // namespace zav::testing
