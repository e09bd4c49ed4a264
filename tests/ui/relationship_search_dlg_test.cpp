// The Relationship and Search dialogs over the sample family: a person typed
// or chosen, the relationships shown with their paths as links, a link that
// ends the dialog with its person, and a search whose result opens a page.

#include "find/locale_collator_qt.h"
#include "find/name_index.h"
#include "find/search.h"
#include "find/search_dlg.h"
#include "model/stirpex_doc.h"
#include "page/page_pointer.h"
#include "page_windows.h"
#include "shell/open_gedcom_app.h"
#include "trees/relationship_dlg.h"
#include "ui_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace stirpex {

class RelationshipSearchDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedNameShowsTheRelationshipWithItsPath();
    void typedNameIsFoundInTheNameIndex();
    void linkOfThePathEndsTheDialogWithThatPerson();
    void homePersonButtonAsksForTheHomePerson();
    void searchListsThePeopleFoundAndOpensTheOneChosen();
    void searchSaysWhatIsMissingOrWrong();
    void commandsOpenTheDialogsAndTheViewShowsTheirChoice();

private:
    const CPerson& person(const char* key) const { return *m_windows->View().GetDocument().FindPerson(key); }

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    LocaleCollator m_collator;
};

void RelationshipSearchDlgTest::init() {
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(m_windows->Open());
}

void RelationshipSearchDlgTest::cleanup() {
    m_windows.reset();
}

void RelationshipSearchDlgTest::typedNameShowsTheRelationshipWithItsPath() {
    CRelationshipDlg dialog(m_windows->View().GetDocument(), person("I1"), nullptr);
    QVERIFY(!dialog.m_btnHome->isEnabled());
    QTest::keyClicks(dialog.m_editName, QStringLiteral("harrow, g"));
    QVERIFY(dialog.m_listMatches->count() >= 1);
    QVERIFY(dialog.m_listMatches->item(0)->text().startsWith(QStringLiteral("Harrow, George")));
    QTest::keyClick(dialog.m_editName, Qt::Key_Return);
    const QString shown = dialog.m_textResult->toPlainText();
    // George is William's father: the sentence names both, the path runs from William to George.
    QVERIFY2(shown.contains(QStringLiteral("is the father of William")), qPrintable(shown));
    QVERIFY2(dialog.m_textResult->toHtml().contains(QStringLiteral("person:%1").arg(person("I1").m_nIndex)),
             qPrintable(dialog.m_textResult->toHtml()));
    // An identifier finds its person first; a name nobody has finds nothing.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/relationship_dlg.png")));
    dialog.m_editName->setText(QStringLiteral("I2"));
    QCOMPARE(dialog.m_listMatches->item(0)->text().endsWith(QStringLiteral("(I2)")), true);
    dialog.m_editName->setText(QStringLiteral("Zzzz"));
    QCOMPARE(dialog.m_listMatches->count(), 0);
}

// With the document's name index the typed text is sought there: in list
// order, case and accents ignored, a married name finding its person, each
// person once; an identifier still comes first.
void RelationshipSearchDlgTest::typedNameIsFoundInTheNameIndex() {
    const NameIndex& index = m_windows->View().Document().Index();
    QVERIFY(!index.empty());
    CRelationshipDlg dialog(m_windows->View().GetDocument(), person("I1"), nullptr, nullptr, &index);
    QTest::keyClicks(dialog.m_editName, QStringLiteral("HARROW, MAR"));
    const QStringList expected{QStringLiteral("Harrow, Margaret"), QStringLiteral("Quill, Martha"),
                               QStringLiteral("Harrow, Mary Ann")};
    QCOMPARE(dialog.m_listMatches->count(), expected.size());
    for (int row = 0; row < expected.size(); ++row) {
        QVERIFY2(dialog.m_listMatches->item(row)->text().startsWith(expected[row]),
                 qPrintable(dialog.m_listMatches->item(row)->text()));
    }
    dialog.m_editName->setText(QStringLiteral("I2"));
    QVERIFY(dialog.m_listMatches->item(0)->text().endsWith(QStringLiteral("(I2)")));
    dialog.m_editName->setText(QStringLiteral("Zzzz"));
    QCOMPARE(dialog.m_listMatches->count(), 0);
}

void RelationshipSearchDlgTest::linkOfThePathEndsTheDialogWithThatPerson() {
    CRelationshipDlg dialog(m_windows->View().GetDocument(), person("I1"), nullptr);
    dialog.ShowRelationship(person("I2"));
    QVERIFY(!dialog.m_textResult->toPlainText().isEmpty());
    emit dialog.m_textResult->anchorClicked(QUrl(QStringLiteral("person:%1").arg(person("I2").m_nIndex)));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenPerson(), &person("I2"));
    // A link to no person of the document changes nothing.
    CRelationshipDlg other(m_windows->View().GetDocument(), person("I1"), nullptr);
    emit other.m_textResult->anchorClicked(QUrl(QStringLiteral("person:999999")));
    QCOMPARE(other.ChosenPerson(), nullptr);
}

void RelationshipSearchDlgTest::homePersonButtonAsksForTheHomePerson() {
    CRelationshipDlg dialog(m_windows->View().GetDocument(), person("I1"), &person("I1"));
    QVERIFY(dialog.m_btnHome->isEnabled());
    dialog.m_btnHome->click();
    QVERIFY2(dialog.m_textResult->toPlainText().contains(QStringLiteral("same person")),
             qPrintable(dialog.m_textResult->toPlainText()));
}

void RelationshipSearchDlgTest::searchListsThePeopleFoundAndOpensTheOneChosen() {
    CSearchDlg dialog(m_windows->View().GetDocument(), m_collator);
    dialog.m_editSurname->setText(QStringLiteral("harrow"));
    dialog.m_editGiven->setText(QStringLiteral("william"));
    dialog.OnSearch();
    QVERIFY(dialog.m_listResults->topLevelItemCount() >= 1);
    QTreeWidgetItem* first = dialog.m_listResults->topLevelItem(0);
    QVERIFY2(first->text(0).startsWith(QStringLiteral("Harrow, William")), qPrintable(first->text(0)));
    QVERIFY(dialog.m_labelStatus->text().contains(QStringLiteral("found")));
    // Until a heading is clicked the people stand in the order found, not sorted backwards by name.
    dialog.m_editGiven->clear();
    dialog.OnSearch();
    SearchQuery query;
    query.surname = "harrow";
    const std::vector<SearchHit> hits = Search(m_windows->View().GetDocument(), m_collator, query);
    QCOMPARE(dialog.m_listResults->topLevelItemCount(), static_cast<int>(hits.size()));
    for (int i = 0; i < dialog.m_listResults->topLevelItemCount(); ++i) {
        QCOMPARE(dialog.m_listResults->topLevelItem(i)->text(0),
                 QString::fromStdString(hits[static_cast<std::size_t>(i)].name));
    }
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/search_dlg.png")));
    // Sorting by a column is the list's own; choosing a row ends the dialog with its person.
    dialog.m_listResults->sortItems(1, Qt::DescendingOrder);
    emit dialog.m_listResults->itemActivated(dialog.m_listResults->topLevelItem(0), 0);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.ChosenPerson() != nullptr);
    QVERIFY(QString::fromUtf8(dialog.ChosenPerson()->GetDisplayName()) ==
            dialog.m_listResults->topLevelItem(0)->text(0));
}

void RelationshipSearchDlgTest::searchSaysWhatIsMissingOrWrong() {
    CSearchDlg dialog(m_windows->View().GetDocument(), m_collator);
    dialog.OnSearch();
    QCOMPARE(dialog.m_listResults->topLevelItemCount(), 0);
    QVERIFY(dialog.m_labelStatus->text().contains(QStringLiteral("at least one")));
    dialog.m_editYears->setText(QStringLiteral("1900..1850"));
    dialog.OnSearch();
    QVERIFY(dialog.m_labelStatus->text().contains(QStringLiteral("1850..1860")));
    dialog.m_editYears->setText(QStringLiteral("1850..1860"));
    dialog.m_editSurname->setText(QStringLiteral("Nobodyhere"));
    dialog.OnSearch();
    QCOMPARE(dialog.m_labelStatus->text(), QStringLiteral("Nobody was found."));
}

void RelationshipSearchDlgTest::commandsOpenTheDialogsAndTheViewShowsTheirChoice() {
    CStirpexView& view = m_windows->View();
    QVERIFY(!view.IsCommandEnabled(ID_VIEW_RELATIONSHIP)); // no dialog provided
    const CPerson* target = &person("I2");
    m_dialogs.relationship = [target](CStirpexView&) { return target; };
    m_dialogs.search = [](CStirpexView&) -> const CPerson* { return nullptr; };
    QVERIFY(view.IsCommandEnabled(ID_VIEW_RELATIONSHIP) && view.IsCommandEnabled(ID_EDIT_SEARCH));
    QVERIFY(view.RunCommand(ID_VIEW_RELATIONSHIP));
    QCOMPARE(view.Page().m_pPerson, target);
    const CPerson* before = view.Page().m_pPerson;
    QVERIFY(view.RunCommand(ID_EDIT_SEARCH)); // closed without a choice: the page stays
    QCOMPARE(view.Page().m_pPerson, before);
}

} // namespace stirpex

QTEST_MAIN(stirpex::RelationshipSearchDlgTest)
#include "relationship_search_dlg_test.moc"
