#include "charts/chart_print_qt.h"

#include "charts/chart_draw_qt.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace stirpex {
namespace {

// A chart unit is a pixel of a screen at 96 dots per inch.
constexpr double kUnitsPerInch = 96;

} // namespace

int PrintChart(QPrinter& printer, const ChartLayout& layout, const ChartFonts& fonts, ChartPrintFit fit) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    const QRectF page = printer.pageLayout()
                            .paintRectPixels(printer.resolution())
                            .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    const double ownScale = printer.resolution() / kUnitsPerInch;
    if (fit == ChartPrintFit::OnePage) {
        const double scale = std::min(ownScale, std::min(page.width() / std::max(layout.width, 1.0),
                                                         page.height() / std::max(layout.height, 1.0)));
        painter.scale(scale, scale);
        DrawChart(painter, layout, fonts);
        return painter.end() ? 1 : 0;
    }
    const double tileWidth = page.width() / ownScale;
    const double tileHeight = page.height() / ownScale;
    const int columns = std::max(1, static_cast<int>(std::ceil(layout.width / tileWidth)));
    const int rows = std::max(1, static_cast<int>(std::ceil(layout.height / tileHeight)));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (row + column > 0) {
                printer.newPage();
            }
            painter.save();
            painter.setClipRect(page);
            painter.scale(ownScale, ownScale);
            painter.translate(-column * tileWidth, -row * tileHeight);
            DrawChart(painter, layout, fonts);
            painter.restore();
        }
    }
    return painter.end() ? rows * columns : 0;
}

} // namespace stirpex
