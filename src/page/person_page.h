#pragma once

// The person page of one window: its layout and drawing (screen and paper),
// the link table of the last paint, the hot and pressed links, the visit
// history and the availability of the page's commands. The screen view and
// the printer drive it through a PageSurface; mouse events and commands go
// through page_pointer.h. Nothing here knows a toolkit.
//
// Screen geometry: labels at x 0, values at m_nValueX, one line every 20
// pixels downwards, no section gaps. While the file has a home person and
// another person is shown, one line under the names ("Relationship:") says
// what the person shown is to the home person; without one the page is as it
// always was. The "Notes" and "Sources" columns exist
// on screen only: at right - 95 and right - 45 of the window, but never
// nearer than kColumnGap to the widest value of the page nor to each other,
// so in a narrow window they move right and the page scrolls sideways. To
// know the widest value first, a screen paint lays the whole page out (row
// functions draw into a PageLayout, links at m_nNotesX and m_nSourcesX go to
// the columns), places the columns, then paints the exposed rows; the layout
// is kept until the person, the window width or the document changes.
//
// Print geometry, in tenths of a millimetre with y going up from the top of
// the printable area: labels at x 100, values at 400, lines every -40,
// sections separated by a further -25, the first line at -140. A value wider
// than the printable width goes on over as many lines as it needs, each at
// the value column, and pushes the rows below it down.

#include "page/page_history.h"
#include "page/page_layout.h"
#include "page/page_link.h"
#include "page/page_surface.h"

#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CFamily;
class CPerson;
struct FactRow;
class CStirpexDoc;

// What a paint tells the view beyond the pixels.
struct PaintOutcome {
    int height = 0;         // the y below the page: the scroll height after a change of person
    int width = 0;          // the right edge of the rightmost text, at least kScrollWidth: the scroll width
    bool newPerson = false; // scroll sizes reset to (440, height) and scrolled to the top
    std::string caption;    // for the frame: "<title> - <key>"
};

class PersonPage {
public:
    static constexpr int kScrollWidth = 440;
    static constexpr int kLinkHeight = 20;
    // Wider than any row of screens; a client width is taken between 0 and this.
    static constexpr int kMaxClientWidth = 100000;
    // The least room between a value and the columns, and between the two columns.
    static constexpr int kColumnGap = 10;
    // A paint of every row.
    static constexpr PageRect kWholePage{std::numeric_limits<int>::min(), std::numeric_limits<int>::min(),
                                         std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};

    PersonPage() = default;
    PersonPage(const PersonPage&) = delete;
    PersonPage& operator=(const PersonPage&) = delete;

    // The screen paint: the start person on the first paint, the page laid
    // out when it is not already for this person, width and document, the
    // texts meeting `exposed` drawn (hot and pressed links coloured now), and,
    // after a change of person, the visit recorded and the commands recomputed.
    PaintOutcome OnDraw(PageSurface& surface, const CStirpexDoc& doc, int clientRight, std::string_view title,
                        const PageRect& exposed = kWholePage);

    // Lays out and draws m_pPerson's page in the geometry m_bPrinting selects;
    // returns the y of the line after the last one drawn.
    int DrawPage(PageSurface& surface, const CStirpexDoc& doc);
    // `nFact` names the fact of a fact's "Notes" and "Sources" links.
    void DrawLink(PageSurface& surface, int x, int y, std::string_view text, int nIndex, int nTopic, int nFact = -1);

    // Printing: the page in the print geometry, then the person's notes down to 250 mm.
    void OnBeginPrinting(PageSurface& surface);
    int PrintPage(PageSurface& surface, const CStirpexDoc& doc);
    void OnEndPrinting() noexcept { m_bPrinting = false; }
    // The width of the printable area in tenths of a millimetre; 0 (the
    // default) for a page whose width is not known, where nothing wraps.
    void SetPrintableWidth(int width) noexcept { m_printableWidth = width; }

    // The links of the last paint, in drawing order (the end record excluded).
    const std::vector<PageLink>& Links() const noexcept { return m_pLinks; }
    // The first link of the last paint whose rectangle holds the point, or null.
    const PageLink* HitTest(int x, int y) const noexcept;
    // The text of a link of Links() as the page shows it; empty for another link.
    std::string_view LinkText(const PageLink& link) const noexcept;
    // The right edge of the rightmost text of the last screen paint, at least kScrollWidth.
    int PageWidth() const noexcept;

    // The frame's caption: "<title> - <key of the person shown>".
    std::string Caption(std::string_view title) const;

    // Makes `person` the page's person without a repaint (the tree dialog's
    // choice, the name list's); ShowPerson in page_pointer.h also repaints.
    void SetPerson(const CPerson* person) noexcept;
    // Takes the start person of a document; keeps its placeholder alive.
    void TakeStartPerson(const CStirpexDoc& doc);
    // The home person of the page's document, or null; the next paint shows
    // (or drops) the home line.
    void SetHomePerson(const CPerson* home) noexcept { m_pHome = home; }
    const CPerson* HomePerson() const noexcept { return m_pHome; }

    int m_nValueX = 100;
    int m_nNotesX = 400;
    int m_nSourcesX = 450;
    const CPerson* m_pPerson = nullptr;
    int m_nLinks = 0;
    bool m_bNewPerson = true;
    PageRect m_rectHot;
    PageRect m_rectPressed;
    int m_nFocus = -1; // the link of Links() the keyboard stands on; -1 for none
    bool m_bCanAncestors = false;
    bool m_bCanDescendants = false;
    bool m_bCanMtDNA = false;
    bool m_bCanYChromosome = false;
    bool m_bCanForward = false;
    bool m_bCanBack = false;
    bool m_bFirstDraw = true;
    bool m_bPrinting = false;
    bool m_bHistoryMove = false;
    PageHistory m_history;

private:
    struct Geometry;
    struct LineageCount {
        int childrenFound = 0;
        int sonsFound = 0;
    };

    // What a layout was made for: a paint with the same key reuses it.
    struct LayoutKey {
        const CStirpexDoc* doc = nullptr;
        const CPerson* person = nullptr;
        const CPerson* home = nullptr;
        int right = -1;
        int valueX = 0;
        friend bool operator==(const LayoutKey&, const LayoutKey&) noexcept = default;
    };
    // What the home line's words were found for.
    struct HomeWordsKey {
        const CStirpexDoc* doc = nullptr;
        const CPerson* person = nullptr;
        const CPerson* home = nullptr;
        friend bool operator==(const HomeWordsKey&, const HomeWordsKey&) noexcept = default;
    };

    int drawRows(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g);
    int drawHomeLine(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y);
    const std::string& homeWords(const CStirpexDoc& doc);
    int drawEvents(PageSurface& surface, const Geometry& g, int y);
    int drawParents(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y);
    int drawFamily(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y, int i, LineageCount& count);
    int drawRelative(PageSurface& surface, const Geometry& g, int y, const CPerson* relative);
    int drawPersonLink(PageSurface& surface, const Geometry& g, int y, const CPerson& person,
                       std::string_view relation = {});
    int drawFactRows(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y);
    int drawFactRow(PageSurface& surface, const Geometry& g, int y, const FactRow& row);
    static int widestRowLabel(PageSurface& surface, const std::vector<FactRow>& rows);
    // A value at the value column; on paper it wraps. Returns the y of its last line.
    int drawValue(PageSurface& surface, const Geometry& g, int y, std::string_view text);
    PageColumn columnAt(int x) const noexcept;

    void layOut(PageSurface& surface, const CStirpexDoc& doc, int right);
    void placeColumns(int right);
    void paintLayout(PageSurface& surface, const PageRect& exposed) const;

    // Grown as needed and reused from layout to layout.
    std::vector<PageLink> m_pLinks;
    PageLayout m_layout;
    LayoutKey m_layoutKey;
    int m_layoutHeight = 0;
    int m_printableWidth = 0;
    const CPerson* m_pHome = nullptr;
    HomeWordsKey m_homeWordsKey;
    std::string m_homeWords; // empty when no relationship was found
    // The person of an empty file, which belongs to no table of the document.
    std::unique_ptr<CPerson> m_placeholder;
};

} // namespace stirpex
