// The person page's Notes and Sources columns, its width, the reuse of its
// layout and the rows a paint draws (person_page.h).

#include "page/person_page.h"

#include "page/page_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace stirpex {
namespace {

using test::PageFixture;

// A birth place of 59 characters: a value 472 wide at x 100, with notes and sources on its page.
constexpr std::string_view kLongPlace =
    "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 NOTE n\n1 SOUR @S1@\n1 FAMS @F1@\n"
    "1 BIRT\n2 PLAC 123456789 123456789 123456789 123456789 123456789 123456789\n2 SOUR @S1@\n"
    "0 @F1@ FAM\n1 WIFE @I1@\n1 MARR\n2 DATE 1900\n1 NOTE wed\n1 SOUR @S1@\n0 @S1@ SOUR\n0 TRLR\n";

bool overlap(const PageRect& a, const PageRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The right edge of the widest text drawn outside the columns.
int valueRight(const RecordingSurface& surface) {
    int right = 0;
    for (const DrawnText& t : surface.ops()) {
        if (t.face != PageFace::SmallLink) {
            right = std::max(right, t.x + RecordingSurface::kCharWidth * static_cast<int>(t.text.size()));
        }
    }
    return right;
}

TEST(PageColumns, ALongValuePushesBothColumnsRight) {
    PageFixture f(kLongPlace);
    const PaintOutcome outcome = f.paint(500);
    EXPECT_EQ(f.page.m_nNotesX, 572 + PersonPage::kColumnGap);
    EXPECT_EQ(f.page.m_nSourcesX, 582 + 50);
    for (const DrawnText& t : f.surface.ops()) {
        if (t.text == "Notes") {
            EXPECT_EQ(t.x, 582) << t.y;
        } else if (t.text == "Sources") {
            EXPECT_EQ(t.x, 632) << t.y;
        }
    }
    // The page is as wide as its last "Sources" link, and the view scrolls to it.
    EXPECT_EQ(outcome.width, 632 + 56);
    EXPECT_EQ(f.page.PageWidth(), 688);
}

TEST(PageColumns, AWideWindowKeepsThemAtItsRightEdge) {
    PageFixture f(kLongPlace);
    const PaintOutcome outcome = f.paint(1000);
    EXPECT_EQ(f.page.m_nNotesX, 905);
    EXPECT_EQ(f.page.m_nSourcesX, 955);
    EXPECT_EQ(outcome.width, 955 + 56);
    // Exactly the gap left: still the window's columns.
    f.paint(572 + PersonPage::kColumnGap + 95);
    EXPECT_EQ(f.page.m_nNotesX, 582);
    f.paint(572 + PersonPage::kColumnGap + 94);
    EXPECT_EQ(f.page.m_nNotesX, 582);
}

TEST(PageColumns, NoLinkOverlapsAnotherAndNoColumnAValueAtAnyWidth) {
    PageFixture f(kLongPlace);
    for (int width = 0; width <= 800; width += 7) {
        f.paint(width);
        const std::vector<PageLink>& links = f.page.Links();
        for (std::size_t i = 0; i < links.size(); ++i) {
            for (std::size_t j = i + 1; j < links.size(); ++j) {
                EXPECT_FALSE(overlap(links[i].rect, links[j].rect)) << width << ": links " << i << " and " << j;
            }
        }
        EXPECT_GE(f.page.m_nNotesX, valueRight(f.surface) + PersonPage::kColumnGap) << width;
        EXPECT_GE(f.page.m_nSourcesX, f.page.m_nNotesX + 40 + PersonPage::kColumnGap) << width;
    }
}

// A face that measures "Notes" wider than the usual step between the columns.
class WideNotesSurface final : public PageSurface {
public:
    PageFace SelectFace(PageFace face) override {
        const PageFace previous = m_face;
        m_face = face;
        return previous;
    }
    void SetTextColor(Rgb) override {}
    void TextOut(int, int, std::string_view) override {}
    int TextWidth(std::string_view text) override {
        return static_cast<int>(text.size()) * (m_face == PageFace::SmallLink ? 20 : 8);
    }

private:
    PageFace m_face = PageFace::Text;
};

TEST(PageColumns, SourcesStayClearOfAWideNotesLink) {
    PageFixture f(kLongPlace);
    WideNotesSurface surface;
    f.page.OnDraw(surface, f.doc(), 2000, "test.ged");
    EXPECT_EQ(f.page.m_nSourcesX, f.page.m_nNotesX + 100 + PersonPage::kColumnGap);
}

TEST(PageWidth, IsTheOldScrollWidthForANarrowPage) {
    PageFixture f("0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n");
    EXPECT_EQ(f.paint(100).width, PersonPage::kScrollWidth);
    EXPECT_EQ(f.paint(0).width, PersonPage::kScrollWidth);
}

// Counts the measuring a layout needs: a paint that measures nothing laid nothing out.
class CountingSurface final : public PageSurface {
public:
    PageFace SelectFace(PageFace face) override { return face; }
    void SetTextColor(Rgb) override {}
    void TextOut(int, int y, std::string_view) override { rows.push_back(y); }
    int TextWidth(std::string_view text) override {
        ++measured;
        return static_cast<int>(text.size()) * 8;
    }
    int measured = 0;
    std::vector<int> rows;
};

TEST(PageLayoutReuse, APaintLaysOutOnlyWhenPersonWidthOrDocumentChanged) {
    PageFixture f(kLongPlace);
    CountingSurface surface;
    f.page.OnDraw(surface, f.doc(), 500, "t");
    ASSERT_GT(surface.measured, 0);
    const auto laidOut = [&](auto change) {
        surface.measured = 0;
        change();
        f.page.OnDraw(surface, f.doc(), 500, "t");
        return surface.measured > 0;
    };
    EXPECT_FALSE(laidOut([] {}));
    EXPECT_FALSE(laidOut([&] { f.page.m_rectHot = f.page.Links().front().rect; }));
    EXPECT_TRUE(laidOut([&] { f.page.m_nValueX = 120; }));
    EXPECT_FALSE(laidOut([] {}));
    // Showing a person again lays the page out again, even the same person.
    EXPECT_TRUE(laidOut([&] { f.show("I1"); }));
    surface.measured = 0;
    f.page.OnDraw(surface, f.doc(), 400, "t");
    EXPECT_GT(surface.measured, 0);
    PageFixture other(kLongPlace);
    surface.measured = 0;
    f.page.OnDraw(surface, other.doc(), 400, "t");
    EXPECT_GT(surface.measured, 0) << "another document";
}

TEST(PageLayoutReuse, HotLinkIsColouredWithoutANewLayout) {
    PageFixture f(kLongPlace);
    f.paint();
    f.page.m_rectHot = f.page.Links().back().rect;
    f.paint();
    EXPECT_EQ(f.surface.ops().back().color, kHotLinkColor);
    f.page.m_rectHot = PageRect{};
    f.paint();
    EXPECT_EQ(f.surface.ops().back().color, kLinkColor);
}

std::string manyChildren(int count) {
    std::string gedcom = "0 @M@ INDI\n1 SEX F\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @M@\n";
    for (int i = 0; i < count; ++i) {
        gedcom += "1 CHIL @C" + std::to_string(i) + "@\n";
    }
    for (int i = 0; i < count; ++i) {
        gedcom += "0 @C" + std::to_string(i) + "@ INDI\n";
    }
    return gedcom;
}

TEST(PageExposedPaint, DrawsOnlyTheRowsItMeetsInDrawingOrder) {
    PageFixture f(manyChildren(500));
    const PaintOutcome whole = f.paint();
    const std::vector<DrawnText> all = f.surface.ops();
    f.surface.clear();
    // Half a row at either edge: rows 1000-1020 and 1040-1060 are cut, so drawn.
    const PaintOutcome part = f.page.OnDraw(f.surface, f.doc(), 500, "t", PageRect{0, 1010, 500, 1050});
    std::vector<int> rows;
    for (const DrawnText& t : f.surface.ops()) {
        rows.push_back(t.y);
    }
    EXPECT_EQ(rows, (std::vector<int>{1000, 1020, 1040}));
    EXPECT_EQ(part.height, whole.height);
    // The top rows, drawn out of order, come in the order a whole paint draws them.
    f.surface.clear();
    f.page.OnDraw(f.surface, f.doc(), 500, "t", PageRect{0, 0, 500, 20});
    std::vector<std::string> top;
    for (const DrawnText& t : f.surface.ops()) {
        top.push_back(t.text);
    }
    EXPECT_EQ(top, (std::vector<std::string>{"", "Family Name"}));
    EXPECT_EQ(all[0].text, "");
    EXPECT_EQ(all[2].text, "Family Name");
    // A rectangle right of the values meets nothing.
    f.surface.clear();
    f.page.OnDraw(f.surface, f.doc(), 500, "t", PageRect{400, 0, 500, 20000});
    EXPECT_TRUE(f.surface.ops().empty());
}

} // namespace
} // namespace stirpex
