#pragma once

// What the reader notes about a file while it reads it, for the reading
// report: the lines that took no effect (counted by tag) and the lines with
// bytes it could not decode.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace stirpex {

// How many line numbers an item keeps, and how many items a list names; the
// totals always count everything.
inline constexpr std::size_t kReportFirstLines = 5;
inline constexpr std::size_t kReportListedItems = 500;
inline constexpr std::size_t kMaxSkippedTags = 200;
inline constexpr std::string_view kOtherTags = "(other tags)";

struct LineSample {
    std::int64_t count = 0;
    std::vector<std::int64_t> firstLines; // 1-based, at most kReportFirstLines
    void add(std::int64_t line);
    // The lines of `later`, all after these, shifted by `lineOffset`.
    void append(const LineSample& later, std::int64_t lineOffset);
};

struct SkippedTag {
    std::string tag; // empty for lines without a level
    LineSample lines;
};

class ReadingLog {
public:
    LineSample undecodable; // lines with bytes that could not be decoded

    // A line that took no effect, counted under its tag (empty for a line
    // without a level). Past kMaxSkippedTags different tags, further new ones
    // are counted together under kOtherTags: a file of junk must not grow
    // the log without bound.
    void skipped(std::string_view tag, std::int64_t lineNumber);
    // Tags by falling count, equal counts by tag.
    std::vector<SkippedTag> skippedTags() const;
    std::int64_t skippedLines() const noexcept { return m_skippedLines; }
    // Different tags met, "(other tags)" included.
    std::size_t distinctTags() const noexcept { return m_skipped.size(); }

    // Adds the log of a later part of the same file, read on its own with
    // its lines numbered from 1, whose first line is line `lineOffset` + 1
    // of the file: the result is the log of reading both in turn. The part
    // must have met fewer than kMaxSkippedTags tags, so that it lumped none
    // together.
    void append(const ReadingLog& later, std::int64_t lineOffset);

private:
    // Looked up by view: most skipped lines repeat a tag already met, and
    // should not cost an allocation each.
    struct TagHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view tag) const noexcept { return std::hash<std::string_view>{}(tag); }
    };
    std::unordered_map<std::string, LineSample, TagHash, std::equal_to<>> m_skipped;
    std::int64_t m_skippedLines = 0;
};

} // namespace stirpex
