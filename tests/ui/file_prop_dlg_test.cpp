// The file properties window, opened by the page's File properties command:
// the sample's header and counts in their groups and places, and a file
// without a header lying deep enough for its path to need both lines.

#include "page/page_pointer.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/document_set_app.h"
#include "shell/file_prop_dlg.h"
#include "shell/main_frame.h"
#include "shell/reading_report_dlg.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace stirpex;

namespace {

QRect inDialog(const QWidget& widget) {
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

struct Shown {
    QStringList labels;
    QStringList values;
    QList<Qt::Alignment> sides;
    QString path;
    int pathLines = 0;
    int pathScroll = -1;
    int result = -1;
};

// The places of the values: each label left of its value on the value's line
// and uncut, each column read downwards, the rows pairing the columns across.
QStringList layoutFaults(const CFilePropDlg& dialog) {
    const auto at = [&dialog](int id) { return inDialog(*dialog.Value(id)); };
    QStringList faults;
    for (int id = 1012; id <= 1025; ++id) {
        const QLabel* label = dialog.Label(id);
        if (label != nullptr &&
            (inDialog(*label).right() >= at(id).left() ||
             qAbs(inDialog(*label).center().y() - at(id).center().y()) > 1 ||
             label->width() < label->sizeHint().width() || at(id).width() < dialog.Value(id)->sizeHint().width())) {
            faults.append(QString::number(id));
        }
    }
    const QList<QList<int>> columns{
        {1012, 1013, 1018, 1014}, {1015, 1016, 1017}, {1024, 1020, 1021}, {1022, 1023, 1025}};
    for (const QList<int>& column : columns) {
        for (qsizetype i = 1; i < column.size(); ++i) {
            if (at(column[i - 1]).bottom() >= at(column[i]).top()) {
                faults.append(QStringLiteral("%1 over %2").arg(column[i - 1]).arg(column[i]));
            }
        }
    }
    for (const auto& [left, right] : QList<std::pair<int, int>>{
             {1012, 1015}, {1013, 1016}, {1018, 1017}, {1024, 1022}, {1020, 1023}, {1021, 1025}}) {
        if (at(left).top() != at(right).top() || at(left).right() >= inDialog(*dialog.Label(right)).left()) {
            faults.append(QStringLiteral("%1 beside %2").arg(left).arg(right));
        }
    }
    // The submitter across both columns; the groups top, middle and lower left; OK at the lower right.
    const QRect ok = inDialog(*dialog.findChild<QPushButton*>(QStringLiteral("ok")));
    const QRect file = inDialog(*dialog.m_groupFile);
    if (at(1014).right() != at(1017).right() || !inDialog(*dialog.m_groupHeader).contains(at(1014)) ||
        inDialog(*dialog.m_groupHeader).bottom() >= inDialog(*dialog.m_groupPath).top() ||
        inDialog(*dialog.m_groupPath).bottom() >= file.top() || !file.contains(at(1025)) || file.right() >= ok.left() ||
        ok.bottom() < file.center().y() || ok.right() < dialog.width() * 3 / 4) {
        faults.append(QStringLiteral("groups"));
    }
    return faults;
}

} // namespace

class FilePropDlgTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void sampleShowsItsHeaderAndCountsInPlace();
    void fileWithoutHeaderShowsEmptyTextsAndAWrappedPath();
    void readingReportOpensThePersonWhosePointerIsBroken();

private:
    // Runs the command on the active page; `withDialog` runs inside the modal loop and must end it.
    void runProperties(std::function<void(CFilePropDlg&)> withDialog);
    static void record(CFilePropDlg& dialog, Shown& shown);

    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
};

void FilePropDlgTest::init() {
    m_dialogs.properties = [](CStirpexView& view) { return ShowProperties(view); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    QVERIFY(QTest::qWaitForWindowExposed(&m_windows->Frame()));
}

void FilePropDlgTest::cleanup() {
    const QStringList shown = m_windows->messages.shown;
    m_windows.reset();
    QVERIFY(shown.isEmpty());
}

void FilePropDlgTest::runProperties(std::function<void(CFilePropDlg&)> withDialog) {
    QTRY_VERIFY(m_windows->Frame().ActiveView() != nullptr);
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&poll, withDialog] {
        if (auto* dialog = qobject_cast<CFilePropDlg*>(QApplication::activeModalWidget())) {
            poll.stop();
            withDialog(*dialog);
        }
    });
    poll.start(5);
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PROPERTIES));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void FilePropDlgTest::record(CFilePropDlg& dialog, Shown& shown) {
    for (int id = 1012; id <= 1025; ++id) {
        if (id == 1019) {
            continue;
        }
        shown.labels.append(dialog.Label(id)->text());
        const auto* value = static_cast<const QLabel*>(dialog.Value(id));
        shown.values.append(value->text());
        shown.sides.append(value->alignment() & Qt::AlignHorizontal_Mask);
    }
    shown.path = dialog.m_editPath->toPlainText();
    shown.pathLines = dialog.m_editPath->document()->firstBlock().layout()->lineCount();
    shown.pathScroll = dialog.m_editPath->verticalScrollBar()->maximum();
}

void FilePropDlgTest::sampleShowsItsHeaderAndCountsInPlace() {
    QVERIFY(m_windows->Documents().OpenDocumentFile(test::SamplePath()));
    Shown shown;
    QStringList faults;
    QSize size;
    bool saved = false;
    runProperties([&](CFilePropDlg& dialog) {
        record(dialog, shown);
        faults = layoutFaults(dialog);
        size = dialog.size();
        QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
        saved = dialog.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/file_prop_dlg.png"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        shown.result = dialog.result();
    });
    QCOMPARE(shown.result, int{QDialog::Accepted});
    QVERIFY(saved);
    QCOMPARE(faults.join(QStringLiteral(", ")), QString());
    QVERIFY(size.width() >= 481 && size.height() >= 305);
    const QChar bar = QLatin1Char('|');
    QCOMPARE(shown.labels,
             QStringLiteral("File name|File date|Submitter|Source|Destination|GEDCOM version|Character "
                            "set|Individuals|Families|Notes|Sources|File size (bytes)|External references")
                 .split(bar));
    QCOMPARE(shown.values,
             QStringLiteral("harrow_family.ged|12 MAY 2025|The Stirpex sample writers|STIRPEX|STIRPEX|5.5|"
                            "ANSEL|47|17|10|5|20112|1")
                 .split(bar));
    const Qt::Alignment L = Qt::AlignLeft;
    const Qt::Alignment R = Qt::AlignRight;
    QCOMPARE(shown.sides, (QList<Qt::Alignment>{L, L, L, L, L, L, L, R, R, R, R, R, R}));
    QCOMPARE(shown.path, QFileInfo(test::SamplePath()).absoluteFilePath());
    QCOMPARE(shown.pathLines, 1);
}

void FilePropDlgTest::fileWithoutHeaderShowsEmptyTextsAndAWrappedPath() {
    // 90 characters without a blank: more than one line of the field holds, less than two.
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const qsizetype padding = 90 - temporary.path().size() - QStringLiteral("/x/headerless.ged").size();
    QVERIFY(padding > 10);
    const QString folder = temporary.path() + QStringLiteral("/x") + QString(padding, QLatin1Char('_'));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/headerless.ged");
    QVERIFY(QFile::copy(QStringLiteral(STIRPEX_TEST_DATA_DIR "/headerless.ged"), path));
    QVERIFY(m_windows->Documents().OpenDocumentFile(path));
    Shown shown;
    runProperties([&shown](CFilePropDlg& dialog) {
        record(dialog, shown);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        shown.result = dialog.result();
    });
    QCOMPARE(shown.result, int{QDialog::Rejected});
    QCOMPARE(shown.values, QStringLiteral("headerless.ged|||||||2|1|1|0|176|0").split(QLatin1Char('|')));
    QCOMPARE(shown.path, QFileInfo(path).absoluteFilePath());
    QCOMPARE(shown.path.size(), 90);
    // Both lines in view: nothing to scroll to.
    QCOMPARE(shown.pathLines, 2);
    QCOMPARE(shown.pathScroll, 0);
}

void FilePropDlgTest::readingReportOpensThePersonWhosePointerIsBroken() {
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QString path = temporary.filePath(QStringLiteral("broken.ged"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0 HEAD\n0 @I1@ INDI\n1 NAME Ann /Lee/\n0 @I2@ INDI\n1 NAME Bo /Lee/\n1 FAMC @F9@\n0 TRLR\n");
    file.close();
    QVERIFY(m_windows->Open(path));
    QStringList items;
    bool disabledBeforeShown = false;
    runProperties([&](CFilePropDlg& dialog) {
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("report"));
        QTimer::singleShot(0, &dialog, [&items] {
            QTRY_VERIFY(qobject_cast<CReadingReportDlg*>(QApplication::activeModalWidget()) != nullptr);
            auto* report = qobject_cast<CReadingReportDlg*>(QApplication::activeModalWidget());
            QTreeWidgetItem* missing = nullptr;
            for (int i = 0; i < report->m_tree->topLevelItemCount(); ++i) {
                QTreeWidgetItem* section = report->m_tree->topLevelItem(i);
                items << section->text(0);
                if (section->text(0).startsWith(QStringLiteral("Pointers naming no record"))) {
                    missing = section->child(0);
                }
            }
            QVERIFY(missing != nullptr);
            items << missing->text(0);
            QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
            report->grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/reading_report_dlg.png"));
            // The section heading itself names nobody: activating it leaves the dialog open.
            emit report->m_tree->itemActivated(missing->parent(), 0);
            QVERIFY(report->isVisible());
            emit report->m_tree->itemActivated(missing, 0);
        });
        disabledBeforeShown = !CFilePropDlg().findChild<QPushButton*>(QStringLiteral("report"))->isEnabled();
        QTest::mouseClick(button, Qt::LeftButton);
    });
    QVERIFY(disabledBeforeShown);
    QVERIFY2(items.size() == 7, qPrintable(items.join(QLatin1Char('\n'))));
    QCOMPARE(items[3], QStringLiteral("Pointers naming no record: 1"));
    QCOMPARE(items[6], QStringLiteral("individual @I2@: FAMC @F9@ \u2014 Lee, Bo (?-?)"));
    QCOMPARE(QString::fromUtf8(m_windows->View().Page().m_pPerson->m_strID.view()), QStringLiteral("I2"));
}

QTEST_MAIN(FilePropDlgTest)
#include "file_prop_dlg_test.moc"
