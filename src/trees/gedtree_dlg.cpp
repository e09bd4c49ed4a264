#include "trees/gedtree_dlg.h"

#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"
#include "shell/dialog_layout_qt.h"
#include "trees/lineage_tree_model_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTreeView>

#include <algorithm>

namespace stirpex {
namespace {

// The tree draws its branches as dotted lines with plus and minus boxes,
// which the desktop style of the rest of the window may not do; everything
// else keeps that style.
class BranchLineStyle final : public QProxyStyle {
public:
    BranchLineStyle() : m_lines(QStyleFactory::create(QStringLiteral("Windows"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_IndicatorBranch && m_lines) {
            m_lines->drawPrimitive(element, option, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    std::unique_ptr<QStyle> m_lines;
};

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CGedTreeDlg::CGedTreeDlg(const std::array<QIcon, 3>& icons, MessageSink* messages, QWidget* parent)
    : QDialog(parent), m_messageBoxes(this), m_messages(messages ? messages : &m_messageBoxes),
      m_treeStyle(std::make_unique<BranchLineStyle>()) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_model = new LineageTreeModel(m_nodes, icons, this);

    m_wndTree = new QTreeView(this);
    m_wndTree->setObjectName(QStringLiteral("tree"));
    m_wndTree->setStyle(m_treeStyle.get());
    m_wndTree->setHeaderHidden(true);
    m_wndTree->setRootIsDecorated(true);
    m_wndTree->setItemsExpandable(true);
    m_wndTree->setExpandsOnDoubleClick(false);
    // Every row is one icon and one line of text: the view then measures one
    // row instead of a million.
    m_wndTree->setUniformRowHeights(true);
    m_wndTree->setIconSize(QSize(16, 16));
    m_wndTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_wndTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Deep nodes scroll into view sideways instead of being cut off at the right edge.
    m_wndTree->header()->setStretchLastSection(false);
    m_wndTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_wndTree->setModel(m_model);
    m_wndTree->installEventFilter(this);
    m_wndTree->viewport()->installEventFilter(this);

    m_btnSpouses = new QCheckBox(QStringLiteral("Include spouses"), this);
    m_btnSpouses->setObjectName(QStringLiteral("spouses"));
    connect(m_btnSpouses, &QCheckBox::clicked, this, &CGedTreeDlg::OnIncludeSpouses);
    placeControls();

    SetAccessibleTexts({
        {m_wndTree, QStringLiteral("Lineage tree"),
         QStringLiteral("Each person under the one they descend from or lead to; Enter or a double click shows the "
                        "person's page")},
    });
}

CGedTreeDlg::~CGedTreeDlg() {
    // The tree goes with the dialog's children, after the members: it must not keep the style it is lent.
    m_wndTree->setStyle(nullptr);
}

void CGedTreeDlg::placeControls() {
    m_wndTree->setGeometry(0, 0, DialogUnitsX(280), DialogUnitsY(200));
    // The check box is never smaller than its label needs in the font it is given.
    const QSize hint = m_btnSpouses->sizeHint();
    m_btnSpouses->setGeometry(DialogUnitsX(100), DialogUnitsY(200), std::max(DialogUnitsX(67), hint.width()),
                              std::max(DialogUnitsY(10), hint.height()));
    resize(DialogUnitsX(282), std::max(DialogUnitsY(209), m_btnSpouses->geometry().bottom() + 1));
}

int CGedTreeDlg::ShowTree(CStirpexView& view, const CStirpexDoc& document, int treeKind) {
    m_pView = &view;
    m_pDoc = &document;
    m_nTreeKind = treeKind;
    OnInitDialog();
    // Once the window is up: the view then scrolls in its final size, and a
    // message box about the tree stands in front of it.
    QMetaObject::invokeMethod(this, &CGedTreeDlg::OnOpened, Qt::QueuedConnection);
    return exec();
}

void CGedTreeDlg::OnInitDialog() {
    m_rectClient = rect();
    m_rectTree = m_wndTree->geometry();
    m_rectCheck = m_btnSpouses->geometry();

    m_walks = std::make_unique<TreeWalks>(*m_pDoc, m_nodes, m_messages);
    m_walks->setLimits(m_limits);
    m_btnSpouses->setChecked(true);

    const WaitCursor wait;
    m_model->Rebuild([this] { m_walks->Open(m_pView->Page().m_pPerson, m_nTreeKind); });
    m_btnSpouses->setEnabled(m_walks->SpousesEnabled());
    const std::string title = IsolateRightToLeft(m_walks->Title());
    if (!title.empty()) {
        setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    }
    OpenTree(*m_wndTree, *m_model);
    showSelected();
    m_wndTree->setFocus();
}

void CGedTreeDlg::OnOpened() {
    scrollToVisibleNode();
    if (m_nodes.cut()) {
        m_messages->Show(m_nodes.cutMessage());
    }
}

void CGedTreeDlg::showSelected() {
    const QModelIndex selected = m_model->IndexOf(m_nodes.selected());
    if (selected.isValid()) {
        m_wndTree->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
    }
}

void CGedTreeDlg::scrollToVisibleNode() {
    // Scrolling to a node below the closed levels would open them all in one deep pass.
    const TreeItem item = m_nodes.visibleItem();
    const QModelIndex visible = m_model->IndexOf(item);
    if (!visible.isValid() || DepthOf(m_nodes, item) > kMaxOpenDepth) {
        return;
    }
    // The first scroll lays the rows out and sets the scroll ranges; the view
    // shows its scroll bars a moment later, which narrows the viewport. Let
    // it do so now, then scroll within the final viewport.
    m_wndTree->scrollTo(visible, QAbstractItemView::EnsureVisible);
    QCoreApplication::sendPostedEvents(m_wndTree, QEvent::MetaCall);
    m_wndTree->scrollTo(visible, QAbstractItemView::EnsureVisible);
    // The view scrolls sideways by whole columns, and its one column is as
    // wide as the deepest row: bring the node's own text in, right-aligned
    // unless it is wider than the view.
    const QRect rect = m_wndTree->visualRect(visible);
    const int shift = std::min(rect.right() - m_wndTree->viewport()->width() + 1, rect.left());
    if (shift > 0) {
        QScrollBar* bar = m_wndTree->horizontalScrollBar();
        bar->setValue(bar->value() + shift);
    }
}

bool CGedTreeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_wndTree && isEnter(event)) {
        OnReturnTree();
        return true;
    }
    // "*" opens a whole subtree in one deep pass; the tree opens fully expanded anyway.
    if (watched == m_wndTree && event->type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
        return true;
    }
    // The first click of a double-click has already selected what lay under
    // the pointer; the choice is the selected node, wherever the second click fell.
    if (watched == m_wndTree->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnDblclkTree();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CGedTreeDlg::keyPressEvent(QKeyEvent* event) {
    // Enter belongs to the control with the focus; on the check box it does
    // nothing, and it never closes the window as a default button would.
    if (isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CGedTreeDlg::OnDblclkTree() {
    chooseSelected();
}

void CGedTreeDlg::OnReturnTree() {
    chooseSelected();
}

void CGedTreeDlg::chooseSelected() {
    const QModelIndexList selected = m_wndTree->selectionModel()->selectedIndexes();
    const std::int32_t person = selected.isEmpty() ? -1 : selected.front().data(LineageTreeModel::PersonRole).toInt();
    if (person >= 0) {
        m_pView->Page().SetPerson(m_walks->Choose(person));
    }
    accept();
}

void CGedTreeDlg::OnIncludeSpouses() {
    if (!m_walks) {
        return;
    }
    m_model->Rebuild([this] { m_walks->OnIncludeSpouses(); });
    OpenTree(*m_wndTree, *m_model);
}

void CGedTreeDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_rectClient.isNull()) {
        return; // not laid out yet: there are no margins to keep
    }
    m_wndTree->setGeometry(FollowAllEdges(rect(), m_rectClient, m_rectTree));
    m_btnSpouses->move(FollowBottomEdge(rect(), m_rectClient, m_rectCheck));
}

bool ShowTreeDialog(CStirpexView& view, int treeKind, const std::array<QIcon, 3>& icons, MessageSink* messages) {
    CGedTreeDlg dialog(icons, messages, &view);
    return dialog.ShowTree(view, view.GetDocument(), treeKind) == QDialog::Accepted;
}

} // namespace stirpex
