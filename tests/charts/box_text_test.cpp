#include "charts/box_text.h"

#include "charts/chart_measure.h"
#include "gedcom/test_support.h"
#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

TEST(ChartBoxText, NameAndYearsAsTheFileGivesThem) {
    const auto loaded = test::LoadText(R"(0 HEAD
1 CHAR UTF-8
0 @I1@ INDI
1 NAME Julius /Caesar/
1 BIRT
2 DATE 100 BC
1 DEAT
2 DATE 44 BC
0 @I2@ INDI
1 NAME /Alone/
1 BIRT
2 DATE ABT 1850
0 @I3@ INDI
1 NAME Given only
1 DEAT
2 DATE BEF 1900
0 @I4@ INDI
1 NAME Nobody /Known/
0 TRLR
)");
    const auto person = [&](std::string_view id) -> const CPerson& { return *loaded.doc->FindPerson(id); };
    EXPECT_EQ(ChartName(person("I1")), "Caesar, Julius");
    EXPECT_EQ(ChartYears(person("I1")), "100 BC-44 BC");
    EXPECT_EQ(ChartName(person("I2")), "Alone");
    EXPECT_EQ(ChartYears(person("I2")), "c1850-?");
    EXPECT_EQ(ChartName(person("I3")), "Given only");
    EXPECT_EQ(ChartYears(person("I3")), "?-<1900");
    EXPECT_EQ(ChartYears(person("I4")), "");
}

TEST(ChartBoxText, ElidedCutsWholeCodePointsToTheWidth) {
    const FixedMeasure measure(10, 14);
    struct Case {
        const char* text;
        double width;
        const char* elided;
    };
    const Case cases[] = {
        {"Müller", 60, "Müller"},           // fits exactly
        {"Müller", 59, "Müll\xE2\x80\xA6"}, // four letters and the ellipsis
        {"Ölmühle", 30, "Öl\xE2\x80\xA6"},  // never half of a two-byte letter
        {"Ölmühle", 5, "\xE2\x80\xA6"},     // nothing fits but the ellipsis
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Elided(measure, ChartFont::Name, c.text, c.width), c.elided) << c.text << " " << c.width;
    }
    // A name of a million letters is measured a few dozen times, not a million.
    struct Counting final : ChartMeasure {
        double textWidth(ChartFont, std::string_view text) const override {
            ++calls;
            return static_cast<double>(text.size());
        }
        double lineHeight(ChartFont) const override { return 1; }
        mutable int calls = 0;
    } counting;
    const std::string huge(1000000, 'a');
    EXPECT_EQ(Elided(counting, ChartFont::Name, huge, 100), std::string(97, 'a') + std::string(kEllipsis));
    EXPECT_LT(counting.calls, 40);
}

// The boxes are made by hand: what is read aloud depends only on the texts
// the layout gives a box, whatever chart placed them.
TEST(ChartBoxText, SpokenTextJoinsTheLinesAndNamesEveryBox) {
    struct Case {
        ChartBoxKind kind;
        std::vector<std::pair<const char*, ChartFont>> lines;
        const char* spoken;
    };
    const Case cases[] = {
        {ChartBoxKind::Person,
         {{"Brandt, Carl", ChartFont::Name}, {"1900-?", ChartFont::Detail}},
         "Brandt, Carl, 1900-?"},
        {ChartBoxKind::Person,
         {{"12", ChartFont::Detail},
          {"Brandt, Karl", ChartFont::Name},
          {"?-c1850", ChartFont::Detail},
          {"Repeated, see 8", ChartFont::Note}},
         "12, Brandt, Karl, ?-c1850, Repeated, see 8"},
        {ChartBoxKind::UnknownFather, {{"Unknown father", ChartFont::Note}}, "Unknown father"},
        {ChartBoxKind::UnknownMother,
         {{"7", ChartFont::Detail}, {"Unknown mother", ChartFont::Note}},
         "7, Unknown mother"},
        // A person on file without a name still says who the box is for.
        {ChartBoxKind::Person, {{"1900-?", ChartFont::Detail}}, "No name, 1900-?"},
        {ChartBoxKind::Person, {}, "No name"},
    };
    ChartLayout layout;
    for (const Case& c : cases) {
        ChartBox box;
        box.kind = c.kind;
        box.textBegin = static_cast<std::uint32_t>(layout.texts.size());
        box.textCount = static_cast<std::uint32_t>(c.lines.size());
        for (const auto& [text, font] : c.lines) {
            layout.texts.push_back({text, font, {}, 0, 0});
        }
        layout.boxes.push_back(box);
    }
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        EXPECT_EQ(SpokenBoxText(layout, i), cases[i].spoken);
    }
}

} // namespace
} // namespace stirpex
