#pragma once

// The open documents of the app and their windows, in the role of the
// document template: one document per file (opening it again brings its
// window to the front), read with its progress window and its statistics
// line, shown in a new child window; further windows on the same document;
// the document goes when its last window closes.

#include "gedcom/load_sinks.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMdiArea;

namespace stirpex {

class CChildFrame;
class Collator;
class OpenGedcom;
struct PageDialogs;
class QueuedMessages;
class ThreadedLoad;

struct LoadServices {
    ProgressSink* progress = nullptr;
    MessageSink* messages = nullptr;
    const Collator* collator = nullptr;
    std::string argumentText; // the program's arguments joined by blanks, for "-i"
    // Ends the program after a failure that leaves it nothing to do (memory ran out while reading).
    std::function<void(int)> exit;
};

class DocumentSet : public QObject {
    Q_OBJECT

public:
    DocumentSet(QMdiArea& area, LoadServices services, const PageDialogs& dialogs, QObject* parent = nullptr);
    ~DocumentSet() override;

    // Opens the file, or activates the window already showing it; false after a message when it cannot be read.
    bool OpenDocumentFile(const std::filesystem::path& path);
    bool OpenDocumentFile(const QString& path); // a name given as text, as any UTF-8 name can be
    // Another window on the document of `frame`.
    CChildFrame* NewWindow(const CChildFrame& frame);
    // Closes every window of the document shown in `frame`, and with the last one the document.
    void CloseDocument(const CChildFrame& frame);

    int Count() const noexcept { return static_cast<int>(m_documents.size()); }
    // A file is being read; it ends Cancelled after CancelLoad().
    bool Loading() const noexcept;
    void CancelLoad() noexcept;
    OpenGedcom* Find(const std::filesystem::path& path) const;

signals:
    // The file, by its key, has been opened or its window activated.
    void opened(const std::filesystem::path& key);
    void statisticsChanged(const QString& text);
    // The first window on a file just read, before it is shown and first painted.
    void documentRead(CChildFrame* frame);
    // A window on a document is closing.
    void windowClosing(CChildFrame* frame);

private:
    CChildFrame* addWindow(OpenGedcom& document, bool read = false);
    void windowGone(const OpenGedcom& document);
    std::vector<CChildFrame*> windowsOf(const OpenGedcom& document) const;
    // Numbers the windows on `document` in the order they were opened, none while it has one.
    void numberWindows(const OpenGedcom& document) const;
    void show(std::string_view message) const;

    QMdiArea& m_area;
    LoadServices m_services;
    const PageDialogs& m_dialogs;
    std::vector<std::unique_ptr<OpenGedcom>> m_documents;
    std::unique_ptr<QueuedMessages> m_queuedMessages; // for the name indexes built off this thread
    std::unique_ptr<ThreadedLoad> m_load;
};

// The path a file is known by once open: absolute, with links resolved when the file exists.
std::filesystem::path DocumentKey(const std::filesystem::path& path);
QString DocumentKey(const QString& path); // as text to show

} // namespace stirpex
