#include "page/painter_surface_qt.h"

#include "model/text_direction.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

#include <cmath>
#include <limits>

namespace stirpex {

namespace {

constexpr std::array kFaces = {PageFace::Text, PageFace::Link, PageFace::SmallLink, PageFace::Print,
                               PageFace::PrintBold};

std::size_t slot(PageFace face) noexcept {
    return static_cast<std::size_t>(face);
}

// Every text the page draws is a name, a place or a line around them: each keeps the page's left-to-right order.
QString toQString(std::string_view text) {
    const std::string isolated = IsolateRightToLeft(text);
    return QString::fromUtf8(isolated.data(), static_cast<qsizetype>(isolated.size()));
}

} // namespace

QFont PainterSurface::MakeFont(PageFace face, double pixelsPerUnit) {
    const FaceSpec described = SpecOf(face);
    QFont font(toQString(described.name));
    font.setWeight(described.weight >= 700 ? QFont::Bold : QFont::Normal);
    // Links are underlined by TextOut, at the face's own underline position and thickness.
    font.setStyleStrategy(QFont::PreferAntialias);
    // The height asked for is the whole cell; a pixel size is the em, which is smaller.
    const double cell = described.height * pixelsPerUnit;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell))));
    const double measured = QFontMetricsF(font).height();
    if (measured > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * cell / measured))));
    }
    return font;
}

PainterSurface::PainterSurface(QPainter& painter, Units units) : m_painter(painter) {
    if (units == Units::TenthsOfMillimetre) {
        const QPaintDevice* device = painter.device();
        m_pixelsPerUnit = (device ? device->logicalDpiY() : 96) / 254.0;
        m_yUp = true;
    }
    for (const PageFace face : kFaces) {
        m_fonts[slot(face)] = MakeFont(face, m_pixelsPerUnit);
    }
    m_painter.setFont(m_fonts[slot(m_face)]);
    m_painter.setPen(QColor(0, 0, 0));
}

PageFace PainterSurface::SelectFace(PageFace face) {
    const PageFace previous = m_face;
    m_face = face;
    m_painter.setFont(m_fonts[slot(face)]);
    return previous;
}

void PainterSurface::SetTextColor(Rgb color) {
    m_painter.setPen(QColor(color.r, color.g, color.b));
}

double PainterSurface::toDeviceY(int y) const noexcept {
    const double units = y; // -y of the smallest int is no int
    return (m_yUp ? -units : units) * m_pixelsPerUnit;
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
    if (text.empty()) {
        return;
    }
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const QString shown = toQString(text);
    const QPointF baseline(x * m_pixelsPerUnit, toDeviceY(y) + metrics.ascent());
    m_painter.drawText(baseline, shown);
    if (SpecOf(m_face).underline) {
        underline(baseline, metrics.horizontalAdvance(shown), metrics);
    }
}

// The face's own underline position and thickness, snapped to whole pixels so
// that it stays one crisp line under the tails of commas and brackets.
void PainterSurface::underline(QPointF baseline, double width, const QFontMetricsF& metrics) {
    const double thickness = std::max(1.0, std::round(metrics.lineWidth()));
    const double top = std::round(baseline.y() + metrics.underlinePos() - thickness / 2);
    m_painter.fillRect(QRectF(baseline.x(), top, width, thickness), m_painter.pen().color());
}

int PainterSurface::TextWidth(std::string_view text) {
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const double width = std::ceil(metrics.horizontalAdvance(toQString(text)) / m_pixelsPerUnit);
    // A width past the largest int has no int: it stops there.
    return width < std::numeric_limits<int>::max() ? static_cast<int>(width) : std::numeric_limits<int>::max();
}

} // namespace stirpex
