// Writes the program's icon, drawn once as XPM text, in the forms platforms install:
//   export_icon <out.png> [<out.ico>]
// The .ico holds the PNG as its one 32x32 image, which Windows reads since Vista.
#include <QBuffer>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {
#include "window/zav_udp_test.xpm"

void putLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool writeFile(const char *path, const QByteArray &bytes)
{
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: export_icon <out.png> [<out.ico>]\n");
        return 2;
    }
    // Full-colour PNG with alpha: what icon caches and Windows' PNG-in-ICO expect.
    const QImage icon = QImage(zav_udp_test_xpm).convertToFormat(QImage::Format_ARGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (icon.isNull() || !icon.save(&buffer, "PNG") || !writeFile(argv[1], png))
        return 1;
    if (argc < 3)
        return 0;

    QByteArray ico;
    putLittleEndian(ico, 0, 2); // reserved
    putLittleEndian(ico, 1, 2); // an icon, not a cursor
    putLittleEndian(ico, 1, 2); // one image
    ico.append(static_cast<char>(icon.width()));
    ico.append(static_cast<char>(icon.height()));
    putLittleEndian(ico, 0, 2);  // no palette, reserved
    putLittleEndian(ico, 1, 2);  // colour planes
    putLittleEndian(ico, 32, 2); // bits per pixel
    putLittleEndian(ico, static_cast<quint32>(png.size()), 4);
    putLittleEndian(ico, 6 + 16, 4); // the image follows this one directory entry
    ico.append(png);
    return writeFile(argv[2], ico) ? 0 : 1;
}
