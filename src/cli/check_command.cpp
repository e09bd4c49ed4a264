// "check": what the reader did with the file (the reading report).

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "gedcom/reading_report.h"
#include "model/stirpex_doc.h"

#include <string>

namespace stirpex::cli {

namespace {

void writeLines(JsonWriter& writer, const LineSample& sample) {
    writer.field("count", sample.count);
    writer.key("firstLines");
    writer.beginArray();
    for (const std::int64_t line : sample.firstLines) {
        writer.value(line);
    }
    writer.endArray();
}

void writeRecord(JsonWriter& writer, const RecordRef& record) {
    writer.beginObject();
    writer.field("kind", RecordKindName(record.kind));
    writer.field("id", record.key);
    writer.field("index", static_cast<std::int64_t>(record.index));
    writer.endObject();
}

void writeReport(JsonWriter& writer, const ReadingReport& report) {
    writer.beginObject();
    writer.key("encoding");
    writer.beginObject();
    writer.field("name", report.encoding);
    writer.field("reason", report.encodingReason);
    writer.endObject();
    writer.field("gedcomVersion", report.gedcomVersion);

    writer.key("skipped");
    writer.beginObject();
    writer.field("lines", report.skippedLines);
    writer.key("tags");
    writer.beginArray();
    for (const SkippedTag& tag : report.skipped) {
        writer.beginObject();
        writer.field("tag", tag.tag);
        writeLines(writer, tag.lines);
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();

    writer.key("missingPointers");
    writer.beginObject();
    writer.field("count", report.missingTotal);
    writer.key("items");
    writer.beginArray();
    for (const MissingPointer& pointer : report.missing) {
        writer.beginObject();
        writer.key("from");
        writeRecord(writer, pointer.from);
        writer.field("tag", pointer.tag);
        writer.field("id", pointer.key);
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();

    writer.key("duplicateIds");
    writer.beginObject();
    writer.field("count", report.duplicateTotal);
    writer.key("items");
    writer.beginArray();
    for (const DuplicateId& duplicate : report.duplicates) {
        writer.beginObject();
        writer.field("kind", RecordKindName(duplicate.kind));
        writer.field("id", duplicate.key);
        writer.key("indices");
        writer.beginArray();
        for (const std::int32_t index : duplicate.indices) {
            writer.value(static_cast<std::int64_t>(index));
        }
        writer.endArray();
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();

    writer.key("undecodable");
    writer.beginObject();
    writeLines(writer, report.undecodable);
    writer.endObject();
    writer.endObject();
}

} // namespace

int RunCheckCommand(const CommandInput& in) {
    RequireNoOperands(in);
    const ReadingReport report = MakeReadingReport(in.doc);
    if (in.json) {
        JsonWriter writer(in.out);
        writeReport(writer, report);
        writer.flush();
        std::fputc('\n', in.out);
    } else {
        const std::string text = FormatReadingReport(report);
        std::fwrite(text.data(), 1, text.size(), in.out);
    }
    return 0;
}

} // namespace stirpex::cli
