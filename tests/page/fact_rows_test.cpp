#include "page/fact_rows.h"

#include "gedcom/test_support.h"
#include "model/fact_kinds.h"
#include "model/stirpex_doc.h"
#include "page/page_fixture.h"
#include "page/page_link.h"
#include "story/story_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
namespace {

using test::PageFixture;

// A row as one line: "Label:value | more", person links in [], media in {}.
std::string describe(const FactRow& row) {
    std::string s = row.label + ":";
    for (const RowPart& part : row.value) {
        s += part.person ? "[" + part.text + "]" : part.media ? "{" + part.text + "}" : part.text;
    }
    for (const std::string& line : row.more) {
        s += " | " + line;
    }
    return s;
}

std::vector<std::string> rowsOf(const CStirpexDoc& doc, std::string_view key) {
    std::vector<std::string> out;
    for (const FactRow& row : BuildFactRows(doc, *doc.FindPerson(key))) {
        out.push_back(describe(row));
    }
    return out;
}

// The rows of I1 in a file that holds only I1 with these level-1 lines.
std::vector<std::string> rowsOfLines(std::string_view lines) {
    const test::LoadedDoc loaded = test::LoadText("0 @I1@ INDI\n1 NAME Ann /Lee/\n" + std::string(lines) + "0 TRLR\n");
    return rowsOf(*loaded.doc, "I1");
}

using Rows = std::vector<std::string>;

// Ann: facts of each group, adopted into F1 (Bo and Cy), married to Ed in F2.
constexpr std::string_view kAnn = R"(0 @I1@ INDI
1 NAME Ann /Lee/
2 NICK Nancy
1 NAME Annie /Lee/
2 TYPE aka
1 SEX F
1 BIRT
2 DATE 1 JAN 1850
1 OCCU Weaver
2 DATE 1871
2 PLAC Leeds
2 SOUR @S1@
3 PAGE p. 4
1 ASSO @I4@
2 RELA Godmother
1 FAMC @F1@
2 PEDI adopted
1 FAMS @F2@
1 OBJE @M1@
1 _UID 1234
1 RIN 7
0 @I2@ INDI
1 NAME Bo /Lee/
1 SEX M
1 FAMS @F1@
0 @I3@ INDI
1 NAME Cy /Day/
1 FAMS @F1@
0 @I4@ INDI
1 NAME Di /Fox/
0 @I5@ INDI
1 NAME Ed /Ray/
1 FAMS @F2@
0 @F1@ FAM
1 HUSB @I2@
1 WIFE @I3@
1 CHIL @I1@
0 @F2@ FAM
1 HUSB @I5@
1 WIFE @I1@
1 MARR
2 DATE 1875
1 MARR
2 DATE 1880
1 EVEN
2 TYPE Separation
2 DATE 1890
2 NOTE Lived apart.
1 OBJE @M1@
0 @M1@ OBJE
1 FILE a.jpg
1 TITL Portrait
0 @S1@ SOUR
1 TITL Mill wages
0 TRLR
)";

TEST(FactRowsOrder, FactsThenLinksThenFamiliesThenMediaThenOtherData) {
    const test::LoadedDoc loaded = test::LoadText(kAnn);
    const CStirpexDoc& doc = *loaded.doc;
    const std::vector<FactRow> rows = BuildFactRows(doc, *doc.FindPerson("I1"));
    Rows described;
    std::vector<RowGroup> groups;
    for (const FactRow& row : rows) {
        described.push_back(describe(row));
        groups.push_back(row.group);
    }
    const Rows expected = {
        "Nickname:Nancy",
        "Also known as:Annie Lee",
        "Occupation:Weaver, 1871, Leeds",
        "Associate:[Fox, Di (?-?)] (Godmother)",
        "Child of:[Lee, Bo (?-?)] and [Day, Cy (?-?)] (adopted)",
        "Family:with [Ray, Ed (?-?)]",
        // The fixed "Married" line shows the last date; the earlier marriage has a row.
        "Marriage:1875",
        "Separation:1890",
        "Media:{Portrait (a.jpg)}",
        "Media:{Portrait (a.jpg)} (family with Ed Ray)",
        "Unique identifier:1234",
        "Record ID number:7",
    };
    EXPECT_EQ(described, expected);
    using G = RowGroup;
    EXPECT_EQ(groups, (std::vector<G>{G::Facts, G::Facts, G::Facts, G::Associations, G::Associations, G::Family,
                                      G::Family, G::Family, G::Media, G::Media, G::OtherData, G::OtherData}));
    // The links go to the people they name, and a family's rows to their family.
    EXPECT_EQ(rows[3].value[0].person, doc.FindPerson("I4"));
    EXPECT_EQ(rows[4].value[0].person, doc.FindPerson("I2"));
    EXPECT_EQ(rows[4].value[2].person, doc.FindPerson("I3"));
    EXPECT_EQ(rows[5].value[1].person, doc.FindPerson("I5"));
    for (std::size_t i = 5; i < 8; ++i) {
        EXPECT_EQ(rows[i].family, doc.FindFamily("F2")) << i;
    }
    EXPECT_EQ(rows[5].fact, -1);
    EXPECT_EQ(rows[8].value[0].media, doc.FindExtObj("M1"));
}

TEST(FactRowsClassic, RowOnlyWhenTheFixedRowLeavesSomethingUnsaid) {
    const struct {
        std::string_view lines;
        Rows rows;
    } cases[] = {
        {"1 BIRT\n2 DATE 1850\n2 PLAC York\n", {}},
        {"1 BIRT Y\n1 DEAT\n", {}},
        // The fixed row shows the last date given: the first birth's is the one to list.
        {"1 BIRT\n2 DATE 1850\n1 BIRT\n2 DATE 1851\n", {"Birth:1850"}},
        {"1 BIRT\n2 DATE 1850\n1 BIRT\n2 PLAC York\n", {}},
        {"1 BIRT\n2 PLAC York\n1 BIRT\n2 DATE 1851\n2 PLAC Hull\n", {"Birth:York"}},
        {"1 DEAT\n2 DATE 1900\n2 CAUS Fever\n", {"Death:1900, cause: Fever"}},
        {"1 BURI\n2 PLAC Leeds\n2 NOTE In the rain.\n", {"Burial:Leeds"}},
        {"1 CHR\n2 TYPE Catholic\n", {"Christening:Catholic"}},
        // Bookkeeping alone: the event's row stays fixed and the lines go to Other data.
        {"1 BIRT\n2 DATE 1850\n2 _UID 77\n2 RIN 3\n", {"Birth: | Unique identifier: 77 | Record ID number: 3"}},
        {"1 RIN 12\n", {"Record ID number:12"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOfLines(c.lines), c.rows) << c.lines;
    }
}

TEST(FactRowsClassic, BookkeepingRowsGoUnderOtherData) {
    const test::LoadedDoc loaded = test::LoadText("0 @I1@ INDI\n1 BIRT\n2 _UID 77\n1 OCCU Smith\n0 TRLR\n");
    const std::vector<FactRow> rows = BuildFactRows(*loaded.doc, *loaded.doc->FindPerson("I1"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].group, RowGroup::Facts);
    EXPECT_EQ(rows[1].group, RowGroup::OtherData);
    EXPECT_EQ(rows[1].fact, 0);
}

TEST(FactRowsLabels, TypesNamesAndEventsThatDidNotHappen) {
    const struct {
        std::string_view lines;
        Rows rows;
    } cases[] = {
        {"1 EVEN\n2 TYPE Militia\n2 DATE 1812\n", {"Militia:1812"}},
        {"1 FACT Brown\n2 TYPE Eye colour\n", {"Eye colour:Brown"}},
        {"1 EVEN Left home\n", {"Event:Left home"}},
        {"1 RESI\n2 TYPE Lodger\n2 PLAC Hull\n", {"Residence:Lodger, Hull"}},
        {"1 NAME Nan /Lee/\n2 NICK Nancy\n", {"Nickname:Nancy (Nan Lee)"}},
        {"1 NAME Ann /Fox/\n2 TYPE married\n", {"Married name:Ann Fox"}},
        {"1 NAME Nan /Lee/\n2 TYPE pen name\n", {"pen name:Nan Lee"}},
        {"1 TITL Queen\n1 _MILT Navy\n2 DATE 1800\n", {"Title:Queen", "_MILT:Navy, 1800"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOfLines(c.lines), c.rows) << c.lines;
    }
}

TEST(FactRowsLabels, FamilyThatDidNotMarry) {
    const test::LoadedDoc loaded =
        test::LoadText("0 @I1@ INDI\n1 FAMS @F1@\n0 @I2@ INDI\n1 NAME Bo /Ray/\n1 FAMS @F1@\n"
                       "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n1 NO MARR\n2 DATE 1870\n1 DIV\n2 DATE 1880\n"
                       "1 DIV\n2 DATE 1885\n0 TRLR\n");
    EXPECT_EQ(rowsOf(*loaded.doc, "I1"), (Rows{"Family:with [Ray, Bo (?-?)]", "No marriage:1870", "Divorce:1880"}));
}

// Parent families, associations and the children's relation to their families.
constexpr std::string_view kFamilies = R"(0 @I1@ INDI
1 NAME Ann /Lee/
1 FAMC @F1@
2 PEDI foster
1 FAMC @F2@
1 ADOP
2 FAMC @F3@
1 FAMC @F3@
1 ASSO @I9@
2 RELA Friend
1 ASSO @VOID@
2 ROLE Witness
0 @I2@ INDI
1 NAME Bo /Lee/
1 FAMS @F1@
1 FAMS @F3@
0 @I3@ INDI
1 NAME Cy /Day/
1 FAMS @F2@
0 @F1@ FAM
1 HUSB @I2@
1 CHIL @I1@
0 @F2@ FAM
1 WIFE @I3@
1 CHIL @I1@
0 @F3@ FAM
1 HUSB @I2@
1 CHIL @I1@
0 TRLR
)";

TEST(FactRowsLinks, ParentFamiliesWithTheirRelationAndAssociations) {
    const test::LoadedDoc loaded = test::LoadText(kFamilies);
    const Rows expected = {
        "Adoption: | Child of: @F3@",
        "Child of:[Lee, Bo (?-?)] and Unknown (foster)",
        // Replaced by the FAMC after it: the record no longer links it, its row does.
        "Child of:Unknown and [Day, Cy (?-?)]",
        "Associate:@I9@ (Friend)",
        "Associate:Unknown (Witness)",
    };
    EXPECT_EQ(rowsOf(*loaded.doc, "I1"), expected);
    const CPerson& ann = *loaded.doc->FindPerson("I1");
    EXPECT_EQ(ChildRelation(ann, "F1"), "foster");
    EXPECT_EQ(ChildRelation(ann, "F2"), "");
    EXPECT_EQ(ChildRelation(ann, "F3"), "adopted");
    EXPECT_EQ(ChildRelation(ann, "F9"), "");
}

TEST(FactRowsLinks, ParentFamilyThatNamesNoRecordSaysSo) {
    EXPECT_EQ(rowsOfLines("1 FAMC @F9@\n2 PEDI adopted\n"), (Rows{"Child of:(missing) (adopted)"}));
    EXPECT_EQ(rowsOfLines("1 FAMC @F9@\n1 FAMC @F8@\n"), (Rows{"Child of:(missing)"}));
    EXPECT_EQ(rowsOfLines("1 FAMC @F9@\n2 PEDI birth\n"), (Rows{"Child of:(missing) | Pedigree: birth"}));
}

TEST(FactRowsLinks, ParentsPageListsTheChildAsAdoptedOrFoster) {
    PageFixture f(kFamilies);
    f.show("I2");
    f.paint();
    EXPECT_EQ(f.op("Spouse 1:").y + 20, f.op("Lee, Ann (?-?) (foster)").y);
    EXPECT_TRUE(f.drew("Lee, Ann (?-?) (adopted)"));
    f.show("I3");
    f.paint();
    EXPECT_TRUE(f.drew("Lee, Ann (?-?)"));
}

TEST(FactRowsLinks, ReplacedHusbandKeepsARowInTheFamily) {
    const test::LoadedDoc loaded =
        test::LoadText("0 @I1@ INDI\n1 FAMS @F1@\n0 @I2@ INDI\n1 NAME Bo /Ray/\n0 @I3@ INDI\n1 NAME Al /Ray/\n"
                       "0 @F1@ FAM\n1 HUSB @I2@\n1 HUSB @I3@\n1 WIFE @I1@\n0 TRLR\n");
    EXPECT_EQ(rowsOf(*loaded.doc, "I1"), (Rows{"Family:with [Ray, Al (?-?)]", "Husband:[Ray, Bo (?-?)]"}));
}

TEST(FactValueText, PartsInOrderAndAddressLines) {
    const struct {
        std::string_view lines;
        Rows rows;
    } cases[] = {
        {"1 OCCU Miner\n2 TYPE Coal\n2 DATE 3 MAR 1901\n3 TIME 10:15\n2 PLAC Wigan\n2 AGE 20y\n2 AGNC NCB\n",
         {"Occupation:Miner, Coal, 3 MAR 1901 10:15, Wigan, age 20y, agency: NCB"}},
        {"1 EVEN\n2 TYPE Duel\n2 CAUS Insult\n", {"Duel:cause: Insult"}},
        {"1 DSCR Tall\n2 CONT with a scar\n", {"Description:Tall | with a scar"}},
        {"1 ADDR 1 High St\n2 CONT Leeds\n2 POST LS1\n", {"Address:1 High St | Leeds | LS1"}},
        {"1 RESI\n2 ADDR 1 High St\n3 CONT Leeds\n", {"Residence: | Address: 1 High St |          Leeds"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOfLines(c.lines), c.rows) << c.lines;
    }
}

TEST(FactRowsMedia, PersonFactAndFamilyMediaAndAMissingRecord) {
    const test::LoadedDoc loaded =
        test::LoadText("0 @I1@ INDI\n1 OBJE @M1@\n1 BIRT\n2 DATE 1850\n2 OBJE @M2@\n1 FAMS @F1@\n"
                       "0 @I2@ INDI\n1 NAME Bo /Ray/\n1 FAMS @F1@\n0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n1 OBJE @M9@\n"
                       "1 MARR\n2 OBJE @M1@\n0 @M1@ OBJE\n1 FILE a.jpg\n0 @M2@ OBJE\n1 TITL Register\n0 TRLR\n");
    const Rows expected = {
        "Birth:1850",
        "Family:with [Ray, Bo (?-?)]",
        "Marriage:",
        "Media:{a.jpg}",
        "Media:{Register} (Birth)",
        "Media:(missing) (family with Bo Ray)",
        "Media:{a.jpg} (Marriage, family with Bo Ray)",
    };
    EXPECT_EQ(rowsOf(*loaded.doc, "I1"), expected);
}

// The drawn rows: where the section starts, its value column and its links.
constexpr std::string_view kDrawn = "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 OCCU Weaver\n2 NOTE Wove silk.\n2 SOUR @S1@\n"
                                    "1 EVEN\n2 TYPE A very long name of an event\n2 DATE 1880\n"
                                    "1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I1@\n1 EVEN Parted\n2 SOUR @S1@\n"
                                    "0 @S1@ SOUR\n1 TITL Parish book\n0 TRLR\n";

TEST(FactRowsDrawn, ValueColumnMakesRoomForLabelsUpToTwiceTheFixedOne) {
    PageFixture f(kDrawn);
    f.paint();
    // "A very long name of an event" is 28 characters (224 pixels): past the
    // widest room the column makes, its value goes on the next line.
    EXPECT_EQ(f.op("Occupation").y, f.op("Spouse:").y + 20);
    EXPECT_EQ(f.op("Weaver").x, 200);
    EXPECT_EQ(f.op("Weaver").y, f.op("Occupation").y);
    EXPECT_EQ(f.op("1880").x, 200);
    EXPECT_EQ(f.op("1880").y, f.op("A very long name of an event").y + 20);
    EXPECT_EQ(f.op("Family").y, f.op("1880").y + 20);
    EXPECT_EQ(f.op("Parted").y, f.op("Family").y + 20);

    PageFixture plain("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 OCCU Weaver\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I1@\n0 TRLR\n");
    plain.paint();
    EXPECT_EQ(plain.op("Weaver").x, 100); // "Occupation" fits the fixed column
}

TEST(FactRowsDrawn, PageWithoutFactsEndsAsBefore) {
    PageFixture bare("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 BIRT\n2 DATE 1850\n2 SOUR @S1@\n0 @S1@ SOUR\n0 TRLR\n");
    PageFixture withFact("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 BIRT\n2 DATE 1850\n2 SOUR @S1@\n1 OCCU Smith\n"
                         "0 @S1@ SOUR\n0 TRLR\n");
    const int bareHeight = bare.paint().height;
    EXPECT_EQ(bareHeight, 120); // "Spouses: None." is the last line
    EXPECT_EQ(bare.surface.ops().back().text, "None.");
    EXPECT_EQ(withFact.paint().height, bareHeight + 40);
}

TEST(FactRowsDrawn, FactLinksOpenThatFactsTexts) {
    PageFixture f(kDrawn);
    f.paint();
    const CStirpexDoc& doc = f.doc();
    const CPerson& ann = *f.person("I1");
    std::vector<const PageLink*> factLinks;
    for (const PageLink& link : f.page.Links()) {
        if (link.nTopic == TOPIC_FACT || link.nTopic == TOPIC_FAMILY_FACT) {
            factLinks.push_back(&link);
        }
    }
    ASSERT_EQ(factLinks.size(), 3u);
    const PageLink& notes = *factLinks[0];
    const PageLink& sources = *factLinks[1];
    const PageLink& family = *factLinks[2];
    EXPECT_EQ(notes.nKind, LINK_NOTES);
    EXPECT_EQ(sources.nKind, LINK_SOURCES);
    EXPECT_EQ(notes.rect.top, f.op("Occupation").y);
    EXPECT_EQ(sources.rect.top, f.op("Occupation").y);
    EXPECT_EQ((std::vector<int>{notes.nTopic, notes.nIndex, notes.nFact}),
              (std::vector<int>{TOPIC_FACT, ann.m_nIndex, 0}));
    EXPECT_EQ((std::vector<int>{family.nKind, family.nTopic, family.nIndex, family.nFact}),
              (std::vector<int>{LINK_SOURCES, TOPIC_FAMILY_FACT, doc.FindFamily("F1")->m_nIndex, 0}));
    EXPECT_EQ(family.rect.top, f.op("Parted").y);

    const StoryText noteText = AssembleStory(doc, ann, notes.nKind, notes.nTopic, nullptr, notes.nFact);
    EXPECT_EQ(noteText.heading, "Occupation notes");
    EXPECT_EQ(noteText.text, "Wove silk.\r\n");
    const StoryText sourceText = AssembleStory(doc, ann, sources.nKind, sources.nTopic, nullptr, sources.nFact);
    EXPECT_EQ(sourceText.caption, "Occupation sources for Ann Lee");
    EXPECT_EQ(sourceText.text.substr(0, 11), "Parish book");
    const CFamily* f1 = doc.FindFamily("F1");
    const StoryText familyText = AssembleStory(doc, ann, family.nKind, family.nTopic, f1, family.nFact);
    EXPECT_EQ(familyText.heading, "Event sources");
    EXPECT_EQ(familyText.text, sourceText.text);
    // No link is drawn over another.
    const std::vector<PageLink>& links = f.page.Links();
    for (std::size_t i = 0; i < links.size(); ++i) {
        for (std::size_t k = i + 1; k < links.size(); ++k) {
            const PageRect &a = links[i].rect, &b = links[k].rect;
            const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            EXPECT_FALSE(overlap) << i << " " << k;
        }
    }
}

TEST(FactRowsDrawn, OddInputsDrawWithoutOverlap) {
    const std::string label(5000, 'L');
    PageFixture f("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 EVEN Value\n2 TYPE " + label +
                  "\n2 SOUR @S1@\n1 FAMC @F9@\n1 FAMC @F8@\n1 ASSO @VOID@\n0 @S1@ SOUR\n0 TRLR\n");
    f.paint(300);
    const std::vector<FactRow> rows = BuildFactRows(f.doc(), *f.person("I1"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(f.op("Value").y, f.op("Associate").y - 40); // the value under its label, the parents row after
    EXPECT_EQ(f.op("Value").x, 200);
    // Its Sources link stands on the value's line, right of the label's shown text.
    const PageLink* sources = nullptr;
    for (const PageLink& link : f.page.Links()) {
        sources = link.nTopic == TOPIC_FACT ? &link : sources;
    }
    ASSERT_NE(sources, nullptr);
    EXPECT_EQ(sources->rect.top, f.op("Value").y);
    EXPECT_GE(sources->rect.left, f.page.PageWidth() - 60);
    EXPECT_GT(sources->rect.left, 2000 * 8);
}

} // namespace
} // namespace stirpex
