#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace zav {

// Turns the window's layout, kept in twips, into pixels. At the design font, 9 points, 15 twips
// make one device-independent pixel (the toolkit scales those for high-density screens). A
// larger font scales every position and size in proportion to its height and width, the way
// dialog units follow a dialog's font, so no caption is ever cut.
class TwipLayout
{
public:
    static constexpr double kDesignPointSize = 9.0;
    static constexpr int kTwipsPerPixel = 15;

    explicit TwipLayout(const QFont &font);

    [[nodiscard]] double scale() const { return m_scale; }
    [[nodiscard]] int pixels(int twips) const;
    [[nodiscard]] QRect pixels(const QRect &twips) const;

private:
    double m_scale = 1.0;
};

} // namespace zav
