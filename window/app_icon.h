#pragma once

#include <QIcon>

namespace zav {

// The program's own 32 by 32, 16-colour icon.
[[nodiscard]] QIcon appIcon();

} // namespace zav
