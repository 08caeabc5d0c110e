#include "window/twip_layout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace zav {

TwipLayout::TwipLayout(const QFont &font)
{
    QFont design(font);
    design.setPointSizeF(kDesignPointSize);
    const QFontMetricsF actual(font);
    const QFontMetricsF atDesignSize(design);
    // Never smaller than designed: a small font leaves the layout as it is.
    m_scale = std::max({1.0, actual.height() / atDesignSize.height(),
                        actual.averageCharWidth() / atDesignSize.averageCharWidth()});
}

int TwipLayout::pixels(int twips) const
{
    return static_cast<int>(std::lround(twips * m_scale / kTwipsPerPixel));
}

QRect TwipLayout::pixels(const QRect &twips) const
{
    return {pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height())};
}

} // namespace zav
