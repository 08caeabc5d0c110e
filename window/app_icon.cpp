#include "window/app_icon.h"

#include <QPixmap>

namespace zav {

namespace {
#include "window/zav_udp_test.xpm"
} // namespace

QIcon appIcon()
{
    return QIcon(QPixmap(zav_udp_test_xpm));
}

} // namespace zav
