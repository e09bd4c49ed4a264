#include "model/reading_log.h"

#include <algorithm>

namespace stirpex {

void LineSample::add(std::int64_t line) {
    ++count;
    if (firstLines.size() < kReportFirstLines) {
        firstLines.push_back(line);
    }
}

void ReadingLog::skipped(std::string_view tag, std::int64_t lineNumber) {
    ++m_skippedLines;
    auto found = m_skipped.find(tag);
    if (found == m_skipped.end()) {
        const bool room = m_skipped.size() < kMaxSkippedTags;
        found = m_skipped.try_emplace(std::string(room ? tag : kOtherTags)).first;
    }
    found->second.add(lineNumber);
}

std::vector<SkippedTag> ReadingLog::skippedTags() const {
    std::vector<SkippedTag> tags;
    tags.reserve(m_skipped.size());
    for (const auto& [tag, lines] : m_skipped) {
        tags.push_back({tag, lines});
    }
    std::sort(tags.begin(), tags.end(), [](const SkippedTag& a, const SkippedTag& b) {
        return a.lines.count != b.lines.count ? a.lines.count > b.lines.count : a.tag < b.tag;
    });
    return tags;
}

} // namespace stirpex
