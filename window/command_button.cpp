#include "window/command_button.h"

#include <QKeyEvent>

namespace zav {

namespace {

// Space with any modifier, and Return or Enter without Ctrl (Ctrl+Return sends, from wherever the
// focus is). All of them, with a modifier held or added while the key is held, click once.
bool clicksAButton(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Space)
        return true;
    return (key == Qt::Key_Return || key == Qt::Key_Enter) &&
            !(event.modifiers() & Qt::ControlModifier);
}

} // namespace

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (!clicksAButton(*event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // The first press clicks; a held key's repeated presses, and its releases (which the
    // toolkit clicks Space on, repeated or not when a repeat goes unmarked), do nothing.
    if (!m_heldKey.repeats(*event))
        click();
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKey.released(*event);
    if (!clicksAButton(*event))
        QPushButton::keyReleaseEvent(event);
}

} // namespace zav
