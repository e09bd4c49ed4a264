#include "trees/tree_walks.h"

#include "gedcom/load_sinks.h"
#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"
#include "model/shown_text.h"
#include "tree_test_support.h"
#include "trees/lineage_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

class RecordingMessages final : public MessageSink {
public:
    void Show(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

// One document, its tree and the walks over it, as one showing of the dialog has them.
class Trees {
public:
    explicit Trees(std::string_view ged) : m_loaded(test::LoadText(ged)), walks(*m_loaded.doc, tree, &messages) {}

    const CPerson* person(std::string_view id) const {
        const CPerson* found = m_loaded.doc->FindPerson(id);
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    std::string open(std::string_view id, int kind) {
        walks.Open(person(id), kind);
        return test::Outline(tree);
    }
    bool allExpanded() const {
        for (TreeItem item = 0; item < tree.size(); ++item) {
            if (!tree.expanded(item)) {
                return false;
            }
        }
        return true;
    }

private:
    test::LoadedDoc m_loaded;

public:
    LineageTree tree;
    RecordingMessages messages;
    TreeWalks walks;
};

// ---- Ancestors ----

TEST(AncestorsTree, PersonWithoutParentsIsNodeOneWithTheSexImage) {
    struct Case {
        const char* sex;
        int image;
    };
    for (const Case& c : {Case{"1 SEX M\n", 1}, Case{"1 SEX F\n", 2}, Case{"", 2}, Case{"1 SEX U\n", 2}}) {
        Trees trees(std::string("0 @P@ INDI\n1 NAME Tom /Stone/\n") + c.sex);
        EXPECT_EQ(trees.open("P", TREE_ANCESTORS), std::to_string(c.image) + " 1  Stone, Tom (?-?) #0\n") << c.sex;
        EXPECT_TRUE(trees.tree.expanded(0));
        EXPECT_EQ(trees.tree.selected(), kNoTreeItem);
    }
}

TEST(AncestorsTree, MotherWithoutFatherIsNumberThree) {
    Trees trees("0 @C@ INDI\n1 NAME Kim /Reed/\n1 SEX F\n1 FAMC @F@\n0 @M@ INDI\n1 NAME Ann /Reed/\n1 SEX F\n"
                "0 @F@ FAM\n1 HUSB @NOBODY@\n1 WIFE @M@\n1 CHIL @C@\n");
    EXPECT_EQ(trees.open("C", TREE_ANCESTORS), "2 1  Reed, Kim (?-?) #0\n  0 3  Reed, Ann (?-?) #1\n");
}

// Person k of the file carries Ahnentafel number k; the family of k is Fk.
std::string FourGenerations() {
    std::string ged;
    for (int k = 1; k <= 15; ++k) {
        const std::string n = std::to_string(k);
        ged += "0 @A" + n + "@ INDI\n1 NAME N" + n + " /G/\n1 SEX " + (k % 2 == 0 || k == 1 ? "M" : "F") + "\n";
        if (k < 8) {
            ged += "1 FAMC @F" + n + "@\n";
        }
    }
    for (int k = 1; k < 8; ++k) {
        ged += "0 @F" + std::to_string(k) + "@ FAM\n1 HUSB @A" + std::to_string(2 * k) + "@\n1 WIFE @A" +
               std::to_string(2 * k + 1) + "@\n1 CHIL @A" + std::to_string(k) + "@\n";
    }
    return ged;
}

TEST(AncestorsTree, FathersBeforeMothersAndGreatGrandparentsEightToFifteen) {
    Trees trees(FourGenerations());
    EXPECT_EQ(trees.open("A1", TREE_ANCESTORS), "1 1  G, N1 (?-?) #0\n"
                                                "  0 2  G, N2 (?-?) #1\n"
                                                "    0 4  G, N4 (?-?) #3\n"
                                                "      0 8  G, N8 (?-?) #7\n"
                                                "      0 9  G, N9 (?-?) #8\n"
                                                "    0 5  G, N5 (?-?) #4\n"
                                                "      0 10  G, N10 (?-?) #9\n"
                                                "      0 11  G, N11 (?-?) #10\n"
                                                "  0 3  G, N3 (?-?) #2\n"
                                                "    0 6  G, N6 (?-?) #5\n"
                                                "      0 12  G, N12 (?-?) #11\n"
                                                "      0 13  G, N13 (?-?) #12\n"
                                                "    0 7  G, N7 (?-?) #6\n"
                                                "      0 14  G, N14 (?-?) #13\n"
                                                "      0 15  G, N15 (?-?) #14\n");
    EXPECT_TRUE(trees.allExpanded());
}

// P0 is the person; the parent of Pk is the father for even k, the mother for odd k.
std::string AlternatingLine(int generations) {
    std::string ged;
    for (int k = 0; k < generations; ++k) {
        const std::string n = std::to_string(k);
        ged += "0 @P" + n + "@ INDI\n1 NAME P" + n + " /Line/\n";
        if (k + 1 < generations) {
            ged += "1 FAMC @F" + n + "@\n";
        }
    }
    for (int k = 0; k + 1 < generations; ++k) {
        ged += "0 @F" + std::to_string(k) + "@ FAM\n1 " + (k % 2 == 0 ? "HUSB" : "WIFE") + " @P" +
               std::to_string(k + 1) + "@\n";
    }
    return ged;
}

TEST(AncestorsTree, NumbersStayExactPastThirtyTwoBitsAtGenerationSeventy) {
    Trees trees(AlternatingLine(70));
    trees.open("P0", TREE_ANCESTORS);
    ASSERT_EQ(trees.tree.size(), 70);
    EXPECT_EQ(trees.tree.text(31), "2863311530  Line, P31 (?-?)");
    EXPECT_EQ(trees.tree.text(69), "787061080478274202282  Line, P69 (?-?)");
    EXPECT_EQ(test::Depth(trees.tree, 69), 69);
}

// Ray's father Guy has Ray as his own father; Una's father is Guy again.
TEST(AncestorsTree, AncestorAlreadyOnThePathIsLeftOutButRepeatsInOtherBranchesStay) {
    Trees trees("0 @P@ INDI\n1 NAME Ray /Cole/\n1 SEX M\n1 FAMC @FA@\n"
                "0 @F@ INDI\n1 NAME Guy /Cole/\n1 SEX M\n1 FAMC @FB@\n"
                "0 @W@ INDI\n1 NAME Una /Dale/\n1 SEX F\n1 FAMC @FC@\n"
                "0 @FA@ FAM\n1 HUSB @F@\n1 WIFE @W@\n1 CHIL @P@\n0 @FB@ FAM\n1 HUSB @P@\n1 CHIL @F@\n"
                "0 @FC@ FAM\n1 HUSB @F@\n1 CHIL @W@\n");
    EXPECT_EQ(trees.open("P", TREE_ANCESTORS), "1 1  Cole, Ray (?-?) #0\n"
                                               "  0 2  Cole, Guy (?-?) #1\n"
                                               "  0 3  Dale, Una (?-?) #2\n"
                                               "    0 6  Cole, Guy (?-?) #1\n");
    EXPECT_TRUE(trees.allExpanded());
}

// ---- Descendants ----

// Tom has two families; Kim is a child in both.
constexpr const char* kTwoFamilies = "0 @DAD@ INDI\n1 NAME Tom /Stone/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F2@\n"
                                     "0 @ANN@ INDI\n1 NAME Ann /Reed/\n1 SEX F\n1 FAMS @F1@\n"
                                     "0 @BEA@ INDI\n1 NAME Bea /Moss/\n1 SEX F\n1 FAMS @F2@\n"
                                     "0 @KIM@ INDI\n1 NAME Kim /Stone/\n1 SEX F\n1 FAMC @F1@\n"
                                     "0 @LEE@ INDI\n1 NAME Lee /Stone/\n1 SEX M\n1 FAMC @F1@\n"
                                     "0 @MAX@ INDI\n1 NAME Max /Stone/\n1 SEX M\n1 FAMC @F2@\n"
                                     "0 @F1@ FAM\n1 HUSB @DAD@\n1 WIFE @ANN@\n1 CHIL @KIM@\n1 CHIL @LEE@\n"
                                     "0 @F2@ FAM\n1 HUSB @DAD@\n1 WIFE @BEA@\n1 CHIL @MAX@\n1 CHIL @KIM@\n";

constexpr const char* kTwoFamiliesShown = "1 Stone, Tom (?-?) #0\n"
                                          "  0 Reed, Ann (?-?) #1\n"
                                          "    2 Stone, Kim (?-?) #3\n"
                                          "    1 Stone, Lee (?-?) #4\n"
                                          "  0 Moss, Bea (?-?) #2\n"
                                          "    1 Stone, Max (?-?) #5\n"
                                          "    2 Stone, Kim (?-?) #3\n";

constexpr const char* kTwoFamiliesHidden = "1 Stone, Tom (?-?) #0\n"
                                           "  2 Stone, Kim (?-?) #3\n"
                                           "  1 Stone, Lee (?-?) #4\n"
                                           "  1 Stone, Max (?-?) #5\n"
                                           "  2 Stone, Kim (?-?) #3\n";

TEST(DescendantsTree, ManWithTwoFamiliesShowsAPartnerNodePerFamilyInKeyOrder) {
    Trees trees(kTwoFamilies);
    EXPECT_EQ(trees.open("DAD", TREE_DESCENDANTS), kTwoFamiliesShown);
    EXPECT_TRUE(trees.allExpanded());
    EXPECT_EQ(trees.tree.selected(), kNoTreeItem);
    EXPECT_TRUE(trees.messages.shown.empty());
}

TEST(DescendantsTree, TogglingPartnersRebuildsWithoutThemAndBack) {
    Trees trees(kTwoFamilies);
    trees.open("DAD", TREE_DESCENDANTS);
    trees.walks.OnIncludeSpouses();
    EXPECT_FALSE(trees.walks.SpousesChecked());
    EXPECT_EQ(test::Outline(trees.tree), kTwoFamiliesHidden);
    EXPECT_TRUE(trees.allExpanded());
    trees.walks.OnIncludeSpouses();
    EXPECT_TRUE(trees.walks.SpousesChecked());
    EXPECT_EQ(test::Outline(trees.tree), kTwoFamiliesShown);
    EXPECT_EQ(trees.tree.selected(), kNoTreeItem);
}

// Eve's first family has no husband, her second key names no family, her third family's husband is nobody.
TEST(DescendantsTree, UnknownPartnersHoldTheChildrenOrTheChildrenHangUnderHer) {
    Trees trees("0 @MUM@ INDI\n1 NAME Eve /Hart/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @NOFAM@\n1 FAMS @F2@\n"
                "0 @SON@ INDI\n1 NAME Abel /Hart/\n1 SEX M\n1 FAMC @F1@\n"
                "0 @GIRL@ INDI\n1 NAME Ada /Hart/\n1 SEX F\n1 FAMC @F2@\n"
                "0 @F1@ FAM\n1 WIFE @MUM@\n1 CHIL @SON@\n1 CHIL @GHOST@\n"
                "0 @F2@ FAM\n1 HUSB @NOBODY@\n1 WIFE @MUM@\n1 CHIL @GIRL@\n");
    EXPECT_EQ(trees.open("MUM", TREE_DESCENDANTS), "2 Hart, Eve (?-?) #0\n"
                                                   "  0 Unknown partner #-1\n"
                                                   "    1 Hart, Abel (?-?) #1\n"
                                                   "  0 Unknown partner #-1\n"
                                                   "  0 Unknown partner #-1\n"
                                                   "    2 Hart, Ada (?-?) #2\n");
    trees.walks.OnIncludeSpouses();
    EXPECT_EQ(test::Outline(trees.tree), "2 Hart, Eve (?-?) #0\n  1 Hart, Abel (?-?) #1\n  2 Hart, Ada (?-?) #2\n");
}

// Pat, husband of F1, has no SEX line; Kim and Lou, both women, are the
// husband and the wife of F2.
constexpr const char* kCouples = "0 @PAT@ INDI\n1 NAME Pat /Lowe/\n1 FAMS @F1@\n"
                                 "0 @VAL@ INDI\n1 NAME Val /Lowe/\n1 SEX F\n1 FAMS @F1@\n"
                                 "0 @SAM@ INDI\n1 NAME Sam /Lowe/\n1 SEX M\n1 FAMC @F1@\n"
                                 "0 @KIM@ INDI\n1 NAME Kim /Ash/\n1 SEX F\n1 FAMS @F2@\n"
                                 "0 @LOU@ INDI\n1 NAME Lou /Ash/\n1 SEX F\n1 FAMS @F2@\n"
                                 "0 @ADA@ INDI\n1 NAME Ada /Ash/\n1 SEX F\n1 FAMC @F2@\n"
                                 "0 @F1@ FAM\n1 HUSB @PAT@\n1 WIFE @VAL@\n1 CHIL @SAM@\n"
                                 "0 @F2@ FAM\n1 HUSB @KIM@\n1 WIFE @LOU@\n1 CHIL @ADA@\n";

TEST(DescendantsTree, PartnerIsTheOtherOfTheCoupleWhateverTheSex) {
    Trees trees(kCouples);
    EXPECT_EQ(trees.open("PAT", TREE_DESCENDANTS),
              "2 Lowe, Pat (?-?) #0\n  0 Lowe, Val (?-?) #1\n    1 Lowe, Sam (?-?) #2\n");
    EXPECT_EQ(trees.open("KIM", TREE_DESCENDANTS),
              "2 Ash, Kim (?-?) #3\n  0 Ash, Lou (?-?) #4\n    2 Ash, Ada (?-?) #5\n");
    EXPECT_EQ(trees.open("LOU", TREE_DESCENDANTS),
              "2 Ash, Lou (?-?) #4\n  0 Ash, Kim (?-?) #3\n    2 Ash, Ada (?-?) #5\n");
}

// Guy, Ray's son, is Ray's father; Una is listed as a child of her own marriage.
TEST(DescendantsTree, DescendantAlreadyOnThePathAsPersonOrPartnerIsLeftOut) {
    Trees trees("0 @P@ INDI\n1 NAME Ray /Cole/\n1 SEX M\n1 FAMS @F1@\n"
                "0 @W@ INDI\n1 NAME Una /Cole/\n1 SEX F\n1 FAMS @F1@\n"
                "0 @S@ INDI\n1 NAME Guy /Cole/\n1 SEX M\n1 FAMS @F2@\n"
                "0 @F1@ FAM\n1 HUSB @P@\n1 WIFE @W@\n1 CHIL @W@\n1 CHIL @S@\n0 @F2@ FAM\n1 HUSB @S@\n1 CHIL @P@\n");
    EXPECT_EQ(trees.open("P", TREE_DESCENDANTS), "1 Cole, Ray (?-?) #0\n"
                                                 "  0 Cole, Una (?-?) #1\n"
                                                 "    1 Cole, Guy (?-?) #2\n"
                                                 "      0 Unknown partner #-1\n");
    // Without partner nodes Una is on no path when she is met as a child.
    trees.walks.OnIncludeSpouses();
    EXPECT_EQ(test::Outline(trees.tree), "1 Cole, Ray (?-?) #0\n"
                                         "  2 Cole, Una (?-?) #1\n"
                                         "    1 Cole, Guy (?-?) #2\n"
                                         "  1 Cole, Guy (?-?) #2\n");
}

// A node operation the tree control may refuse: the partner image.
class RefusingPartnerImages final : public TreeNodes {
public:
    explicit RefusingPartnerImages(LineageTree& tree) : m_tree(tree) {}
    TreeItem insert(TreeItem parent, std::string text) override { return m_tree.insert(parent, std::move(text)); }
    bool setImage(TreeItem item, int image) override { return image != IMAGE_PARTNER && m_tree.setImage(item, image); }
    void setPerson(TreeItem item, std::int32_t person) override { m_tree.setPerson(item, person); }
    void expand(TreeItem item) override { m_tree.expand(item); }
    void ensureVisible(TreeItem item) override { m_tree.ensureVisible(item); }
    void select(TreeItem item) override { m_tree.select(item); }
    void deleteAll() override { m_tree.deleteAll(); }
    void markCut() override { m_tree.markCut(); }

private:
    LineageTree& m_tree;
};

TEST(DescendantsTree, RefusedPartnerImageIsReportedForEachPartnerAndTheWalkGoesOn) {
    const auto loaded = test::LoadText(kTwoFamilies);
    LineageTree tree;
    RefusingPartnerImages refusing(tree);
    RecordingMessages messages;
    TreeWalks walks(*loaded.doc, refusing, &messages);
    walks.Open(loaded.doc->FindPerson("DAD"), TREE_DESCENDANTS);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"SetItemImage failed", "SetItemImage failed"}));
    EXPECT_EQ(test::Outline(tree), kTwoFamiliesShown);
}

// ---- Mitochondrial DNA and Y chromosome ----

// Gran -> Meg -> Ned (the current person), Liz -> Joy; Kit has no sex 'M' or 'F' and a daughter.
constexpr const char* kMaternal =
    "0 @GM@ INDI\n1 NAME Gran /Ives/\n1 SEX F\n1 FAMS @F1@\n"
    "0 @MUM@ INDI\n1 NAME Meg /Ives/\n1 SEX F\n1 FAMC @F1@\n1 FAMS @NOFAM@\n1 FAMS @F2@\n"
    "0 @UNC@ INDI\n1 NAME Bob /Ives/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F4@\n"
    "0 @ME@ INDI\n1 NAME Ned /Park/\n1 SEX M\n1 FAMC @F2@\n1 FAMS @F5@\n"
    "0 @SIS@ INDI\n1 NAME Liz /Park/\n1 SEX F\n1 FAMC @F2@\n1 FAMS @F3@\n"
    "0 @NIECE@ INDI\n1 NAME Joy /Wolf/\n1 SEX F\n1 FAMC @F3@\n"
    "0 @ODD@ INDI\n1 NAME Kit /Park/\n1 SEX U\n1 FAMC @F2@\n1 FAMS @F6@\n"
    "0 @DOT@ INDI\n1 NAME Dot /Park/\n1 SEX F\n1 FAMC @F6@\n"
    "0 @COUSIN@ INDI\n1 NAME Roy /Ives/\n1 SEX M\n1 FAMC @F4@\n"
    "0 @IAN@ INDI\n1 NAME Ian /Park/\n1 SEX M\n1 FAMC @F5@\n"
    "0 @F1@ FAM\n1 WIFE @GM@\n1 CHIL @MUM@\n1 CHIL @UNC@\n"
    "0 @F2@ FAM\n1 WIFE @MUM@\n1 CHIL @ME@\n1 CHIL @SIS@\n1 CHIL @ODD@\n"
    "0 @F3@ FAM\n1 WIFE @SIS@\n1 CHIL @NIECE@\n0 @F4@ FAM\n1 HUSB @UNC@\n1 CHIL @COUSIN@\n"
    "0 @F5@ FAM\n1 HUSB @ME@\n1 CHIL @IAN@\n0 @F6@ FAM\n1 HUSB @ODD@\n1 CHIL @DOT@\n";

TEST(LineTrees, MitochondrialTreeOfAManStartsAtTheEarliestWomanAndSelectsHimAsALeaf) {
    Trees trees(kMaternal);
    EXPECT_EQ(trees.open("ME", TREE_MTDNA), "2 Ives, Gran (?-?) #0\n"
                                            "  2 Ives, Meg (?-?) #1\n"
                                            "    1 Park, Ned (?-?) #3\n"
                                            "    2 Park, Liz (?-?) #4\n"
                                            "      2 Wolf, Joy (?-?) #5\n"
                                            "    2 Park, Kit (?-?) #6\n"
                                            "  1 Ives, Bob (?-?) #2\n");
    EXPECT_EQ(trees.tree.selected(), 2);
    EXPECT_EQ(trees.tree.visibleItem(), 2);
    EXPECT_TRUE(trees.allExpanded());
    // Ian, Ned's son, is on no woman's line through Gran: the walk never meets him.
    trees.open("IAN", TREE_MTDNA);
    EXPECT_EQ(test::Outline(trees.tree), "1 Park, Ian (?-?) #9\n");
    EXPECT_EQ(trees.tree.selected(), 0);
}

TEST(LineTrees, PersonWithoutSexMOrFIsNotFollowedByEitherLine) {
    Trees trees(kCouples);
    EXPECT_EQ(trees.open("PAT", TREE_MTDNA), "2 Lowe, Pat (?-?) #0\n");
    EXPECT_EQ(trees.tree.selected(), 0);
    EXPECT_EQ(trees.open("PAT", TREE_YCHROMOSOME), "");
    EXPECT_EQ(trees.tree.selected(), kNoTreeItem);
    // Sam's paternal line ends at Pat, who is no man.
    EXPECT_EQ(trees.open("SAM", TREE_YCHROMOSOME), "");
    EXPECT_EQ(trees.open("SAM", TREE_MTDNA), "2 Lowe, Val (?-?) #1\n  1 Lowe, Sam (?-?) #2\n");
    EXPECT_EQ(trees.tree.selected(), 1);
}

constexpr const char* kPaternal = "0 @GF@ INDI\n1 NAME Old /Hale/\n1 SEX M\n1 FAMS @F1@\n"
                                  "0 @SON@ INDI\n1 NAME Jim /Hale/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F2@\n"
                                  "0 @DAU@ INDI\n1 NAME Sue /Hale/\n1 SEX F\n1 FAMC @F1@\n1 FAMS @F3@\n"
                                  "0 @GS@ INDI\n1 NAME Tim /Hale/\n1 SEX M\n1 FAMC @F2@\n"
                                  "0 @DS@ INDI\n1 NAME Rob /Kent/\n1 SEX M\n1 FAMC @F3@\n"
                                  "0 @GD@ INDI\n1 NAME Amy /Hale/\n1 SEX F\n1 FAMC @F2@\n"
                                  "0 @LONE@ INDI\n1 NAME Zoe /Lone/\n1 SEX F\n"
                                  "0 @F1@ FAM\n1 HUSB @GF@\n1 CHIL @SON@\n1 CHIL @DAU@\n"
                                  "0 @F2@ FAM\n1 HUSB @SON@\n1 CHIL @GD@\n1 CHIL @GS@\n"
                                  "0 @F3@ FAM\n1 HUSB @NOBODY@\n1 WIFE @DAU@\n1 CHIL @DS@\n";

TEST(LineTrees, YTreeListsMenOnlyAndNeverADaughtersSon) {
    Trees trees(kPaternal);
    const std::string line = "1 Hale, Old (?-?) #0\n  1 Hale, Jim (?-?) #1\n    1 Hale, Tim (?-?) #3\n";
    EXPECT_EQ(trees.open("GS", TREE_YCHROMOSOME), line);
    EXPECT_EQ(trees.tree.selected(), 2);
    EXPECT_EQ(trees.tree.visibleItem(), 2);
    // A woman with a father: her father's line, without her.
    EXPECT_EQ(trees.open("DAU", TREE_YCHROMOSOME), line);
    EXPECT_EQ(trees.tree.selected(), kNoTreeItem);
    EXPECT_EQ(trees.open("DS", TREE_YCHROMOSOME), "1 Kent, Rob (?-?) #4\n");
    EXPECT_EQ(trees.tree.selected(), 0);
    EXPECT_EQ(trees.open("LONE", TREE_YCHROMOSOME), "");
}

// Wyn lists her daughter Dee in two families; Dee has a daughter of her own.
TEST(LineTrees, CurrentPersonMetTwiceSelectsTheLastNode) {
    Trees trees("0 @W@ INDI\n1 NAME Wyn /Ash/\n1 SEX F\n1 FAMS @F1@\n1 FAMS @F2@\n"
                "0 @D@ INDI\n1 NAME Dee /Ash/\n1 SEX F\n1 FAMC @F1@\n1 FAMS @F3@\n"
                "0 @X@ INDI\n1 NAME Fay /Ash/\n1 SEX F\n1 FAMC @F3@\n"
                "0 @F1@ FAM\n1 WIFE @W@\n1 CHIL @D@\n0 @F2@ FAM\n1 WIFE @W@\n1 CHIL @D@\n"
                "0 @F3@ FAM\n1 WIFE @D@\n1 CHIL @X@\n");
    EXPECT_EQ(trees.open("D", TREE_MTDNA), "2 Ash, Wyn (?-?) #0\n"
                                           "  2 Ash, Dee (?-?) #1\n"
                                           "    2 Ash, Fay (?-?) #2\n"
                                           "  2 Ash, Dee (?-?) #1\n"
                                           "    2 Ash, Fay (?-?) #2\n");
    EXPECT_EQ(trees.tree.selected(), 3);
    EXPECT_EQ(trees.tree.visibleItem(), 3);
}

// Wyn's mother is her own daughter Dee: the maternal line stops at Dee, and Wyn's Dee is left out.
TEST(LineTrees, LineReturningToItselfEnds) {
    Trees trees("0 @W@ INDI\n1 NAME Wyn /Ash/\n1 SEX F\n1 FAMC @F2@\n1 FAMS @F1@\n"
                "0 @D@ INDI\n1 NAME Dee /Ash/\n1 SEX F\n1 FAMC @F1@\n1 FAMS @F2@\n"
                "0 @F1@ FAM\n1 WIFE @W@\n1 CHIL @D@\n0 @F2@ FAM\n1 WIFE @D@\n1 CHIL @W@\n");
    EXPECT_EQ(trees.open("W", TREE_MTDNA), "2 Ash, Dee (?-?) #1\n  2 Ash, Wyn (?-?) #0\n");
    EXPECT_EQ(trees.tree.selected(), 1);
}

// ---- The dialog around the walks ----

TEST(TreeDialog, TitlesAndCheckBoxPerKind) {
    Trees trees("0 @P@ INDI\n1 NAME William Emile /Harrow/\n1 SEX M\n0 @Q@ INDI\n1 NAME /Harrow/\n");
    struct Case {
        int kind;
        const char* title;
        bool enabled;
    };
    const Case cases[] = {
        {TREE_ANCESTORS, "Ancestors of William Emile Harrow", false},
        {TREE_DESCENDANTS, "Descendants of William Emile Harrow", true},
        {TREE_MTDNA, "Mitochondrial DNA of William Emile Harrow", false},
        {TREE_YCHROMOSOME, "Y Chromosome of William Emile Harrow", false},
        {0, "", false},
        {5, "", false},
    };
    for (const Case& c : cases) {
        trees.walks.m_bIncludeSpouses = false; // a previous showing's choice does not carry over
        const std::string outline = trees.open("P", c.kind);
        EXPECT_EQ(trees.walks.Title(), c.title) << c.kind;
        EXPECT_TRUE(trees.walks.SpousesChecked()) << c.kind;
        EXPECT_EQ(trees.walks.SpousesEnabled(), c.enabled) << c.kind;
        EXPECT_EQ(outline.empty(), c.title[0] == '\0') << c.kind;
    }
    trees.open("Q", TREE_DESCENDANTS);
    EXPECT_EQ(trees.walks.Title(), "Descendants of  Harrow");
}

// A 50 MB name once went whole into the title and into every node naming its
// person; an Ahnentafel number stays whole before a cut name.
TEST(TreeDialog, NamesLongerThanAnyScreenAreCutInTitleAndNodes) {
    const std::string name(kMaxShownCodePoints + 1, 'A');
    const std::string cut = std::string(kMaxShownCodePoints, 'A') + "\xE2\x80\xA6";
    Trees trees("0 @C@ INDI\n1 NAME /" + name + "/\n1 SEX M\n1 FAMC @F@\n0 @D@ INDI\n1 NAME /" + name +
                "/\n1 SEX M\n1 FAMS @F@\n0 @F@ FAM\n1 HUSB @D@\n1 CHIL @C@\n");
    trees.open("C", TREE_ANCESTORS);
    // The title names the person given names first: here none, then a blank.
    EXPECT_TRUE(trees.walks.Title() == "Ancestors of  " + cut.substr(1));
    ASSERT_EQ(trees.tree.size(), 2);
    EXPECT_TRUE(trees.tree.text(0) == "1  " + cut);
    EXPECT_TRUE(trees.tree.text(1) == "2  " + cut);
    for (const int kind : {TREE_DESCENDANTS, TREE_YCHROMOSOME}) {
        trees.open("D", kind);
        for (TreeItem item = 0; item < trees.tree.size(); ++item) {
            const std::string& text = trees.tree.text(item);
            EXPECT_TRUE(text == cut || text == "Unknown partner") << kind << ": " << text.substr(0, 10);
        }
    }
}

TEST(TreeDialog, ChoosingGivesTheNodesPersonOrKeepsTheCurrentOne) {
    Trees trees(kTwoFamilies);
    trees.open("LEE", TREE_DESCENDANTS);
    EXPECT_EQ(trees.walks.Choose(5), trees.person("MAX"));
    EXPECT_EQ(trees.walks.Choose(0), trees.person("DAD"));
    for (const std::int32_t index : {-1, 6, 1 << 30}) {
        EXPECT_EQ(trees.walks.Choose(index), trees.person("LEE")) << index;
    }
    EXPECT_EQ(trees.walks.Choose(trees.tree.selectedPerson()), trees.person("LEE"));
}

// ---- Limits ----

TEST(TreeLimits, CutKeepsTheFirstNodesInWalkOrderAndStillExpandsAndSelects) {
    Trees trees(kTwoFamilies);
    trees.walks.setLimits({4, kMaxTreeLabelBytes, kMaxTreeSteps});
    EXPECT_EQ(trees.open("DAD", TREE_DESCENDANTS), "1 Stone, Tom (?-?) #0\n"
                                                   "  0 Reed, Ann (?-?) #1\n"
                                                   "    2 Stone, Kim (?-?) #3\n"
                                                   "    1 Stone, Lee (?-?) #4\n");
    EXPECT_TRUE(trees.tree.cut());
    EXPECT_TRUE(trees.walks.cut());
    EXPECT_TRUE(trees.allExpanded());
    EXPECT_EQ(trees.tree.cutMessage(), "The tree is too large: only the first 4 entries are shown.");
    trees.walks.setLimits({});
    trees.walks.OnIncludeSpouses();
    EXPECT_EQ(test::Outline(trees.tree), kTwoFamiliesHidden);
    EXPECT_FALSE(trees.tree.cut());

    Trees line(kMaternal);
    line.walks.setLimits({3, kMaxTreeLabelBytes, kMaxTreeSteps});
    EXPECT_EQ(line.open("ME", TREE_MTDNA), "2 Ives, Gran (?-?) #0\n  2 Ives, Meg (?-?) #1\n    1 Park, Ned (?-?) #3\n");
    EXPECT_EQ(line.tree.selected(), 2);
    EXPECT_TRUE(line.allExpanded());
}

TEST(TreeLimits, AncestorsStopWhenTheLabelsPassTheirBudget) {
    Trees trees(AlternatingLine(40));
    // The first 25 labels exactly: "N  Line, Pk (?-?)".
    std::size_t budget = 0;
    unsigned long long number = 1;
    for (int k = 0; k < 25; ++k) {
        budget += std::to_string(number).size() + std::string("  Line, P (?-?)").size() + std::to_string(k).size();
        number = 2 * number + static_cast<unsigned long long>(k % 2);
    }
    trees.walks.setLimits({kMaxTreeNodes, budget, kMaxTreeSteps});
    trees.open("P0", TREE_ANCESTORS);
    EXPECT_EQ(trees.tree.size(), 25);
    EXPECT_EQ(trees.tree.cutMessage(), "The tree is too large: only the first 25 entries are shown.");
    trees.walks.setLimits({kMaxTreeNodes, budget + 1000, kMaxTreeSteps});
    trees.open("P0", TREE_ANCESTORS);
    EXPECT_EQ(trees.tree.size(), 40);
    EXPECT_FALSE(trees.tree.cut());
}

// Looking at relatives that are not there costs steps too: a family of a
// hundred children who are not on record ends the walk as a cut.
TEST(TreeLimits, WalkStopsAfterItsStepBudget) {
    std::string ged = "0 @MUM@ INDI\n1 NAME Eve /Hart/\n1 SEX F\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @MUM@\n";
    for (int i = 0; i < 100; ++i) {
        ged += "1 CHIL @GHOST" + std::to_string(i) + "@\n";
    }
    Trees trees(ged);
    trees.walks.setLimits({kMaxTreeNodes, kMaxTreeLabelBytes, 50});
    EXPECT_EQ(trees.open("MUM", TREE_DESCENDANTS), "2 Hart, Eve (?-?) #0\n  0 Unknown partner #-1\n");
    EXPECT_EQ(trees.tree.cutMessage(), "The tree is too large: only the first 2 entries are shown.");
    trees.walks.setLimits({kMaxTreeNodes, kMaxTreeLabelBytes, 200});
    trees.open("MUM", TREE_DESCENDANTS);
    EXPECT_FALSE(trees.tree.cut());
}

// Men M0 ... M(n-1), each the only child of the one before, built directly into the model.
std::unique_ptr<CStirpexDoc> MaleLine(int generations) {
    auto doc = std::make_unique<CStirpexDoc>();
    TextArena& arena = doc->Arena();
    const ArenaStr surname = arena.copy("Long");
    doc->BeginBulkLoad();
    ArenaStr personKey = arena.copy("M0");
    ArenaStr parentFamily;
    for (int i = 0; i < generations; ++i) {
        CPerson& person = doc->AddPerson(personKey);
        person.m_cSex = 'M';
        person.m_strSurname = surname;
        person.m_strParentFamily = parentFamily;
        if (i + 1 == generations) {
            break;
        }
        const ArenaStr familyKey = arena.copy("F" + std::to_string(i));
        const ArenaStr childKey = arena.copy("M" + std::to_string(i + 1));
        person.AddSpouseFamily(arena, familyKey);
        CFamily& family = doc->AddFamily(familyKey);
        family.m_strHusband = personKey;
        family.AddChild(arena, childKey);
        personKey = childKey;
        parentFamily = familyKey;
    }
    doc->EndBulkLoad();
    return doc;
}

TEST(TreeLimits, MillionGenerationsBuildAndPartnersOnTopAreCutAtAMillionNodes) {
    constexpr int kGenerations = 1000000;
    const auto doc = MaleLine(kGenerations);
    const CPerson* last = doc->m_ppPersons.back().get();
    LineageTree tree;
    TreeWalks walks(*doc, tree);

    // From the top man directly: finding him is the model's business, and slow to repeat here.
    walks.m_pPerson = last;
    walks.AddYLine(doc->m_ppPersons.front().get(), kTreeRoot);
    ASSERT_EQ(tree.size(), kGenerations);
    EXPECT_FALSE(tree.cut());
    EXPECT_EQ(tree.selected(), kGenerations - 1);
    EXPECT_EQ(tree.selectedPerson(), kGenerations - 1);
    EXPECT_EQ(test::Depth(tree, tree.selected()), kGenerations - 1);
    EXPECT_TRUE(tree.expanded(0));
    EXPECT_TRUE(tree.expanded(kGenerations - 1));

    // With a partner node per generation the tree would have two million nodes.
    walks.Open(doc->m_ppPersons.front().get(), TREE_DESCENDANTS);
    ASSERT_EQ(tree.size(), kMaxTreeNodes);
    EXPECT_TRUE(tree.cut());
    EXPECT_EQ(tree.cutMessage(), "The tree is too large: only the first 1000000 entries are shown.");
    EXPECT_EQ(tree.text(kMaxTreeNodes - 1), "Unknown partner");
    EXPECT_EQ(tree.person(kMaxTreeNodes - 2), kMaxTreeNodes / 2 - 1);
    EXPECT_EQ(test::Depth(tree, kMaxTreeNodes - 1), kMaxTreeNodes - 1);
    int closed = 0;
    for (TreeItem item = 0; item < tree.size(); ++item) {
        closed += tree.expanded(item) ? 0 : 1;
    }
    EXPECT_EQ(closed, 0);

    walks.OnIncludeSpouses();
    EXPECT_EQ(tree.size(), kGenerations);
    EXPECT_FALSE(tree.cut());
}

} // namespace
} // namespace stirpex
