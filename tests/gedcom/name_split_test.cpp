#include "gedcom/name_split.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

TEST(SplitName, SlashesToggleBetweenGivenNamesAndSurname) {
    const struct {
        std::string_view value;
        std::string_view surname;
        std::string_view givenNames;
    } cases[] = {
        {"John /Smith/ Jr", "Smith", "John Jr"},
        {"John", "", "John"},
        {"/Smith/", "Smith", ""},
        {"John \\Smith\\", "Smith", "John"}, // a backslash toggles like a slash
        {"John /Smith\\ Jr", "Smith", "John Jr"},
        {"John /Smith", "Smith", "John"}, // an unclosed surname runs to the end
        {"A /B/ C /D", "BD", "A C"},      // a third slash opens the surname again
        {"//John", "", "John"},
        {"/ /", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        NameParts parts;
        SplitName(c.value, parts);
        EXPECT_EQ(parts.surname, c.surname) << c.value;
        EXPECT_EQ(parts.givenNames, c.givenNames) << c.value;
    }
}

TEST(SplitName, TidiesBlanksInEachPart) {
    const struct {
        std::string_view value;
        std::string_view surname;
        std::string_view givenNames;
    } cases[] = {
        {"  \tJohn\t\tPaul  /  Smith ,  Jr  /  ", "Smith, Jr", "John Paul"},
        {"Mary , Ann", "", "Mary, Ann"},
        {"Mary,Ann", "", "Mary,Ann"}, // no blank is added after a comma
        {"a , , b", "", "a,, b"},
        {" ,x", "", ",x"},
        {"\t", "", ""},
    };
    for (const auto& c : cases) {
        NameParts parts;
        SplitName(c.value, parts);
        EXPECT_EQ(parts.surname, c.surname) << c.value;
        EXPECT_EQ(parts.givenNames, c.givenNames) << c.value;
    }
}

TEST(SplitName, ReusedPartsHoldOnlyTheNewName) {
    NameParts parts;
    SplitName("John Paul /Smith-Jones/", parts);
    SplitName("Ann", parts);
    EXPECT_EQ(parts.surname, "");
    EXPECT_EQ(parts.givenNames, "Ann");
}

TEST(SplitName, LongPartsAreKeptWhole) {
    // Longer than the 63 characters a fixed name buffer holds.
    const std::string surname(200, 'S');
    const std::string given = std::string(100, 'G') + " " + std::string(100, 'H');
    NameParts parts;
    SplitName(given + " /" + surname + "/", parts);
    EXPECT_EQ(parts.surname, surname);
    EXPECT_EQ(parts.givenNames, given);
}

TEST(WithoutSlashes, DropsSlashesAndBackslashesOnly) {
    EXPECT_EQ(WithoutSlashes("John /Smith/ \\Jr\\"), "John Smith Jr");
    EXPECT_EQ(WithoutSlashes("  a  b  "), "  a  b  ");
    EXPECT_EQ(WithoutSlashes("//\\"), "");
}

} // namespace
} // namespace stirpex
