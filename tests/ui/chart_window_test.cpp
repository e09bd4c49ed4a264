// The chart windows in the whole application: the four charts opened from the
// View menu's commands, a click that shows a person's page, a double-click
// that centres the chart on them, the keys, zoom, the generations box, and the
// chart written to PNG, SVG and PDF and printed on one page or tiled. Each
// chart's window is grabbed into the output folder for a person to look at.

#include "charts/chart_frame.h"
#include "charts/chart_view.h"
#include "model/stirpex_doc.h"
#include "page/page_pointer.h"
#include "page/stirpex_view.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/stirpex_app.h"
#include "ui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace stirpex;

namespace {

const QString kPedigreeFile = QStringLiteral(STIRPEX_TEST_DATA_DIR "/chart_pedigree.ged");
const QString kDescendantsFile = QStringLiteral(STIRPEX_TEST_DATA_DIR "/chart_descendants.ged");

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPages(const QString& path) {
    return static_cast<int>(
        QString::fromLatin1(contentsOf(path)).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// The first box of the chart drawn for the person with this key; -1 for none.
std::int32_t boxOf(ChartFrame& chart, const CStirpexDoc& doc, const char* key) {
    const CPerson* person = doc.FindPerson(key);
    const std::vector<ChartBox>& boxes = chart.View().Chart().boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (person != nullptr && boxes[i].person == person->m_nIndex && boxes[i].firstBox < 0) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

} // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void eachChartOpensOnThePersonShown();
    void clickShowsThePageAndDoubleClickRecentres();
    void keysMoveTheFocusAndEnterShowsThePage();
    void zoomKeepsThePointUnderThePointerAndFitShowsAll();
    void generationsAndOptionsLayTheChartOutAgain();
    void hourglassCountsAncestorsAndDescendantsApart();
    void onlyTheVisibleBoxesArePainted();
    void exportsHoldTheChart();
    void printsOnOnePageOrTiled();

private:
    CMainFrame& frame() const { return m_app->MainFrame(); }
    CStirpexView& view() const { return *frame().ActiveView(); }
    const CStirpexDoc& doc() const { return view().GetDocument(); }
    QString shownId() const { return QString::fromUtf8(view().Page().m_pPerson->m_strID.view()); }
    void start(const QString& file);
    ChartFrame* open(int command, const char* key = "I1");
    void saveGrab(QWidget& widget, const QString& name);

    test::RecordedMessages m_messages;
    std::unique_ptr<test::FreshSettings> m_settings;
    std::unique_ptr<CStirpexApp> m_app;
};

void ChartWindowTest::init() {
    start(kPedigreeFile);
}

void ChartWindowTest::start(const QString& file) {
    m_app.reset();
    m_settings = std::make_unique<test::FreshSettings>();
    AppEnvironment env;
    env.messages = &m_messages;
    env.exit = [](int) {};
    env.singleInstance = false;
    env.registerFileTypes = false;
    m_app = std::make_unique<CStirpexApp>(std::vector<std::string>{QFile::encodeName(file).toStdString()}, env);
    QVERIFY(m_app->InitInstance());
    QTRY_VERIFY(frame().ActiveView() != nullptr && !view().Page().m_bFirstDraw);
}

void ChartWindowTest::cleanup() {
    m_app.reset();
    m_settings.reset();
}

ChartFrame* ChartWindowTest::open(int command, const char* key) {
    view().ShowPerson(doc().FindPerson(key));
    if (!frame().Trigger(command)) {
        return nullptr;
    }
    const QList<ChartFrame*> charts = view().findChildren<ChartFrame*>();
    ChartFrame* chart = charts.isEmpty() ? nullptr : charts.last();
    if (chart != nullptr && QTest::qWaitForWindowExposed(chart)) {
        chart->View().setFocus();
        return chart;
    }
    return nullptr;
}

void ChartWindowTest::saveGrab(QWidget& widget, const QString& name) {
    QVERIFY(widget.grab().save(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/") + name));
}

void ChartWindowTest::eachChartOpensOnThePersonShown() {
    const struct {
        const QString& file;
        int command;
        const char* key;
        const char* title;
        const char* grab;
    } kinds[] = {
        {kPedigreeFile, ID_CHART_PEDIGREE, "I1", "Pedigree: Brandt, Carl", "chart-pedigree.png"},
        {kPedigreeFile, ID_CHART_FAN, "I1", "Fan chart: Brandt, Carl", "chart-fan.png"},
        {kDescendantsFile, ID_CHART_DESCENDANTS, "D1", "Descendants: Roth, Adam", "chart-descendants.png"},
        {kDescendantsFile, ID_CHART_HOURGLASS, "D3", "Hourglass: Roth, Bernd", "chart-hourglass.png"},
    };
    for (const auto& kind : kinds) {
        if (!doc().FindPerson(kind.key)) {
            start(kind.file);
        }
        QVERIFY(frame().Action(kind.command)->isEnabled());
        ChartFrame* chart = open(kind.command, kind.key);
        QVERIFY(chart != nullptr);
        QCOMPARE(chart->windowTitle(), QString::fromUtf8(kind.title));
        QCOMPARE(chart->View().Chart().boxes[0].person, doc().FindPerson(kind.key)->m_nIndex);
        QVERIFY(chart->View().Chart().boxes.size() > 3);
        saveGrab(*chart, QString::fromUtf8(kind.grab));
        // The centre box is drawn: its fill, not the white ground, beside its middle.
        const QImage grab = chart->View().viewport()->grab().toImage();
        const QRect centre = chart->View().ViewportRect(0);
        QVERIFY(grab.rect().contains(centre.center()));
        QVERIFY(grab.pixelColor(centre.center() - QPoint(centre.width() / 3, 0)) != QColor(Qt::white));
    }
    saveGrab(frame(), QStringLiteral("chart-buttons.png")); // the toolbar's chart buttons, for a person to look at
    // The windows belong to the page window, and close with it.
    QCOMPARE(view().findChildren<ChartFrame*>().size(), 2);
    QPointer<ChartFrame> chart = view().findChild<ChartFrame*>();
    QVERIFY(frame().Trigger(ID_FILE_CLOSE));
    QTRY_VERIFY(chart.isNull());
}

void ChartWindowTest::clickShowsThePageAndDoubleClickRecentres() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    const std::int32_t mother = boxOf(*chart, doc(), "I3");
    QVERIFY(mother > 0);
    QWidget* viewport = chart->View().viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, chart->View().ViewportRect(mother).center());
    QCOMPARE(shownId(), QStringLiteral("I3"));
    QCOMPARE(chart->View().FocusBox(), mother);
    QCOMPARE(&chart->CentrePerson(), doc().FindPerson("I1")); // a click does not redraw the chart

    // An empty box is no one: the click leaves the page alone.
    std::int32_t empty = -1;
    for (std::size_t i = 0; i < chart->View().Chart().boxes.size() && empty < 0; ++i) {
        empty = chart->View().Chart().boxes[i].person < 0 ? static_cast<std::int32_t>(i) : -1;
    }
    QVERIFY(empty > 0);
    chart->View().SetFocusBox(empty);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, chart->View().ViewportRect(empty).center());
    QCOMPARE(shownId(), QStringLiteral("I3"));

    chart->View().SetFocusBox(mother);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, chart->View().ViewportRect(mother).center());
    QCOMPARE(&chart->CentrePerson(), doc().FindPerson("I3"));
    QCOMPARE(chart->View().Chart().boxes[0].person, doc().FindPerson("I3")->m_nIndex);
    QVERIFY(chart->windowTitle().endsWith(QStringLiteral("Vogel, Ilse")));

    // A drag pans and chooses no one.
    chart->View().SetZoom(4);
    const int scrolled = chart->View().horizontalScrollBar()->value();
    const QPoint start = chart->View().ViewportRect(0).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start - QPoint(60, 0)), viewport->mapToGlobal(QPointF(start)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, start - QPoint(60, 0));
    QCOMPARE(chart->View().horizontalScrollBar()->value(), scrolled + 60);
    QCOMPARE(shownId(), QStringLiteral("I3"));
}

void ChartWindowTest::keysMoveTheFocusAndEnterShowsThePage() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    ChartView& chartView = chart->View();
    QCOMPARE(chartView.FocusBox(), 0);
    const auto focused = [&] { return chartView.Chart().boxes[static_cast<std::size_t>(chartView.FocusBox())]; };
    QTest::keyClick(&chartView, Qt::Key_Left); // nothing to the left of the person: the focus stays
    QCOMPARE(chartView.FocusBox(), 0);
    QTest::keyClick(&chartView, Qt::Key_Right);
    const ChartBox parent = focused();
    QVERIFY(parent.generation > 0);
    QTest::keyClick(&chartView, Qt::Key_Down);
    QVERIFY(focused().rect.y > parent.rect.y);
    QTest::keyClick(&chartView, Qt::Key_Up);
    QTest::keyClick(&chartView, Qt::Key_Up);
    QVERIFY(focused().rect.y < parent.rect.y);
    while (focused().person < 0) {
        QTest::keyClick(&chartView, Qt::Key_Left);
    }
    QTest::keyClick(&chartView, Qt::Key_Return);
    QCOMPARE(view().Page().m_pPerson->m_nIndex, focused().person);
}

void ChartWindowTest::zoomKeepsThePointUnderThePointerAndFitShowsAll() {
    start(kDescendantsFile);
    ChartFrame* chart = open(ID_CHART_DESCENDANTS, "D1");
    QVERIFY(chart != nullptr);
    ChartView& chartView = chart->View();
    chartView.SetZoom(1);
    QTest::keyClick(&chartView, Qt::Key_Plus);
    QCOMPARE(chartView.Zoom(), ChartView::kZoomStep);
    QTest::keyClick(&chartView, Qt::Key_Minus);
    QCOMPARE(chartView.Zoom(), 1.0);

    // Ctrl+wheel zooms about the pointer: the box under it stays under it.
    chartView.SetZoom(2);
    const QPoint at = chartView.ViewportRect(0).center();
    QWheelEvent wheel(QPointF(at), chartView.viewport()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chartView.viewport(), &wheel);
    QCOMPARE(chartView.Zoom(), 2 * ChartView::kZoomStep);
    QVERIFY((chartView.ViewportRect(0).center() - at).manhattanLength() <= 2);

    chartView.SetZoom(ChartView::kMaxZoom * 2);
    QCOMPARE(chartView.Zoom(), ChartView::kMaxZoom);
    QTest::keyClick(&chartView, Qt::Key_Asterisk);
    const ChartRect visible = chartView.VisibleArea();
    QVERIFY(visible.x <= 0 && visible.y <= 0);
    QVERIFY(visible.right() >= chartView.Chart().width && visible.bottom() >= chartView.Chart().height);
}

void ChartWindowTest::generationsAndOptionsLayTheChartOutAgain() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    QVERIFY(chart->NumbersBox().isVisibleTo(chart));
    QVERIFY(!chart->SpousesBox().isVisibleTo(chart));
    QVERIFY(!chart->DescendantGenerationsBox().isVisibleTo(chart));
    chart->GenerationsBox().setValue(2);
    QCOMPARE(chart->View().Chart().boxes.size(), std::size_t{3}); // Carl and his parents
    QCOMPARE(chart->View().Chart().ancestorGenerations, 1);
    chart->GenerationsBox().setValue(3);
    QCOMPARE(chart->View().Chart().boxes.size(), std::size_t{7});
    const double wide = chart->View().Chart().width;
    chart->OrientationBox().setCurrentIndex(1); // top down: generations stack, the chart grows downwards
    QCOMPARE(chart->View().Chart().orientation, ChartOrientation::TopDown);
    QVERIFY(chart->View().Chart().width != wide);
    const std::size_t texts = chart->View().Chart().texts.size();
    chart->NumbersBox().setChecked(true);
    QVERIFY(chart->View().Chart().texts.size() > texts);

    ChartFrame* fan = open(ID_CHART_FAN, "I1");
    QVERIFY(fan != nullptr);
    QCOMPARE(fan->GenerationsBox().minimum(), kMinFanGenerations);
    QCOMPARE(fan->GenerationsBox().maximum(), kMaxFanGenerations);

    start(kDescendantsFile);
    ChartFrame* descendants = open(ID_CHART_DESCENDANTS, "D1");
    QVERIFY(descendants != nullptr);
    QVERIFY(descendants->SpousesBox().isVisibleTo(descendants));
    QVERIFY(!descendants->OrientationBox().isVisibleTo(descendants));
    const std::size_t withSpouses = descendants->View().Chart().boxes.size();
    descendants->SpousesBox().setChecked(false);
    QVERIFY(descendants->View().Chart().boxes.size() < withSpouses);
    descendants->GenerationsBox().setValue(2);
    QCOMPARE(descendants->View().Chart().descendantGenerations, 1);
}

void ChartWindowTest::hourglassCountsAncestorsAndDescendantsApart() {
    start(kDescendantsFile);
    ChartFrame* chart = open(ID_CHART_HOURGLASS, "D3");
    QVERIFY(chart != nullptr);
    QVERIFY(chart->GenerationsBox().isVisibleTo(chart));
    QVERIFY(chart->DescendantGenerationsBox().isVisibleTo(chart));
    // Bernd's parents and their parents' empty boxes above; two of his three generations below.
    QCOMPARE(chart->View().Chart().ancestorGenerations, 2);
    QCOMPARE(chart->View().Chart().descendantGenerations, 2);
    chart->DescendantGenerationsBox().setValue(4);
    QCOMPARE(chart->View().Chart().descendantGenerations, 3);
    QCOMPARE(chart->View().Chart().ancestorGenerations, 2);
    chart->GenerationsBox().setValue(1);
    QCOMPARE(chart->View().Chart().ancestorGenerations, 0);
    QCOMPARE(chart->View().Chart().descendantGenerations, 3);
    chart->DescendantGenerationsBox().setValue(1);
    QCOMPARE(chart->View().Chart().boxes.size(), std::size_t{2}); // Bernd and his wife
}

void ChartWindowTest::onlyTheVisibleBoxesArePainted() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    ChartView& chartView = chart->View();
    chartView.SetZoom(ChartView::kMaxZoom);
    chartView.viewport()->repaint();
    QVERIFY(chartView.LastPaintedBoxes() > 0);
    QVERIFY(chartView.LastPaintedBoxes() < chartView.Chart().boxes.size());
    chartView.FitToWindow();
    chartView.viewport()->repaint();
    QCOMPARE(chartView.LastPaintedBoxes(), chartView.Chart().boxes.size());
}

void ChartWindowTest::exportsHoldTheChart() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    const QString out = QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/");
    QString error;

    QVERIFY(chart->Export(out + QStringLiteral("export.png"), QSize(1200, 0), error));
    const QImage png(out + QStringLiteral("export.png"));
    QCOMPARE(png.width(), 1200);
    const double ratio = chart->View().Chart().height / chart->View().Chart().width;
    QVERIFY(std::abs(png.height() - 1200 * ratio) <= 1);
    QVERIFY(chart->Export(out + QStringLiteral("export-small.png"), QSize(200, 300), error));
    QCOMPARE(QImage(out + QStringLiteral("export-small.png")).size(), QSize(200, 300));

    QVERIFY(chart->Export(out + QStringLiteral("export.svg"), QSize(), error));
    const QByteArray svg = contentsOf(out + QStringLiteral("export.svg"));
    QVERIFY(svg.startsWith("<?xml"));
    for (const char* name : {">Brandt, Carl<", ">Vogel, Ilse<", ">Unknown mother<", ">Repeated<"}) {
        QVERIFY2(svg.contains(name), name);
    }

    QVERIFY(chart->Export(out + QStringLiteral("export.pdf"), QSize(), error));
    const QByteArray pdf = contentsOf(out + QStringLiteral("export.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.contains("/FontFile")); // text, with its font, not outlines

    QVERIFY(!chart->Export(out + QStringLiteral("export.gif"), QSize(), error));
    QVERIFY(error.contains(QStringLiteral(".svg")));
    QVERIFY(!chart->Export(QStringLiteral("/nonexistent/folder/chart.png"), QSize(), error));
}

void ChartWindowTest::printsOnOnePageOrTiled() {
    ChartFrame* chart = open(ID_CHART_PEDIGREE, "I1");
    QVERIFY(chart != nullptr);
    QTemporaryDir folder;
    const auto print = [&](ChartPrintFit fit, const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(name));
        // A page a fraction of the chart's own size, which must then be tiled.
        printer.setPageSize(QPageSize(QSizeF(60, 60), QPageSize::Millimeter));
        return chart->PrintOn(printer, fit);
    };
    QCOMPARE(print(ChartPrintFit::OnePage, QStringLiteral("one.pdf")), 1);
    QCOMPARE(pdfPages(folder.filePath(QStringLiteral("one.pdf"))), 1);
    const int tiles = print(ChartPrintFit::Tiled, QStringLiteral("tiled.pdf"));
    QVERIFY(tiles > 1);
    QCOMPARE(pdfPages(folder.filePath(QStringLiteral("tiled.pdf"))), tiles);
}

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
