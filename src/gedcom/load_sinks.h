#pragma once

// What the reader asks of the outside world while it loads: a progress
// window, a message box, and the name index it fills at the end. The desktop
// app implements these over its windows; tests and the command line have
// their own.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string_view>

namespace stirpex {

class CStirpexDoc;

// A window with a text line and a bar from 0 to 100, gone when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void SetPos(int percent) = 0;
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // May return null when no window can be shown; the work goes on without it.
    virtual std::unique_ptr<ProgressWindow> Create(std::string_view text) = 0;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(std::string_view text) = 0;
};

// The document's name index as the load sees it: room reserved up front from
// the file size, and built once reading has finished.
class NameIndexBuilder {
public:
    virtual ~NameIndexBuilder() = default;
    // False when the room cannot be had; loading goes on.
    virtual bool Reserve(std::size_t entries) = 0;
    virtual void Build(const CStirpexDoc& doc, ProgressSink* progress) = 0;
};

// Thrown out of a load whose stop token was set; the half-read document is
// of no use and goes.
struct LoadStopped {};

// Sends whole percentages to a progress window, each only once and only
// upwards; and carries the token that asks the load to stop, which the
// reading loops look at between lines, where stopping costs nothing.
class ProgressTracker {
public:
    ProgressTracker() = default;
    explicit ProgressTracker(std::unique_ptr<ProgressWindow> window) : m_window(std::move(window)) {}

    void watch(const std::atomic<bool>* stop) noexcept { m_stop = stop; }
    const std::atomic<bool>* stopToken() const noexcept { return m_stop; }
    void stopIfAsked() const { StopIfAsked(m_stop); }
    static void StopIfAsked(const std::atomic<bool>* stop) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) [[unlikely]] {
            throw LoadStopped{};
        }
    }

    bool shown() const noexcept { return m_window != nullptr; }
    void advance(int percent) {
        if (m_window && percent > m_last) {
            m_last = percent;
            m_window->SetPos(percent);
        }
    }

private:
    std::unique_ptr<ProgressWindow> m_window;
    const std::atomic<bool>* m_stop = nullptr;
    int m_last = 0;
};

// Files longer than this show progress windows while read and indexed.
inline constexpr long long kProgressThreshold = 50000;

} // namespace stirpex
