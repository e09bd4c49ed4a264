// The lineage tree's item model: structure and roles read from the core tree,
// resets, and a view opening a million nodes or a very deep line.

#include "trees/lineage_tree_model_qt.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTreeView>
#include <QtTest>

using namespace stirpex;

namespace {

std::array<QIcon, 3> treeIcons() {
    return {QIcon(QStringLiteral(":/tree/partner.png")), QIcon(QStringLiteral(":/tree/male.png")), QIcon()};
}

// A man with two partner nodes, the second not on record, and a child under each.
void buildFamily(LineageTree& tree) {
    const TreeItem man = tree.insert(kTreeRoot, "Harrow, William \xc3\x89mile (1884-1961)");
    tree.setImage(man, IMAGE_MALE);
    tree.setPerson(man, 0);
    const TreeItem wife = tree.insert(man, "Mu\xc3\xb1oz, Clara (1886-1958)");
    tree.setPerson(wife, 1);
    const TreeItem son = tree.insert(wife, "Harrow, Arthur (1909-1944)");
    tree.setImage(son, IMAGE_MALE);
    tree.setPerson(son, 5);
    const TreeItem unknown = tree.insert(man, "Unknown partner");
    tree.setPerson(unknown, -1);
    const TreeItem daughter = tree.insert(unknown, "Harrow, Zo\xc3\xab (1912-2001)");
    tree.setImage(daughter, IMAGE_FEMALE);
    tree.setPerson(daughter, 6);
    for (TreeItem item = 0; item < tree.size(); ++item) {
        tree.expand(item);
    }
}

// A line of `depth` generations with `broad` more nodes below its last, three children to a node.
void buildLineAndBroad(LineageTree& tree, int depth, int broad) {
    TreeItem last = kTreeRoot;
    for (int i = 0; i < depth; ++i) {
        last = tree.insert(last, "Harrow, Josiah (1792-1866)");
    }
    std::vector<TreeItem> open{last};
    const int total = depth + broad;
    for (std::size_t next = 0; tree.size() < total; ++next) {
        for (int k = 0; k < 3 && tree.size() < total; ++k) {
            open.push_back(tree.insert(open[next], "Harrow, Arthur Ronald (1909-1944)"));
        }
    }
    for (TreeItem item = 0; item < tree.size(); ++item) {
        tree.expand(item);
    }
}

} // namespace

class LineageTreeModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Q_INIT_RESOURCE(stirpex); }
    void structureAndRolesFollowTheTree();
    void aMillionNodesOpenFullyExpanded();
    void aVeryDeepLineOpensDownToTheDepthLimit();
};

void LineageTreeModelTest::structureAndRolesFollowTheTree() {
    LineageTree tree;
    buildFamily(tree);
    const std::array<QIcon, 3> icons = treeIcons();
    LineageTreeModel model(tree, icons);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), 1);
    const QModelIndex man = model.index(0, 0);
    QCOMPARE(model.rowCount(man), 2);
    const QModelIndex unknown = model.index(1, 0, man);
    const QModelIndex daughter = model.index(0, 0, unknown);
    QCOMPARE(daughter.parent(), unknown);
    QCOMPARE(unknown.parent(), man);
    QCOMPARE(model.IndexOf(4), daughter);
    QCOMPARE(model.ItemOf(daughter), 4);
    QCOMPARE(model.ItemOf(QModelIndex()), kNoTreeItem);

    QCOMPARE(man.data().toString(), QStringLiteral("Harrow, William \u00c9mile (1884-1961)"));
    QCOMPARE(daughter.data().toString(), QStringLiteral("Harrow, Zo\u00eb (1912-2001)"));
    QCOMPARE(man.data(LineageTreeModel::PersonRole).toInt(), 0);
    QCOMPARE(unknown.data(LineageTreeModel::PersonRole).toInt(), -1);
    QCOMPARE(daughter.data(LineageTreeModel::PersonRole).toInt(), 6);
    // Image 0 is the partner icon, 1 the male one; the female icon was not loaded.
    QCOMPARE(unknown.data(Qt::DecorationRole).value<QIcon>().cacheKey(), icons[IMAGE_PARTNER].cacheKey());
    QCOMPARE(man.data(Qt::DecorationRole).value<QIcon>().cacheKey(), icons[IMAGE_MALE].cacheKey());
    QVERIFY(!daughter.data(Qt::DecorationRole).isValid());

    // A view keeps no expansion state for nodes marked as never having
    // children: a wrong mark would hide a partner's children.
    QVERIFY(!(model.flags(unknown) & Qt::ItemNeverHasChildren));
    QVERIFY(model.flags(daughter) & Qt::ItemNeverHasChildren);
}

void LineageTreeModelTest::aMillionNodesOpenFullyExpanded() {
    LineageTree tree;
    buildLineAndBroad(tree, 0, 1000000);
    LineageTreeModel model(tree, treeIcons());
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setHeaderHidden(true);
    view.resize(420, 325);
    view.setModel(&model);

    QElapsedTimer timer;
    timer.start();
    OpenTree(view, model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const qint64 opened = timer.restart();
    model.Rebuild([] {});
    OpenTree(view, model);
    view.scrollToBottom();
    view.repaint();
    const qint64 reopened = timer.elapsed();
    qInfo("1,000,000 nodes: opened in %lld ms, reset and opened again in %lld ms", opened, reopened);

    // One row per node: the scroll range counts every row but the last page.
    const int page = view.viewport()->height() / view.sizeHintForRow(0);
    QCOMPARE(view.verticalScrollBar()->maximum(), 1000000 - page);
    // The bottom row is the last child of the last child ... of the last top-level node.
    QModelIndex last = model.index(model.rowCount() - 1, 0);
    while (model.rowCount(last) > 0) {
        last = model.index(model.rowCount(last) - 1, 0, last);
    }
    const int row = view.sizeHintForRow(0);
    QCOMPARE(view.indexAt(QPoint(view.viewport()->width() - 5, page * row - row / 2)), last);
}

void LineageTreeModelTest::aVeryDeepLineOpensDownToTheDepthLimit() {
    LineageTree tree;
    buildLineAndBroad(tree, 100000, 10);
    LineageTreeModel model(tree, treeIcons());
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    OpenTree(view, model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QVERIFY(view.isExpanded(model.IndexOf(kMaxOpenDepth - 1)));
    QVERIFY(!view.isExpanded(model.IndexOf(kMaxOpenDepth)));
    const int page = view.viewport()->height() / view.sizeHintForRow(0);
    QCOMPARE(view.verticalScrollBar()->maximum(), kMaxOpenDepth + 1 - page);
    QCOMPARE(DepthOf(tree, 99999), 99999);
    QCOMPARE(DepthOf(tree, 0), 0);
}

QTEST_MAIN(LineageTreeModelTest)
#include "lineage_tree_model_test.moc"
