#include "gedcom/load_driver.h"

#include "gedcom/char_set.h"
#include "gedcom/decoded_input.h"
#include "gedcom/gedcom_line.h"
#include "gedcom/line_source.h"
#include "gedcom/logical_lines.h"
#include "gedcom/record_parser.h"
#include "gedcom/start_option.h"
#include "gedcom/utf16_decoder.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

namespace stirpex {

namespace {

constexpr std::size_t kBytesPerName = 250;
constexpr std::int64_t kMaxBlockSize = std::int64_t{1} << 20;
// Whole GEDCOM lines are at most 255 characters long.
constexpr std::size_t kQuotedLineBytes = 255;

int percentOf(std::int64_t bytesRead, std::int64_t fileLength) {
    if (fileLength <= 0) {
        return 0;
    }
    // Exact for any file length: 128-bit product, so bytesRead * 100 cannot overflow.
    const auto percent = static_cast<__int128>(bytesRead) * 100 / fileLength;
    return percent > 1000000 ? 1000000 : static_cast<int>(percent);
}

std::string outOfMemoryText(int percent, std::string_view line) {
    std::string text = "Out of memory after reading ";
    text += std::to_string(percent);
    text += "% of file.\n";
    text += line;
    text += "\nPlease close some applications and try again.";
    return text;
}

void showMessage(const LoadEnvironment& env, std::string_view text) {
    if (env.messages) {
        env.messages->Show(text);
    }
}

// The line as the message quotes it: well-formed, and cut short when long, so
// that quoting a line of any length needs little memory and fits on a screen.
std::string quotedLine(std::string_view raw) {
    std::string quoted;
    if (raw.size() <= kQuotedLineBytes) {
        AppendSanitizedUtf8(quoted, raw);
        return quoted;
    }
    std::size_t cut = kQuotedLineBytes;
    // Not inside a UTF-8 sequence, which is at most four bytes long.
    for (int back = 0; back < 3 && (static_cast<unsigned char>(raw[cut]) & 0xC0) == 0x80; ++back) {
        --cut;
    }
    AppendSanitizedUtf8(quoted, raw.substr(0, cut));
    quoted += "\u2026";
    return quoted;
}

// The file's bytes that a line stands for: `counted`, each trimmed line of the
// file it was joined from and a line end of two. UTF-16 takes two bytes a code
// unit, and its count never runs ahead of what has been read, so that the last
// line of a file comes to its length.
std::int64_t fileBytesOf(std::string_view line, std::size_t counted, const DecodedInput& input, std::int64_t before) {
    if (!input.decodes()) {
        return before + static_cast<std::int64_t>(counted);
    }
    const auto units = static_cast<std::int64_t>(Utf16Length(line)) + 2;
    return std::min(before + 2 * units, input.bytesTaken());
}

// U+FFFD in model text: a character a conversion could not decode. The byte
// search first, since almost every line has no 0xEF at all.
bool hasReplacementCharacter(std::string_view text) noexcept {
    return std::memchr(text.data(), 0xEF, text.size()) != nullptr &&
           text.find("\xEF\xBF\xBD") != std::string_view::npos;
}

// Where memory ran out while reading.
struct Exhausted {
    int percent = 0;  // of the file's bytes in the lines handled whole
    std::string line; // quoted; empty when no line was in hand
};

// Every line through the parser into `doc`, then the key maps. Running out of
// memory is reported, not thrown, and by then the loop's own memory (the block
// of lines, the parser's state) is gone.
std::optional<Exhausted> readLines(CStirpexDoc& doc, std::istream& in, std::int64_t fileLength,
                                   ProgressTracker& progress) {
    RecordParser parser(doc);
    // Small files need no megabyte buffer; large ones are read a megabyte at a time.
    const auto blockSize = static_cast<std::size_t>(std::clamp<std::int64_t>(fileLength + 1, 4096, kMaxBlockSize));
    DecodedInput input(in, blockSize);
    if (input.detection().form != ByteForm::Bytes) {
        parser.LockCharSet(CharSet::Utf8); // the bytes have spoken: a CHAR line can no longer switch sets
    }
    LineSource source(input.stream(), blockSize);
    LogicalLines lines(source);
    std::string scratch;
    std::string_view raw;
    std::int64_t bytesRead = 0;
    try {
        doc.BeginBulkLoad();
        for (;;) {
            raw = {}; // while the next line is read none is in hand, and the last may be overwritten
            if (!lines.next(raw)) {
                break;
            }
            const std::string_view text = ConvertLine(parser.charSet(), raw, scratch);
            if (!parser.HandleLine(text) && !text.empty()) [[unlikely]] {
                doc.m_readingLog.skipped(ReportTag(text), lines.lineNumber());
            }
            if (hasReplacementCharacter(text)) [[unlikely]] {
                doc.m_readingLog.undecodable.add(lines.lineNumber());
            }
            bytesRead = fileBytesOf(raw, lines.countedBytes(), input, bytesRead);
            if (progress.shown()) {
                progress.advance(percentOf(bytesRead, fileLength));
            }
        }
        raw = {};
        if (input.decodes()) {
            bytesRead = input.bytesTaken();
            progress.advance(percentOf(bytesRead, fileLength));
        }
        parser.Finish();
        doc.EndBulkLoad();
        doc.m_encoding = DecideEncoding(input.detection(), parser.charSet(), doc.m_strCharSet, parser.isGedcom7());
    } catch (const std::bad_alloc&) {
        // Counted from the bytes read, not from the bar, so that it is right also without one.
        return Exhausted{percentOf(bytesRead, fileLength), quotedLine(raw)};
    }
    return std::nullopt;
}

} // namespace

std::string StatisticsText(const CStirpexDoc& doc) {
    char text[128];
    std::snprintf(text, sizeof text, "%d people, %d families, %d notes, %d sources.", doc.m_nPersons, doc.m_nFamilies,
                  doc.m_nNotes, doc.m_nSources);
    return text;
}

LoadResult LoadGedcom(CStirpexDoc& doc, std::istream& in, std::int64_t fileLength, std::string_view fileName,
                      const LoadEnvironment& env) {
    LoadResult result;
    doc.m_nFileLength = fileLength;
    doc.m_strFileName = fileName;

    ProgressTracker progress;
    if (fileLength > kProgressThreshold && env.progress) {
        progress = ProgressTracker(env.progress->Create("Reading GEDCOM file " + doc.m_strFileName));
    }

    const auto startOption = ParseStartOption(env.argumentText);
    const bool buildIndexAtEnd = !startOption.has_value();
    if (startOption) {
        doc.m_strStartID = *startOption;
    }

    if (env.nameIndex && !env.nameIndex->Reserve(static_cast<std::size_t>(fileLength) / kBytesPerName)) {
        showMessage(env, "Not enough memory for name index");
    }

    if (const auto exhausted = readLines(doc, in, fileLength, progress)) {
        result.outcome = LoadOutcome::OutOfMemory;
        result.outOfMemoryText = outOfMemoryText(exhausted->percent, exhausted->line);
        return result;
    }

    if (buildIndexAtEnd && env.nameIndex) {
        env.nameIndex->Build(doc, env.progress);
        result.indexBuilt = true;
    }
    result.statsText = StatisticsText(doc);
    return result;
}

LoadResult LoadGedcom(CStirpexDoc& doc, OpenedFile& file, std::string_view fileName, const LoadEnvironment& env) {
    doc.m_media = std::move(file.media);
    return LoadGedcom(doc, *file.stream, file.length, fileName, env);
}

LoadResult LoadGedcomFile(CStirpexDoc& doc, const std::filesystem::path& path, const LoadEnvironment& env,
                          std::string& error) {
    OpenedFile opened = OpenGedcomFile(path);
    if (!opened.stream) {
        error = opened.error;
        return {};
    }
    error.clear();
    return LoadGedcom(doc, opened, path.filename().string(), env);
}

} // namespace stirpex
