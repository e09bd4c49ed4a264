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

void appendSources(const CStirpexDoc& doc, const ArenaStrList& keys, const ArenaStrList& texts, int count,
                   std::string& text) {
    for (int i = 0; i < count; ++i) {
        const CSource* source = doc.FindSource(keys[i].view());
        if (source != nullptr) {
            text += FormatSource(doc, *source, texts[i].view());
        }
    }
}

void appendFactSources(const CStirpexDoc& doc, const Fact& fact, std::string& text) {
    const FactDetails& d = fact.Details();
    appendSources(doc, d.m_arrSources, d.m_arrSourceTexts, d.sources(), text);
}

// The citations of every fact of a classic event, in file order.
void appendEventSources(const CStirpexDoc& doc, const FactList& facts, ClassicEvent event, std::string& text) {
    const bool family = InfoOf(event).family;
    for (const Fact& fact : facts) {
        if (ClassicEventOf(fact.m_strTag.view(), family) == event) {
            appendFactSources(doc, fact, text);
        }
    }
}

std::optional<ClassicEvent> eventOfTopic(int topic) {
    for (const ClassicEventInfo& info : kClassicEvents) {
        if (info.topic == topic) {
            return info.event;
        }
    }
    return std::nullopt;
}

// The sources of a person's own list or of a classic event; false for a
// topic that names no such list.
bool assembleSources(const CStirpexDoc& doc, const CPerson& person, int topic, const CFamily* family,
                     StoryText& story) {
    if (topic == TOPIC_PERSON) {
        const PersonDetails& d = person.Details();
        story.heading = "Sources";
        appendSources(doc, d.m_arrSources, d.m_arrSourceTexts, d.m_nSources, story.text);
        return true;
    }
    const std::optional<ClassicEvent> event = eventOfTopic(topic);
    if (!event) {
        return false;
    }
    const ClassicEventInfo& info = InfoOf(*event);
    if (info.family && family == nullptr) {
        return false;
    }
    story.heading = info.sourcesHeading;
    if (*event == ClassicEvent::Marriage) {
        const FamilyDetails& d = family->Details();
        appendSources(doc, d.m_arrSources, d.m_arrSourceTexts, d.m_nSources, story.text);
    }
    appendEventSources(doc, info.family ? family->Details().m_facts : person.Details().m_facts, *event, story.text);
    return true;
}

// The notes or sources of one fact of the person or of the family.
void assembleFact(const CStirpexDoc& doc, const Fact& fact, int kind, StoryText& story) {
    story.heading = std::string(FactLabel(fact)) + (kind == LINK_NOTES ? " notes" : " sources");
    if (kind == LINK_NOTES) {
        appendNotes(doc, fact.Details().m_arrNotes, fact.Details().notes(), story.text);
    } else {
        appendFactSources(doc, fact, story.text);
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

StoryText AssembleStory(const CStirpexDoc& doc, const CPerson& person, int kind, int topic, const CFamily* family,
                        int fact) {
    StoryText story;
    const bool factTopic = topic == TOPIC_FACT || topic == TOPIC_FAMILY_FACT;
    if (factTopic && (kind == LINK_NOTES || kind == LINK_SOURCES)) {
        const CFamily* owner = topic == TOPIC_FAMILY_FACT ? family : nullptr;
        const FactList* facts =
            owner ? &owner->Details().m_facts : (topic == TOPIC_FACT ? &person.Details().m_facts : nullptr);
        if (const Fact* found = facts ? facts->at(fact) : nullptr) {
            assembleFact(doc, *found, kind, story);
        }
    } else if (kind == LINK_NOTES) {
        if (family != nullptr) {
            story.heading = "Marriage notes";
            appendNotes(doc, family->Details().m_arrNotes, family->Details().m_nNotes, story.text);
        } else {
            story.heading = "Notes";
            appendNotes(doc, person.Details().m_arrNotes, person.Details().m_nNotes, story.text);
        }
    } else if (kind == LINK_SOURCES) {
        assembleSources(doc, person, topic, family, story);
    }
    story.caption = story.heading + " for " + person.FormatName(0);
    return story;
}

} // namespace stirpex
