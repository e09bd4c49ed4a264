#include "charts/chart_export_qt.h"

#include "charts/chart_draw_qt.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace stirpex {
namespace {

// A chart unit is a pixel of a screen at 96 dots per inch.
constexpr double kUnitsPerInch = 96;

// Scales and centres the chart into `target`, in the painter's device units.
void fitInto(QPainter& painter, const ChartLayout& layout, const QRectF& target) {
    const double scale =
        std::min(target.width() / std::max(layout.width, 1.0), target.height() / std::max(layout.height, 1.0));
    painter.translate(target.x() + (target.width() - layout.width * scale) / 2,
                      target.y() + (target.height() - layout.height * scale) / 2);
    painter.scale(scale, scale);
}

bool writePng(const ChartLayout& layout, const ChartFonts& fonts, const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        fitInto(painter, layout, QRectF(QPointF(0, 0), QSizeF(size)));
        DrawChart(painter, layout, fonts);
    }
    return image.save(path, "PNG");
}

bool writeSvg(const ChartLayout& layout, const ChartFonts& fonts, const QString& path, QSize size) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(static_cast<int>(kUnitsPerInch));
    svg.setTitle(QStringLiteral("Chart"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    fitInto(painter, layout, QRectF(QPointF(0, 0), QSizeF(size)));
    DrawChart(painter, layout, fonts);
    return painter.end();
}

// The page is the size asked for, in points of 1/72 inch for every 1/96 of the chart.
bool writePdf(const ChartLayout& layout, const ChartFonts& fonts, const QString& path, QSize size) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / kUnitsPerInch, QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator(QStringLiteral("Stirpex"));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    fitInto(painter, layout, QRectF(0, 0, pdf.width(), pdf.height()));
    DrawChart(painter, layout, fonts);
    return painter.end();
}

} // namespace

std::optional<ChartFileFormat> ChartFileFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png")) {
        return ChartFileFormat::Png;
    }
    if (suffix == QStringLiteral("svg")) {
        return ChartFileFormat::Svg;
    }
    if (suffix == QStringLiteral("pdf")) {
        return ChartFileFormat::Pdf;
    }
    return std::nullopt;
}

QSize ChartFileSize(const ChartLayout& layout, QSize asked) {
    const double width = std::max(layout.width, 1.0);
    const double height = std::max(layout.height, 1.0);
    if (asked.width() > 0 && asked.height() > 0) {
        return asked;
    }
    if (asked.width() > 0) {
        return {asked.width(), std::max(1, static_cast<int>(std::lround(asked.width() * height / width)))};
    }
    if (asked.height() > 0) {
        return {std::max(1, static_cast<int>(std::lround(asked.height() * width / height))), asked.height()};
    }
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height))};
}

bool WriteChartFile(const ChartLayout& layout, const ChartFonts& fonts, const QString& path, ChartFileFormat format,
                    QSize size, QString& error) {
    bool written = false;
    switch (format) {
    case ChartFileFormat::Png:
        written = writePng(layout, fonts, path, size);
        break;
    case ChartFileFormat::Svg:
        written = writeSvg(layout, fonts, path, size);
        break;
    case ChartFileFormat::Pdf:
        written = writePdf(layout, fonts, path, size);
        break;
    }
    if (!written) {
        error = QStringLiteral("cannot write %1").arg(path);
    }
    return written;
}

} // namespace stirpex
