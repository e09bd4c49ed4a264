#include "shell/document_set_app.h"

#include "gedcom/load_driver.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/file_name_qt.h"
#include "shell/first_paint_clock_qt.h"
#include "shell/open_gedcom_app.h"
#include "shell/threaded_load_qt.h"

#include <QMdiArea>

#include <algorithm>
#include <ios>

namespace stirpex {

namespace {

constexpr int kOutOfMemoryExitCode = 1;

std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

std::filesystem::path DocumentKey(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path key = std::filesystem::canonical(path, error);
    if (error) {
        key = std::filesystem::absolute(path, error).lexically_normal();
    }
    return key;
}

QString DocumentKey(const QString& path) {
    return DisplayPath(DocumentKey(PathFromText(path)));
}

DocumentSet::DocumentSet(QMdiArea& area, LoadServices services, const PageDialogs& dialogs, QObject* parent)
    : QObject(parent), m_area(area), m_services(std::move(services)), m_dialogs(dialogs),
      m_queuedMessages(std::make_unique<QueuedMessages>(m_services.messages, *this)),
      m_load(std::make_unique<ThreadedLoad>(m_services.progress, m_services.messages, *this)) {}

bool DocumentSet::Loading() const noexcept {
    return m_load->Running();
}

void DocumentSet::CancelLoad() noexcept {
    m_load->Cancel();
}

DocumentSet::~DocumentSet() {
    // The windows refer to the documents: they go first.
    for (CChildFrame* frame : m_area.findChildren<CChildFrame*>()) {
        disconnect(frame, nullptr, this, nullptr);
        delete frame;
    }
}

OpenGedcom* DocumentSet::Find(const std::filesystem::path& path) const {
    const std::filesystem::path key = DocumentKey(path);
    for (const auto& document : m_documents) {
        if (document->Key() == key) {
            return document.get();
        }
    }
    return nullptr;
}

bool DocumentSet::OpenDocumentFile(const QString& path) {
    return OpenDocumentFile(PathFromText(path));
}

bool DocumentSet::OpenDocumentFile(const std::filesystem::path& path) {
    if (OpenGedcom* open = Find(path)) {
        const std::vector<CChildFrame*> windows = windowsOf(*open);
        if (!windows.empty()) {
            m_area.setActiveSubWindow(windows.front());
        }
        emit opened(open->Key());
        return true;
    }
    const std::filesystem::path key = DocumentKey(path);
    OpenedFile file = OpenGedcomFile(key);
    if (!file.error.empty()) {
        show("Cannot open " + toUtf8(DisplayPath(path)) + ":\n" + file.error);
        return false;
    }
    if (m_load->Running()) {
        // One file at a time: a second would have to wait behind the first, unseen.
        show("Cannot open " + toUtf8(DisplayPath(path)) + " while another file is being read.");
        return false;
    }
    auto document =
        std::make_unique<OpenGedcom>(key, *m_services.collator, m_queuedMessages.get(), m_services.progress);
    LoadEnvironment env = m_load->Environment();
    DeferredIndex index(document->Index());
    env.nameIndex = &index;
    env.argumentText = m_services.argumentText;
    const std::string title = toUtf8(document->Title());
    LoadResult result;
    try {
        // The reading thread owns the document until Run returns.
        result = m_load->Run([&] { return LoadGedcom(document->Doc(), file, title, env); });
    } catch (const std::ios_base::failure& e) {
        show("Cannot read " + toUtf8(DisplayPath(path)) + ":\n" + e.what());
        return false;
    }
    if (result.outcome == LoadOutcome::Cancelled) {
        return false;
    }
    if (result.outcome == LoadOutcome::OutOfMemory) {
        // The half-read document holds the memory that building the message box needs.
        document.reset();
        file.stream.reset();
        show(result.outOfMemoryText);
        if (m_services.exit) {
            m_services.exit(kOutOfMemoryExitCode);
        }
        return false;
    }
    emit statisticsChanged(QString::fromStdString(result.statsText));
    OpenGedcom& added = *m_documents.emplace_back(std::move(document));
    CChildFrame* frame = addWindow(added, true);
    WatchFirstPaint(*frame);
    if (index.wanted()) {
        // After the window is shown, so that the first page need not wait for it.
        added.BuildIndexInBackground();
    }
    emit opened(added.Key());
    return true;
}

void DocumentSet::show(std::string_view message) const {
    if (m_services.messages) {
        m_services.messages->Show(message);
    }
}

CChildFrame* DocumentSet::addWindow(OpenGedcom& document, bool read) {
    auto* frame = new CChildFrame(document, m_dialogs);
    // The document goes once its last window is gone, never while a view still shows it.
    connect(frame, &QObject::destroyed, this, [this, open = &document] { windowGone(*open); });
    connect(frame, &CChildFrame::closing, this, &DocumentSet::windowClosing);
    m_area.addSubWindow(frame);
    numberWindows(document);
    if (read) {
        emit documentRead(frame);
    }
    frame->show();
    m_area.setActiveSubWindow(frame);
    return frame;
}

CChildFrame* DocumentSet::NewWindow(const CChildFrame& frame) {
    return addWindow(frame.Document());
}

std::vector<CChildFrame*> DocumentSet::windowsOf(const OpenGedcom& document) const {
    std::vector<CChildFrame*> windows;
    for (QMdiSubWindow* window : m_area.subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame && &frame->Document() == &document) {
            windows.push_back(frame);
        }
    }
    return windows;
}

void DocumentSet::numberWindows(const OpenGedcom& document) const {
    const std::vector<CChildFrame*> windows = windowsOf(document);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i]->View()->SetWindowNumber(windows.size() == 1 ? 0 : static_cast<int>(i + 1));
    }
}

void DocumentSet::CloseDocument(const CChildFrame& frame) {
    for (CChildFrame* window : windowsOf(frame.Document())) {
        window->close();
    }
}

void DocumentSet::windowGone(const OpenGedcom& document) {
    numberWindows(document);
    if (windowsOf(document).empty()) {
        std::erase_if(m_documents, [&document](const auto& open) { return open.get() == &document; });
    }
}

} // namespace stirpex
