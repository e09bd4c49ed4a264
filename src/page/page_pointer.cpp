#include "page/page_pointer.h"

#include "find/go_to.h"
#include "model/stirpex_doc.h"
#include "page/person_page.h"

#include <string_view>
#include <vector>

namespace stirpex {

namespace {

const CPerson* personAt(const CStirpexDoc& doc, int index) noexcept {
    if (index < 0 || index >= doc.m_nPersons) {
        return nullptr;
    }
    return doc.m_ppPersons[static_cast<std::size_t>(index)].get();
}

const CFamily* familyAt(const CStirpexDoc& doc, int index) noexcept {
    if (index < 0 || index >= doc.m_nFamilies) {
        return nullptr;
    }
    return doc.m_ppFamilies[static_cast<std::size_t>(index)].get();
}

} // namespace

void PageEffects::repaintRect(const PageRect& rect) noexcept {
    if (!rect.empty() && repaintCount < static_cast<int>(repaint.size())) {
        repaint[static_cast<std::size_t>(repaintCount++)] = rect;
    }
}

PageEffects OnMouseMove(PersonPage& page, int x, int y) {
    PageEffects effects;
    const PageRect oldHot = page.m_rectHot;
    if (oldHot.contains(x, y)) {
        return effects;
    }
    if (const PageLink* link = page.HitTest(x, y)) {
        effects.cursor = PageCursor::Hand;
        page.m_rectHot = link->rect;
    } else {
        effects.cursor = PageCursor::Arrow;
        page.m_rectHot = PageRect{};
    }
    // Moving off a pressed link cancels the press.
    page.m_rectPressed = PageRect{};
    effects.repaintRect(oldHot);
    effects.repaintRect(page.m_rectHot);
    return effects;
}

PageEffects OnNcMouseMove(PersonPage& page) {
    return page.m_rectHot.empty() ? PageEffects{} : ClearHotLink(page);
}

PageEffects ClearHotLink(PersonPage& page) {
    PageEffects effects;
    const PageRect oldHot = page.m_rectHot;
    page.m_rectPressed = PageRect{};
    page.m_rectHot = PageRect{};
    effects.repaintRect(oldHot);
    effects.cursor = PageCursor::Arrow;
    return effects;
}

PageEffects OnLButtonDown(PersonPage& page) {
    PageEffects effects;
    page.m_rectPressed = page.m_rectHot;
    effects.repaintRect(page.m_rectPressed);
    return effects;
}

namespace {

PageEffects followLink(PersonPage& page, const CStirpexDoc& doc, const PageLink& link) {
    PageEffects effects;
    if (link.nKind == LINK_PERSON) {
        if (const CPerson* person = personAt(doc, link.nIndex)) {
            page.m_pPerson = person;
            page.m_bNewPerson = true;
            page.m_rectHot = PageRect{};
            effects.repaintAll = true;
        }
    } else if ((link.nKind == LINK_NOTES || link.nKind == LINK_SOURCES) && link.nIndex != -1) {
        const bool ofFamily =
            link.nTopic == TOPIC_MARRIAGE || link.nTopic == TOPIC_DIVORCE || link.nTopic == TOPIC_FAMILY_FACT;
        const StoryRequest request{link.nKind, link.nTopic, ofFamily ? familyAt(doc, link.nIndex) : nullptr,
                                   link.nFact};
        effects = ClearHotLink(page);
        effects.story = request;
        effects.repaintAll = true;
    } else if (link.nKind == LINK_MEDIA) {
        // The media opens in a window or program of its own; the page stays as it is.
        effects = ClearHotLink(page);
        effects.media = link.nIndex;
    }
    return effects;
}

} // namespace

PageEffects OnLButtonUp(PersonPage& page, const CStirpexDoc& doc, int x, int y) {
    PageEffects effects;
    if (page.m_rectPressed.contains(x, y)) {
        page.m_rectPressed = PageRect{};
        if (const PageLink* link = page.HitTest(x, y)) {
            effects = followLink(page, doc, *link);
        }
    }
    page.m_rectPressed = PageRect{};
    return effects;
}

const PageLink* FocusedLink(const PersonPage& page) noexcept {
    const std::vector<PageLink>& links = page.Links();
    return page.m_nFocus >= 0 && static_cast<std::size_t>(page.m_nFocus) < links.size()
               ? &links[static_cast<std::size_t>(page.m_nFocus)]
               : nullptr;
}

PageEffects OnTabKey(PersonPage& page, bool backwards) {
    const int count = static_cast<int>(page.Links().size());
    if (count == 0) {
        return {};
    }
    if (page.m_nFocus < 0 || page.m_nFocus >= count) {
        return FocusLink(page, backwards ? count - 1 : 0);
    }
    return FocusLink(page, (page.m_nFocus + (backwards ? count - 1 : 1)) % count);
}

PageEffects FocusLink(PersonPage& page, int link) {
    PageEffects effects;
    if (link < 0 || link >= static_cast<int>(page.Links().size())) {
        return effects;
    }
    if (const PageLink* old = FocusedLink(page)) {
        effects.repaintRect(old->rect);
    }
    page.m_nFocus = link;
    const PageLink& focused = *FocusedLink(page);
    effects.repaintRect(focused.rect);
    effects.reveal = focused.rect;
    return effects;
}

PageEffects OnFollowFocus(PersonPage& page, const CStirpexDoc& doc) {
    const PageLink* link = FocusedLink(page);
    if (link == nullptr) {
        return {};
    }
    // The link table belongs to the page that is about to change: follow a copy.
    const PageLink followed = *link;
    return followLink(page, doc, followed);
}

PageEffects ShowPerson(PersonPage& page, const CPerson* person) {
    page.m_pPerson = person;
    page.m_bNewPerson = true;
    PageEffects effects;
    effects.repaintAll = true;
    return effects;
}

namespace {

PageEffects moveInHistory(PersonPage& page, const CStirpexDoc& doc, bool back) {
    const bool enabled = back ? page.m_bCanBack : page.m_bCanForward;
    if (!enabled) {
        return {};
    }
    const int index = back ? page.m_history.Back() : page.m_history.Forward();
    const CPerson* person = personAt(doc, index);
    if (person == nullptr) {
        return {};
    }
    page.m_bHistoryMove = true;
    return ShowPerson(page, person);
}

} // namespace

PageEffects OnBack(PersonPage& page, const CStirpexDoc& doc) {
    return moveInHistory(page, doc, true);
}

PageEffects OnForward(PersonPage& page, const CStirpexDoc& doc) {
    return moveInHistory(page, doc, false);
}

PageEffects OnTreeClosed(PersonPage& page, bool accepted) {
    if (accepted) {
        page.m_bNewPerson = true;
    }
    PageEffects effects;
    effects.repaintAll = true;
    return effects;
}

PageEffects OnGoToAccepted(PersonPage& page, const CStirpexDoc& doc, std::string_view typedKey) {
    const CPerson* person = FindGoToPerson(doc, typedKey);
    return person ? ShowPerson(page, person) : PageEffects{};
}

bool ServesCommand(int command) noexcept {
    switch (command) {
    case ID_EDIT_COPY:
    case ID_EDIT_FIND:
    case ID_VIEW_ANCESTORS:
    case ID_VIEW_DESCENDANTS:
    case ID_VIEW_MTDNA:
    case ID_VIEW_YCHROMOSOME:
    case ID_GO_BACK:
    case ID_GO_FORWARD:
    case ID_FILE_PROPERTIES:
    case ID_EDIT_GOTO:
    case ID_VIEW_RELATIONSHIP:
    case ID_EDIT_SEARCH:
    case ID_VIEW_HOME:
    case ID_VIEW_SET_HOME:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        return true;
    default:
        return false;
    }
}

bool IsCommandEnabled(const PersonPage& page, int command) noexcept {
    switch (command) {
    case ID_VIEW_ANCESTORS:
        return page.m_bCanAncestors;
    case ID_VIEW_DESCENDANTS:
        return page.m_bCanDescendants;
    case ID_VIEW_MTDNA:
        return page.m_bCanMtDNA;
    case ID_VIEW_YCHROMOSOME:
        return page.m_bCanYChromosome;
    case ID_GO_BACK:
        return page.m_bCanBack;
    case ID_GO_FORWARD:
        return page.m_bCanForward;
    default:
        return ServesCommand(command);
    }
}

} // namespace stirpex
