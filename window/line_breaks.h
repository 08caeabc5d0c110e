#pragma once

#include "runtime/text.h"

#include <QString>

namespace zav {

// The message field holds each line break as a line or paragraph separator, whatever was typed
// or pasted (Return, CR, LF, CR LF); a datagram carries each as CR LF.
inline bool isLineBreak(char32_t c)
{
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The field's text as a datagram carries it: every other character stays as typed (a no-break
// space stays a no-break space).
inline Text withLineBreaksAsSent(const QString &typed)
{
    Text sent;
    sent.reserve(static_cast<std::size_t>(typed.size()));
    for (const QChar c : typed) {
        if (isLineBreak(c.unicode()))
            sent += u"\r\n";
        else
            sent += c.unicode();
    }
    return sent;
}

} // namespace zav
