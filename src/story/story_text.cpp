#include "story/story_text.h"

#include "model/stirpex_doc.h"
#include "page/page_link.h"

#include <optional>

namespace stirpex {

namespace {

// Only these six: a citation text that ends in a no-break space keeps it.
constexpr std::string_view kTrailingWhiteSpace = " \t\r\n\v\f";
constexpr std::string_view kLineBreak = "\r\n";

void appendNoteLines(const CStirpexDoc& doc, std::string_view key, std::string& text) {
    const CNote* note = doc.FindNote(key);
    if (note == nullptr) {
        return;
    }
    for (const ArenaStr& line : note->m_pLines) {
        text.append(line.view()).append(kLineBreak);
    }
}

void appendNotes(const CStirpexDoc& doc, const ArenaStrList& keys, int count, std::string& text) {
    for (int i = 0; i < count; ++i) {
        appendNoteLines(doc, keys[i].view(), text);
    }
}

struct CitationList {
    const ArenaStrList& keys;
    const ArenaStrList& texts;
    int count;
    std::string_view heading;
};

std::optional<CitationList> citationsFor(const CPerson& person, int topic, const CFamily* family) {
    const PersonDetails& details = person.Details();
    switch (topic) {
    case TOPIC_PERSON:
        return CitationList{details.m_arrSources, details.m_arrSourceTexts, details.m_nSources, "Sources"};
    case TOPIC_BIRTH:
        return CitationList{details.m_arrBirthSources, details.m_arrBirthSourceTexts, details.m_nBirthSources,
                            "Birth sources"};
    case TOPIC_BAPTISM:
        return CitationList{details.m_arrBaptismSources, details.m_arrBaptismSourceTexts, details.m_nBaptismSources,
                            "Baptism sources"};
    case TOPIC_DEATH:
        return CitationList{details.m_arrDeathSources, details.m_arrDeathSourceTexts, details.m_nDeathSources,
                            "Death sources"};
    case TOPIC_BURIAL:
        return CitationList{details.m_arrBurialSources, details.m_arrBurialSourceTexts, details.m_nBurialSources,
                            "Burial sources"};
    case TOPIC_MARRIAGE:
        if (family != nullptr) {
            return CitationList{family->Details().m_arrSources, family->Details().m_arrSourceTexts,
                                family->Details().m_nSources, "Marriage sources"};
        }
        break;
    case TOPIC_DIVORCE:
        if (family != nullptr) {
            return CitationList{family->Details().m_arrDivorceSources, family->Details().m_arrDivorceSourceTexts,
                                family->Details().m_nDivorceSources, "Divorce sources"};
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

void appendSources(const CStirpexDoc& doc, const CitationList& list, std::string& text) {
    for (int i = 0; i < list.count; ++i) {
        const CSource* source = doc.FindSource(list.keys[i].view());
        if (source != nullptr) {
            text += FormatSource(doc, *source, list.texts[i].view());
        }
    }
}

} // namespace

std::string FormatSource(const CStirpexDoc& doc, const CSource& source, std::string_view citationText) {
    std::string s;
    if (!source.m_strAuthor.empty()) {
        s.append(source.m_strAuthor.view()).append(", ");
    }
    s.append(source.m_strTitle.view());
    if (!source.m_strPublication.empty()) {
        s.append(" (").append(source.m_strPublication.view()).append(")");
    }
    if (!citationText.empty()) {
        s.append(", ").append(citationText);
    }
    const auto last = s.find_last_not_of(kTrailingWhiteSpace);
    s.erase(last == std::string::npos ? 0 : last + 1);
    if (s.empty() || s.back() != '.') {
        s += '.';
    }
    s.append(kLineBreak);
    appendNotes(doc, source.m_arrNotes, source.m_nNotes, s);
    s.append(kLineBreak);
    return s;
}

StoryText AssembleStory(const CStirpexDoc& doc, const CPerson& person, int kind, int topic, const CFamily* family) {
    StoryText story;
    if (kind == LINK_NOTES) {
        if (family != nullptr) {
            story.heading = "Marriage notes";
            appendNotes(doc, family->Details().m_arrNotes, family->Details().m_nNotes, story.text);
        } else {
            story.heading = "Notes";
            appendNotes(doc, person.Details().m_arrNotes, person.Details().m_nNotes, story.text);
        }
    } else if (kind == LINK_SOURCES) {
        if (const auto list = citationsFor(person, topic, family)) {
            story.heading = list->heading;
            appendSources(doc, *list, story.text);
        }
    }
    story.caption = story.heading + " for " + person.FormatName(0);
    return story;
}

} // namespace stirpex
