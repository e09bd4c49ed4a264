#pragma once

// What the app remembers of each file between runs (shell/file_memory.h),
// kept in its settings store: read at start, put back on a file's first
// window when the file is read again, and taken from a window when it closes,
// when the home person is set and when the app ends.

#include "shell/file_memory.h"

class QSettings;

namespace stirpex {

class CChildFrame;

class RememberedFiles {
public:
    explicit RememberedFiles(QSettings& settings);

    // The first window on a file just read, before its first paint: the
    // file's home person, the window's size and the person it opens on.
    void Restore(CChildFrame& frame) const;
    // Remembers the state of the window's file as the window shows it now,
    // and writes it to the settings store.
    void Keep(const CChildFrame& frame);

    const FileMemories& Memories() const noexcept { return m_memories; }

private:
    void write();

    QSettings& m_settings;
    FileMemories m_memories;
};

} // namespace stirpex
