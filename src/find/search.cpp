#include "find/search.h"

#include "find/collator.h"
#include "find/record_words.h"
#include "find/search_fold.h"
#include "find/search_words.h"
#include "find/soundex.h"
#include "gedcom/name_split.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <memory_resource>
#include <unordered_map>

namespace stirpex {

namespace {

std::string_view trimmed(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> blankSeparated(std::string_view text) {
    std::vector<std::string_view> words;
    while (true) {
        text = trimmed(text);
        if (text.empty()) {
            return words;
        }
        const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
}

char32_t upperAscii(char32_t c) noexcept {
    return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c;
}

// One name of a person: the own name has no kind.
struct PersonName {
    std::string_view surname;
    std::string_view given;
    std::string_view kind; // "alias", "married name"
};

// What a person's name, fact and words matched, for the hit.
struct Match {
    PersonName name;
    const Fact* fact = nullptr;
    std::string text; // "note: …"
};

class Searcher {
public:
    Searcher(const CStirpexDoc& doc, const Collator& collator, const SearchQuery& query);
    std::vector<SearchHit> run();

private:
    bool matchName(const CPerson& person, Match& match);
    bool nameFits(const PersonName& name);
    bool soundFits(std::string_view surname);
    bool factFits(const Fact& fact);
    const Fact* firstFact(const FactList& facts);
    void findFamilyFacts();
    bool matchWords(const CPerson& person, Match& match);
    SearchHit hitOf(const CPerson& person, const Match& match) const;

    const CStirpexDoc& m_doc;
    const Collator& m_collator;
    const SearchQuery& m_query;
    std::string_view m_surname;
    std::vector<std::string_view> m_given;
    bool m_sound = false;
    std::string m_american;
    std::vector<std::string> m_dm;
    std::unordered_map<std::string_view, bool> m_soundOfSurname;
    std::string m_place;
    bool m_facts = false;
    std::unordered_map<std::int32_t, const Fact*> m_familyFacts;
    SearchWords m_words;
    std::unique_ptr<RecordWords> m_recordWords;
    NameParts m_married;
};

Searcher::Searcher(const CStirpexDoc& doc, const Collator& collator, const SearchQuery& query)
    : m_doc(doc), m_collator(collator), m_query(query), m_surname(trimmed(query.surname)),
      m_given(blankSeparated(query.given)), m_words(query.text) {
    const std::string_view sound = trimmed(query.soundex);
    m_sound = !sound.empty();
    if (m_sound) {
        m_american = AmericanSoundex(sound);
        m_dm = DaitchMokotoffSoundex(sound);
    }
    FoldForSearch(trimmed(query.place), m_place);
    m_facts = !m_place.empty() || query.fromYear || query.toYear;
    if (!m_words.empty()) {
        // Only a search by words alone reads every person's notes.
        const bool alone = m_surname.empty() && m_given.empty() && !m_sound && !m_facts && query.sex == 0;
        m_recordWords = std::make_unique<RecordWords>(
            doc, m_words, alone ? RecordWords::Reading::Ahead : RecordWords::Reading::OnDemand);
    }
}

bool Searcher::soundFits(std::string_view surname) {
    const auto [known, added] = m_soundOfSurname.try_emplace(surname, false);
    if (added) {
        bool fits = !m_american.empty() && AmericanSoundex(surname) == m_american;
        if (!fits) {
            const std::vector<std::string> codes = DaitchMokotoffSoundex(surname);
            fits = std::any_of(codes.begin(), codes.end(), [this](const std::string& code) {
                return std::binary_search(m_dm.begin(), m_dm.end(), code);
            });
        }
        known->second = fits;
    }
    return known->second;
}

bool Searcher::nameFits(const PersonName& name) {
    if (!m_surname.empty() && !m_collator.startsWith(name.surname, m_surname)) {
        return false;
    }
    if (!m_given.empty()) {
        const std::vector<std::string_view> given = blankSeparated(name.given);
        for (const std::string_view word : m_given) {
            if (std::none_of(given.begin(), given.end(),
                             [&](std::string_view part) { return m_collator.startsWith(part, word); })) {
                return false;
            }
        }
    }
    return !m_sound || soundFits(name.surname);
}

bool Searcher::matchName(const CPerson& person, Match& match) {
    if (m_surname.empty() && m_given.empty() && !m_sound) {
        return true;
    }
    const PersonName own{person.m_strSurname.view(), person.m_strGivenNames.view(), {}};
    if (nameFits(own)) {
        match.name = own;
        return true;
    }
    const PersonDetails& details = person.Details();
    for (int j = 0; j < details.m_nAltNames; ++j) {
        const PersonName alias{details.m_arrAltSurnames[j].view(), details.m_arrAltGivenNames[j].view(), "alias"};
        if (nameFits(alias)) {
            match.name = alias;
            return true;
        }
    }
    // Married names are written as a surname, or as a whole name with its surname between slashes.
    const auto marriedFits = [&](std::string_view value) {
        SplitName(value.find('/') == std::string_view::npos ? "/" + std::string(value) + "/" : value, m_married);
        const std::string_view given = m_married.givenNames.empty() ? own.given : m_married.givenNames;
        const PersonName married{m_married.surname, given, "married name"};
        if (!married.surname.empty() && nameFits(married)) {
            match.name = married;
            return true;
        }
        return false;
    };
    for (const Fact& fact : details.m_facts) {
        if (fact.m_strTag == "_MARNM" && marriedFits(fact.m_strValue.view())) {
            return true;
        }
        if (fact.m_strTag != "NAME") {
            continue;
        }
        for (const ArenaStr& line : fact.Details().m_arrLines) {
            if (line.view().starts_with("_MARNM ") && marriedFits(line.view().substr(7))) {
                return true;
            }
        }
    }
    return false;
}

bool Searcher::factFits(const Fact& fact) {
    if (!m_place.empty() && !m_words.contains(fact.m_strPlace.view(), m_place)) {
        return false;
    }
    if (m_query.fromYear || m_query.toYear) {
        const std::int32_t year = DateYear(fact.m_strDate.view());
        if (year == kNoYear || (m_query.fromYear && year < *m_query.fromYear) ||
            (m_query.toYear && year > *m_query.toYear)) {
            return false;
        }
    }
    return true;
}

const Fact* Searcher::firstFact(const FactList& facts) {
    for (const Fact& fact : facts) {
        if (factFits(fact)) {
            return &fact;
        }
    }
    return nullptr;
}

// Families are read once, before the people: few of them have a fact that
// fits, and those name their couple by key.
void Searcher::findFamilyFacts() {
    for (const auto& family : m_doc.m_ppFamilies) {
        const Fact* fact = firstFact(family->Details().m_facts);
        if (fact == nullptr) {
            continue;
        }
        for (const ArenaStr& key : {family->m_strHusband, family->m_strWife}) {
            if (const CPerson* spouse = m_doc.FindPerson(key.view()); spouse != nullptr) {
                m_familyFacts.try_emplace(spouse->m_nIndex, fact);
            }
        }
    }
}

// Names are searched as names, not as words.
bool isName(const Fact& fact) noexcept {
    const FactKind* kind = FindFactKind(fact.m_strTag.view());
    return kind != nullptr && kind->group == FactGroup::Name;
}

// Where words of a person were first found, to show in the hit. A fact's
// label, a note's line and a source's title are read, and a text searched
// for where the words are, only for the one that is shown; a note or source
// knows where its words are.
struct WordsFound {
    std::string_view label;
    std::string_view text;
    const Fact* fact = nullptr;
    const WordsHeld<CNote>* note = nullptr;
    const WordsHeld<CSource>* source = nullptr;
};

bool Searcher::matchWords(const CPerson& person, Match& match) {
    if (m_words.empty()) {
        return true;
    }
    WordSet found = 0;
    WordsFound first;
    const auto take = [&](WordSet words, const WordsFound& where) {
        if (words != 0 && found == 0) {
            first = where;
        }
        found |= words;
        return found == m_words.all();
    };
    const auto own = [&](std::string_view label, std::string_view text) {
        return take(m_words.find(text, m_words.all() & ~found), {label, text});
    };
    const auto notes = [&](const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            const WordsHeld<CNote>* note = m_recordWords->note(key.view());
            if (note != nullptr && take(note->words, {"note", {}, nullptr, note})) {
                return true;
            }
        }
        return false;
    };
    const auto citations = [&](const ArenaStrList& keys, const ArenaStrList& texts) {
        for (int i = 0; i < keys.size(); ++i) {
            const WordsHeld<CSource>* source = m_recordWords->source(keys[i].view());
            if (source != nullptr && take(source->words, {"source", {}, nullptr, nullptr, source})) {
                return true;
            }
            if (i < texts.size() && own("citation", texts[i].view())) {
                return true;
            }
        }
        return false;
    };
    const auto value = [&](const Fact& fact) {
        const WordSet words = m_words.find(fact.m_strValue.view(), m_words.all() & ~found);
        return words != 0 && !isName(fact) && take(words, {{}, fact.m_strValue.view(), &fact});
    };
    const PersonDetails& details = person.Details();
    bool all = notes(details.m_arrNotes) || citations(details.m_arrSources, details.m_arrSourceTexts);
    for (const Fact* fact = details.m_facts.begin(); !all && fact != details.m_facts.end(); ++fact) {
        const FactDetails& factDetails = fact->Details();
        all = value(*fact) || notes(factDetails.m_arrNotes) ||
              citations(factDetails.m_arrSources, factDetails.m_arrSourceTexts);
    }
    if (!all) {
        return false;
    }
    std::size_t at = std::string_view::npos;
    if (first.note != nullptr) {
        first.text = first.note->record->m_pLines[first.note->line].view();
        at = first.note->at;
    } else if (first.source != nullptr) {
        first.text = first.source->record->m_strTitle.view();
        at = first.source->at;
    } else {
        if (first.fact != nullptr) {
            first.label = FactLabel(*first.fact);
        }
        m_words.find(first.text, m_words.all(), &at);
    }
    match.text.assign(first.label).append(": ").append(Excerpt(first.text, at == std::string_view::npos ? 0 : at));
    return true;
}

void appendPlace(std::string& places, std::string_view place) {
    if (!place.empty() && places != place) {
        places.append(places.empty() ? "" : "; ").append(place);
    }
}

std::string factText(const Fact& fact) {
    std::string text(FactLabel(fact));
    if (const std::int32_t year = DateYear(fact.m_strDate.view()); year != kNoYear) {
        text.push_back(' ');
        AppendYear(text, year);
    }
    if (!fact.m_strPlace.empty()) {
        text.append(", ").append(fact.m_strPlace.view());
    }
    return text;
}

SearchHit Searcher::hitOf(const CPerson& person, const Match& match) const {
    SearchHit hit;
    hit.person = &person;
    hit.name = person.GetDisplayName();
    const std::string span = person.GetLifeSpan(); // " (c1801-1870)"
    hit.years = span.size() > 3 ? span.substr(2, span.size() - 3) : span;
    if (match.fact != nullptr) {
        hit.places = match.fact->m_strPlace.view();
    } else {
        appendPlace(hit.places, person.Event(ClassicEvent::Birth).place);
        appendPlace(hit.places, person.Event(ClassicEvent::Death).place);
    }
    const auto add = [&hit](std::string_view piece) {
        hit.matched.append(hit.matched.empty() || piece.empty() ? "" : "; ").append(piece);
    };
    if (!match.name.kind.empty()) {
        std::string name(match.name.kind);
        for (const std::string_view part : {match.name.given, match.name.surname}) {
            name.append(part.empty() ? "" : " ").append(part);
        }
        add(name);
    }
    if (match.fact != nullptr) {
        add(factText(*match.fact));
    }
    add(match.text);
    return hit;
}

std::vector<SearchHit> Searcher::run() {
    if (m_facts) {
        findFamilyFacts();
    }
    std::vector<SearchHit> hits;
    for (const auto& person : m_doc.m_ppPersons) {
        if (m_query.sex != 0 && upperAscii(person->m_cSex) != upperAscii(m_query.sex)) {
            continue;
        }
        Match match;
        if (!matchName(*person, match)) {
            continue;
        }
        if (m_facts) {
            match.fact = firstFact(person->Details().m_facts);
            if (match.fact == nullptr) {
                const auto family = m_familyFacts.find(person->m_nIndex);
                if (family == m_familyFacts.end()) {
                    continue;
                }
                match.fact = family->second;
            }
        }
        if (matchWords(*person, match)) {
            hits.push_back(hitOf(*person, match));
        }
    }
    return hits;
}

// The hits in the order of the name list: the collator's own sort of their
// display names, which for a locale collator is far cheaper than pairwise.
std::vector<SearchHit> sortedByName(std::vector<SearchHit> hits, const Collator& collator) {
    std::vector<NameEntry> entries;
    entries.reserve(hits.size());
    for (std::size_t i = 0; i < hits.size(); ++i) {
        entries.push_back({hits[i].name, static_cast<std::int32_t>(i)});
    }
    collator.sort(entries, std::pmr::get_default_resource());
    std::vector<SearchHit> sorted;
    sorted.reserve(hits.size());
    for (const NameEntry& entry : entries) {
        sorted.push_back(std::move(hits[static_cast<std::size_t>(entry.person)]));
    }
    return sorted;
}

} // namespace

bool SearchQuery::empty() const {
    const auto blank = [](std::string_view text) { return trimmed(text).empty(); };
    return blank(surname) && blank(given) && blank(soundex) && blank(place) && !fromYear && !toYear && sex == 0 &&
           SearchWords(text).empty();
}

std::vector<SearchHit> Search(const CStirpexDoc& doc, const Collator& collator, const SearchQuery& query) {
    if (query.empty()) {
        return {};
    }
    return sortedByName(Searcher(doc, collator, query).run(), collator);
}

namespace {

// A whole year, or nothing for an empty text; false for anything else.
bool yearOf(std::string_view text, std::optional<int>& year) {
    if (text.empty()) {
        year.reset();
        return true;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    year = value;
    return true;
}

} // namespace

bool ReadYearRange(std::string_view text, SearchQuery& query) {
    std::optional<int> from;
    std::optional<int> to;
    const std::size_t dots = text.find("..");
    if (dots == std::string_view::npos) {
        if (!yearOf(text, from) || !from) {
            return false;
        }
        to = from;
    } else if (!yearOf(text.substr(0, dots), from) || !yearOf(text.substr(dots + 2), to) || (!from && !to) ||
               (from && to && *from > *to)) {
        return false;
    }
    query.fromYear = from;
    query.toYear = to;
    return true;
}

} // namespace stirpex
