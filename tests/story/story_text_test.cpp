#include "story/story_text.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"
#include "page/page_link.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

// A source built by hand, so that its parts can hold what a trimmed GEDCOM line never does.
struct HandSource {
    CStirpexDoc doc;
    CSource& source = doc.AddSource(doc.Arena().copy("S1"));

    HandSource(std::string_view author, std::string_view title, std::string_view publication) {
        source.m_strAuthor = doc.Arena().copy(author);
        source.m_strTitle = doc.Arena().copy(title);
        source.m_strPublication = doc.Arena().copy(publication);
    }
    void addNote(std::string_view key, std::initializer_list<std::string_view> lines) {
        CNote& note = doc.AddNote(doc.Arena().copy(key));
        for (const std::string_view line : lines) {
            note.m_pLines.append(doc.Arena(), doc.Arena().copy(line));
        }
    }
    void citeNote(std::string_view key) { source.AddNote(doc.Arena(), doc.Arena().copy(key)); }
};

TEST(FormatSource, AllPartsInOrderThenTheSourceNotesThenAnEmptyLine) {
    HandSource s("Parish clerk", "Registers", "Record Society, 1987");
    s.addNote("N1", {"Copied from the", "original books."});
    s.addNote("N2", {"Indexed by name."});
    s.citeNote("N1");
    s.citeNote("N9"); // names no note: skipped
    s.citeNote("N2");
    EXPECT_EQ(FormatSource(s.doc, s.source, "entry 19"),
              "Parish clerk, Registers (Record Society, 1987), entry 19.\r\n"
              "Copied from the\r\noriginal books.\r\nIndexed by name.\r\n\r\n");
}

TEST(FormatSource, TrailingWhiteSpaceAndTheClosingFullStop) {
    struct Case {
        std::string_view author, title, publication, citation, expected;
    };
    const Case cases[] = {
        {"", "", "", "", ".\r\n\r\n"},
        {"", "Family bible", "", "", "Family bible.\r\n\r\n"},
        {"", "Letters, vol. 2.", "", "", "Letters, vol. 2.\r\n\r\n"},
        {"", "Letters", "", "p. 4.", "Letters, p. 4.\r\n\r\n"},
        {"", "Letters", "", "p. 4 \t\r\n\v\f", "Letters, p. 4.\r\n\r\n"},
        {"", "Letters", "", "p. 4. \n", "Letters, p. 4.\r\n\r\n"},
        // The no-break space (U+00A0) is not among the characters trimmed.
        {"", "Letters", "", "p. 4\xC2\xA0", "Letters, p. 4\xC2\xA0.\r\n\r\n"},
        // A citation of blanks alone still brings its separator.
        {"", "", "", "   ", ",.\r\n\r\n"},
        // The blank after an author with no title is trailing white space too.
        {"Edith", "", "", "", "Edith,.\r\n\r\n"},
        {"", "", "Privately held", "", " (Privately held).\r\n\r\n"},
        {"", "Letters.", "", "9 Oct", "Letters., 9 Oct.\r\n\r\n"},
    };
    for (const Case& c : cases) {
        HandSource s(c.author, c.title, c.publication);
        EXPECT_EQ(FormatSource(s.doc, s.source, c.citation), c.expected) << c.title << "|" << c.citation;
    }
}

// A person and two families with every list the viewer reads; S9 and N9 name nothing.
constexpr std::string_view kFamilyText = "0 @I1@ INDI\n1 NAME William /Harrow/\n"
                                         "1 BIRT\n2 SOUR @S2@\n3 PAGE births p. 1\n"
                                         "1 BAPM\n2 SOUR @S1@\n3 PAGE folio 2\n"
                                         "1 DEAT\n2 SOUR @S9@\n3 PAGE lost\n2 SOUR @S2@\n3 PAGE deaths p. 3\n"
                                         "1 BURI\n2 SOUR @S1@\n"
                                         "1 NOTE @N1@\n1 NOTE @N9@\n1 NOTE @N2@\n"
                                         "1 SOUR @S1@\n2 PAGE entry 19\n2 DATA\n3 TEXT William, son of George\n"
                                         "1 SOUR Family bible\n"
                                         "1 FAMS @F1@\n"
                                         "0 @I2@ INDI\n1 NAME /Harrow/\n1 NOTE @N2@\n"
                                         "0 @F1@ FAM\n1 HUSB @I1@\n1 MARR\n2 SOUR @S2@\n3 PAGE marriages p. 7\n"
                                         "1 DIV\n2 SOUR @S1@\n3 PAGE decree 212\n1 NOTE @N2@\n"
                                         "0 @F2@ FAM\n"
                                         "0 @N1@ NOTE Kept a ledger\n1 CONT of every clock\n1 CONT he mended.\n"
                                         "0 @N2@ NOTE They parted\n1 CONT in 1919.\n"
                                         "0 @S1@ SOUR\n1 TITL Registers\n1 AUTH Clerks\n1 NOTE @N2@\n"
                                         "0 @S2@ SOUR\n1 TITL Civil Registers\n1 PUBL Greywater\n";

class StoryTextOfAFamily : public ::testing::Test {
protected:
    const test::LoadedDoc loaded = test::LoadText(kFamilyText);
    const CStirpexDoc& doc = *loaded.doc;
    const CPerson& william = *doc.FindPerson("I1");
    const CFamily* marriage = doc.FindFamily("F1");
};

TEST_F(StoryTextOfAFamily, NotesFollowOneAnotherWithoutAnEmptyLineAndMissingOnesAreSkipped) {
    const StoryText story = AssembleStory(doc, william, LINK_NOTES, TOPIC_PERSON, nullptr);
    EXPECT_EQ(story.heading, "Notes");
    EXPECT_EQ(story.caption, "Notes for William Harrow");
    EXPECT_EQ(story.text, "Kept a ledger\r\nof every clock\r\nhe mended.\r\nThey parted\r\nin 1919.\r\n");
}

TEST_F(StoryTextOfAFamily, NotesOfAMarriageAreTheFamilysAndTheCaptionNamesThePersonShown) {
    const StoryText story = AssembleStory(doc, william, LINK_NOTES, TOPIC_MARRIAGE, marriage);
    EXPECT_EQ(story.caption, "Marriage notes for William Harrow");
    EXPECT_EQ(story.text, "They parted\r\nin 1919.\r\n");
    EXPECT_EQ(AssembleStory(doc, william, LINK_NOTES, TOPIC_MARRIAGE, doc.FindFamily("F2")).text, "");
}

TEST_F(StoryTextOfAFamily, EachTopicReadsItsOwnList) {
    struct Case {
        int topic;
        const CFamily* family;
        std::string_view caption, text;
    };
    const Case cases[] = {
        {TOPIC_PERSON, nullptr, "Sources for William Harrow",
         "Clerks, Registers, entry 19William, son of George.\r\nThey parted\r\nin 1919.\r\n\r\n"
         "Family bible.\r\n\r\n"},
        {TOPIC_BIRTH, nullptr, "Birth sources for William Harrow", "Civil Registers (Greywater), births p. 1.\r\n\r\n"},
        {TOPIC_BAPTISM, nullptr, "Baptism sources for William Harrow",
         "Clerks, Registers, folio 2.\r\nThey parted\r\nin 1919.\r\n\r\n"},
        // S9 is skipped together with its citation text "lost".
        {TOPIC_DEATH, nullptr, "Death sources for William Harrow", "Civil Registers (Greywater), deaths p. 3.\r\n\r\n"},
        {TOPIC_BURIAL, nullptr, "Burial sources for William Harrow",
         "Clerks, Registers.\r\nThey parted\r\nin 1919.\r\n\r\n"},
        {TOPIC_MARRIAGE, marriage, "Marriage sources for William Harrow",
         "Civil Registers (Greywater), marriages p. 7.\r\n\r\n"},
        {TOPIC_DIVORCE, marriage, "Divorce sources for William Harrow",
         "Clerks, Registers, decree 212.\r\nThey parted\r\nin 1919.\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const StoryText story = AssembleStory(doc, william, LINK_SOURCES, c.topic, c.family);
        EXPECT_EQ(story.caption, c.caption) << c.topic;
        EXPECT_EQ(story.text, c.text) << c.topic;
    }
}

TEST_F(StoryTextOfAFamily, AListTheViewerDoesNotKnowStaysEmpty) {
    const struct {
        int kind, topic;
        const CFamily* family;
    } cases[] = {
        {LINK_SOURCES, TOPIC_RELATIVE, nullptr}, {LINK_SOURCES, TOPIC_MARRIAGE, nullptr},
        {LINK_SOURCES, TOPIC_DIVORCE, nullptr},  {LINK_SOURCES, 0, nullptr},
        {LINK_PERSON, TOPIC_PERSON, nullptr},    {LINK_END, TOPIC_MARRIAGE, marriage},
    };
    for (const auto& c : cases) {
        const StoryText story = AssembleStory(doc, william, c.kind, c.topic, c.family);
        EXPECT_EQ(story.heading, "") << c.kind << "/" << c.topic;
        EXPECT_EQ(story.text, "") << c.kind << "/" << c.topic;
        EXPECT_EQ(story.caption, " for William Harrow") << c.kind << "/" << c.topic;
    }
}

TEST_F(StoryTextOfAFamily, CaptionOfAPersonWithoutGivenNamesKeepsTheBlankBeforeTheSurname) {
    const StoryText story = AssembleStory(doc, *doc.FindPerson("I2"), LINK_NOTES, TOPIC_PERSON, nullptr);
    EXPECT_EQ(story.caption, "Notes for  Harrow");
    EXPECT_EQ(story.text, "They parted\r\nin 1919.\r\n");
}

} // namespace
} // namespace stirpex
