#include "window/twip_layout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace zav {

double TwipLayout::fontScale(const QFont &font)
{
    QFont design(font);
    design.setPointSizeF(kDesignPointSize);
    const QFontMetricsF actual(font);
    const QFontMetricsF atDesignSize(design);
    return std::max(actual.height() / atDesignSize.height(),
                    actual.averageCharWidth() / atDesignSize.averageCharWidth());
}

double TwipLayout::scaleToHold(const QRect &twips, const QSizeF &needed)
{
    const double width = needed.width() * kTwipsPerPixel / twips.width();
    const double height = needed.height() * kTwipsPerPixel / twips.height();
    return std::max(width, height);
}

int TwipLayout::pixels(int twips) const
{
    return static_cast<int>(std::ceil(twips * m_scale / kTwipsPerPixel));
}

QRect TwipLayout::pixels(const QRect &twips) const
{
    return {pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height())};
}

} // namespace zav
