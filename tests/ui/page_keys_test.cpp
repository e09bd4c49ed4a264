// The person page from the keyboard and the clipboard: Edit Copy, the link
// menu, Tab and Enter, Alt+Left and Alt+Right, the mouse's side buttons, and
// the page scrolling sideways in a narrow window.

#include "model/stirpex_doc.h"
#include "page/page_text.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace stirpex;

class PageKeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void copyPutsThePageTextOnTheClipboard();
    void tabFramesTheLinksAndEnterFollowsOne();
    void spaceOpensTheStoryOfAFocusedNotesLink();
    void altArrowsGoBackAndForward();
    void mouseSideButtonsGoBackAndForward();
    void linkMenuCopiesTheNameAndAsksForANewWindow();
    void rightClickOnALinkOpensItsMenu();
    void narrowWindowScrollsToTheColumns();

private:
    CStirpexView& view() const { return *m_frame->ActiveView(); }
    QString current() const { return QString::fromUtf8(view().Page().m_pPerson->m_strID.view()); }
    const PageLink* linkTo(const char* key) const;
    const PageLink* linkOfKind(int kind) const;
    void savePng(const QString& name);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    CMainFrame* m_frame = nullptr;
    QList<const CPerson*> m_newWindows;
    QList<StoryRequest> m_stories;
};

void PageKeysTest::init() {
    m_newWindows.clear();
    m_stories.clear();
    m_dialogs.newWindow = [this](CStirpexView&, const CPerson& person) { m_newWindows.append(&person); };
    m_dialogs.story = [this](CStirpexView&, const StoryRequest& request) { m_stories.append(request); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
    m_frame = &m_windows->Frame();
    m_frame->resize(1100, 700);
    m_frame->ActiveChild()->showMaximized();
    QTRY_COMPARE(view().Page().m_nNotesX, view().viewport()->width() - 95);
    view().setFocus();
}

void PageKeysTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

const PageLink* PageKeysTest::linkTo(const char* key) const {
    return test::LinkTo(view(), key);
}

const PageLink* PageKeysTest::linkOfKind(int kind) const {
    for (const PageLink& link : view().Page().Links()) {
        if (link.nKind == kind) {
            return &link;
        }
    }
    return nullptr;
}

void PageKeysTest::savePng(const QString& name) {
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(m_frame->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/") + name));
}

void PageKeysTest::copyPutsThePageTextOnTheClipboard() {
    QApplication::clipboard()->clear();
    QVERIFY(m_frame->Action(ID_EDIT_COPY)->isEnabled());
    QTest::keyClick(&view(), Qt::Key_C, Qt::ControlModifier);
    const std::string expected = PageText(view().GetDocument(), view().Page().m_pPerson, "harrow_family.ged");
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(expected));
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("harrow_family.ged - I1\n\nFamily Name")));
    // The menu's Copy copies the page shown now.
    QVERIFY(m_frame->Trigger(ID_GO_BACK) == false);
    view().ShowPerson(view().GetDocument().FindPerson("I4"));
    QVERIFY(m_frame->Trigger(ID_EDIT_COPY));
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("harrow_family.ged - I4\n")));
}

void PageKeysTest::tabFramesTheLinksAndEnterFollowsOne() {
    QCOMPARE(view().Page().m_nFocus, -1);
    QTest::keyClick(&view(), Qt::Key_Tab);
    QCOMPARE(view().Page().m_nFocus, 0);
    QVERIFY(view().hasFocus());                                   // Tab stays in the page
    QTest::keyClick(&view(), Qt::Key_Backtab, Qt::ShiftModifier); // wraps to the last
    QCOMPARE(view().Page().m_nFocus, static_cast<int>(view().Page().Links().size()) - 1);
    // Forward to the father, as a reader would.
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    const int fatherAt = static_cast<int>(father - view().Page().Links().data());
    QTest::keyClick(&view(), Qt::Key_Tab); // wraps to the first
    for (int i = 0; i < fatherAt; ++i) {
        QTest::keyClick(&view(), Qt::Key_Tab);
    }
    QCOMPARE(view().Page().m_nFocus, fatherAt);
    // The frame is drawn round the link: dark dots just left of its text.
    const QRect rect = view().ClientRect(father->rect);
    const QImage image = view().viewport()->grab(rect.adjusted(-3, 0, 3, 0)).toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        dark += image.pixelColor(1, y).lightness() < 100 ? 1 : 0;
    }
    QVERIFY2(dark >= 4, qPrintable(QString::number(dark)));
    savePng(QStringLiteral("page_focus_frame.png"));
    QTest::keyClick(&view(), Qt::Key_Return);
    QTRY_COMPARE(current(), QStringLiteral("I4"));
    QCOMPARE(view().Page().m_nFocus, -1);
    QVERIFY(m_frame->Action(ID_GO_BACK)->isEnabled());
}

void PageKeysTest::spaceOpensTheStoryOfAFocusedNotesLink() {
    const PageLink* notes = linkOfKind(LINK_NOTES);
    QVERIFY(notes != nullptr);
    const int at = static_cast<int>(notes - view().Page().Links().data());
    for (int i = 0; i <= at; ++i) {
        QTest::keyClick(&view(), Qt::Key_Tab);
    }
    QTest::keyClick(&view(), Qt::Key_Space);
    QCOMPARE(m_stories.size(), 1);
    QCOMPARE(m_stories.front().nKind, LINK_NOTES);
    QCOMPARE(current(), QStringLiteral("I1"));
}

void PageKeysTest::altArrowsGoBackAndForward() {
    view().ShowPerson(view().GetDocument().FindPerson("I4"));
    QTRY_VERIFY(m_frame->Action(ID_GO_BACK)->isEnabled());
    QTest::keyClick(&view(), Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(current(), QStringLiteral("I1"));
    QTest::keyClick(&view(), Qt::Key_Right, Qt::AltModifier);
    QTRY_COMPARE(current(), QStringLiteral("I4"));
    // Without Alt the arrows still scroll and move nowhere.
    QTest::keyClick(&view(), Qt::Key_Left);
    QCOMPARE(current(), QStringLiteral("I4"));
}

void PageKeysTest::mouseSideButtonsGoBackAndForward() {
    view().ShowPerson(view().GetDocument().FindPerson("I4"));
    QTRY_VERIFY(m_frame->Action(ID_GO_BACK)->isEnabled());
    const QPoint blank(view().viewport()->width() / 2, view().viewport()->height() - 5);
    QTest::mouseClick(view().viewport(), Qt::BackButton, {}, blank);
    QTRY_COMPARE(current(), QStringLiteral("I1"));
    QTest::mouseClick(view().viewport(), Qt::ForwardButton, {}, blank);
    QTRY_COMPARE(current(), QStringLiteral("I4"));
}

void PageKeysTest::linkMenuCopiesTheNameAndAsksForANewWindow() {
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    const std::unique_ptr<QMenu> menu = view().LinkMenu(*father);
    auto* copy = menu->findChild<QAction*>(QStringLiteral("copyName"));
    auto* open = menu->findChild<QAction*>(QStringLiteral("openInNewWindow"));
    QVERIFY(copy != nullptr && open != nullptr);
    QCOMPARE(copy->text(), QStringLiteral("Copy name"));
    QCOMPARE(open->text(), QStringLiteral("Open in New Window"));
    copy->trigger();
    const CPerson* i4 = view().GetDocument().FindPerson("I4");
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(i4->GetDisplayName()));
    open->trigger();
    QCOMPARE(m_newWindows, QList<const CPerson*>{i4});
    // A notes link is no person: it can be copied, not opened.
    const PageLink* notes = linkOfKind(LINK_NOTES);
    QVERIFY(notes != nullptr);
    const std::unique_ptr<QMenu> notesMenu = view().LinkMenu(*notes);
    QVERIFY(notesMenu->findChild<QAction*>(QStringLiteral("openInNewWindow")) == nullptr);
    notesMenu->findChild<QAction*>(QStringLiteral("copyName"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Notes"));
}

void PageKeysTest::rightClickOnALinkOpensItsMenu() {
    const PageLink* father = linkTo("I4");
    QVERIFY(father != nullptr);
    const QPoint point = view().ClientRect(father->rect).topLeft() + QPoint(2, 2);
    QApplication::clipboard()->clear();
    bool shown = false;
    QTimer::singleShot(0, this, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu && menu->objectName() == QStringLiteral("linkMenu")) {
            shown = true;
            menu->findChild<QAction*>(QStringLiteral("copyName"))->trigger();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view().viewport()->mapToGlobal(point));
    QApplication::sendEvent(view().viewport(), &event);
    QVERIFY(shown);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Harrow")));
}

void PageKeysTest::narrowWindowScrollsToTheColumns() {
    m_frame->ActiveChild()->showNormal();
    m_frame->ActiveChild()->resize(360, 300);
    QTRY_VERIFY(view().Page().m_nNotesX > view().viewport()->width() - 95);
    const std::vector<PageLink>& links = view().Page().Links();
    for (std::size_t i = 0; i < links.size(); ++i) {
        for (std::size_t j = i + 1; j < links.size(); ++j) {
            const PageRect& a = links[i].rect;
            const PageRect& b = links[j].rect;
            QVERIFY(!(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom));
        }
    }
    QScrollBar* bar = view().horizontalScrollBar();
    QCOMPARE(bar->maximum(), view().Page().PageWidth() - view().viewport()->width());
    bar->setValue(bar->maximum());
    // The first "Notes" link is now in the window, where a click on it lands.
    const QRect notes = view().ClientRect(links.front().rect);
    QVERIFY(view().viewport()->rect().contains(notes));
    QTest::mouseMove(view().viewport(), notes.center() + QPoint(1, 1));
    QTest::mouseMove(view().viewport(), notes.center());
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, notes.center());
    QCOMPARE(m_stories.size(), 1);
    savePng(QStringLiteral("page_narrow_scrolled.png"));
    // Tab to a link left of the window scrolls back to it.
    QTest::keyClick(&view(), Qt::Key_Tab);
    QTest::keyClick(&view(), Qt::Key_Tab);
    QTest::keyClick(&view(), Qt::Key_Tab);
    const PageLink* focused = FocusedLink(view().Page());
    QVERIFY(focused != nullptr);
    QVERIFY(view().viewport()->rect().contains(view().ClientRect(focused->rect)));
}

QTEST_MAIN(PageKeysTest)
#include "page_keys_test.moc"
