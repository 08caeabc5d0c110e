#pragma once

#include "endpoint/datagram_endpoint.h"
#include "window/held_key.h"

#include <QPlainTextEdit>

namespace zav {

// The multi-line message field. Lines wrap at word boundaries (a word too long for a line is
// broken anywhere), except in a text too long ever to be sent: there the toolkit's search for
// word boundaries grows with the square of a long word, and a pasted megabyte would freeze the
// window for a minute, so such a text simply wraps anywhere.
//
// Return inserts a line break; Ctrl+Return (or Ctrl+Enter) asks for the message to be sent,
// once however long it is held.
class MessageField final : public QPlainTextEdit
{
    Q_OBJECT

public:
    // The document's count of characters (its closing paragraph separator included) above which
    // lines wrap anywhere: more than any Send can carry.
    static constexpr int kWrapAnywhereAbove = kLongestText + 1;

    explicit MessageField(QWidget *parent = nullptr);

signals:
    // The operator pressed the send shortcut here.
    void sendRequested();

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // Wraps at word boundaries, or anywhere in a text of more than kWrapAnywhereAbove.
    void chooseWrapFor(qsizetype characters);

    HeldKey m_heldKey;
};

} // namespace zav
