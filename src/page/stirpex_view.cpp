#include "page/stirpex_view.h"

#include "model/stirpex_doc.h"
#include "page/painter_surface_qt.h"
#include "shell/open_gedcom_app.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace stirpex {

namespace {

constexpr int kPageStep = 100;
constexpr int kLineStep = 20;
constexpr int kInitialHeight = 200;

} // namespace

CStirpexView::CStirpexView(OpenGedcom& document, const PageDialogs& dialogs, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_dialogs(dialogs), m_totalHeight(kInitialHeight) {
    setObjectName(QStringLiteral("personPage"));
    resize(500, 400);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(palette);
    horizontalScrollBar()->setPageStep(kPageStep);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setPageStep(kPageStep);
    verticalScrollBar()->setSingleStep(kLineStep);
    updateScrollRanges();
}

CStirpexView::~CStirpexView() = default;

const CStirpexDoc& CStirpexView::GetDocument() const noexcept {
    return m_document.Doc();
}

QPoint CStirpexView::pageOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QRect CStirpexView::ClientRect(const PageRect& rect) const {
    return QRect(QPoint(rect.left, rect.top) - pageOffset(), QPoint(rect.right - 1, rect.bottom - 1) - pageOffset());
}

void CStirpexView::updateScrollRanges() {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, PersonPage::kScrollWidth - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_totalHeight - client.height()));
    horizontalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, client.width())));
    verticalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, client.height())));
}

void CStirpexView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    painter.translate(-pageOffset());
    PainterSurface surface(painter, PainterSurface::Units::Pixels);
    const PaintOutcome outcome =
        m_page.OnDraw(surface, m_document.Doc(), viewport()->width(), m_document.Title().toStdString());
    painter.end();
    if (outcome.newPerson) {
        m_totalHeight = std::max(0, outcome.height);
        updateScrollRanges();
        const bool scrolled = pageOffset() != QPoint(0, 0);
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        if (scrolled) {
            viewport()->update();
        }
        emit commandsChanged();
    }
    const QString caption = QString::fromStdString(outcome.caption);
    if (caption != windowTitle()) {
        setWindowTitle(caption);
        emit captionChanged(caption);
    }
}

void CStirpexView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void CStirpexView::repaintNow(const PageRect& rect) {
    viewport()->repaint(ClientRect(rect));
}

void CStirpexView::repaintAll() {
    viewport()->repaint();
}

void CStirpexView::apply(const PageEffects& effects) {
    for (int i = 0; i < effects.repaintCount; ++i) {
        repaintNow(effects.repaint[static_cast<std::size_t>(i)]);
    }
    if (effects.cursor == PageCursor::Hand) {
        viewport()->setCursor(Qt::PointingHandCursor);
    } else if (effects.cursor == PageCursor::Arrow) {
        viewport()->setCursor(Qt::ArrowCursor);
    }
    if (effects.story && m_dialogs.story) {
        m_dialogs.story(*this, *effects.story);
    }
    if (effects.media && m_dialogs.media) {
        const CStirpexDoc& doc = m_document.Doc();
        const int index = *effects.media;
        if (index >= 0 && index < doc.m_nExtObjs) {
            m_dialogs.media(*this, *doc.m_ppExtObjs[static_cast<std::size_t>(index)]);
        }
    }
    if (effects.repaintAll) {
        repaintAll();
    }
}

void CStirpexView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = toPage(event->position().toPoint());
    apply(OnMouseMove(m_page, point.x(), point.y()));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CStirpexView::leaveEvent(QEvent* event) {
    // Leaving the page area for the frame or a scroll bar.
    apply(OnNcMouseMove(m_page));
    QAbstractScrollArea::leaveEvent(event);
}

void CStirpexView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        apply(OnLButtonDown(m_page));
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CStirpexView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint point = toPage(event->position().toPoint());
        apply(OnLButtonUp(m_page, m_document.Doc(), point.x(), point.y()));
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

// The second press of a double click presses nothing, so a double click acts as one click.
void CStirpexView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CStirpexView::ShowPerson(const CPerson* person) {
    apply(stirpex::ShowPerson(m_page, person));
}

void CStirpexView::clearHotLink() {
    apply(ClearHotLink(m_page));
}

bool CStirpexView::IsCommandEnabled(int command) const noexcept {
    switch (command) {
    case ID_EDIT_FIND:
        return static_cast<bool>(m_dialogs.find);
    case ID_EDIT_GOTO:
        return static_cast<bool>(m_dialogs.goTo);
    case ID_FILE_PROPERTIES:
        return static_cast<bool>(m_dialogs.properties);
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        return static_cast<bool>(m_dialogs.print);
    case ID_VIEW_ANCESTORS:
    case ID_VIEW_DESCENDANTS:
    case ID_VIEW_MTDNA:
    case ID_VIEW_YCHROMOSOME:
        return m_dialogs.tree && stirpex::IsCommandEnabled(m_page, command);
    default:
        return stirpex::IsCommandEnabled(m_page, command);
    }
}

bool CStirpexView::RunCommand(int command) {
    if (!IsCommandEnabled(command)) {
        return false;
    }
    switch (command) {
    case ID_GO_BACK:
        OnBack();
        break;
    case ID_GO_FORWARD:
        OnForward();
        break;
    case ID_EDIT_GOTO:
        OnGoTo();
        break;
    case ID_EDIT_FIND:
        OnFind();
        break;
    case ID_VIEW_ANCESTORS:
        OnAncestors();
        break;
    case ID_VIEW_DESCENDANTS:
        OnDescendants();
        break;
    case ID_VIEW_MTDNA:
        OnMtDNA();
        break;
    case ID_VIEW_YCHROMOSOME:
        OnYChromosome();
        break;
    case ID_FILE_PROPERTIES:
        OnFileProperties();
        break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        m_dialogs.print(*this, command);
        break;
    default:
        return false;
    }
    return true;
}

void CStirpexView::OnBack() {
    apply(stirpex::OnBack(m_page, m_document.Doc()));
}

void CStirpexView::OnForward() {
    apply(stirpex::OnForward(m_page, m_document.Doc()));
}

void CStirpexView::OnGoTo() {
    if (m_dialogs.goTo && m_dialogs.goTo(*this)) {
        apply(OnGoToAccepted(m_page, m_document.Doc(), m_document.Doc().m_strGoToID));
    }
}

void CStirpexView::OnFind() {
    if (m_dialogs.find) {
        clearHotLink();
        m_dialogs.find(*this);
    }
}

void CStirpexView::runTree(int treeKind) {
    if (!m_dialogs.tree) {
        return;
    }
    clearHotLink();
    const bool accepted = m_dialogs.tree(*this, treeKind);
    apply(OnTreeClosed(m_page, accepted));
}

void CStirpexView::OnAncestors() {
    runTree(1);
}

void CStirpexView::OnDescendants() {
    runTree(2);
}

void CStirpexView::OnMtDNA() {
    runTree(3);
}

void CStirpexView::OnYChromosome() {
    runTree(4);
}

void CStirpexView::OnFileProperties() {
    if (m_dialogs.properties) {
        clearHotLink();
        if (const CPerson* person = m_dialogs.properties(*this)) {
            ShowPerson(person);
        }
        repaintAll();
    }
}

} // namespace stirpex
