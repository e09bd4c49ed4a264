#include "shell/file_memory.h"

#include "model/stirpex_doc.h"

#include <algorithm>

namespace stirpex {

namespace {

constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 16384;

const CPerson* personOf(const CStirpexDoc& doc, std::string_view key) {
    return key.empty() ? nullptr : doc.FindPerson(key);
}

} // namespace

FileMemories::FileMemories(std::vector<FileMemory> stored) {
    for (FileMemory& memory : stored) {
        if (m_entries.size() == kMaxFiles) {
            break;
        }
        if (!memory.path.empty() && Find(memory.path) == nullptr) {
            m_entries.push_back(std::move(memory));
        }
    }
}

const FileMemory* FileMemories::Find(std::string_view path) const noexcept {
    const auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [path](const FileMemory& m) { return m.path == path; });
    return it == m_entries.end() ? nullptr : &*it;
}

void FileMemories::Remember(FileMemory memory) {
    std::erase_if(m_entries, [&memory](const FileMemory& m) { return m.path == memory.path; });
    m_entries.insert(m_entries.begin(), std::move(memory));
    if (m_entries.size() > kMaxFiles) {
        m_entries.resize(kMaxFiles);
    }
}

const CPerson* RememberedPerson(const CStirpexDoc& doc, const FileMemory& memory) {
    if (personOf(doc, doc.m_strStartID) != nullptr) {
        return nullptr;
    }
    return personOf(doc, memory.lastKey);
}

const CPerson* RememberedHome(const CStirpexDoc& doc, const FileMemory& memory) {
    return personOf(doc, memory.homeKey);
}

std::optional<WindowSize> RememberedSize(const FileMemory& memory) {
    const auto fits = [](int side) { return side >= kSmallestSide && side <= kLargestSide; };
    if (!fits(memory.width) || !fits(memory.height)) {
        return std::nullopt;
    }
    return WindowSize{memory.width, memory.height};
}

} // namespace stirpex
