#include "window/message_field.h"

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

void MessageField::chooseWrapFor(qsizetype characters)
{
    const auto mode = characters > kWrapAnywhereAbove ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

} // namespace zav
