#include "gedcom/load_driver.h"

#include "gedcom/char_set.h"
#include "gedcom/line_loop.h"
#include "gedcom/part_reader.h"
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

// Every line through one parser into `doc`. Running out of memory is
// reported, not thrown, and by then the loop's own memory (the block of
// lines, the parser's state) is gone.
std::optional<Exhausted> readWhole(CStirpexDoc& doc, RecordParser& parser, DecodedInput& input, std::int64_t fileLength,
                                   std::size_t blockSize, ProgressTracker& progress, std::int64_t& bytesRead) {
    LineSource source(input.stream(), blockSize);
    LogicalLines lines(source);
    std::string_view raw;
    try {
        ParseLines(lines, parser, doc.m_readingLog, 0, raw, [&](std::string_view line) {
            bytesRead = fileBytesOf(line, lines.countedBytes(), input, bytesRead);
            progress.stopIfAsked();
            if (progress.shown()) {
                progress.advance(PercentOf(bytesRead, fileLength));
            }
        });
        if (input.decodes()) {
            bytesRead = input.bytesTaken();
            progress.advance(PercentOf(bytesRead, fileLength));
        }
        parser.Finish();
    } catch (const std::bad_alloc&) {
        // Counted from the bytes read, not from the bar, so that it is right also without one.
        return Exhausted{PercentOf(bytesRead, fileLength), QuotedLine(raw)};
    }
    return std::nullopt;
}

// The file into `doc`, then the key maps: in parts on several threads when
// the file is large enough to gain by it, else in one pass.
std::optional<Exhausted> readLines(CStirpexDoc& doc, std::istream& in, std::int64_t fileLength,
                                   ProgressTracker& progress, const LoadEnvironment& env) {
    RecordParser parser(doc);
    // Small files need no megabyte buffer; large ones are read a megabyte at a time.
    const auto blockSize = static_cast<std::size_t>(std::clamp<std::int64_t>(fileLength + 1, 4096, kMaxBlockSize));
    DecodedInput input(in, blockSize);
    if (input.detection().form != ByteForm::Bytes) {
        parser.LockCharSet(CharSet::Utf8); // the bytes have spoken: a CHAR line can no longer switch sets
    }
    const PartReading parts = PartReadingFor(env.threads, env.partBytes, fileLength);
    std::optional<Exhausted> exhausted;
    std::int64_t bytesRead = 0;
    try {
        doc.BeginBulkLoad();
        // UTF-16 is decoded as it streams: its lines are read in one pass.
        exhausted = parts.threads > 1 && !input.decodes()
                        ? ReadInParts(doc, parser, input.stream(), fileLength, parts, progress, bytesRead)
                        : readWhole(doc, parser, input, fileLength, blockSize, progress, bytesRead);
        if (exhausted) {
            return exhausted;
        }
        doc.EndBulkLoad();
        doc.m_encoding = DecideEncoding(input.detection(), parser.charSet(), doc.m_strCharSet, parser.isGedcom7());
    } catch (const std::bad_alloc&) {
        return Exhausted{PercentOf(bytesRead, fileLength), std::string()};
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
    progress.watch(env.stop);

    const auto startOption = ParseStartOption(env.argumentText);
    const bool buildIndexAtEnd = !startOption.has_value();
    if (startOption) {
        doc.m_strStartID = *startOption;
    }

    if (env.nameIndex && !env.nameIndex->Reserve(static_cast<std::size_t>(fileLength) / kBytesPerName)) {
        showMessage(env, "Not enough memory for name index");
    }

    try {
        if (const auto exhausted = readLines(doc, in, fileLength, progress, env)) {
            result.outcome = LoadOutcome::OutOfMemory;
            result.outOfMemoryText = outOfMemoryText(exhausted->percent, exhausted->line);
            return result;
        }
    } catch (const LoadStopped&) {
        result.outcome = LoadOutcome::Cancelled;
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
