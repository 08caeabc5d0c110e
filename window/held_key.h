#pragma once

#include <QKeyEvent>

namespace zav {

// Ctrl+Return, or Ctrl+Enter on the keypad: the keys that send, from anywhere in the window.
inline bool isSendShortcut(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
            (event.modifiers() & Qt::ControlModifier);
}

// Tells the first press of a key from the presses the keyboard repeats while the key is held.
// The toolkit marks repeats, but under X11 it misses one whose release and press reach it apart;
// such a pair carries one time stamp, which a person's release and next press never share.
class HeldKey
{
public:
    // Notes a release: the press that repeats it shares its time stamp.
    void released(const QKeyEvent &release)
    {
        m_key = release.key();
        m_releasedAt = release.timestamp();
    }

    // True for a press that only repeats a key held down. Events made without a time stamp
    // (zero) are told apart by their mark alone.
    [[nodiscard]] bool repeats(const QKeyEvent &press) const
    {
        return press.isAutoRepeat() ||
                (press.timestamp() != 0 && press.key() == m_key &&
                 press.timestamp() == m_releasedAt);
    }

private:
    int m_key = 0;
    quint64 m_releasedAt = 0;
};

} // namespace zav
