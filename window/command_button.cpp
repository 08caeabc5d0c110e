#include "window/command_button.h"

#include <QKeyEvent>

namespace zav {

namespace {

// Return, Enter and Space, alone (the keypad's Enter carries the keypad modifier).
bool clicksAButton(const QKeyEvent &event)
{
    const int key = event.key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
            (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
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
