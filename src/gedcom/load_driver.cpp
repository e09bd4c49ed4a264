#include "gedcom/load_driver.h"

#include "gedcom/char_set.h"
#include "gedcom/gedcom_line.h"
#include "gedcom/line_source.h"
#include "gedcom/record_parser.h"
#include "gedcom/start_option.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace stirpex {

namespace {

constexpr std::size_t kBytesPerName = 250;
constexpr std::int64_t kMaxBlockSize = std::int64_t{1} << 20;

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
    RecordParser parser(doc);
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

    // Small files need no megabyte buffer; large ones are read a megabyte at a time.
    const auto blockSize = static_cast<std::size_t>(std::clamp<std::int64_t>(fileLength + 1, 4096, kMaxBlockSize));
    LineSource lines(in, blockSize);
    doc.BeginBulkLoad();
    std::string scratch;
    std::string_view raw;
    std::int64_t bytesRead = 0;
    try {
        while (lines.next(raw)) {
            raw = TrimLine(raw);
            parser.HandleLine(ConvertLine(parser.charSet(), raw, scratch));
            bytesRead += static_cast<std::int64_t>(raw.size()) + 2;
            if (progress.shown()) {
                progress.advance(percentOf(bytesRead, fileLength));
            }
        }
    } catch (const std::bad_alloc&) {
        // The line is shown as model text so that the message itself is well-formed.
        std::string shown;
        AppendSanitizedUtf8(shown, raw);
        result.outcome = LoadOutcome::OutOfMemory;
        result.outOfMemoryText = outOfMemoryText(progress.last(), shown);
        showMessage(env, result.outOfMemoryText);
        return result;
    }
    doc.EndBulkLoad();

    if (buildIndexAtEnd && env.nameIndex) {
        env.nameIndex->Build(doc, env.progress);
        result.indexBuilt = true;
    }
    result.statsText = StatisticsText(doc);
    return result;
}

LoadResult LoadGedcomFile(CStirpexDoc& doc, const std::filesystem::path& path, const LoadEnvironment& env,
                          std::string& error) {
    OpenedFile opened = OpenGedcomFile(path);
    if (!opened.stream) {
        error = opened.error;
        return {};
    }
    error.clear();
    return LoadGedcom(doc, *opened.stream, opened.length, path.filename().string(), env);
}

} // namespace stirpex
