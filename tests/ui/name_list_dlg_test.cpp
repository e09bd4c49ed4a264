// The find-by-name window, opened by the page's Find command on the sample:
// Enter and double-click, the married-names option, the kept list, and the
// one window a document's pages share.

#include "find/name_index.h"
#include "find/name_list_dlg.h"
#include "find/name_list_model_qt.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace stirpex;

class NameListDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { open({}); }
    void cleanup();
    void enterGoesToTheFirstEntryBeginningWithTheText_data();
    void enterGoesToTheFirstEntryBeginningWithTheText();
    void typingSelectsTheFirstEntryBeginningWithTheText_data();
    void typingSelectsTheFirstEntryBeginningWithTheText();
    void prefixOfNobodySaysSoUntilItMatchesAgain();
    void doubleClickGoesToTheEntry();
    void findAgainShowsTheKeptListWithTheCurrentPerson();
    void marriedNamesToggleRebuildsAndReselects();
    void pagesShareTheWindowAndTheLastFinderGetsTheChoice();
    void indexDeferredByTheStartOptionIsBuiltOnFirstFind();
    void listAndCheckBoxKeepTheirMarginsOnResize();

private:
    void open(const std::string& arguments);
    CStirpexView& view() const { return m_windows->View(); }
    CNameListDlg& list() const { return view().Document().NameList(); }
    QString currentID() const { return idOf(view()); }
    static QString idOf(const CStirpexView& page) { return QString::fromUtf8(page.Page().m_pPerson->m_strID.view()); }
    QString selectedText() const { return list().Model().index(list().Selected()).data().toString(); }
    void find();
    void type(const QString& text);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
};

void NameListDlgTest::open(const std::string& arguments) {
    m_windows.reset();
    m_dialogs.find = [](CStirpexView& page) { ShowNameList(page, nullptr); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs, arguments);
    QVERIFY(m_windows->Open());
}

void NameListDlgTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

void NameListDlgTest::find() {
    QVERIFY(m_windows->Frame().Trigger(ID_EDIT_FIND));
    QVERIFY(list().isVisible());
}

// Find leaves the current person's name selected in the field, so typing replaces it.
void NameListDlgTest::type(const QString& text) {
    QTest::keyClicks(list().m_editName, text);
    QCOMPARE(list().m_editName->text(), text);
}

void NameListDlgTest::enterGoesToTheFirstEntryBeginningWithTheText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("onCheckBox");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("id");
    QTest::newRow("before later matches") << "har" << false << "Harrow, Albert (1887-?)"
                                          << "I12";
    QTest::newRow("other case, check box focused") << "HARROW, s" << true << "Harrow, Samuel (1818-1889)"
                                                   << "I14";
    QTest::newRow("married entry") << "harrow, astrid" << false << "Harrow, Astrid [Løvaas] (1928-2015)"
                                   << "I32";
    QTest::newRow("accented, married") << "IBÁÑEZ, s" << false << "Ibáñez, Susan [Harrow] (1963-?)"
                                       << "I36";
}

void NameListDlgTest::enterGoesToTheFirstEntryBeginningWithTheText() {
    QFETCH(QString, typed);
    QFETCH(bool, onCheckBox);
    find();
    type(typed);
    if (onCheckBox) {
        list().m_btnMarriedNames->setFocus();
        QCOMPARE(list().focusWidget(), list().m_btnMarriedNames);
    }
    QTest::keyClick(list().focusWidget(), Qt::Key_Return);
    QTEST(currentID(), "id");
    QTEST(selectedText(), "entry");
    QCOMPARE(list().m_editName->text(), selectedText());
    QVERIFY(!list().isVisible());
    QCOMPARE(view().Page().m_history.position(), 2);
}

void NameListDlgTest::typingSelectsTheFirstEntryBeginningWithTheText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entry"); // the beginning of the entry selected
    QTest::newRow("first of several") << "har"
                                      << "Harrow, Albert (1887-?)";
    QTest::newRow("other case") << "HARROW, S"
                                << "Harrow, Samuel (1818-1889)";
    QTest::newRow("accents left out") << "lefe"
                                      << "Lefèvre, François";
    QTest::newRow("accents and case left out") << "IBANEZ, L"
                                               << "Ibáñez, Lucía";
    QTest::newRow("accented given name") << "lindqvist, asa"
                                         << "Lindqvist, Åsa";
    QTest::newRow("married entry") << "harrow, astrid"
                                   << "Harrow, Astrid [Løvaas]";
}

// Each key moves the selection at once, without Enter, and the field keeps what was typed.
void NameListDlgTest::typingSelectsTheFirstEntryBeginningWithTheText() {
    QFETCH(QString, typed);
    QFETCH(QString, entry);
    find();
    type(typed);
    QVERIFY2(selectedText().startsWith(entry), qPrintable(selectedText()));
    QCOMPARE(list().m_editName->text(), typed);
    QVERIFY(list().m_noMatch->text().isEmpty());
    QVERIFY(list().isVisible());
    QCOMPARE(currentID(), QStringLiteral("I1"));
}

void NameListDlgTest::prefixOfNobodySaysSoUntilItMatchesAgain() {
    find();
    type(QStringLiteral("harx"));
    QCOMPARE(list().m_noMatch->text(), QStringLiteral("No name begins with \"harx\"."));
    QVERIFY(list().m_noMatch->isVisible());
    // The selection stays on the last entry that matched.
    QCOMPARE(selectedText(), QStringLiteral("Harrow, Albert (1887-?)"));
    QTest::keyClick(list().m_editName, Qt::Key_Backspace);
    QVERIFY(list().m_noMatch->text().isEmpty());
    QTest::keyClicks(list().m_editName, QStringLiteral("row, s"));
    QVERIFY(selectedText().startsWith(QStringLiteral("Harrow, Samuel")));
    // Enter on a text that begins nothing goes nowhere.
    list().m_editName->selectAll();
    QTest::keyClicks(list().m_editName, QStringLiteral("qq"));
    QVERIFY(!list().m_noMatch->text().isEmpty());
    QTest::keyClick(list().m_editName, Qt::Key_Return);
    QVERIFY(list().isVisible());
    QCOMPARE(currentID(), QStringLiteral("I1"));
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(list().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/name_list_no_match.png")));
    list().m_editName->selectAll();
    QTest::keyClicks(list().m_editName, QStringLiteral("lefe"));
    QVERIFY(list().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/name_list_typing.png")));
}

void NameListDlgTest::doubleClickGoesToTheEntry() {
    find();
    // Josiah (I18) under his alternative name.
    const QModelIndex joss = list().Model().index(view().Document().Index().findPrefix("Harrow, Joss"));
    list().m_lbNames->scrollTo(joss);
    const QPoint at = list().m_lbNames->visualRect(joss).center();
    QTest::mouseClick(list().m_lbNames->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list().m_editName->text(), QStringLiteral("Harrow, Joss (1792-1866)"));
    QTest::mouseDClick(list().m_lbNames->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(currentID(), QStringLiteral("I18"));
    QVERIFY(!list().isVisible());
}

// Hidden by a choice, by Escape or by the close box, the window keeps its list.
void NameListDlgTest::findAgainShowsTheKeptListWithTheCurrentPerson() {
    find();
    type(QStringLiteral("harrow, astrid"));
    QTest::keyClick(list().m_editName, Qt::Key_Return);
    QCOMPARE(currentID(), QStringLiteral("I32"));
    const QSignalSpy resets(&list().Model(), &QAbstractItemModel::modelReset);
    CNameListDlg* const window = &list();
    find();
    QTest::keyClick(list().m_lbNames, Qt::Key_Escape);
    QVERIFY(!list().isVisible());
    find();
    QVERIFY(list().close());
    QVERIFY(!list().isVisible());
    QCOMPARE(currentID(), QStringLiteral("I32"));
    find();
    QCOMPARE(&list(), window);
    QCOMPARE(resets.count(), 0);
    QCOMPARE(list().Model().rowCount(), 68);
    // Her own entry, not the married one she was found by.
    QCOMPARE(selectedText(), QStringLiteral("Løvaas, Astrid (1928-2015)"));
    QCOMPARE(list().m_editName->text(), selectedText());
    QCOMPARE(list().m_editName->selectedText(), selectedText());
    QCOMPARE(list().focusWidget(), list().m_editName);
    const QModelIndex selected = list().Model().index(list().Selected());
    QVERIFY(list().m_lbNames->viewport()->rect().contains(list().m_lbNames->visualRect(selected)));
}

void NameListDlgTest::marriedNamesToggleRebuildsAndReselects() {
    find();
    QVERIFY(list().m_btnMarriedNames->isChecked());
    QTest::mouseClick(list().m_btnMarriedNames, Qt::LeftButton);
    QVERIFY(!list().MarriedNames());
    QCOMPARE(list().Model().rowCount(), 51);
    QCOMPARE(selectedText(), QStringLiteral("Harrow, William Émile (1884-1961)"));
    // Without her married entry nothing begins so: the keys stop on the last
    // entry that began alike, the text stays, Enter does nothing else.
    type(QStringLiteral("harrow, astrid"));
    QCOMPARE(list().m_noMatch->text(), QStringLiteral("No name begins with \"harrow, astrid\"."));
    QTest::keyClick(list().m_editName, Qt::Key_Return);
    QVERIFY(list().isVisible());
    QCOMPARE(list().m_editName->text(), QStringLiteral("harrow, astrid"));
    QCOMPARE(selectedText(), QStringLiteral("Harrow, Albert (1887-?)"));
    QCOMPARE(currentID(), QStringLiteral("I1"));
    QTest::mouseClick(list().m_btnMarriedNames, Qt::LeftButton);
    QVERIFY(list().MarriedNames());
    QCOMPARE(list().Model().rowCount(), 68);
    QCOMPARE(list().m_editName->text(), QStringLiteral("Harrow, William Émile (1884-1961)"));
}

void NameListDlgTest::pagesShareTheWindowAndTheLastFinderGetsTheChoice() {
    CStirpexView& first = view();
    CChildFrame* second = m_windows->Documents().NewWindow(*m_windows->Frame().ActiveChild());
    QTRY_COMPARE(m_windows->Frame().ActiveView(), second->View());
    QTRY_VERIFY(!second->View()->Page().m_bFirstDraw);
    find();
    QCOMPARE(list().m_pView.data(), second->View());
    type(QStringLiteral("har"));
    QTest::keyClick(list().m_editName, Qt::Key_Return);
    QCOMPARE(idOf(*second->View()), QStringLiteral("I12"));
    QCOMPARE(idOf(first), QStringLiteral("I1"));
    // A page that closes while it holds the window takes the window out of sight with it.
    find();
    CNameListDlg& shared = list();
    delete second;
    QVERIFY(shared.m_pView.isNull());
    QVERIFY(!shared.isVisible());
    QCOMPARE(&first.Document().NameList(), &shared);
}

void NameListDlgTest::indexDeferredByTheStartOptionIsBuiltOnFirstFind() {
    open("harrow_family.ged -i I7");
    QVERIFY(view().Document().Index().empty());
    find();
    QCOMPARE(list().Model().rowCount(), 68);
    QCOMPARE(selectedText(), QStringLiteral("Harrow, Zoë (1912-2001)"));
}

void NameListDlgTest::listAndCheckBoxKeepTheirMarginsOnResize() {
    find();
    QCOMPARE(list().m_rectCombo, QRect(0, 0, 277, 287));
    QCOMPARE(list().m_rectCheck.topLeft(), QPoint(57, 290));
    QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
    QVERIFY(list().grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/name_list.png")));
    list().resize(list().m_rectClient.size() + QSize(120, 60));
    QTRY_COMPARE(list().m_cbNames->geometry(), QRect(0, 0, 397, 347));
    QCOMPARE(list().m_btnMarriedNames->geometry(), list().m_rectCheck.translated(0, 60));
}

QTEST_MAIN(NameListDlgTest)
#include "name_list_dlg_test.moc"
