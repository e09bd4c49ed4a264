// Printing the person page to a PDF file and reading the file back, the
// preview window, Print Setup, and the messages of a job that cannot go out.

#include "model/stirpex_doc.h"
#include "page/page_printer_qt.h"
#include "page/stirpex_view.h"
#include "shell/document_set_app.h"
#include "shell/main_frame.h"
#include "page_windows.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace stirpex;

namespace {

QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The non-empty lines of each page, blanks between columns folded to one.
QList<QStringList> pdfPages(const QString& pdf) {
    QList<QStringList> pages;
    const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const QString& page : text.split(QLatin1Char('\f'), Qt::SkipEmptyParts)) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty()) {
                lines.append(line.simplified());
            }
        }
        pages.append(lines);
    }
    return pages;
}

struct WordBox {
    double left = -1;
    double top = -1;
};

// Where the first occurrence of a word lies on the page, in points from the page's top-left corner.
WordBox firstWord(const QString& pdf, const QString& word) {
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression box(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    for (auto match = box.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.captured(3) == word) {
            return {m.captured(1).toDouble(), m.captured(2).toDouble()};
        }
    }
    return {};
}

// Runs `inside` on the modal dialog once its event loop runs; the callback must
// close it. Looked for again a while rather than leaving a dialog that blocks.
void whenModal(const std::function<void(QWidget&)>& inside, int triesLeft = 200) {
    QTimer::singleShot(10, [inside, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            inside(*modal);
        } else if (triesLeft > 0) {
            whenModal(inside, triesLeft - 1);
        }
    });
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void printsThePageAndTheNotesOnly();
    void longNoteStopsAt250Millimetres();
    void textIsPlacedInMillimetresFromThePrintableArea();
    void previewShowsOnePageAndLeavesTheScreenPageAlone();
    void aJobWithNowhereToGoIsReported();
    void printVerbsPrintTheStartPage();
    void printSetupCancelledKeepsThePrinter();

private:
    CStirpexView& view() const { return *m_windows->Frame().ActiveView(); }
    void open(const QString& path);
    void show(const char* key) { view().ShowPerson(view().GetDocument().FindPerson(key)); }
    QString pdf() const { return m_dir.filePath(QStringLiteral("page.pdf")); }
    QList<QRect> linkRects() const;

    QTemporaryDir m_dir;
    PageDialogs m_dialogs;
    std::unique_ptr<test::PageWindows> m_windows;
    std::unique_ptr<PagePrinting> m_printing;
};

void PrintTest::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QSKIP("pdftotext (poppler-utils) is not installed: tools/install-deps.sh installs it");
    }
    QVERIFY(m_dir.isValid());
}

void PrintTest::init() {
    m_dialogs.print = [this](CStirpexView& view, int command) { m_printing->RunCommand(view, command); };
    m_windows = std::make_unique<test::PageWindows>(m_dialogs);
    m_printing = std::make_unique<PagePrinting>(m_windows->messages);
    m_printing->SetPrintToFile(pdf());
    open(test::SamplePath());
    QFile::remove(pdf());
}

void PrintTest::cleanup() {
    m_printing.reset();
    m_windows.reset();
}

void PrintTest::open(const QString& path) {
    QVERIFY(m_windows->Open(path));
}

QList<QRect> PrintTest::linkRects() const {
    QList<QRect> rects;
    for (const PageLink& link : view().Page().Links()) {
        rects.append(view().ClientRect(link.rect));
    }
    return rects;
}

void PrintTest::printsThePageAndTheNotesOnly() {
    const QList<QRect> links = linkRects();
    QVERIFY(!links.empty());
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PRINT));
    // Relatives print as plain names and no "Notes" or "Sources" column appears beside the values.
    const QStringList withNotes = {
        QStringLiteral("Family Name Harrow"),
        QStringLiteral("Given Names William Émile"),
        QStringLiteral("Alias Bill Harrow"),
        QStringLiteral("Birth 12 MAR 1884 Fallowmere, Brackenshire"),
        QStringLiteral("Baptism 6 APR 1884 St. Oswin's Church, Fallowmere, Brackenshire"),
        QStringLiteral("Death 30 DEC 1961 Greywater, Brackenshire"),
        QStringLiteral("Burial 4 JAN 1962 St. Oswin's Churchyard, Fallowmere, Brackenshire"),
        QStringLiteral("Father Harrow, George (1850-1912)"),
        QStringLiteral("Mother Duchêne, Hélène (1854-1931)"),
        QStringLiteral("Spouse 1: Muñoz, Clara (1886-1958)"),
        QStringLiteral("Married 3 JUN 1908 St. Oswin's Church, Fallowmere, Brackenshire"),
        QStringLiteral("Divorced 17 NOV 1921 Assize Court, Greywater, Brackenshire"),
        QStringLiteral("Children: Harrow, Arthur (1909-1944)"),
        QStringLiteral("Harrow, Zoë (1912-2001)"),
        QStringLiteral("Spouse 2: Björk, Ingrid (1895-1979)"),
        QStringLiteral("Married 9 AUG 1923 Register Office, Greywater, Brackenshire"),
        QStringLiteral("Children: Harrow, Lionel (1925-1999)"),
        // The facts below the families print as they show, media as plain text.
        QStringLiteral("Occupation Clockmaker"),
        QStringLiteral("Address 14 Kettle Lane"),
        QStringLiteral("Fallowmere"),
        QStringLiteral("Brackenshire"),
        QStringLiteral("Media The Harrow house on Kettle Lane, Fallowmere, about 1910 (photos/harrow_house.jpg)"),
        QStringLiteral("Notes: William kept a ledger of every clock that passed through his workshop on Kettle Lane."),
    };
    // A note line longer than the paper is wide goes on over the next lines
    // at the value column instead of running past the right edge.
    QList<QStringList> pages = pdfPages(pdf());
    QCOMPARE(pages.size(), 1);
    QStringList wrapped;
    while (pages.front().size() > withNotes.size()) {
        wrapped.prepend(pages.front().takeLast());
    }
    QVERIFY2(wrapped.size() >= 2, qPrintable(wrapped.join(u'|')));
    QCOMPARE(wrapped.join(u' ').simplified(),
             QStringLiteral("The ledger runs from 1903 to 1958 and names each owner, the fault and the price charged; "
                            "the church clock of St. Oswin's appears in it nine times."));
    QCOMPARE(pages, QList<QStringList>{withNotes});
    // The screen page is as it was: same person, links and history, not left in its printing state.
    QVERIFY(!view().Page().m_bPrinting);
    QCOMPARE(linkRects(), links);
    QCOMPARE(view().Page().m_history.position(), 1);

    show("I3");
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PRINT_DIRECT));
    const QList<QStringList> withoutNotes = pdfPages(pdf());
    QCOMPARE(withoutNotes.size(), 1);
    QCOMPARE(withoutNotes.front().size(), 11);
    QCOMPARE(withoutNotes.front().front(), QStringLiteral("Family Name Björk"));
    QCOMPARE(withoutNotes.front().back(), QStringLiteral("Children: Harrow, Lionel (1925-1999)"));
    QVERIFY(m_windows->messages.shown.isEmpty());
}

void PrintTest::longNoteStopsAt250Millimetres() {
    open(QStringLiteral(STIRPEX_TEST_DATA_DIR "/note_of_200_lines.ged"));
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PRINT));
    const QList<QStringList> pages = pdfPages(pdf());
    QCOMPARE(pages.size(), 1);
    // "Notes:" and line 1 share the line at 57 mm; every line takes 4 mm, and the
    // one that would start below 250 mm, line 50, is the first one left out.
    QStringList expected = {QStringLiteral("Family Name Note"),
                            QStringLiteral("Given Names Long"),
                            QStringLiteral("Birth"),
                            QStringLiteral("Death"),
                            QStringLiteral("Father Unknown"),
                            QStringLiteral("Mother Unknown"),
                            QStringLiteral("Spouses: None."),
                            QStringLiteral("Notes: Line 1 of 200")};
    for (int line = 2; line <= 49; ++line) {
        expected.append(QStringLiteral("Line %1 of 200").arg(line));
    }
    QCOMPARE(pages.front(), expected);
}

void PrintTest::textIsPlacedInMillimetresFromThePrintableArea() {
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PRINT));
    const QRectF area = m_printing->Printer().pageLayout().paintRect(QPageLayout::Point);
    constexpr double kPointsPerTenthMm = 72.0 / 254.0;
    const WordBox label = firstWord(pdf(), QStringLiteral("Family"));
    const WordBox surname = firstWord(pdf(), QStringLiteral("Harrow"));
    QVERIFY2(qAbs(label.left - (area.left() + 100 * kPointsPerTenthMm)) < 0.6, qPrintable(QString::number(label.left)));
    QVERIFY2(qAbs(surname.left - (area.left() + 400 * kPointsPerTenthMm)) < 0.6,
             qPrintable(QString::number(surname.left)));
    // The first line's cell starts 14 mm down: placed by its top, not by its baseline.
    QVERIFY2(qAbs(label.top - (area.top() + 140 * kPointsPerTenthMm)) < 1.0, qPrintable(QString::number(label.top)));
    QVERIFY(qAbs(surname.top - label.top) < 0.5);

    if (!QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
        runTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-singlefile"),
                 pdf(), QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/printed_page")});
        QVERIFY(QFile::exists(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/printed_page.png")));
    }
}

void PrintTest::previewShowsOnePageAndLeavesTheScreenPageAlone() {
    int pages = -1;
    bool screenInPrintState = true;
    whenModal([&](QWidget& modal) {
        auto* preview = modal.findChild<QPrintPreviewWidget*>();
        if (preview != nullptr) {
            (void)QTest::qWaitFor([preview] { return preview->pageCount() > 0; }, 5000);
            pages = preview->pageCount();
            screenInPrintState = view().Page().m_bPrinting;
            QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
            modal.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/print_preview.png"));
        }
        modal.close();
    });
    QVERIFY(m_windows->Frame().Trigger(ID_FILE_PRINT_PREVIEW));
    QCOMPARE(pages, 1);
    // The view keeps painting behind the preview, so it must do so with the screen geometry.
    QVERIFY(!screenInPrintState);
    QVERIFY(!QFile::exists(pdf()));
}

void PrintTest::aJobWithNowhereToGoIsReported() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // The system default of a machine without printers.
        PagePrinting fresh(m_windows->messages);
        QVERIFY(!fresh.Print(view()));
    } else {
        m_printing->SetPrintToFile(QString());
        QVERIFY(!m_printing->Print(view()));
    }
    m_printing->SetPrintToFile(m_dir.filePath(QStringLiteral("no/such/folder/page.pdf")));
    QVERIFY(!m_printing->Print(view()));
    QCOMPARE(m_windows->messages.shown,
             QStringList({QString::fromUtf8(kNoPrinterText),
                          QStringLiteral("The page could not be written to the file %1. Check it, or choose another "
                                         "printer with Print Setup.")
                              .arg(m_dir.filePath(QStringLiteral("no/such/folder/page.pdf")))}));
    QVERIFY(!view().Page().m_bPrinting);
}

void PrintTest::printVerbsPrintTheStartPage() {
    show("I3"); // a window's person is not the document's start page
    QVERIFY(m_printing->PrintFile(view().GetDocument()));
    const QList<QStringList> pages = pdfPages(pdf());
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.front().front(), QStringLiteral("Family Name Harrow"));
    QVERIFY(!m_printing->PrintFile(view().GetDocument(), QStringLiteral("no-such-printer")));
    QCOMPARE(m_windows->messages.shown, QStringList{QStringLiteral("There is no printer named no-such-printer.")});
}

void PrintTest::printSetupCancelledKeepsThePrinter() {
    QString title;
    whenModal([&](QWidget& modal) {
        title = modal.windowTitle();
        QDir().mkpath(QStringLiteral(STIRPEX_UI_OUTPUT_DIR));
        modal.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/print_setup.png"));
        modal.close();
    });
    m_printing->PrintSetup(&m_windows->Frame());
    QCOMPARE(title, QStringLiteral("Print Setup"));
    QCOMPARE(m_printing->Printer().outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(m_printing->Printer().outputFileName(), pdf());
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
