#include "find/soundex.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using Codes = std::vector<std::string>;

TEST(AmericanSoundex, PublishedExamples) {
    // H and W do not part letters of one digit (Ashcraft); a vowel does
    // (Tymczak's second 2); the first letter's digit counts (Pfister).
    const std::pair<std::string_view, std::string_view> examples[] = {
        {"Robert", "R163"},  {"Rupert", "R163"},  {"Rubin", "R150"},    {"Ashcraft", "A261"}, {"Ashcroft", "A261"},
        {"Tymczak", "T522"}, {"Pfister", "P236"}, {"Honeyman", "H555"}, {"Lee", "L000"},      {"Gutierrez", "G362"},
    };
    for (const auto& [name, code] : examples) {
        EXPECT_EQ(AmericanSoundex(name), code) << name;
    }
}

TEST(AmericanSoundex, CaseAccentsAndOtherCharactersDoNotCount) {
    EXPECT_EQ(AmericanSoundex("robert"), "R163");
    EXPECT_EQ(AmericanSoundex("O'Brien"), AmericanSoundex("OBrien"));
    EXPECT_EQ(AmericanSoundex("Müller"), AmericanSoundex("Muller"));
    EXPECT_EQ(AmericanSoundex("Ærø"), "A600"); // Æ is two letters: A, E, R, O
    EXPECT_EQ(AmericanSoundex(""), "");
    EXPECT_EQ(AmericanSoundex("- 12 -"), "");
}

TEST(DaitchMokotoffSoundex, PublishedExamples) {
    const std::pair<std::string_view, Codes> examples[] = {
        {"Moskowitz", {"645740"}},
        {"Moskovitz", {"645740"}},
        {"Peters", {"734000", "739400"}},   // RS read as one letter or two
        {"Auerbach", {"097400", "097500"}}, // CH as in German or in Polish
        {"Ohrbach", {"097400", "097500"}},  // sounds as Auerbach
        {"Lipshitz", {"874400"}},
        {"Lippszyc", {"874400", "874500"}}, // SZ then C read either way
        {"Jackson", {"145460", "154600", "445460", "454600"}},
        {"Schwarzenegger", {"474659", "479465"}},
    };
    for (const auto& [name, codes] : examples) {
        EXPECT_EQ(DaitchMokotoffSoundex(name), codes) << name;
    }
}

TEST(DaitchMokotoffSoundex, StartBeforeVowelAndElsewhereCodeDifferently) {
    EXPECT_EQ(DaitchMokotoffSoundex("Augsburg"), Codes{"054795"}); // AU at the start is 0
    EXPECT_EQ(DaitchMokotoffSoundex("Kauer"), Codes{"579000"});    // AU before a vowel is 7
    EXPECT_EQ(DaitchMokotoffSoundex("Stein"), Codes{"260000"});    // ST at the start is 2
    EXPECT_EQ(DaitchMokotoffSoundex("Kasten"), Codes{"543600"});   // ST elsewhere is 43
    EXPECT_EQ(DaitchMokotoffSoundex("Ab"), Codes{"070000"});
    EXPECT_EQ(DaitchMokotoffSoundex("Ivanov"), DaitchMokotoffSoundex("IWANOW"));
    EXPECT_EQ(DaitchMokotoffSoundex("Łódź"), DaitchMokotoffSoundex("Lodz"));
    EXPECT_TRUE(DaitchMokotoffSoundex("?").empty());
}

TEST(DaitchMokotoffSoundex, ManyAmbiguousLettersStayBounded) {
    const Codes codes = DaitchMokotoffSoundex(std::string(200, 'C') + "JJJJRSRZCH");
    EXPECT_FALSE(codes.empty());
    EXPECT_LE(codes.size(), 64u);
    for (const std::string& code : codes) {
        EXPECT_EQ(code.size(), 6u);
    }
}

} // namespace
} // namespace stirpex
