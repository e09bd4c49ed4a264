#pragma once

// The window of one chart: the chart view under a toolbar of what can be
// asked of it (generations, orientation, numbers, spouses, zoom, print,
// export). A click on a box shows that person's page in the window that
// opened the chart; a double-click draws the chart again around them. The
// window belongs to that page window and closes with it.

#include "charts/chart_draw_qt.h"
#include "charts/chart_export_qt.h"
#include "charts/chart_print_qt.h"
#include "charts/chart_layout.h"
#include "charts/chart_options.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QPrinter;
class QSpinBox;
class QToolBar;

namespace stirpex {

class ChartView;
class CPerson;
class CStirpexDoc;
class CStirpexView;

// The chart command's kind: ID_CHART_PEDIGREE and the rest; none for another command.
std::optional<ChartKind> ChartKindOfCommand(int command) noexcept;

class ChartFrame : public QMainWindow {
    Q_OBJECT

public:
    using ShowPage = std::function<void(const CPerson&)>;

    ChartFrame(const CStirpexDoc& doc, const CPerson& person, ChartKind kind, ShowPage showPage,
               QWidget* parent = nullptr);
    ~ChartFrame() override;

    ChartView& View() noexcept { return *m_view; }
    const CPerson& CentrePerson() const noexcept { return *m_person; }
    // The hourglass counts its ancestors here and its descendants in the
    // second box, which only the hourglass shows.
    QSpinBox& GenerationsBox() noexcept { return *m_generations; }
    QSpinBox& DescendantGenerationsBox() noexcept { return *m_descendantGenerations; }
    QComboBox& OrientationBox() noexcept { return *m_orientation; }
    QCheckBox& NumbersBox() noexcept { return *m_numbers; }
    QCheckBox& SpousesBox() noexcept { return *m_spouses; }

    // Draws the chart again around `person`.
    void Recentre(const CPerson& person);
    // Writes the chart at `size` (see ChartFileSize); false with the reason in `error`.
    bool Export(const QString& path, QSize size, QString& error) const;
    int PrintOn(QPrinter& printer, ChartPrintFit fit) const;

private:
    void buildToolbar();
    void addGenerationBoxes(QToolBar& bar);
    void relayout();
    void onExport();
    void onPrint();

    const CStirpexDoc& m_doc;
    const CPerson* m_person;
    ChartKind m_kind;
    ShowPage m_showPage;
    ChartFonts m_fonts;
    ChartOptions m_options;
    ChartView* m_view = nullptr;
    QSpinBox* m_generations = nullptr;
    QSpinBox* m_descendantGenerations = nullptr;
    QComboBox* m_orientation = nullptr;
    QCheckBox* m_numbers = nullptr;
    QCheckBox* m_spouses = nullptr;
};

// The page's chart hook: opens the chart of the view's person that `command` asks for.
void OpenChart(CStirpexView& view, int command);

} // namespace stirpex
