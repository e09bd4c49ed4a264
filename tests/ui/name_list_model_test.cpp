// The name index as a list model: consistent under the model tester across a
// rebuild, and each row the entry at that position of the index.

#include "find/locale_collator_qt.h"
#include "find/name_index.h"
#include "find/name_list_model_qt.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"
#include "ui_support.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace stirpex;

class NameListModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowsAreTheIndexEntriesAcrossARebuild();
};

void NameListModelTest::rowsAreTheIndexEntriesAcrossARebuild() {
    const LocaleCollator collator;
    NameIndex index(collator);
    CStirpexDoc doc;
    LoadEnvironment env;
    env.nameIndex = &index;
    std::string error;
    LoadGedcomFile(doc, test::SamplePath().toStdString(), env, error);
    QCOMPARE(QString::fromStdString(error), QString());

    NameListModel model(index);
    const QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 68);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("Ashby, Joan (1936-?)"));
    QCOMPARE(model.index(0).data(NameListModel::PersonRole).toInt(), doc.FindPerson("I34")->m_nIndex);
    QCOMPARE(model.index(67).data().toString(), QStringLiteral("Vance, Dorothy (1911-1990)"));
    QVERIFY(!(model.flags(model.index(0)) & Qt::ItemIsEditable));

    model.Rebuild([&] {
        index.m_bMarriedNames = false;
        index.BuildIndex(doc);
    });
    QCOMPARE(model.rowCount(), 51);
    const int row = index.findPrefix("Løvaas");
    QCOMPARE(model.index(row).data().toString(), QStringLiteral("Løvaas, Astrid (1928-2015)"));
    QCOMPARE(model.index(row).data(NameListModel::PersonRole).toInt(), doc.FindPerson("I32")->m_nIndex);
}

QTEST_MAIN(NameListModelTest)
#include "name_list_model_test.moc"
