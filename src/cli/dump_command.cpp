#include "cli/dump_command.h"

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"
#include "model/utf8.h"

#include <string>

namespace stirpex::cli {

namespace {

std::string sexText(char32_t sex) {
    std::string text;
    if (sex != 0) {
        AppendUtf8(text, sex);
    }
    return text;
}

// The JSON has always written -1 for no year; a year before the common era
// is negative, so -1 also stands for 1 BC there (the life span tells them apart).
std::int32_t yearNumber(std::int32_t year) {
    return year == kNoYear ? -1 : year;
}

void keys(JsonWriter& json, const ArenaStrList& list) {
    json.beginArray();
    for (const ArenaStr& key : list) {
        json.value(key.view());
    }
    json.endArray();
}

void citations(JsonWriter& json, const ArenaStrList& sourceKeys, const ArenaStrList& texts) {
    json.beginArray();
    for (int i = 0; i < sourceKeys.size(); ++i) {
        json.pair(sourceKeys[i].view(), texts[i].view());
    }
    json.endArray();
}

// Every citation of the facts of a classic event, in file order.
void eventCitations(JsonWriter& json, const FactList& facts, ClassicEvent event) {
    json.beginArray();
    for (const Fact& fact : facts) {
        if (ClassicEventOf(fact.m_strTag.view(), InfoOf(event).family) != event) {
            continue;
        }
        const FactDetails& d = fact.Details();
        for (int i = 0; i < d.m_arrSources.size(); ++i) {
            json.pair(d.m_arrSources[i].view(), d.m_arrSourceTexts[i].view());
        }
    }
    json.endArray();
}

void classicEvents(JsonWriter& json, const FactList& facts, bool family) {
    for (const ClassicEventInfo& info : kClassicEvents) {
        if (info.family == family) {
            const EventSummary summary = SummarizeEvent(facts, info.event);
            json.pairField(info.name, summary.date, summary.place);
        }
    }
}

void classicEventCitations(JsonWriter& json, const FactList& facts, bool family) {
    for (const ClassicEventInfo& info : kClassicEvents) {
        if (info.family == family && info.event != ClassicEvent::Marriage) {
            json.key(std::string(info.name) + "Sources");
            eventCitations(json, facts, info.event);
        }
    }
}

void writeFacts(JsonWriter& json, const FactList& facts) {
    json.beginArray();
    for (const Fact& fact : facts) {
        const FactDetails& d = fact.Details();
        json.beginObject();
        json.field("tag", fact.m_strTag.view());
        json.field("label", FactLabel(fact));
        json.field("value", fact.m_strValue.view());
        json.field("date", fact.m_strDate.view());
        json.field("place", fact.m_strPlace.view());
        json.field("type", d.m_strType.view());
        json.key("address");
        keys(json, d.m_arrAddress);
        json.key("notes");
        keys(json, d.m_arrNotes);
        json.key("sources");
        citations(json, d.m_arrSources, d.m_arrSourceTexts);
        json.key("objects");
        keys(json, d.m_arrObjects);
        json.key("lines");
        keys(json, d.m_arrLines);
        json.key("citationLines");
        keys(json, d.m_arrCitationLines);
        json.endObject();
    }
    json.endArray();
}

void writePerson(JsonWriter& json, const CPerson& p) {
    const PersonDetails& d = p.Details();
    json.beginObject();
    json.field("index", p.m_nIndex);
    json.field("id", p.m_strID.view());
    json.field("surname", p.m_strSurname.view());
    json.field("givenNames", p.m_strGivenNames.view());
    json.key("altNames");
    json.beginArray();
    for (int i = 0; i < d.m_nAltNames; ++i) {
        json.pair(d.m_arrAltSurnames[i].view(), d.m_arrAltGivenNames[i].view());
    }
    json.endArray();
    json.field("sex", sexText(p.m_cSex));
    classicEvents(json, d.m_facts, false);
    json.field("birthYear", yearNumber(p.m_nBirthYear));
    json.field("birthQualifier", d.m_strBirthQualifier.view());
    json.field("deathYear", yearNumber(p.m_nDeathYear));
    json.field("deathQualifier", d.m_strDeathQualifier.view());
    json.field("parentFamily", p.m_strParentFamily.view());
    json.key("spouseFamilies");
    keys(json, p.m_arrSpouseFamilies);
    json.key("notes");
    keys(json, d.m_arrNotes);
    json.key("sources");
    citations(json, d.m_arrSources, d.m_arrSourceTexts);
    classicEventCitations(json, d.m_facts, false);
    json.key("objects");
    keys(json, d.m_arrObjects);
    json.field("displayName", p.GetDisplayName());
    json.key("facts");
    writeFacts(json, d.m_facts);
    json.key("citationLines");
    keys(json, d.m_arrCitationLines);
    json.endObject();
}

void writeFamily(JsonWriter& json, const CFamily& f) {
    const FamilyDetails& d = f.Details();
    json.beginObject();
    json.field("index", f.m_nIndex);
    json.field("id", f.m_strID.view());
    json.field("husband", f.m_strHusband.view());
    json.field("wife", f.m_strWife.view());
    json.key("children");
    keys(json, f.m_arrChildren);
    classicEvents(json, d.m_facts, true);
    json.key("notes");
    keys(json, d.m_arrNotes);
    json.key("sources");
    citations(json, d.m_arrSources, d.m_arrSourceTexts);
    json.key("marriageSources");
    eventCitations(json, d.m_facts, ClassicEvent::Marriage);
    classicEventCitations(json, d.m_facts, true);
    json.key("objects");
    keys(json, d.m_arrObjects);
    json.key("facts");
    writeFacts(json, d.m_facts);
    json.key("citationLines");
    keys(json, d.m_arrCitationLines);
    json.endObject();
}

void writeFileJson(JsonWriter& json, const CStirpexDoc& doc, std::string_view path) {
    json.beginObject();
    json.field("name", doc.m_strFileName);
    json.field("path", path);
    json.field("length", doc.m_nFileLength);
    json.field("sourceSystem", doc.m_strSourceSystem);
    json.field("destination", doc.m_strDestination);
    json.field("fileDate", doc.m_strFileDate);
    json.field("gedcomVersion", doc.m_strGedcomVersion);
    json.field("charSet", doc.m_strCharSet);
    json.field("submitter", doc.m_strSubmitter);
    json.endObject();
}

} // namespace

void WriteCountsJson(const CStirpexDoc& doc, JsonWriter& json) {
    json.beginObject();
    json.field("persons", doc.m_nPersons);
    json.field("families", doc.m_nFamilies);
    json.field("notes", doc.m_nNotes);
    json.field("sources", doc.m_nSources);
    json.field("extObjs", doc.m_nExtObjs);
    json.endObject();
}

void WriteDumpJson(const CStirpexDoc& doc, std::string_view path, std::string_view stats, JsonWriter& json) {
    json.beginObject();
    json.key("file");
    writeFileJson(json, doc, path);
    json.field("stats", stats);
    json.key("counts");
    WriteCountsJson(doc, json);
    json.key("persons");
    json.beginArray();
    for (const auto& person : doc.m_ppPersons) {
        writePerson(json, *person);
    }
    json.endArray();
    json.key("families");
    json.beginArray();
    for (const auto& family : doc.m_ppFamilies) {
        writeFamily(json, *family);
    }
    json.endArray();
    json.key("notes");
    json.beginArray();
    for (const auto& note : doc.m_ppNotes) {
        json.beginObject();
        json.field("index", note->m_nIndex);
        json.field("id", note->m_strID.view());
        json.key("lines");
        keys(json, note->m_pLines);
        json.endObject();
    }
    json.endArray();
    json.key("sources");
    json.beginArray();
    for (const auto& source : doc.m_ppSources) {
        json.beginObject();
        json.field("index", source->m_nIndex);
        json.field("id", source->m_strID.view());
        json.field("title", source->m_strTitle.view());
        json.field("author", source->m_strAuthor.view());
        json.field("publication", source->m_strPublication.view());
        json.key("notes");
        keys(json, source->m_arrNotes);
        json.key("text");
        keys(json, source->m_arrText);
        json.key("objects");
        keys(json, source->m_arrObjects);
        json.endObject();
    }
    json.endArray();
    json.key("extObjs");
    json.beginArray();
    for (const auto& object : doc.m_ppExtObjs) {
        json.beginObject();
        json.field("index", object->m_nIndex);
        json.field("id", object->m_strID.view());
        json.field("file", object->m_strFile.view());
        json.field("title", object->m_strTitle.view());
        json.field("form", object->m_strForm.view());
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

} // namespace stirpex::cli

namespace stirpex::cli {

namespace {

class TextOut {
public:
    explicit TextOut(std::FILE* out) : m_out(out) {}
    void line(std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), m_out);
        std::fputc('\n', m_out);
    }
    // "  Label: value", left out when the value is empty.
    void field(std::string_view label, std::string_view value) {
        if (!value.empty()) {
            line(std::string("  ").append(label).append(": ").append(value));
        }
    }
    void event(std::string_view label, std::string_view date, std::string_view place) {
        if (date.empty() && place.empty()) {
            return;
        }
        std::string text(date);
        if (!place.empty()) {
            text.append(text.empty() ? "" : ", ").append(place);
        }
        field(label, text);
    }
    void classicEvents(const FactList& facts, bool family) {
        for (const ClassicEventInfo& info : kClassicEvents) {
            if (info.family == family) {
                const EventSummary summary = SummarizeEvent(facts, info.event);
                event(info.label, summary.date, summary.place);
            }
        }
    }
    // Each fact on a line of its own: "Fact: label: value, date, place", then its parts.
    void facts(const FactList& list) {
        for (const Fact& fact : list) {
            const FactDetails& d = fact.Details();
            std::string text(FactLabel(fact));
            for (const std::string_view part :
                 {fact.m_strValue.view(), fact.m_strDate.view(), fact.m_strPlace.view()}) {
                if (!part.empty()) {
                    text.append(text.size() == FactLabel(fact).size() ? ": " : ", ").append(part);
                }
            }
            field("Fact", text);
            field("  Type", d.m_strType.view());
            keys("  Address", d.m_arrAddress);
            keys("  Note", d.m_arrNotes);
            citations("  Source", d.m_arrSources, d.m_arrSourceTexts);
            keys("  Object", d.m_arrObjects);
            keys("  Line", d.m_arrLines);
            keys("  Citation line", d.m_arrCitationLines);
        }
    }
    void keys(std::string_view label, const ArenaStrList& list) {
        for (const ArenaStr& key : list) {
            field(label, key.view());
        }
    }
    void citations(std::string_view label, const ArenaStrList& sourceKeys, const ArenaStrList& texts) {
        for (int i = 0; i < sourceKeys.size(); ++i) {
            std::string text(sourceKeys[i].view());
            if (!texts[i].empty()) {
                text.append(" (").append(texts[i].view()).append(")");
            }
            field(label, text.empty() ? std::string_view("(no key)") : std::string_view(text));
        }
    }

private:
    std::FILE* m_out;
};

std::string heading(std::string_view kind, int index, std::string_view id) {
    return std::string(kind).append(" ").append(std::to_string(index)).append(" @").append(id).append("@");
}

void writePersonText(TextOut& out, const CPerson& p) {
    const PersonDetails& d = p.Details();
    out.line(heading("Individual", p.m_nIndex, p.m_strID.view()) + ": " + p.GetDisplayName());
    for (int i = 0; i < d.m_nAltNames; ++i) {
        out.field("Also known as", p.FormatAltName(i, 1));
    }
    out.field("Sex", sexText(p.m_cSex));
    out.classicEvents(d.m_facts, false);
    out.field("Child in family", p.m_strParentFamily.view());
    out.keys("Spouse in family", p.m_arrSpouseFamilies);
    out.keys("Note", d.m_arrNotes);
    out.citations("Source", d.m_arrSources, d.m_arrSourceTexts);
    out.keys("Object", d.m_arrObjects);
    out.facts(d.m_facts);
    out.keys("Citation line", d.m_arrCitationLines);
}

void writeFamilyText(TextOut& out, const CFamily& f) {
    const FamilyDetails& d = f.Details();
    out.line(heading("Family", f.m_nIndex, f.m_strID.view()));
    out.field("Husband", f.m_strHusband.view());
    out.field("Wife", f.m_strWife.view());
    out.keys("Child", f.m_arrChildren);
    out.classicEvents(d.m_facts, true);
    out.keys("Note", d.m_arrNotes);
    out.citations("Source", d.m_arrSources, d.m_arrSourceTexts);
    out.keys("Object", d.m_arrObjects);
    out.facts(d.m_facts);
    out.keys("Citation line", d.m_arrCitationLines);
}

} // namespace

void WriteDumpText(const CStirpexDoc& doc, std::string_view path, std::string_view stats, std::FILE* out) {
    TextOut text(out);
    text.line(std::string("File: ").append(path));
    text.field("Name", doc.m_strFileName);
    text.field("Length", std::to_string(doc.m_nFileLength) + " bytes");
    text.field("Source system", doc.m_strSourceSystem);
    text.field("Destination", doc.m_strDestination);
    text.field("File date", doc.m_strFileDate);
    text.field("GEDCOM version", doc.m_strGedcomVersion);
    text.field("Character set", doc.m_strCharSet);
    text.field("Submitter", doc.m_strSubmitter);
    text.line(stats);
    for (const auto& person : doc.m_ppPersons) {
        text.line("");
        writePersonText(text, *person);
    }
    for (const auto& family : doc.m_ppFamilies) {
        text.line("");
        writeFamilyText(text, *family);
    }
    for (const auto& note : doc.m_ppNotes) {
        text.line("");
        text.line(heading("Note", note->m_nIndex, note->m_strID.view()));
        for (const ArenaStr& line : note->m_pLines) {
            text.line(std::string("  | ").append(line.view()));
        }
    }
    for (const auto& source : doc.m_ppSources) {
        text.line("");
        text.line(heading("Source", source->m_nIndex, source->m_strID.view()));
        text.field("Title", source->m_strTitle.view());
        text.field("Author", source->m_strAuthor.view());
        text.field("Publication", source->m_strPublication.view());
        text.keys("Note", source->m_arrNotes);
        for (const ArenaStr& line : source->m_arrText) {
            text.line(std::string("  | ").append(line.view()));
        }
        text.keys("Object", source->m_arrObjects);
    }
    for (const auto& object : doc.m_ppExtObjs) {
        text.line("");
        text.line(heading("Object", object->m_nIndex, object->m_strID.view()));
        text.field("File", object->m_strFile.view());
        text.field("Title", object->m_strTitle.view());
        text.field("Form", object->m_strForm.view());
    }
}

} // namespace stirpex::cli

namespace stirpex::cli {

int RunDumpCommand(const CommandInput& in) {
    RequireNoOperands(in);
    if (in.json) {
        JsonWriter writer(in.out);
        WriteDumpJson(in.doc, in.path, in.load.statsText, writer);
        writer.flush();
        std::fputc('\n', in.out);
    } else {
        WriteDumpText(in.doc, in.path, in.load.statsText, in.out);
    }
    return 0;
}

} // namespace stirpex::cli
