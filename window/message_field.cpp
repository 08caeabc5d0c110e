#include "message_field.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace zav {

MessageField::MessageField(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    fitWrapTo(0);
    connect(document(), &QTextDocument::contentsChanged, this,
            [this] { fitWrapTo(document()->characterCount()); });
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { noteInsertedText(position, added); });
}

bool MessageField::mayHoldLineBreaks() const
{
    return document()->blockCount() > 1 || m_mayHoldLineSeparator;
}

void MessageField::noteInsertedText(int position, int added)
{
    // Looked for once, as text comes in, instead of on every Send. Removing text never clears
    // the mark, except emptying the field.
    if (document()->isEmpty()) {
        m_mayHoldLineSeparator = false;
        return;
    }
    if (m_mayHoldLineSeparator || added <= 0)
        return;
    QTextCursor inserted(document());
    inserted.setPosition(position);
    inserted.setPosition(std::min(position + added, document()->characterCount() - 1),
                         QTextCursor::KeepAnchor);
    m_mayHoldLineSeparator = inserted.selectedText().contains(QChar::LineSeparator);
}

void MessageField::insertFromMimeData(const QMimeData *source)
{
    // Decide before the insertion lays the text out, not after.
    if (source && source->hasText())
        fitWrapTo(document()->characterCount() + source->text().size());
    QPlainTextEdit::insertFromMimeData(source);
}

void MessageField::fitWrapTo(qsizetype characters)
{
    const auto mode = characters > kLongText ? QTextOption::WrapAnywhere
                                             : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

} // namespace zav
