#include "window/status_line.h"

#include <QEvent>
#include <QTextDocument>

namespace zav {

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    // What was typed is shown as typed, never read as markup.
    setTextFormat(Qt::PlainText);
    setAccessibleDescription(QStringLiteral("What the last command did"));
}

void StatusLine::setWords(const QString &words)
{
    m_words = words;
    setAccessibleName(words);
    // As plain text, whatever it holds: a tooltip would read typed markup as markup.
    setToolTip(Qt::convertFromPlainText(words, Qt::WhiteSpacePre));
    fitToWidth();
}

void StatusLine::fitToWidth()
{
    // Only what was typed or the bytes sent, which come last, can be cut short here: every
    // message's words fit the line at any font.
    setText(fontMetrics().elidedText(QString(m_words).replace(u'\n', u' '), Qt::ElideRight,
                                     contentsRect().width()));
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fitToWidth();
}

void StatusLine::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToWidth();
}

} // namespace zav
