// The facts below the families in the viewer, over an export whose people
// carry occupations, residences, nicknames and program tags: a fact's own
// "Sources" link opens that fact's citations, and the rows, their links and
// the columns keep clear of one another at a wide and a narrow width.

#include "model/fact_kinds.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "story/story_dlg.h"
#include "story/story_text.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace stirpex;

class FactRowsViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void factSourcesOpenThatFactsCitations();
    void rowsAndColumnsKeepClearAtEveryWidth_data();
    void rowsAndColumnsKeepClearAtEveryWidth();

private:
    CStirpexView& view() const { return m_windows->View(); }
    const CPerson* person(const char* key) const { return view().GetDocument().FindPerson(key); }
    void show(const char* key);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
};

void FactRowsViewTest::init() {
    m_dialogs.story = [](CStirpexView& view, const StoryRequest& request) { ShowStory(view, request); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open(QStringLiteral(STIRPEX_TEST_DATA_DIR "/corpus/rootsmagic-2026-export.ged")));
    m_windows->Frame().resize(1000, 700);
    m_windows->Frame().ActiveChild()->showMaximized();
}

void FactRowsViewTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

void FactRowsViewTest::show(const char* key) {
    view().ShowPerson(person(key));
    QCOMPARE(view().Page().m_pPerson, person(key));
    QTRY_VERIFY(!view().Page().Links().empty());
}

void FactRowsViewTest::factSourcesOpenThatFactsCitations() {
    show("I1");
    const CPerson& john = *view().Page().m_pPerson;
    const PageLink* occupation = nullptr;
    for (const PageLink& link : view().Page().Links()) {
        const Fact* fact = john.Details().m_facts.at(link.nFact);
        if (link.nKind == LINK_SOURCES && link.nTopic == TOPIC_FACT && fact && fact->m_strTag == "OCCU") {
            occupation = &link;
        }
    }
    QVERIFY(occupation != nullptr);

    QString caption;
    QString text;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<CStoryDlg*>(QApplication::activeModalWidget())) {
            poll.stop();
            caption = dialog->windowTitle();
            text = dialog->m_editText->toPlainText();
            dialog->reject();
        }
    });
    poll.start(5);
    const QPoint point = view().ClientRect(occupation->rect).topLeft() + QPoint(2, 2);
    QTest::mouseMove(view().viewport(), point);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, point);
    QTRY_VERIFY(!caption.isEmpty());

    QCOMPARE(caption, QStringLiteral("Occupation sources for John William Smith"));
    const StoryText story =
        AssembleStory(view().GetDocument(), john, LINK_SOURCES, TOPIC_FACT, nullptr, occupation->nFact);
    QCOMPARE(text, QString::fromStdString(story.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(text.startsWith(QStringLiteral("GEDCOM file submitted by Jane Doe")));
    // The birth's own citations are not among the occupation's.
    QVERIFY(!text.contains(QStringLiteral("p. 42")));
}

void FactRowsViewTest::rowsAndColumnsKeepClearAtEveryWidth_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("width");
    QTest::newRow("John, wide") << QByteArray("I1") << 1000;
    QTest::newRow("John, narrow") << QByteArray("I1") << 380;
    QTest::newRow("Robert, wide") << QByteArray("I3") << 1000;
    QTest::newRow("Robert, narrow") << QByteArray("I3") << 380;
}

void FactRowsViewTest::rowsAndColumnsKeepClearAtEveryWidth() {
    QFETCH(QByteArray, key);
    QFETCH(int, width);
    m_windows->Frame().resize(width, 700);
    show(key.constData());
    QTRY_VERIFY(view().Page().m_nNotesX > 0);

    const PersonPage& page = view().Page();
    const std::vector<PageLink>& links = page.Links();
    int factLinks = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const PageRect& a = links[i].rect;
        factLinks += links[i].nTopic == TOPIC_FACT ? 1 : 0;
        // A value's link ends left of the Notes column, and the columns keep their order.
        if (links[i].nKind == LINK_PERSON || links[i].nKind == LINK_MEDIA) {
            QVERIFY2(a.right + PersonPage::kColumnGap <= page.m_nNotesX, qPrintable(QString::number(i)));
        }
        for (std::size_t k = i + 1; k < links.size(); ++k) {
            const PageRect& b = links[k].rect;
            const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            QVERIFY2(!overlap, qPrintable(QStringLiteral("%1 %2").arg(i).arg(k)));
        }
    }
    QVERIFY(factLinks >= 2);
    QVERIFY(page.m_nSourcesX >= page.m_nNotesX + 50);
    // A page wider than the window scrolls sideways to its right edge.
    const int client = view().viewport()->width();
    QCOMPARE(view().horizontalScrollBar()->maximum(), std::max(0, page.PageWidth() - client));

    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    const QString name =
        QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/fact_rows_%1_%2").arg(QString::fromLatin1(key)).arg(width);
    QVERIFY(view().viewport()->grab().save(name + QStringLiteral(".png")));
    view().verticalScrollBar()->setValue(view().verticalScrollBar()->maximum());
    QApplication::processEvents();
    QVERIFY(view().viewport()->grab().save(name + QStringLiteral("_end.png")));
}

QTEST_MAIN(FactRowsViewTest)
#include "fact_rows_view_test.moc"
