#include "model/stirpex_doc.h"

#include "gedcom/test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace stirpex {
namespace {

std::string Id(const CPerson* person) {
    return person ? std::string(person->m_strID.view()) : std::string("(null)");
}

TEST(StirpexDocLookups, DuplicateKeyFindsTheLaterRecordAndKeepsBothInTheTable) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME First /One/\n0 @I1@ INDI\n1 NAME Second /One/\n"
                                       "0 @F1@ FAM\n0 @F1@ FAM\n1 HUSB @I1@\n");
    const CStirpexDoc& doc = *loaded.doc;
    ASSERT_EQ(doc.m_nPersons, 2);
    ASSERT_EQ(doc.m_ppPersons.size(), 2U);
    EXPECT_EQ(doc.m_ppPersons[0]->m_strGivenNames.view(), "First");
    EXPECT_EQ(doc.m_ppPersons[1]->m_nIndex, 1);
    EXPECT_EQ(doc.FindPerson("I1"), doc.m_ppPersons[1].get());
    EXPECT_EQ(doc.m_nFamilies, 2);
    EXPECT_EQ(doc.FindFamily("F1"), doc.m_ppFamilies[1].get());
}

TEST(StirpexDocLookups, KeysAreComparedExactly) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n0 @N1@ NOTE\n0 @S1@ SOUR\n0 @O1@ OBJE\n0 @F1@ FAM\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_NE(doc.FindPerson("I1"), nullptr);
    EXPECT_NE(doc.FindFamily("F1"), nullptr);
    EXPECT_NE(doc.FindNote("N1"), nullptr);
    EXPECT_NE(doc.FindSource("S1"), nullptr);
    EXPECT_NE(doc.FindExtObj("O1"), nullptr);
    for (const char* key : {"i1", "I1 ", "I", "", "@I1@"}) {
        EXPECT_EQ(doc.FindPerson(key), nullptr) << key;
    }
    EXPECT_EQ(doc.FindFamily("I1"), nullptr);
    EXPECT_EQ(doc.FindNote("S1"), nullptr);
}

// Keys of 23 characters and more used to be cut to the empty key, so a father
// and his son met under one key: the father was shown as his son's spouse, and
// with 10,000-character keys one person was their own father, mother, spouse
// and child.
TEST(StirpexDocLookups, LongIdentifiersNameDistinctRecords) {
    for (const std::size_t length : {std::size_t{23}, std::size_t{10000}}) {
        const std::string stem(length - 1, 'A');
        const std::string dad = stem + "1";
        const std::string son = stem + "2";
        const std::string mum = stem + "3";
        const std::string family = std::string(length - 1, 'F') + "1";
        const auto loaded = test::LoadText("0 @" + dad + "@ INDI\n1 SEX M\n1 FAMS @" + family + "@\n0 @" + son +
                                           "@ INDI\n1 SEX M\n1 FAMC @" + family + "@\n0 @" + mum +
                                           "@ INDI\n1 SEX F\n1 FAMS @" + family + "@\n0 @" + family +
                                           "@ FAM\n1 HUSB @" + dad + "@\n1 WIFE @" + mum + "@\n1 CHIL @" + son + "@\n");
        const CStirpexDoc& doc = *loaded.doc;
        const CPerson* father = doc.FindPerson(dad);
        const CPerson* child = doc.FindPerson(son);
        const CFamily* parents = doc.FindFamily(family);
        ASSERT_NE(parents, nullptr) << length;
        EXPECT_EQ(Id(father), dad);
        EXPECT_EQ(Id(child), son);
        EXPECT_EQ(Id(doc.GetFather(child)), dad);
        EXPECT_EQ(Id(doc.GetMother(child)), mum);
        EXPECT_EQ(Id(doc.GetSpouse(father, parents)), mum);
        EXPECT_EQ(Id(doc.GetChild(parents, 0)), son);
        EXPECT_EQ(Id(doc.GetFather(father)), "(null)");
        EXPECT_EQ(doc.FindPerson(""), nullptr);
        EXPECT_EQ(doc.FindPerson(stem), nullptr);
    }
}

// An identifier without its closing '@' has the empty key; such records still meet under "".
TEST(StirpexDocLookups, UnterminatedIdentifiersMeetUnderTheEmptyKey) {
    const auto loaded = test::LoadText("0 @ABC INDI\n1 FAMC @DEF\n0 @GHI FAM\n1 WIFE @JKL\n");
    const CStirpexDoc& doc = *loaded.doc;
    const CPerson* person = doc.FindPerson("");
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person, doc.m_ppPersons[0].get());
    EXPECT_EQ(doc.GetMother(person), person);
    EXPECT_EQ(doc.GetFirstMaternalAncestor(person), person);
}

// Families: F1 has both parents; F2 names a husband that does not exist; F3 a wife only.
constexpr const char* kParents = "0 @DAD@ INDI\n1 SEX M\n0 @MUM@ INDI\n1 SEX F\n"
                                 "0 @KID@ INDI\n1 FAMC @F1@\n0 @HALF@ INDI\n1 FAMC @F2@\n"
                                 "0 @LOST@ INDI\n1 FAMC @F9@\n0 @NONE@ INDI\n"
                                 "0 @F1@ FAM\n1 HUSB @DAD@\n1 WIFE @MUM@\n1 CHIL @KID@\n1 CHIL @GHOST@\n"
                                 "0 @F2@ FAM\n1 HUSB @NOBODY@\n1 WIFE @MUM@\n0 @F3@ FAM\n1 WIFE @MUM@\n";

TEST(StirpexDocRelatives, MotherAndFatherComeFromTheParentFamily) {
    const auto loaded = test::LoadText(kParents);
    const CStirpexDoc& doc = *loaded.doc;
    struct Case {
        const char* key;
        const char* mother;
        const char* father;
    };
    const Case cases[] = {
        {"KID", "MUM", "DAD"},
        {"HALF", "MUM", "(null)"},
        {"LOST", "(null)", "(null)"},
        {"NONE", "(null)", "(null)"},
    };
    for (const Case& c : cases) {
        const CPerson* person = doc.FindPerson(c.key);
        ASSERT_NE(person, nullptr) << c.key;
        EXPECT_EQ(Id(doc.GetMother(person)), c.mother) << c.key;
        EXPECT_EQ(Id(doc.GetFather(person)), c.father) << c.key;
    }
    EXPECT_EQ(doc.GetMother(nullptr), nullptr);
    EXPECT_EQ(doc.GetFather(nullptr), nullptr);
}

// Someone the family does not name as a partner (a FAMS it does not answer).
TEST(StirpexDocRelatives, NeitherPartnerOnlyAManGetsTheWifeAsSpouse) {
    struct Case {
        const char* sexLine;
        const char* spouse;
    };
    const Case cases[] = {
        {"1 SEX M", "W"}, {"1 SEX F", "H"}, {"1 SEX U", "H"}, {"", "H"}, {"1 SEX m", "H"},
    };
    for (const Case& c : cases) {
        const auto loaded = test::LoadText(std::string("0 @P@ INDI\n") + c.sexLine +
                                           "\n0 @H@ INDI\n0 @W@ INDI\n0 @F@ FAM\n1 HUSB @H@\n1 WIFE @W@\n");
        const CStirpexDoc& doc = *loaded.doc;
        EXPECT_EQ(Id(doc.GetSpouse(doc.FindPerson("P"), doc.FindFamily("F"))), c.spouse) << c.sexLine;
        EXPECT_EQ(doc.GetSpouse(nullptr, doc.FindFamily("F")), nullptr);
        EXPECT_EQ(doc.GetSpouse(doc.FindPerson("P"), nullptr), nullptr);
    }
    const auto loaded = test::LoadText(kParents);
    EXPECT_EQ(loaded.doc->GetSpouse(loaded.doc->FindPerson("MUM"), loaded.doc->FindFamily("F2")), nullptr);
}

// The couple as the file records it: a husband without SEX, couples of two men
// and of two women, a wife whose SEX says M. Each partner's spouse is the other.
TEST(StirpexDocRelatives, EachPartnerGetsTheOtherWhateverTheSex) {
    struct Case {
        const char* husbandSex;
        const char* wifeSex;
    };
    const Case cases[] = {{"", "F"}, {"M", "M"}, {"F", "F"}, {"F", "M"}, {"U", ""}, {"M", "F"}};
    for (const Case& c : cases) {
        const auto loaded =
            test::LoadText(std::string("0 @H@ INDI\n1 SEX ") + c.husbandSex + "\n1 FAMS @F@\n" + "0 @W@ INDI\n1 SEX " +
                           c.wifeSex + "\n1 FAMS @F@\n" + "0 @F@ FAM\n1 HUSB @H@\n1 WIFE @W@\n");
        const CStirpexDoc& doc = *loaded.doc;
        const CFamily* family = doc.FindFamily("F");
        EXPECT_EQ(Id(doc.GetSpouse(doc.FindPerson("H"), family)), "W") << c.husbandSex << "+" << c.wifeSex;
        EXPECT_EQ(Id(doc.GetSpouse(doc.FindPerson("W"), family)), "H") << c.husbandSex << "+" << c.wifeSex;
    }
}

// Keys are compared whole (long identifiers such as UUIDs), not names.
TEST(StirpexDocRelatives, PartnerIsKnownByTheWholeKey) {
    const std::string husband(40, 'A'), lookalike = std::string(39, 'A') + "B";
    const auto loaded = test::LoadText("0 @" + husband + "@ INDI\n1 NAME Al /Ash/\n1 FAMS @F@\n" + "0 @" + lookalike +
                                       "@ INDI\n1 NAME Al /Ash/\n1 FAMS @F@\n" + "0 @W@ INDI\n1 SEX F\n" +
                                       "0 @F@ FAM\n1 HUSB @" + husband + "@\n1 WIFE @W@\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(Id(doc.GetSpouse(doc.FindPerson(husband), doc.FindFamily("F"))), "W");
    // Named like the husband but not him, and without SEX M: the husband is his partner.
    EXPECT_EQ(Id(doc.GetSpouse(doc.FindPerson(lookalike), doc.FindFamily("F"))), husband);
}

TEST(StirpexDocRelatives, ChildResolvesTheKeyAtTheIndex) {
    const auto loaded = test::LoadText(kParents);
    const CStirpexDoc& doc = *loaded.doc;
    const CFamily* family = doc.FindFamily("F1");
    EXPECT_EQ(Id(doc.GetChild(family, 0)), "KID");
    EXPECT_EQ(doc.GetChild(family, 1), nullptr);
}

TEST(StirpexDocAncestors, WalkEndsAtTheFirstPersonWithoutAParent) {
    const auto loaded = test::LoadText("0 @A@ INDI\n1 FAMC @F1@\n0 @B@ INDI\n1 FAMC @F2@\n0 @C@ INDI\n0 @D@ INDI\n"
                                       "0 @E@ INDI\n0 @F1@ FAM\n1 HUSB @D@\n1 WIFE @B@\n"
                                       "0 @F2@ FAM\n1 HUSB @E@\n1 WIFE @C@\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(Id(doc.GetFirstMaternalAncestor(doc.FindPerson("A"))), "C");
    EXPECT_EQ(Id(doc.GetFirstPaternalAncestor(doc.FindPerson("A"))), "D");
    EXPECT_EQ(Id(doc.GetFirstPaternalAncestor(doc.FindPerson("B"))), "E");
    EXPECT_EQ(Id(doc.GetFirstMaternalAncestor(doc.FindPerson("C"))), "C");
    EXPECT_EQ(Id(doc.GetFirstPaternalAncestor(doc.FindPerson("C"))), "C");
}

// A file whose parent links loop must not hang the walk.
TEST(StirpexDocAncestors, CycleEndsAtTheLastPersonNotYetMet) {
    const auto loaded = test::LoadText("0 @A@ INDI\n1 FAMC @FA@\n0 @B@ INDI\n1 FAMC @FB@\n0 @C@ INDI\n1 FAMC @FC@\n"
                                       "0 @S@ INDI\n1 FAMC @FS@\n"
                                       "0 @FA@ FAM\n1 WIFE @B@\n1 HUSB @B@\n0 @FB@ FAM\n1 WIFE @C@\n1 HUSB @C@\n"
                                       "0 @FC@ FAM\n1 WIFE @B@\n1 HUSB @B@\n0 @FS@ FAM\n1 WIFE @S@\n1 HUSB @S@\n");
    const CStirpexDoc& doc = *loaded.doc;
    // A -> B -> C -> B (met): the walk stops at C.
    EXPECT_EQ(Id(doc.GetFirstMaternalAncestor(doc.FindPerson("A"))), "C");
    EXPECT_EQ(Id(doc.GetFirstPaternalAncestor(doc.FindPerson("A"))), "C");
    // B -> C -> B: stops at C.
    EXPECT_EQ(Id(doc.GetFirstMaternalAncestor(doc.FindPerson("B"))), "C");
    // A person who is her own mother is her own first ancestor.
    EXPECT_EQ(Id(doc.GetFirstMaternalAncestor(doc.FindPerson("S"))), "S");
    EXPECT_EQ(Id(doc.GetFirstPaternalAncestor(doc.FindPerson("S"))), "S");
}

TEST(StirpexDocStartPerson, NoPersonsGivesAPlaceholderOutsideTheTables) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n");
    const StartPerson start = loaded.doc->GetStartPerson();
    ASSERT_NE(start.person, nullptr);
    EXPECT_EQ(start.person, start.placeholder.get());
    EXPECT_EQ(start.person->m_strSurname.view(), "Empty...");
    EXPECT_EQ(start.person->GetDisplayName(), "Empty...,  (?-?)");
    EXPECT_EQ(start.person->m_nIndex, -1);
    EXPECT_EQ(loaded.doc->m_nPersons, 0);
    EXPECT_EQ(loaded.doc->FindPerson(""), nullptr);
}

TEST(StirpexDocStartPerson, StartKeyChoosesThePersonAndOtherwiseTheFirst) {
    struct Case {
        const char* startId;
        const char* shown;
    };
    const Case cases[] = {{"", "I1"}, {"I2", "I2"}, {"I9", "I1"}, {"i2", "I1"}};
    for (const Case& c : cases) {
        const auto loaded = test::LoadText("0 @I1@ INDI\n0 @I2@ INDI\n");
        loaded.doc->m_strStartID = c.startId;
        const StartPerson start = loaded.doc->GetStartPerson();
        EXPECT_EQ(Id(start.person), c.shown) << c.startId;
        EXPECT_EQ(start.placeholder, nullptr);
    }
}

// The tables once grew in steps of 1000: records at and after each step must not be lost.
TEST(StirpexDocTables, IndexMatchesTablePositionAcrossGrowth) {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME N" + std::to_string(i) + "\n";
        if (i < 1001) {
            text += "0 @F" + std::to_string(i) + "@ FAM\n";
        }
    }
    const auto loaded = test::LoadText(text);
    const CStirpexDoc& doc = *loaded.doc;
    ASSERT_EQ(doc.m_nPersons, 2000);
    ASSERT_EQ(doc.m_ppPersons.size(), 2000U);
    ASSERT_EQ(doc.m_nFamilies, 1001);
    ASSERT_EQ(doc.m_ppFamilies.size(), 1001U);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(doc.m_ppPersons[i]->m_nIndex, i);
        ASSERT_EQ(doc.m_ppPersons[i]->m_strGivenNames.view(), "N" + std::to_string(i));
    }
    for (int i = 0; i < 1001; ++i) {
        ASSERT_EQ(doc.m_ppFamilies[i]->m_nIndex, i);
    }
    for (const int i : {999, 1000, 1999}) {
        const CPerson* person = doc.FindPerson("I" + std::to_string(i));
        ASSERT_NE(person, nullptr) << i;
        EXPECT_EQ(person->m_nIndex, i);
    }
    EXPECT_EQ(doc.FindFamily("F1000")->m_nIndex, 1000);
}

// A reader in parts enters each part's records while later parts are read:
// entered in batches, across the maps' growth and with keys repeated from an
// earlier batch, every key finds what one pass at the end finds (the later
// record for a repeated key).
TEST(StirpexDocLookups, RecordsMappedInBatchesFindWhatOnePassFinds) {
    constexpr int kPeople = 5000;
    const auto keyOf = [](int i) { return "I" + std::to_string(i % 3700); }; // the last 1300 repeat earlier keys
    CStirpexDoc batched;
    CStirpexDoc whole;
    batched.BeginBulkLoad();
    whole.BeginBulkLoad();
    for (int i = 0; i < kPeople; ++i) {
        batched.AddPerson(batched.Arena().copy(keyOf(i)));
        whole.AddPerson(whole.Arena().copy(keyOf(i)));
        batched.AddFamily(batched.Arena().copy("F" + std::to_string(i)));
        if (i == 0 || i == 900 || i == 2999 || i == 3700) {
            batched.MapRecordsSoFar();
        }
    }
    batched.EndBulkLoad();
    whole.EndBulkLoad();
    for (int i = 0; i < 3700; ++i) {
        const std::string key = keyOf(i);
        const CPerson* found = batched.FindPerson(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(found->m_nIndex, whole.FindPerson(key)->m_nIndex) << key;
        EXPECT_EQ(found->m_nIndex, i < kPeople - 3700 ? i + 3700 : i) << key;
    }
    EXPECT_EQ(batched.FindPerson("I3700"), nullptr);
    EXPECT_EQ(batched.FindFamily("F4999")->m_nIndex, 4999);
    EXPECT_EQ(batched.FindFamily("F0")->m_nIndex, 0);
}

// The key maps and the shared texts pick slots by this hash: a byte it
// passed over would put every key that differs only there in one slot, and
// a million such keys ("I1000001", "I1000002", ...) would make each lookup a
// walk. Every byte of keys of every length up to past two steps of eight
// must change it.
TEST(StirpexDocLookups, EveryByteOfAKeyChangesItsHash) {
    for (std::size_t length = 1; length <= 20; ++length) {
        const std::string key(length, '0');
        std::set<std::uint64_t> hashes{detail::hashKey(key)};
        for (std::size_t at = 0; at < length; ++at) {
            for (const char byte : {'1', '\xC3'}) {
                std::string changed = key;
                changed[at] = byte;
                EXPECT_TRUE(hashes.insert(detail::hashKey(changed)).second) << length << " at " << at;
            }
        }
    }
    EXPECT_NE(detail::hashKey("I1"), detail::hashKey(std::string_view("I1\0", 3)));
}

} // namespace
} // namespace stirpex
