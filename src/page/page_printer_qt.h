#pragma once

// Printing and previewing the person page. The application owns one
// PagePrinting with its current printer: the system's default until Print
// Setup chooses another one or a PDF file. Print and direct print send the one
// page of the view's person straight to that printer, without a dialog; the
// preview shows the same page until the user closes it. The page is drawn by
// the core (PersonPage::PrintPage) in tenths of a millimetre; the view's screen
// page, links, history and scroll position are left as they were.
//
// A machine without a printer is common here, so a job that has nowhere to go
// and a printer that fails are told to the user, never dropped in silence.

#include <QString>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace stirpex {

class CStirpexDoc;
class CStirpexView;
class MessageSink;
class PersonPage;

inline constexpr const char* kNoPrinterText =
    "No printer is set up. Choose one with Print Setup, or print to a PDF file there.";

class PagePrinting {
public:
    explicit PagePrinting(MessageSink& messages);
    PagePrinting(const PagePrinting&) = delete;
    PagePrinting& operator=(const PagePrinting&) = delete;
    ~PagePrinting();

    // The page's print hook: ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW.
    void RunCommand(CStirpexView& view, int command);
    // Print and direct print alike: no dialog, the current printer. True when the page was printed.
    bool Print(CStirpexView& view);
    // The preview window, modal, showing the page until the user closes it.
    void Preview(CStirpexView& view);
    // Chooses the current printer, a PDF file among the choices.
    void PrintSetup(QWidget* parent);

    // The shell's print verbs: the document's start page on the current
    // printer, or on the printer of that name. True when it was printed.
    bool PrintFile(const CStirpexDoc& doc, const std::optional<QString>& printerName = std::nullopt);

    // Makes the current printer a PDF file at `path` (Print Setup's "print to file").
    void SetPrintToFile(const QString& path);
    QPrinter& Printer() noexcept { return *m_printer; }

private:
    bool printOn(PersonPage& page, const CStirpexDoc& doc, QPrinter& printer);

    MessageSink& m_messages;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace stirpex
