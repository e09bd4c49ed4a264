// Arabic and Hebrew names in the windows' left-to-right lines: the name list,
// the tree and the notes viewer's title lay their texts out with the life
// span and the words around a name on the side they are written on, checked
// by where the text engine puts each run of glyphs; and what is copied out of
// the windows leaves the invisible marks that keep that order behind.

#include "find/name_list_dlg.h"
#include "find/name_list_model_qt.h"
#include "model/stirpex_doc.h"
#include "model/text_direction.h"
#include "page/stirpex_view.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "trees/gedtree_dlg.h"
#include "story/story_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QClipboard>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QListView>
#include <QRawFont>
#include <QTextLayout>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace stirpex;

namespace {

QString dataPath(const char* name) {
    return QStringLiteral(STIRPEX_TEST_DATA_DIR "/") + QString::fromUtf8(name);
}

// The glyph runs of one line of `text` laid out as the list and tree views lay
// out their entries: left to right, in `font`; sorted from left to right.
QList<QGlyphRun> runsOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(100000);
    layout.endLayout();
    QList<QGlyphRun> runs = line.glyphRuns();
    std::sort(runs.begin(), runs.end(),
              [](const QGlyphRun& a, const QGlyphRun& b) { return a.boundingRect().left() < b.boundingRect().left(); });
    return runs;
}

bool holdsGlyphsOf(const QGlyphRun& run, const QString& characters) {
    const QList<quint32> wanted = run.rawFont().glyphIndexesForString(characters);
    const QList<quint32> held = run.glyphIndexes();
    return std::all_of(wanted.begin(), wanted.end(), [&](quint32 glyph) { return glyph != 0 && held.contains(glyph); });
}

// True when every right-to-left run stands left of the left-to-right run that
// draws `after` (the digits of a life span), as "name (1975)" must read.
bool drawnAfterTheName(const QString& text, const QFont& font, const QString& after) {
    const QList<QGlyphRun> runs = runsOf(text, font);
    double nameRight = -1;
    double afterLeft = -1;
    for (const QGlyphRun& run : runs) {
        if (run.isRightToLeft()) {
            nameRight = std::max(nameRight, run.boundingRect().right());
        } else if (afterLeft < 0 && holdsGlyphsOf(run, after)) {
            afterLeft = run.boundingRect().left();
        }
    }
    return nameRight >= 0 && afterLeft >= 0 && afterLeft >= nameRight - 0.5;
}

bool holdsIsolates(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x2066 && c.unicode() <= 0x2069; });
}

enum class CopiedFrom { NotesViewer, Tree, NameField, Page };

} // namespace

class RightToLeftTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void nameListKeepsTheLifeSpanAfterArabicAndHebrewNames();
    void treeNodesKeepTheirLifeSpanAfterTheName();
    void copiedTextLeavesTheIsolatesBehind_data();
    void copiedTextLeavesTheIsolatesBehind();
    void notesLeaveTheViewerWithoutIsolates();

private:
    CStirpexView& view() const { return m_windows->View(); }
    // Copies as the user would from that window; returns the text the window showed.
    QString copy(CopiedFrom from);

    PageDialogs m_dialogs;
    std::array<QIcon, 3> m_icons;
    std::unique_ptr<test::PageWindows> m_windows;
};

void RightToLeftTest::init() {
    m_dialogs.find = [](CStirpexView& page) { ShowNameList(page, nullptr); };
    m_dialogs.tree = [this](CStirpexView& page, int treeKind) {
        return ShowTreeDialog(page, treeKind, m_icons, &m_windows->messages);
    };
    m_dialogs.story = [](CStirpexView& page, const StoryRequest& request) { ShowStory(page, request); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open(dataPath("right_to_left_names.ged")));
}

void RightToLeftTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(QLatin1Char('\n'))));
}

void RightToLeftTest::nameListKeepsTheLifeSpanAfterArabicAndHebrewNames() {
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_FIND));
    const CNameListDlg& list = view().Document().NameList();
    const QAbstractItemModel& model = list.Model();
    QCOMPARE(model.rowCount(), 2);
    const QFont font = list.m_lbNames->font();
    int checked = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString shown = model.index(row, 0).data().toString();
        for (const QString& digits : {QStringLiteral("1975"), QStringLiteral("1950")}) {
            if (shown.contains(digits)) {
                ++checked;
                QVERIFY2(drawnAfterTheName(shown, font, digits), qPrintable(shown));
                // The entry as the index holds it, drawn as it is, is the fault this guards against.
                const QString whole = model.index(row, 0).data(NameListModel::WholeTextRole).toString();
                QVERIFY2(!drawnAfterTheName(whole, font, digits), qPrintable(whole));
            }
        }
    }
    QCOMPARE(checked, 2);
}

void RightToLeftTest::treeNodesKeepTheirLifeSpanAfterTheName() {
    view().ShowPerson(view().GetDocument().FindPerson("I1"));
    QStringList nodes;
    QFont font;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CGedTreeDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        const QAbstractItemModel& model = *dialog->m_wndTree->model();
        // Down the first branch: the father, his partner, their son.
        for (QModelIndex index = model.index(0, 0); index.isValid(); index = model.index(0, 0, index)) {
            const QString text = index.data().toString();
            if (text.contains(QLatin1Char('1'))) {
                nodes << text;
            }
        }
        font = dialog->m_wndTree->font();
        dialog->reject();
    });
    QVERIFY(m_windows->Frame().Trigger(ID_VIEW_DESCENDANTS));
    QCOMPARE(nodes.size(), 2);
    QVERIFY2(drawnAfterTheName(nodes[0], font, QStringLiteral("1975")), qPrintable(nodes[0]));
    QVERIFY2(drawnAfterTheName(nodes[1], font, QStringLiteral("1950")), qPrintable(nodes[1]));
}

QString RightToLeftTest::copy(CopiedFrom from) {
    QString shown;
    const auto copyAll = [&shown](auto& box) {
        shown = box.toPlainText();
        box.selectAll();
        QTest::keySequence(&box, QKeySequence::Copy);
    };
    switch (from) {
    case CopiedFrom::NotesViewer: {
        const auto& links = view().Page().Links();
        const auto notes = std::find_if(links.begin(), links.end(), [](const PageLink& link) {
            return link.nKind == LINK_NOTES && link.nTopic == TOPIC_PERSON;
        });
        if (notes == links.end()) {
            return {};
        }
        test::InNextModal([&](QWidget& dialog) { copyAll(*static_cast<CStoryDlg&>(dialog).m_editText); });
        view().FollowLink(static_cast<int>(notes - links.begin()));
        break;
    }
    case CopiedFrom::Tree:
        test::InNextModal([&](QWidget& dialog) {
            QTreeView& tree = *static_cast<CGedTreeDlg&>(dialog).m_wndTree;
            shown = tree.currentIndex().data().toString();
            QTest::keySequence(&tree, QKeySequence::Copy);
        });
        m_windows->Frame().Trigger(ID_VIEW_DESCENDANTS);
        break;
    case CopiedFrom::NameField: {
        m_windows->Frame().Trigger(ID_EDIT_FIND);
        QLineEdit& field = *view().Document().NameList().m_editName;
        shown = field.text();
        field.selectAll();
        QTest::keySequence(&field, QKeySequence::Copy);
        break;
    }
    case CopiedFrom::Page:
        m_windows->Frame().Trigger(ID_EDIT_COPY);
        break;
    }
    return shown;
}

// The isolates the windows draw their right-to-left names with stay behind
// whichever way the text leaves them: a note selected in the viewer, the
// tree's person and the name field copied with Ctrl+C, the page by Edit Copy.
void RightToLeftTest::copiedTextLeavesTheIsolatesBehind_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("expected");
    QTest::newRow("notes viewer") << static_cast<int>(CopiedFrom::NotesViewer)
                                  << QStringLiteral("Kept a shop in القاهرة, مصر for forty years.");
    QTest::newRow("tree") << static_cast<int>(CopiedFrom::Tree) << QStringLiteral("أحمد, محمد");
    QTest::newRow("name field") << static_cast<int>(CopiedFrom::NameField) << QStringLiteral("أحمد, محمد");
    QTest::newRow("page") << static_cast<int>(CopiedFrom::Page) << QStringLiteral("أحمد");
}

void RightToLeftTest::copiedTextLeavesTheIsolatesBehind() {
    QFETCH(int, from);
    QFETCH(QString, expected);
    view().ShowPerson(view().GetDocument().FindPerson("I1"));
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.clear();
    const QString shown = copy(static_cast<CopiedFrom>(from));
    // Shown with them: else there was nothing to leave behind.
    QVERIFY2(from == static_cast<int>(CopiedFrom::Page) || holdsIsolates(shown), qPrintable(shown));
    QTRY_VERIFY2(clipboard.text().contains(expected) && !holdsIsolates(clipboard.text()), qPrintable(clipboard.text()));
}

// A drag out of the notes viewer takes the same data as its copy, but never
// passes the clipboard where the program's other copies are cleaned: the
// data must be clean as the viewer hands it over, before any event is
// processed.
void RightToLeftTest::notesLeaveTheViewerWithoutIsolates() {
    view().ShowPerson(view().GetDocument().FindPerson("I1"));
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.clear();
    QString handedOver;
    test::InNextModal([&](QWidget& dialog) {
        QPlainTextEdit& box = *static_cast<CStoryDlg&>(dialog).m_editText;
        QVERIFY(holdsIsolates(box.toPlainText()));
        box.selectAll();
        box.copy();
        handedOver = clipboard.text();
    });
    const auto& links = view().Page().Links();
    const auto notes = std::find_if(links.begin(), links.end(), [](const PageLink& link) {
        return link.nKind == LINK_NOTES && link.nTopic == TOPIC_PERSON;
    });
    QVERIFY(notes != links.end());
    view().FollowLink(static_cast<int>(notes - links.begin()));
    QVERIFY2(handedOver.contains(QStringLiteral("القاهرة")) && !holdsIsolates(handedOver), qPrintable(handedOver));
}

QTEST_MAIN(RightToLeftTest)
#include "right_to_left_test.moc"
