// The person page as the view drives it, on a recording surface: painted at a
// window width taken from the input, persons opened one after another (as the
// name list, the go-to dialog and a tree dialog open them), every link of a page hit-tested and some of them
// hovered, pressed and released (relatives followed and left again with Back,
// notes and sources opened), each page printed, and at the end Back and
// Forward through the whole history.

#include "fuzz_input.h"
#include "gedcom/char_set.h"
#include "model/shown_text.h"
#include "page/page_pointer.h"
#include "page/person_page.h"
#include "page/recording_surface.h"
#include "story/story_text.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace stirpex;
using fuzz::Require;

constexpr int kMaxPersons = 12;        // pages opened per input, besides the start page
constexpr std::size_t kMaxClicks = 16; // links clicked per page; every link is hit-tested
constexpr int kMaxClientRight = 4096;  // the client area of the widest window

// The visits as Back and Forward must replay them: at most 255, the oldest dropped.
class VisitModel {
public:
    void record(std::int32_t person) {
        m_visits.resize(m_position);
        m_visits.push_back(person);
        if (m_visits.size() > PageHistory::kMaxVisits) {
            m_visits.erase(m_visits.begin());
        }
        m_position = m_visits.size();
    }
    void back() { --m_position; }
    void forward() { ++m_position; }
    std::int32_t current() const { return m_visits[m_position - 1]; }
    bool canBack() const { return m_position > 1; }
    bool canForward() const { return m_position < m_visits.size(); }

private:
    std::vector<std::int32_t> m_visits;
    std::size_t m_position = 0; // visits up to and including the current one
};

// What the next paint must report about the person shown.
enum class Change { None, Visit, HistoryMove };

// The dialogs that show a person on the page.
enum class Opener { NameList, GoTo, Tree };

bool sameOps(const std::vector<DrawnText>& a, const std::vector<DrawnText>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DrawnText& x, const DrawnText& y) {
        return x.x == y.x && x.y == y.y && x.text == y.text && x.face == y.face && x.color == y.color;
    });
}

bool sameLinks(const std::vector<PageLink>& a, const std::vector<PageLink>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PageLink& x, const PageLink& y) {
        return x.rect == y.rect && x.nKind == y.nKind && x.nTopic == y.nTopic && x.nIndex == y.nIndex;
    });
}

class PageRun {
public:
    PageRun(const CStirpexDoc& doc, int clientRight) : m_doc(doc), m_clientRight(clientRight) {}

    void paint(Change change);
    void open(const CPerson& person, Opener opener);
    void clickLinks(fuzz::Choices& choices);
    void print();
    void walkHistory();

private:
    std::int32_t shownIndex() const { return m_page.m_pPerson ? m_page.m_pPerson->m_nIndex : -1; }
    void checkPaint(const PaintOutcome& outcome) const;
    void checkLink(const PageLink& link) const;
    bool drewAt(int x, int y, Rgb color) const;
    void click(const PageLink& link);
    void followRelative(const PageLink& link, const PageEffects& effects, std::int32_t from);
    void openStory(const PageLink& link, const PageEffects& effects) const;

    const CStirpexDoc& m_doc;
    const int m_clientRight;
    PersonPage m_page;
    RecordingSurface m_surface;
    VisitModel m_visits;
};

void PageRun::paint(Change change) {
    m_surface.clear();
    const PaintOutcome outcome = m_page.OnDraw(m_surface, m_doc, m_clientRight, fuzz::kFileName);
    Require(outcome.newPerson == (change != Change::None), "a paint reports a new person exactly after a change");
    if (change == Change::Visit) {
        m_visits.record(shownIndex());
    }
    Require(shownIndex() == m_visits.current(), "the page shows the visit the history is at");
    Require(IsCommandEnabled(m_page, ID_GO_BACK) == m_visits.canBack() &&
                IsCommandEnabled(m_page, ID_GO_FORWARD) == m_visits.canForward(),
            "Back and Forward are enabled as the visits allow");
    checkPaint(outcome);
}

void PageRun::checkPaint(const PaintOutcome& outcome) const {
    std::string caption(fuzz::kFileName);
    // A key too long to show is cut as every shown text is.
    caption.append(" - ").append(ShownText(m_page.m_pPerson ? m_page.m_pPerson->m_strID.view() : std::string_view()));
    Require(outcome.caption == caption, "the caption is the title and the key shown");
    for (const DrawnText& op : m_surface.ops()) {
        Require(op.y >= 0 && op.y <= outcome.height, "every line lies within the scroll height");
        Require(IsWellFormedUtf8(op.text), "a drawn text is not well-formed UTF-8");
    }
    Require(m_page.m_nLinks == static_cast<int>(m_page.Links().size()), "the link count matches the link table");
    for (const PageLink& link : m_page.Links()) {
        checkLink(link);
    }
}

void PageRun::checkLink(const PageLink& link) const {
    Require(link.rect.bottom == link.rect.top + PersonPage::kLinkHeight && link.rect.right >= link.rect.left,
            "a link is one line high and not of negative width");
    if (link.nKind == LINK_PERSON) {
        Require(link.nTopic == TOPIC_RELATIVE && link.nIndex >= 0 && link.nIndex < m_doc.m_nPersons,
                "a relative's link names a person of the document");
    } else if (link.nTopic == TOPIC_MARRIAGE || link.nTopic == TOPIC_DIVORCE || link.nTopic == TOPIC_FAMILY_FACT) {
        Require(link.nIndex >= 0 && link.nIndex < m_doc.m_nFamilies,
                "a marriage's or family fact's link names a family");
    } else if (link.nKind == LINK_MEDIA) {
        Require(link.nTopic == TOPIC_MEDIA && link.nIndex >= 0 && link.nIndex < m_doc.m_nExtObjs,
                "a media link names a media record");
    } else {
        Require(link.nIndex == shownIndex(), "a notes or sources link of the person names the person shown");
    }
    Require(link.rect.empty() || m_page.HitTest(link.rect.left, link.rect.top) != nullptr,
            "a point of a link hits a link");
}

bool PageRun::drewAt(int x, int y, Rgb color) const {
    const auto& ops = m_surface.ops();
    return std::any_of(ops.begin(), ops.end(),
                       [&](const DrawnText& op) { return op.x == x && op.y == y && op.color == color; });
}

void PageRun::open(const CPerson& person, Opener opener) {
    switch (opener) {
    case Opener::NameList:
        ShowPerson(m_page, &person);
        break;
    case Opener::GoTo: {
        const std::string_view key = person.m_strID.view();
        Require(OnGoToAccepted(m_page, m_doc, key).repaintAll, "a person's own key goes to a person");
        Require(m_page.m_pPerson->m_strID.view() == key, "going to a key shows the person with exactly that key");
        break;
    }
    case Opener::Tree:
        // A cancelled tree dialog repaints the page as it was.
        Require(OnTreeClosed(m_page, false).repaintAll, "a closed tree dialog repaints");
        paint(Change::None);
        m_page.SetPerson(&person);
        Require(OnTreeClosed(m_page, true).repaintAll, "a tree dialog closed with a choice repaints");
        break;
    }
    paint(Change::Visit);
}

void PageRun::clickLinks(fuzz::Choices& choices) {
    const std::vector<PageLink> links = m_page.Links();
    if (links.empty()) {
        return;
    }
    const std::size_t first = choices.pick<std::size_t>(0, links.size() - 1);
    for (std::size_t i = 0; i < links.size() && i < kMaxClicks; ++i) {
        const PageLink& link = links[(first + i) % links.size()];
        if (!link.rect.empty()) {
            click(link);
            Require(sameLinks(m_page.Links(), links), "the page is the same when shown again");
        }
    }
}

void PageRun::click(const PageLink& link) {
    const int x = link.rect.left;
    const int y = link.rect.top;
    // The first link there: a narrow window lays the notes column over the values.
    const PageLink hit = *m_page.HitTest(x, y);
    Require(OnMouseMove(m_page, x, y).cursor == PageCursor::Hand && m_page.m_rectHot == hit.rect,
            "the pointer over a link shows the hand and makes the link hot");
    paint(Change::None);
    Require(drewAt(x, y, kHotLinkColor), "a hot link is drawn in the hot colour");
    // The pointer leaves over the frame and comes back.
    const PageEffects left = OnNcMouseMove(m_page);
    Require(m_page.m_rectHot.empty() && left.repaintCount == 1 && left.repaint[0] == hit.rect &&
                left.cursor == PageCursor::Arrow,
            "leaving the page repaints the hot link and forgets it");
    Require(OnMouseMove(m_page, x, y).cursor == PageCursor::Hand, "coming back makes the link hot again");
    OnLButtonDown(m_page);
    Require(m_page.m_rectPressed == hit.rect, "a press presses the hot link");
    paint(Change::None);
    Require(drewAt(x, y, kPressedLinkColor), "a pressed link is drawn in the pressed colour");
    const std::int32_t from = shownIndex();
    const PageEffects effects = OnLButtonUp(m_page, m_doc, x, y);
    if (hit.nKind == LINK_MEDIA) {
        Require(m_page.m_rectPressed.empty() && effects.media == hit.nIndex && !effects.story && shownIndex() == from,
                "a media link asks for its record and leaves the page as it is");
        paint(Change::None);
        return;
    }
    Require(m_page.m_rectPressed.empty() && effects.repaintAll, "a release on a pressed link acts and repaints");
    if (hit.nKind == LINK_PERSON) {
        followRelative(hit, effects, from);
    } else {
        openStory(hit, effects);
        paint(Change::None);
    }
}

void PageRun::followRelative(const PageLink& link, const PageEffects& effects, std::int32_t from) {
    Require(!effects.story && shownIndex() == link.nIndex, "a relative's link shows that relative");
    paint(Change::Visit);
    Require(OnBack(m_page, m_doc).repaintAll, "Back is enabled after following a link");
    m_visits.back();
    paint(Change::HistoryMove);
    Require(shownIndex() == from, "Back returns to the page the link was on");
}

void PageRun::openStory(const PageLink& link, const PageEffects& effects) const {
    Require(effects.story && effects.story->nKind == link.nKind && effects.story->nTopic == link.nTopic,
            "a notes or sources link asks for its list");
    const bool ofFamily =
        link.nTopic == TOPIC_MARRIAGE || link.nTopic == TOPIC_DIVORCE || link.nTopic == TOPIC_FAMILY_FACT;
    const CFamily* family = ofFamily ? m_doc.m_ppFamilies[static_cast<std::size_t>(link.nIndex)].get() : nullptr;
    Require(effects.story->family == family, "a marriage's or a family fact's list is the family's");
    Require(effects.story->fact == link.nFact, "a fact's list names its fact");
    Require(m_page.m_rectHot.empty(), "the hot link is forgotten before the viewer opens");
    const StoryText story =
        AssembleStory(m_doc, *m_page.m_pPerson, link.nKind, link.nTopic, family, effects.story->fact);
    Require(!story.heading.empty(), "every notes or sources link opens a list the viewer knows");
}

void PageRun::print() {
    const std::vector<DrawnText> screen = m_surface.ops();
    const std::vector<PageLink> links = m_page.Links();
    m_surface.clear();
    m_page.OnBeginPrinting(m_surface);
    const int bottom = m_page.PrintPage(m_surface, m_doc);
    m_page.OnEndPrinting();
    for (const DrawnText& op : m_surface.ops()) {
        Require(op.y < 0 && op.y >= bottom, "a printed line lies on the paper, above the bottom returned");
        // Values stand at 400, or in the rows below the families at their own value column
        // right of it, pieces of a row one after another.
        Require(op.x == 100 || op.x >= 400, "a printed text stands in the label or a value column");
    }
    paint(Change::None);
    Require(sameOps(m_surface.ops(), screen) && sameLinks(m_page.Links(), links),
            "printing leaves the screen page as it was");
}

void PageRun::walkHistory() {
    while (m_page.m_bCanBack) {
        Require(OnBack(m_page, m_doc).repaintAll, "Back moves while enabled");
        m_visits.back();
        paint(Change::HistoryMove);
    }
    Require(!OnBack(m_page, m_doc).repaintAll, "Back does nothing while disabled");
    while (m_page.m_bCanForward) {
        Require(OnForward(m_page, m_doc).repaintAll, "Forward moves while enabled");
        m_visits.forward();
        paint(Change::HistoryMove);
    }
    Require(!OnForward(m_page, m_doc).repaintAll, "Forward does nothing while disabled");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices({data, size});
    const auto doc = fuzz::LoadDocument({data, size});
    PageRun run(*doc, choices.pick(0, kMaxClientRight));
    run.paint(Change::Visit);
    run.clickLinks(choices);
    run.print();
    fuzz::ForSomePersons(*doc, choices, kMaxPersons, [&](const CPerson& person) {
        run.open(person, static_cast<Opener>(choices.pick(0, 2)));
        run.clickLinks(choices);
        run.print();
    });
    run.walkHistory();
    return 0;
}
