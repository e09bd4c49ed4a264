#include "page/fact_rows.h"

#include "gedcom/name_split.h"
#include "model/fact_kinds.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace stirpex {

namespace {

constexpr std::string_view kSeparator = ", ";

// A kept line "TAG value" with the blanks that give its depth.
struct KeptLine {
    std::string_view indent;
    std::string_view tag;
    std::string_view value;
};

KeptLine splitKept(std::string_view line) {
    const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
    const std::size_t tagEnd = std::min(line.find(' ', start), line.size());
    const std::size_t valueStart = std::min(line.find_first_not_of(' ', tagEnd), line.size());
    return {line.substr(0, start), line.substr(start, tagEnd - start), line.substr(valueStart)};
}

// AGE, CAUS and AGNC, which the value's text shows.
constexpr std::string_view kParticulars[] = {"AGE", "CAUS", "AGNC"};

bool isParticular(std::string_view line) {
    const KeptLine kept = splitKept(line);
    return kept.indent.empty() &&
           std::find(std::begin(kParticulars), std::end(kParticulars), kept.tag) != std::end(kParticulars);
}

// A kept line as a reader sees it: "Nickname: Jack", its depth kept.
std::string shownKept(std::string_view line) {
    const KeptLine kept = splitKept(line);
    std::string shown(kept.indent);
    shown.append(TagLabel(kept.tag));
    if (!kept.value.empty()) {
        shown.append(": ").append(kept.value);
    }
    return shown;
}

// "@I1@" names a record by its key; anything else names none.
std::string_view pointerKey(std::string_view value) {
    if (value.size() < 3 || value.front() != '@' || value.back() != '@') {
        return {};
    }
    return value.substr(1, value.size() - 2);
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find('\n'));
}

FactGroup groupOf(const Fact& fact) {
    const FactKind* kind = FindFactKind(fact.m_strTag.view());
    return kind ? kind->group : FactGroup::Other;
}

// The lines a record's own NAME, SOUR, NOTE, OBJE or member line made a fact
// for only to keep what stood under its citations: nothing for the page. A
// FAMC, HUSB or WIFE that a later one replaced is not among them: the record
// no longer links it, so its row is the only place it shows. `linked` is the
// key the record links by this fact's tag, empty for a tag it links none by.
bool onlyCitationLines(const Fact& fact, std::string_view linked = {}) {
    const FactDetails& d = fact.Details();
    const std::string_view tag = fact.m_strTag.view();
    const bool replaceable = tag == "FAMC" || tag == "HUSB" || tag == "WIFE";
    if (replaceable && pointerKey(fact.m_strValue.view()) != linked) {
        return false;
    }
    const bool held = tag == "NAME" || tag == "SOUR" || tag == "NOTE" || tag == "SNOTE" || tag == "OBJE" ||
                      tag == "FAMS" || tag == "CHIL" || replaceable;
    return held && d.m_arrLines.empty() && d.notes() == 0 && d.sources() == 0 && d.objects() == 0 &&
           d.m_arrAddress.empty();
}

// The key a family links by HUSB or WIFE.
std::string_view familyLink(const CFamily& family, std::string_view tag) {
    return tag == "HUSB" ? family.m_strHusband.view() : tag == "WIFE" ? family.m_strWife.view() : std::string_view{};
}

bool saysNothingMore(std::string_view value) {
    return value.empty() || value == "Y" || value == "N";
}

// Whether a kept line says something a reader of the facts wants (not a
// record number, a change date or a program's own tag).
bool isKnownDetail(std::string_view line) {
    const KeptLine kept = splitKept(line);
    const FactKind* kind = FindFactKind(kept.tag);
    return kept.indent.empty() && kind != nullptr && kind->group != FactGroup::Other;
}

// Whether the fixed row of the event shows this fact's date and place. With
// two facts of one event the row shows the last date and place given, so it
// is the earlier fact, not the later, whose date would otherwise be lost.
bool shownByFixedRow(const Fact& fact, const EventSummary& summary) {
    return (fact.m_strDate.empty() || fact.m_strDate.view() == summary.date) &&
           (fact.m_strPlace.empty() || fact.m_strPlace.view() == summary.place);
}

// The fixed rows' view of each classic event of a record, made once a record.
class FixedRows {
public:
    FixedRows(const FactList& facts, bool familyRecord) {
        for (const ClassicEventInfo& info : kClassicEvents) {
            if (info.family == familyRecord) {
                m_summaries[static_cast<int>(info.event)] = SummarizeEvent(facts, info.event);
            }
        }
    }
    bool shows(const Fact& fact, ClassicEvent event) const {
        return shownByFixedRow(fact, m_summaries[static_cast<int>(event)]);
    }

private:
    EventSummary m_summaries[7];
};

// Whether the fixed rows of a classic event leave something of this fact
// unsaid, beyond bookkeeping lines (those go under "Other data").
bool needsOwnRow(const Fact& fact, bool shownByFixedRow) {
    const FactDetails& d = fact.Details();
    return !shownByFixedRow || !saysNothingMore(fact.m_strValue.view()) || !d.m_strType.empty() ||
           !d.m_arrAddress.empty() || d.notes() > 0 || d.objects() > 0 ||
           std::any_of(d.m_arrLines.begin(), d.m_arrLines.end(),
                       [](const ArenaStr& line) { return isKnownDetail(line.view()); });
}

// A classic event's bookkeeping lines, when its fixed row shows the rest.
FactRow bookkeepingRow(const Fact& fact, int position, RowGroup group, const CFamily* family) {
    FactRow row;
    row.group = group;
    row.family = family;
    row.fact = position;
    row.label = FactLabel(fact);
    for (const ArenaStr& line : fact.Details().m_arrLines) {
        row.more.push_back(shownKept(line.view()));
    }
    return row;
}

void addMore(const Fact& fact, FactRow& row) {
    const FactDetails& d = fact.Details();
    std::string_view value = fact.m_strValue.view();
    for (std::size_t cut = value.find('\n'); cut != std::string_view::npos; cut = value.find('\n')) {
        value.remove_prefix(cut + 1);
        row.more.emplace_back(firstLine(value));
    }
    // An address fact's lines are its value; another fact's address is one of its particulars.
    const bool ofAddress = fact.m_strTag == "ADDR";
    bool first = true;
    for (const ArenaStr& line : d.m_arrAddress) {
        if (ofAddress && first) {
            row.value = {{std::string(line.view())}};
        } else {
            row.more.push_back((ofAddress ? "" : first ? "Address: " : "         ") + std::string(line.view()));
        }
        first = false;
    }
    for (const ArenaStr& line : d.m_arrLines) {
        if (!isParticular(line.view())) {
            row.more.push_back(shownKept(line.view()));
        }
    }
}

FactRow rowOf(const Fact& fact, int position, RowGroup group, const CFamily* family) {
    FactRow row;
    row.group = group;
    row.family = family;
    row.fact = position;
    row.notes = fact.Details().notes();
    row.sources = fact.Details().sources();
    if (fact.m_strTag == "NO") {
        std::string event(TagLabel(fact.m_strValue.view()));
        if (!event.empty()) {
            event[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(event[0])));
        }
        row.label = "No " + event;
    } else {
        row.label = FactLabel(fact);
    }
    row.value.push_back({FactValueText(fact), nullptr});
    addMore(fact, row);
    return row;
}

void appendPart(std::string& text, std::string_view part) {
    if (!part.empty()) {
        text.append(text.empty() ? "" : kSeparator).append(part);
    }
}

// The row label of a name of this TYPE: the file's word where it is not one
// of the kinds a reader knows by a longer name.
std::string nameTypeLabel(std::string_view type) {
    static constexpr std::pair<std::string_view, std::string_view> kNameTypes[] = {
        {"aka", "Also known as"},  {"birth", "Birth name"},     {"immigrant", "Immigrant name"},
        {"maiden", "Maiden name"}, {"married", "Married name"}, {"professional", "Professional name"},
    };
    const std::string lower = lowered(type);
    for (const auto& [word, label] : kNameTypes) {
        if (lower == word) {
            return std::string(label);
        }
    }
    return std::string(type);
}

// A name's parts, one row for each top-level line kept under it; the name's
// TYPE labels a row of the name itself.
void addNameRows(const Fact& fact, int position, const CPerson& person, std::vector<FactRow>& rows) {
    const std::string name = WithoutSlashes(fact.m_strValue.view());
    const bool primary = name.empty() || name == person.FormatName(0) || fact.m_strTag != "NAME";
    if (fact.m_strTag != "NAME") {
        FactRow row = rowOf(fact, position, RowGroup::Facts, nullptr);
        row.value = {{WithoutSlashes(FactValueText(fact)), nullptr}};
        rows.push_back(std::move(row));
        return;
    }
    const std::size_t first = rows.size();
    for (const ArenaStr& line : fact.Details().m_arrLines) {
        const KeptLine kept = splitKept(line.view());
        if (!kept.indent.empty() && rows.size() > first) {
            rows.back().more.push_back(shownKept(line.view()));
            continue;
        }
        FactRow row;
        row.fact = position;
        if (kept.tag == "TYPE") {
            row.label = nameTypeLabel(kept.value);
            row.value.push_back({name, nullptr});
            rows.push_back(std::move(row));
            continue;
        }
        row.label = TagLabel(kept.tag);
        std::string value = WithoutSlashes(kept.value);
        if (!primary) {
            value.append(" (").append(name).append(")");
        }
        row.value.push_back({value, nullptr});
        rows.push_back(std::move(row));
    }
    if (rows.size() == first) {
        FactRow row = rowOf(fact, position, RowGroup::Facts, nullptr);
        row.value = {{name, nullptr}};
        rows.push_back(std::move(row));
    }
    rows[first].notes = fact.Details().notes();
    rows[first].sources = fact.Details().sources();
}

void addPersonLink(const CStirpexDoc& doc, std::string_view value, FactRow& row) {
    const CPerson* target = doc.FindPerson(pointerKey(value));
    if (target) {
        row.value.push_back({target->GetDisplayName(), target});
    } else if (pointerKey(value) == "VOID") {
        row.value.push_back({"Unknown", nullptr}); // a link the file leaves empty on purpose
    } else {
        row.value.push_back({std::string(value), nullptr});
    }
}

// ASSO, ALIA by pointer, HUSB, WIFE and CHIL kept with what is said of them.
FactRow linkRow(const CStirpexDoc& doc, const Fact& fact, int position, RowGroup group, const CFamily* family) {
    FactRow row = rowOf(fact, position, group, family);
    row.value.clear();
    addPersonLink(doc, fact.m_strValue.view(), row);
    std::string extra;
    appendPart(extra, fact.Details().m_strType.view());
    appendPart(extra, fact.m_strDate.view());
    appendPart(extra, fact.m_strPlace.view());
    if (!extra.empty()) {
        row.value.push_back({" (" + extra + ")", nullptr});
    }
    return row;
}

// A parent family of the person: its parents as links and its pedigree.
FactRow parentsRow(const CStirpexDoc& doc, const CPerson& person, const Fact& fact, int position) {
    FactRow row = rowOf(fact, position, RowGroup::Associations, nullptr);
    row.value.clear();
    row.more.clear();
    const std::string_view key = pointerKey(fact.m_strValue.view());
    // A key that names no family says so, as a media key does, rather than
    // passing for a family of two unknown parents.
    if (const CFamily* family = doc.FindFamily(key)) {
        const CPerson* parents[] = {doc.FindPerson(family->m_strHusband.view()),
                                    doc.FindPerson(family->m_strWife.view())};
        for (const CPerson* parent : parents) {
            if (!row.value.empty()) {
                row.value.push_back({" and ", nullptr});
            }
            row.value.push_back(parent ? RowPart{parent->GetDisplayName(), parent} : RowPart{"Unknown", nullptr});
        }
    } else {
        row.value.push_back({"(missing)"});
    }
    const std::string_view relation = ChildRelation(person, key);
    if (!relation.empty()) {
        row.value.push_back({" (" + std::string(relation) + ")", nullptr});
    }
    for (const ArenaStr& line : fact.Details().m_arrLines) {
        // The pedigree the value already names is not said twice.
        if (relation.empty() || splitKept(line.view()).tag != "PEDI") {
            row.more.push_back(shownKept(line.view()));
        }
    }
    return row;
}

void addFamilyRows(const CStirpexDoc& doc, const CPerson& person, const CFamily& family, std::vector<FactRow>& rows) {
    std::vector<FactRow> own;
    int position = 0;
    const FixedRows fixed(family.Details().m_facts, true);
    for (const Fact& fact : family.Details().m_facts) {
        const ClassicEvent event = ClassicEventOf(fact.m_strTag.view(), true);
        const FactGroup group = groupOf(fact);
        if (onlyCitationLines(fact, familyLink(family, fact.m_strTag.view()))) {
            // nothing to show
        } else if (event != ClassicEvent::None) {
            if (needsOwnRow(fact, fixed.shows(fact, event))) {
                own.push_back(rowOf(fact, position, RowGroup::Family, &family));
            } else if (!fact.Details().m_arrLines.empty()) {
                own.push_back(bookkeepingRow(fact, position, RowGroup::Family, &family));
            }
        } else if (group == FactGroup::Link) {
            own.push_back(linkRow(doc, fact, position, RowGroup::Family, &family));
        } else {
            own.push_back(rowOf(fact, position, RowGroup::Family, &family));
        }
        ++position;
    }
    if (own.empty()) {
        return;
    }
    FactRow heading;
    heading.group = RowGroup::Family;
    heading.label = "Family";
    heading.family = &family;
    const CPerson* spouse = doc.GetSpouse(&person, &family);
    heading.value.push_back({"with ", nullptr});
    heading.value.push_back(spouse ? RowPart{spouse->GetDisplayName(), spouse} : RowPart{"unknown spouse", nullptr});
    rows.push_back(std::move(heading));
    std::move(own.begin(), own.end(), std::back_inserter(rows));
}

// One row per media key of a record or fact; a key that names no record
// cannot be opened and says so. `of` names the fact or family it belongs to.
void addMediaRows(const CStirpexDoc& doc, const ArenaStrList& keys, std::string_view of, std::vector<FactRow>& rows) {
    for (const ArenaStr& key : keys) {
        FactRow row;
        row.group = RowGroup::Media;
        row.label = "Media";
        const CExtObj* object = doc.FindExtObj(key.view());
        row.value.push_back(object ? RowPart{MediaCaption(*object), nullptr, object} : RowPart{"(missing)"});
        if (!of.empty()) {
            row.value.push_back({" (" + std::string(of) + ")"});
        }
        rows.push_back(std::move(row));
    }
}

void addAllMedia(const CStirpexDoc& doc, const CPerson& person, std::vector<FactRow>& rows) {
    addMediaRows(doc, person.Details().m_arrObjects, {}, rows);
    for (const Fact& fact : person.Details().m_facts) {
        addMediaRows(doc, fact.Details().m_arrObjects, FactLabel(fact), rows);
    }
    for (const ArenaStr& key : person.m_arrSpouseFamilies) {
        const CFamily* family = doc.FindFamily(key.view());
        if (family == nullptr) {
            continue;
        }
        const CPerson* spouse = doc.GetSpouse(&person, family);
        const std::string of = spouse ? "family with " + spouse->FormatName(0) : std::string("family");
        addMediaRows(doc, family->Details().m_arrObjects, of, rows);
        for (const Fact& fact : family->Details().m_facts) {
            addMediaRows(doc, fact.Details().m_arrObjects, std::string(FactLabel(fact)) + ", " + of, rows);
        }
    }
}

} // namespace

std::string MediaCaption(const CExtObj& object) {
    const std::string_view title = object.m_strTitle.view();
    const std::string_view file = object.m_strFile.view();
    if (title.empty()) {
        return file.empty() ? std::string("(no file)") : std::string(file);
    }
    std::string caption(title);
    if (!file.empty()) {
        caption.append(" (").append(file).append(")");
    }
    return caption;
}

std::string FactValueText(const Fact& fact) {
    const FactDetails& d = fact.Details();
    std::string text;
    const FactKind* kind = FindFactKind(fact.m_strTag.view());
    const bool event = kind && kind->group == FactGroup::Event;
    const std::string_view value = firstLine(fact.m_strValue.view());
    if (!(event && saysNothingMore(value)) && fact.m_strTag != "NO") {
        appendPart(text, value);
    }
    const bool labelledByType = fact.m_strTag == "EVEN" || fact.m_strTag == "FACT";
    if (!labelledByType) {
        appendPart(text, d.m_strType.view());
    }
    appendPart(text, fact.m_strDate.view());
    appendPart(text, fact.m_strPlace.view());
    if (const std::string_view age = FactParticular(fact, "AGE"); !age.empty()) {
        appendPart(text, "age " + std::string(age));
    }
    if (const std::string_view cause = FactParticular(fact, "CAUS"); !cause.empty()) {
        appendPart(text, "cause: " + std::string(cause));
    }
    if (const std::string_view agency = FactParticular(fact, "AGNC"); !agency.empty()) {
        appendPart(text, "agency: " + std::string(agency));
    }
    return text;
}

std::string_view ChildRelation(const CPerson& child, std::string_view familyKey) {
    for (const Fact& fact : child.Details().m_facts) {
        const bool famc = fact.m_strTag == "FAMC" && pointerKey(fact.m_strValue.view()) == familyKey;
        const bool adoption = fact.m_strTag == "ADOP";
        if (!famc && !adoption) {
            continue;
        }
        for (const ArenaStr& line : fact.Details().m_arrLines) {
            const KeptLine kept = splitKept(line.view());
            if (famc && kept.indent.empty() && kept.tag == "PEDI") {
                const std::string lower = lowered(kept.value);
                if (lower == "adopted") {
                    return "adopted";
                }
                if (lower == "foster") {
                    return "foster";
                }
            }
            if (adoption && kept.indent.empty() && kept.tag == "FAMC" && pointerKey(kept.value) == familyKey) {
                return "adopted";
            }
        }
    }
    return {};
}

std::vector<FactRow> BuildFactRows(const CStirpexDoc& doc, const CPerson& person) {
    std::vector<FactRow> facts;
    std::vector<FactRow> links;
    std::vector<FactRow> other;
    int position = 0;
    const FixedRows fixed(person.Details().m_facts, false);
    for (const Fact& fact : person.Details().m_facts) {
        const ClassicEvent event = ClassicEventOf(fact.m_strTag.view(), false);
        const FactGroup group = groupOf(fact);
        if (onlyCitationLines(fact, fact.m_strTag == "FAMC" ? person.m_strParentFamily.view() : std::string_view{})) {
            // nothing to show
        } else if (event != ClassicEvent::None) {
            if (needsOwnRow(fact, fixed.shows(fact, event))) {
                facts.push_back(rowOf(fact, position, RowGroup::Facts, nullptr));
            } else if (!fact.Details().m_arrLines.empty()) {
                other.push_back(bookkeepingRow(fact, position, RowGroup::OtherData, nullptr));
            }
        } else if (group == FactGroup::Name) {
            addNameRows(fact, position, person, facts);
        } else if (fact.m_strTag == "FAMC") {
            links.push_back(parentsRow(doc, person, fact, position));
        } else if (group == FactGroup::Link) {
            links.push_back(linkRow(doc, fact, position, RowGroup::Associations, nullptr));
        } else if (group == FactGroup::Other) {
            other.push_back(rowOf(fact, position, RowGroup::OtherData, nullptr));
        } else {
            facts.push_back(rowOf(fact, position, RowGroup::Facts, nullptr));
        }
        ++position;
    }
    std::vector<FactRow> rows = std::move(facts);
    std::move(links.begin(), links.end(), std::back_inserter(rows));
    for (const ArenaStr& key : person.m_arrSpouseFamilies) {
        if (const CFamily* family = doc.FindFamily(key.view())) {
            addFamilyRows(doc, person, *family, rows);
        }
    }
    addAllMedia(doc, person, rows);
    std::move(other.begin(), other.end(), std::back_inserter(rows));
    return rows;
}

} // namespace stirpex
