#pragma once

// What the program knows about the tags of facts: one table of the events,
// attributes and other structures of individual and family records with the
// label a reader sees, and one table of the classic life events (birth,
// baptism, death, burial, marriage, divorce) with what the page, the notes
// and sources viewer and the dump need of each. Every other place asks here.

#include "model/fact.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace stirpex {

enum class FactGroup : std::uint8_t {
    Event,     // something that happened: a date and a place
    Attribute, // something true of the person: a value
    Name,      // a part or kind of a name (NICK, NPFX, _MARNM, ...)
    Link,      // a link to another record with something said about it (ASSO, FAMC)
    Other,     // bookkeeping and program-specific data
};

struct FactKind {
    std::string_view tag;
    std::string_view label;
    FactGroup group;
};

// The kind of an exact tag, or null for a tag the table does not know.
const FactKind* FindFactKind(std::string_view tag) noexcept;
// Every kind the table knows, in tag order.
std::span<const FactKind> FactKinds() noexcept;

// The label of a fact: the TYPE of EVEN and FACT (when given), the table's
// label, or the tag itself for a tag the table does not know.
std::string_view FactLabel(const Fact& fact) noexcept;
// The tag as model text that needs no copy, for a tag the table knows;
// empty for any other.
ArenaStr KnownTagText(std::string_view tag);
// The table's label of a tag, or the tag itself.
std::string_view TagLabel(std::string_view tag) noexcept;
// Whether the fact belongs under "Other data" rather than among the facts.
bool IsOtherData(const Fact& fact) noexcept;

enum class ClassicEvent : std::uint8_t { None, Birth, Baptism, Death, Burial, Marriage, Divorce };

struct ClassicEventInfo {
    ClassicEvent event;
    std::string_view label;          // the page's label: "Birth"
    int topic;                       // the page link's topic for its sources (page/page_link.h)
    std::string_view sourcesHeading; // "Birth sources"
    std::string_view name;           // in the dump: "birth", then "birthSources"
    bool family;                     // an event of a family record
};

inline constexpr std::array<ClassicEventInfo, 6> kClassicEvents{{
    {ClassicEvent::Birth, "Birth", 3, "Birth sources", "birth", false},
    {ClassicEvent::Baptism, "Baptism", 4, "Baptism sources", "baptism", false},
    {ClassicEvent::Death, "Death", 7, "Death sources", "death", false},
    {ClassicEvent::Burial, "Burial", 8, "Burial sources", "burial", false},
    {ClassicEvent::Marriage, "Marriage", 5, "Marriage sources", "marriage", true},
    {ClassicEvent::Divorce, "Divorce", 6, "Divorce sources", "divorce", true},
}};

constexpr const ClassicEventInfo& InfoOf(ClassicEvent event) noexcept {
    for (const ClassicEventInfo& info : kClassicEvents) {
        if (info.event == event) {
            return info;
        }
    }
    return kClassicEvents.front(); // not reached for an event other than None
}

// The classic event a tag stands for, by its first characters as the page
// has always read them (BAPM and CHR are baptisms, DIVF a divorce); None for
// any other tag, and for a family's tags in a person's record and back.
ClassicEvent ClassicEventOf(std::string_view tag, bool familyRecord) noexcept;

// A classic event as the page's fixed rows show it, over every fact of that
// event in the record: the last date and the last place given win, the
// citations of all of them count. A divorce said to have happened (DIV with
// a value that does not start with 'N') without a date has the date "    ",
// so that its line is shown.
struct EventSummary {
    std::string_view date;
    std::string_view place;
    int facts = 0;
    int notes = 0;
    int sources = 0;
};
EventSummary SummarizeEvent(const FactList& facts, ClassicEvent event) noexcept;

} // namespace stirpex
