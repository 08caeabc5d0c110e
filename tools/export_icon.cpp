// Writes the program's icon, drawn once as XPM text, as the PNG that Linux launchers install:
//   export_icon <out.png>
#include <QImage>

#include <cstdio>

namespace {
#include "window/zav_udp_test.xpm"
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_icon <out.png>\n");
        return 2;
    }
    // Full colour with alpha: what icon caches expect.
    const QImage icon = QImage(zav_udp_test_xpm).convertToFormat(QImage::Format_ARGB32);
    return !icon.isNull() && icon.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
