// The windows on a screen of two pixels to the point: the tree's person images
// come from their doubled drawings, not from the 16-pixel ones enlarged, and
// the grabs of the first windows a user meets are written for review.

#include "trees/gedtree_dlg.h"
#include "page_windows.h"
#include "window_grabs.h"

#include <QApplication>
#include <QTreeView>
#include <QtTest>

#include <set>

using namespace stirpex;

namespace {

// The colours of an image's pixels in `area`; an enlargement that smooths
// shows many blends of the icon's colour with the background, a sharp one none.
std::set<QRgb> coloursIn(const QImage& image, const QRect& area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

} // namespace

class Scale2xTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeImagesHaveTheirDoubledDrawings();
    void treeDialogDrawsItsImagesSharp();
    void firstWindowsAreGrabbedForReview();
};

void Scale2xTest::treeImagesHaveTheirDoubledDrawings() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    test::WindowGrabs grabs(QStringLiteral("2x"));
    for (const QIcon& icon : grabs.Icons()) {
        const QImage image = icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        // Every pixel of the 16-pixel drawing doubled, none blended.
        for (int y = 0; y < 32; y += 2) {
            for (int x = 0; x < 32; x += 2) {
                const QRgb pixel = image.pixel(x, y);
                QVERIFY(qAlpha(pixel) == 0 || qAlpha(pixel) == 255);
                QCOMPARE(image.pixel(x + 1, y + 1), pixel);
            }
        }
    }
}

void Scale2xTest::treeDialogDrawsItsImagesSharp() {
    test::WindowGrabs grabs(QStringLiteral("2x"));
    PageDialogs dialogs;
    std::set<QRgb> colours;
    dialogs.tree = [&](CStirpexView& page, int kind) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CGedTreeDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !QTest::qWaitForWindowExposed(dialog)) {
                return;
            }
            QTreeView& tree = *dialog->m_wndTree;
            // The second row: not selected, a man or a partner, on the plain background.
            const QModelIndex row = tree.indexBelow(tree.model()->index(0, 0));
            const QRect rowRect = tree.visualRect(row);
            const QImage image = tree.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(image.devicePixelRatio(), 2.0);
            // The image stands at the row's left, before its text.
            const QRect area(rowRect.left() * 2, rowRect.top() * 2, 18 * 2, rowRect.height() * 2);
            colours = coloursIn(image, area.intersected(image.rect()));
            dialog->reject();
        });
        return ShowTreeDialog(page, kind, grabs.Icons(), nullptr);
    };
    test::PageWindows windows(dialogs);
    QVERIFY(windows.Open());
    QVERIFY(windows.Frame().Trigger(ID_VIEW_DESCENDANTS));
    QVERIFY(!colours.empty());
    // The background and the few colours of the drawing; an enlarged 16-pixel image brings dozens of blends.
    QVERIFY2(colours.size() <= 6, qPrintable(QString::number(colours.size())));
}

void Scale2xTest::firstWindowsAreGrabbedForReview() {
    test::WindowGrabs grabs(QStringLiteral("2x"));
    QVERIFY(grabs.GrabAll());
}

int main(int argc, char** argv) {
    // Before the application reads it.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    Scale2xTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "scale2x_test.moc"
