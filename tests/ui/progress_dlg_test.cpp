#include "shell/progress_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QtTest>

#include <map>

namespace stirpex {
namespace {

// Counts the paint events each widget receives, to tell a repaint done at
// once from one merely scheduled.
class PaintCounter : public QObject {
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int count(const QObject* widget) const {
        const auto found = m_counts.find(widget);
        return found == m_counts.end() ? 0 : found->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++m_counts[watched];
        }
        return false;
    }

private:
    std::map<const QObject*, int> m_counts;
};

QList<CProgressDlg*> visibleDialogs() {
    QList<CProgressDlg*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CProgressDlg*>(widget); dialog != nullptr && dialog->isVisible()) {
            dialogs.append(dialog);
        }
    }
    return dialogs;
}

} // namespace

class ProgressDlgTest : public QObject {
    Q_OBJECT

private slots:
    void appearsPaintedCentredAndFramelessWithItsText();
    void setPosRepaintsAtOnceAndShowsFullBeyondHundred();
    void neitherEscapeNorCloseEndsIt();
    void textLineHoldsTwoLines();
    void indexWindowOpensOverTheReadingWindowAndGoesFirst();
    void grabbedForALook();
};

void ProgressDlgTest::appearsPaintedCentredAndFramelessWithItsText() {
    PaintCounter paints;
    ProgressWindowSink sink;
    std::unique_ptr<ProgressWindow> window = sink.Create("Reading GEDCOM file harrow_family.ged");
    QVERIFY(window != nullptr);

    // No event is processed between Create and these checks, as in the load.
    const QList<CProgressDlg*> dialogs = visibleDialogs();
    QCOMPARE(dialogs.size(), 1);
    CProgressDlg* dialog = dialogs.front();
    QVERIFY(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->size(), QSize(280, 85));
    QCOMPARE(dialog->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    QCOMPARE(dialog->TextLine()->text(), QStringLiteral("Reading GEDCOM file harrow_family.ged"));
    QCOMPARE(dialog->Bar()->minimum(), 0);
    QCOMPARE(dialog->Bar()->maximum(), 100);
    QCOMPARE(dialog->Bar()->value(), 0);
    QVERIFY(paints.count(dialog->TextLine()) >= 1);
    QVERIFY(paints.count(dialog->Bar()) >= 1);

    QPointer<CProgressDlg> watched(dialog);
    window.reset();
    QVERIFY(watched.isNull());
    QVERIFY(visibleDialogs().isEmpty());
}

void ProgressDlgTest::setPosRepaintsAtOnceAndShowsFullBeyondHundred() {
    PaintCounter paints;
    ProgressWindowSink sink;
    const auto window = sink.Create("Indexing GEDCOM file harrow_family.ged");
    CProgressDlg* dialog = visibleDialogs().front();
    QProgressBar* bar = dialog->Bar();

    // Painted before SetPos returns, without an event being processed.
    int painted = paints.count(bar);
    for (const auto& [position, shown] : {std::pair{37, 37}, {38, 38}, {100, 100}, {173, 100}}) {
        window->SetPos(position);
        QCOMPARE(bar->value(), shown);
        QVERIFY2(paints.count(bar) > painted, qPrintable(QString::number(position)));
        painted = paints.count(bar);
    }
}

void ProgressDlgTest::neitherEscapeNorCloseEndsIt() {
    ProgressWindowSink sink;
    const auto window = sink.Create("Reading GEDCOM file big.ged");
    CProgressDlg* dialog = visibleDialogs().front();
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->close());
    QCoreApplication::processEvents();
    QVERIFY(dialog->isVisible());
}

void ProgressDlgTest::textLineHoldsTwoLines() {
    CProgressDlg dialog;
    QLabel* text = dialog.TextLine();
    dialog.SetText(QStringLiteral("Reading GEDCOM file x.ged"));
    const int oneLine = text->heightForWidth(text->width());
    dialog.SetText(QStringLiteral("Reading GEDCOM file the parish registers of St Mary and St John, Harrow.ged"));
    const int twoLines = text->heightForWidth(text->width());
    QVERIFY2(twoLines > oneLine, "a long file name wraps");
    QVERIFY2(twoLines <= text->height(), qPrintable(QStringLiteral("%1 > %2").arg(twoLines).arg(text->height())));
    QVERIFY(text->geometry().bottom() < dialog.Bar()->geometry().top());
    QVERIFY(dialog.rect().contains(dialog.Bar()->geometry()));
}

void ProgressDlgTest::indexWindowOpensOverTheReadingWindowAndGoesFirst() {
    ProgressWindowSink sink;
    const auto reading = sink.Create("Reading GEDCOM file big.ged");
    {
        const auto indexing = sink.Create("Indexing GEDCOM file big.ged");
        const QList<CProgressDlg*> both = visibleDialogs();
        QCOMPARE(both.size(), 2);
        QCOMPARE(both[0]->geometry(), both[1]->geometry());
    }
    const QList<CProgressDlg*> left = visibleDialogs();
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.front()->TextLine()->text(), QStringLiteral("Reading GEDCOM file big.ged"));
}

void ProgressDlgTest::grabbedForALook() {
    ProgressWindowSink sink;
    const auto window = sink.Create("Reading GEDCOM file harrow_family.ged");
    window->SetPos(62);
    const QPixmap image = visibleDialogs().front()->grab();
    QCOMPARE(image.size() / image.devicePixelRatio(), QSize(280, 85));
    QVERIFY(image.save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/progress_dlg.png")));
}

} // namespace stirpex

QTEST_MAIN(stirpex::ProgressDlgTest)
#include "progress_dlg_test.moc"
