#include "page/person_page.h"

#include "model/shown_text.h"
#include "page/fact_rows.h"
#include "model/stirpex_doc.h"
#include "model/utf8.h"
#include "page/line_breaks.h"
#include "trees/relationship.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace stirpex {

// The classic events' topics are the page's link topics.
static_assert(InfoOf(ClassicEvent::Birth).topic == TOPIC_BIRTH &&
              InfoOf(ClassicEvent::Baptism).topic == TOPIC_BAPTISM &&
              InfoOf(ClassicEvent::Death).topic == TOPIC_DEATH && InfoOf(ClassicEvent::Burial).topic == TOPIC_BURIAL &&
              InfoOf(ClassicEvent::Marriage).topic == TOPIC_MARRIAGE &&
              InfoOf(ClassicEvent::Divorce).topic == TOPIC_DIVORCE);

struct PersonPage::Geometry {
    int labelX;
    int valueX;
    int step;
    int gap;
    int firstY;
    PageFace nameFace;
    PageFace restFace;
};

namespace {

// Blank, tab, CR, LF, VT and FF: a no-break space is text.
bool isAsciiSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// "date place" without the blanks a missing date leaves in front.
std::string eventValue(std::string_view date, std::string_view place) {
    std::string value;
    value.reserve(date.size() + 1 + place.size());
    value.append(date).append(" ").append(place);
    std::size_t start = 0;
    while (start < value.size() && isAsciiSpace(value[start])) {
        ++start;
    }
    value.erase(0, start);
    return value;
}

// "Married date place", "Divorced date place": kept as the file wrote them.
std::string datedLine(std::string_view prefix, std::string_view date, std::string_view place) {
    std::string line;
    line.reserve(prefix.size() + date.size() + 1 + place.size());
    line.append(prefix).append(date).append(" ").append(place);
    return line;
}

bool longerThanThree(std::string_view date, std::string_view place) noexcept {
    return CountCodePoints(date) + CountCodePoints(place) > 3;
}

// `text` as windows show it (model/shown_text.h); `cut` holds it when it had to be cut.
std::string_view shown(std::string_view text, std::string& cut) {
    if (ShownPrefix(text).size() == text.size()) {
        return text;
    }
    cut = ShownText(text);
    return cut;
}

// Where the row functions draw the columns while the page is laid out: no
// real x, so that a link drawn there is known for a column link.
constexpr int kNotesColumnMark = std::numeric_limits<int>::min();
constexpr int kSourcesColumnMark = std::numeric_limits<int>::min() + 1;

// Between "Notes" and "Sources" when the window leaves room, as it always had.
constexpr int kColumnStep = 50;

} // namespace

PaintOutcome PersonPage::OnDraw(PageSurface& surface, const CStirpexDoc& doc, int clientRight, std::string_view title,
                                const PageRect& exposed) {
    const int right = std::clamp(clientRight, 0, kMaxClientWidth);
    if (m_bFirstDraw) {
        TakeStartPerson(doc);
        m_bNewPerson = true;
    }
    const LayoutKey key{&doc, m_pPerson, m_pHome, right, m_nValueX};
    if (m_bNewPerson || key != m_layoutKey) {
        layOut(surface, doc, right);
        m_layoutKey = key;
    }
    paintLayout(surface, exposed);
    PaintOutcome outcome;
    outcome.height = m_layoutHeight;
    outcome.width = PageWidth();
    if (m_bNewPerson) {
        outcome.newPerson = true;
        m_nFocus = -1;
        if (!m_bHistoryMove) {
            m_history.RecordVisit(m_pPerson ? m_pPerson->m_nIndex : -1);
        }
        m_bCanForward = m_history.CanForward();
        m_bCanBack = m_history.CanBack();
        m_bFirstDraw = false;
        m_bNewPerson = false;
        m_bHistoryMove = false;
    }
    outcome.caption = Caption(title);
    return outcome;
}

// The row functions draw into the layout with the columns at their marks;
// the columns are placed once the widest value is known.
void PersonPage::layOut(PageSurface& surface, const CStirpexDoc& doc, int right) {
    m_layout.clear();
    m_nLinks = 0;
    m_pLinks.clear();
    m_nNotesX = kNotesColumnMark;
    m_nSourcesX = kSourcesColumnMark;
    LayoutRecorder recorder(surface, m_layout);
    const PageFace previous = recorder.SelectFace(PageFace::Text);
    static constexpr Geometry kScreen{0, 0, 20, 0, 0, PageFace::Text, PageFace::Text};
    Geometry g = kScreen;
    g.valueX = m_nValueX;
    m_layoutHeight = m_pPerson ? drawRows(recorder, doc, g) : g.firstY;
    surface.SelectFace(previous);
    placeColumns(right);
    m_layout.finish();
    if (m_nFocus >= m_nLinks) {
        m_nFocus = -1;
    }
}

void PersonPage::placeColumns(int right) {
    const int valueRight = m_layout.valueRight();
    m_nNotesX = std::max(right - 95, RightEdge(valueRight, kColumnGap));
    const int notesRight = RightEdge(m_nNotesX, m_layout.columnWidth(PageColumn::Notes));
    m_nSourcesX = std::max({right - 45, RightEdge(m_nNotesX, kColumnStep), RightEdge(notesRight, kColumnGap)});
    m_layout.moveColumn(PageColumn::Notes, m_nNotesX);
    m_layout.moveColumn(PageColumn::Sources, m_nSourcesX);
    for (const LaidText& item : m_layout.items()) {
        if (item.link >= 0 && item.column != PageColumn::Value) {
            PageRect& rect = m_pLinks[static_cast<std::size_t>(item.link)].rect;
            rect.left = item.x;
            rect.right = RightEdge(item.x, item.width);
        }
    }
}

// Colours are decided here, not in the layout: a hot or pressed link changes
// colour without the page being laid out again. A link is known by its corner.
void PersonPage::paintLayout(PageSurface& surface, const PageRect& exposed) const {
    const auto [first, last] = m_layout.rowRange(exposed.top, exposed.bottom);
    const std::vector<LaidText>& items = m_layout.items();
    PageFace face = PageFace::Text;
    const PageFace previous = surface.SelectFace(face);
    surface.SetTextColor(kTextColor);
    Rgb color = kTextColor;
    for (std::size_t i = first; i < last; ++i) {
        const LaidText& item = items[i];
        const bool meets = item.y < exposed.bottom && item.y + PageLayout::kRowHeight > exposed.top &&
                           item.x < exposed.right && RightEdge(item.x, item.width) >= exposed.left;
        if (!meets) {
            continue;
        }
        if (item.face != face) {
            face = item.face;
            surface.SelectFace(face);
        }
        Rgb wanted = kTextColor;
        if (item.link >= 0) {
            const bool pressed = !m_rectPressed.empty() && m_rectPressed.left == item.x && m_rectPressed.top == item.y;
            const bool hot = !m_rectHot.empty() && m_rectHot.left == item.x && m_rectHot.top == item.y;
            wanted = pressed ? kPressedLinkColor : hot ? kHotLinkColor : kLinkColor;
        }
        if (!(wanted == color)) {
            color = wanted;
            surface.SetTextColor(color);
        }
        surface.TextOut(item.x, item.y, item.text);
    }
    surface.SelectFace(previous);
    surface.SetTextColor(kTextColor);
}

int PersonPage::PageWidth() const noexcept {
    return std::max(kScrollWidth, m_layout.right());
}

std::string_view PersonPage::LinkText(const PageLink& link) const noexcept {
    for (const LaidText& item : m_layout.items()) {
        if (item.link >= 0 && &m_pLinks[static_cast<std::size_t>(item.link)] == &link) {
            return item.text;
        }
    }
    return {};
}

std::string PersonPage::Caption(std::string_view title) const {
    std::string caption;
    caption.append(title).append(" - ");
    if (m_pPerson) {
        caption.append(ShownText(m_pPerson->m_strID.view()));
    }
    return caption;
}

void PersonPage::TakeStartPerson(const CStirpexDoc& doc) {
    StartPerson start = doc.GetStartPerson();
    if (start.placeholder) {
        m_placeholder = std::move(start.placeholder);
    }
    m_pPerson = start.person;
}

void PersonPage::SetPerson(const CPerson* person) noexcept {
    m_pPerson = person;
}

int PersonPage::DrawPage(PageSurface& surface, const CStirpexDoc& doc) {
    static constexpr Geometry kPrint{100, 400, -40, -25, -140, PageFace::PrintBold, PageFace::Print};
    if (!m_bPrinting) {
        layOut(surface, doc, std::clamp(m_layoutKey.right, 0, kMaxClientWidth));
        m_layoutKey = LayoutKey{&doc, m_pPerson, m_pHome, m_layoutKey.right, m_nValueX};
        paintLayout(surface, kWholePage);
        return m_layoutHeight;
    }
    return m_pPerson ? drawRows(surface, doc, kPrint) : kPrint.firstY;
}

int PersonPage::drawRows(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g) {
    const CPerson& person = *m_pPerson;
    int y = g.firstY;

    surface.SelectFace(g.nameFace);
    const int surnameEnd = drawValue(surface, g, y, person.m_strSurname.view());
    const int givenY = surnameEnd + g.step;
    const int givenEnd = drawValue(surface, g, givenY, person.m_strGivenNames.view());
    if (m_bPrinting) {
        surface.SelectFace(PageFace::Print);
    } else {
        if (person.Details().m_nNotes > 0) {
            DrawLink(surface, m_nNotesX, y, "Notes", person.m_nIndex, TOPIC_PERSON);
        }
        if (person.Details().m_nSources > 0) {
            DrawLink(surface, m_nSourcesX, y, "Sources", person.m_nIndex, TOPIC_PERSON);
        }
    }
    surface.TextOut(g.labelX, y, "Family Name");
    y = givenY;
    surface.TextOut(g.labelX, y, "Given Names");
    y = givenEnd;
    for (int i = 0; i < person.Details().m_nAltNames; ++i) {
        y += g.step + g.gap;
        surface.TextOut(g.labelX, y, "Alias");
        y = drawValue(surface, g, y, person.FormatAltName(i, 0));
    }
    y = drawHomeLine(surface, doc, g, y);

    y = drawEvents(surface, g, y);
    y = drawParents(surface, doc, g, y);

    LineageCount count;
    if (person.m_nSpouseFamilies == 0) {
        m_bCanDescendants = false;
        surface.TextOut(g.labelX, y, "Spouses:");
        surface.TextOut(g.valueX, y, "None.");
    } else {
        m_bCanDescendants = true;
        for (int i = 0; i < person.m_nSpouseFamilies; ++i) {
            y = drawFamily(surface, doc, g, y, i, count);
        }
    }
    y = drawFactRows(surface, doc, g, y);
    m_bCanMtDNA = (person.m_cSex == U'F' && count.childrenFound > 0) || doc.GetMother(&person) != nullptr;
    m_bCanYChromosome = person.m_cSex == U'M' && (count.sonsFound > 0 || doc.GetFather(&person) != nullptr);
    return y;
}

int PersonPage::drawValue(PageSurface& surface, const Geometry& g, int y, std::string_view text) {
    std::string cut;
    const std::string_view drawn = shown(text, cut);
    if (!m_bPrinting || m_printableWidth <= 0) {
        surface.TextOut(g.valueX, y, drawn);
        return y;
    }
    const std::vector<std::string_view> lines = BreakLines(surface, drawn, m_printableWidth - g.valueX);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            y += g.step;
        }
        surface.TextOut(g.valueX, y, lines[i]);
    }
    return y;
}

// "Relationship: <words> of <home person>", the home person a link on
// screen; "none found with <home person>" when the search finds no line.
int PersonPage::drawHomeLine(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y) {
    if (m_pHome == nullptr || m_pHome == m_pPerson) {
        return y;
    }
    y += g.step + g.gap;
    surface.TextOut(g.labelX, y, "Relationship:");
    const std::string& words = homeWords(doc);
    const std::string lead = words.empty() ? std::string("none found with") : words + " of";
    const std::string name = m_pHome->GetDisplayName();
    if (m_bPrinting) {
        return drawValue(surface, g, y, lead + " " + name);
    }
    surface.TextOut(g.valueX, y, lead);
    DrawLink(surface, RightEdge(g.valueX, surface.TextWidth(lead + " ")), y, name, m_pHome->m_nIndex, TOPIC_RELATIVE);
    return y;
}

// The search behind the words walks the family graph, which on a large file
// takes milliseconds: they are found once for the person and home shown, not
// again when only the window's width changes or the page is printed.
const std::string& PersonPage::homeWords(const CStirpexDoc& doc) {
    const HomeWordsKey key{&doc, m_pPerson, m_pHome};
    if (key != m_homeWordsKey) {
        m_homeWords = RelationshipWords(doc, *m_pHome, *m_pPerson);
        m_homeWordsKey = key;
    }
    return m_homeWords;
}

// Birth and death always have a line; baptism and burial only when there is
// something to show, and they follow the line before without a gap.
int PersonPage::drawEvents(PageSurface& surface, const Geometry& g, int y) {
    for (const ClassicEventInfo& info : kClassicEvents) {
        if (info.family) {
            continue;
        }
        const EventSummary event = m_pPerson->Event(info.event);
        const std::string value = eventValue(event.date, event.place);
        const bool always = info.event == ClassicEvent::Birth || info.event == ClassicEvent::Death;
        if (!always && value.empty()) {
            continue;
        }
        y += always ? g.step + g.gap : g.step;
        const int row = y;
        surface.TextOut(g.labelX, y, info.label);
        y = drawValue(surface, g, y, value);
        if (!m_bPrinting && event.sources > 0) {
            DrawLink(surface, m_nSourcesX, row, "Sources", m_pPerson->m_nIndex, info.topic);
        }
    }
    return y;
}

int PersonPage::drawParents(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y) {
    const CPerson* father = doc.GetFather(m_pPerson);
    const CPerson* mother = doc.GetMother(m_pPerson);
    y += g.step + g.gap;
    surface.TextOut(g.labelX, y, "Father");
    y = drawRelative(surface, g, y, father);
    y += g.step + g.gap;
    surface.TextOut(g.labelX, y, "Mother");
    y = drawRelative(surface, g, y, mother);
    m_bCanAncestors = father != nullptr || mother != nullptr;
    return y + g.step + g.gap;
}

int PersonPage::drawRelative(PageSurface& surface, const Geometry& g, int y, const CPerson* relative) {
    if (relative) {
        return drawPersonLink(surface, g, y, *relative);
    }
    surface.TextOut(g.valueX, y, "Unknown");
    return y;
}

// On paper a relative is a value like any other and wraps as one.
int PersonPage::drawPersonLink(PageSurface& surface, const Geometry& g, int y, const CPerson& person,
                               std::string_view relation) {
    std::string name = person.GetDisplayName();
    if (!relation.empty()) {
        name.append(" (").append(relation).append(")");
    }
    if (m_bPrinting) {
        return drawValue(surface, g, y, name);
    }
    DrawLink(surface, g.valueX, y, name, person.m_nIndex, TOPIC_RELATIVE);
    return y;
}

int PersonPage::drawFamily(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y, int i,
                           LineageCount& count) {
    const CPerson& person = *m_pPerson;
    if (person.m_nSpouseFamilies == 1) {
        surface.TextOut(g.labelX, y, "Spouse:");
    } else {
        y += g.gap;
        char label[32];
        std::snprintf(label, sizeof label, "Spouse %d:", i + 1);
        surface.TextOut(g.labelX, y, label);
    }
    const CFamily* family = doc.FindFamily(person.m_arrSpouseFamilies[static_cast<std::size_t>(i)].view());
    y = drawRelative(surface, g, y, doc.GetSpouse(&person, family));
    y += g.step;
    // A key that names no family: the spouse is unknown and there is nothing more to show.
    if (family == nullptr) {
        return y;
    }
    const CFamily& f = *family;
    const FamilyDetails& fd = f.Details();
    const EventSummary marriage = f.Event(ClassicEvent::Marriage);
    if (longerThanThree(marriage.date, marriage.place) || fd.m_nNotes > 0) {
        const int row = y;
        y = drawValue(surface, g, y, datedLine("Married ", marriage.date, marriage.place));
        if (!m_bPrinting && fd.m_nNotes > 0) {
            DrawLink(surface, m_nNotesX, row, "Notes", f.m_nIndex, TOPIC_MARRIAGE);
        }
        // The family's own citations are the marriage's, as they have always been shown.
        if (!m_bPrinting && fd.m_nSources + marriage.sources > 0) {
            DrawLink(surface, m_nSourcesX, row, "Sources", f.m_nIndex, TOPIC_MARRIAGE);
        }
        y += g.step;
    }
    const EventSummary divorce = f.Event(ClassicEvent::Divorce);
    if (longerThanThree(divorce.date, divorce.place)) {
        const int row = y;
        y = drawValue(surface, g, y, datedLine("Divorced ", divorce.date, divorce.place));
        if (!m_bPrinting && divorce.sources > 0) {
            DrawLink(surface, m_nSourcesX, row, "Sources", f.m_nIndex, TOPIC_DIVORCE);
        }
        y += g.step;
    }
    for (int k = 0; k < f.m_nChildren; ++k) {
        if (k == 0) {
            y += g.gap;
            surface.TextOut(g.labelX, y, "Children:");
        }
        const CPerson* child = doc.GetChild(&f, k);
        if (child) {
            y = drawPersonLink(surface, g, y, *child, ChildRelation(*child, f.m_strID.view()));
            ++count.childrenFound;
            if (child->m_cSex == U'M') {
                ++count.sonsFound;
            }
        } else {
            surface.TextOut(g.valueX, y, "(File error -- missing INDI entry)");
        }
        y += g.step;
    }
    return y;
}

PageColumn PersonPage::columnAt(int x) const noexcept {
    return x == m_nNotesX ? PageColumn::Notes : x == m_nSourcesX ? PageColumn::Sources : PageColumn::Value;
}

// Below the families: the person's other facts, associations, each family's
// other events and "Other data", in a value column of their own that makes
// room for the longest label. A page without any keeps the fixed rows alone.
int PersonPage::drawFactRows(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y) {
    const std::vector<FactRow> rows = BuildFactRows(doc, *m_pPerson);
    if (rows.empty()) {
        return y;
    }
    const int labelGap = m_bPrinting ? 25 : 10;
    const int widestLabel = std::max(g.valueX - g.labelX, widestRowLabel(surface, rows) + labelGap);
    Geometry rowGeometry = g;
    rowGeometry.valueX = g.labelX + std::min(widestLabel, 2 * (g.valueX - g.labelX));
    if (m_pPerson->m_nSpouseFamilies == 0) {
        y += g.step; // "Spouses:" "None." left y on its line
    }
    y += g.gap;
    const FactRow* previous = nullptr;
    for (const FactRow& row : rows) {
        const bool newGroup = previous != nullptr && previous->group != row.group;
        if (row.group == RowGroup::OtherData && (previous == nullptr || newGroup)) {
            y += previous ? g.gap : 0;
            surface.TextOut(g.labelX, y, "Other data");
            y += g.step;
        } else if (previous != nullptr && (newGroup || (row.group == RowGroup::Family && row.fact < 0))) {
            y += g.gap;
        }
        previous = &row;
        y = drawFactRow(surface, rowGeometry, y, row);
    }
    return y;
}

int PersonPage::widestRowLabel(PageSurface& surface, const std::vector<FactRow>& rows) {
    int widest = 0;
    for (const FactRow& row : rows) {
        std::string cut;
        widest = std::max(widest, surface.TextWidth(shown(row.label, cut)));
    }
    return widest;
}

// One row: its label, its value (text and links side by side; a plain value
// wraps on paper), its own Notes and Sources, then its further lines.
int PersonPage::drawFactRow(PageSurface& surface, const Geometry& g, int y, const FactRow& row) {
    std::string cut;
    surface.TextOut(g.labelX, y, shown(row.label, cut));
    if (surface.TextWidth(shown(row.label, cut)) > g.valueX - g.labelX) {
        y += g.step; // a label longer than the column: its value on the line below
    }
    const int first = y;
    if (row.value.size() == 1 && row.value.front().person == nullptr && row.value.front().media == nullptr) {
        y = drawValue(surface, g, y, row.value.front().text);
    } else {
        int x = g.valueX;
        for (const RowPart& part : row.value) {
            const std::string_view text = shown(part.text, cut);
            if ((part.person || part.media) && !m_bPrinting) {
                if (part.person) {
                    DrawLink(surface, x, y, text, part.person->m_nIndex, TOPIC_RELATIVE);
                } else {
                    DrawLink(surface, x, y, text, part.media->m_nIndex, TOPIC_MEDIA);
                }
                const PageFace previous = surface.SelectFace(PageFace::Link);
                x = RightEdge(x, surface.TextWidth(text));
                surface.SelectFace(previous);
            } else {
                surface.TextOut(x, y, text);
                x = RightEdge(x, surface.TextWidth(text));
            }
        }
    }
    if (!m_bPrinting && row.fact >= 0) {
        const int topic = row.family ? TOPIC_FAMILY_FACT : TOPIC_FACT;
        const int index = row.family ? row.family->m_nIndex : m_pPerson->m_nIndex;
        if (row.notes > 0) {
            DrawLink(surface, m_nNotesX, first, "Notes", index, topic, row.fact);
        }
        if (row.sources > 0) {
            DrawLink(surface, m_nSourcesX, first, "Sources", index, topic, row.fact);
        }
    }
    y += g.step;
    for (const std::string& line : row.more) {
        y = drawValue(surface, g, y, line) + g.step;
    }
    return y;
}

// On screen a link goes into the layout and the link table; its colour is
// given when it is painted. On paper it is a text like any other.
void PersonPage::DrawLink(PageSurface& surface, int x, int y, std::string_view text, int nIndex, int nTopic,
                          int nFact) {
    std::string cut;
    const std::string_view drawn = shown(text, cut);
    if (m_bPrinting) {
        surface.TextOut(x, y, drawn);
        return;
    }
    const PageColumn column = columnAt(x);
    const PageFace face = column == PageColumn::Value ? PageFace::Link : PageFace::SmallLink;
    const PageFace previous = surface.SelectFace(face);
    const int width = surface.TextWidth(drawn);
    surface.SelectFace(previous);

    int kind = LINK_PERSON;
    if (nTopic == TOPIC_MEDIA) {
        kind = LINK_MEDIA;
    } else if (nTopic != TOPIC_RELATIVE) {
        kind = column == PageColumn::Notes ? LINK_NOTES : LINK_SOURCES;
    }
    // A column link gets its x when the columns are placed.
    const int left = column == PageColumn::Value ? x : 0;
    m_layout.add(LaidText{left, y, width, face, column, m_nLinks, std::string(drawn)});
    m_pLinks.push_back(
        PageLink{PageRect{left, y, RightEdge(left, width), y + kLinkHeight}, kind, nTopic, nIndex, nFact});
    ++m_nLinks;
}

const PageLink* PersonPage::HitTest(int x, int y) const noexcept {
    for (const PageLink& link : m_pLinks) {
        if (link.rect.contains(x, y)) {
            return &link;
        }
    }
    return nullptr;
}

void PersonPage::OnBeginPrinting(PageSurface& surface) {
    m_bPrinting = true;
    surface.SelectFace(PageFace::Print);
}

int PersonPage::PrintPage(PageSurface& surface, const CStirpexDoc& doc) {
    static constexpr int kNotesLimit = -2500; // 250 mm below the top of the printable area
    int y = DrawPage(surface, doc);
    if (m_pPerson == nullptr || m_pPerson->Details().m_nNotes == 0) {
        return y;
    }
    y += -40 + -25;
    surface.TextOut(100, y, "Notes:");
    for (const ArenaStr& key : m_pPerson->Details().m_arrNotes) {
        const CNote* note = doc.FindNote(key.view());
        if (note == nullptr) {
            continue;
        }
        for (const ArenaStr& line : note->m_pLines) {
            std::string cut;
            const std::string_view drawn = shown(line.view(), cut);
            const int room = m_printableWidth > 0 ? m_printableWidth - 400 : 0;
            for (const std::string_view part : BreakLines(surface, drawn, room)) {
                surface.TextOut(400, y, part);
                y += -40;
                if (y < kNotesLimit) {
                    return y;
                }
            }
        }
    }
    return y;
}

} // namespace stirpex
