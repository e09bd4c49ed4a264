// The small frictions of the main window and its dialogs, as a new user met
// them: two windows on one file told apart, a cascade that keeps the windows
// readable, a status prompt shown whole, the link underline at the face's own
// place, the go-to dialog's whole title; and the grabs at one pixel to the
// point written for review.

#include "find/goto_dlg.h"
#include "page/painter_surface_qt.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "page_windows.h"
#include "window_grabs.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStatusBar>
#include <QtTest>

#include <memory>

using namespace stirpex;

class FrameFrictionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowsOnOneFileAreNumbered();
    void cascadeKeepsTheWindowsReadable();
    void statusPromptIsShownWhole();
    void linkUnderlineStandsAtTheFacesOwnPlace();
    void goToDialogShowsItsWholeTitle();
    void firstWindowsAreGrabbedForReview();

private:
    CMainFrame& frame() const { return m_windows->Frame(); }
    QList<QMdiSubWindow*> windows() const { return frame().MdiArea().subWindowList(QMdiArea::CreationOrder); }

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
};

void FrameFrictionsTest::init() {
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
}

void FrameFrictionsTest::cleanup() {
    m_windows.reset();
}

// The main window's title follows the active window's number as the Window menu does.
void FrameFrictionsTest::windowsOnOneFileAreNumbered() {
    QCOMPARE(windows().front()->windowTitle(), QStringLiteral("harrow_family.ged - I1"));
    QCOMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged"));
    m_windows->Documents().NewWindow(*frame().ActiveChild());
    QTRY_COMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged:2"));
    m_windows->Documents().NewWindow(*frame().ActiveChild());
    QCOMPARE(windows().size(), 3);
    QTRY_COMPARE(windows()[0]->windowTitle(), QStringLiteral("harrow_family.ged:1 - I1"));
    QTRY_COMPARE(windows()[1]->windowTitle(), QStringLiteral("harrow_family.ged:2 - I1"));
    QTRY_COMPARE(windows()[2]->windowTitle(), QStringLiteral("harrow_family.ged:3 - I1"));
    QTRY_COMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged:3"));
    frame().MdiArea().setActiveSubWindow(windows()[0]);
    QTRY_COMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged:1"));
    // The numbers close up when a window goes, and the last one left has none.
    windows()[1]->close();
    QTRY_COMPARE(windows().size(), 2);
    QTRY_COMPARE(windows()[1]->windowTitle(), QStringLiteral("harrow_family.ged:2 - I1"));
    frame().MdiArea().setActiveSubWindow(windows()[1]);
    QTRY_COMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged:2"));
    // The window left keeps the focus while its number goes.
    windows()[0]->close();
    QTRY_COMPARE(windows().size(), 1);
    QTRY_COMPARE(windows()[0]->windowTitle(), QStringLiteral("harrow_family.ged - I1"));
    QTRY_COMPARE(frame().windowTitle(), QStringLiteral("Stirpex - harrow_family.ged"));
}

// 900 x 580 and three windows once made each 260 x 200.
void FrameFrictionsTest::cascadeKeepsTheWindowsReadable() {
    for (int i = 0; i < 11; ++i) {
        m_windows->Documents().NewWindow(*frame().ActiveChild());
    }
    const QSize chrome = frame().size() - frame().MdiArea().viewport()->size();
    frame().resize(QSize(900, 580) + chrome);
    QTRY_COMPARE(frame().MdiArea().viewport()->size(), QSize(900, 580));
    QMdiSubWindow* active = frame().MdiArea().activeSubWindow();
    QVERIFY(frame().Trigger(ID_WINDOW_CASCADE));
    QCOMPARE(windows().size(), 12);
    for (const QMdiSubWindow* window : windows()) {
        QVERIFY2(window->width() >= 600 && window->height() >= 386,
                 qPrintable(QStringLiteral("%1 x %2").arg(window->width()).arg(window->height())));
        QVERIFY(QRect(QPoint(0, 0), QSize(900, 580)).contains(window->geometry()));
    }
    QCOMPARE(frame().MdiArea().activeSubWindow(), active);
    QCOMPARE(frame().MdiArea().subWindowList(QMdiArea::StackingOrder).back(), active);
}

void FrameFrictionsTest::statusPromptIsShownWhole() {
    frame().resize(640, 480);
    const auto* stats = frame().findChild<QLabel*>(QStringLiteral("statsPane"));
    QVERIFY(stats != nullptr);
    const int preferred = stats->width();
    QAction* about = frame().Action(ID_APP_ABOUT);
    about->showStatusText(&frame());
    const QString prompt = frame().statusBar()->currentMessage();
    QCOMPARE(prompt, QStringLiteral("Display program information, version number and copyright"));
    const int promptWidth = frame().statusBar()->fontMetrics().horizontalAdvance(prompt);
    // The message line runs from the bar's left edge to the statistics pane.
    QTRY_VERIFY2(stats->geometry().left() >= promptWidth + 8,
                 qPrintable(QStringLiteral("%1 < %2").arg(stats->geometry().left()).arg(promptWidth)));
    frame().statusBar()->clearMessage();
    QTRY_COMPARE(stats->width(), preferred);
}

// The underline once ran a pixel low and two pixels thick, through the tails of commas and brackets.
void FrameFrictionsTest::linkUnderlineStandsAtTheFacesOwnPlace() {
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString text = QStringLiteral("Harrow, Daniel (1890-1952)");
    {
        QPainter painter(&image);
        PainterSurface surface(painter, PainterSurface::Units::Pixels);
        surface.SelectFace(PageFace::Link);
        surface.SetTextColor(kLinkColor);
        surface.TextOut(0, 0, text.toStdString());
    }
    const QFontMetricsF metrics(PainterSurface::MakeFont(PageFace::Link, 1.0), &image);
    const int width = static_cast<int>(metrics.horizontalAdvance(text));
    // An underline row is link blue across nearly the whole text; glyph rows are not.
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        int blue = 0;
        for (int x = 0; x < width; ++x) {
            blue += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
        }
        if (blue >= width * 9 / 10) {
            rows << y;
        }
    }
    const int thickness = std::max(1, qRound(metrics.lineWidth()));
    QCOMPARE(rows.size(), thickness);
    QCOMPARE(rows.front(), qRound(metrics.ascent() + metrics.underlinePos() - thickness / 2.0));
}

void FrameFrictionsTest::goToDialogShowsItsWholeTitle() {
    CGoToDlg dialog;
    QFont bold = dialog.font();
    bold.setBold(true);
    // The title in a bold face, with room for a title bar's icon and three buttons.
    QVERIFY(dialog.width() >= QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 4 * 24);
}

void FrameFrictionsTest::firstWindowsAreGrabbedForReview() {
    m_windows.reset();
    test::WindowGrabs grabs(QStringLiteral("1x"));
    QVERIFY(grabs.GrabAll());
}

QTEST_MAIN(FrameFrictionsTest)
#include "frame_frictions_test.moc"
