#include "gedcom/logical_lines.h"

#include "gedcom/gedcom_line.h"

namespace stirpex {

namespace {

std::string_view trimStart(std::string_view line) noexcept {
    std::size_t begin = 0;
    while (begin < line.size() && IsTrimSpace(line[begin])) {
        ++begin;
    }
    return line.substr(begin);
}

std::string_view trimEnd(std::string_view line) noexcept {
    std::size_t end = line.size();
    while (end > 0 && IsTrimSpace(line[end - 1])) {
        --end;
    }
    return line.substr(0, end);
}

std::size_t wordEnd(std::string_view line, std::size_t pos) noexcept {
    while (pos < line.size() && !IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// A line whose start is trimmed, as far as joining needs to know it.
struct Shape {
    int level = -1;
    std::size_t tag = 0;
};

Shape shapeOf(std::string_view line) noexcept {
    return Shape{LineLevel(line), TagPosition(line)};
}

bool tagIsWord(std::string_view line, std::size_t tag, const char (&word)[5]) noexcept {
    return TagIs(line, tag, word) && wordEnd(line, tag) == tag + 4;
}

// The level of a CONC line, or -1 for any other line.
int concLevel(std::string_view line) noexcept {
    line = trimStart(line);
    const Shape shape = shapeOf(line);
    return shape.level > 0 && tagIsWord(line, shape.tag, "CONC") ? shape.level : -1;
}

// Everything after "CONC" and its one delimiter, white space included.
std::string_view concValue(std::string_view line) noexcept {
    std::size_t pos = TagPosition(line) + 4;
    if (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return line.substr(pos);
}

bool isContinuedBy(std::string_view head, int level) noexcept {
    const Shape shape = shapeOf(head);
    if (shape.level == level) {
        return tagIsWord(head, shape.tag, "CONT") || tagIsWord(head, shape.tag, "CONC");
    }
    if (shape.level != level - 1) {
        return false;
    }
    // Only a note record's line carries text at level 0; joining to any other
    // would change how its end is recognised.
    return level > 1 || RecognizeRecordLine(head).kind == RecordKind::Note;
}

// True when the line ends right after its tag: joined text then needs a
// delimiter, or it would read as part of the tag.
bool endsAtTag(std::string_view head) noexcept {
    std::size_t pos = TagPosition(head);
    if (LineLevel(head) == 0 && pos < head.size() && head[pos] == '@') {
        const std::size_t close = head.find('@', pos + 1);
        pos = close == std::string_view::npos ? head.size() : SkipBlanks(head, close + 1);
    }
    return pos < head.size() && wordEnd(head, pos) == head.size();
}

} // namespace

// The line in hand when the one after it may be a CONC.
std::string_view LogicalLines::continued(std::string_view current) {
    const int level = concLevel(m_ahead);
    if (level > 0 && isContinuedBy(trimStart(current), level)) {
        return join(trimStart(current), level);
    }
    const std::string_view line = TrimLine(current);
    m_counted = line.size() + 2;
    return line;
}

std::string_view LogicalLines::join(std::string_view head, int level) {
    m_joined.assign(head);
    m_counted = trimEnd(head).size() + 2;
    bool needsDelimiter = endsAtTag(head);
    do {
        const std::string_view trimmed = trimStart(m_ahead);
        const std::string_view value = concValue(trimmed);
        if (needsDelimiter && !value.empty()) {
            m_joined += ' ';
            needsDelimiter = false;
        }
        m_joined.append(value);
        m_counted += trimEnd(trimmed).size() + 2;
        m_hasAhead = m_source.next(m_ahead);
        m_read += m_hasAhead ? 1 : 0;
        // CONC has no lines under it: only another CONC at its level goes on.
    } while (m_hasAhead && concLevel(m_ahead) == level);
    return trimEnd(m_joined);
}

} // namespace stirpex
