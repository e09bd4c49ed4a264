#include "model/fact.h"

#include "model/fact_kinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace stirpex {
namespace {

class FactTest : public ::testing::Test {
protected:
    // A fact gathered as the reader gathers them; the reference holds until the next Add.
    Fact& Add(std::string_view tag, std::string_view value = {}, std::string_view date = {}) {
        const ArenaStr known = KnownTagText(tag);
        Fact& fact = m_gathered.emplace_back();
        fact.m_strTag = known.empty() ? m_arena.copy(tag) : known;
        fact.m_strValue = m_arena.copy(value);
        fact.m_strDate = m_arena.copy(date);
        return fact;
    }

    // The gathered facts stored as the record's list.
    const FactList& Facts() {
        m_facts = FactList();
        m_facts.assign(m_arena, m_gathered.data(), static_cast<std::int32_t>(m_gathered.size()));
        return m_facts;
    }

    std::vector<std::string> Tags() {
        std::vector<std::string> tags;
        for (const Fact& fact : Facts()) {
            tags.emplace_back(fact.m_strTag.view());
        }
        return tags;
    }

    TextArena m_arena;
    std::vector<Fact> m_gathered;
    FactList m_facts;
};

// ---- The list ----

TEST_F(FactTest, ListKeepsFileOrderAndFindsAFactByItsPosition) {
    EXPECT_TRUE(Facts().empty());
    EXPECT_EQ(Facts().at(0), nullptr);
    Add("BIRT");
    Add("_MILT", "Army");
    Add("DEAT");
    EXPECT_EQ(Tags(), (std::vector<std::string>{"BIRT", "_MILT", "DEAT"}));
    const FactList& facts = Facts();
    EXPECT_EQ(facts.size(), 3);
    EXPECT_EQ(facts.at(0), facts.begin());
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "Army");
    EXPECT_EQ(facts.at(2)->m_strTag.view(), "DEAT");
    EXPECT_EQ(facts.at(3), nullptr);
    EXPECT_EQ(facts.at(-1), nullptr);
    // Built fact by fact, the list keeps what each fact was given.
    FactList built;
    built.append(m_arena, KnownTagText("BIRT")).m_strValue = m_arena.copy("Y");
    built.append(m_arena, m_arena.copy("_X"));
    ASSERT_EQ(built.size(), 2);
    EXPECT_EQ(built.at(0)->m_strValue.view(), "Y");
    EXPECT_EQ(built.at(1)->m_strTag.view(), "_X");
}

TEST_F(FactTest, DetailsAreMadeOnceAndEmptyUntilThen) {
    Fact& fact = Add("OCCU", "Farmer");
    EXPECT_FALSE(fact.m_pDetails);
    EXPECT_TRUE(fact.Details().m_strType.empty());
    EXPECT_EQ(fact.Details().sources(), 0);
    FactDetails& details = fact.EditDetails(m_arena);
    details.m_arrLines.append(m_arena, m_arena.copy("CAUS fever"));
    EXPECT_EQ(&fact.EditDetails(m_arena), &details);
    EXPECT_EQ(FactParticular(fact, "CAUS"), "fever");
    EXPECT_EQ(FactParticular(fact, "CAU"), "");
    EXPECT_EQ(FactParticular(fact, "AGE"), "");
    // Another fact's empty details are not this one's.
    EXPECT_TRUE(Add("RESI").Details().m_arrLines.empty());
}

// ---- The kinds table ----

TEST(FactKinds, KnownTagsHaveTheirKindAndOthersNone) {
    struct Case {
        const char* tag;
        const char* label; // null: unknown
        FactGroup group;
    };
    const Case cases[] = {
        {"ADDR", "Address", FactGroup::Attribute},   {"OCCU", "Occupation", FactGroup::Attribute},
        {"BIRT", "Birth", FactGroup::Event},         {"_UID", "Unique identifier", FactGroup::Other},
        {"_MARNM", "Married name", FactGroup::Name}, {"ASSO", "Associate", FactGroup::Link},
        {"CHAN", "Changed", FactGroup::Other},       {"WWW", "Web page", FactGroup::Attribute},
        {"occu", nullptr, FactGroup::Other},         {"BIR", nullptr, FactGroup::Other},
        {"BIRTH", nullptr, FactGroup::Other},        {"", nullptr, FactGroup::Other},
        {"_MILT", nullptr, FactGroup::Other},        {"ZZZZ", nullptr, FactGroup::Other},
    };
    for (const Case& c : cases) {
        const FactKind* kind = FindFactKind(c.tag);
        if (!c.label) {
            EXPECT_EQ(kind, nullptr) << c.tag;
            EXPECT_TRUE(KnownTagText(c.tag).empty()) << c.tag;
            EXPECT_EQ(TagLabel(c.tag), c.tag);
            continue;
        }
        ASSERT_NE(kind, nullptr) << c.tag;
        EXPECT_EQ(kind->tag, c.tag);
        EXPECT_EQ(kind->label, c.label);
        EXPECT_EQ(kind->group, c.group) << c.tag;
        EXPECT_EQ(KnownTagText(c.tag).view(), c.tag);
        EXPECT_EQ(TagLabel(c.tag), c.label);
    }
}

// Every tag of the table finds its own kind; the same bytes with one more,
// one fewer or one changed (a NUL among them) find no other.
TEST(FactKinds, EveryKnownTagAndNoNeighbourOfItIsFound) {
    std::set<std::string_view> known;
    for (const FactKind& kind : FactKinds()) {
        known.insert(kind.tag);
    }
    for (const FactKind& kind : FactKinds()) {
        EXPECT_EQ(FindFactKind(kind.tag), &kind) << kind.tag;
        const std::string tag(kind.tag);
        std::vector<std::string> neighbours = {tag + '\0', tag + 'X', tag.substr(0, tag.size() - 1),
                                               std::string(1, '\0') + tag};
        for (std::size_t i = 0; i < tag.size(); ++i) {
            for (const char c : {'\0', 'a', '\xFF'}) {
                std::string changed = tag;
                changed[i] = c;
                neighbours.push_back(changed);
            }
        }
        for (const std::string& neighbour : neighbours) {
            const FactKind* found = FindFactKind(neighbour);
            if (known.count(neighbour) == 0) {
                EXPECT_EQ(found, nullptr) << kind.tag << " / " << neighbour.size() << " bytes";
            } else {
                ASSERT_NE(found, nullptr);
                EXPECT_EQ(found->tag, neighbour);
            }
        }
    }
    EXPECT_EQ(FindFactKind("_MARNMX"), nullptr);
    EXPECT_EQ(FindFactKind("_MARNMXY"), nullptr);
}

TEST_F(FactTest, LabelIsTheTypeOfEvenAndFactOnly) {
    Add("EVEN", "Won").EditDetails(m_arena).m_strType = m_arena.copy("Award");
    Add("FACT").EditDetails(m_arena).m_strType = m_arena.copy("Eye colour");
    Add("OCCU").EditDetails(m_arena).m_strType = m_arena.copy("Main");
    Add("EVEN");
    Add("_MILT");
    std::vector<std::string> labels;
    for (const Fact& fact : Facts()) {
        labels.emplace_back(FactLabel(fact));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Award", "Eye colour", "Occupation", "Event", "_MILT"}));
}

TEST_F(FactTest, OtherDataIsBookkeepingAndUnknownTags) {
    for (const char* tag : {"CHAN", "RIN", "_UID", "REFN", "_MILT", "XYZ"}) {
        EXPECT_TRUE(IsOtherData(Add(tag))) << tag;
    }
    for (const char* tag : {"BIRT", "OCCU", "ASSO", "NICK", "EVEN"}) {
        EXPECT_FALSE(IsOtherData(Add(tag))) << tag;
    }
}

// ---- The classic events ----

TEST(ClassicEvents, TagsAreReadByTheirFirstCharactersInTheirOwnKindOfRecord) {
    struct Case {
        const char* tag;
        ClassicEvent inPerson;
        ClassicEvent inFamily;
    };
    const Case cases[] = {
        {"BIRT", ClassicEvent::Birth, ClassicEvent::None},    {"BIRTH", ClassicEvent::Birth, ClassicEvent::None},
        {"BAPM", ClassicEvent::Baptism, ClassicEvent::None},  {"BAPL", ClassicEvent::Baptism, ClassicEvent::None},
        {"CHR", ClassicEvent::Baptism, ClassicEvent::None},   {"CHRA", ClassicEvent::Baptism, ClassicEvent::None},
        {"DEAT", ClassicEvent::Death, ClassicEvent::None},    {"BURI", ClassicEvent::Burial, ClassicEvent::None},
        {"MARR", ClassicEvent::None, ClassicEvent::Marriage}, {"DIV", ClassicEvent::None, ClassicEvent::Divorce},
        {"DIVF", ClassicEvent::None, ClassicEvent::Divorce},  {"CREM", ClassicEvent::None, ClassicEvent::None},
        {"MARB", ClassicEvent::None, ClassicEvent::None},     {"", ClassicEvent::None, ClassicEvent::None},
        {"BIR", ClassicEvent::None, ClassicEvent::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassicEventOf(c.tag, false), c.inPerson) << c.tag;
        EXPECT_EQ(ClassicEventOf(c.tag, true), c.inFamily) << c.tag;
    }
    for (const ClassicEventInfo& info : kClassicEvents) {
        EXPECT_EQ(&InfoOf(info.event), &info);
    }
}

TEST_F(FactTest, SummaryTakesTheLastDateAndPlaceAndCountsEveryFactsTexts) {
    Fact& first = Add("MARR", "", "1850");
    first.m_strPlace = m_arena.copy("Leeds");
    first.EditDetails(m_arena).m_arrSources.append(m_arena, m_arena.copy("S1"));
    first.EditDetails(m_arena).m_arrSources.append(m_arena, m_arena.copy("S2"));
    Add("DIV", "", "1860");
    Fact& second = Add("MARR", "", "1870");
    second.EditDetails(m_arena).m_arrNotes.append(m_arena, m_arena.copy("N1"));
    Fact& third = Add("MARR");
    third.m_strPlace = m_arena.copy("York");
    third.EditDetails(m_arena).m_arrSources.append(m_arena, m_arena.copy("S3"));
    const EventSummary marriage = SummarizeEvent(Facts(), ClassicEvent::Marriage);
    EXPECT_EQ(marriage.date, "1870");
    EXPECT_EQ(marriage.place, "York");
    EXPECT_EQ(marriage.facts, 3);
    EXPECT_EQ(marriage.notes, 1);
    EXPECT_EQ(marriage.sources, 3);
    EXPECT_EQ(SummarizeEvent(Facts(), ClassicEvent::Divorce).date, "1860");
    EXPECT_EQ(SummarizeEvent(Facts(), ClassicEvent::Birth).facts, 0);
    EXPECT_EQ(SummarizeEvent(Facts(), ClassicEvent::None).facts, 0);
}

// A divorce said to have happened shows its row even without a date: the
// date is four blanks. DIV N (or any value starting with N) says it did not.
TEST(ClassicEvents, DivorceWithoutADateIsBlanksUnlessEveryOneSaysNo) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> facts; // tag, value
        const char* date;
    };
    const Case cases[] = {
        {{{"DIV", ""}}, "    "},
        {{{"DIV", "Y"}}, "    "},
        {{{"DIVF", ""}}, "    "},
        {{{"DIV", "N"}}, ""},
        {{{"DIV", "No"}}, ""},
        {{{"DIV", "N"}, {"DIV", "Y"}}, "    "},
        {{{"DIV", "N"}, {"DIV", "N"}}, ""},
        {{{"MARR", ""}}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TextArena arena;
        FactList facts;
        std::string shown;
        for (const auto& [tag, value] : c.facts) {
            facts.append(arena, arena.copy(tag)).m_strValue = arena.copy(value);
            shown += std::string(tag) + " " + value + "; ";
        }
        EXPECT_EQ(SummarizeEvent(facts, ClassicEvent::Divorce).date, c.date) << shown;
    }
}

} // namespace
} // namespace stirpex
