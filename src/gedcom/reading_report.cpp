#include "gedcom/reading_report.h"

#include "model/stirpex_doc.h"

#include <algorithm>
#include <unordered_map>

namespace stirpex {

namespace {

// Collects the pointers of every record that find nothing, in file order.
class PointerCheck {
public:
    PointerCheck(const CStirpexDoc& doc, ReadingReport& report) : m_doc(doc), m_report(report) {}

    void run() {
        for (const auto& person : m_doc.m_ppPersons) {
            checkPerson(*person);
        }
        for (const auto& family : m_doc.m_ppFamilies) {
            checkFamily(*family);
        }
        for (const auto& source : m_doc.m_ppSources) {
            from({RecordKind::Source, source->m_nIndex, std::string(source->m_strID.view())});
            notes(source->m_arrNotes);
            objects(source->m_arrObjects);
        }
    }

private:
    void checkPerson(const CPerson& person) {
        from({RecordKind::Individual, person.m_nIndex, std::string(person.m_strID.view())});
        // A person without FAMC has an empty parent key, which points nowhere by design.
        if (!person.m_strParentFamily.empty() && !m_doc.FindFamily(person.m_strParentFamily.view())) {
            missing("FAMC", person.m_strParentFamily.view());
        }
        for (const ArenaStr& key : person.m_arrSpouseFamilies) {
            if (!m_doc.FindFamily(key.view())) {
                missing("FAMS", key.view());
            }
        }
        const PersonDetails& details = person.Details();
        notes(details.m_arrNotes);
        sources(details.m_arrSources);
        objects(details.m_arrObjects);
        facts(details.m_facts);
    }

    void checkFamily(const CFamily& family) {
        from({RecordKind::Family, family.m_nIndex, std::string(family.m_strID.view())});
        for (const auto& [tag, key] : {std::pair{"HUSB", family.m_strHusband}, std::pair{"WIFE", family.m_strWife}}) {
            if (!key.empty() && !m_doc.FindPerson(key.view())) {
                missing(tag, key.view());
            }
        }
        for (const ArenaStr& key : family.m_arrChildren) {
            if (!m_doc.FindPerson(key.view())) {
                missing("CHIL", key.view());
            }
        }
        const FamilyDetails& details = family.Details();
        notes(details.m_arrNotes);
        sources(details.m_arrSources);
        objects(details.m_arrObjects);
        facts(details.m_facts);
    }

    void facts(const FactList& list) {
        for (const Fact& fact : list) {
            notes(fact.Details().m_arrNotes);
            sources(fact.Details().m_arrSources);
            objects(fact.Details().m_arrObjects);
        }
    }

    void notes(const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            if (!m_doc.FindNote(key.view())) {
                missing("NOTE", key.view());
            }
        }
    }
    void sources(const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            if (!m_doc.FindSource(key.view())) {
                missing("SOUR", key.view());
            }
        }
    }
    void objects(const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            if (!m_doc.FindExtObj(key.view())) {
                missing("OBJE", key.view());
            }
        }
    }

    void from(RecordRef record) { m_from = std::move(record); }
    void missing(std::string_view tag, std::string_view key) {
        ++m_report.missingTotal;
        if (m_report.missing.size() < kReportListedItems) {
            m_report.missing.push_back({m_from, tag, std::string(key)});
        }
    }

    const CStirpexDoc& m_doc;
    ReadingReport& m_report;
    RecordRef m_from;
};

// A record whose key the map gives to another record of its table has been
// shadowed by a later one with the same key.
template <typename Table, typename Map>
void findDuplicates(RecordKind kind, const Table& table, const Map& map, ReadingReport& report) {
    std::unordered_map<std::string_view, std::size_t> listed; // key -> position in report.duplicates
    for (const auto& record : table) {
        const auto* owner = map.find(record->m_strID.view());
        if (owner == record.get()) {
            continue;
        }
        ++report.duplicateTotal;
        const std::string_view key = record->m_strID.view();
        if (const auto found = listed.find(key); found != listed.end()) {
            report.duplicates[found->second].indices.push_back(record->m_nIndex);
        } else if (report.duplicates.size() < kReportListedItems) {
            listed.emplace(key, report.duplicates.size());
            report.duplicates.push_back({kind, std::string(key), {record->m_nIndex}});
        }
    }
    // The record the key finds is the last one read with it; list it too, in file order.
    for (auto& duplicate : report.duplicates) {
        if (duplicate.kind == kind && !duplicate.indices.empty()) {
            if (const auto* owner = map.find(duplicate.key)) {
                if (std::find(duplicate.indices.begin(), duplicate.indices.end(), owner->m_nIndex) ==
                    duplicate.indices.end()) {
                    duplicate.indices.push_back(owner->m_nIndex);
                }
            }
        }
    }
}

void appendLines(std::string& text, const LineSample& sample) {
    if (sample.firstLines.empty()) {
        return;
    }
    text += sample.firstLines.size() == 1 ? " (line " : " (lines ";
    for (std::size_t i = 0; i < sample.firstLines.size(); ++i) {
        text += (i ? ", " : "") + std::to_string(sample.firstLines[i]);
    }
    text += static_cast<std::int64_t>(sample.firstLines.size()) < sample.count ? ", ...)" : ")";
}

void appendRecord(std::string& text, const RecordRef& record) {
    text += RecordKindName(record.kind);
    text += " @";
    text += record.key;
    text += '@';
}

std::string heading(std::string_view title, std::int64_t count) {
    std::string text(title);
    text += ": ";
    text += count == 0 ? "none" : std::to_string(count);
    text += '\n';
    return text;
}

} // namespace

std::string_view EncodingName(TextEncoding encoding) noexcept {
    switch (encoding) {
    case TextEncoding::Ansel:
        return "ANSEL";
    case TextEncoding::Ansi:
        return "ANSI (Windows-1252)";
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::IbmPc:
        return "IBM PC (code page 437)";
    case TextEncoding::Macintosh:
        return "Macintosh (Mac OS Roman)";
    case TextEncoding::Utf16LE:
        return "UTF-16LE";
    case TextEncoding::Utf16BE:
        return "UTF-16BE";
    }
    return "unknown";
}

std::string EncodingReasonText(const EncodingDecision& decision, std::string_view charValue) {
    std::string text;
    switch (decision.reason) {
    case EncodingReason::ByteOrderMark:
        text = "the file starts with a byte-order mark";
        break;
    case EncodingReason::FirstBytes:
        text = "the first bytes are UTF-16";
        break;
    case EncodingReason::CharValue:
        text = "the header says CHAR " + std::string(charValue);
        break;
    case EncodingReason::GedcomVersion:
        text = "GEDCOM 7 files are UTF-8";
        break;
    case EncodingReason::NoCharValue:
        text = charValue.empty() ? "the header names no character set"
                                 : "the header's CHAR " + std::string(charValue) + " names no known set";
        break;
    }
    if (decision.charValueOverruled) {
        text += "; the header's CHAR " + std::string(charValue) + " does not match the bytes";
    }
    return text;
}

std::string_view RecordKindName(RecordKind kind) noexcept {
    switch (kind) {
    case RecordKind::Individual:
        return "individual";
    case RecordKind::Family:
        return "family";
    case RecordKind::Note:
        return "note";
    case RecordKind::Source:
        return "source";
    case RecordKind::ExtObj:
        return "object";
    case RecordKind::Header:
        return "header";
    case RecordKind::Submitter:
        return "submitter";
    case RecordKind::None:
        break;
    }
    return "record";
}

ReadingReport MakeReadingReport(const CStirpexDoc& doc) {
    ReadingReport report;
    const ReadingLog& log = doc.m_readingLog;
    report.encoding = EncodingName(doc.m_encoding.encoding);
    report.encodingReason = EncodingReasonText(doc.m_encoding, doc.m_strCharSet);
    report.gedcomVersion = doc.m_strGedcomVersion;
    report.skipped = log.skippedTags();
    report.skippedLines = log.skippedLines();
    report.undecodable = log.undecodable;
    PointerCheck(doc, report).run();
    findDuplicates(RecordKind::Individual, doc.m_ppPersons, doc.m_mapPersons, report);
    findDuplicates(RecordKind::Family, doc.m_ppFamilies, doc.m_mapFamilies, report);
    findDuplicates(RecordKind::Note, doc.m_ppNotes, doc.m_mapNotes, report);
    findDuplicates(RecordKind::Source, doc.m_ppSources, doc.m_mapSources, report);
    findDuplicates(RecordKind::ExtObj, doc.m_ppExtObjs, doc.m_mapExtObjs, report);
    return report;
}

std::string FormatReadingReport(const ReadingReport& report) {
    std::string text = "Encoding: " + (report.encoding.empty() ? std::string("unknown") : report.encoding);
    if (!report.encodingReason.empty()) {
        text += " (" + report.encodingReason + ")";
    }
    text += "\nGEDCOM version: " + (report.gedcomVersion.empty() ? std::string("not stated") : report.gedcomVersion);
    text += '\n';

    text += heading("Lines not understood", report.skippedLines);
    for (const SkippedTag& tag : report.skipped) {
        text += "  " + (tag.tag.empty() ? std::string("(no level number)") : tag.tag) + ": " +
                std::to_string(tag.lines.count);
        appendLines(text, tag.lines);
        text += '\n';
    }

    text += heading("Pointers naming no record", report.missingTotal);
    for (const MissingPointer& pointer : report.missing) {
        text += "  ";
        appendRecord(text, pointer.from);
        text += ": " + std::string(pointer.tag) + " @" + pointer.key + "@\n";
    }
    if (report.missingTotal > static_cast<std::int64_t>(report.missing.size())) {
        text += "  ...\n";
    }

    text += heading("Duplicate identifiers", report.duplicateTotal);
    for (const DuplicateId& duplicate : report.duplicates) {
        text += "  " + std::string(RecordKindName(duplicate.kind)) + " @" + duplicate.key +
                "@: " + std::to_string(duplicate.indices.size()) + " records\n";
    }
    if (report.duplicateTotal > 0 && report.duplicates.size() >= kReportListedItems) {
        text += "  ...\n";
    }

    text += "Undecodable characters: ";
    const std::int64_t lines = report.undecodable.count;
    text += lines == 0 ? "none" : "in " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
    appendLines(text, report.undecodable);
    text += '\n';
    return text;
}

} // namespace stirpex
