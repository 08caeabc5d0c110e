#pragma once

#include "window/held_key.h"

#include <QPushButton>

namespace zav {

// A button that Return and Enter click when it has the focus, as Space does, so every command
// can be given from the keyboard the way operators expect from dialog buttons. Each clicks on
// its press, once however long the key is held and whatever modifier is held with it.
class CommandButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    HeldKey m_heldKey;
};

} // namespace zav
