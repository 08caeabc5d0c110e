#include "window/status_line.h"

#include "window/status_messages.h"

#include <QEvent>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace zav {

namespace {

// A stretch of the words, and how the line may cut it.
struct Part
{
    enum Kind { Words, Typed, Details, Bytes };
    QString text;
    Kind kind = Words;
};

std::vector<Part> inParts(const QString &marked)
{
    std::vector<Part> parts(1);
    for (const QChar c : marked) {
        if (c == status::marks::kTypedStart)
            parts.push_back({{}, Part::Typed});
        else if (c == status::marks::kDetailsStart)
            parts.push_back({{}, Part::Details});
        else if (c == status::marks::kPartEnd)
            parts.push_back({{}, Part::Words});
        else if (c == status::marks::kBytesStart)
            parts.push_back({{}, Part::Bytes});
        else
            parts.back().text += c == u'\n' ? QChar(u' ') : c;
    }
    return parts;
}

QString joined(const std::vector<Part> &parts)
{
    QString text;
    for (const Part &part : parts)
        text += part.text;
    return text;
}

// Cuts each part of a kind to one width, the widest that lets the words fit (found by halving);
// true when they then fit. What was typed keeps at least an ellipsis; bytes and details, which
// the tooltip holds whole, may go altogether.
bool cutEach(std::vector<Part> &parts, Part::Kind kind, Qt::TextElideMode mode,
             const QFontMetrics &metrics, int width)
{
    const bool mayGo = kind != Part::Typed;
    const std::vector<Part> whole = parts;
    const auto fits = [&] { return metrics.horizontalAdvance(joined(parts)) <= width; };
    const auto cutTo = [&](int eachWidth) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (parts[i].kind != kind)
                continue;
            const QString cut = metrics.elidedText(whole[i].text, mode, eachWidth);
            parts[i].text = cut.isEmpty() && !mayGo ? QString(QChar(0x2026)) : cut;
        }
    };
    int low = 0;
    int high = width;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        cutTo(middle);
        if (fits())
            low = middle;
        else
            high = middle - 1;
    }
    cutTo(low);
    return fits();
}

// The words cut to the width, as little as needed: the bytes first, then the details, then what
// was typed (in its middle); only then the words' own end.
QString fitted(const QString &marked, const QFontMetrics &metrics, int width)
{
    std::vector<Part> parts = inParts(marked);
    if (metrics.horizontalAdvance(joined(parts)) <= width ||
        cutEach(parts, Part::Bytes, Qt::ElideRight, metrics, width) ||
        cutEach(parts, Part::Details, Qt::ElideRight, metrics, width) ||
        cutEach(parts, Part::Typed, Qt::ElideMiddle, metrics, width))
        return joined(parts);
    return metrics.elidedText(joined(parts), Qt::ElideRight, width);
}

} // namespace

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    // What was typed is shown as typed, never read as markup.
    setTextFormat(Qt::PlainText);
    setAccessibleDescription(QStringLiteral("What the last command did"));
}

void StatusLine::setWords(const QString &markedWords)
{
    m_words = markedWords;
    const QString words = status::withoutMarks(markedWords);
    setAccessibleName(words);
    // As plain text, whatever it holds: a tooltip would read typed markup as markup.
    setToolTip(Qt::convertFromPlainText(words, Qt::WhiteSpacePre));
    fitToWidth();
}

void StatusLine::fitToWidth()
{
    setText(fitted(m_words, fontMetrics(), contentsRect().width()));
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
