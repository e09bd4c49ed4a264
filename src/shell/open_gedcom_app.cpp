#include "shell/open_gedcom_app.h"

#include "find/name_list_dlg.h"
#include "shell/file_name_qt.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <system_error>

namespace stirpex {

OpenGedcom::OpenGedcom(std::filesystem::path key, const Collator& collator, MessageSink* messages,
                       ProgressSink* waitProgress)
    : m_index(collator, messages), m_key(std::move(key)), m_path(DisplayPath(m_key)), m_title(DisplayName(m_key)),
      m_waitProgress(waitProgress) {}

namespace {

// How often a wait for the index lets the windows repaint and moves the bar.
constexpr auto kIndexLook = std::chrono::milliseconds(10);
constexpr QEventLoop::ProcessEventsFlags kRepaintOnly =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;

// The index's progress as a number the window's thread reads.
class PercentSink final : public ProgressSink {
public:
    explicit PercentSink(std::atomic<int>& percent) noexcept : m_percent(percent) {}
    std::unique_ptr<ProgressWindow> Create(std::string_view) override { return std::make_unique<Window>(m_percent); }

private:
    struct Window final : ProgressWindow {
        explicit Window(std::atomic<int>& percent) noexcept : m_percent(percent) {}
        void SetPos(int percent) override { m_percent = percent; }
        std::atomic<int>& m_percent;
    };
    std::atomic<int>& m_percent;
};

} // namespace

OpenGedcom::~OpenGedcom() {
    if (m_indexThread.joinable()) {
        m_stopIndex = true; // a file closed soon after it opened need not wait for its index
        m_indexThread.join();
    }
}

void OpenGedcom::BuildIndexInBackground() {
    AwaitIndex();
    m_indexDone = false;
    m_indexPercent = 0;
    const auto build = [this] {
        PercentSink percent(m_indexPercent);
        m_index.BuildIndex(m_doc, &percent, &m_stopIndex);
        m_indexDone = true;
        // The relationship search's table too, which a page with a home line
        // would otherwise make on its first paint; made once whoever asks first.
        if (!m_stopIndex) {
            m_doc.GetParentTable();
        }
    };
    try {
        m_indexThread = std::thread(build);
    } catch (const std::system_error&) {
        build(); // no thread to be had: the index at once, as Find would make it
    }
}

void OpenGedcom::AwaitIndex() {
    if (!m_indexThread.joinable()) {
        return;
    }
    if (!m_indexDone) {
        std::unique_ptr<ProgressWindow> window;
        if (m_waitProgress != nullptr) {
            window = m_waitProgress->Create("Indexing GEDCOM file " + m_doc.m_strFileName);
        }
        while (!m_indexDone) {
            QCoreApplication::processEvents(kRepaintOnly);
            if (window) {
                window->SetPos(m_indexPercent);
            }
            QThread::msleep(static_cast<unsigned long>(kIndexLook.count()));
        }
    }
    m_indexThread.join();
}

CNameListDlg& OpenGedcom::NameList() {
    if (!m_pNameListDlg) {
        m_pNameListDlg = std::make_unique<CNameListDlg>(Index());
    }
    return *m_pNameListDlg;
}

} // namespace stirpex
