#include "charts/chart_frame.h"

#include "charts/box_text.h"
#include "charts/chart.h"
#include "charts/chart_view.h"
#include "model/person.h"
#include "model/stirpex_doc.h"
#include "page/page_pointer.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <utility>

namespace stirpex {
namespace {

QString kindName(ChartKind kind) {
    switch (kind) {
    case ChartKind::Pedigree:
        return QStringLiteral("Pedigree");
    case ChartKind::Descendants:
        return QStringLiteral("Descendants");
    case ChartKind::Hourglass:
        return QStringLiteral("Hourglass");
    case ChartKind::Fan:
        return QStringLiteral("Fan chart");
    }
    return {};
}

bool takesNumbers(ChartKind kind) {
    return kind != ChartKind::Descendants;
}

bool takesSpouses(ChartKind kind) {
    return kind == ChartKind::Descendants || kind == ChartKind::Hourglass;
}

// The print dialog's own tab: one page, or tiles at the chart's own size.
class PrintFitTab final : public QWidget {
public:
    PrintFitTab() {
        setWindowTitle(QStringLiteral("Chart"));
        auto* layout = new QVBoxLayout(this);
        m_onePage = new QRadioButton(QStringLiteral("&Fit on one page"), this);
        auto* tiled = new QRadioButton(QStringLiteral("&Tiled at full size over several pages"), this);
        m_onePage->setChecked(true);
        layout->addWidget(m_onePage);
        layout->addWidget(tiled);
        layout->addStretch();
    }
    ChartPrintFit fit() const { return m_onePage->isChecked() ? ChartPrintFit::OnePage : ChartPrintFit::Tiled; }

private:
    QRadioButton* m_onePage = nullptr;
};

} // namespace

std::optional<ChartKind> ChartKindOfCommand(int command) noexcept {
    switch (command) {
    case ID_CHART_PEDIGREE:
        return ChartKind::Pedigree;
    case ID_CHART_DESCENDANTS:
        return ChartKind::Descendants;
    case ID_CHART_HOURGLASS:
        return ChartKind::Hourglass;
    case ID_CHART_FAN:
        return ChartKind::Fan;
    default:
        return std::nullopt;
    }
}

ChartFrame::ChartFrame(const CStirpexDoc& doc, const CPerson& person, ChartKind kind, ShowPage showPage,
                       QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_person(&person), m_kind(kind), m_showPage(std::move(showPage)),
      m_options(Normalized(kind, ChartOptions{})) {
    m_view = new ChartView(m_fonts, this);
    setCentralWidget(m_view);
    buildToolbar();
    connect(m_view, &ChartView::personChosen, this, [this](std::int32_t index) {
        if (m_showPage) {
            m_showPage(*m_doc.m_ppPersons[static_cast<std::size_t>(index)]);
        }
    });
    connect(m_view, &ChartView::recentreAsked, this,
            [this](std::int32_t index) { Recentre(*m_doc.m_ppPersons[static_cast<std::size_t>(index)]); });
    resize(900, 640);
    relayout();
}

ChartFrame::~ChartFrame() = default;

void ChartFrame::buildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("Chart"));
    bar->setMovable(false);
    addGenerationBoxes(*bar);

    m_orientation = new QComboBox(bar);
    m_orientation->addItems({QStringLiteral("Left to right"), QStringLiteral("Top down"), QStringLiteral("Bottom up")});
    QAction* orientation = bar->addWidget(m_orientation);
    orientation->setVisible(m_kind == ChartKind::Pedigree);
    connect(m_orientation, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_options.orientation = static_cast<ChartOrientation>(index);
        relayout();
    });

    m_numbers = new QCheckBox(QStringLiteral("&Numbers"), bar);
    m_numbers->setToolTip(QStringLiteral("Ahnentafel numbers"));
    bar->addWidget(m_numbers)->setVisible(takesNumbers(m_kind));
    connect(m_numbers, &QCheckBox::toggled, this, [this](bool on) {
        m_options.ahnentafelNumbers = on;
        relayout();
    });

    m_spouses = new QCheckBox(QStringLiteral("&Spouses"), bar);
    m_spouses->setChecked(m_options.includeSpouses);
    bar->addWidget(m_spouses)->setVisible(takesSpouses(m_kind));
    connect(m_spouses, &QCheckBox::toggled, this, [this](bool on) {
        m_options.includeSpouses = on;
        relayout();
    });

    bar->addSeparator();
    bar->addAction(QStringLiteral("Zoom &In"), m_view, &ChartView::ZoomIn)->setToolTip(QStringLiteral("Zoom in (+)"));
    bar->addAction(QStringLiteral("Zoom &Out"), m_view, &ChartView::ZoomOut)
        ->setToolTip(QStringLiteral("Zoom out (-)"));
    bar->addAction(QStringLiteral("&Fit"), m_view, &ChartView::FitToWindow)
        ->setToolTip(QStringLiteral("Fit the chart to the window (*)"));
    bar->addSeparator();
    QAction* print = bar->addAction(QStringLiteral("&Print..."), this, &ChartFrame::onPrint);
    print->setShortcut(QKeySequence::Print);
    QAction* save = bar->addAction(QStringLiteral("&Export..."), this, &ChartFrame::onExport);
    save->setShortcut(QKeySequence::Save);

    // The buttons and check boxes are named by their texts and described by their tooltips.
    SetAccessibleTexts({
        {m_generations, m_kind == ChartKind::Hourglass ? QStringLiteral("Ancestors") : QStringLiteral("Generations"),
         m_generations->toolTip()},
        {m_descendantGenerations, QStringLiteral("Descendants"), m_descendantGenerations->toolTip()},
        {m_orientation, QStringLiteral("Orientation"), QStringLiteral("Which way the generations of the pedigree run")},
        {m_view, QStringLiteral("Chart"),
         QStringLiteral("The arrow keys move between the boxes and Enter shows the person's page; + and - zoom, * "
                        "fits the chart to the window")},
    });
}

void ChartFrame::addGenerationBoxes(QToolBar& bar) {
    const bool hourglass = m_kind == ChartKind::Hourglass;
    // A label and a spin box, with the actions that show them.
    const auto addBox = [&](const QString& label, const QString& tip, int value) {
        auto* labelText = new QLabel(label, &bar);
        QAction* labelAction = bar.addWidget(labelText);
        auto* box = new QSpinBox(&bar);
        labelText->setBuddy(box);
        box->setRange(m_kind == ChartKind::Fan ? kMinFanGenerations : 1,
                      m_kind == ChartKind::Fan ? kMaxFanGenerations : kMaxChartGenerations);
        box->setValue(value);
        box->setToolTip(tip);
        return std::tuple(box, labelAction, bar.addWidget(box));
    };
    QAction* label = nullptr;
    QAction* action = nullptr;
    std::tie(m_generations, label, action) =
        addBox(hourglass ? QStringLiteral(" Ancestors ") : QStringLiteral(" Generations "),
               hourglass ? QStringLiteral("Generations of ancestors, the person's own counted")
                         : QStringLiteral("Generations, the person's own counted"),
               m_options.generations);
    std::tie(m_descendantGenerations, label, action) =
        addBox(QStringLiteral(" Descendants "), QStringLiteral("Generations of descendants, the person's own counted"),
               m_options.descendantGenerations);
    label->setVisible(hourglass);
    action->setVisible(hourglass);
    // The other kinds have one count, which the options' second follows.
    connect(m_generations, &QSpinBox::valueChanged, this, [this, hourglass](int value) {
        m_options.generations = value;
        if (!hourglass) {
            m_options.descendantGenerations = value;
        }
        relayout();
    });
    connect(m_descendantGenerations, &QSpinBox::valueChanged, this, [this](int value) {
        m_options.descendantGenerations = value;
        relayout();
    });
}

void ChartFrame::relayout() {
    const QtChartMeasure measure(m_fonts);
    ChartLayout layout = LayoutChart(m_doc, *m_person, m_kind, m_options, measure);
    const QString boxes = QStringLiteral("%1 boxes").arg(layout.boxes.size());
    statusBar()->showMessage(layout.cut ? boxes + QStringLiteral(", cut at the limit") : boxes);
    m_view->SetChart(std::move(layout));
    setWindowTitle(QStringLiteral("%1: %2").arg(kindName(m_kind), QString::fromStdString(ChartName(*m_person))));
}

void ChartFrame::Recentre(const CPerson& person) {
    m_person = &person;
    relayout();
}

bool ChartFrame::Export(const QString& path, QSize size, QString& error) const {
    const std::optional<ChartFileFormat> format = ChartFileFormatOf(path);
    if (!format) {
        error = QStringLiteral("%1: the name must end in .png, .svg or .pdf").arg(path);
        return false;
    }
    return WriteChartFile(m_view->Chart(), m_fonts, path, *format, ChartFileSize(m_view->Chart(), size), error);
}

int ChartFrame::PrintOn(QPrinter& printer, ChartPrintFit fit) const {
    return PrintChart(printer, m_view->Chart(), m_fonts, fit);
}

void ChartFrame::onExport() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export Chart"), {},
                                     QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    bool ok = false;
    const int percent =
        QInputDialog::getInt(this, QStringLiteral("Export Chart"),
                             QStringLiteral("Size, in per cent of the chart's own:"), 100, 5, 2000, 5, &ok);
    if (!ok) {
        return;
    }
    const QSize own = ChartFileSize(m_view->Chart(), {});
    QString error;
    if (!Export(path, QSize(std::max(1, own.width() * percent / 100), 0), error)) {
        QMessageBox::warning(this, QStringLiteral("Export Chart"), error);
    }
}

void ChartFrame::onPrint() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    auto* fitTab = new PrintFitTab;
    dialog.setOptionTabs({fitTab});
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (PrintOn(printer, fitTab->fit()) == 0) {
        QMessageBox::warning(this, QStringLiteral("Print Chart"), QStringLiteral("The chart could not be printed."));
    }
}

void OpenChart(CStirpexView& view, int command) {
    const std::optional<ChartKind> kind = ChartKindOfCommand(command);
    const CPerson* person = view.Page().m_pPerson;
    if (!kind || person == nullptr) {
        return;
    }
    QPointer<CStirpexView> pageView(&view);
    auto* frame = new ChartFrame(
        view.GetDocument(), *person, *kind,
        [pageView](const CPerson& chosen) {
            if (pageView) {
                pageView->ShowPerson(&chosen);
            }
        },
        &view);
    frame->setWindowFlag(Qt::Window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
}

} // namespace stirpex
