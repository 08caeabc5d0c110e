#include "window/message_field.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

namespace zav {

MessageField::MessageField(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    chooseWrapFor(0);
    connect(document(), &QTextDocument::contentsChanged, this,
            [this] { chooseWrapFor(document()->characterCount()); });
}

void MessageField::insertFromMimeData(const QMimeData *source)
{
    // Decide before the insertion lays the text out, not after.
    if (source && source->hasText())
        chooseWrapFor(document()->characterCount() + source->text().size());
    QPlainTextEdit::insertFromMimeData(source);
}

void MessageField::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        // A held key repeats its press; the message is sent once.
        if (!m_heldKey.repeats(*event))
            emit sendRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageField::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKey.released(*event);
    QPlainTextEdit::keyReleaseEvent(event);
}

void MessageField::chooseWrapFor(qsizetype characters)
{
    const auto mode = characters > kWrapAnywhereAbove ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

} // namespace zav
