#pragma once

// The lineage tree window: the tree of one kind for the page's current
// person, built by the core walks into the in-memory tree and shown through
// an item model; a double-click or Enter on a node makes that person the
// page's person and closes with OK. Created for one showing, modal.

#include "gedcom/load_sinks.h"
#include "shell/message_box_qt.h"
#include "trees/lineage_tree.h"
#include "trees/tree_walks.h"

#include <QDialog>
#include <QIcon>
#include <QRect>

#include <array>
#include <memory>

class QCheckBox;
class QStyle;
class QTreeView;

namespace stirpex {

class CStirpexDoc;
class CStirpexView;
class LineageTreeModel;

class CGedTreeDlg : public QDialog {
    Q_OBJECT

public:
    // `icons`: partner, male, female. `messages` receives "SetItemImage failed"
    // and the "too large" notice; null shows them in message boxes.
    explicit CGedTreeDlg(const std::array<QIcon, 3>& icons, MessageSink* messages = nullptr, QWidget* parent = nullptr);
    ~CGedTreeDlg() override;

    // Builds the tree of `treeKind` for the view's current person and runs the
    // dialog: QDialog::Accepted after a choice (the view's page person is then
    // already set), QDialog::Rejected after Escape or the close box.
    int ShowTree(CStirpexView& view, const CStirpexDoc& document, int treeKind);

    // Lower build limits for a test of a cut tree; takes effect at the next ShowTree.
    void SetLimits(const TreeLimits& limits) noexcept { m_limits = limits; }
    const LineageTree& Nodes() const noexcept { return m_nodes; }
    const LineageTreeModel& Model() const noexcept { return *m_model; }
    bool IncludeSpouses() const noexcept { return m_walks && m_walks->m_bIncludeSpouses; }

    CStirpexView* m_pView = nullptr;
    const CStirpexDoc* m_pDoc = nullptr;
    int m_nTreeKind = 0;
    QRect m_rectClient;
    QRect m_rectTree;
    QRect m_rectCheck;
    QCheckBox* m_btnSpouses = nullptr;
    QTreeView* m_wndTree = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControls();
    void OnInitDialog();
    void OnOpened();
    void OnDblclkTree();
    void OnReturnTree();
    void OnIncludeSpouses();
    void chooseSelected();
    void showSelected();
    void scrollToVisibleNode();

    MessageBoxSink m_messageBoxes;
    MessageSink* m_messages;
    TreeLimits m_limits;
    LineageTree m_nodes;
    std::unique_ptr<TreeWalks> m_walks;
    std::unique_ptr<QStyle> m_treeStyle;
    LineageTreeModel* m_model = nullptr;
};

// The page's tree commands: runs the dialog for the view's current person;
// true when it ended with OK. `messages` may be null (message boxes).
bool ShowTreeDialog(CStirpexView& view, int treeKind, const std::array<QIcon, 3>& icons, MessageSink* messages);

} // namespace stirpex
