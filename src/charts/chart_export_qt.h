#pragma once

// A chart written to a file, drawn by the one drawing
// the window uses (charts/chart_draw_qt.h). Files take any size: the chart is
// scaled to fit it, centred, its proportions kept; SVG and PDF keep every text
// as text, so a name can be found and copied.

#include "charts/chart_layout.h"

#include <QSize>
#include <QString>

#include <optional>

namespace stirpex {

class ChartFonts;

enum class ChartFileFormat { Png, Svg, Pdf };

// The format a file name's suffix asks for, or none.
std::optional<ChartFileFormat> ChartFileFormatOf(const QString& path);

// The size a file gets: `asked` where given (a zero width or height follows
// the other through the chart's proportions), else the chart's own size.
QSize ChartFileSize(const ChartLayout& layout, QSize asked);

// Writes the file; on failure returns false with the reason in `error`.
bool WriteChartFile(const ChartLayout& layout, const ChartFonts& fonts, const QString& path, ChartFileFormat format,
                    QSize size, QString& error);

} // namespace stirpex
