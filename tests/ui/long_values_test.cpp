// Names of a few megabytes, far longer than any screen: the page, the name
// list and the tree are given them cut, the page keeps them right of their
// labels, and the name list copies an entry whole. Before, such a name took
// the windows seconds per paint and drew over the labels once it was long
// enough; no time is measured here, only what the windows are given.

#include "find/name_list_dlg.h"
#include "find/name_list_model_qt.h"
#include "model/shown_text.h"
#include "model/stirpex_doc.h"
#include "page/painter_surface_qt.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "trees/gedtree_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace stirpex;

namespace {

constexpr qsizetype kLongName = 3'000'000;

// What a window shows of a text: its first kMaxShownCodePoints characters and an ellipsis.
QString cut(const QString& text) {
    return text.left(static_cast<qsizetype>(kMaxShownCodePoints)) + QChar(0x2026);
}

} // namespace

class LongValuesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void pageDrawsLongValuesCutRightOfTheirLabels();
    void nameListShowsEntriesCutAndCopiesThemWhole();
    void treeShowsNamesCut();

private:
    CStirpexView& view() const { return m_windows->View(); }
    const CPerson* person(const char* key) const { return view().GetDocument().FindPerson(key); }

    QString m_long;
    std::unique_ptr<QTemporaryDir> m_dir;
    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    std::array<QIcon, 3> m_icons;
};

// Ann, whose surname and given names are the long name, her husband Bob Lee
// and their son Kid of her surname.
void LongValuesTest::init() {
    m_long = QString(kLongName, QLatin1Char('A'));
    const QByteArray name = m_long.toLatin1();
    const QByteArray gedcom = "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME " + name + " /" + name +
                              "/\n1 SEX F\n1 FAMS @F1@\n0 @I2@ INDI\n1 NAME Kid /" + name +
                              "/\n1 SEX M\n1 FAMC @F1@\n0 @I3@ INDI\n1 NAME Bob /Lee/\n1 SEX M\n1 FAMS @F1@\n"
                              "0 @F1@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n1 CHIL @I2@\n0 TRLR\n";
    m_dir = std::make_unique<QTemporaryDir>();
    const QString path = m_dir->filePath(QStringLiteral("long.ged"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(gedcom), gedcom.size());
    file.close();

    m_dialogs.find = [](CStirpexView& page) { ShowNameList(page, nullptr); };
    m_dialogs.tree = [this](CStirpexView& page, int treeKind) {
        return ShowTreeDialog(page, treeKind, m_icons, &m_windows->messages);
    };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open(path));
    QCOMPARE(view().Page().m_pPerson, person("I1"));
}

void LongValuesTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    m_dir.reset();
    QVERIFY(shown.isEmpty());
}

void LongValuesTest::pageDrawsLongValuesCutRightOfTheirLabels() {
    // The son's link is as wide as the cut name in the link face: that is what was measured and drawn.
    const PageLink& son = view().Page().Links().back();
    QCOMPARE(son.nIndex, person("I2")->m_nIndex);
    const QFontMetricsF link(PainterSurface::MakeFont(PageFace::Link, 1.0), view().viewport());
    const QString sonName = m_long + QStringLiteral(", Kid (?-?)");
    QCOMPARE(son.rect.left, view().Page().m_nValueX);
    QCOMPARE(son.rect.right - son.rect.left, static_cast<int>(std::ceil(link.horizontalAdvance(cut(sonName)))));

    // Left of the value column, the first two lines look as they do on a page of short names.
    const QRect labels(0, 0, view().Page().m_nValueX, 2 * PersonPage::kLinkHeight);
    const QImage longPage = view().viewport()->grab(labels).toImage();
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(m_windows->Frame().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/long_values_page.png")));
    view().ShowPerson(person("I3"));
    QCOMPARE(view().Page().m_pPerson, person("I3"));
    QCOMPARE(view().viewport()->grab(labels).toImage(), longPage);
}

void LongValuesTest::nameListShowsEntriesCutAndCopiesThemWhole() {
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_FIND));
    CNameListDlg& list = view().Document().NameList();
    QVERIFY(list.isVisible());
    const QString annEntry = m_long + QStringLiteral(", ") + m_long + QStringLiteral(" (?-?)");
    const QModelIndex selected = list.Model().index(list.Selected());
    QCOMPARE(selected.data().toString(), cut(annEntry));
    QCOMPARE(selected.data(NameListModel::PersonRole).toInt(), person("I1")->m_nIndex);
    QCOMPARE(list.m_editName->text(), annEntry.left(static_cast<qsizetype>(kMaxShownCodePoints)));
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(list.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/long_values_name_list.png")));

    // The page's own Ctrl+C belongs to the main window: the list's answers while the list is the active window.
    list.activateWindow();
    QTRY_VERIFY(list.isActiveWindow());
    list.m_lbNames->setFocus();
    QTest::keySequence(list.m_lbNames, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), annEntry);

    // Her married entry: the part of it the field is given finds it as its beginning.
    const int married = view().Document().Index().findPrefix("Lee, A");
    QVERIFY(married >= 0);
    const QModelIndex marriedRow = list.Model().index(married);
    list.m_lbNames->scrollTo(marriedRow);
    QTest::mouseClick(list.m_lbNames->viewport(), Qt::LeftButton, {}, list.m_lbNames->visualRect(marriedRow).center());
    QCOMPARE(list.m_editName->text(), QStringLiteral("Lee, ") + m_long.left(kMaxShownCodePoints - 5));
    view().ShowPerson(person("I3"));
    QTest::keyClick(list.m_editName, Qt::Key_Return);
    QCOMPARE(view().Page().m_pPerson, person("I1"));
}

void LongValuesTest::treeShowsNamesCut() {
    m_icons = {QIcon(QStringLiteral(":/tree/partner.png")), QIcon(QStringLiteral(":/tree/male.png")),
               QIcon(QStringLiteral(":/tree/female.png"))};
    view().ShowPerson(person("I3"));
    QStringList rows;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CGedTreeDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        title = dialog->windowTitle();
        const QAbstractItemModel& model = *dialog->m_wndTree->model();
        const QModelIndex bob = model.index(0, 0);
        const QModelIndex ann = model.index(0, 0, bob);
        rows << bob.data().toString() << ann.data().toString() << model.index(0, 0, ann).data().toString();
        dialog->reject();
    });
    QVERIFY(m_windows->Frame().Trigger(ID_VIEW_DESCENDANTS));
    QCOMPARE(title, QStringLiteral("Descendants of Bob Lee"));
    QCOMPARE(rows, QStringList({QStringLiteral("Lee, Bob (?-?)"),
                                cut(m_long + QStringLiteral(", ") + m_long + QStringLiteral(" (?-?)")),
                                cut(m_long + QStringLiteral(", Kid (?-?)"))}));
}

QTEST_MAIN(LongValuesTest)
#include "long_values_test.moc"
