// The person page on screen: painting, links under the mouse, clicks,
// history and the commands it enables, driven through the real widgets.

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace stirpex;

class PageViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void firstPaintShowsTheStartPersonWithCaption();
    void clickOnRelativeMovesAndRecordsAVisit();
    void pressDragOffAndReleaseDoesNothing();
    void hoverColoursTheLinkAndShowsTheHand();
    void backAndForwardFollowTheHistory();
    void visit256DropsTheFirst();
    void treeCommandsFollowThePage();
    void notesColumnFollowsTheRightEdgeUntilTheValues();
    void pageIsDrawnFromTheTopOfItsLines();

private:
    CStirpexView& view() const { return *m_frame->ActiveView(); }
    void clickLink(const PageLink& link);
    void moveTo(const QPoint& point);
    const PageLink* linkTo(const char* key) const;

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    CMainFrame* m_frame = nullptr;
};

void PageViewTest::init() {
    m_dialogs.tree = [](CStirpexView&, int) { return false; };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
    m_frame = &m_windows->Frame();
    // Wide enough for the start page's longest marriage line to leave the columns at the right edge.
    m_frame->resize(1100, 700);
    m_frame->ActiveChild()->showMaximized();
    QTRY_COMPARE(view().Page().m_nNotesX, view().viewport()->width() - 95);
}

void PageViewTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

const PageLink* PageViewTest::linkTo(const char* key) const {
    return test::LinkTo(view(), key);
}

// The window system drops a move to where the pointer already is: come from elsewhere.
void PageViewTest::moveTo(const QPoint& point) {
    QTest::mouseMove(view().viewport(), point + QPoint(1, 1));
    QTest::mouseMove(view().viewport(), point);
}

void PageViewTest::clickLink(const PageLink& link) {
    const QPoint point = view().ClientRect(link.rect).topLeft() + QPoint(2, 2);
    moveTo(point);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, point);
}

void PageViewTest::firstPaintShowsTheStartPersonWithCaption() {
    QCOMPARE(QString::fromUtf8(view().Page().m_pPerson->m_strID.view()), QStringLiteral("I1"));
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("harrow_family.ged - I1"));
    QCOMPARE(m_frame->StatsText(), QStringLiteral("47 people, 17 families, 10 notes, 5 sources."));
    QCOMPARE(view().Page().m_history.position(), 1);
}

void PageViewTest::clickOnRelativeMovesAndRecordsAVisit() {
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    clickLink(*father);
    QTRY_COMPARE(QString::fromUtf8(view().Page().m_pPerson->m_strID.view()), QStringLiteral("I4"));
    QCOMPARE(view().Page().m_history.position(), 2);
    QCOMPARE(m_frame->ActiveChild()->windowTitle(), QStringLiteral("harrow_family.ged - I4"));
    QVERIFY(m_frame->Action(ID_GO_BACK)->isEnabled());
    QVERIFY(!m_frame->Action(ID_GO_FORWARD)->isEnabled());
    QCOMPARE(view().verticalScrollBar()->value(), 0);
}

void PageViewTest::pressDragOffAndReleaseDoesNothing() {
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    const QPoint on = view().ClientRect(father->rect).topLeft() + QPoint(2, 2);
    const QPoint off = on + QPoint(0, 200);
    moveTo(on);
    QTest::mousePress(view().viewport(), Qt::LeftButton, {}, on);
    QVERIFY(!view().Page().m_rectPressed.empty());
    QTest::mouseMove(view().viewport(), off);
    QVERIFY(view().Page().m_rectPressed.empty());
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, off);
    QTest::mouseMove(view().viewport(), on);
    QCOMPARE(QString::fromUtf8(view().Page().m_pPerson->m_strID.view()), QStringLiteral("I1"));
    QCOMPARE(view().Page().m_history.position(), 1);
}

void PageViewTest::hoverColoursTheLinkAndShowsTheHand() {
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    const QRect rect = view().ClientRect(father->rect);
    moveTo(rect.topLeft() + QPoint(2, 2));
    QCOMPARE(view().viewport()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(view().Page().m_rectHot, father->rect);
    const QImage hot = view().viewport()->grab(rect).toImage();
    bool lightBlue = false;
    for (int y = 0; y < hot.height() && !lightBlue; ++y) {
        for (int x = 0; x < hot.width() && !lightBlue; ++x) {
            lightBlue = hot.pixelColor(x, y) == QColor(0, 192, 255);
        }
    }
    QVERIFY(lightBlue);
    QTest::mouseMove(view().viewport(), QPoint(5, view().viewport()->height() - 5));
    QCOMPARE(view().viewport()->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(view().Page().m_rectHot.empty());
}

void PageViewTest::backAndForwardFollowTheHistory() {
    clickLink(*linkTo("I4"));
    QTRY_COMPARE(view().Page().m_history.position(), 2);
    QVERIFY(m_frame->Trigger(ID_GO_BACK));
    QTRY_COMPARE(QString::fromUtf8(view().Page().m_pPerson->m_strID.view()), QStringLiteral("I1"));
    QVERIFY(!m_frame->Action(ID_GO_BACK)->isEnabled());
    QVERIFY(m_frame->Action(ID_GO_FORWARD)->isEnabled());
    QVERIFY(m_frame->Trigger(ID_GO_FORWARD));
    QTRY_COMPARE(QString::fromUtf8(view().Page().m_pPerson->m_strID.view()), QStringLiteral("I4"));
    QVERIFY(!m_frame->Action(ID_GO_FORWARD)->isEnabled());
}

void PageViewTest::visit256DropsTheFirst() {
    const CStirpexDoc& doc = view().GetDocument();
    for (int i = 0; i < 255; ++i) {
        view().ShowPerson(doc.m_ppPersons[static_cast<std::size_t>(1 + i % 2)].get());
    }
    QCOMPARE(view().Page().m_history.position(), 255);
    int backs = 0;
    while (m_frame->Action(ID_GO_BACK)->isEnabled()) {
        QVERIFY(m_frame->Trigger(ID_GO_BACK));
        ++backs;
    }
    QCOMPARE(backs, 254);
    QCOMPARE(view().Page().m_pPerson, doc.m_ppPersons[1].get());
}

void PageViewTest::treeCommandsFollowThePage() {
    // I1 has both parents, two families and sons.
    for (const int command : {ID_VIEW_ANCESTORS, ID_VIEW_DESCENDANTS, ID_VIEW_MTDNA, ID_VIEW_YCHROMOSOME}) {
        QVERIFY2(m_frame->Action(command)->isEnabled(), qPrintable(QString::number(command)));
    }
    // The go-to and find dialogs are not provided here: their commands are greyed.
    QVERIFY(!m_frame->Action(ID_EDIT_GOTO)->isEnabled());
    QVERIFY(!m_frame->Action(ID_EDIT_UNDO)->isEnabled());
}

void PageViewTest::notesColumnFollowsTheRightEdgeUntilTheValues() {
    const int right = view().viewport()->width();
    QCOMPARE(view().Page().m_nNotesX, right - 95);
    QCOMPARE(view().Page().m_nSourcesX, right - 45);
    QCOMPARE(view().horizontalScrollBar()->maximum(), 0);
    m_frame->ActiveChild()->showNormal();
    m_frame->ActiveChild()->resize(420, 300);
    QTRY_VERIFY(view().Page().m_nNotesX > view().viewport()->width() - 95);
    // The page is wider than the window: it scrolls to its last column.
    const int pageWidth = view().Page().PageWidth();
    QVERIFY(pageWidth > view().Page().m_nSourcesX);
    QCOMPARE(view().horizontalScrollBar()->maximum(), pageWidth - view().viewport()->width());
}

void PageViewTest::pageIsDrawnFromTheTopOfItsLines() {
    // The first line holds "Family Name" at y 0: its ink must start in the first few pixels, not above them.
    const QImage page = view().viewport()->grab(QRect(0, 0, 100, 20)).toImage();
    int top = -1;
    for (int y = 0; y < page.height() && top < 0; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y).lightness() < 128) {
                top = y;
                break;
            }
        }
    }
    QVERIFY2(top >= 0 && top <= 6, qPrintable(QString::number(top)));
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(m_frame->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/main_frame_page.png")));
}

QTEST_MAIN(PageViewTest)
#include "page_view_test.moc"
