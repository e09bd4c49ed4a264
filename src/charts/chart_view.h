#pragma once

// A laid-out chart on screen: zoomed and panned, painting only the boxes and
// lines the viewport shows (found through the chart's index, so a chart of a
// hundred thousand boxes scrolls as fast as one of ten), with a keyboard focus
// that the arrow keys move between boxes. The view decides nothing about
// people: a click or Enter reports the person, a double-click asks for the
// chart to be centred on them, and the window acts.

#include "charts/chart_draw_qt.h"
#include "charts/chart_index.h"
#include "charts/chart_layout.h"

#include <QAbstractScrollArea>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <vector>

namespace stirpex {

class ChartView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr double kMinZoom = 0.05;
    static constexpr double kMaxZoom = 8;
    static constexpr double kZoomStep = 1.25;

    explicit ChartView(const ChartFonts& fonts, QWidget* parent = nullptr);
    ~ChartView() override;

    // Shows a new chart at the same zoom, its centre person in view and focused.
    void SetChart(ChartLayout layout);
    const ChartLayout& Chart() const noexcept { return *m_layout; }

    double Zoom() const noexcept { return m_zoom; }
    // Zooms about a viewport point, which keeps the chart point under it.
    void SetZoom(double zoom, QPoint anchor);
    void SetZoom(double zoom) { SetZoom(zoom, viewport()->rect().center()); }
    void ZoomIn() { SetZoom(m_zoom * kZoomStep); }
    void ZoomOut() { SetZoom(m_zoom / kZoomStep); }
    // The whole chart in the viewport, never larger than its own size.
    void FitToWindow();

    std::int32_t FocusBox() const noexcept { return m_focus; }
    // Moves the focus box; a screen reader is told when the view has the keyboard focus.
    void SetFocusBox(std::int32_t box);
    // Focuses the box and, for a person's box, reports the person as a click does.
    void ChooseBox(std::int32_t box);
    // The box drawn at a viewport point; -1 for none.
    std::int32_t BoxAt(QPoint viewportPoint) const;
    // Where a box lies in viewport coordinates.
    QRect ViewportRect(std::int32_t box) const;
    // The chart area the viewport shows, in chart units.
    ChartRect VisibleArea() const;
    // Boxes drawn by the last paint, for the tests and the benchmark.
    std::size_t LastPaintedBoxes() const noexcept { return m_paintedBoxes; }

signals:
    // A click on a person's box, or Enter on the focused one: m_nIndex.
    void personChosen(std::int32_t person);
    // A double-click on a person's box.
    void recentreAsked(std::int32_t person);
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ChartPoint toChart(QPoint viewportPoint) const;
    void updateScrollRanges();
    void reveal(std::int32_t box);
    void moveFocus(ChartDirection direction);
    void announceFocus();

    const ChartFonts& m_fonts;
    std::unique_ptr<ChartLayout> m_layout;
    std::unique_ptr<ChartIndex> m_index;
    double m_zoom = 1;
    std::int32_t m_focus = 0;
    QPoint m_pressAt;
    QPoint m_pressScroll;
    bool m_pressed = false;
    bool m_dragged = false;
    std::vector<std::int32_t> m_visibleBoxes; // kept from paint to paint
    std::vector<std::int32_t> m_visibleConnectors;
    std::size_t m_paintedBoxes = 0;
};

} // namespace stirpex
