#include "model/person.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using Citations = std::vector<std::pair<std::string, std::string>>;

Citations CitationsOf(const ArenaStrList& keys, const ArenaStrList& texts) {
    Citations out;
    for (int i = 0; i < keys.size(); ++i) {
        out.emplace_back(std::string(keys[i].view()), std::string(texts[i].view()));
    }
    return out;
}

struct Dates {
    const char* birthQualifier;
    int birthYear;
    const char* deathQualifier;
    int deathYear;
};

class PersonTest : public ::testing::Test {
protected:
    void SetDates(const Dates& dates) {
        m_person.EditDetails(m_arena).m_strBirthQualifier = m_arena.copy(dates.birthQualifier);
        m_person.m_nBirthYear = dates.birthYear;
        m_person.EditDetails(m_arena).m_strDeathQualifier = m_arena.copy(dates.deathQualifier);
        m_person.m_nDeathYear = dates.deathYear;
    }
    ArenaStr Text(std::string_view text) { return m_arena.copy(text); }

    TextArena m_arena;
    CPerson m_person;
};

TEST_F(PersonTest, LifeSpanWritesQualifiersQuestionMarksForUnknownYearsAndBcForEarlyOnes) {
    struct Case {
        Dates dates;
        const char* span;
    };
    const Case cases[] = {
        {{"c", 1850, "", 1921}, " (c1850-1921)"},
        {{"<", 1790, "", kNoYear}, " (<1790-?)"},
        {{"", kNoYear, "", kNoYear}, " (?-?)"},
        {{"", kNoYear, ">", 1900}, " (?->1900)"},
        {{"c", kNoYear, "<", kNoYear}, " (c?-<?)"},
        {{"", 0, "", 12345}, " (0-12345)"},
        {{"", 849, "", 899}, " (849-899)"},
        {{"", -100, "c", -44}, " (100 BC-c44 BC)"},
        {{"", -1, "", 1}, " (1 BC-1)"},
    };
    for (const Case& c : cases) {
        SetDates(c.dates);
        EXPECT_EQ(m_person.GetLifeSpan(), c.span);
    }
}

TEST_F(PersonTest, FormatNameStyles) {
    struct Case {
        const char* surname;
        const char* givenNames;
        int style;
        const char* name;
    };
    const Case cases[] = {
        {"Smith", "Jane", 0, "Jane Smith"},
        {"Smith", "Jane", 1, "Smith, Jane"},
        {"Smith", "Jane", 2, "Smith, Jane (c1850-1921)"},
        {"Smith", "Jane", 7, "Smith, Jane (c1850-1921)"},
        {"Smith", "Jane", -1, "Smith, Jane (c1850-1921)"},
        {"", "", 0, " "},
        {"", "", 1, ", "},
        {"", "", 2, ",  (c1850-1921)"},
        {"Smith", "", 0, " Smith"},
        {"", "Jane", 1, ", Jane"},
    };
    SetDates({"c", 1850, "", 1921});
    for (const Case& c : cases) {
        m_person.m_strSurname = Text(c.surname);
        m_person.m_strGivenNames = Text(c.givenNames);
        EXPECT_EQ(m_person.FormatName(c.style), c.name) << c.style;
    }
    EXPECT_EQ(m_person.GetDisplayName(), m_person.FormatName(2));
}

TEST_F(PersonTest, AltNameUsesItsEntryAndThePersonsOwnLifeSpan) {
    SetDates({"<", 1790, "", kNoYear});
    m_person.m_strSurname = Text("Smith");
    m_person.m_strGivenNames = Text("Jane");
    m_person.AddAltName(m_arena, Text("Brown"), Text("Jenny"));
    m_person.AddAltName(m_arena, Text("Black"), ArenaStr());
    EXPECT_EQ(m_person.Details().m_nAltNames, 2);
    EXPECT_EQ(m_person.FormatAltName(0, 0), "Jenny Brown");
    EXPECT_EQ(m_person.FormatAltName(0, 1), "Brown, Jenny");
    EXPECT_EQ(m_person.FormatAltName(1, 0), " Black");
    EXPECT_EQ(m_person.FormatAltName(1, 1), "Black, ");
    EXPECT_EQ(m_person.GetAltDisplayName(1), "Black,  (<1790-?)");
    EXPECT_THROW(m_person.FormatAltName(2, 0), std::invalid_argument);
}

// Text for a citation that does not exist yet must not land in another list.
TEST_F(PersonTest, CitationTextWithoutACitationDoesNothing) {
    m_person.AppendSourceText(m_arena, "lost");
    EXPECT_TRUE(m_person.Details().m_arrSourceTexts.empty());
    EXPECT_EQ(m_person.Details().m_nSources, 0);

    m_person.AddSource(m_arena, Text("S1"));
    m_person.AppendSourceText(m_arena, "p. 1");
    m_person.AddSource(m_arena, Text("S2"));
    m_person.AppendSourceText(m_arena, "p. 2");
    m_person.AppendSourceText(m_arena, ", line 3");
    EXPECT_EQ(CitationsOf(m_person.Details().m_arrSources, m_person.Details().m_arrSourceTexts),
              (Citations{{"S1", "p. 1"}, {"S2", "p. 2, line 3"}}));
}

} // namespace
} // namespace stirpex
