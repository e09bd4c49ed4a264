#include "charts/chart_view.h"

#include "charts/chart_accessible_qt.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace stirpex {
namespace {

// A chart smaller than the viewport stands in its middle.
int leftOver(int viewportSize, double chartSize) {
    return std::max(0, (viewportSize - static_cast<int>(std::ceil(chartSize))) / 2);
}

} // namespace

ChartView::ChartView(const ChartFonts& fonts, QWidget* parent)
    : QAbstractScrollArea(parent), m_fonts(fonts), m_layout(std::make_unique<ChartLayout>()),
      m_index(std::make_unique<ChartIndex>(*m_layout)) {
    InstallChartAccessibility(); // before anything asks how to describe this view
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

ChartView::~ChartView() = default;

void ChartView::SetChart(ChartLayout layout) {
    // The index refers to the layout: the old one goes first.
    m_index.reset();
    m_layout = std::make_unique<ChartLayout>(std::move(layout));
    m_index = std::make_unique<ChartIndex>(*m_layout);
    m_focus = m_layout->boxes.empty() ? -1 : 0;
    updateScrollRanges();
    reveal(m_focus);
    viewport()->update();
    if (QAccessible::isActive()) {
        // Other boxes, under the same indexes: whatever was read of them is stale.
        QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reordered);
    }
    announceFocus();
}

void ChartView::SetZoom(double zoom, QPoint anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_zoom) {
        return;
    }
    const ChartPoint fixed = toChart(anchor);
    m_zoom = zoom;
    updateScrollRanges();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(fixed.x * m_zoom)) - anchor.x());
    verticalScrollBar()->setValue(static_cast<int>(std::lround(fixed.y * m_zoom)) - anchor.y());
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void ChartView::FitToWindow() {
    const QSize room = viewport()->size() - QSize(8, 8);
    const double zoom =
        std::min({1.0, room.width() / std::max(m_layout->width, 1.0), room.height() / std::max(m_layout->height, 1.0)});
    SetZoom(zoom);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void ChartView::SetFocusBox(std::int32_t box) {
    if (box < 0 || static_cast<std::size_t>(box) >= m_layout->boxes.size()) {
        return;
    }
    const bool moved = box != m_focus;
    m_focus = box;
    reveal(box);
    viewport()->update();
    if (moved) {
        announceFocus();
    }
}

void ChartView::ChooseBox(std::int32_t box) {
    if (box < 0 || static_cast<std::size_t>(box) >= m_layout->boxes.size()) {
        return;
    }
    SetFocusBox(box);
    const std::int32_t person = m_layout->boxes[static_cast<std::size_t>(box)].person;
    if (person >= 0) {
        emit personChosen(person);
    }
}

std::int32_t ChartView::BoxAt(QPoint viewportPoint) const {
    return m_index->boxAt(toChart(viewportPoint));
}

// A screen reader follows the focus box as it would a focused control; while
// the keyboard is elsewhere the box is no one's focus and nothing is said.
void ChartView::announceFocus() {
    if (m_focus >= 0 && hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_focus);
        QAccessible::updateAccessibility(&focus);
    }
}

QRect ChartView::ViewportRect(std::int32_t box) const {
    const ChartRect& r = m_layout->boxes[static_cast<std::size_t>(box)].rect;
    const int left = leftOver(viewport()->width(), m_layout->width * m_zoom) - horizontalScrollBar()->value();
    const int top = leftOver(viewport()->height(), m_layout->height * m_zoom) - verticalScrollBar()->value();
    return QRectF(left + r.x * m_zoom, top + r.y * m_zoom, r.width * m_zoom, r.height * m_zoom).toAlignedRect();
}

ChartRect ChartView::VisibleArea() const {
    const ChartPoint topLeft = toChart(QPoint(0, 0));
    return {topLeft.x, topLeft.y, viewport()->width() / m_zoom, viewport()->height() / m_zoom};
}

ChartPoint ChartView::toChart(QPoint viewportPoint) const {
    const int left = leftOver(viewport()->width(), m_layout->width * m_zoom);
    const int top = leftOver(viewport()->height(), m_layout->height * m_zoom);
    return {(viewportPoint.x() - left + horizontalScrollBar()->value()) / m_zoom,
            (viewportPoint.y() - top + verticalScrollBar()->value()) / m_zoom};
}

void ChartView::updateScrollRanges() {
    const QSize room = viewport()->size();
    const int width = static_cast<int>(std::ceil(m_layout->width * m_zoom));
    const int height = static_cast<int>(std::ceil(m_layout->height * m_zoom));
    horizontalScrollBar()->setRange(0, std::max(0, width - room.width()));
    horizontalScrollBar()->setPageStep(room.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, height - room.height()));
    verticalScrollBar()->setPageStep(room.height());
    verticalScrollBar()->setSingleStep(20);
}

void ChartView::reveal(std::int32_t box) {
    if (box < 0) {
        return;
    }
    const QRect rect = ViewportRect(box);
    const QRect room = viewport()->rect().adjusted(8, 8, -8, -8);
    if (room.contains(rect)) {
        return;
    }
    // Centred on the box, as far as the scroll ranges allow.
    const QPoint shift = rect.center() - room.center();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + shift.y());
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const ChartRect area = VisibleArea();
    m_index->boxesIn(area, m_visibleBoxes);
    m_index->connectorsIn(area, m_visibleConnectors);
    const ChartPoint origin = toChart(QPoint(0, 0));
    painter.scale(m_zoom, m_zoom);
    painter.translate(-origin.x, -origin.y);
    painter.fillRect(QRectF(0, 0, m_layout->width, m_layout->height), Qt::white);
    DrawChartParts(painter, *m_layout, m_fonts, m_visibleBoxes, m_visibleConnectors);
    if (hasFocus()) {
        DrawChartFocus(painter, *m_layout, m_focus);
    }
    m_paintedBoxes = m_visibleBoxes.size();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_dragged = false;
    m_pressAt = event->position().toPoint();
    m_pressScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) {
        return;
    }
    const QPoint moved = event->position().toPoint() - m_pressAt;
    if (!m_dragged && moved.manhattanLength() < QApplication::startDragDistance()) {
        return;
    }
    if (!m_dragged) {
        m_dragged = true;
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    horizontalScrollBar()->setValue(m_pressScroll.x() - moved.x());
    verticalScrollBar()->setValue(m_pressScroll.y() - moved.y());
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    if (m_dragged) {
        viewport()->unsetCursor();
        return;
    }
    ChooseBox(BoxAt(event->position().toPoint()));
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const std::int32_t box = BoxAt(event->position().toPoint());
    const std::int32_t person = box < 0 ? -1 : m_layout->boxes[static_cast<std::size_t>(box)].person;
    if (person >= 0) {
        emit recentreAsked(person);
    }
}

void ChartView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) {
        SetZoom(m_zoom * std::pow(kZoomStep, steps), event->position().toPoint());
    }
    event->accept();
}

void ChartView::moveFocus(ChartDirection direction) {
    if (m_layout->boxes.empty()) {
        return;
    }
    SetFocusBox(m_focus < 0 ? 0 : NeighbourBox(*m_layout, m_focus, direction));
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomIn();
        break;
    case Qt::Key_Minus:
        ZoomOut();
        break;
    case Qt::Key_Asterisk:
        FitToWindow();
        break;
    case Qt::Key_Left:
        moveFocus(ChartDirection::Left);
        break;
    case Qt::Key_Right:
        moveFocus(ChartDirection::Right);
        break;
    case Qt::Key_Up:
        moveFocus(ChartDirection::Up);
        break;
    case Qt::Key_Down:
        moveFocus(ChartDirection::Down);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ChooseBox(m_focus);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace stirpex
