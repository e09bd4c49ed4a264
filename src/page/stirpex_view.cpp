#include "page/stirpex_view.h"

#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/page_accessible_qt.h"
#include "page/page_text.h"
#include "page/painter_surface_qt.h"
#include "shell/frame_geometry.h"
#include "shell/open_gedcom_app.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace stirpex {

namespace {

constexpr int kPageStep = 100;
constexpr int kLineStep = 20;
constexpr int kInitialHeight = 200;
// A focus frame stands this far outside its link and is repainted with it.
constexpr int kFrameMargin = 2;

PageRect toPageRect(const QRect& rect) {
    return PageRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

} // namespace

CStirpexView::CStirpexView(OpenGedcom& document, const PageDialogs& dialogs, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_dialogs(dialogs), m_totalHeight(kInitialHeight) {
    setObjectName(QStringLiteral("personPage"));
    InstallPageAccessibility(); // before anything asks how to describe this page
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
    horizontalScrollBar()->setRange(0, std::max(0, m_totalWidth - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_totalHeight - client.height()));
    horizontalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, client.width())));
    verticalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, client.height())));
}

void CStirpexView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    painter.translate(-pageOffset());
    PainterSurface surface(painter, PainterSurface::Units::Pixels);
    m_page.SetHomePerson(m_document.HomePerson());
    const PageRect exposed = toPageRect(event->rect().translated(pageOffset()));
    const PaintOutcome outcome =
        m_page.OnDraw(surface, m_document.Doc(), viewport()->width(),
                      NumberedTitle(m_document.Title().toStdString(), m_windowNumber), exposed);
    drawFocusFrame(painter);
    painter.end();
    if (outcome.width != m_totalWidth) {
        m_totalWidth = outcome.width;
        updateScrollRanges();
    }
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
        if (QAccessible::isActive()) {
            // Another person's page: its text and its links are new.
            QAccessibleEvent changed(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
            QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&reordered);
        }
    } else if (outcome.height != m_totalHeight) {
        // The home line came or went: the page is a line longer or shorter.
        m_totalHeight = std::max(0, outcome.height);
        updateScrollRanges();
    }
    showCaption(outcome.caption);
}

void CStirpexView::showCaption(std::string_view text) {
    const QString caption = QString::fromStdString(IsolateRightToLeft(text));
    if (caption != windowTitle()) {
        setWindowTitle(caption);
        emit captionChanged(caption);
    }
}

// Drawn by the view, so neither paper nor the page's text ever holds it.
void CStirpexView::drawFocusFrame(QPainter& painter) const {
    const PageLink* link = FocusedLink(m_page);
    if (link == nullptr) {
        return;
    }
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const PageRect& r = link->rect;
    painter.drawRect(QRect(QPoint(r.left - kFrameMargin, r.top), QPoint(r.right + kFrameMargin - 1, r.bottom - 1)));
}

void CStirpexView::FocusLink(int link) {
    apply(stirpex::FocusLink(m_page, link));
    announceFocus();
}

void CStirpexView::FollowLink(int link) {
    if (link >= 0 && link < static_cast<int>(m_page.Links().size())) {
        m_page.m_nFocus = link;
        apply(OnFollowFocus(m_page, m_document.Doc()));
    }
}

// A screen reader follows the frame from link to link as it would follow a focused control.
void CStirpexView::announceFocus() {
    if (FocusedLink(m_page) != nullptr && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_page.m_nFocus);
        QAccessible::updateAccessibility(&focus);
    }
}

void CStirpexView::SetWindowNumber(int number) {
    if (number != m_windowNumber) {
        m_windowNumber = number;
        // At once, not at the next paint: a minimised window is not painted but is listed in the Window menu.
        if (!m_page.m_bFirstDraw) {
            showCaption(m_page.Caption(NumberedTitle(m_document.Title().toStdString(), m_windowNumber)));
        }
    }
}

void CStirpexView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void CStirpexView::repaintNow(const PageRect& rect) {
    viewport()->repaint(ClientRect(rect).adjusted(-kFrameMargin, 0, kFrameMargin, 0));
}

// Scrolls as little as shows the whole rectangle, its left and top edges first where it is larger than the window.
void CStirpexView::reveal(const PageRect& rect) {
    const auto scrollTo = [](QScrollBar* bar, int near, int far, int client) {
        int value = bar->value();
        if (far > value + client) {
            value = far - client;
        }
        if (near < value) {
            value = near;
        }
        bar->setValue(value);
    };
    const QSize client = viewport()->size();
    scrollTo(horizontalScrollBar(), rect.left - kFrameMargin, rect.right + kFrameMargin, client.width());
    scrollTo(verticalScrollBar(), rect.top, rect.bottom, client.height());
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
    if (!effects.reveal.empty()) {
        reveal(effects.reveal);
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

bool CStirpexView::focusNextPrevChild(bool) {
    return false;
}

void CStirpexView::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    switch (plain ? event->key() : 0) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        apply(OnTabKey(m_page, event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier)));
        announceFocus();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        apply(OnFollowFocus(m_page, m_document.Doc()));
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CStirpexView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint point = toPage(event->pos());
    const PageLink* link = m_page.HitTest(point.x(), point.y());
    if (link == nullptr) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    clearHotLink();
    const std::unique_ptr<QMenu> menu = LinkMenu(*link);
    menu->exec(event->globalPos());
}

std::unique_ptr<QMenu> CStirpexView::LinkMenu(const PageLink& link) {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("linkMenu"));
    const std::string_view text = m_page.LinkText(link);
    QAction* copy = menu->addAction(QStringLiteral("Copy name"));
    copy->setObjectName(QStringLiteral("copyName"));
    connect(copy, &QAction::triggered, this,
            [name = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))] {
                QGuiApplication::clipboard()->setText(name);
            });
    if (link.nKind == LINK_PERSON) {
        QAction* open = menu->addAction(QStringLiteral("Open in New Window"));
        open->setObjectName(QStringLiteral("openInNewWindow"));
        open->setEnabled(static_cast<bool>(m_dialogs.newWindow));
        connect(open, &QAction::triggered, this, [this, index = link.nIndex] {
            const CStirpexDoc& doc = m_document.Doc();
            if (m_dialogs.newWindow && index >= 0 && index < doc.m_nPersons) {
                m_dialogs.newWindow(*this, *doc.m_ppPersons[static_cast<std::size_t>(index)]);
            }
        });
    }
    return menu;
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

void CStirpexView::StartAt(const CPerson& person) {
    m_page.m_bFirstDraw = false;
    ShowPerson(&person);
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
    case ID_VIEW_RELATIONSHIP:
        return m_dialogs.relationship && m_page.m_pPerson != nullptr;
    case ID_EDIT_SEARCH:
        return static_cast<bool>(m_dialogs.search);
    case ID_VIEW_HOME:
        return m_document.HomePerson() != nullptr;
    case ID_VIEW_SET_HOME:
        // Not the placeholder of a file without individuals, nor the home person again.
        return m_dialogs.setHome && m_page.m_pPerson != nullptr && m_document.Doc().m_nPersons > 0 &&
               m_page.m_pPerson != m_document.HomePerson();
    case ID_EDIT_COPY:
        return m_page.m_pPerson != nullptr;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        return static_cast<bool>(m_dialogs.print);
    case ID_CHART_PEDIGREE:
    case ID_CHART_DESCENDANTS:
    case ID_CHART_HOURGLASS:
    case ID_CHART_FAN:
        // Not the placeholder of a file without individuals.
        return m_dialogs.chart && m_page.m_pPerson != nullptr && m_document.Doc().m_nPersons > 0;
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
    case ID_VIEW_RELATIONSHIP:
        OnRelationship();
        break;
    case ID_EDIT_SEARCH:
        OnSearch();
        break;
    case ID_VIEW_HOME:
        OnHomePerson();
        break;
    case ID_CHART_PEDIGREE:
    case ID_CHART_DESCENDANTS:
    case ID_CHART_HOURGLASS:
    case ID_CHART_FAN:
        m_dialogs.chart(*this, command);
        break;
    case ID_VIEW_SET_HOME:
        OnSetHomePerson();
        break;
    case ID_EDIT_COPY:
        OnEditCopy();
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

void CStirpexView::OnEditCopy() {
    const std::string text =
        PageText(m_document.Doc(), m_page.m_pPerson, m_document.Title().toStdString(), m_document.HomePerson());
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
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

// The dialogs return the person to show; the page moves there as a link would.
void CStirpexView::OnRelationship() {
    clearHotLink();
    if (const CPerson* person = m_dialogs.relationship(*this)) {
        ShowPerson(person);
    }
}

void CStirpexView::OnSearch() {
    clearHotLink();
    if (const CPerson* person = m_dialogs.search(*this)) {
        ShowPerson(person);
    }
}

// Home on the home person's own page stays there: no second visit in the history.
void CStirpexView::OnHomePerson() {
    const CPerson* home = m_document.HomePerson();
    if (home != nullptr && home != m_page.m_pPerson) {
        clearHotLink();
        ShowPerson(home);
    }
}

void CStirpexView::OnSetHomePerson() {
    if (m_page.m_pPerson != nullptr) {
        m_dialogs.setHome(*this, *m_page.m_pPerson);
    }
}

} // namespace stirpex
