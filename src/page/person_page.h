#pragma once

// The person page of one window: its layout and drawing (screen and paper),
// the link table of the last paint, the hot and pressed links, the visit
// history and the availability of the page's commands. The screen view and
// the printer drive it through a PageSurface; mouse events and commands go
// through page_pointer.h. Nothing here knows a toolkit.
//
// Screen geometry: labels at x 0, values at m_nValueX, one line every 20
// pixels downwards, no section gaps. Print geometry, in tenths of a
// millimetre with y going up from the top of the printable area: labels at
// x 100, values at 400, lines every -40, sections separated by a further -25,
// the first line at -140. The "Notes" and "Sources" columns follow the right
// edge of the window (right - 95 and right - 45) and exist on screen only.

#include "page/page_history.h"
#include "page/page_link.h"
#include "page/page_surface.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CExtObj;
class CFamily;
class CPerson;
class CStirpexDoc;

// A media record's text on the page: "title (file)", or whichever of the two it has.
std::string MediaCaption(const CExtObj& object);

// What a paint tells the view beyond the pixels.
struct PaintOutcome {
    int height = 0;         // the y below the page: the scroll height after a change of person
    bool newPerson = false; // scroll sizes reset to (440, height) and scrolled to the top
    std::string caption;    // for the frame: "<title> - <key>"
};

class PersonPage {
public:
    static constexpr int kScrollWidth = 440;
    static constexpr int kLinkHeight = 20;
    // Wider than any row of screens; a client width is taken between 0 and this.
    static constexpr int kMaxClientWidth = 100000;

    PersonPage() = default;
    PersonPage(const PersonPage&) = delete;
    PersonPage& operator=(const PersonPage&) = delete;

    // The screen paint: columns from the client area's right edge, the start
    // person on the first paint, the whole page laid out and drawn, and, after
    // a change of person, the visit recorded and the commands recomputed.
    PaintOutcome OnDraw(PageSurface& surface, const CStirpexDoc& doc, int clientRight, std::string_view title);

    // Lays out and draws m_pPerson's page in the geometry m_bPrinting selects;
    // returns the y of the line after the last one drawn.
    int DrawPage(PageSurface& surface, const CStirpexDoc& doc);
    void DrawLink(PageSurface& surface, int x, int y, std::string_view text, int nIndex, int nTopic);

    // Printing: the page in the print geometry, then the person's notes down to 250 mm.
    void OnBeginPrinting(PageSurface& surface);
    int PrintPage(PageSurface& surface, const CStirpexDoc& doc);
    void OnEndPrinting() noexcept { m_bPrinting = false; }

    // The links of the last paint, in drawing order (the end record excluded).
    const std::vector<PageLink>& Links() const noexcept { return m_pLinks; }
    // The first link of the last paint whose rectangle holds the point, or null.
    const PageLink* HitTest(int x, int y) const noexcept;

    // The frame's caption: "<title> - <key of the person shown>".
    std::string Caption(std::string_view title) const;

    // Makes `person` the page's person without a repaint (the tree dialog's
    // choice, the name list's); ShowPerson in page_pointer.h also repaints.
    void SetPerson(const CPerson* person) noexcept;
    // Takes the start person of a document; keeps its placeholder alive.
    void TakeStartPerson(const CStirpexDoc& doc);

    int m_nValueX = 100;
    int m_nNotesX = 400;
    int m_nSourcesX = 450;
    const CPerson* m_pPerson = nullptr;
    int m_nLinks = 0;
    bool m_bNewPerson = true;
    PageRect m_rectHot;
    PageRect m_rectPressed;
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

    int drawEvents(PageSurface& surface, const Geometry& g, int y);
    int drawParents(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y);
    int drawFamily(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y, int i, LineageCount& count);
    void drawRelative(PageSurface& surface, const Geometry& g, int y, const CPerson* relative);
    int drawMedia(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y);

    // Grown as needed and reused from paint to paint: a page of thousands of
    // children allocates nothing here once the first paint has sized it.
    std::vector<PageLink> m_pLinks;
    // The person of an empty file, which belongs to no table of the document.
    std::unique_ptr<CPerson> m_placeholder;
};

} // namespace stirpex
