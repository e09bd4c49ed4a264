#include "gedcom/record_parser.h"

#include "gedcom/parser_test_support.h"
#include "model/date_year.h"
#include "model/stirpex_doc.h"
#include "support/memory_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace stirpex {
namespace {

using test::Citations;
using test::CitationsOf;
using test::FamilyOf;
using test::IsGeneratedKey;
using test::LoadIndi;
using test::NoteLines;
using test::PersonOf;
using test::SourceOf;
using test::Texts;
using test::TextsOf;

// ---- Names and aliases ----

TEST(RecordParserNames, SplitsSurnameFromGivenNamesAndTidiesBoth) {
    struct Case {
        const char* value;
        const char* surname;
        const char* givenNames;
    };
    const Case cases[] = {
        {"John /Smith/ Jr", "Smith", "John Jr"},
        {"John", "", "John"},
        {"/Smith/", "Smith", ""},
        {"\\Dupont\\ Jean", "Dupont", "Jean"},
        {"Mary\tAnn  /  van   Dyke ,  Jr  /", "van Dyke, Jr", "Mary Ann"},
    };
    for (const Case& c : cases) {
        const auto loaded = LoadIndi(std::string("1 NAME ") + c.value);
        const CPerson& person = PersonOf(loaded, "I1");
        EXPECT_EQ(person.m_strSurname.view(), c.surname) << c.value;
        EXPECT_EQ(person.m_strGivenNames.view(), c.givenNames) << c.value;
        EXPECT_EQ(person.Details().m_nAltNames, 0) << c.value;
    }
}

TEST(RecordParserNames, LongNamePartsAreKeptWhole) {
    const std::string given(100, 'g');
    const std::string surname(80, 's');
    const auto loaded = LoadIndi("1 NAME " + given + " /" + surname + "/\n1 ALIA " + given + " /" + surname + "/");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strGivenNames.view(), given);
    EXPECT_EQ(person.m_strSurname.view(), surname);
    EXPECT_EQ(TextsOf(person.Details().m_arrAltSurnames), Texts{surname});
    EXPECT_EQ(TextsOf(person.Details().m_arrAltGivenNames), Texts{given});
}

// The primary name is set while the surname is still empty; everything else is an alternative.
TEST(RecordParserNames, NameWithoutSurnameIsReplacedAndLaterNamesAreAlternatives) {
    const auto loaded = LoadIndi("1 ALIA Jack /Smith/\n"
                                 "1 NAME John\n"
                                 "1 NAME John /Smith/\n"
                                 "1 NAME Johann /Schmidt/\n"
                                 "1 ALIA @I9@\n"
                                 "1 NAME Third //");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strSurname.view(), "Smith");
    EXPECT_EQ(person.m_strGivenNames.view(), "John");
    EXPECT_EQ(person.Details().m_nAltNames, 3);
    EXPECT_EQ(TextsOf(person.Details().m_arrAltSurnames), (Texts{"Smith", "Schmidt", ""}));
    EXPECT_EQ(TextsOf(person.Details().m_arrAltGivenNames), (Texts{"Jack", "Johann", "Third"}));
}

TEST(RecordParserNames, LinesUnderAnUnrecognisedRecordLineTouchNoPerson) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Ann /Lee/\n0 @I2@ INDI junk\n1 NAME Bob /Ray/\n1 SEX M\n");
    EXPECT_EQ(loaded.doc->m_nPersons, 1);
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Details().m_nAltNames, 0);
    EXPECT_EQ(person.m_cSex, 0U);
}

// ---- Sex ----

TEST(RecordParserSex, TakesTheFirstCharacterOfTheValue) {
    struct Case {
        const char* lines;
        char32_t sex;
    };
    const Case cases[] = {
        {"1 SEX M", U'M'},   {"1 SEX female", U'f'},     {"1 SEX", 0},
        {"1 NAME A /B/", 0}, {"1 SEX F\n1 SEX U", U'U'}, {"1 CHAR UTF-8\n1 SEX Жен", U'Ж'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PersonOf(LoadIndi(c.lines), "I1").m_cSex, c.sex) << c.lines;
    }
}

TEST(RecordParserSex, SexInAFamilyRecordLeavesTheCurrentPersonAlone) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n0 @F1@ FAM\n1 SEX M\n");
    EXPECT_EQ(PersonOf(loaded, "I1").m_cSex, 0U);
}

// ---- FAMC and FAMS ----

TEST(RecordParserFamilyLinks, LastFamcWinsAndFamsAccumulateInFileOrder) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 FAMC @F1@\n1 FAMS @F7@\n1 FAMC @F2@\n1 FAMS @F8@\n"
                                       "0 @F9@ FAM\n1 FAMC @F3@\n1 FAMS @F4@\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strParentFamily.view(), "F2");
    EXPECT_EQ(TextsOf(person.m_arrSpouseFamilies), (Texts{"F7", "F8"}));
    EXPECT_EQ(person.m_nSpouseFamilies, 2);
}

// ---- Note-like lines ----

// In individual and family records EVEN, ADDR and OCCU are facts; in a
// source record they are still notes, labelled as before.
TEST(RecordParserNoteLines, TextValueMakesALinkedNoteWithItsFirstLine) {
    struct Case {
        const char* line;
        const char* firstLine;
        bool inPerson; // a note in an individual record too
    };
    const Case cases[] = {
        {"1 NOTE Plain text", "Plain text", true},
        {"1 EVEN Graduation", "Graduation", false},
        {"1 HIST Moved west", "Moved west", true},
        {"1 ADDR 12 High St", "Address:  12 High St", false},
        {"1 OCCU Farmer", "Occupation:  Farmer", false},
        // A pointer without its closing '@' has the empty key: the text after '@' is the note.
        {"1 NOTE @ABCDEFGHIJKLMNOPQRSTUVW", "ABCDEFGHIJKLMNOPQRSTUVW", true},
        {"1 OCCU @ABCDEFGHIJKLMNOPQRSTUVW", "Occupation:  ABCDEFGHIJKLMNOPQRSTUVW", false},
    };
    for (const Case& c : cases) {
        const auto inSource = test::LoadText(std::string("0 @S1@ SOUR\n") + c.line + "\n");
        const CSource& source = SourceOf(inSource, "S1");
        ASSERT_EQ(source.m_nNotes, 1) << c.line;
        EXPECT_TRUE(IsGeneratedKey(source.m_arrNotes[0])) << c.line;
        EXPECT_EQ(NoteLines(inSource, source.m_arrNotes[0]), Texts{c.firstLine}) << c.line;
        EXPECT_EQ(inSource.doc->m_nNotes, 1) << c.line;

        const auto inPerson = LoadIndi(c.line);
        const PersonDetails& person = PersonOf(inPerson, "I1").Details();
        EXPECT_EQ(person.m_nNotes, c.inPerson ? 1 : 0) << c.line;
        EXPECT_EQ(person.m_facts.size(), c.inPerson ? 0 : 1) << c.line;
        if (c.inPerson) {
            EXPECT_EQ(NoteLines(inPerson, person.m_arrNotes[0]), Texts{c.firstLine}) << c.line;
        }
    }
}

TEST(RecordParserNoteLines, EmptyValueMakesANoteWithoutLines) {
    for (const char* line : {"1 NOTE", "1 ADDR", "1 OCCU", "1 EVEN"}) {
        const auto loaded = test::LoadText(std::string("0 @S1@ SOUR\n") + line + "\n");
        const CSource& source = SourceOf(loaded, "S1");
        ASSERT_EQ(source.m_nNotes, 1) << line;
        EXPECT_EQ(NoteLines(loaded, source.m_arrNotes[0]), Texts{}) << line;
    }
    const auto loaded = LoadIndi("1 NOTE");
    ASSERT_EQ(PersonOf(loaded, "I1").Details().m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, PersonOf(loaded, "I1").Details().m_arrNotes[0]), Texts{});
}

TEST(RecordParserNoteLines, PointerValueLinksTheKeyWithoutMakingANote) {
    for (const char* line : {"1 NOTE @N1@", "1 HIST @N1@"}) {
        const auto loaded = LoadIndi(line);
        EXPECT_EQ(TextsOf(PersonOf(loaded, "I1").Details().m_arrNotes), Texts{"N1"}) << line;
        EXPECT_EQ(loaded.doc->m_nNotes, 0) << line;
    }
    for (const char* line : {"1 NOTE @N1@", "1 OCCU @N1@", "1 ADDR @N1@", "1 HIST @N1@"}) {
        const auto loaded = test::LoadText(std::string("0 @S1@ SOUR\n") + line + "\n");
        EXPECT_EQ(TextsOf(SourceOf(loaded, "S1").m_arrNotes), Texts{"N1"}) << line;
        EXPECT_EQ(loaded.doc->m_nNotes, 0) << line;
    }
}

// CONC continues the line before it; everything else at level 2 is a line of its own.
TEST(RecordParserNoteLines, NoteTextContextCollectsLevelTwoLines) {
    const auto loaded = LoadIndi("1 NOTE First\n2 CONT second\n2 CONC third\n2 NOTE fourth\n2 TYPE\n2 CONT\n"
                                 "2 SOUR @S1@\n2 CONC orphan");
    const CPerson& person = PersonOf(loaded, "I1");
    ASSERT_EQ(person.Details().m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, person.Details().m_arrNotes[0]),
              (Texts{"First", "secondthird", "fourth", "", "", "orphan"}));
    EXPECT_TRUE(person.Details().m_facts.empty());
    // An EVEN outside individual and family records is still a note.
    const auto source = test::LoadText("0 @S1@ SOUR\n1 EVEN\n2 TYPE Graduation\n2 DATE\n2 DATE 1990\n2 PLAC\n"
                                       "2 PLACE Boston\n");
    ASSERT_EQ(SourceOf(source, "S1").m_nNotes, 1);
    EXPECT_EQ(NoteLines(source, SourceOf(source, "S1").m_arrNotes[0]), (Texts{"Graduation", "1990", "Boston"}));
}

// Outside individual and family records an occupation is a context of its
// own: its level-2 lines are not note text. In a person it is a fact that
// keeps them, and no life event.
TEST(RecordParserNoteLines, OccupationDropsItsLevelTwoLinesOnlyOutsideAPerson) {
    const std::string lines = "1 OCCU Farmer\n2 CONT and miller\n2 DATE 1850\n2 PLAC Kent\n";
    const auto source = test::LoadText("0 @S1@ SOUR\n" + lines);
    ASSERT_EQ(SourceOf(source, "S1").m_nNotes, 1);
    EXPECT_EQ(NoteLines(source, SourceOf(source, "S1").m_arrNotes[0]), Texts{"Occupation:  Farmer"});

    const auto loaded = LoadIndi(lines);
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Details().m_nNotes, 0);
    ASSERT_EQ(person.Details().m_facts.size(), 1);
    const Fact& occupation = *person.Details().m_facts.begin();
    EXPECT_EQ(occupation.m_strTag.view(), "OCCU");
    EXPECT_EQ(occupation.m_strValue.view(), "Farmer\nand miller");
    EXPECT_EQ(occupation.m_strDate.view(), "1850");
    EXPECT_EQ(occupation.m_strPlace.view(), "Kent");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).facts, 0);
    EXPECT_TRUE(person.Event(ClassicEvent::Birth).date.empty());
}

TEST(RecordParserNoteLines, NoteIsLinkedToTheRecordItIsWrittenIn) {
    const auto loaded = test::LoadText("0 HEAD\n1 NOTE in header\n0 @F1@ FAM\n1 NOTE in family\n"
                                       "0 @S1@ SOUR\n1 NOTE in source\n0 @O1@ OBJE\n1 NOTE in object\n"
                                       "0 @I1@ INDI\n1 NOTE @N7@\n");
    EXPECT_EQ(loaded.doc->m_nNotes, 4);
    const CFamily& family = FamilyOf(loaded, "F1");
    ASSERT_EQ(family.Details().m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, family.Details().m_arrNotes[0]), Texts{"in family"});
    const CSource& source = SourceOf(loaded, "S1");
    ASSERT_EQ(source.m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, source.m_arrNotes[0]), Texts{"in source"});
    EXPECT_EQ(TextsOf(PersonOf(loaded, "I1").Details().m_arrNotes), Texts{"N7"});
}

// ---- Events and dates ----

TEST(RecordParserEvents, DateGivesYearAndQualifierForBirthAndDeath) {
    struct Case {
        const char* date;
        int year;
        const char* qualifier;
    };
    const Case cases[] = {
        {"12 MAR 1850", 1850, ""},   {"ABT 1850", 1850, "c"},
        {"BEF 1790", 1790, "<"},     {"AFT 1900", 1900, ">"},
        {"ABT 1850/51", 1850, "c"},  {"1850-12345", 1850, ""},
        {"MAR 850", 850, ""},        {"850", 850, ""},
        {"1850", 1850, ""},          {"abt 1808", 1808, ""},
        {"BEF ABT 1700", 1700, "c"}, {"BET 1800 AND 1810", 1810, ""},
        {"AFT MAR", kNoYear, ">"},
    };
    for (const Case& c : cases) {
        const std::string date = c.date;
        const auto loaded = LoadIndi("1 BIRT\n2 DATE " + date + "\n1 DEAT\n2 DATE " + date);
        const CPerson& person = PersonOf(loaded, "I1");
        EXPECT_EQ(person.Event(ClassicEvent::Birth).date, date);
        EXPECT_EQ(person.m_nBirthYear, c.year) << date;
        EXPECT_EQ(person.Details().m_strBirthQualifier.view(), c.qualifier) << date;
        EXPECT_EQ(person.Event(ClassicEvent::Death).date, date);
        EXPECT_EQ(person.m_nDeathYear, c.year) << date;
        EXPECT_EQ(person.Details().m_strDeathQualifier.view(), c.qualifier) << date;
    }
}

// A stale qualifier or year from the first date must not survive the second,
// whether the second date is in the same fact or in a second one.
TEST(RecordParserEvents, LaterDateReplacesDateYearAndQualifierAndEmptyDateChangesNothing) {
    const auto loaded = LoadIndi("1 BIRT\n2 DATE ABT 1801\n2 DATE 1802\n2 DATE\n2 PLAC London\n2 PLAC\n"
                                 "1 DEAT\n2 DATE 1900\n1 DEAT\n2 DATE BEF MAR");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).date, "1802");
    EXPECT_EQ(person.m_nBirthYear, 1802);
    EXPECT_EQ(person.Details().m_strBirthQualifier.view(), "");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).place, "London");
    EXPECT_EQ(person.Event(ClassicEvent::Death).date, "BEF MAR");
    EXPECT_EQ(person.m_nDeathYear, kNoYear);
    EXPECT_EQ(person.Details().m_strDeathQualifier.view(), "<");
}

// Every date is kept readable: a calendar escape becomes a word after the date.
TEST(RecordParserEvents, DatesOfEveryEventAreStoredReadableWithTheirYears) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 BIRT\n2 DATE @#DJULIAN@ 1 JAN 1700\n"
                                       "1 CHR\n2 DATE JULIAN 3 JAN 1700\n1 DEAT\n2 DATE ABT @#DHEBREW@ 5600\n"
                                       "1 BURI\n2 DATE FROM @#DJULIAN@ 1700 TO @#DGREGORIAN@ 1710\n1 FAMS @F1@\n"
                                       "0 @F1@ FAM\n1 HUSB @I1@\n1 MARR\n2 DATE @#DFRENCH R@ 1 VEND 12\n"
                                       "1 DIV\n2 DATE GREGORIAN 1750\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).date, "1 JAN 1700 (Julian)");
    EXPECT_EQ(person.m_nBirthYear, 1700);
    EXPECT_EQ(person.Event(ClassicEvent::Baptism).date, "3 JAN 1700 (Julian)");
    EXPECT_EQ(person.Event(ClassicEvent::Death).date, "ABT 5600 (Hebrew)");
    EXPECT_EQ(person.m_nDeathYear, kNoYear);
    EXPECT_EQ(person.Details().m_strDeathQualifier.view(), "c");
    EXPECT_EQ(person.Event(ClassicEvent::Burial).date, "FROM 1700 (Julian) TO 1710 (Gregorian)");
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).date, "1 VEND 12 (French republican)");
    EXPECT_EQ(family.Event(ClassicEvent::Divorce).date, "1750 (Gregorian)");
}

TEST(RecordParserEvents, EachEventTagFillsItsOwnDateAndPlace) {
    struct Case {
        const char* tag;
        ClassicEvent event;
    };
    const Case cases[] = {
        {"BIRT", ClassicEvent::Birth},   {"BIRTH", ClassicEvent::Birth}, {"BAPM", ClassicEvent::Baptism},
        {"BAPL", ClassicEvent::Baptism}, {"CHR", ClassicEvent::Baptism}, {"CHRA", ClassicEvent::Baptism},
        {"DEAT", ClassicEvent::Death},   {"BURI", ClassicEvent::Burial}, {"CREM", ClassicEvent::None},
        {"MARR", ClassicEvent::None},
    };
    for (const Case& c : cases) {
        const auto loaded = LoadIndi(std::string("1 ") + c.tag + "\n2 DATE 3 MAY 1801\n2 PLAC York");
        const CPerson& person = PersonOf(loaded, "I1");
        EXPECT_EQ(test::TagsOf(person.Details().m_facts), Texts{c.tag});
        for (const ClassicEventInfo& info : kClassicEvents) {
            if (info.family) {
                continue;
            }
            const EventSummary summary = person.Event(info.event);
            const bool own = info.event == c.event;
            EXPECT_EQ(summary.date, own ? "3 MAY 1801" : "") << c.tag << " " << info.label;
            EXPECT_EQ(summary.place, own ? "York" : "") << c.tag << " " << info.label;
        }
    }
}

TEST(RecordParserEvents, PlaceAcceptsBothSpellings) {
    for (const char* line : {"2 PLAC Boston", "2 PLACE Boston", "2 PLACE\t Boston", "2   PLAC Boston"}) {
        EXPECT_EQ(PersonOf(LoadIndi(std::string("1 BIRT\n") + line), "I1").Event(ClassicEvent::Birth).place, "Boston")
            << line;
    }
}

TEST(RecordParserEvents, ContextEndsAtTheNextLevelOneOrLevelZeroLine) {
    for (const char* between : {"1 TITL Sir", "12 DATE 1800", "0 @R1@ REPO", "1 BIRT\n0 @F1@ FAM\n1 MARR"}) {
        const auto loaded = LoadIndi(std::string("1 BIRT\n") + between + "\n2 DATE 1801\n2 PLAC York");
        const CPerson& person = PersonOf(loaded, "I1");
        EXPECT_TRUE(person.Event(ClassicEvent::Birth).date.empty()) << between;
        EXPECT_TRUE(person.Event(ClassicEvent::Birth).place.empty()) << between;
    }
}

TEST(RecordParserEvents, ContextSurvivesLevelTwoAndThreeLines) {
    const auto loaded = LoadIndi("1 DEAT\n2 SOUR @S1@\n3 PAGE 4\n2 CAUS fever\n2 DATE 1850");
    EXPECT_EQ(PersonOf(loaded, "I1").Event(ClassicEvent::Death).date, "1850");
}

// The old reader dated the last person read by a BIRT in a family record.
TEST(RecordParserEvents, BirthInAFamilyRecordIsAFactOfTheFamily) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n0 @F1@ FAM\n1 BIRT\n2 DATE ABT 1800\n2 PLAC Here\n"
                                       "0 @S1@ SOUR\n1 BIRT\n2 DATE 1700\n1 DEAT\n2 DATE 1701\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_TRUE(person.Details().m_facts.empty());
    EXPECT_EQ(person.m_nBirthYear, kNoYear);
    EXPECT_EQ(person.m_nDeathYear, kNoYear);
    const CFamily& family = FamilyOf(loaded, "F1");
    const Fact& birth = test::FactTagged(family.Details().m_facts, "BIRT");
    EXPECT_EQ(birth.m_strDate.view(), "ABT 1800");
    EXPECT_EQ(birth.m_strPlace.view(), "Here");
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).facts, 0);
}

// In a person's record a family's lines are facts of the person, kept as written.
TEST(RecordParserEvents, MarriageAndDivorceOutsideAFamilyRecordAreNoFamilysEvents) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n0 @I1@ INDI\n1 MARR\n2 DATE 1820\n2 PLAC Leeds\n"
                                       "1 DIV\n2 DATE 1830\n1 HUSB @I5@\n1 CHIL @I6@\n");
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_TRUE(family.Details().m_facts.empty());
    EXPECT_TRUE(family.m_strHusband.empty());
    EXPECT_EQ(family.m_nChildren, 0);
    const FactList& facts = PersonOf(loaded, "I1").Details().m_facts;
    EXPECT_EQ(test::TagsOf(facts), (Texts{"MARR", "DIV", "HUSB", "CHIL"}));
    EXPECT_EQ(test::FactTagged(facts, "MARR").m_strPlace.view(), "Leeds");
    EXPECT_EQ(test::FactTagged(facts, "CHIL").m_strValue.view(), "@I6@");
}

// ---- Family rows ----

TEST(RecordParserFamilies, SpousesLastWinChildrenInOrderAndMarriage) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n1 HUSB @I1@\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I4@\n"
                                       "1 CHIL @I5@\n1 CHIL @I4@\n1 MARR\n2 DATE 1 JUN 1850\n2 PLACE Leeds\n");
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(family.m_strHusband.view(), "I2");
    EXPECT_EQ(family.m_strWife.view(), "I3");
    EXPECT_EQ(TextsOf(family.m_arrChildren), (Texts{"I4", "I5", "I4"}));
    EXPECT_EQ(family.m_nChildren, 3);
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).date, "1 JUN 1850");
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).place, "Leeds");
}

TEST(RecordParserFamilies, DivorceWithoutNoGetsFourBlanksUntilDated) {
    struct Case {
        const char* lines;
        const char* date;
    };
    const Case cases[] = {
        {"1 DIV", "    "},
        {"1 DIV Y", "    "},
        {"1 DIV y", "    "},
        {"1 DIVF", "    "},
        {"1 DIV N", ""},
        {"1 DIV No", ""},
        {"1 DIV\n2 DATE 1901", "1901"},
        {"1 DIV\n2 DATE 1901\n1 DIV Y", "1901"},
        {"1 DIV N\n2 DATE 1901", "1901"},
        {"1 DIV\n2 DATE", "    "},
    };
    for (const Case& c : cases) {
        const auto loaded = test::LoadText(std::string("0 @F1@ FAM\n") + c.lines + "\n");
        EXPECT_EQ(FamilyOf(loaded, "F1").Event(ClassicEvent::Divorce).date, c.date) << c.lines;
    }
    EXPECT_EQ(FamilyOf(test::LoadText("0 @F1@ FAM\n1 DIV\n2 PLAC Reno\n"), "F1").Event(ClassicEvent::Divorce).place,
              "Reno");
}

// ---- Note records ----

TEST(RecordParserNoteRecords, ContStartsALineAndConcContinuesIt) {
    const auto loaded = test::LoadText("0 @N1@ NOTE First li\n1 CONC ne\n1 CONT second \n1 CONC third\n1 CONT\n"
                                       "1 CONT\n1 CONC   end\n0 @N2@ NOTE\n0 @NOTE5@ SOUR\n");
    EXPECT_EQ(NoteLines(loaded, loaded.doc->m_ppNotes[0]->m_strID), (Texts{"First line", "second third", "", "end"}));
    EXPECT_EQ(loaded.doc->m_ppNotes[0]->m_strID.view(), "N1");
    EXPECT_EQ(NoteLines(loaded, loaded.doc->m_ppNotes[1]->m_strID), Texts{});
    EXPECT_EQ(loaded.doc->m_nNotes, 3);
    EXPECT_NE(loaded.doc->FindNote("NOTE5"), nullptr);
    EXPECT_EQ(loaded.doc->m_nSources, 0);
}

TEST(RecordParserNoteRecords, LevelOneContinuationOutsideANoteRecordIsIgnored) {
    const auto loaded = test::LoadText("0 @N1@ NOTE a\n0 @I1@ INDI\n1 CONT b\n1 CONC c\n");
    EXPECT_EQ(NoteLines(loaded, loaded.doc->m_ppNotes[0]->m_strID), Texts{"a"});
}

// ---- Source records ----

TEST(RecordParserSources, TitleAuthorPublicationTakeTheLastValueOfAnySpelling) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n1 TITL First\n1 TITLE Parish Register\n1 AUTH Anon\n"
                                       "1 AUTHOR Clerk\n1 PUBL 1900\n1 PUBLICATION Reprint\n1 DATA\n2 DATE 1800\n"
                                       "0 @I1@ INDI\n1 TITL Sir\n1 AUTH Nobody\n");
    const CSource& source = SourceOf(loaded, "S1");
    EXPECT_EQ(source.m_strTitle.view(), "Parish Register");
    EXPECT_EQ(source.m_strAuthor.view(), "Clerk");
    EXPECT_EQ(source.m_strPublication.view(), "Reprint");
    EXPECT_EQ(source.m_nTextLines, 0);
}

// The old reader dropped a source text's CONT and CONC lines. A CONT after a
// line that is not the text's own has nothing to continue, as before.
TEST(RecordParserSources, LevelOneTextKeepsItsContinuations) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n1 TEXT Line one\n2 CONT second li\n2 CONC ne\n2 CONT\n"
                                       "1 TEXT Line two\n2 DATE 1900\n2 CONC orphan\n1 TITL Register\n2 CONT lost\n"
                                       "0 @I1@ INDI\n1 TEXT not a source\n2 CONT lost\n");
    const CSource& source = SourceOf(loaded, "S1");
    EXPECT_EQ(TextsOf(source.m_arrText), (Texts{"Line one", "second line", "", "Line two"}));
    EXPECT_EQ(source.m_nTextLines, 4);
    EXPECT_EQ(source.m_strTitle.view(), "Register");
}

TEST(RecordParserSources, LevelThreeTextAndItsLevelFourContinuationsAreSourceText) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n1 DATA\n2 EVEN BIRT\n3 TEXT Entry\n4 CONT more\n4 CONC end\n"
                                       "3 NOTE x\n4 CONT lost\n");
    EXPECT_EQ(TextsOf(SourceOf(loaded, "S1").m_arrText), (Texts{"Entry", "moreend"}));
}

// ---- Citations ----

TEST(RecordParserCitations, PageAndDataTextAreConcatenatedWithoutSeparator) {
    const auto loaded = LoadIndi("1 SOUR @S1@\n2 PAGE p. 12\n2 DATA\n3 TEXT quoted\n3 TEXT again");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(CitationsOf(person.Details().m_arrSources, person.Details().m_arrSourceTexts),
              (Citations{{"S1", "p. 12quotedagain"}}));
    EXPECT_EQ(person.Details().m_nSources, 1);
    EXPECT_EQ(loaded.doc->m_nSources, 0);
}

// The citation-data flag belongs to the DATA line: a level-2 line ends it. The
// continuations of cited text stay in the citation (they used to go to the
// current source), each CONT a line of its own, broken by CR LF as the notes
// and sources text breaks its lines. Other text under the citation stays with
// the person as lines it holds, no longer reaching the newest source record.
TEST(RecordParserCitations, CitedTextKeepsItsContinuationsAndOtherTextStaysWithThePerson) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n0 @I1@ INDI\n1 SOUR @S1@\n2 DATA\n3 TEXT cited \n4 CONC more\n"
                                       "4 CONT next\n4 CONT\n2 QUAY 3\n3 TEXT elsewhere\n4 CONT too\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(CitationsOf(person.Details().m_arrSources, person.Details().m_arrSourceTexts),
              (Citations{{"S1", "cited more\r\nnext\r\n"}}));
    EXPECT_EQ(TextsOf(SourceOf(loaded, "S1").m_arrText), Texts{});
    // Kept with the record, not as a fact of their own: the page has nothing to show of them.
    EXPECT_TRUE(person.Details().m_facts.empty());
    EXPECT_EQ(TextsOf(person.Details().m_arrCitationLines), (Texts{"QUAY 3", "  TEXT elsewhere", "    CONT too"}));
}

// A citation under an event is that fact's; under a NOTE it is the person's
// own. A PAGE at the citation's own level is no part of it (the old reader
// glued it on): it is kept as a line of the fact it stands under.
TEST(RecordParserCitations, CitationUnderAnEventGoesToThatFact) {
    struct Case {
        const char* lines;
        const char* tag;
        ClassicEvent event;
        bool recordsOwn;
    };
    const Case cases[] = {
        {"1 BIRT", "BIRT", ClassicEvent::Birth, false},    {"1 CHR", "CHR", ClassicEvent::Baptism, false},
        {"1 BAPM", "BAPM", ClassicEvent::Baptism, false},  {"1 DEAT", "DEAT", ClassicEvent::Death, false},
        {"1 BURI", "BURI", ClassicEvent::Burial, false},   {"1 OCCU Farmer", "OCCU", ClassicEvent::None, false},
        {"1 NOTE @N1@", "NOTE", ClassicEvent::None, true}, {"1 RESI", "RESI", ClassicEvent::None, false},
    };
    for (const Case& c : cases) {
        const auto loaded = LoadIndi(std::string(c.lines) + "\n2 SOUR @S2@\n3 PAGE 7\n2 PAGE 8");
        const CPerson& person = PersonOf(loaded, "I1");
        const PersonDetails& details = person.Details();
        const Fact& fact = test::FactTagged(details.m_facts, c.tag);
        EXPECT_EQ(details.m_facts.size(), 1) << c.lines;
        EXPECT_EQ(TextsOf(fact.Details().m_arrLines), Texts{"PAGE 8"}) << c.lines;
        const Citations expected{{"S2", "7"}};
        EXPECT_EQ(CitationsOf(details.m_arrSources, details.m_arrSourceTexts), c.recordsOwn ? expected : Citations{})
            << c.lines;
        EXPECT_EQ(test::CitationsOf(fact), c.recordsOwn ? Citations{} : expected) << c.lines;
        for (const ClassicEventInfo& info : kClassicEvents) {
            EXPECT_EQ(person.Event(info.event).sources, info.event == c.event ? 1 : 0) << c.lines << info.label;
        }
    }
    const auto several = LoadIndi("1 BIRT\n2 SOUR @S2@\n1 DEAT\n2 SOUR @S3@\n1 BURI\n2 SOUR @S4@\n1 DEAT\n"
                                  "2 SOUR @S5@");
    const CPerson& person = PersonOf(several, "I1");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).sources, 1);
    EXPECT_EQ(test::EventCitations(person.Details().m_facts, ClassicEvent::Death), (Citations{{"S3", ""}, {"S5", ""}}));
    EXPECT_EQ(person.Event(ClassicEvent::Death).sources, 2);
    EXPECT_EQ(person.Event(ClassicEvent::Burial).sources, 1);
    EXPECT_EQ(person.Event(ClassicEvent::Baptism).sources, 0);
    EXPECT_EQ(person.Details().m_nSources, 0);
}

TEST(RecordParserCitations, PageBeforeAnyCitationIsKeptAsALineOfItsFact) {
    const auto loaded = LoadIndi("1 BIRT\n2 PAGE 7\n1 SOUR @S1@");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Event(ClassicEvent::Birth).sources, 0);
    EXPECT_EQ(TextsOf(test::FactTagged(person.Details().m_facts, "BIRT").Details().m_arrLines), Texts{"PAGE 7"});
    EXPECT_EQ(CitationsOf(person.Details().m_arrSources, person.Details().m_arrSourceTexts), (Citations{{"S1", ""}}));
}

// A family's own citations, its marriage's and its divorce's each stay with
// what they cite; a DATA at the citation's own level is kept, not read.
TEST(RecordParserCitations, FamilyCitationsSplitIntoOwnMarriageAndDivorce) {
    const auto loaded = test::LoadText("0 @F1@ FAM\n1 SOUR @S1@\n2 PAGE a\n1 MARR\n2 SOUR @S2@\n3 PAGE b\n"
                                       "1 DIV\n2 SOUR @S3@\n3 PAGE 4\n3 DATA\n4 TEXT c\n2 DATA\n3 TEXT d\n");
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(CitationsOf(family.Details().m_arrSources, family.Details().m_arrSourceTexts), (Citations{{"S1", "a"}}));
    EXPECT_EQ(family.Details().m_nSources, 1);
    EXPECT_EQ(test::EventCitations(family.Details().m_facts, ClassicEvent::Marriage), (Citations{{"S2", "b"}}));
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).sources, 1);
    const Fact& divorce = test::FactTagged(family.Details().m_facts, "DIV");
    EXPECT_EQ(test::CitationsOf(divorce), (Citations{{"S3", "4c"}}));
    EXPECT_EQ(family.Event(ClassicEvent::Divorce).sources, 1);
    EXPECT_EQ(TextsOf(divorce.Details().m_arrLines), (Texts{"DATA", "  TEXT d"}));
}

// Every PAGE or TEXT line used to store the whole citation text again: 2000 lines of
// 100 bytes (216 KB) took 205 MB. Stores in between must not bring the copying back;
// nor may the continuations of a fact's value or of an inline source's title.
TEST(RecordParserCitations, LongCitationTextsTakeMemoryInProportionToTheirLength) {
    if (test::kAddressSanitizer) {
        GTEST_SKIP() << "an address-space limit means nothing under AddressSanitizer";
    }
    constexpr std::size_t kLines = 2000;
    const std::string piece(100, 'x');
    using Text = std::string (*)(const test::LoadedDoc&);
    // A load that ran out of memory gives an empty document: each reads nothing then.
    const Text personsOwn = [](const test::LoadedDoc& loaded) {
        const CPerson* person = loaded.doc->FindPerson("I1");
        const ArenaStrList texts = person ? person->Details().m_arrSourceTexts : ArenaStrList();
        return texts.size() == 1 ? std::string(texts[0].view()) : std::string();
    };
    const Text firstFactsCitation = [](const test::LoadedDoc& loaded) {
        const CPerson* person = loaded.doc->FindPerson("I1");
        const CFamily* family = loaded.doc->FindFamily("F1");
        const FactList facts = person ? person->Details().m_facts : family ? family->Details().m_facts : FactList();
        const ArenaStrList texts = facts.empty() ? ArenaStrList() : facts.begin()->Details().m_arrSourceTexts;
        return texts.size() == 1 ? std::string(texts[0].view()) : std::string();
    };
    const Text firstFactsValue = [](const test::LoadedDoc& loaded) {
        const CPerson* person = loaded.doc->FindPerson("I1");
        if (!person || person->Details().m_facts.empty()) {
            return std::string();
        }
        std::string value(person->Details().m_facts.begin()->m_strValue.view());
        value.erase(std::remove(value.begin(), value.end(), '\n'), value.end());
        return value;
    };
    const Text inlineSourceTitle = [](const test::LoadedDoc& loaded) {
        const CPerson* person = loaded.doc->FindPerson("I1");
        if (!person || person->Details().m_nSources != 1) {
            return std::string();
        }
        const CSource& source = SourceOf(loaded, person->Details().m_arrSources[0].view());
        std::string title(source.m_strTitle.view());
        title.erase(std::remove(title.begin(), title.end(), ' '), title.end()); // the blanks its lines join with
        return title;
    };
    struct Case {
        std::string head;
        std::string line; // written kLines times, each time followed by the piece
        Text text;
    };
    const Case cases[] = {
        {"0 @I1@ INDI\n1 SOUR @S1@\n", "2 PAGE ", personsOwn},
        {"0 @I1@ INDI\n1 SOUR @S1@\n2 DATA\n", "3 TEXT ", personsOwn},
        {"0 @I1@ INDI\n1 BIRT\n2 SOUR @S1@\n", "3 _KEPT line\n3 PAGE ", firstFactsCitation},
        {"0 @I1@ INDI\n1 BIRT\n2 SOUR @S1@\n3 DATA\n", "4 TEXT ", firstFactsCitation},
        {"0 @F1@ FAM\n1 DIV\n2 SOUR @S1@\n3 DATA\n", "4 TEXT ", firstFactsCitation},
        {"0 @I1@ INDI\n1 _STORY\n", "2 CONT ", firstFactsValue},
        {"0 @I1@ INDI\n1 SOUR\n", "2 CONT ", inlineSourceTitle},
    };
    for (const Case& c : cases) {
        std::string text = c.head;
        for (std::size_t i = 0; i < kLines; ++i) {
            text += c.line + piece + "\n";
        }
        const bool linear = test::SucceedsWithin(32 * test::kMiB, [&] {
            const auto loaded = test::LoadText(text);
            return c.text(loaded) == std::string(kLines * piece.size(), 'x');
        });
        EXPECT_TRUE(linear) << c.head << c.line;
    }
}

TEST(RecordParserCitations, InlineSourceIsMadeCountedAndCited) {
    const auto loaded = LoadIndi("1 SOUR Parish register\n2 PAGE 3\n1 BIRT\n2 SOUR Church book\n1 SOUR");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(loaded.doc->m_nSources, 3);
    ASSERT_EQ(person.Details().m_nSources, 2);
    const Fact& birthFact = test::FactTagged(person.Details().m_facts, "BIRT");
    ASSERT_EQ(birthFact.Details().sources(), 1);
    const ArenaStr general = person.Details().m_arrSources[0];
    const ArenaStr birth = birthFact.Details().m_arrSources[0];
    EXPECT_TRUE(IsGeneratedKey(general));
    EXPECT_TRUE(IsGeneratedKey(birth));
    EXPECT_NE(general.view(), birth.view());
    EXPECT_EQ(SourceOf(loaded, general.view()).m_strTitle.view(), "Parish register");
    EXPECT_EQ(person.Details().m_arrSourceTexts[0].view(), "3");
    EXPECT_EQ(SourceOf(loaded, birth.view()).m_strTitle.view(), "Church book");
    EXPECT_EQ(SourceOf(loaded, person.Details().m_arrSources[1].view()).m_strTitle.view(), "");
}

// ---- Objects ----

TEST(RecordParserObjects, ObjectsAreLinkedAndTheFirstNonEmptyFileWins) {
    const auto loaded = test::LoadText("0 @O1@ OBJE\n1 FILE\n1 FILE first.jpg\n1 FILE second.jpg\n"
                                       "0 @I1@ INDI\n1 OBJE @O1@\n1 OBJE\n2 FILE photo.jpg\n"
                                       "0 HEAD\n1 FILE ROYALS.GED\n"
                                       "0 @F1@ FAM\n1 OBJE @O1@\n0 @S1@ SOUR\n1 OBJE @O1@\n");
    EXPECT_EQ(loaded.doc->m_nExtObjs, 2);
    EXPECT_EQ(loaded.doc->FindExtObj("O1")->m_strFile.view(), "first.jpg");
    const CPerson& person = PersonOf(loaded, "I1");
    ASSERT_EQ(person.Details().m_nObjects, 2);
    EXPECT_EQ(person.Details().m_arrObjects[0].view(), "O1");
    EXPECT_TRUE(IsGeneratedKey(person.Details().m_arrObjects[1]));
    const CExtObj* inlineObject = loaded.doc->FindExtObj(person.Details().m_arrObjects[1].view());
    ASSERT_NE(inlineObject, nullptr);
    EXPECT_EQ(inlineObject->m_strFile.view(), "photo.jpg");
    EXPECT_EQ(TextsOf(FamilyOf(loaded, "F1").Details().m_arrObjects), Texts{"O1"});
    EXPECT_EQ(TextsOf(SourceOf(loaded, "S1").m_arrObjects), Texts{"O1"});
}

// ---- Header and submitter ----

TEST(RecordParserHeader, HeaderFieldsTakeTheirLastValues) {
    const auto loaded = test::LoadText("0 HEAD\n1 GEDC\n2 VERS 5.5\n1 SOUR FIRST\n1 SOUR WRITER\n2 VERS 1.0\n1 SOUR\n"
                                       "1 DEST ANY\n1 DATE 1 JAN 2000\n1 DATE 2 JAN 2000\n1 CHAR ASCII\n"
                                       "1 NOTE header note\n0 @I1@ INDI\n1 DATE 3 JAN 2000\n1 DEST OTHER\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(doc.m_strSourceSystem, "WRITER");
    EXPECT_EQ(doc.m_nSources, 0);
    EXPECT_EQ(doc.m_strGedcomVersion, "5.5");
    EXPECT_EQ(doc.m_strFileDate, "2 JAN 2000");
    EXPECT_EQ(doc.m_strDestination, "OTHER");
    EXPECT_EQ(doc.m_strCharSet, "ASCII");
    EXPECT_EQ(doc.m_nNotes, 1);
    EXPECT_EQ(PersonOf(loaded, "I1").Details().m_nNotes, 0);
}

// The VERS under the header's SOUR is the writing program's; it used to win when it came last.
TEST(RecordParserHeader, VersionIsTheOneUnderTheHeadersGedc) {
    struct Case {
        const char* lines;
        const char* version;
    };
    const Case cases[] = {
        {"0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 SOUR APP\n2 VERS 2.0\n", "5.5.1"},
        {"0 HEAD\n1 SOUR APP\n2 VERS 2.0\n1 GEDC\n2 FORM LINEAGE-LINKED\n2 VERS 5.5\n", "5.5"},
        {"0 HEAD\n1 GEDC\n2 VERS 5.5\n0 @I1@ INDI\n1 GEDC\n2 VERS 7.0\n2 VERS 7.0\n", "5.5"},
        {"0 HEAD\n1 SOUR APP\n2 VERS 2.0\n1 NOTE x\n2 VERS 3.0\n", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(test::LoadText(c.lines).doc->m_strGedcomVersion, c.version) << c.lines;
    }
}

TEST(RecordParserHeader, CharLineSwitchesTheConversionOfTheFollowingLines) {
    struct Case {
        const char* charLine;
        const char* eAcute;
        const char* charSet;
    };
    const Case cases[] = {
        {"1 NOTE no character set", "\xE2\x65", ""}, {"1 CHAR ANSEL", "\xE2\x65", "ANSEL"},
        {"1 CHAR utf-8", "\xE2\x65", "utf-8"},       {"1 CHAR ANSI", "\xE9", "ANSI"},
        {"1 CHAR UTF-8", "\xC3\xA9", "UTF-8"},       {"1 CHAR IBMPC", "\x82", "IBMPC"},
        {"1 CHAR MACINTOSH", "\x8E", "MACINTOSH"},   {"0 @I0@ INDI\n1 CHAR ANSI", "\xE9", "ANSI"},
    };
    for (const Case& c : cases) {
        const auto loaded =
            test::LoadText(std::string("0 HEAD\n") + c.charLine + "\n0 @I1@ INDI\n1 NAME Ren" + c.eAcute + " /Roy/\n");
        EXPECT_EQ(PersonOf(loaded, "I1").m_strGivenNames.view(), "Ren\u00e9") << c.charLine;
        EXPECT_EQ(loaded.doc->m_strCharSet, c.charSet) << c.charLine;
    }
}

TEST(RecordParserHeader, SubmitterNameLosesSlashesAndBackslashesOnly) {
    const auto loaded = test::LoadText("0 @U1@ SUBM\n1 NAME  A  /B\\ C/\n1 NAME\n0 @I1@ INDI\n1 NAME Other /Person/\n");
    EXPECT_EQ(loaded.doc->m_strSubmitter, "A  B C");
    const auto later = test::LoadText("0 @U1@ SUBM\n1 NAME First\n0 SUBM\n1 NAME Jane/Doe\n");
    EXPECT_EQ(later.doc->m_strSubmitter, "JaneDoe");
}

// ---- GEDCOM 7 ----

// A 7.x file has no CHAR line and is UTF-8; it must not be read as ANSEL, the
// set in force until a CHAR line names another.
TEST(RecordParserGedcom7, FileIsUtf8WhateverItsCharLineSays) {
    struct Case {
        const char* header;
        bool utf8;
    };
    const Case cases[] = {
        {"1 GEDC\n2 VERS 7.0\n", true},
        {"1 GEDC\n2 VERS 7.0.14\n1 CHAR ANSEL\n", true},
        {"1 CHAR ANSI\n1 GEDC\n2 VERS 7.0\n", true},
        {"1 GEDC\n2 VERS 5.5.1\n", false},
        {"1 SOUR APP\n2 VERS 7.0\n", false},
    };
    for (const Case& c : cases) {
        const auto loaded = test::LoadText(std::string("0 HEAD\n") + c.header + "0 @I1@ INDI\n1 NAME Zo\u00eb /X/\n");
        EXPECT_EQ(PersonOf(loaded, "I1").m_strGivenNames.view() == "Zo\u00eb", c.utf8) << c.header;
    }
}

TEST(RecordParserGedcom7, VoidMakesNoFamilyLink) {
    const auto loaded = test::LoadGedcom7("0 @I1@ INDI\n1 FAMC @F1@\n1 FAMC @VOID@\n1 FAMS @VOID@\n1 FAMS @F2@\n"
                                          "0 @F1@ FAM\n1 HUSB @VOID@\n1 WIFE @I2@\n1 WIFE @VOID@\n"
                                          "1 CHIL @I1@\n1 CHIL @VOID@\n1 CHIL @I3@\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.m_strParentFamily.view(), "F1");
    EXPECT_EQ(TextsOf(person.m_arrSpouseFamilies), Texts{"F2"});
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(family.m_strHusband.view(), "");
    EXPECT_EQ(family.m_strWife.view(), "I2");
    EXPECT_EQ(TextsOf(family.m_arrChildren), (Texts{"I1", "I3"}));
    EXPECT_EQ(family.m_nChildren, 2);
}

// NO DEAT says the person did not die in that time: neither it nor its date,
// note or citation is the death, and the citation is none of the general ones
// either (a family's are shown as its marriage's). They are all the NO fact's.
TEST(RecordParserGedcom7, NoStructureIsNotTheEvent) {
    const auto loaded = test::LoadGedcom7("0 @S1@ SOUR\n0 @I1@ INDI\n1 SOUR @S1@\n2 PAGE general\n"
                                          "1 NO DEAT\n2 DATE FROM 1700 TO 1800\n2 PLAC Here\n2 NOTE Never died\n"
                                          "2 SOUR @S1@\n3 PAGE 7\n2 PAGE 8\n"
                                          "0 @F1@ FAM\n1 NO MARR\n2 DATE 1900\n2 SOUR @S1@\n3 PAGE 4\n"
                                          "1 NO DIV\n2 DATE 1910\n2 SOUR @S1@\n");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(person.Event(ClassicEvent::Death).facts, 0);
    EXPECT_EQ(person.m_nDeathYear, kNoYear);
    EXPECT_EQ(CitationsOf(person.Details().m_arrSources, person.Details().m_arrSourceTexts),
              (Citations{{"S1", "general"}}));
    EXPECT_EQ(person.Details().m_nNotes, 0);
    const Fact& notDead = test::FactTagged(person.Details().m_facts, "NO");
    EXPECT_EQ(notDead.m_strValue.view(), "DEAT");
    EXPECT_EQ(notDead.m_strDate.view(), "FROM 1700 TO 1800");
    EXPECT_EQ(notDead.m_strPlace.view(), "Here");
    ASSERT_EQ(notDead.Details().notes(), 1);
    EXPECT_EQ(NoteLines(loaded, notDead.Details().m_arrNotes[0]), Texts{"Never died"});
    EXPECT_EQ(test::CitationsOf(notDead), (Citations{{"S1", "7"}}));
    const CFamily& family = FamilyOf(loaded, "F1");
    EXPECT_EQ(family.Event(ClassicEvent::Marriage).facts, 0);
    EXPECT_EQ(family.Event(ClassicEvent::Divorce).facts, 0);
    EXPECT_EQ(family.Details().m_nSources, 0);
    EXPECT_EQ(test::TagsOf(family.Details().m_facts), (Texts{"NO", "NO"}));
    EXPECT_EQ(test::CitationsOf(*family.Details().m_facts.at(0)), (Citations{{"S1", "4"}}));
}

// ---- Whether a line took effect ----

TEST(RecordParserEffect, HandleLineTellsWhetherTheLineTookEffect) {
    struct Case {
        const char* line;
        bool used;
    };
    // Individual and family records keep every line, as a fact or a line of one.
    const Case lines[] = {
        {"0 HEAD", true},
        {"1 GEDC", true},
        {"2 VERS 5.5.1", true},
        {"2 FORM LINEAGE-LINKED", false},
        {"1 SOUR APP", true},
        {"2 VERS 1.0", false},
        {"1 CHAR UTF-8", true},
        {"5 _DEEP", false},
        {"0 @I1@ INDI", true},
        {"1 NAME Ann /Lee/", true},
        {"1 HUSB @I2@", true},
        {"1 _UID 1234", true},
        {"1 BIRT", true},
        {"2 DATE 1900", true},
        {"2 DATE", true},
        {"2 CAUS fever", true},
        {"1 RESI", true},
        {"2 DATE 1901", true},
        {"5 _DEEP", true},
        {"9 _DEEPER", true},
        {"1 NOTE text", true},
        {"2 CONT more", true},
        {"1 FAMC @F1@", true},
        {"0 @X1@ REPO", false},
        {"1 NAME Library", false},
        {"1 _UID 1234", false},
        {"2 DATE 1900", false},
        {"5 _DEEP", false},
        {"0 @F1@ FAM", true},
        {"1 _UID 1234", true},
        {"3 _X", true},
        {"0 TRLR", true}, // it ends the file
        {"plain text", false},
        {"", false},
    };
    CStirpexDoc doc;
    RecordParser parser(doc);
    for (const Case& c : lines) {
        EXPECT_EQ(parser.HandleLine(c.line), c.used) << c.line;
    }
}

// ---- Current records outlive the record they were made in ----

TEST(RecordParserCurrentRecords, NoteTextGoesToTheNewestNoteNotTheLinkedOne) {
    const auto loaded = test::LoadText("0 @N1@ NOTE one\n0 @N2@ NOTE two\n0 @I1@ INDI\n1 NOTE @N1@\n2 CONT added\n");
    EXPECT_EQ(NoteLines(loaded, loaded.doc->FindNote("N1")->m_strID), Texts{"one"});
    EXPECT_EQ(NoteLines(loaded, loaded.doc->FindNote("N2")->m_strID), (Texts{"two", "added"}));
}

TEST(RecordParserCurrentRecords, SourceTextGoesToTheNewestSourceNotTheCitedOne) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n0 @N1@ NOTE x\n1 SOUR @S9@\n3 TEXT orphan\n"
                                       "0 @I1@ INDI\n1 BIRT\n2 SOUR @S9@\n3 TEXT kept\n1 SOUR Register\n3 TEXT body\n");
    EXPECT_EQ(TextsOf(SourceOf(loaded, "S1").m_arrText), Texts{"orphan"});
    // In a person such lines are kept where they stand.
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(test::EventCitations(person.Details().m_facts, ClassicEvent::Birth), (Citations{{"S9", ""}}));
    const Fact& birth = test::FactTagged(person.Details().m_facts, "BIRT");
    EXPECT_EQ(TextsOf(birth.Details().m_arrCitationLines), Texts{"  TEXT kept"});
    EXPECT_TRUE(birth.Details().m_arrLines.empty());
    ASSERT_EQ(person.Details().m_nSources, 1);
    EXPECT_EQ(TextsOf(SourceOf(loaded, person.Details().m_arrSources[0].view()).m_arrText), Texts{});
    EXPECT_EQ(TextsOf(person.Details().m_arrCitationLines), Texts{"  TEXT body"});
}

// ---- Byte-order mark ----

// The mark is no part of the first line: the header is read, and the mark's
// UTF-8 holds whatever CHAR says.
TEST(RecordParserByteOrderMark, HeaderAfterAMarkIsTheHeader) {
    const auto loaded = test::LoadText("\xEF\xBB\xBF"
                                       "0 HEAD\n1 SOUR WRITER\n1 DATE 1 JAN 2000\n1 CHAR ANSEL\n"
                                       "0 @I1@ INDI\n1 NAME Zoë /Ünal/\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(doc.m_strSourceSystem, "WRITER");
    EXPECT_EQ(doc.m_strFileDate, "1 JAN 2000");
    EXPECT_EQ(doc.m_strCharSet, "ANSEL");
    EXPECT_EQ(doc.m_nSources, 0);
    EXPECT_EQ(PersonOf(loaded, "I1").m_strGivenNames.view(), "Zoë");
    EXPECT_EQ(PersonOf(loaded, "I1").m_strSurname.view(), "Ünal");
}

} // namespace
} // namespace stirpex
