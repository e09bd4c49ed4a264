#pragma once

// The person page as a hypertext: what the mouse and the page's commands do
// to its hot and pressed links, its person and its history, and what the view
// must then repaint or open. The view turns client coordinates into page
// coordinates (adding its scroll position) before calling in, carries out the
// effects in the order they are listed, and never decides anything itself.

#include "page/page_link.h"

#include <array>
#include <optional>
#include <string_view>

namespace stirpex {

class CFamily;
class CPerson;
class CStirpexDoc;
class PersonPage;

enum class PageCursor { Unchanged, Arrow, Hand };

// A "Notes" or "Sources" link was clicked: open the viewer modally, then repaint the whole page.
struct StoryRequest {
    int nKind = LINK_NOTES;
    int nTopic = TOPIC_PERSON;
    const CFamily* family = nullptr; // set for the marriage, divorce and family fact topics
    int fact = -1;                   // the fact's position, for the fact topics
};

struct PageEffects {
    std::array<PageRect, 2> repaint{}; // page rectangles to repaint now, in this order
    int repaintCount = 0;
    PageCursor cursor = PageCursor::Unchanged;
    std::optional<StoryRequest> story;
    bool repaintAll = false;  // after the story, if there is one
    PageRect reveal;          // a page rectangle to scroll into view, once repainted; empty for none
    std::optional<int> media; // a media link was clicked: open the CExtObj of this m_nIndex

    void repaintRect(const PageRect& rect) noexcept;
};

// Command numbers of the page's own commands and of the framework's it serves.
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_VIEW_ANCESTORS = 32772;
inline constexpr int ID_VIEW_DESCENDANTS = 32773;
inline constexpr int ID_GO_BACK = 32776;
inline constexpr int ID_GO_FORWARD = 32777;
inline constexpr int ID_VIEW_MTDNA = 32778;
inline constexpr int ID_VIEW_YCHROMOSOME = 32779;
inline constexpr int ID_FILE_PROPERTIES = 32781;
inline constexpr int ID_EDIT_GOTO = 32782;
inline constexpr int ID_VIEW_RELATIONSHIP = 32790;
inline constexpr int ID_EDIT_SEARCH = 32791;
inline constexpr int ID_VIEW_HOME = 32792;
inline constexpr int ID_VIEW_SET_HOME = 32793;
inline constexpr int ID_CHART_PEDIGREE = 32794;
inline constexpr int ID_CHART_DESCENDANTS = 32795;
inline constexpr int ID_CHART_HOURGLASS = 32796;
inline constexpr int ID_CHART_FAN = 32797;

// Page coordinates throughout.
PageEffects OnMouseMove(PersonPage& page, int x, int y);
// The pointer went over the window frame or a scroll bar.
PageEffects OnNcMouseMove(PersonPage& page);
PageEffects OnLButtonDown(PersonPage& page);
PageEffects OnLButtonUp(PersonPage& page, const CStirpexDoc& doc, int x, int y);
// Forgets the hot and pressed links, before a dialog opens over the page.
PageEffects ClearHotLink(PersonPage& page);

// Tab (forwards) and Shift+Tab: the keyboard focus goes to the next or the
// previous link of Links(), wrapping round at either end; both frames are
// repainted and the new one scrolled into view.
PageEffects OnTabKey(PersonPage& page, bool backwards);
// The keyboard focus goes to link `link` of Links() as Tab would bring it
// there (a screen reader moves it so); nothing for a link the page lacks.
PageEffects FocusLink(PersonPage& page, int link);
// Enter or Space: the focused link is followed exactly as a click on it would be.
PageEffects OnFollowFocus(PersonPage& page, const CStirpexDoc& doc);
// The focused link, or null.
const PageLink* FocusedLink(const PersonPage& page) noexcept;

// Makes `person` current: the next paint scrolls to the top and records the visit.
PageEffects ShowPerson(PersonPage& page, const CPerson* person);
PageEffects OnBack(PersonPage& page, const CStirpexDoc& doc);
PageEffects OnForward(PersonPage& page, const CStirpexDoc& doc);
// A tree dialog ended; with OK it has already set the page's person.
PageEffects OnTreeClosed(PersonPage& page, bool accepted);
// The go-to dialog ended with OK and this text: the individual it names (find/go_to.h), if any.
PageEffects OnGoToAccepted(PersonPage& page, const CStirpexDoc& doc, std::string_view typedKey);

// Whether a command the page serves is enabled now; false for commands it does not serve.
bool IsCommandEnabled(const PersonPage& page, int command) noexcept;
bool ServesCommand(int command) noexcept;

} // namespace stirpex
