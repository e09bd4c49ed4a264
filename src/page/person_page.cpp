#include "page/person_page.h"

#include "model/shown_text.h"
#include "model/stirpex_doc.h"
#include "model/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace stirpex {

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

void drawShown(PageSurface& surface, int x, int y, std::string_view text) {
    std::string cut;
    surface.TextOut(x, y, shown(text, cut));
}

// A surface may measure a text wider than the room left right of x: the edge
// then stays at the largest int instead of wrapping round to the left.
int rightEdge(int x, int width) noexcept {
    const std::int64_t right = std::int64_t{x} + std::max(width, 0);
    return static_cast<int>(std::min<std::int64_t>(right, std::numeric_limits<int>::max()));
}

} // namespace

PaintOutcome PersonPage::OnDraw(PageSurface& surface, const CStirpexDoc& doc, int clientRight, std::string_view title) {
    const int right = std::clamp(clientRight, 0, kMaxClientWidth);
    m_nNotesX = right - 95;
    m_nSourcesX = right - 45;
    if (m_bFirstDraw) {
        TakeStartPerson(doc);
        m_bNewPerson = true;
    }
    m_nLinks = 0;
    m_pLinks.clear();
    PaintOutcome outcome;
    outcome.height = DrawPage(surface, doc);
    if (m_bNewPerson) {
        outcome.newPerson = true;
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
    static constexpr Geometry kScreen{0, 0, 20, 0, 0, PageFace::Text, PageFace::Text};
    static constexpr Geometry kPrint{100, 400, -40, -25, -140, PageFace::PrintBold, PageFace::Print};
    Geometry g = m_bPrinting ? kPrint : kScreen;
    if (!m_bPrinting) {
        g.valueX = m_nValueX;
    }
    if (m_pPerson == nullptr) {
        return g.firstY;
    }
    const CPerson& person = *m_pPerson;
    int y = g.firstY;

    surface.SelectFace(g.nameFace);
    drawShown(surface, g.valueX, y, person.m_strSurname.view());
    drawShown(surface, g.valueX, y + g.step, person.m_strGivenNames.view());
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
    y += g.step;
    surface.TextOut(g.labelX, y, "Given Names");
    for (int i = 0; i < person.Details().m_nAltNames; ++i) {
        y += g.step + g.gap;
        surface.TextOut(g.labelX, y, "Alias");
        drawShown(surface, g.valueX, y, person.FormatAltName(i, 0));
    }

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
    if (person.Details().m_nObjects > 0) {
        // "Spouses: None." leaves y on its own line.
        y = drawMedia(surface, doc, g, (person.m_nSpouseFamilies == 0 ? y + g.step : y) + g.gap);
    }
    m_bCanMtDNA = (person.m_cSex == U'F' && count.childrenFound > 0) || doc.GetMother(&person) != nullptr;
    m_bCanYChromosome = person.m_cSex == U'M' && (count.sonsFound > 0 || doc.GetFather(&person) != nullptr);
    return y;
}

// Birth and death always have a line; baptism and burial only when there is
// something to show, and they follow the line before without a gap.
int PersonPage::drawEvents(PageSurface& surface, const Geometry& g, int y) {
    const PersonDetails& p = m_pPerson->Details();
    struct Event {
        std::string_view label;
        ArenaStr date, place;
        int sources;
        int topic;
        bool always;
    };
    const Event events[] = {
        {"Birth", p.m_strBirthDate, p.m_strBirthPlace, p.m_nBirthSources, TOPIC_BIRTH, true},
        {"Baptism", p.m_strBaptismDate, p.m_strBaptismPlace, p.m_nBaptismSources, TOPIC_BAPTISM, false},
        {"Death", p.m_strDeathDate, p.m_strDeathPlace, p.m_nDeathSources, TOPIC_DEATH, true},
        {"Burial", p.m_strBurialDate, p.m_strBurialPlace, p.m_nBurialSources, TOPIC_BURIAL, false},
    };
    for (const Event& event : events) {
        const std::string value = eventValue(event.date.view(), event.place.view());
        if (!event.always && value.empty()) {
            continue;
        }
        y += event.always ? g.step + g.gap : g.step;
        surface.TextOut(g.labelX, y, event.label);
        drawShown(surface, g.valueX, y, value);
        if (!m_bPrinting && event.sources > 0) {
            DrawLink(surface, m_nSourcesX, y, "Sources", m_pPerson->m_nIndex, event.topic);
        }
    }
    return y;
}

int PersonPage::drawParents(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y) {
    const CPerson* father = doc.GetFather(m_pPerson);
    const CPerson* mother = doc.GetMother(m_pPerson);
    y += g.step + g.gap;
    surface.TextOut(g.labelX, y, "Father");
    drawRelative(surface, g, y, father);
    y += g.step + g.gap;
    surface.TextOut(g.labelX, y, "Mother");
    drawRelative(surface, g, y, mother);
    m_bCanAncestors = father != nullptr || mother != nullptr;
    return y + g.step + g.gap;
}

void PersonPage::drawRelative(PageSurface& surface, const Geometry& g, int y, const CPerson* relative) {
    if (relative) {
        DrawLink(surface, g.valueX, y, relative->GetDisplayName(), relative->m_nIndex, TOPIC_RELATIVE);
    } else {
        surface.TextOut(g.valueX, y, "Unknown");
    }
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
    drawRelative(surface, g, y, doc.GetSpouse(&person, family));
    y += g.step;
    // A key that names no family: the spouse is unknown and there is nothing more to show.
    if (family == nullptr) {
        return y;
    }
    const CFamily& f = *family;
    const FamilyDetails& fd = f.Details();
    if (longerThanThree(fd.m_strMarriageDate.view(), fd.m_strMarriagePlace.view()) || fd.m_nNotes > 0) {
        drawShown(surface, g.valueX, y,
                  datedLine("Married ", fd.m_strMarriageDate.view(), fd.m_strMarriagePlace.view()));
        if (!m_bPrinting && fd.m_nNotes > 0) {
            DrawLink(surface, m_nNotesX, y, "Notes", f.m_nIndex, TOPIC_MARRIAGE);
        }
        if (!m_bPrinting && fd.m_nSources > 0) {
            DrawLink(surface, m_nSourcesX, y, "Sources", f.m_nIndex, TOPIC_MARRIAGE);
        }
        y += g.step;
    }
    if (longerThanThree(fd.m_strDivorceDate.view(), fd.m_strDivorcePlace.view())) {
        drawShown(surface, g.valueX, y,
                  datedLine("Divorced ", fd.m_strDivorceDate.view(), fd.m_strDivorcePlace.view()));
        if (!m_bPrinting && fd.m_nDivorceSources > 0) {
            DrawLink(surface, m_nSourcesX, y, "Sources", f.m_nIndex, TOPIC_DIVORCE);
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
            DrawLink(surface, g.valueX, y, child->GetDisplayName(), child->m_nIndex, TOPIC_RELATIVE);
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

// One row per media key: the title and, in parentheses, the file, as a link
// that opens it; a key that names no record cannot be opened.
int PersonPage::drawMedia(PageSurface& surface, const CStirpexDoc& doc, const Geometry& g, int y) {
    for (const ArenaStr& key : m_pPerson->Details().m_arrObjects) {
        surface.TextOut(g.labelX, y, "Media");
        const CExtObj* object = doc.FindExtObj(key.view());
        if (object == nullptr) {
            surface.TextOut(g.valueX, y, "(missing)");
        } else {
            DrawLink(surface, g.valueX, y, MediaCaption(*object), object->m_nIndex, TOPIC_MEDIA);
        }
        y += g.step;
    }
    return y;
}

std::string MediaCaption(const CExtObj& object) {
    const std::string_view title = object.m_strTitle.view();
    const std::string_view file = object.m_strFile.view();
    if (title.empty()) {
        return file.empty() ? std::string("(no file)") : std::string(file);
    }
    std::string caption(title);
    if (!file.empty()) {
        caption.append(" (").append(file).append(")");
    }
    return caption;
}

void PersonPage::DrawLink(PageSurface& surface, int x, int y, std::string_view text, int nIndex, int nTopic) {
    std::string cut;
    const std::string_view drawn = shown(text, cut);
    if (m_bPrinting) {
        surface.TextOut(x, y, drawn);
        return;
    }
    const PageFace previous = surface.SelectFace(x < m_nNotesX ? PageFace::Link : PageFace::SmallLink);
    // The table is rebuilt on every paint, so a link is known across paints by its corner.
    const bool pressed = !m_rectPressed.empty() && m_rectPressed.left == x && m_rectPressed.top == y;
    const bool hot = !m_rectHot.empty() && m_rectHot.left == x && m_rectHot.top == y;
    surface.SetTextColor(pressed ? kPressedLinkColor : hot ? kHotLinkColor : kLinkColor);
    const int width = surface.TextWidth(drawn);
    surface.TextOut(x, y, drawn);
    surface.SelectFace(previous);
    surface.SetTextColor(kTextColor);

    // A relative stays a relative even where a narrow window pushes the notes
    // column over the values.
    int kind = LINK_PERSON;
    if (nTopic == TOPIC_MEDIA) {
        kind = LINK_MEDIA;
    } else if (nTopic != TOPIC_RELATIVE) {
        kind = x == m_nNotesX ? LINK_NOTES : LINK_SOURCES;
    }
    m_pLinks.push_back(PageLink{PageRect{x, y, rightEdge(x, width), y + kLinkHeight}, kind, nTopic, nIndex});
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
            drawShown(surface, 400, y, line.view());
            y += -40;
            if (y < kNotesLimit) {
                return y;
            }
        }
    }
    return y;
}

} // namespace stirpex
