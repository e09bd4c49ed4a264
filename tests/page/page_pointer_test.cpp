#include "page/page_pointer.h"

#include "page/page_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

using test::PageFixture;

// I1's father I2, mother I3; I1 married to I4 with a note, a divorce with a source.
constexpr std::string_view kFamily = "0 @I1@ INDI\n1 NAME Tom /Ash/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F2@\n1 NOTE own\n"
                                     "0 @I2@ INDI\n1 NAME Sam /Ash/\n1 SEX M\n1 FAMS @F1@\n"
                                     "0 @I3@ INDI\n1 NAME Eve /Oak/\n1 SEX F\n1 FAMS @F1@\n"
                                     "0 @I4@ INDI\n1 NAME Ida /Elm/\n1 SEX F\n1 FAMS @F2@\n"
                                     "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n"
                                     "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I4@\n1 NOTE wed\n1 DIV\n2 SOUR @S1@\n"
                                     "0 @S1@ SOUR\n0 TRLR\n";

struct Navigation : ::testing::Test {
    Navigation() : f(kFamily) { f.paint(); }

    // A press and release at the same point, as the view reports them.
    PageEffects click(int x, int y) {
        OnMouseMove(f.page, x, y);
        OnLButtonDown(f.page);
        return OnLButtonUp(f.page, f.doc(), x, y);
    }
    PageEffects clickText(std::string_view text) {
        const DrawnText& t = f.op(text);
        return click(t.x + 1, t.y + 1);
    }
    std::string current() const { return std::string(f.page.m_pPerson->m_strID.view()); }

    PageFixture f;
};

TEST_F(Navigation, ClickOnRelativeShowsThemAndRecordsAVisit) {
    EXPECT_EQ(current(), "I1");
    const PageEffects effects = clickText("Ash, Sam (?-?)");
    EXPECT_TRUE(effects.repaintAll);
    EXPECT_FALSE(effects.story.has_value());
    EXPECT_EQ(current(), "I2");
    EXPECT_TRUE(f.page.m_rectHot.empty());
    const PaintOutcome outcome = f.paint();
    EXPECT_TRUE(outcome.newPerson);
    EXPECT_EQ(outcome.caption, "test.ged - I2");
    EXPECT_TRUE(f.page.m_bCanBack);
    EXPECT_FALSE(f.page.m_bCanForward);
    EXPECT_EQ(f.page.m_history.position(), 2);
}

TEST_F(Navigation, PressTurnsRedDragOffTurnsBlueAndReleaseDoesNothing) {
    const DrawnText& father = f.op("Ash, Sam (?-?)");
    const PageRect rect{father.x, father.y, father.x + 8 * 14, father.y + 20};
    PageEffects effects = OnMouseMove(f.page, father.x + 3, father.y + 3);
    EXPECT_EQ(effects.cursor, PageCursor::Hand);
    ASSERT_EQ(effects.repaintCount, 1);
    EXPECT_EQ(effects.repaint[0], rect);
    f.paint();
    EXPECT_EQ(f.op("Ash, Sam (?-?)").color, kHotLinkColor);

    // Moving inside the hot link changes nothing and repaints nothing.
    effects = OnMouseMove(f.page, father.x + 9, father.y + 9);
    EXPECT_EQ(effects.repaintCount, 0);
    EXPECT_EQ(effects.cursor, PageCursor::Unchanged);

    effects = OnLButtonDown(f.page);
    ASSERT_EQ(effects.repaintCount, 1);
    f.paint();
    EXPECT_EQ(f.op("Ash, Sam (?-?)").color, kPressedLinkColor);

    effects = OnMouseMove(f.page, 450, 300);
    EXPECT_EQ(effects.cursor, PageCursor::Arrow);
    ASSERT_EQ(effects.repaintCount, 1);
    EXPECT_EQ(effects.repaint[0], rect);
    f.paint();
    EXPECT_EQ(f.op("Ash, Sam (?-?)").color, kLinkColor);
    effects = OnLButtonUp(f.page, f.doc(), father.x + 3, father.y + 3);
    EXPECT_FALSE(effects.repaintAll);
    EXPECT_EQ(current(), "I1");
}

TEST_F(Navigation, MovingFromLinkToLinkRepaintsBoth) {
    const DrawnText& father = f.op("Ash, Sam (?-?)");
    const DrawnText& mother = f.op("Oak, Eve (?-?)");
    OnMouseMove(f.page, father.x, father.y);
    const PageEffects effects = OnMouseMove(f.page, mother.x, mother.y);
    ASSERT_EQ(effects.repaintCount, 2);
    EXPECT_EQ(effects.repaint[0].top, father.y);
    EXPECT_EQ(effects.repaint[1].top, mother.y);
}

TEST_F(Navigation, PressOutsideAndReleaseOnLinkDoesNothing) {
    OnMouseMove(f.page, 450, 300);
    OnLButtonDown(f.page);
    const DrawnText& father = f.op("Ash, Sam (?-?)");
    OnMouseMove(f.page, father.x + 1, father.y + 1);
    const PageEffects effects = OnLButtonUp(f.page, f.doc(), father.x + 1, father.y + 1);
    EXPECT_FALSE(effects.repaintAll);
    EXPECT_EQ(current(), "I1");
}

TEST_F(Navigation, DoubleClickMovesOneStep) {
    const DrawnText father = f.op("Ash, Sam (?-?)");
    click(father.x + 1, father.y + 1);
    f.paint();
    // The second press of a double click presses nothing; its release finds nothing pressed.
    OnLButtonUp(f.page, f.doc(), father.x + 1, father.y + 1);
    EXPECT_EQ(current(), "I2");
    OnBack(f.page, f.doc());
    f.paint();
    EXPECT_EQ(current(), "I1");
    EXPECT_FALSE(f.page.m_bCanBack);
    EXPECT_TRUE(f.page.m_bCanForward);
}

TEST_F(Navigation, ClickAfterBackDiscardsForward) {
    clickText("Ash, Sam (?-?)");
    f.paint();
    OnBack(f.page, f.doc());
    f.paint();
    ASSERT_TRUE(f.page.m_bCanForward);
    clickText("Oak, Eve (?-?)");
    f.paint();
    EXPECT_EQ(current(), "I3");
    EXPECT_FALSE(f.page.m_bCanForward);
    EXPECT_TRUE(f.page.m_bCanBack);
    OnBack(f.page, f.doc());
    f.paint();
    EXPECT_EQ(current(), "I1");
    OnForward(f.page, f.doc());
    f.paint();
    EXPECT_EQ(current(), "I3");
}

TEST_F(Navigation, BackAndForwardDoNothingWhileDisabled) {
    EXPECT_FALSE(OnBack(f.page, f.doc()).repaintAll);
    EXPECT_FALSE(OnForward(f.page, f.doc()).repaintAll);
    EXPECT_EQ(f.page.m_history.position(), 1);
}

TEST_F(Navigation, GoToSamePersonTwiceRecordsTwoVisits) {
    EXPECT_TRUE(OnGoToAccepted(f.page, f.doc(), "I2").repaintAll);
    f.paint();
    OnGoToAccepted(f.page, f.doc(), "I2");
    f.paint();
    EXPECT_EQ(f.page.m_history.position(), 3);
    // Other case finds the key; at-signs and blanks name nobody.
    EXPECT_TRUE(OnGoToAccepted(f.page, f.doc(), "i3").repaintAll);
    f.paint();
    EXPECT_EQ(current(), "I3");
    for (std::string_view typed : {"@I3@", "I2 ", ""}) {
        EXPECT_FALSE(OnGoToAccepted(f.page, f.doc(), typed).repaintAll) << typed;
    }
    EXPECT_EQ(current(), "I3");
}

TEST_F(Navigation, The256thVisitDropsTheFirst) {
    // Visits alternate I2 and I3 after the start person I1 at position 1.
    for (int i = 0; i < 255; ++i) {
        ShowPerson(f.page, f.person(i % 2 == 0 ? "I2" : "I3"));
        f.paint();
    }
    EXPECT_EQ(f.page.m_history.position(), 255);
    int backs = 0;
    while (f.page.m_bCanBack) {
        OnBack(f.page, f.doc());
        f.paint();
        ++backs;
    }
    EXPECT_EQ(backs, 254);
    EXPECT_EQ(current(), "I2"); // the second visit; the start person I1 is gone
}

TEST_F(Navigation, NotesAndSourcesLinksAskForTheirStory) {
    PageEffects effects = clickText("Notes");
    ASSERT_TRUE(effects.story.has_value());
    EXPECT_EQ(effects.story->nKind, LINK_NOTES);
    EXPECT_EQ(effects.story->nTopic, TOPIC_PERSON);
    EXPECT_EQ(effects.story->family, nullptr);
    EXPECT_TRUE(effects.repaintAll);
    EXPECT_EQ(effects.cursor, PageCursor::Arrow);
    EXPECT_TRUE(f.page.m_rectHot.empty());
    EXPECT_EQ(current(), "I1");

    f.paint();
    const PageLink* marriageNotes = nullptr;
    const PageLink* divorceSources = nullptr;
    for (const PageLink& link : f.page.Links()) {
        if (link.nTopic == TOPIC_MARRIAGE) {
            marriageNotes = &link;
        } else if (link.nTopic == TOPIC_DIVORCE) {
            divorceSources = &link;
        }
    }
    ASSERT_NE(marriageNotes, nullptr);
    ASSERT_NE(divorceSources, nullptr);
    const PageRect divorceRect = divorceSources->rect;
    effects = click(marriageNotes->rect.left, marriageNotes->rect.top);
    ASSERT_TRUE(effects.story.has_value());
    EXPECT_EQ(effects.story->nKind, LINK_NOTES);
    EXPECT_EQ(effects.story->family, f.doc().FindFamily("F2"));
    f.paint();
    effects = click(divorceRect.left, divorceRect.top);
    ASSERT_TRUE(effects.story.has_value());
    EXPECT_EQ(effects.story->nKind, LINK_SOURCES);
    EXPECT_EQ(effects.story->nTopic, TOPIC_DIVORCE);
    EXPECT_EQ(effects.story->family, f.doc().FindFamily("F2"));
}

TEST_F(Navigation, NarrowWindowMovesTheColumnsNotTheValues) {
    f.paint(195);
    const PageLink* father = f.page.HitTest(101, 81);
    ASSERT_NE(father, nullptr);
    EXPECT_EQ(father->nKind, LINK_PERSON);
    const PageLink& notes = f.page.Links().front();
    EXPECT_EQ(notes.nKind, LINK_NOTES);
    ASSERT_TRUE(click(notes.rect.left, notes.rect.top).story.has_value());
}

TEST_F(Navigation, TabWalksTheLinksInDrawingOrderAndWraps) {
    const std::vector<PageLink>& links = f.page.Links();
    ASSERT_GE(links.size(), 3u);
    const int last = static_cast<int>(links.size()) - 1;
    PageEffects effects = OnTabKey(f.page, false);
    EXPECT_EQ(f.page.m_nFocus, 0);
    EXPECT_EQ(effects.repaintCount, 1);
    EXPECT_EQ(effects.reveal, links[0].rect);
    effects = OnTabKey(f.page, false);
    EXPECT_EQ(f.page.m_nFocus, 1);
    // The frame leaves the old link and comes to the new one.
    ASSERT_EQ(effects.repaintCount, 2);
    EXPECT_EQ(effects.repaint[0], links[0].rect);
    EXPECT_EQ(effects.repaint[1], links[1].rect);
    OnTabKey(f.page, true);
    OnTabKey(f.page, true);
    EXPECT_EQ(f.page.m_nFocus, last);
    OnTabKey(f.page, false);
    EXPECT_EQ(f.page.m_nFocus, 0);

    PageFixture none("0 @I1@ INDI\n0 TRLR\n");
    none.paint();
    EXPECT_TRUE(OnTabKey(none.page, false).reveal.empty());
    EXPECT_EQ(none.page.m_nFocus, -1);
    EXPECT_EQ(FocusedLink(none.page), nullptr);
}

// A screen reader puts the focus on a link it names, the frame and the scroll following as for Tab.
TEST_F(Navigation, FocusLinkFramesTheLinkNamedAndIgnoresOneThePageLacks) {
    const std::vector<PageLink>& links = f.page.Links();
    ASSERT_GE(links.size(), 3u);
    OnTabKey(f.page, false);
    const PageEffects effects = FocusLink(f.page, 2);
    EXPECT_EQ(f.page.m_nFocus, 2);
    ASSERT_EQ(effects.repaintCount, 2);
    EXPECT_EQ(effects.repaint[0], links[0].rect);
    EXPECT_EQ(effects.repaint[1], links[2].rect);
    EXPECT_EQ(effects.reveal, links[2].rect);
    EXPECT_EQ(FocusLink(f.page, static_cast<int>(links.size())).repaintCount, 0);
    EXPECT_EQ(FocusLink(f.page, -1).repaintCount, 0);
    EXPECT_EQ(f.page.m_nFocus, 2);
}

TEST_F(Navigation, ShiftTabFromNowhereStartsAtTheLastLink) {
    OnTabKey(f.page, true);
    EXPECT_EQ(f.page.m_nFocus, static_cast<int>(f.page.Links().size()) - 1);
}

TEST_F(Navigation, EnterFollowsTheFocusedLinkAsAClickWould) {
    EXPECT_FALSE(OnFollowFocus(f.page, f.doc()).repaintAll); // no focus yet
    const std::vector<PageLink>& links = f.page.Links();
    const auto focusOn = [&](int kind, int topic) {
        for (std::size_t i = 0; i < links.size(); ++i) {
            if (links[i].nKind == kind && links[i].nTopic == topic) {
                f.page.m_nFocus = static_cast<int>(i);
                return;
            }
        }
        FAIL() << "no link of kind " << kind;
    };
    focusOn(LINK_NOTES, TOPIC_MARRIAGE);
    const PageEffects story = OnFollowFocus(f.page, f.doc());
    ASSERT_TRUE(story.story.has_value());
    EXPECT_EQ(story.story->family, f.doc().FindFamily("F2"));
    EXPECT_EQ(current(), "I1");

    focusOn(LINK_PERSON, TOPIC_RELATIVE); // the father, drawn first
    EXPECT_TRUE(OnFollowFocus(f.page, f.doc()).repaintAll);
    EXPECT_EQ(current(), "I2");
    f.paint();
    // A new person starts without a focus.
    EXPECT_EQ(f.page.m_nFocus, -1);
    EXPECT_TRUE(f.page.m_bCanBack);
}

TEST_F(Navigation, FrameMoveClearsTheHotLink) {
    const DrawnText& father = f.op("Ash, Sam (?-?)");
    OnMouseMove(f.page, father.x, father.y);
    PageEffects effects = OnNcMouseMove(f.page);
    EXPECT_EQ(effects.repaintCount, 1);
    EXPECT_EQ(effects.cursor, PageCursor::Arrow);
    EXPECT_TRUE(f.page.m_rectHot.empty());
    effects = OnNcMouseMove(f.page);
    EXPECT_EQ(effects.repaintCount, 0);
    EXPECT_EQ(effects.cursor, PageCursor::Unchanged);
}

TEST_F(Navigation, TreeChoiceIsShownAndRecordedEvenForTheSamePerson) {
    OnTreeClosed(f.page, true); // an "Unknown partner" node chose nobody
    f.paint();
    EXPECT_EQ(f.page.m_history.position(), 2);
    EXPECT_TRUE(OnTreeClosed(f.page, false).repaintAll);
    f.paint();
    EXPECT_EQ(f.page.m_history.position(), 2);
}

TEST_F(Navigation, CommandsFollowThePageFlags) {
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_VIEW_ANCESTORS));
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_VIEW_DESCENDANTS));
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_VIEW_MTDNA));
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_VIEW_YCHROMOSOME));
    EXPECT_FALSE(IsCommandEnabled(f.page, ID_GO_BACK));
    EXPECT_FALSE(IsCommandEnabled(f.page, ID_GO_FORWARD));
    for (int command : {ID_EDIT_FIND, ID_EDIT_GOTO, ID_FILE_PROPERTIES, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW}) {
        EXPECT_TRUE(IsCommandEnabled(f.page, command)) << command;
    }
    EXPECT_FALSE(IsCommandEnabled(f.page, 57603)); // save: not the page's
    ShowPerson(f.page, f.person("I4"));
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_VIEW_ANCESTORS)); // flags change only with the next paint
    f.paint();
    EXPECT_FALSE(IsCommandEnabled(f.page, ID_VIEW_ANCESTORS));
    EXPECT_TRUE(IsCommandEnabled(f.page, ID_GO_BACK));
}

TEST(PageHistoryTable, HoldsAtMost255Visits) {
    PageHistory history;
    for (int i = 1; i <= 300; ++i) {
        history.RecordVisit(i);
    }
    EXPECT_EQ(history.position(), 255);
    EXPECT_EQ(history.top(), 255);
    int oldest = 0;
    while (history.CanBack()) {
        oldest = history.Back();
    }
    EXPECT_EQ(oldest, 46);
    EXPECT_EQ(history.Forward(), 47);
}

TEST(MediaLink, ClickAsksForTheRecordAndLeavesThePage) {
    PageFixture f("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 OBJE @M2@\n0 @M1@ OBJE\n1 FILE a.png\n"
                  "0 @M2@ OBJE\n1 FILE b.png\n0 TRLR\n");
    f.show("I1");
    f.paint();
    const DrawnText& media = f.op("b.png");
    EXPECT_EQ(OnMouseMove(f.page, media.x + 1, media.y + 1).cursor, PageCursor::Hand);
    OnLButtonDown(f.page);
    const PageEffects effects = OnLButtonUp(f.page, f.doc(), media.x + 1, media.y + 1);
    EXPECT_EQ(effects.media, std::optional<int>(1));
    EXPECT_FALSE(effects.story.has_value());
    EXPECT_FALSE(effects.repaintAll);
    EXPECT_TRUE(f.page.m_rectHot.empty());
    EXPECT_TRUE(f.page.m_rectPressed.empty());
    EXPECT_EQ(f.page.m_pPerson, f.person("I1"));
}

} // namespace
} // namespace stirpex
