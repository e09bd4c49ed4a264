// The record parser's facts: every event, attribute and other structure of an
// individual or family record, with the lines under it, kept in file order.

#include "gedcom/parser_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

using test::Citations;
using test::CitationsOf;
using test::FactTagged;
using test::FamilyOf;
using test::IsGeneratedKey;
using test::LoadIndi;
using test::NoteLines;
using test::PersonOf;
using test::SourceOf;
using test::TagsOf;
using test::Texts;
using test::TextsOf;

const FactList& PersonFacts(const test::LoadedDoc& loaded) {
    return PersonOf(loaded, "I1").Details().m_facts;
}

// ---- Events and their fields ----

TEST(RecordParserFactFields, EventKeepsEveryFieldItsLinesGive) {
    const auto loaded = LoadIndi("1 BIRT Y\n2 DATE ABT 3 MAY 1801\n3 TIME 10:30\n2 PLAC York\n2 AGE 0\n"
                                 "2 CAUS none\n2 AGNC Parish\n2 TYPE Home birth\n2 ADDR 1 Main St\n3 CONT Springfield\n"
                                 "3 CITY Springfield\n3 CTRY England\n2 AGE 1\n2 _X y\n1 DEAT\n2 CAUS fever");
    const FactList& facts = PersonFacts(loaded);
    EXPECT_EQ(TagsOf(facts), (Texts{"BIRT", "DEAT"}));
    const Fact& birth = FactTagged(facts, "BIRT");
    EXPECT_EQ(birth.m_strValue.view(), "Y");
    EXPECT_EQ(birth.m_strDate.view(), "ABT 3 MAY 1801 10:30");
    EXPECT_EQ(birth.m_strPlace.view(), "York");
    const FactDetails& d = birth.Details();
    EXPECT_EQ(FactParticular(birth, "AGE"), "0");
    EXPECT_EQ(FactParticular(birth, "CAUS"), "none");
    EXPECT_EQ(FactParticular(birth, "AGNC"), "Parish");
    EXPECT_EQ(d.m_strType.view(), "Home birth");
    // The city is in the lines already; the country is not.
    EXPECT_EQ(TextsOf(d.m_arrAddress), (Texts{"1 Main St", "Springfield", "England"}));
    // The particulars are lines, found by their tag: the first AGE is the one shown.
    EXPECT_EQ(TextsOf(d.m_arrLines), (Texts{"AGE 0", "CAUS none", "AGNC Parish", "AGE 1", "_X y"}));
    EXPECT_EQ(FactParticular(FactTagged(facts, "DEAT"), "CAUS"), "fever");
    EXPECT_EQ(PersonOf(loaded, "I1").Details().m_strBirthQualifier.view(), "c");
}

// OCCU, RESI and the like are facts of the person now, no longer notes.
TEST(RecordParserFactFields, AttributesKeepTheirValueWithItsContinuations) {
    const auto loaded = LoadIndi("1 OCCU Farmer\n2 CONT and miller\n2 DATE FROM 1850 TO 1860\n1 RESI\n2 ADDR\n"
                                 "3 CONT 2 Mill Lane\n1 EDUC\n2 CONT\n2 CONT Oxford\n1 TITL Queen of England");
    const FactList& facts = PersonFacts(loaded);
    EXPECT_EQ(TagsOf(facts), (Texts{"OCCU", "RESI", "EDUC", "TITL"}));
    EXPECT_EQ(FactTagged(facts, "OCCU").m_strValue.view(), "Farmer\nand miller");
    EXPECT_EQ(FactTagged(facts, "OCCU").m_strDate.view(), "FROM 1850 TO 1860");
    EXPECT_EQ(TextsOf(FactTagged(facts, "RESI").Details().m_arrAddress), (Texts{"2 Mill Lane"}));
    EXPECT_EQ(FactTagged(facts, "EDUC").m_strValue.view(), "\n\nOxford");
    EXPECT_EQ(FactTagged(facts, "TITL").m_strValue.view(), "Queen of England");
    EXPECT_EQ(PersonOf(loaded, "I1").Details().m_nNotes, 0);
    EXPECT_EQ(loaded.doc->m_nNotes, 0);
}

TEST(RecordParserFactFields, EvenAndFactTakeTheirTypeAsLabel) {
    const auto loaded = LoadIndi("1 EVEN Won a prize\n2 TYPE Award\n2 DATE 1900\n1 FACT Blue\n2 TYPE Eye colour\n"
                                 "1 EVEN\n1 FACT Tall");
    const FactList& facts = PersonFacts(loaded);
    ASSERT_EQ(TagsOf(facts), (Texts{"EVEN", "FACT", "EVEN", "FACT"}));
    const Texts labels{std::string(FactLabel(*facts.at(0))), std::string(FactLabel(*facts.at(1))),
                       std::string(FactLabel(*facts.at(2))), std::string(FactLabel(*facts.at(3)))};
    EXPECT_EQ(labels, (Texts{"Award", "Eye colour", "Event", "Fact"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "Won a prize");
    EXPECT_EQ(facts.at(0)->m_strDate.view(), "1900");
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "Blue");
}

// The old reader kept one marriage per family: each MARR is a fact, and the
// page's marriage row shows the last date and the last place given.
TEST(RecordParserFactFields, SecondMarriageInOneFamilyIsAFactOfItsOwn) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n1 MARR\n2 DATE 1850\n2 PLAC Leeds\n2 SOUR @S1@\n"
                                       "1 DIV\n2 DATE 1860\n1 MARR\n2 DATE 1870\n2 SOUR @S2@\n1 MARR\n2 PLAC York\n");
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(TagsOf(family.Details().m_facts), (Texts{"MARR", "DIV", "MARR", "MARR"}));
    EXPECT_EQ(FactTagged(family.Details().m_facts, "MARR", 1).m_strDate.view(), "1870");
    const EventSummary marriage = family.Event(ClassicEvent::Marriage);
    EXPECT_EQ(marriage.facts, 3);
    EXPECT_EQ(marriage.date, "1870");
    EXPECT_EQ(marriage.place, "York");
    EXPECT_EQ(marriage.sources, 2);
    EXPECT_EQ(test::EventCitations(family.Details().m_facts, ClassicEvent::Marriage),
              (Citations{{"S1", ""}, {"S2", ""}}));
    EXPECT_EQ(family.Event(ClassicEvent::Divorce).date, "1860");
}

// ---- Links ----

TEST(RecordParserFactLinks, AssociationKeepsItsPointerAndRelation) {
    const auto loaded = LoadIndi("1 ASSO @I2@\n2 RELA Godfather\n2 SOUR @S1@\n1 ASSO @I3@\n2 ROLE FRIEND\n"
                                 "3 PHRASE Best friend\n1 ASSO @I4@");
    const FactList& facts = PersonFacts(loaded);
    ASSERT_EQ(TagsOf(facts), (Texts{"ASSO", "ASSO", "ASSO"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "@I2@");
    EXPECT_EQ(facts.at(0)->Details().m_strType.view(), "Godfather");
    EXPECT_EQ(CitationsOf(*facts.at(0)), (Citations{{"S1", ""}}));
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "@I3@");
    EXPECT_EQ(facts.at(1)->Details().m_strType.view(), "FRIEND");
    EXPECT_EQ(TextsOf(facts.at(1)->Details().m_arrLines), Texts{"  PHRASE Best friend"});
    EXPECT_EQ(facts.at(2)->m_strValue.view(), "@I4@");
    EXPECT_FALSE(facts.at(2)->m_pDetails);
}

// An alias by name is a further name; an alias by pointer, which the name
// list cannot show, is kept as a fact.
TEST(RecordParserFactLinks, AliasPointerIsKeptAndAliasNameIsANameOnly) {
    const auto loaded = LoadIndi("1 NAME Ann /Lee/\n1 ALIA @I9@\n1 ALIA Nan /Lee/");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(TagsOf(person.Details().m_facts), Texts{"ALIA"});
    EXPECT_EQ(person.Details().m_facts.at(0)->m_strValue.view(), "@I9@");
    EXPECT_EQ(TextsOf(person.Details().m_arrAltGivenNames), Texts{"Nan"});
}

// The lines under a family link make a fact for it, so the page can tell an
// adopted child; a bare link makes none.
TEST(RecordParserFactLinks, FamilyLinkWithPedigreeOrAdoptionIsKept) {
    const auto loaded = LoadIndi("1 FAMC @F1@\n2 PEDI adopted\n1 FAMS @F3@\n1 ADOP\n2 DATE 1900\n2 FAMC @F2@\n"
                                 "3 ADOP HUSB\n1 FAMC @F2@");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strParentFamily.view(), "F2");
    const FactList& facts = person.Details().m_facts;
    ASSERT_EQ(TagsOf(facts), (Texts{"FAMC", "ADOP"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "@F1@");
    EXPECT_EQ(TextsOf(facts.at(0)->Details().m_arrLines), Texts{"PEDI adopted"});
    EXPECT_EQ(facts.at(1)->m_strDate.view(), "1900");
    EXPECT_EQ(TextsOf(facts.at(1)->Details().m_arrLines), (Texts{"FAMC @F2@", "  ADOP HUSB"}));
}

// The record keeps one name shown, sex, parents' family, husband and wife:
// the later line wins as it always has, and the earlier one is kept as a fact
// (once: the lines under it may have made one already).
TEST(RecordParserFactLinks, ReplacedLinesAreKeptAsFacts) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Blanche of Castile //\n1 NAME Blanche /Castile/\n"
                                       "1 SEX F\n1 SEX U\n1 FAMC @F1@\n2 PEDI birth\n1 FAMC @F2@\n1 FAMC @F3@\n"
                                       "0 @F9@ FAM\n1 HUSB @I1@\n1 HUSB @I2@\n1 WIFE @I3@\n1 WIFE @I3@\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strSurname.view(), "Castile");
    EXPECT_EQ(person.m_cSex, U'U');
    EXPECT_EQ(person.m_strParentFamily.view(), "F3");
    const FactList& facts = person.Details().m_facts;
    ASSERT_EQ(TagsOf(facts), (Texts{"NAME", "SEX", "FAMC", "FAMC"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "Blanche of Castile");
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "F");
    EXPECT_EQ(facts.at(2)->m_strValue.view(), "@F1@");
    EXPECT_EQ(TextsOf(facts.at(2)->Details().m_arrLines), Texts{"PEDI birth"});
    EXPECT_EQ(facts.at(3)->m_strValue.view(), "@F2@");
    const CFamily& family = FamilyOf(loaded, "F9");
    EXPECT_EQ(family.m_strHusband.view(), "I2");
    EXPECT_EQ(TagsOf(family.Details().m_facts), (Texts{"HUSB", "WIFE"}));
    EXPECT_EQ(family.Details().m_facts.at(0)->m_strValue.view(), "@I1@");
    EXPECT_EQ(family.Details().m_facts.at(1)->m_strValue.view(), "@I3@");
    EXPECT_EQ(LoadIndi("1 NAME John\n2 NICK Jo\n1 NAME John /Smith/").doc->FindPerson("I1")->Details().m_facts.size(),
              1);
}

// ---- Names ----

TEST(RecordParserFactNames, NamePartsAreKeptAsLinesOfTheNameAndRepeatsDropped) {
    const auto loaded = LoadIndi("1 NAME John /Smith/\n2 NPFX Dr.\n2 GIVN John\n2 NICK Jack\n2 SPFX van\n"
                                 "2 SURN Smith\n2 NSFX Jr.\n2 TYPE birth\n2 _MARNM Jones\n"
                                 "1 NAME Ann /Lee/\n2 GIVN Anna\n2 SURN Lee\n1 NAME Bo /Ray/\n2 GIVN Bo\n2 SURN Ray");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strGivenNames.view(), "John");
    const FactList& facts = person.Details().m_facts;
    ASSERT_EQ(TagsOf(facts), (Texts{"NAME", "NAME"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "John /Smith/");
    EXPECT_EQ(TextsOf(facts.at(0)->Details().m_arrLines),
              (Texts{"NPFX Dr.", "NICK Jack", "SPFX van", "NSFX Jr.", "TYPE birth", "_MARNM Jones"}));
    // A part that says something the name does not is kept.
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "Ann /Lee/");
    EXPECT_EQ(TextsOf(facts.at(1)->Details().m_arrLines), Texts{"GIVN Anna"});
}

// ---- What the reader does not understand ----

TEST(RecordParserFactOther, UnknownTagsKeepTheirLinesIndentedByLevel) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n1 _MILT Army\n2 DATE 1916\n2 _UNIT 5th\n3 _RANK Private\n"
                                       "4 _NOTE deep\n5 _DEEPER x\n6 _Y\n9 _Z z\n2 _BACK\n1 _EMPTY\n");
    const FactList& facts = FamilyOf(loaded, "F1").Details().m_facts;
    ASSERT_EQ(TagsOf(facts), (Texts{"_MILT", "_EMPTY"}));
    EXPECT_EQ(facts.at(0)->m_strValue.view(), "Army");
    EXPECT_EQ(facts.at(0)->m_strDate.view(), "1916");
    EXPECT_EQ(TextsOf(facts.at(0)->Details().m_arrLines),
              (Texts{"_UNIT 5th", "  _RANK Private", "    _NOTE deep", "      _DEEPER x", "        _Y",
                     "              _Z z", "_BACK"}));
    EXPECT_TRUE(facts.at(1)->m_strValue.empty());
    EXPECT_TRUE(IsOtherData(*facts.at(0)));
}

TEST(RecordParserFactOther, BookkeepingIsKeptAsOtherData) {
    const auto loaded = LoadIndi("1 CHAN\n2 DATE 1 JAN 2020\n3 TIME 12:00:00\n1 RIN 42\n1 _UID ABC\n1 REFN 7\n"
                                 "2 TYPE user");
    const FactList& facts = PersonFacts(loaded);
    ASSERT_EQ(TagsOf(facts), (Texts{"CHAN", "RIN", "_UID", "REFN"}));
    EXPECT_EQ(facts.at(0)->m_strDate.view(), "1 JAN 2020 12:00:00");
    EXPECT_EQ(facts.at(1)->m_strValue.view(), "42");
    EXPECT_EQ(facts.at(2)->m_strValue.view(), "ABC");
    EXPECT_EQ(facts.at(3)->Details().m_strType.view(), "user");
    for (const Fact& fact : facts) {
        EXPECT_TRUE(IsOtherData(fact)) << fact.m_strTag.view();
    }
}

// ---- A fact's notes, citations and objects ----

TEST(RecordParserFactTexts, FactHasItsOwnNotesAndCitations) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 RESI\n2 NOTE @N1@\n2 NOTE Lived\n3 CONT with aunt\n3 CONC ie\n"
                                       "2 SOUR @S1@\n3 PAGE p. 4\n3 DATA\n4 TEXT Entry\n5 CONT line two\n"
                                       "2 SOUR Census book\n3 TEXT quoted\n4 CONT more\n3 CONT of title\n"
                                       "1 NOTE own\n");
    const CPerson& person = PersonOf(loaded, "I1");
    const Fact& residence = FactTagged(person.Details().m_facts, "RESI");
    const FactDetails& d = residence.Details();
    ASSERT_EQ(d.notes(), 2);
    EXPECT_EQ(d.m_arrNotes[0].view(), "N1");
    EXPECT_EQ(NoteLines(loaded, d.m_arrNotes[1]), (Texts{"Lived", "with auntie"}));
    ASSERT_EQ(d.sources(), 2);
    EXPECT_EQ(CitationsOf(residence)[0], (std::pair<std::string, std::string>{"S1", "p. 4Entry\r\nline two"}));
    ASSERT_TRUE(IsGeneratedKey(d.m_arrSources[1]));
    const CSource& inlineSource = SourceOf(loaded, d.m_arrSources[1].view());
    EXPECT_EQ(inlineSource.m_strTitle.view(), "Census book of title");
    EXPECT_EQ(TextsOf(inlineSource.m_arrText), (Texts{"quoted", "more"}));
    EXPECT_TRUE(d.m_arrLines.empty());
    // The record's own note stays the record's.
    ASSERT_EQ(person.Details().m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, person.Details().m_arrNotes[0]), Texts{"own"});
}

TEST(RecordParserFactTexts, InlineSourceOfTheRecordKeepsItsTextAndContinuations) {
    const auto loaded = LoadIndi("1 SOUR Parish\n2 CONT register\n2 TEXT First\n3 CONT second\n2 PAGE 9");
    const PersonDetails& person = PersonOf(loaded, "I1").Details();
    ASSERT_EQ(person.m_nSources, 1);
    const CSource& source = SourceOf(loaded, person.m_arrSources[0].view());
    EXPECT_EQ(source.m_strTitle.view(), "Parish register");
    EXPECT_EQ(TextsOf(source.m_arrText), (Texts{"First", "second"}));
    EXPECT_EQ(person.m_arrSourceTexts[0].view(), "9");
    EXPECT_TRUE(person.m_facts.empty());
}

TEST(RecordParserFactTexts, ObjectsUnderAFactOrTheRecordKeepFileFormAndTitle) {
    const auto loaded = LoadIndi("1 BIRT\n2 OBJE @O1@\n2 OBJE\n3 FILE baby.jpg\n3 FORM jpg\n3 TITL Baby\n"
                                 "1 OBJE\n2 FILE portrait.png\n3 FORM png\n2 TITL Portrait\n2 _PRIM Y");
    const CPerson& person = PersonOf(loaded, "I1");
    const FactDetails& birth = FactTagged(person.Details().m_facts, "BIRT").Details();
    ASSERT_EQ(birth.objects(), 2);
    EXPECT_EQ(birth.m_arrObjects[0].view(), "O1");
    const CExtObj* baby = loaded.doc->FindExtObj(birth.m_arrObjects[1].view());
    ASSERT_NE(baby, nullptr);
    EXPECT_EQ(baby->m_strFile.view(), "baby.jpg");
    EXPECT_EQ(baby->m_strForm.view(), "jpg");
    EXPECT_EQ(baby->m_strTitle.view(), "Baby");
    ASSERT_EQ(person.Details().m_nObjects, 1);
    const CExtObj* portrait = loaded.doc->FindExtObj(person.Details().m_arrObjects[0].view());
    ASSERT_NE(portrait, nullptr);
    EXPECT_EQ(portrait->m_strFile.view(), "portrait.png");
    // The form under the file, where earlier versions write it.
    EXPECT_EQ(portrait->m_strForm.view(), "png");
    EXPECT_EQ(portrait->m_strTitle.view(), "Portrait");
    EXPECT_EQ(TextsOf(FactTagged(person.Details().m_facts, "OBJE").Details().m_arrLines), Texts{"_PRIM Y"});
}

TEST(RecordParserFactTexts, ObjectRecordKeepsTitleAndForm) {
    const auto loaded = test::LoadText("0 @O1@ OBJE\n1 FILE a.jpg\n2 FORM jpeg\n2 TITL On the beach\n1 TITL Later\n");
    const CExtObj* object = loaded.doc->FindExtObj("O1");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->m_strForm.view(), "jpeg");
    EXPECT_EQ(object->m_strTitle.view(), "On the beach");
}

} // namespace
} // namespace stirpex
