#pragma once

// The person page's surface over a QPainter, for the screen and for paper.
// On screen one page unit is one pixel. On paper one unit is a tenth of a
// millimetre with y growing upwards from the top of the printable area: the
// surface maps each point itself (x * dpi / 254, -y * dpi / 254) rather than
// flipping the painter, which would mirror the text. Texts are placed by the
// top-left corner of their cell, and a face's height is its cell height
// (ascent + descent) in page units.

#include "page/page_surface.h"

#include <QFont>
#include <QPointF>

#include <array>

class QFontMetricsF;
class QPainter;

namespace stirpex {

class PainterSurface final : public PageSurface {
public:
    enum class Units { Pixels, TenthsOfMillimetre };

    PainterSurface(QPainter& painter, Units units);

    PageFace SelectFace(PageFace face) override;
    void SetTextColor(Rgb color) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

    // The face as a QFont sized for a device of `dotsPerInch` in the given units.
    static QFont MakeFont(PageFace face, double pixelsPerUnit);

private:
    double toDeviceY(int y) const noexcept;
    void underline(QPointF baseline, double width, const QFontMetricsF& metrics);

    QPainter& m_painter;
    double m_pixelsPerUnit = 1.0;
    bool m_yUp = false;
    PageFace m_face = PageFace::Text;
    std::array<QFont, 5> m_fonts;
};

} // namespace stirpex
