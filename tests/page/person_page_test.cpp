#include "page/fact_rows.h"
#include "page/person_page.h"

#include "page/page_fixture.h"
#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace stirpex {
namespace {

using test::PageFixture;

using Placed = std::tuple<int, int, std::string>;

std::vector<Placed> placed(const RecordingSurface& surface) {
    std::vector<Placed> out;
    for (const DrawnText& t : surface.ops()) {
        out.emplace_back(t.x, t.y, t.text);
    }
    return out;
}

constexpr std::string_view kBare = "0 HEAD\n0 @I1@ INDI\n0 TRLR\n";

TEST(PersonPageLayout, PersonWithoutDataOnScreen) {
    PageFixture f(kBare);
    const PaintOutcome outcome = f.paint();
    const std::vector<Placed> expected = {
        {100, 0, ""},       {100, 20, ""},         {0, 0, "Family Name"}, {0, 20, "Given Names"}, {0, 40, "Birth"},
        {100, 40, ""},      {0, 60, "Death"},      {100, 60, ""},         {0, 80, "Father"},      {100, 80, "Unknown"},
        {0, 100, "Mother"}, {100, 100, "Unknown"}, {0, 120, "Spouses:"},  {100, 120, "None."},
    };
    EXPECT_EQ(placed(f.surface), expected);
    EXPECT_EQ(outcome.height, 120);
    EXPECT_TRUE(f.page.Links().empty());
    for (const DrawnText& t : f.surface.ops()) {
        EXPECT_EQ(t.face, PageFace::Text) << t.text;
        EXPECT_EQ(t.color, kTextColor) << t.text;
    }
    EXPECT_FALSE(f.page.m_bCanAncestors || f.page.m_bCanDescendants || f.page.m_bCanMtDNA || f.page.m_bCanYChromosome);
}

TEST(PersonPageLayout, PersonWithoutDataOnPaper) {
    PageFixture f(kBare);
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    const int y = f.page.PrintPage(f.surface, f.doc());
    const std::vector<Placed> expected = {
        {400, -140, ""},         {400, -180, ""},        {100, -140, "Family Name"}, {100, -180, "Given Names"},
        {100, -245, "Birth"},    {400, -245, ""},        {100, -310, "Death"},       {400, -310, ""},
        {100, -375, "Father"},   {400, -375, "Unknown"}, {100, -440, "Mother"},      {400, -440, "Unknown"},
        {100, -505, "Spouses:"}, {400, -505, "None."},
    };
    EXPECT_EQ(placed(f.surface), expected);
    EXPECT_EQ(y, -505);
    EXPECT_EQ(f.surface.ops()[0].face, PageFace::PrintBold);
    EXPECT_EQ(f.surface.ops()[1].face, PageFace::PrintBold);
    EXPECT_EQ(f.surface.ops()[2].face, PageFace::Print);
}

TEST(PersonPageLayout, BaptismAndBurialOnlyWithTextAndWithoutGap) {
    PageFixture f("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 BIRT\n2 DATE 1850\n1 CHR\n2 PLAC \t Leeds\n"
                  "1 DEAT\n2 PLAC York\n1 BURI\n2 DATE \n0 TRLR\n");
    f.paint();
    EXPECT_EQ(f.op("Given Names").y, 20);
    EXPECT_EQ(f.op("Birth").y, 40);
    EXPECT_EQ(f.op("1850 ").y, 40);
    // Leading blanks and tabs go; the baptism line follows birth without a gap.
    EXPECT_EQ(f.op("Baptism").y, 60);
    EXPECT_EQ(f.op("Leeds").x, 100);
    EXPECT_EQ(f.op("Death").y, 80);
    EXPECT_EQ(f.op("York").y, 80);
    EXPECT_FALSE(f.drew("Burial"));
    EXPECT_EQ(f.op("Father").y, 100);
}

TEST(PersonPageLayout, NoBreakSpaceIsNotLeadingWhiteSpace) {
    PageFixture f("0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 CHR\n2 PLAC \xC2\xA0"
                  "Ely\n0 TRLR\n");
    f.paint();
    EXPECT_EQ(f.op("Baptism").y, 60);
    EXPECT_TRUE(f.drew("\xC2\xA0"
                       "Ely"));
}

TEST(PersonPageLayout, PrintedSectionsAreSeparatedByGaps) {
    PageFixture f("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 NAME Annie /Leigh/\n1 CHR\n2 DATE 1851\n1 FAMS @F1@\n"
                  "1 FAMS @F2@\n0 @F1@ FAM\n1 WIFE @I1@\n0 @F2@ FAM\n1 WIFE @I1@\n0 TRLR\n");
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_EQ(f.op("Alias").y, -245);
    EXPECT_EQ(f.op("Annie Leigh").y, -245);
    EXPECT_EQ(f.op("Birth").y, -310);
    EXPECT_EQ(f.op("Baptism").y, -350);
    EXPECT_EQ(f.op("Death").y, -415);
    EXPECT_EQ(f.op("Mother").y, -545);
    EXPECT_EQ(f.op("Spouse 1:").y, -635);
    EXPECT_EQ(f.op("Spouse 2:").y, -700);
}

constexpr std::string_view kFamilies =
    "0 @I1@ INDI\n1 NAME John /Harrow/\n1 SEX M\n1 FAMC @F0@\n1 FAMS @F1@\n1 FAMS @F2@\n1 FAMS @F9@\n1 NOTE hi\n"
    "1 SOUR @S1@\n1 BIRT\n2 SOUR @S1@\n"
    "0 @I2@ INDI\n1 NAME Mary /Stone/\n1 SEX F\n1 FAMS @F1@\n"
    "0 @I3@ INDI\n1 NAME Jane /Harrow/\n1 SEX F\n1 FAMC @F1@\n"
    "0 @I4@ INDI\n1 NAME Old /Harrow/\n1 SEX M\n1 FAMS @F0@\n"
    "0 @F0@ FAM\n1 HUSB @I4@\n1 CHIL @I1@\n"
    "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1870\n2 PLAC Leeds\n2 SOUR @S1@\n1 DIV\n"
    "1 NOTE wed\n1 CHIL @I3@\n1 CHIL @I99@\n"
    "0 @F2@ FAM\n1 HUSB @I1@\n1 NOTE second\n1 SOUR @S1@\n"
    "0 @S1@ SOUR\n1 TITL Parish\n0 TRLR\n";

TEST(PersonPageLayout, SpouseFamiliesWithMarriageDivorceAndChildren) {
    PageFixture f(kFamilies);
    f.show("I1");
    const PaintOutcome outcome = f.paint(500);
    const std::vector<Placed> family = {
        {0, 120, "Spouse 1:"},
        {100, 120, "Stone, Mary (?-?)"},
        {100, 140, "Married 1870 Leeds"},
        {100, 160, "Divorced " + std::string(4, ' ') + " "},
        {0, 180, "Children:"},
        {100, 180, "Harrow, Jane (?-?)"},
        {100, 200, "(File error -- missing INDI entry)"},
        {0, 220, "Spouse 2:"},
        {100, 220, "Unknown"},
        {100, 240, "Married  "},
        {0, 260, "Spouse 3:"},
        {100, 260, "Unknown"},
    };
    std::vector<Placed> drawn;
    for (const Placed& p : placed(f.surface)) {
        if (std::get<1>(p) >= 120 && std::get<2>(p) != "Notes" && std::get<2>(p) != "Sources") {
            drawn.push_back(p);
        }
    }
    EXPECT_EQ(drawn, family);
    // The unknown family F9 shows its spouse line and nothing more.
    EXPECT_EQ(outcome.height, 280);
    EXPECT_TRUE(f.page.m_bCanDescendants);
    EXPECT_TRUE(f.page.m_bCanAncestors);
    EXPECT_FALSE(f.page.m_bCanMtDNA);
    EXPECT_TRUE(f.page.m_bCanYChromosome); // a daughter only, but a known father
}

TEST(PersonPageLayout, OneSpouseFamilyIsLabelledWithoutNumber) {
    PageFixture f(kFamilies);
    f.show("I2");
    f.paint();
    EXPECT_EQ(f.op("Spouse:").y, 120);
    EXPECT_FALSE(f.drew("Spouse 1:"));
    EXPECT_EQ(f.op("Harrow, John (?-?)").y, 120);
}

// The spouse link is the family's other partner as the file records the
// couple: a husband without SEX, two women, and a man the family does not
// name, who gets the husband by the rule for someone who is neither partner.
TEST(PersonPageLinks, SpouseIsTheOtherPartnerWhateverTheSex) {
    PageFixture f("0 @H@ INDI\n1 NAME Pat /Lowe/\n1 FAMS @F1@\n0 @W@ INDI\n1 NAME Val /Lowe/\n1 SEX F\n1 FAMS @F1@\n"
                  "0 @A@ INDI\n1 NAME Ann /Ash/\n1 SEX F\n1 FAMS @F2@\n0 @B@ INDI\n1 NAME Bea /Birch/\n1 SEX F\n"
                  "1 FAMS @F2@\n1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @H@\n1 WIFE @W@\n0 @F2@ FAM\n1 HUSB @A@\n1 WIFE @B@\n");
    const struct {
        const char* person;
        std::vector<std::string> spouses;
    } cases[] = {
        {"H", {"Lowe, Val (?-?)"}},
        {"W", {"Lowe, Pat (?-?)"}},
        {"A", {"Birch, Bea (?-?)"}},
        {"B", {"Ash, Ann (?-?)", "Lowe, Pat (?-?)"}},
    };
    for (const auto& c : cases) {
        f.show(c.person);
        f.paint();
        std::vector<std::string> spouses;
        for (const PageLink& link : f.page.Links()) {
            spouses.push_back(f.doc().m_ppPersons[static_cast<std::size_t>(link.nIndex)]->GetDisplayName());
        }
        EXPECT_EQ(spouses, c.spouses) << c.person;
    }
}

TEST(PersonPageLayout, MarriageWithOnlySourcesHasNoLine) {
    PageFixture f("0 @I1@ INDI\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I1@\n1 MARR\n2 SOUR @S1@\n2 PLAC Ely\n"
                  "0 @S1@ SOUR\n0 TRLR\n");
    f.paint();
    // "Ely" is three characters: not longer than three, so neither the line nor its sources show.
    for (const DrawnText& t : f.surface.ops()) {
        EXPECT_NE(t.text.rfind("Married", 0), 0u) << t.text;
    }
    EXPECT_TRUE(f.page.Links().empty());
}

TEST(PersonPageLayout, MarriageLengthCountsCharactersNotBytes) {
    // "Åre" is three characters in four bytes.
    PageFixture f("0 @I1@ INDI\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I1@\n1 MARR\n2 PLAC \xC3\x85re\n0 TRLR\n");
    f.paint();
    EXPECT_FALSE(f.drew("Married  \xC3\x85re"));
}

TEST(PersonPageLinks, RelativesNotesAndSourcesAreRecorded) {
    PageFixture f(kFamilies);
    f.show("I1");
    f.paint(600);
    const auto& links = f.page.Links();
    ASSERT_EQ(links.size(), 10u);
    auto expectLink = [&](std::size_t i, PageRect rect, int kind, int topic, int index) {
        EXPECT_EQ(links[i].rect, rect) << i;
        EXPECT_EQ(links[i].nKind, kind) << i;
        EXPECT_EQ(links[i].nTopic, topic) << i;
        EXPECT_EQ(links[i].nIndex, index) << i;
    };
    expectLink(0, {505, 0, 545, 20}, LINK_NOTES, TOPIC_PERSON, 0);
    expectLink(1, {555, 0, 611, 20}, LINK_SOURCES, TOPIC_PERSON, 0);
    expectLink(2, {555, 40, 611, 60}, LINK_SOURCES, TOPIC_BIRTH, 0);
    expectLink(3, {100, 80, 100 + 8 * 17, 100}, LINK_PERSON, TOPIC_RELATIVE, 3);
    expectLink(4, {100, 120, 100 + 8 * 17, 140}, LINK_PERSON, TOPIC_RELATIVE, 1);
    expectLink(5, {505, 140, 545, 160}, LINK_NOTES, TOPIC_MARRIAGE, 1);
    expectLink(6, {555, 140, 611, 160}, LINK_SOURCES, TOPIC_MARRIAGE, 1);
    expectLink(7, {100, 180, 100 + 8 * 18, 200}, LINK_PERSON, TOPIC_RELATIVE, 2);
    expectLink(8, {505, 240, 545, 260}, LINK_NOTES, TOPIC_MARRIAGE, 2);
    expectLink(9, {555, 240, 611, 260}, LINK_SOURCES, TOPIC_MARRIAGE, 2);
    EXPECT_EQ(f.page.m_nLinks, 10);
    EXPECT_EQ(f.op("Notes").face, PageFace::SmallLink);
    EXPECT_EQ(f.op("Stone, Mary (?-?)").face, PageFace::Link);
    EXPECT_EQ(f.op("Stone, Mary (?-?)").color, kLinkColor);
}

TEST(PersonPageLinks, EmptyHotRectangleAtALinksCornerColoursNothing) {
    PageFixture f("0 @I1@ INDI\n1 NOTE n\n0 TRLR\n");
    f.paint();
    const PageRect notes = f.page.Links().front().rect;
    f.page.m_rectHot = PageRect{notes.left, notes.top, notes.left, notes.top};
    f.page.m_rectPressed = f.page.m_rectHot;
    f.paint();
    EXPECT_EQ(f.op("Notes").color, kLinkColor);
}

TEST(PersonPageLinks, HotAndPressedLinksAreColouredByTheirCorner) {
    PageFixture f(kFamilies);
    f.show("I1");
    f.paint();
    f.page.m_rectHot = {100, 80, 101, 81};
    f.page.m_rectPressed = {100, 120, 101, 121};
    f.paint();
    EXPECT_EQ(f.op("Harrow, Old (?-?)").color, kHotLinkColor);
    EXPECT_EQ(f.op("Stone, Mary (?-?)").color, kPressedLinkColor);
    EXPECT_EQ(f.op("Harrow, Jane (?-?)").color, kLinkColor);
    EXPECT_EQ(f.op("Children:").color, kTextColor);
}

TEST(PersonPageLinks, FiveThousandChildrenAreAllLinks) {
    std::string gedcom = "0 @I0@ INDI\n1 SEX F\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I0@\n";
    for (int i = 1; i <= 5000; ++i) {
        gedcom += "1 CHIL @C" + std::to_string(i) + "@\n";
    }
    for (int i = 1; i <= 5000; ++i) {
        gedcom += "0 @C" + std::to_string(i) + "@ INDI\n1 SEX M\n";
    }
    PageFixture f(gedcom);
    const PaintOutcome outcome = f.paint();
    EXPECT_EQ(f.page.Links().size(), 5000u);
    EXPECT_EQ(f.page.Links().back().rect.top, 120 + 20 + 4999 * 20);
    EXPECT_EQ(outcome.height, 120 + 20 + 5000 * 20);
    EXPECT_TRUE(f.page.m_bCanMtDNA);
    EXPECT_FALSE(f.page.m_bCanYChromosome);
}

// Measures every text as wide as an int can say, as a screen measures a name
// of hundreds of millions of characters.
class WidestSurface final : public PageSurface {
public:
    PageFace SelectFace(PageFace face) override { return face; }
    void SetTextColor(Rgb) override {}
    void TextOut(int, int, std::string_view) override {}
    int TextWidth(std::string_view) override { return std::numeric_limits<int>::max(); }
};

TEST(PersonPageGeometry, LinksTooWideForAnIntEndAtItsLargestValue) {
    PageFixture f(kFamilies);
    f.show("I1");
    WidestSurface surface;
    f.page.OnDraw(surface, f.doc(), 500, "test.ged");
    ASSERT_EQ(f.page.Links().size(), 10u);
    for (const PageLink& link : f.page.Links()) {
        EXPECT_EQ(link.rect.right, std::numeric_limits<int>::max()) << link.rect.left << "," << link.rect.top;
    }
    const PageLink* father = f.page.HitTest(100, 80);
    ASSERT_NE(father, nullptr);
    EXPECT_EQ(father->nIndex, 3);
}

TEST(PersonPageGeometry, ClientWidthIsTakenWithinZeroAndTheLargestScreen) {
    PageFixture f(kFamilies);
    f.show("I1");
    // The widest value, "(File error -- missing INDI entry)", ends at 100 + 34 * 8: no column stands left of 382.
    const std::pair<int, int> cases[] = {
        {std::numeric_limits<int>::min(), 382 + 95},
        {-1, 382 + 95},
        {PersonPage::kMaxClientWidth + 1, PersonPage::kMaxClientWidth},
        {std::numeric_limits<int>::max(), PersonPage::kMaxClientWidth},
    };
    for (const auto& [given, right] : cases) {
        f.paint(given);
        EXPECT_EQ(f.page.m_nNotesX, right - 95) << given;
        EXPECT_EQ(f.page.m_nSourcesX, right - 45) << given;
        EXPECT_EQ(f.page.Links().front().rect, (PageRect{right - 95, 0, right - 95 + 40, 20})) << given;
    }
}

// A 50 MB name once went whole to the screen's text engine on every paint.
TEST(PersonPageLayout, ValuesLongerThanAnyScreenAreDrawnCut) {
    const std::string name(kMaxShownCodePoints + 500, 'A');
    const std::string ellipsis = "\xE2\x80\xA6";
    const auto cut = [&](std::string_view before) {
        return std::string(before) + std::string(kMaxShownCodePoints - before.size(), 'A') + ellipsis;
    };
    PageFixture f("0 @I1@ INDI\n1 NAME " + name + " /" + name + "/\n1 NAME Al /" + name + "/\n1 BIRT\n2 PLAC " + name +
                  "\n1 FAMS @F1@\n0 @I2@ INDI\n1 NAME Kid /" + name +
                  "/\n0 @I3@ INDI\n1 NAME Eve /Lee/\n"
                  "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I2@\n1 MARR\n2 PLAC " +
                  name + "\n0 TRLR\n");
    f.show("I1");
    f.paint();
    const std::vector<Placed> drawn = placed(f.surface);
    const std::vector<Placed> values = {
        {100, 0, cut("")},  {100, 20, cut("")},           {100, 40, cut("Al ")},
        {100, 60, cut("")}, {100, 160, cut("Married  ")}, {100, 180, cut("")},
    };
    for (const Placed& value : values) {
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), value), drawn.end())
            << std::get<0>(value) << "," << std::get<1>(value);
    }
    ASSERT_EQ(f.page.Links().size(), 2u);
    EXPECT_EQ(f.page.Links()[1].rect, (PageRect{100, 180, 100 + 8 * (2000 + 1), 200}));
}

TEST(PersonPageLayout, PrintedNoteLinesLongerThanAnyPageAreCut) {
    const std::string line(kMaxShownCodePoints + 1, 'n');
    PageFixture f("0 @I1@ INDI\n1 NOTE @N1@\n0 @N1@ NOTE " + line + "\n0 TRLR\n");
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_EQ(f.surface.ops().back().text, std::string(kMaxShownCodePoints, 'n') + "\xE2\x80\xA6");
}

TEST(PersonPageFlags, LineageCommandsFollowParentsAndChildren) {
    PageFixture f("0 @M@ INDI\n1 SEX M\n1 FAMS @F1@\n0 @D@ INDI\n1 SEX F\n1 FAMC @F1@\n1 FAMS @F2@\n"
                  "0 @S@ INDI\n1 SEX M\n1 FAMC @F2@\n0 @X@ INDI\n1 FAMS @F3@\n0 @Y@ INDI\n1 FAMC @F3@\n"
                  "0 @F1@ FAM\n1 HUSB @M@\n1 CHIL @D@\n0 @F2@ FAM\n1 WIFE @D@\n1 CHIL @S@\n"
                  "0 @F3@ FAM\n1 HUSB @X@\n1 CHIL @Y@\n0 TRLR\n");
    struct Case {
        const char* key;
        bool ancestors, descendants, mtdna, ychromosome;
    };
    const Case cases[] = {
        {"M", false, true, false, false}, // only a daughter, no father: no Y line
        {"D", true, true, true, false},   // a woman with one child
        {"S", true, false, true, false},  // a mother but no father
        {"X", false, true, false, false}, // no sex: neither line
        {"Y", true, false, false, false},
    };
    for (const Case& c : cases) {
        f.show(c.key);
        f.paint();
        EXPECT_EQ(f.page.m_bCanAncestors, c.ancestors) << c.key;
        EXPECT_EQ(f.page.m_bCanDescendants, c.descendants) << c.key;
        EXPECT_EQ(f.page.m_bCanMtDNA, c.mtdna) << c.key;
        EXPECT_EQ(f.page.m_bCanYChromosome, c.ychromosome) << c.key;
    }
}

TEST(PersonPagePaint, FirstPaintTakesTheStartPersonAndNamesTheCaption) {
    PageFixture f("0 @I7@ INDI\n1 NAME A /B/\n0 @I9@ INDI\n0 TRLR\n");
    RecordingSurface surface;
    const PaintOutcome outcome = f.page.OnDraw(surface, f.doc(), 500, "royal.ged");
    EXPECT_EQ(outcome.caption, "royal.ged - I7");
    EXPECT_TRUE(outcome.newPerson);
    EXPECT_EQ(f.page.m_nNotesX, 405);
    EXPECT_EQ(f.page.m_nSourcesX, 455);
    EXPECT_FALSE(f.page.m_bFirstDraw);
    EXPECT_FALSE(f.page.m_bCanBack);
    EXPECT_FALSE(f.page.m_bCanForward);
    EXPECT_FALSE(f.page.OnDraw(surface, f.doc(), 300, "royal.ged").newPerson);
}

TEST(PersonPagePaint, CaptionShowsAKeyLongerThanAnyScreenCut) {
    CStirpexDoc doc;
    const std::string key(kMaxShownCodePoints + 1, 'K');
    PersonPage page;
    page.SetPerson(&doc.AddPerson(doc.Arena().copy(key)));
    EXPECT_EQ(page.Caption("royal.ged"), "royal.ged - " + std::string(kMaxShownCodePoints, 'K') + "\xE2\x80\xA6");
}

TEST(PersonPagePaint, EmptyFileShowsThePlaceholderItKeeps) {
    PageFixture f("0 HEAD\n0 TRLR\n");
    const PaintOutcome outcome = f.paint();
    ASSERT_NE(f.page.m_pPerson, nullptr);
    EXPECT_EQ(f.op("Empty...").y, 0);
    EXPECT_EQ(outcome.caption, "test.ged - ");
    // Painting again must not touch a freed person (the sanitizer run checks this).
    f.paint();
    EXPECT_TRUE(f.drew("Empty..."));
}

std::string longNote(int lines) {
    std::string gedcom = "0 @I1@ INDI\n1 NOTE @N1@\n1 NOTE @N0@\n1 NOTE @N2@\n0 @N1@ NOTE line 1\n";
    for (int i = 2; i <= lines; ++i) {
        gedcom += "1 CONT line " + std::to_string(i) + "\n";
    }
    return gedcom + "0 @N2@ NOTE after\n0 TRLR\n";
}

TEST(PersonPagePrint, NotesFollowThePageAndStopAt250Millimetres) {
    PageFixture f(longNote(3));
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_EQ(f.op("Notes:").x, 100);
    EXPECT_EQ(f.op("Notes:").y, -570);
    EXPECT_EQ(f.op("line 1").y, -570);
    EXPECT_EQ(f.op("line 1").x, 400);
    EXPECT_EQ(f.op("line 3").y, -650);
    // The missing note N0 is skipped; the next one follows without an empty line.
    EXPECT_EQ(f.op("after").y, -690);
    EXPECT_FALSE(f.drew("Notes"));
    EXPECT_FALSE(f.drew("Sources"));

    PageFixture big(longNote(200));
    big.show("I1");
    big.page.OnBeginPrinting(big.surface);
    const int y = big.page.PrintPage(big.surface, big.doc());
    const DrawnText& last = big.surface.ops().back();
    EXPECT_GE(last.y, -2500);
    EXPECT_LT(last.y - 40, -2500);
    EXPECT_LT(y, -2500);
    EXPECT_FALSE(big.drew("after"));
}

// The printable area ends 80 units (ten characters) right of the value column.
TEST(PersonPagePrint, LongValuesWrapAtTheValueColumnAndPushTheRowsBelowDown) {
    PageFixture f("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 BIRT\n2 PLAC Leeds Yorkshire England\n1 NOTE @N1@\n"
                  "1 FAMC @F1@\n0 @I2@ INDI\n1 NAME Bartholomew /Lee/\n1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @I2@\n"
                  "1 CHIL @I1@\n0 @N1@ NOTE alpha beta gamma\n1 CONT short\n0 TRLR\n");
    f.show("I1");
    f.page.SetPrintableWidth(480);
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    const std::vector<Placed> expected = {
        {400, -140, "Lee"},
        {400, -180, "Ann"},
        {100, -140, "Family Name"},
        {100, -180, "Given Names"},
        {100, -245, "Birth"},
        {400, -245, "Leeds "},
        {400, -285, "Yorkshire "},
        {400, -325, "England"},
        {100, -390, "Death"},
        {400, -390, ""},
        {100, -455, "Father"},
        // "Lee, Bartholomew (?-?)" has no blank after its first ten characters.
        {400, -455, "Lee, "},
        {400, -495, "Bartholome"},
        {400, -535, "w (?-?)"},
        {100, -600, "Mother"},
        {400, -600, "Unknown"},
        {100, -665, "Spouses:"},
        {400, -665, "None."},
        {100, -730, "Notes:"},
        {400, -730, "alpha beta "},
        {400, -770, "gamma"},
        {400, -810, "short"},
    };
    EXPECT_EQ(placed(f.surface), expected);
}

TEST(PersonPagePrint, NoNotesNoHeadingAndNoLinksRecorded) {
    PageFixture f(kFamilies);
    f.show("I2");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_FALSE(f.drew("Notes:"));
    EXPECT_TRUE(f.page.Links().empty());
    EXPECT_EQ(f.op("Harrow, John (?-?)").face, PageFace::Print);
    EXPECT_EQ(f.op("Harrow, John (?-?)").color, kTextColor);
    f.page.OnEndPrinting();
    EXPECT_FALSE(f.page.m_bPrinting);
}

// A person's media after everything else: one row each, a link to the record
// or, for a key that names none, a plain "(missing)".
constexpr std::string_view kMedia =
    "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 OBJE @M1@\n1 OBJE @M9@\n1 OBJE @M2@\n"
    "0 @I2@ INDI\n1 NAME Bo /Lee/\n1 FAMS @F1@\n1 OBJE @M2@\n"
    "0 @F1@ FAM\n1 HUSB @I2@\n1 CHIL @I1@\n"
    "0 @M1@ OBJE\n1 FILE photos/ann.jpg\n0 @M2@ OBJE\n1 FILE C:\\scans\\deed.pdf\n0 TRLR\n";

TEST(PersonPageMedia, RowsFollowTheFamiliesAsLinksToTheirRecords) {
    PageFixture f(kMedia);
    f.loaded.doc->m_ppExtObjs[0]->m_strTitle = f.loaded.doc->Arena().copy("Wedding");
    f.show("I1");
    const PaintOutcome outcome = f.paint();
    std::vector<Placed> media;
    for (const Placed& p : placed(f.surface)) {
        if (std::get<1>(p) >= 120) {
            media.push_back(p);
        }
    }
    // "Spouses: None." keeps its line.
    const std::vector<Placed> expected = {
        {0, 120, "Spouses:"}, {100, 120, "None."},     {0, 140, "Media"}, {100, 140, "Wedding (photos/ann.jpg)"},
        {0, 160, "Media"},    {100, 160, "(missing)"}, {0, 180, "Media"}, {100, 180, "C:\\scans\\deed.pdf"},
    };
    EXPECT_EQ(media, expected);
    EXPECT_EQ(outcome.height, 200);
    EXPECT_EQ(f.op("(missing)").face, PageFace::Text);
    std::vector<std::pair<int, int>> links; // (y, record)
    for (const PageLink& link : f.page.Links()) {
        if (link.nKind == LINK_MEDIA) {
            EXPECT_EQ(link.nTopic, TOPIC_MEDIA);
            links.emplace_back(link.rect.top, link.nIndex);
        }
    }
    EXPECT_EQ(links, (std::vector<std::pair<int, int>>{{140, 0}, {180, 1}}));

    f.show("I2");
    f.paint();
    EXPECT_EQ(f.op("Lee, Ann (?-?)").y, 140); // the child
    EXPECT_EQ(f.op("C:\\scans\\deed.pdf").y, 160);
}

TEST(PersonPageMedia, PrintedAsTextWithoutLinks) {
    PageFixture f(kMedia);
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_EQ(f.op("photos/ann.jpg").face, PageFace::Print);
    EXPECT_EQ(f.op("photos/ann.jpg").y, f.op("None.").y - 40 - 25);
    EXPECT_TRUE(f.page.Links().empty());
}

TEST(PersonPageMedia, CaptionHoldsTitleAndFileOrWhicheverThereIs) {
    TextArena arena;
    const struct {
        std::string_view title, file, caption;
    } cases[] = {
        {"Wedding", "a.jpg", "Wedding (a.jpg)"},
        {"Wedding", "", "Wedding"},
        {"", "a.jpg", "a.jpg"},
        {"", "", "(no file)"},
    };
    for (const auto& c : cases) {
        CExtObj object;
        object.m_strTitle = arena.copy(c.title);
        object.m_strFile = arena.copy(c.file);
        EXPECT_EQ(MediaCaption(object), c.caption);
    }
}

} // namespace
} // namespace stirpex

namespace stirpex {
namespace {

// Sam and Ida's son Tom is Kit's father; Ann belongs to nobody. Kit has a second name.
constexpr std::string_view kHomeFamily = "0 @I1@ INDI\n1 NAME Sam /Ash/\n1 SEX M\n1 FAMS @F1@\n"
                                         "0 @I2@ INDI\n1 NAME Tom /Ash/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F2@\n"
                                         "0 @I3@ INDI\n1 NAME Ida /Elm/\n1 SEX F\n1 FAMS @F1@\n"
                                         "0 @I4@ INDI\n1 NAME Kit /Ash/\n1 NAME Kitty /Ash/\n1 SEX F\n1 FAMC @F2@\n"
                                         "0 @I6@ INDI\n1 NAME Ann /Oak/\n"
                                         "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I2@\n"
                                         "0 @F2@ FAM\n1 HUSB @I2@\n1 CHIL @I4@\n0 TRLR\n";

TEST(PersonPageHome, LineUnderTheNamesSaysWhatThePersonShownIsToTheHomePerson) {
    PageFixture f(kHomeFamily);
    f.show("I4");
    f.paint();
    const std::vector<Placed> without = placed(f.surface);
    f.page.SetHomePerson(f.person("I1"));
    f.paint();
    // Under the alias, before the birth; the home person is a link to their page.
    EXPECT_EQ(f.op("Alias").y, 40);
    EXPECT_EQ(f.op("Relationship:").x, 0);
    EXPECT_EQ(f.op("Relationship:").y, 60);
    const DrawnText& words = f.op("granddaughter of");
    EXPECT_EQ(std::make_pair(words.x, words.y), std::make_pair(100, 60));
    EXPECT_EQ(words.face, PageFace::Text);
    const DrawnText& name = f.op("Ash, Sam (?-?)");
    EXPECT_EQ(std::make_pair(name.x, name.y),
              std::make_pair(RightEdge(100, f.surface.TextWidth("granddaughter of ")), 60));
    EXPECT_EQ(name.face, PageFace::Link);
    const PageLink* link = f.page.HitTest(name.x, name.y);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->nKind, LINK_PERSON);
    EXPECT_EQ(link->nIndex, f.person("I1")->m_nIndex);
    // Everything below the names moved down by exactly one line; nothing else changed.
    std::vector<Placed> expected = without;
    for (auto& [x, y, text] : expected) {
        y += y >= 60 ? 20 : 0;
    }
    expected.insert(expected.end(), {{0, 60, "Relationship:"}, {100, 60, "granddaughter of"}, {name.x, 60, name.text}});
    std::vector<Placed> actual = placed(f.surface);
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
}

TEST(PersonPageHome, NoLineWithoutHomePersonNorOnTheHomePersonsOwnPage) {
    PageFixture f(kHomeFamily);
    f.show("I2");
    f.paint();
    const std::vector<Placed> without = placed(f.surface);
    f.page.SetHomePerson(f.person("I2"));
    f.show("I2");
    f.paint();
    EXPECT_EQ(placed(f.surface), without);
    // Setting a home person on a page already laid out shows the line, and taking it away drops it.
    f.page.SetHomePerson(f.person("I4"));
    EXPECT_FALSE(f.paint().newPerson);
    EXPECT_TRUE(f.drew("father of"));
    f.page.SetHomePerson(f.person("I1"));
    f.paint();
    EXPECT_TRUE(f.drew("son of")); // not the words found for the former home person
    f.page.SetHomePerson(nullptr);
    f.paint();
    EXPECT_EQ(placed(f.surface), without);
}

TEST(PersonPageHome, UnrelatedPersonSaysNoneWasFound) {
    PageFixture f(kHomeFamily);
    f.page.SetHomePerson(f.person("I6"));
    f.show("I1");
    f.paint();
    EXPECT_EQ(f.op("none found with").y, 40);
    EXPECT_EQ(f.op("Oak, Ann (?-?)").face, PageFace::Link);
}

TEST(PersonPageHome, PrintedAsOneValueWithoutLinks) {
    PageFixture f(kHomeFamily);
    f.page.SetHomePerson(f.person("I4"));
    f.show("I1");
    f.page.OnBeginPrinting(f.surface);
    f.page.PrintPage(f.surface, f.doc());
    EXPECT_EQ(f.op("Relationship:").x, 100);
    const DrawnText& value = f.op("grandfather of Ash, Kit (?-?)");
    EXPECT_EQ(std::make_pair(value.x, value.y), std::make_pair(400, f.op("Relationship:").y));
    EXPECT_EQ(f.op("Relationship:").y, -245); // under the given names, one line and a section gap down
    EXPECT_TRUE(f.page.Links().empty());
}

} // namespace
} // namespace stirpex
