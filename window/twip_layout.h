#pragma once

#include "window/control_places.h"

#include <QFont>
#include <QRect>
#include <QSizeF>

namespace zav {

// Turns the window's layout, kept in twips, into pixels. At scale 1, 15 twips make one
// device-independent pixel (the toolkit scales those for high-density screens). A larger scale
// grows every position and size in proportion, the way dialog units follow a dialog's font.
class TwipLayout
{
public:
    static constexpr int kTwipsPerPixel = places::kTwipsPerPixel;
    // The font the layout was drawn for, at 96 dots per inch.
    static constexpr double kDesignPointSize = 9.0;

    explicit TwipLayout(double scale) : m_scale(scale) { }

    // How much larger the font is than the same family at the design size, by its height and
    // its average character width, as dialog units measure a dialog's font.
    [[nodiscard]] static double fontScale(const QFont &font);
    // The scale at which a control placed at `twips` gives `needed` pixels of room.
    [[nodiscard]] static double scaleToHold(const QRect &twips, const QSizeF &needed);

    [[nodiscard]] int pixels(int twips) const;
    [[nodiscard]] QRect pixels(const QRect &twips) const;
    [[nodiscard]] static QRect rect(const places::Twips &twips)
    {
        return {twips.left, twips.top, twips.width, twips.height};
    }

private:
    double m_scale;
};

} // namespace zav
