// Two person pages: a woman with 5000 children, and a man with 5000 facts
// (occupations, residences with addresses, events with a type, cited). Reports
// for each, against a baseline that only formats the 5000 texts the page
// cannot do without (the children's names, the facts' values): the layout (a
// change of person or window width), a repaint of the whole page from the
// kept layout, and a repaint of one window of it (what a scroll or a hover
// asks); and the heap allocations of a repaint, which must be none once the
// page is laid out.

#include "bench_timing.h"
#include "model/stirpex_doc.h"
#include "page/fact_rows.h"
#include "page/page_surface.h"
#include "page/person_page.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::joined;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

std::size_t g_allocations = 0;

} // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace stirpex;

constexpr int kChildren = 5000;
constexpr int kFacts = 5000;
constexpr int kRounds = 200;

// Measures like a screen surface would, draws nothing.
class NullSurface final : public PageSurface {
public:
    PageFace SelectFace(PageFace face) override {
        const PageFace previous = m_face;
        m_face = face;
        return previous;
    }
    void SetTextColor(Rgb) override {}
    void TextOut(int, int, std::string_view text) override { m_bytes += text.size(); }
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 8; }

    std::size_t m_bytes = 0;

private:
    PageFace m_face = PageFace::Text;
};

void buildFamily(CStirpexDoc& doc) {
    TextArena& arena = doc.Arena();
    CPerson& mother = doc.AddPerson(arena.copy("M"));
    mother.m_strSurname = arena.copy("Harrow");
    mother.m_strGivenNames = arena.copy("Margaret Ellen");
    mother.m_cSex = U'F';
    mother.AddSpouseFamily(arena, arena.copy("F1"));
    CFamily& family = doc.AddFamily(arena.copy("F1"));
    family.m_strWife = arena.copy("M");
    Fact& marriage = family.EditDetails(arena).m_facts.append(arena, KnownTagText("MARR"));
    marriage.m_strDate = arena.copy("3 JUN 1908");
    marriage.m_strPlace = arena.copy("St. Oswin's Church, Fallowmere");
    for (int i = 0; i < kChildren; ++i) {
        const std::string key = "C" + std::to_string(i);
        family.AddChild(arena, arena.copy(key));
        CPerson& child = doc.AddPerson(arena.copy(key));
        child.m_strSurname = arena.copy("Harrow");
        child.m_strGivenNames = arena.copy("Child Number " + std::to_string(i));
        child.m_cSex = i % 2 ? U'M' : U'F';
        child.m_nBirthYear = 1900 + i % 100;
    }
}

// A man of many facts, as a long-lived record of a census taker might be.
void buildFacts(CStirpexDoc& doc) {
    TextArena& arena = doc.Arena();
    CPerson& person = doc.AddPerson(arena.copy("P"));
    person.m_strSurname = arena.copy("Harrow");
    person.m_strGivenNames = arena.copy("William");
    person.m_cSex = U'M';
    static constexpr const char* kTags[] = {"OCCU", "RESI", "EVEN", "CENS"};
    for (int i = 0; i < kFacts; ++i) {
        Fact& fact = person.EditDetails(arena).m_facts.append(arena, KnownTagText(kTags[i % 4]));
        fact.m_strDate = arena.copy(std::to_string(1800 + i % 200));
        fact.m_strPlace = arena.copy("Fallowmere, Brackenshire");
        FactDetails& details = fact.EditDetails(arena);
        if (i % 4 == 0) {
            fact.m_strValue = arena.copy("Clockmaker and repairer of church clocks");
        } else if (i % 4 == 1) {
            details.m_arrAddress.append(arena, arena.copy("14 Kettle Lane"));
        } else if (i % 4 == 2) {
            details.m_strType = arena.copy("Apprenticeship");
        }
        details.m_arrSources.append(arena, arena.copy("S1"));
        details.m_arrSourceTexts.append(arena, arena.copy("p. 12"));
    }
}

struct Timings {
    double layout = 0;
    double whole = 0;
    double window = 0;
    std::size_t allocations = 0;
    std::size_t links = 0;
};

Timings measurePage(const CStirpexDoc& doc, const CPerson* person, NullSurface& surface) {
    PersonPage page;
    page.SetPerson(person);
    page.m_bFirstDraw = false;
    page.OnDraw(surface, doc, 500, "bench.ged"); // sizes the link table

    // A layout on every paint: what each paint cost before the layout was kept.
    auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        page.m_bNewPerson = true;
        page.OnDraw(surface, doc, 500, "bench.ged");
    }
    const double layout = secondsSince(start) / kRounds;

    const std::size_t before = g_allocations;
    page.OnDraw(surface, doc, 500, "bench.ged");
    const std::size_t perPaint = g_allocations - before;

    start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        page.OnDraw(surface, doc, 500, "bench.ged");
    }
    const double whole = secondsSince(start) / kRounds;

    // A 500 x 400 window over the middle of the page, as a scroll repaints it.
    constexpr int kWindowRounds = 20000;
    const PageRect window{0, 50000, 500, 50400};
    start = Clock::now();
    for (int round = 0; round < kWindowRounds; ++round) {
        page.OnDraw(surface, doc, 500, "bench.ged", window);
    }
    const double windowPaint = secondsSince(start) / kWindowRounds;
    return Timings{layout, whole, windowPaint, perPaint, page.Links().size()};
}

void report(const char* what, const char* baselineName, double baseline, const Timings& t) {
    std::printf("page of a person with %s (%zu links)\n", what, t.links);
    std::printf("  %-29s %8.4f ms\n", baselineName, baseline * 1e3);
    std::printf("  layout and paint:             %8.4f ms   ratio %.3f\n", t.layout * 1e3, t.layout / baseline);
    std::printf("  paint, whole page, kept:      %8.4f ms   ratio %.3f\n", t.whole * 1e3, t.whole / baseline);
    std::printf("  paint, 500 x 400 window:      %8.4f ms   ratio %.4f\n", t.window * 1e3, t.window / baseline);
    std::printf("  allocations per kept paint:   %zu\n", t.allocations);
}

} // namespace

int main() {
    CStirpexDoc doc;
    buildFamily(doc);
    buildFacts(doc);
    NullSurface surface;

    // Baseline: the children's display names alone.
    const CFamily* family = doc.FindFamily("F1");
    std::size_t checksum = 0;
    auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < kChildren; ++k) {
            checksum += doc.GetChild(family, k)->GetDisplayName().size();
        }
    }
    const double namesBaseline = secondsSince(start) / kRounds;
    report("5000 children", "names only (baseline):", namesBaseline, measurePage(doc, doc.FindPerson("M"), surface));

    // Baseline: the facts' value texts alone.
    const CPerson* man = doc.FindPerson("P");
    start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (const Fact& fact : man->Details().m_facts) {
            checksum += FactValueText(fact).size();
        }
    }
    const double factsBaseline = secondsSince(start) / kRounds;
    report("5000 facts", "fact values only (baseline):", factsBaseline, measurePage(doc, man, surface));
    std::printf("(checksum %zu, %zu bytes drawn)\n", checksum, surface.m_bytes);
    return 0;
}
