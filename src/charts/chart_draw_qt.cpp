#include "charts/chart_draw_qt.h"

#include <QFontMetricsF>
#include <QtMath>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cmath>
#include <numeric>
#include <vector>

namespace stirpex {
namespace {

constexpr double kNamePixels = 12;
constexpr double kDetailPixels = 11;
constexpr double kCornerRadius = 7;
constexpr double kFoldSize = 8;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont sized(QFont font, double pixels) {
    font.setPixelSize(static_cast<int>(pixels));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Light fills, each still a distinct grey when printed without colour.
QColor fillOf(const ChartBox& box) {
    if (box.kind != ChartBoxKind::Person) {
        return QColor(0xf4, 0xf4, 0xf4);
    }
    switch (box.sex) {
    case ChartSex::Male:
        return QColor(0xd6, 0xe6, 0xfa);
    case ChartSex::Female:
        return QColor(0xfb, 0xdc, 0xe6);
    case ChartSex::Unknown:
        break;
    }
    return QColor(0xff, 0xff, 0xf0);
}

QPen edgeOf(const ChartBox& box) {
    if (box.kind != ChartBoxKind::Person) {
        QPen pen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine);
        return pen;
    }
    switch (box.sex) {
    case ChartSex::Male:
        return QPen(QColor(0x1d, 0x4f, 0x9c), 2.2);
    case ChartSex::Female:
        return QPen(QColor(0xa8, 0x2a, 0x5a), 2.2);
    case ChartSex::Unknown:
        break;
    }
    return QPen(QColor(0x50, 0x50, 0x50), 1);
}

QPainterPath sectorPath(const ChartLayout& layout, const ChartSector& sector) {
    const QPointF centre(layout.fanCentre.x, layout.fanCentre.y);
    const auto ring = [&](double radius) {
        return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    };
    QPainterPath path;
    if (sector.innerRadius <= 0 && sector.sweepAngle >= 360) {
        path.addEllipse(ring(sector.outerRadius));
        return path;
    }
    path.arcMoveTo(ring(sector.outerRadius), sector.startAngle);
    path.arcTo(ring(sector.outerRadius), sector.startAngle, sector.sweepAngle);
    if (sector.innerRadius <= 0) {
        path.lineTo(centre);
    } else {
        path.arcTo(ring(sector.innerRadius), sector.startAngle + sector.sweepAngle, -sector.sweepAngle);
    }
    path.closeSubpath();
    return path;
}

QPainterPath boxPath(const ChartLayout& layout, const ChartBox& box) {
    if (box.isSector) {
        return sectorPath(layout, box.sector);
    }
    const QRectF rect(box.rect.x, box.rect.y, box.rect.width, box.rect.height);
    QPainterPath path;
    if (box.kind == ChartBoxKind::Person && box.sex == ChartSex::Female) {
        path.addRoundedRect(rect, kCornerRadius, kCornerRadius);
    } else {
        path.addRect(rect);
    }
    return path;
}

// A folded corner (a notch at the outer edge of a sector): the person is drawn
// in full elsewhere.
void drawCollapseMark(QPainter& painter, const ChartLayout& layout, const ChartBox& box) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x40, 0x40));
    if (box.isSector) {
        const double angle = qDegreesToRadians(box.sector.startAngle + box.sector.sweepAngle / 2);
        const double radius = box.sector.outerRadius - kFoldSize / 2 - 1;
        const QPointF at(layout.fanCentre.x + radius * std::cos(angle), layout.fanCentre.y - radius * std::sin(angle));
        painter.drawEllipse(at, kFoldSize / 3, kFoldSize / 3);
        return;
    }
    QPainterPath fold;
    fold.moveTo(box.rect.right() - kFoldSize, box.rect.y);
    fold.lineTo(box.rect.right(), box.rect.y);
    fold.lineTo(box.rect.right(), box.rect.y + kFoldSize);
    fold.closeSubpath();
    painter.drawPath(fold);
}

void drawTexts(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts, const ChartBox& box) {
    const bool empty = box.kind != ChartBoxKind::Person;
    painter.setPen(empty ? QColor(0x60, 0x60, 0x60) : QColor(0x10, 0x10, 0x10));
    for (const ChartText& text : layout.textsOf(box)) {
        const QFont& font = fonts.font(text.font);
        const QFontMetricsF metrics(font);
        painter.setFont(font);
        painter.save();
        painter.translate(text.centre.x, text.centre.y);
        painter.rotate(text.rotation);
        const double top = -(metrics.ascent() + metrics.descent()) / 2;
        painter.drawText(QPointF(-text.width / 2, top + metrics.ascent()), toQString(text.text));
        painter.restore();
    }
}

void drawBox(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts, const ChartBox& box) {
    painter.setPen(edgeOf(box));
    painter.setBrush(fillOf(box));
    painter.drawPath(boxPath(layout, box));
    if (box.firstBox >= 0) {
        drawCollapseMark(painter, layout, box);
    }
    drawTexts(painter, layout, fonts, box);
}

} // namespace

ChartFonts::ChartFonts() : ChartFonts(QGuiApplication::font()) {}

ChartFonts::ChartFonts(const QFont& base) {
    QFont name = sized(base, kNamePixels);
    name.setBold(true);
    QFont note = sized(base, kDetailPixels);
    note.setItalic(true);
    m_fonts = {name, sized(base, kDetailPixels), note};
}

QtChartMeasure::QtChartMeasure(const ChartFonts& fonts)
    : m_metrics{QFontMetricsF(fonts.font(ChartFont::Name)), QFontMetricsF(fonts.font(ChartFont::Detail)),
                QFontMetricsF(fonts.font(ChartFont::Note))} {}

double QtChartMeasure::textWidth(ChartFont font, std::string_view text) const {
    return m_metrics[static_cast<std::size_t>(font)].horizontalAdvance(toQString(text));
}

double QtChartMeasure::lineHeight(ChartFont font) const {
    const QFontMetricsF& metrics = m_metrics[static_cast<std::size_t>(font)];
    return metrics.ascent() + metrics.descent();
}

void DrawChartParts(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts,
                    std::span<const std::int32_t> boxes, std::span<const std::int32_t> connectors) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2));
    for (const std::int32_t i : connectors) {
        const ChartSegment& segment = layout.connectors[static_cast<std::size_t>(i)];
        painter.drawLine(QPointF(segment.from.x, segment.from.y), QPointF(segment.to.x, segment.to.y));
    }
    for (const std::int32_t i : boxes) {
        drawBox(painter, layout, fonts, layout.boxes[static_cast<std::size_t>(i)]);
    }
    painter.restore();
}

void DrawChart(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts) {
    std::vector<std::int32_t> boxes(layout.boxes.size());
    std::iota(boxes.begin(), boxes.end(), 0);
    std::vector<std::int32_t> connectors(layout.connectors.size());
    std::iota(connectors.begin(), connectors.end(), 0);
    painter.fillRect(QRectF(0, 0, layout.width, layout.height), Qt::white);
    DrawChartParts(painter, layout, fonts, boxes, connectors);
}

void DrawChartFocus(QPainter& painter, const ChartLayout& layout, std::int32_t box) {
    if (box < 0 || static_cast<std::size_t>(box) >= layout.boxes.size()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0xe0, 0x8a, 0x00), 3);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const ChartBox& focused = layout.boxes[static_cast<std::size_t>(box)];
    if (focused.isSector) {
        painter.drawPath(sectorPath(layout, focused.sector));
    } else {
        painter.drawRect(
            QRectF(focused.rect.x - 3, focused.rect.y - 3, focused.rect.width + 6, focused.rect.height + 6));
    }
    painter.restore();
}

} // namespace stirpex
