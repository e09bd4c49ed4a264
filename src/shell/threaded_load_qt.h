#pragma once

// A load run on a thread of its own while the window's thread goes on
// dispatching events, so that every window repaints and stays usable. The
// reader's progress and messages cross to the window's thread: progress as a
// text and a percentage the window's thread looks at a few times a frame,
// messages as queued calls. The progress window gains a Cancel button that
// sets the load's stop token.

#include "gedcom/load_driver.h"

#include <QPointer>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace stirpex {

// Shows messages given on any thread on the thread of `context`, the
// window's, in the order given.
class QueuedMessages final : public MessageSink {
public:
    QueuedMessages(MessageSink* shown, QObject& context) : m_shown(shown), m_context(&context) {}
    void Show(std::string_view text) override;

private:
    MessageSink* m_shown;
    QPointer<QObject> m_context;
};

// What the reader's progress windows last asked for, written by the reading
// thread and read by the window's.
class CrossThreadProgress final : public ProgressSink {
public:
    struct State {
        int window = 0; // counts the windows asked for; 0 for none yet
        bool open = false;
        std::string text;
        int percent = 0;
    };
    std::unique_ptr<ProgressWindow> Create(std::string_view text) override;
    State state() const;

private:
    class Window;
    void setPos(int percent);
    void close();

    mutable std::mutex m_mutex;
    State m_state;
};

class ThreadedLoad {
public:
    // `progress` and `messages` are the window thread's own; either may be null.
    ThreadedLoad(ProgressSink* progress, MessageSink* messages, QObject& context);
    ThreadedLoad(const ThreadedLoad&) = delete;
    ThreadedLoad& operator=(const ThreadedLoad&) = delete;
    ~ThreadedLoad();

    // The environment the load is to be run with: the sinks that cross
    // threads and the stop token.
    LoadEnvironment Environment();
    // Runs `load` on a thread of its own and returns its result once it is
    // done, dispatching events meanwhile. When the program is asked to quit
    // meanwhile, the load is stopped and the request made again once it has.
    // What `load` throws is thrown here.
    LoadResult Run(const std::function<LoadResult()>& load);
    bool Running() const noexcept { return m_running; }
    // Asks the running load to stop; it ends Cancelled.
    void Cancel() noexcept { m_stop = true; }

private:
    void mirrorProgress();

    ProgressSink* m_progress;
    QueuedMessages m_messages;
    CrossThreadProgress m_crossing;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    bool m_running = false;
    int m_shownWindow = 0;
    std::unique_ptr<ProgressWindow> m_window;
};

} // namespace stirpex
