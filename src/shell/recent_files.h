#pragma once

// The list of recently opened files: newest first, no file twice, at most
// four. The app keeps it in its settings store between runs.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class RecentFileList {
public:
    static constexpr std::size_t kMaxEntries = 4;

    RecentFileList() = default;
    explicit RecentFileList(std::vector<std::string> entries);

    // Puts `path` at the top, removing an older entry of the same path.
    void Add(std::string_view path);
    void Remove(std::string_view path);
    const std::vector<std::string>& Entries() const noexcept { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

} // namespace stirpex
