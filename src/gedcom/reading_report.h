#pragma once

// What the reader did with a file, for the user who wonders why something is
// missing: the encoding it chose and why, the GEDCOM version, the lines it
// did not understand, pointers that name no record, identifiers used twice,
// and bytes it could not decode. The reader notes the first of these while it
// reads (the document's ReadingLog); the cross-references are checked
// afterwards, only when someone asks, so that an ordinary load pays nothing
// for them.

#include "gedcom/gedcom_line.h"
#include "model/encoding_decision.h"
#include "model/reading_log.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CStirpexDoc;

// The record an item belongs to: a person's item opens that person's page.
struct RecordRef {
    RecordKind kind = RecordKind::None;
    std::int32_t index = -1;
    std::string key;
};

struct MissingPointer {
    RecordRef from;
    std::string_view tag; // FAMC, FAMS, HUSB, WIFE, CHIL, NOTE, SOUR, OBJE
    std::string key;
};

struct DuplicateId {
    RecordKind kind = RecordKind::None;
    std::string key;
    std::vector<std::int32_t> indices; // every record with the key, in file order
};

struct ReadingReport {
    std::string encoding;
    std::string encodingReason;
    std::string gedcomVersion;
    std::vector<SkippedTag> skipped;
    std::int64_t skippedLines = 0;
    LineSample undecodable;
    std::vector<MissingPointer> missing; // at most kReportListedItems
    std::int64_t missingTotal = 0;
    std::vector<DuplicateId> duplicates; // at most kReportListedItems
    std::int64_t duplicateTotal = 0;     // records whose key an earlier record of their kind has
};

ReadingReport MakeReadingReport(const CStirpexDoc& doc);

// The report as readable text, one item per line, ending in a line break.
std::string FormatReadingReport(const ReadingReport& report);

// "UTF-8", "ANSEL", "IBM PC (code page 437)"...
std::string_view EncodingName(TextEncoding encoding) noexcept;
// Why the reader chose the encoding, as a phrase: "the file starts with a byte-order mark"...
std::string EncodingReasonText(const EncodingDecision& decision, std::string_view charValue);

// "individual", "family", "note", "source", "object"...
std::string_view RecordKindName(RecordKind kind) noexcept;

} // namespace stirpex
