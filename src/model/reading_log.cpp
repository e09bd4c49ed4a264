#include "model/reading_log.h"

#include <algorithm>

namespace stirpex {

void LineSample::add(std::int64_t line) {
    ++count;
    if (firstLines.size() < kReportFirstLines) {
        firstLines.push_back(line);
    }
}

void LineSample::append(const LineSample& later, std::int64_t lineOffset) {
    count += later.count;
    for (const std::int64_t line : later.firstLines) {
        if (firstLines.size() == kReportFirstLines) {
            break;
        }
        firstLines.push_back(line + lineOffset);
    }
}

void ReadingLog::append(const ReadingLog& later, std::int64_t lineOffset) {
    m_skippedLines += later.m_skippedLines;
    // Whether a tag is counted on its own was decided where it was first met:
    // the later part's tags are taken in that order.
    std::vector<const std::pair<const std::string, LineSample>*> tags;
    tags.reserve(later.m_skipped.size());
    for (const auto& entry : later.m_skipped) {
        tags.push_back(&entry);
    }
    std::sort(tags.begin(), tags.end(),
              [](const auto* a, const auto* b) { return a->second.firstLines.front() < b->second.firstLines.front(); });
    // Tags lumped together gather their first lines from several samples: in line order.
    std::vector<std::int64_t> otherLines;
    for (const auto* entry : tags) {
        auto found = m_skipped.find(entry->first);
        if (found == m_skipped.end()) {
            const bool room = m_skipped.size() < kMaxSkippedTags;
            found = m_skipped.try_emplace(std::string(room ? std::string_view(entry->first) : kOtherTags)).first;
        }
        if (found->first != kOtherTags) {
            found->second.append(entry->second, lineOffset);
            continue;
        }
        found->second.count += entry->second.count;
        for (const std::int64_t line : entry->second.firstLines) {
            otherLines.push_back(line + lineOffset);
        }
    }
    if (!otherLines.empty()) {
        std::sort(otherLines.begin(), otherLines.end());
        LineSample& other = m_skipped.find(kOtherTags)->second;
        for (std::size_t i = 0; i < otherLines.size() && other.firstLines.size() < kReportFirstLines; ++i) {
            other.firstLines.push_back(otherLines[i]);
        }
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
