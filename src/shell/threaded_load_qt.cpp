#include "shell/threaded_load_qt.h"

#include "shell/progress_dlg.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <exception>
#include <system_error>
#include <thread>

namespace stirpex {

namespace {

// How often the window's thread takes in the reader's progress, and notices
// the end of the load: well under a frame, so that the first page waits for
// it no longer than it waits for a frame.
constexpr int kLookMs = 5;

} // namespace

void QueuedMessages::Show(std::string_view text) {
    if (m_shown == nullptr || m_context.isNull()) {
        return;
    }
    if (QThread::currentThread() == m_context->thread()) {
        m_shown->Show(text);
        return;
    }
    QMetaObject::invokeMethod(
        m_context.data(), [shown = m_shown, message = std::string(text)] { shown->Show(message); },
        Qt::QueuedConnection);
}

class CrossThreadProgress::Window final : public ProgressWindow {
public:
    explicit Window(CrossThreadProgress& owner) : m_owner(owner) {}
    ~Window() override { m_owner.close(); }
    void SetPos(int percent) override { m_owner.setPos(percent); }

private:
    CrossThreadProgress& m_owner;
};

std::unique_ptr<ProgressWindow> CrossThreadProgress::Create(std::string_view text) {
    const std::lock_guard lock(m_mutex);
    ++m_state.window;
    m_state.open = true;
    m_state.text = text;
    m_state.percent = 0;
    return std::make_unique<Window>(*this);
}

CrossThreadProgress::State CrossThreadProgress::state() const {
    const std::lock_guard lock(m_mutex);
    return m_state;
}

void CrossThreadProgress::setPos(int percent) {
    const std::lock_guard lock(m_mutex);
    m_state.percent = percent;
}

void CrossThreadProgress::close() {
    const std::lock_guard lock(m_mutex);
    m_state.open = false;
}

ThreadedLoad::ThreadedLoad(ProgressSink* progress, MessageSink* messages, QObject& context)
    : m_progress(progress), m_messages(messages, context) {}

ThreadedLoad::~ThreadedLoad() = default;

LoadEnvironment ThreadedLoad::Environment() {
    LoadEnvironment env;
    env.progress = m_progress ? &m_crossing : nullptr;
    env.messages = &m_messages;
    env.stop = &m_stop;
    return env;
}

void ThreadedLoad::mirrorProgress() {
    if (m_progress == nullptr) {
        return;
    }
    const CrossThreadProgress::State state = m_crossing.state();
    if (state.window != m_shownWindow) {
        // Shown even when the reader is done with it already, for a moment,
        // as every file above the threshold shows it.
        m_shownWindow = state.window;
        m_window = m_progress->Create(state.text);
        if (m_window) {
            AllowCancel(*m_window, [this] { Cancel(); });
        }
    }
    if (m_window && !state.open) {
        m_window->SetPos(state.percent);
        m_window.reset();
    }
    if (m_window) {
        m_window->SetPos(state.percent);
    }
}

LoadResult ThreadedLoad::Run(const std::function<LoadResult()>& load) {
    m_stop = false;
    m_done = false;
    m_running = true;
    LoadResult result;
    std::exception_ptr failure;
    const auto work = [&] {
        try {
            result = load();
        } catch (...) {
            failure = std::current_exception();
        }
        m_done = true;
    };
    std::thread worker;
    try {
        worker = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had, as when memory is short: read here, with the
        // windows still until done, rather than not at all.
        work();
    }
    QEventLoop loop;
    QTimer look;
    bool finished = false;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        mirrorProgress();
        if (m_done) {
            finished = true;
            loop.quit();
        }
    });
    look.start(kLookMs);
    loop.exec();
    look.stop();
    if (!finished) {
        // The program is quitting, which ends every event loop: the load is
        // of no use any more, and the request is made again for the loop
        // that is to end the program once this one is gone.
        m_stop = true;
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }
    if (worker.joinable()) {
        worker.join();
    }
    m_window.reset();
    m_shownWindow = m_crossing.state().window;
    m_running = false;
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (!finished && result.outcome == LoadOutcome::Loaded) {
        result.outcome = LoadOutcome::Cancelled;
    }
    return result;
}

} // namespace stirpex
