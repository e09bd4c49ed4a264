// The record parser's texts: addresses, shared notes, HTML notes, and what
// GEDCOM 7's @VOID@ and "@@" do to notes, citations and objects.

#include "gedcom/parser_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

using test::Citations;
using test::CitationsOf;
using test::LoadGedcom7;
using test::LoadIndi;
using test::NoteLines;
using test::PersonOf;
using test::Texts;
using test::TextsOf;

// An address outside individual and family records is a note.
Texts AddressOf(const std::string& lines) {
    const auto loaded = test::LoadText("0 @S1@ SOUR\n" + lines + "\n");
    const CSource& source = test::SourceOf(loaded, "S1");
    if (source.m_nNotes != 1) {
        return {"(" + std::to_string(source.m_nNotes) + " notes)"};
    }
    return NoteLines(loaded, source.m_arrNotes[0]);
}

// An address in a person is a fact: its lines, then the parts they lack.
Texts FactAddressOf(const std::string& lines) {
    const auto loaded = LoadIndi(lines);
    const FactList& facts = PersonOf(loaded, "I1").Details().m_facts;
    if (facts.size() != 1) {
        return {"(" + std::to_string(facts.size()) + " facts)"};
    }
    return TextsOf(facts.begin()->Details().m_arrAddress);
}

// ---- Joined text ----

// The join comes before conversion: a character whose bytes, or an ANSEL mark
// and its letter, were split over two lines comes out whole.
TEST(RecordParserJoinedText, CharacterSplitOverAConcLineComesOutWhole) {
    struct Case {
        const char* charSet;
        const char* first;
        const char* rest;
        const char* note;
    };
    const Case cases[] = {
        {"UTF-8", "caf\xC3", "\xA9 au lait", "caf\u00e9 au lait"},
        {"UTF-8", "a tulip \xF0\x9F", "\x8C\xB7", "a tulip \U0001F337"},
        {"ANSEL", "caf\xE2", "e au lait", "caf\u00e9 au lait"},
    };
    for (const Case& c : cases) {
        const auto loaded = test::LoadText(std::string("0 HEAD\n1 CHAR ") + c.charSet + "\n0 @I1@ INDI\n1 NOTE " +
                                           c.first + "\n2 CONC " + c.rest + "\n");
        const CPerson& person = PersonOf(loaded, "I1");
        ASSERT_EQ(person.Details().m_nNotes, 1) << c.note;
        EXPECT_EQ(NoteLines(loaded, person.Details().m_arrNotes[0]), Texts{c.note});
    }
}

// ---- Addresses ----

// The old reader kept only the ADDR line; its CONT lines were lost.
TEST(RecordParserAddresses, ContinuationLinesAreLinesOfTheAddress) {
    struct Case {
        const char* lines;
        Texts address;
    };
    const Case cases[] = {
        {"1 ADDR 1 Main St\n2 CONT Spring\n2 CONC field\n2 CONT\n2 CONT Kent",
         {"Address:  1 Main St", "Springfield", "", "Kent"}},
        // Without a value of its own, the first line with text is the labelled one.
        {"1 ADDR\n2 CONT\n2 CONT 12 High St\n2 CONT Leeds", {"Address:  12 High St", "Leeds"}},
        {"1 ADDR \n2 CONT\n2 CONT \n2 ADR1 ", {}},
        // Lines that continue nothing in an address stay out of it.
        {"1 ADDR 1 Main St\n2 TYPE home\n2 NOTE n\n2 DATE 1900\n2 CONC x", {"Address:  1 Main St"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddressOf(c.lines), c.address) << c.lines;
    }
    struct FactCase {
        const char* lines;
        Texts address;
        Texts kept;
    };
    const FactCase factCases[] = {
        {"1 ADDR 1 Main St\n2 CONT Spring\n2 CONC field\n2 CONT\n2 CONT Kent",
         {"1 Main St", "Springfield", "", "Kent"},
         {}},
        {"1 ADDR\n2 CONT\n2 CONT 12 High St\n2 CONT Leeds", {"", "12 High St", "Leeds"}, {}},
        {"1 ADDR 1 Main St\n2 PHON 123\n3 _X y\n2 EMAIL a@b.org",
         {"1 Main St"},
         {"PHON 123", "  _X y", "EMAIL a@b.org"}},
    };
    for (const FactCase& c : factCases) {
        const auto loaded = LoadIndi(c.lines);
        const FactList& facts = PersonOf(loaded, "I1").Details().m_facts;
        ASSERT_EQ(facts.size(), 1) << c.lines;
        EXPECT_EQ(facts.begin()->m_strTag.view(), "ADDR");
        EXPECT_EQ(TextsOf(facts.begin()->Details().m_arrAddress), c.address) << c.lines;
        EXPECT_EQ(TextsOf(facts.begin()->Details().m_arrLines), c.kept) << c.lines;
    }
}

// Most writers give the parts of an address twice, in its lines and one by one:
// a part is added only where the lines lack it.
TEST(RecordParserAddresses, PartsAreAddedWhereTheLinesLackThem) {
    struct Case {
        const char* lines;
        Texts address;
    };
    const Case cases[] = {
        {"1 ADDR 35 North West Temple\n2 CONT Salt Lake City, UT 84111\n2 ADR1 35 North West Temple\n"
         "2 ADR2 Across the street\n2 ADR3 Gate 2\n2 CITY Salt Lake City\n2 STAE Utah\n2 POST 84111\n2 CTRY USA",
         {"Address:  35 North West Temple", "Salt Lake City, UT 84111", "Across the street", "Gate 2", "Utah", "USA"}},
        {"1 ADDR\n2 CITY Leiden\n2 POST\n2 CTRY Netherlands", {"Address:  Leiden", "Netherlands"}},
        {"1 ADDR\n2 CITY Leiden\n2 CITY Leiden", {"Address:  Leiden"}},
        {"1 ADDR x\n2 PHON 123\n2 EMAIL a@b.org", {"Address:  x"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddressOf(c.lines), c.address) << c.lines;
        if (!c.address.empty()) {
            Texts unlabelled = c.address;
            unlabelled[0].erase(0, std::string_view("Address:  ").size());
            EXPECT_EQ(FactAddressOf(c.lines), unlabelled) << c.lines;
        }
    }
}

// Continuation lines go to the note the ADDR line made, never to another one.
TEST(RecordParserAddresses, LinesUnderAPointerOrOutsideAnAddressChangeNoNote) {
    const std::string lines = "1 ADDR @N1@\n2 CONT lost\n2 CITY lost\n1 OCCU Smith\n2 CITY lost\n1 RESI\n"
                              "2 CITY lost\n2 CONT lost\n";
    const auto loaded = test::LoadText("0 @N1@ NOTE one\n0 @S1@ SOUR\n" + lines + "0 @I1@ INDI\n" + lines);
    EXPECT_EQ(NoteLines(loaded, "N1"), Texts{"one"});
    const CSource& source = test::SourceOf(loaded, "S1");
    ASSERT_EQ(source.m_nNotes, 2);
    EXPECT_EQ(NoteLines(loaded, source.m_arrNotes[1]), Texts{"Occupation:  Smith"});
    EXPECT_EQ(loaded.doc->m_nNotes, 2);
    EXPECT_EQ(PersonOf(loaded, "I1").Details().m_nNotes, 0);
}

// ---- GEDCOM 7: shared notes ----

TEST(RecordParserSharedNotes, SharedNoteRecordIsANoteAndItsPointerLinksIt) {
    const auto loaded = LoadGedcom7("0 @N1@ SNOTE First li\n1 CONT second\n1 MIME text/plain\n0 @N2@ SNOTE\n"
                                    "0 @I1@ INDI\n1 SNOTE @N1@\n1 SNOTE @N2@\n0 @F1@ FAM\n1 SNOTE @N1@\n"
                                    "0 @S1@ SOUR\n1 SNOTE @N1@\n");
    EXPECT_EQ(loaded.doc->m_nNotes, 2);
    EXPECT_EQ(NoteLines(loaded, "N1"), (Texts{"First li", "second"}));
    EXPECT_EQ(NoteLines(loaded, "N2"), Texts{});
    EXPECT_EQ(TextsOf(PersonOf(loaded, "I1").Details().m_arrNotes), (Texts{"N1", "N2"}));
    EXPECT_EQ(TextsOf(test::FamilyOf(loaded, "F1").Details().m_arrNotes), Texts{"N1"});
    EXPECT_EQ(TextsOf(test::SourceOf(loaded, "S1").m_arrNotes), Texts{"N1"});
}

// ---- GEDCOM 7: @VOID@ ----

TEST(RecordParserVoid, VoidCitesLinksAndNotesNothing) {
    const auto loaded = LoadGedcom7("0 @S1@ SOUR\n0 @N1@ SNOTE kept\n0 @I1@ INDI\n1 SOUR @S1@\n2 PAGE 5\n"
                                    "1 SOUR @VOID@\n2 PAGE lost\n2 DATA\n3 TEXT lost\n4 CONT lost\n"
                                    "1 BIRT\n2 SOUR @VOID@\n3 PAGE lost\n2 SOUR @S1@\n3 PAGE 10\n"
                                    "1 OBJE @VOID@\n1 SNOTE @VOID@\n1 NOTE @VOID@\n2 CONT lost\n");
    const PersonDetails& person = PersonOf(loaded, "I1").Details();
    EXPECT_EQ(CitationsOf(person.m_arrSources, person.m_arrSourceTexts), (Citations{{"S1", "5"}}));
    EXPECT_EQ(test::EventCitations(person.m_facts, ClassicEvent::Birth), (Citations{{"S1", "10"}}));
    EXPECT_EQ(person.m_nObjects, 0);
    EXPECT_EQ(person.m_nNotes, 0);
    EXPECT_EQ(loaded.doc->m_nNotes, 1);
    EXPECT_EQ(NoteLines(loaded, "N1"), Texts{"kept"});
    EXPECT_EQ(loaded.doc->m_nExtObjs, 0);
}

// Before GEDCOM 7 there is no @VOID@: a record may have that key.
TEST(RecordParserVoid, OlderFilesKeepVoidAsAKey) {
    const auto loaded = LoadIndi("1 SOUR @VOID@\n1 NOTE @VOID@\n1 FAMC @VOID@");
    const CPerson& person = PersonOf(loaded, "I1");
    EXPECT_EQ(TextsOf(person.Details().m_arrSources), Texts{"VOID"});
    EXPECT_EQ(TextsOf(person.Details().m_arrNotes), Texts{"VOID"});
    EXPECT_EQ(person.m_strParentFamily.view(), "VOID");
}

// ---- GEDCOM 7: a leading "@@" ----

// GEDCOM 7 doubles a value's leading '@' (and only that one). Older files keep
// their values as written: most of their writers never doubled an '@'.
TEST(RecordParserAtSigns, LeadingDoubleAtIsOneAtInGedcom7Only) {
    const std::string records = "0 @N1@ SNOTE @@ one\n1 CONT @@two @@ three\n1 CONT a@@b\n"
                                "0 @N2@ NOTE @@ one\n1 CONT @@two\n"
                                "0 @I1@ INDI\n1 NAME @@Nick /Smith/\n1 BIRT\n2 PLAC @@Home\n"
                                "0 @S1@ SOUR\n1 TITL @@Title\n";
    const auto seven = LoadGedcom7(records);
    EXPECT_EQ(NoteLines(seven, "N1"), (Texts{"@ one", "@two @@ three", "a@@b"}));
    EXPECT_EQ(NoteLines(seven, "N2"), (Texts{"@ one", "@two"}));
    EXPECT_EQ(PersonOf(seven, "I1").m_strGivenNames.view(), "@Nick");
    EXPECT_EQ(PersonOf(seven, "I1").Event(ClassicEvent::Birth).place, "@Home");
    EXPECT_EQ(test::SourceOf(seven, "S1").m_strTitle.view(), "@Title");

    const auto older = test::LoadText("0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n" + records);
    EXPECT_EQ(NoteLines(older, "N1"), (Texts{"@@ one", "@@two @@ three", "a@@b"}));
    EXPECT_EQ(PersonOf(older, "I1").m_strGivenNames.view(), "@@Nick");
    EXPECT_EQ(PersonOf(older, "I1").Event(ClassicEvent::Birth).place, "@@Home");
}

// ---- HTML notes ----

TEST(RecordParserHtmlNotes, NoteMarkedAsHtmlIsKeptAsPlainText) {
    const auto loaded = LoadGedcom7("0 @N1@ SNOTE <p>First &amp; \n1 CONT best</p><p>Second</p>\n1 MIME text/html\n"
                                    "0 @I1@ INDI\n1 NOTE <b>bold</b><br>next\n2 MIME TEXT/HTML; charset=UTF-8\n"
                                    "1 NOTE <b>as written</b>\n2 MIME text/plain\n1 NOTE <i>no type</i>\n"
                                    "1 SNOTE @N1@\n2 MIME text/html\n");
    EXPECT_EQ(NoteLines(loaded, "N1"), (Texts{"First & best", "Second"}));
    const PersonDetails& person = PersonOf(loaded, "I1").Details();
    ASSERT_EQ(person.m_nNotes, 4);
    EXPECT_EQ(NoteLines(loaded, person.m_arrNotes[0]), (Texts{"bold", "next"}));
    EXPECT_EQ(NoteLines(loaded, person.m_arrNotes[1]), Texts{"<b>as written</b>"});
    EXPECT_EQ(NoteLines(loaded, person.m_arrNotes[2]), Texts{"<i>no type</i>"});
}

// A MIME line changes only the note its own NOTE line made, and only once.
TEST(RecordParserHtmlNotes, MimeUnderAnythingElseChangesNoNote) {
    const auto loaded =
        LoadGedcom7("0 @N1@ SNOTE <b>one</b>\n0 @N2@ SNOTE &amp;lt;\n1 MIME text/html\n1 MIME text/html\n"
                    "0 @I1@ INDI\n1 SNOTE @N1@\n2 MIME text/html\n"
                    "1 BIRT\n2 MIME text/html\n1 OBJE\n2 MIME text/html\n");
    EXPECT_EQ(NoteLines(loaded, "N1"), Texts{"<b>one</b>"});
    EXPECT_EQ(NoteLines(loaded, "N2"), Texts{"&lt;"});
}

} // namespace
} // namespace stirpex
