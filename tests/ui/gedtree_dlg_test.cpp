// The lineage tree dialog opened from the page's commands on the sample and
// on small generated files: titles, the check box, choosing with the mouse
// and the keys, the partner toggle, the line trees' selection, resizing and
// the notice about a cut tree.

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "trees/gedtree_dlg.h"
#include "trees/lineage_tree_model_qt.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

using namespace stirpex;

namespace {

QString key(const CPerson* person) {
    return person ? QString::fromUtf8(person->m_strID.view()) : QString();
}

// The texts of the tree in the order the rows stand, children after their parent.
QStringList rowTexts(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        texts << index.data().toString();
        texts << rowTexts(model, index);
    }
    return texts;
}

// As the window system delivers it: the first click, then the double-click.
void doubleClick(CGedTreeDlg& dialog, const QPoint& point) {
    QTest::mouseClick(dialog.m_wndTree->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(dialog.m_wndTree->viewport(), Qt::LeftButton, {}, point);
}

QModelIndex selectedIndex(const CGedTreeDlg& dialog) {
    const QModelIndexList selected = dialog.m_wndTree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.front();
}

} // namespace

class GedTreeDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void eachKindHasItsTitleAndCheckBox_data();
    void eachKindHasItsTitleAndCheckBox();
    void doubleClickOnAnAncestorShowsThatPage();
    void enterChoosesOnTheTreeAndNotOnTheCheckBox();
    void toggleRebuildsWithoutPartnersAndBack();
    void selectedNodeOfALongLineIsScrolledIntoView();
    void unknownPartnerClosesWithOkAndKeepsThePerson();
    void resizingKeepsTheMargins();
    void cutTreeIsReportedOnceWhenTheDialogOpens();

private:
    CStirpexView& view() const { return m_windows->View(); }
    // Runs the command; `during` sees the open dialog from inside its modal loop.
    // Whatever it leaves open is cancelled, so that a failed check cannot hang the test.
    bool runTree(int command, const std::function<void(CGedTreeDlg&)>& during);
    bool openText(const QByteArray& gedcom, const char* startKey);

    std::unique_ptr<QTemporaryDir> m_dir;
    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    std::array<QIcon, 3> m_icons;
    bool m_accepted = false;
};

void GedTreeDlgTest::init() {
    m_icons = {QIcon(QStringLiteral(":/tree/partner.png")), QIcon(QStringLiteral(":/tree/male.png")),
               QIcon(QStringLiteral(":/tree/female.png"))};
    m_dialogs.tree = [this](CStirpexView& page, int treeKind) {
        m_accepted = ShowTreeDialog(page, treeKind, m_icons, &m_windows->messages);
        return m_accepted;
    };
    m_dir = std::make_unique<QTemporaryDir>();
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
}

void GedTreeDlgTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    m_dir.reset();
    QVERIFY(shown.isEmpty());
}

bool GedTreeDlgTest::runTree(int command, const std::function<void(CGedTreeDlg&)>& during) {
    bool opened = false;
    m_accepted = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CGedTreeDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        // Shown and past what the dialog does once it is up.
        opened = QTest::qWaitForWindowExposed(dialog);
        if (opened) {
            during(*dialog);
        }
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    m_windows->Frame().Trigger(command);
    return opened;
}

bool GedTreeDlgTest::openText(const QByteArray& gedcom, const char* startKey) {
    const QString path = m_dir->filePath(QStringLiteral("generated.ged"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(gedcom) != gedcom.size()) {
        return false;
    }
    file.close();
    if (!m_windows->Documents().OpenDocumentFile(path)) {
        return false;
    }
    if (!QTest::qWaitFor(
            [&] { return view().Document().Path() == DocumentKey(path) && !view().Page().m_bFirstDraw; })) {
        return false;
    }
    view().ShowPerson(view().GetDocument().FindPerson(startKey));
    return key(view().Page().m_pPerson) == QString::fromUtf8(startKey);
}

void GedTreeDlgTest::eachKindHasItsTitleAndCheckBox_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("firstRow");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<QString>("selected");
    QTest::newRow("ancestors") << ID_VIEW_ANCESTORS << QStringLiteral("Ancestors of William \u00c9mile Harrow") << false
                               << QStringLiteral("1  Harrow, William \u00c9mile (1884-1961)") << 11 << QString();
    QTest::newRow("descendants") << ID_VIEW_DESCENDANTS << QStringLiteral("Descendants of William \u00c9mile Harrow")
                                 << true << QStringLiteral("Harrow, William \u00c9mile (1884-1961)") << 21 << QString();
    QTest::newRow("mtdna") << ID_VIEW_MTDNA << QStringLiteral("Mitochondrial DNA of William \u00c9mile Harrow") << false
                           << QStringLiteral("Marchand, C\u00e9leste (1826->1899)") << 8
                           << QStringLiteral("Harrow, William \u00c9mile (1884-1961)");
    QTest::newRow("y") << ID_VIEW_YCHROMOSOME << QStringLiteral("Y Chromosome of William \u00c9mile Harrow") << false
                       << QStringLiteral("Harrow, Ezekiel (1751-1821)") << 15
                       << QStringLiteral("Harrow, William \u00c9mile (1884-1961)");
}

// Escape ends each of them with the page's person and history as they were.
void GedTreeDlgTest::eachKindHasItsTitleAndCheckBox() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    QFETCH(QString, firstRow);
    QFETCH(int, nodes);
    QFETCH(QString, selected);
    QVERIFY(runTree(command, [&](CGedTreeDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), title);
        QVERIFY(dialog.m_btnSpouses->isChecked());
        QCOMPARE(dialog.m_btnSpouses->isEnabled(), enabled);
        QCOMPARE(dialog.m_btnSpouses->text(), QStringLiteral("Include spouses"));
        const QStringList rows = rowTexts(*dialog.m_wndTree->model());
        QCOMPARE(rows.size(), nodes);
        QCOMPARE(rows.front(), firstRow);
        // The line trees select the current person's node; the others select nothing.
        QCOMPARE(selectedIndex(dialog).data().toString(), selected);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(dialog.focusWidget(), dialog.m_wndTree);
        if (command == ID_VIEW_DESCENDANTS) {
            QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
            QVERIFY(dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/tree_dialog_descendants.png")));
        }
        QTest::keyClick(dialog.m_wndTree, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }));
    QVERIFY(!m_accepted);
    QCOMPARE(key(view().Page().m_pPerson), QStringLiteral("I1"));
    QCOMPARE(view().Page().m_history.position(), 1);
}

void GedTreeDlgTest::doubleClickOnAnAncestorShowsThatPage() {
    QVERIFY(runTree(ID_VIEW_ANCESTORS, [&](CGedTreeDlg& dialog) {
        const QAbstractItemModel& model = *dialog.m_wndTree->model();
        const QModelIndex samuel = model.index(0, 0, model.index(0, 0, model.index(0, 0)));
        QCOMPARE(samuel.data().toString(), QStringLiteral("4  Harrow, Samuel (1818-1889)"));
        const QPoint point = dialog.m_wndTree->visualRect(samuel).center();
        doubleClick(dialog, point);
    }));
    QVERIFY(m_accepted);
    QTRY_COMPARE(key(view().Page().m_pPerson), QStringLiteral("I14"));
    QCOMPARE(view().Page().m_history.position(), 2);
}

void GedTreeDlgTest::enterChoosesOnTheTreeAndNotOnTheCheckBox() {
    QVERIFY(runTree(ID_VIEW_DESCENDANTS, [&](CGedTreeDlg& dialog) {
        const QAbstractItemModel& model = *dialog.m_wndTree->model();
        const QModelIndex arthur = model.index(0, 0, model.index(0, 0, model.index(0, 0)));
        QCOMPARE(arthur.data().toString(), QStringLiteral("Harrow, Arthur (1909-1944)"));
        dialog.m_wndTree->setCurrentIndex(arthur);
        dialog.m_btnSpouses->setFocus();
        QTest::keyClick(dialog.m_btnSpouses, Qt::Key_Return);
        QTest::keyClick(dialog.m_btnSpouses, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.m_btnSpouses->isChecked());
        QCOMPARE(key(view().Page().m_pPerson), QStringLiteral("I1"));
        dialog.m_wndTree->setFocus();
        QTest::keyClick(dialog.m_wndTree, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    }));
    QVERIFY(m_accepted);
    QTRY_COMPARE(key(view().Page().m_pPerson), QStringLiteral("I6"));
}

void GedTreeDlgTest::toggleRebuildsWithoutPartnersAndBack() {
    QVERIFY(runTree(ID_VIEW_DESCENDANTS, [&](CGedTreeDlg& dialog) {
        const QAbstractItemModel& model = *dialog.m_wndTree->model();
        const QStringList withPartners = rowTexts(model);
        QCOMPARE(withPartners.mid(0, 3), QStringList({QStringLiteral("Harrow, William \u00c9mile (1884-1961)"),
                                                      QStringLiteral("Mu\u00f1oz, Clara (1886-1958)"),
                                                      QStringLiteral("Harrow, Arthur (1909-1944)")}));
        dialog.m_wndTree->setCurrentIndex(model.index(0, 0));

        QTest::mouseClick(dialog.m_btnSpouses, Qt::LeftButton);
        QVERIFY(!dialog.m_btnSpouses->isChecked());
        QVERIFY(!dialog.IncludeSpouses());
        const QModelIndex top = model.index(0, 0);
        QCOMPARE(model.rowCount(top), 3);
        QCOMPARE(model.index(1, 0, top).data().toString(), QStringLiteral("Harrow, Zo\u00eb (1912-2001)"));
        QCOMPARE(model.index(2, 0, top).data().toString(), QStringLiteral("Harrow, Lionel (1925-1999)"));
        QCOMPARE(rowTexts(model).size(), 13);
        QVERIFY(dialog.m_wndTree->isExpanded(model.index(0, 0, top)));
        QVERIFY(!selectedIndex(dialog).isValid());
        QVERIFY(dialog.isVisible());

        QTest::mouseClick(dialog.m_btnSpouses, Qt::LeftButton);
        QVERIFY(dialog.IncludeSpouses());
        QCOMPARE(rowTexts(model), withPartners);
        QVERIFY(dialog.m_wndTree->isExpanded(model.index(0, 0, model.index(0, 0))));
    }));
    QVERIFY(!m_accepted);
}

// A paternal line of 60 men, opened on the last: his node lies far below the first page.
void GedTreeDlgTest::selectedNodeOfALongLineIsScrolledIntoView() {
    QByteArray gedcom = "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = 1; i <= 60; ++i) {
        const QByteArray n = QByteArray::number(i);
        gedcom += "0 @I" + n + "@ INDI\n1 NAME Man" + n + " /Line/\n1 SEX M\n";
        gedcom += i > 1 ? "1 FAMC @F" + QByteArray::number(i - 1) + "@\n" : QByteArray();
        gedcom += i < 60 ? "1 FAMS @F" + n + "@\n" : QByteArray();
    }
    for (int i = 1; i < 60; ++i) {
        gedcom += "0 @F" + QByteArray::number(i) + "@ FAM\n1 HUSB @I" + QByteArray::number(i) + "@\n1 CHIL @I" +
                  QByteArray::number(i + 1) + "@\n";
    }
    gedcom += "0 TRLR\n";
    QVERIFY(openText(gedcom, "I60"));
    QVERIFY(runTree(ID_VIEW_YCHROMOSOME, [&](CGedTreeDlg& dialog) {
        const QModelIndex selected = selectedIndex(dialog);
        QCOMPARE(selected.data().toString(), QStringLiteral("Line, Man60 (?-?)"));
        QVERIFY(dialog.m_wndTree->viewport()->rect().contains(dialog.m_wndTree->visualRect(selected)));
        QVERIFY(!dialog.m_wndTree->viewport()->rect().contains(
            dialog.m_wndTree->visualRect(dialog.m_wndTree->model()->index(0, 0))));
    }));
}

void GedTreeDlgTest::unknownPartnerClosesWithOkAndKeepsThePerson() {
    QVERIFY(openText("0 HEAD\n1 CHAR UTF-8\n"
                     "0 @I1@ INDI\n1 NAME Ada /Line/\n1 SEX F\n1 FAMS @F1@\n"
                     "0 @I2@ INDI\n1 NAME Bea /Line/\n1 SEX F\n1 FAMC @F1@\n"
                     "0 @F1@ FAM\n1 WIFE @I1@\n1 CHIL @I2@\n0 TRLR\n",
                     "I1"));
    QVERIFY(runTree(ID_VIEW_DESCENDANTS, [&](CGedTreeDlg& dialog) {
        const QAbstractItemModel& model = *dialog.m_wndTree->model();
        const QModelIndex partner = model.index(0, 0, model.index(0, 0));
        QCOMPARE(partner.data().toString(), QStringLiteral("Unknown partner"));
        QCOMPARE(model.index(0, 0, partner).data().toString(), QStringLiteral("Line, Bea (?-?)"));
        doubleClick(dialog, dialog.m_wndTree->visualRect(partner).center());
    }));
    QVERIFY(m_accepted);
    QCOMPARE(key(view().Page().m_pPerson), QStringLiteral("I1"));
}

void GedTreeDlgTest::resizingKeepsTheMargins() {
    QVERIFY(runTree(ID_VIEW_DESCENDANTS, [&](CGedTreeDlg& dialog) {
        QVERIFY(std::abs(dialog.width() - 420) <= 10);
        QVERIFY(std::abs(dialog.height() - 340) <= 15);
        const QRect tree = dialog.m_wndTree->geometry();
        const QRect check = dialog.m_btnSpouses->geometry();
        QCOMPARE(tree.topLeft(), QPoint(0, 0));
        QVERIFY(check.top() >= tree.bottom());
        QVERIFY(check.bottom() < dialog.height());
        dialog.resize(dialog.size() + QSize(130, 70));
        QTRY_COMPARE(dialog.m_wndTree->geometry(), tree.adjusted(0, 0, 130, 70));
        QCOMPARE(dialog.m_btnSpouses->geometry(), check.translated(0, 70));
    }));
}

void GedTreeDlgTest::cutTreeIsReportedOnceWhenTheDialogOpens() {
    CGedTreeDlg dialog(m_icons, &m_windows->messages, &view());
    TreeLimits limits;
    limits.maxNodes = 5;
    dialog.SetLimits(limits);
    QTimer::singleShot(0, this, [&] {
        QTRY_COMPARE(m_windows->messages.shown.size(), 1);
        QTest::mouseClick(dialog.m_btnSpouses, Qt::LeftButton);
        QTest::mouseClick(dialog.m_btnSpouses, Qt::LeftButton);
        QCOMPARE(dialog.Nodes().size(), 5);
        dialog.reject();
    });
    QCOMPARE(dialog.ShowTree(view(), view().GetDocument(), TREE_DESCENDANTS), int(QDialog::Rejected));
    QCOMPARE(m_windows->messages.shown,
             QStringList({QStringLiteral("The tree is too large: only the first 5 entries are shown.")}));
    m_windows->messages.shown.clear();
}

QTEST_MAIN(GedTreeDlgTest)
#include "gedtree_dlg_test.moc"
