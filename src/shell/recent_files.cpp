#include "shell/recent_files.h"

#include <algorithm>

namespace stirpex {

RecentFileList::RecentFileList(std::vector<std::string> entries) {
    // Stored lists may have been edited by hand: keep the first of each path and at most four.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->empty()) {
            Add(*it);
        }
    }
}

void RecentFileList::Add(std::string_view path) {
    Remove(path);
    m_entries.insert(m_entries.begin(), std::string(path));
    if (m_entries.size() > kMaxEntries) {
        m_entries.resize(kMaxEntries);
    }
}

void RecentFileList::Remove(std::string_view path) {
    std::erase(m_entries, path);
}

} // namespace stirpex
