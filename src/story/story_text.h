#pragma once

// The text of the notes and sources viewer: one list of notes or source
// citations of a person, a life event, a marriage or a divorce, assembled as
// the viewer's text box shows it (model text, line breaks "\r\n"), with the
// heading that names the list and the window caption. Reads the document and
// changes nothing; missing notes and sources are skipped without a word.

#include <string>
#include <string_view>

namespace stirpex {

class CFamily;
class CPerson;
class CSource;
class CStirpexDoc;

struct StoryText {
    std::string heading; // "Notes", "Birth sources", ...; empty for a list the viewer does not know
    std::string caption; // heading + " for " + the person's name, given names first
    std::string text;
};

// One citation: "author, title (publication), citation text." on the first
// line, then the lines of the source's notes, then an empty line.
std::string FormatSource(const CStirpexDoc& doc, const CSource& source, std::string_view citationText);

// The list that a "Notes" (kind LINK_NOTES) or "Sources" (LINK_SOURCES) link
// opens. `family` is the link's family for the marriage, divorce and family
// fact topics and null otherwise. A fact's link (TOPIC_FACT for the person's,
// TOPIC_FAMILY_FACT for the family's) opens that fact's notes or sources,
// `fact` being its position in the record's facts. Other notes go by the
// family alone: with a family they are the marriage's notes, without one the
// person's. Sources go by the topic; a marriage or divorce topic without a
// family, any other topic and any other kind name no list and leave heading
// and text empty, so the caption then reads " for " and the name.
StoryText AssembleStory(const CStirpexDoc& doc, const CPerson& person, int kind, int topic, const CFamily* family,
                        int fact = -1);

} // namespace stirpex
