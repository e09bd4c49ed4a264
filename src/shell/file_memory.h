#pragma once

// What the viewer remembers of a file between runs, so that the file reopens
// where the user left it: its home person, the person last shown and the size
// of its window. Only the most recently used files are kept, newest first, so
// that the settings do not grow with every file ever opened. Persons are kept
// by key; the file may have changed since, so a key is looked up again and one
// that names nobody now is passed over, never trusted.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CPerson;
class CStirpexDoc;

struct FileMemory {
    std::string path;    // the file's absolute path, as the documents know it
    std::string homeKey; // empty: no home person
    std::string lastKey; // the person last shown; empty: none
    int width = 0;       // the document window's size; 0 when not known
    int height = 0;
};

class FileMemories {
public:
    static constexpr std::size_t kMaxFiles = 50;

    FileMemories() = default;
    // As stored, newest first; a path given twice keeps its first entry.
    explicit FileMemories(std::vector<FileMemory> stored);

    // Null for a file not remembered.
    const FileMemory* Find(std::string_view path) const noexcept;
    // Puts the file at the top, in place of what was remembered of it before,
    // and forgets the oldest files beyond kMaxFiles.
    void Remember(FileMemory memory);
    const std::vector<FileMemory>& Entries() const noexcept { return m_entries; }

private:
    std::vector<FileMemory> m_entries;
};

struct WindowSize {
    int width = 0;
    int height = 0;
};

// The person the first window on the file opens on instead of the document's
// start person: the one last shown, unless the start option names a person of
// the file (the user asked for that one), or the key names nobody now.
const CPerson* RememberedPerson(const CStirpexDoc& doc, const FileMemory& memory);
// The home person, or null when none is remembered or the key names nobody now.
const CPerson* RememberedHome(const CStirpexDoc& doc, const FileMemory& memory);
// The window size, when one is remembered and a window could have it; a
// settings file edited by hand must not make a window vanish or fill a wall.
std::optional<WindowSize> RememberedSize(const FileMemory& memory);

} // namespace stirpex
