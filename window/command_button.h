#pragma once

#include <QPushButton>

namespace zav {

// A button that Return and Enter click when it has the focus, as Space does, so every command
// can be given from the keyboard the way operators expect from dialog buttons.
class CommandButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace zav
