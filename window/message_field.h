#pragma once

#include "endpoint/datagram_endpoint.h"

#include <QPlainTextEdit>

namespace zav {

// The multi-line message field. Lines wrap at word boundaries (a word too long for a line is
// broken anywhere), except in a text too long ever to be sent: there the toolkit's search for
// word boundaries grows with the square of a long word, and a pasted megabyte would freeze the
// window for a minute, so such a text simply wraps anywhere.
// Return inserts a line break (the window takes Ctrl+Return, which sends).
class MessageField final : public QPlainTextEdit
{
    Q_OBJECT

public:
    // The document's count of characters (its closing paragraph separator included) above which
    // lines wrap anywhere: more than any Send can carry.
    static constexpr int kWrapAnywhereAbove = kLongestText + 1;

    explicit MessageField(QWidget *parent = nullptr);

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Wraps at word boundaries, or anywhere in a text of more than kWrapAnywhereAbove.
    void chooseWrapFor(qsizetype characters);
};

} // namespace zav
