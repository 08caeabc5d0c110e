#pragma once

#include <QLabel>

namespace zav {

// The one line below the buttons that says what the last command did. It shows as much of the
// words as its width holds, on one line, cutting the bytes sent first, then what was typed (in
// its middle), and only then the words' end; its tooltip and its accessible name hold them
// whole. Screen readers announce each change of name.
class StatusLine final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent);

    // The words as status::describeMarked makes them.
    void setWords(const QString &markedWords);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Shows the words cut to the line's width, their rows of bytes joined on the one line.
    void fitToWidth();

    QString m_words;
};

} // namespace zav
