#include "gedcom/gedcom_line.h"

#include "model/utf8.h"

#include <atomic>
#include <charconv>

namespace stirpex {

namespace {

std::atomic<std::int64_t> g_nextGeneratedKey{0};

bool endsWith(std::string_view text, std::string_view suffix) noexcept {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::size_t skipCharacters(std::string_view line, std::size_t pos, std::size_t count) noexcept {
    for (; count > 0 && pos < line.size(); --count) {
        pos += CodePointLength(static_cast<unsigned char>(line[pos]));
    }
    return pos < line.size() ? pos : line.size();
}

} // namespace

std::size_t SkipBlanks(std::string_view line, std::size_t pos) noexcept {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

std::string_view ValueFixed(std::string_view line, std::size_t tagPos, std::size_t length) noexcept {
    return line.substr(SkipBlanks(line, skipCharacters(line, tagPos, length)));
}

std::string_view ValueWord(std::string_view line, std::size_t tagPos) noexcept {
    std::size_t pos = skipCharacters(line, tagPos, 1);
    while (pos < line.size() && static_cast<unsigned char>(line[pos]) > 0x20 &&
           static_cast<unsigned char>(line[pos]) < 0x80) {
        ++pos;
    }
    return line.substr(SkipBlanks(line, pos));
}

std::string_view ValuePlace(std::string_view line, std::size_t tagPos) noexcept {
    std::size_t pos = skipCharacters(line, tagPos, 4);
    if (pos < line.size() && line[pos] == 'E') {
        ++pos;
    }
    return line.substr(SkipBlanks(line, pos));
}

std::string_view PointerKey(std::string_view line, std::size_t tagPos) noexcept {
    const std::string_view value = ValueFixed(line, tagPos, 4);
    return ExtractXrefKey(value.substr(skipCharacters(value, 0, 1)));
}

PointerOrText ValuePointerOrText(std::string_view line, std::size_t tagPos) noexcept {
    const std::string_view value = ValueFixed(line, tagPos, 4);
    PointerOrText result;
    if (!value.empty() && value[0] == '@') {
        result.isPointer = true;
        result.text = value.substr(1);
        result.key = ExtractXrefKey(result.text);
    } else {
        result.text = value;
    }
    return result;
}

std::string_view ExtractXrefKey(std::string_view text) noexcept {
    // Model text is well-formed UTF-8, where no byte of a longer character is '@'.
    const std::size_t at = text.find('@');
    return at == std::string_view::npos ? std::string_view() : text.substr(0, at);
}

std::string MakeGeneratedKey() {
    return GeneratedKeyOf(ReserveGeneratedKeys(1));
}

std::int64_t ReserveGeneratedKeys(std::int64_t count) noexcept {
    return g_nextGeneratedKey.fetch_add(count, std::memory_order_relaxed);
}

std::string GeneratedKeyOf(std::int64_t number) {
    char key[kGeneratedKeyBytes + 1] = {' '};
    const auto end = std::to_chars(key + 1, key + sizeof key, number).ptr;
    return std::string(key, end);
}

RecordLine RecognizeRecordLine(std::string_view line) noexcept {
    const std::size_t at = line.size() > 1 ? line.find('@', 1) : std::string_view::npos;
    RecordLine record;
    if (at == std::string_view::npos) {
        if (endsWith(line, "HEAD")) {
            record.kind = RecordKind::Header;
        } else if (endsWith(line, "SUBM")) {
            record.kind = RecordKind::Submitter;
        }
        return record;
    }
    record.key = ExtractXrefKey(line.substr(at + 1));
    if (endsWith(line, "INDI")) {
        record.kind = RecordKind::Individual;
    } else if (endsWith(line, "FAM")) {
        record.kind = RecordKind::Family;
    } else if (line.find("NOTE") != std::string_view::npos) {
        record.kind = RecordKind::Note;
    } else if (endsWith(line, "SOUR")) {
        record.kind = RecordKind::Source;
    } else if (endsWith(line, "OBJE")) {
        record.kind = RecordKind::ExtObj;
    } else if (endsWith(line, "SUBM")) {
        record.kind = RecordKind::Submitter;
    }
    return record;
}

std::optional<std::string_view> FirstNoteLine(std::string_view line) noexcept {
    const std::size_t open = line.size() > 1 ? line.find('@', 1) : std::string_view::npos;
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = line.find('@', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t pos = SkipBlanks(line, close + 1);
    if (TagIs(line, pos, "NOTE")) {
        pos += 4;
    } else if (TagIs(line, pos, "SNOTE")) { // a shared note of GEDCOM 7
        pos += 5;
    } else {
        return std::nullopt;
    }
    pos = SkipBlanks(line, pos);
    if (pos >= line.size()) {
        return std::nullopt;
    }
    return line.substr(pos);
}

std::string_view ReportTag(std::string_view line) noexcept {
    constexpr std::size_t kReportTagBytes = 31;
    // Levels past 4 are read as no level, but the report names their tags.
    if (line.empty() || line[0] < '0' || line[0] > '9') {
        return {};
    }
    std::size_t pos = TagPosition(line);
    if (LineLevel(line) == 0 && pos < line.size() && line[pos] == '@') {
        const std::size_t close = line.find('@', pos + 1);
        pos = close == std::string_view::npos ? line.size() : SkipBlanks(line, close + 1);
    }
    std::size_t end = pos;
    while (end < line.size() && !IsBlank(line[end]) && end - pos < kReportTagBytes) {
        ++end;
    }
    // A word cut short is not cut inside a character: back to where the last one starts.
    if (end < line.size() && !IsBlank(line[end])) {
        while (end > pos && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) {
            --end;
        }
    }
    return line.substr(pos, end - pos);
}

} // namespace stirpex
