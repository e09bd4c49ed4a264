#include "page/page_printer_qt.h"

#include "gedcom/load_sinks.h"
#include "model/stirpex_doc.h"
#include "page/painter_surface_qt.h"
#include "page/person_page.h"
#include "page/stirpex_view.h"
#include "shell/open_gedcom_app.h"

#include <QDialogButtonBox>
#include <QObject>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>
#include <cstdint>

namespace stirpex {

namespace {

// Ends the page's printing state however the drawing leaves.
class PrintingState {
public:
    PrintingState(PersonPage& page, PageSurface& surface) : m_page(page) { m_page.OnBeginPrinting(surface); }
    PrintingState(const PrintingState&) = delete;
    PrintingState& operator=(const PrintingState&) = delete;
    ~PrintingState() { m_page.OnEndPrinting(); }

private:
    PersonPage& m_page;
};

// Without a printer Qt quietly falls back to a PDF writer with no file, whose
// job would vanish: that is a printer that is not set up.
bool hasDestination(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return !printer.outputFileName().isEmpty();
    }
    return printer.isValid() && !printer.printerName().isEmpty();
}

QString destinationName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
}

void show(MessageSink& messages, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    messages.Show(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// One page of `page`'s person on `printer`. The page is in its printing state
// only while it draws. False when the printer would not start or reports an error.
bool printPersonPage(PersonPage& page, const CStirpexDoc& doc, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    {
        PainterSurface surface(painter, PainterSurface::Units::TenthsOfMillimetre);
        // The surface maps both axes by the vertical resolution; so must the width.
        const int dpi = std::max(1, printer.logicalDpiY());
        page.SetPrintableWidth(static_cast<int>(std::int64_t{printer.width()} * 254 / dpi));
        const PrintingState printing(page, surface);
        page.PrintPage(surface, doc);
    }
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error;
}

} // namespace

PagePrinting::PagePrinting(MessageSink& messages)
    : m_messages(messages), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PagePrinting::~PagePrinting() = default;

void PagePrinting::RunCommand(CStirpexView& view, int command) {
    switch (command) {
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
        Print(view);
        break;
    case ID_FILE_PRINT_PREVIEW:
        Preview(view);
        break;
    default:
        break;
    }
}

bool PagePrinting::printOn(PersonPage& page, const CStirpexDoc& doc, QPrinter& printer) {
    if (printPersonPage(page, doc, printer)) {
        return true;
    }
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    show(m_messages, (toFile ? QStringLiteral("The page could not be written to the file %1.")
                             : QStringLiteral("The page could not be printed on %1."))
                             .arg(destinationName(printer)) +
                         QStringLiteral(" Check it, or choose another printer with Print Setup."));
    return false;
}

bool PagePrinting::Print(CStirpexView& view) {
    if (!hasDestination(*m_printer)) {
        m_messages.Show(kNoPrinterText);
        return false;
    }
    m_printer->setDocName(view.Document().Title());
    return printOn(view.Page(), view.GetDocument(), *m_printer);
}

void PagePrinting::Preview(CStirpexView& view) {
    m_printer->setDocName(view.Document().Title());
    QPrintPreviewDialog dialog(m_printer.get(), &view);
    dialog.setObjectName(QStringLiteral("printPreview"));
    // The preview asks for the page again on every change of page setup; the
    // screen page keeps painting behind it, so the printing state covers each
    // drawing of the preview only.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this, &view](QPrinter* printer) { printOn(view.Page(), view.GetDocument(), *printer); });
    dialog.exec();
}

void PagePrinting::PrintSetup(QWidget* parent) {
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setObjectName(QStringLiteral("printSetup"));
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // It chooses the printer for later jobs; the job itself is always the one page.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText(QStringLiteral("OK"));
        }
    }
    dialog.exec();
}

bool PagePrinting::PrintFile(const CStirpexDoc& doc, const std::optional<QString>& printerName) {
    PersonPage page;
    page.TakeStartPerson(doc);
    if (!printerName) {
        if (!hasDestination(*m_printer)) {
            m_messages.Show(kNoPrinterText);
            return false;
        }
        return printOn(page, doc, *m_printer);
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(*printerName);
    if (info.isNull()) {
        show(m_messages, QStringLiteral("There is no printer named %1.").arg(*printerName));
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return printOn(page, doc, printer);
}

void PagePrinting::SetPrintToFile(const QString& path) {
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(path);
}

} // namespace stirpex
