// The person page of a woman with 5000 children. Reports, against a baseline
// that only formats the 5000 children's names (the texts the page cannot do
// without): the layout (a change of person or window width), a repaint of the
// whole page from the kept layout, and a repaint of one window of it (what a
// scroll or a hover asks); and the heap allocations of a repaint, which must
// be none once the page is laid out.

#include "bench_timing.h"
#include "model/stirpex_doc.h"
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

} // namespace

int main() {
    CStirpexDoc doc;
    buildFamily(doc);
    const CPerson* mother = doc.FindPerson("M");

    // Baseline: the children's display names alone.
    const CFamily* family = doc.FindFamily("F1");
    std::size_t checksum = 0;
    auto start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < kChildren; ++k) {
            checksum += doc.GetChild(family, k)->GetDisplayName().size();
        }
    }
    const double baseline = secondsSince(start) / kRounds;

    PersonPage page;
    NullSurface surface;
    page.SetPerson(mother);
    page.m_bFirstDraw = false;
    page.OnDraw(surface, doc, 500, "bench.ged"); // sizes the link table

    // A layout on every paint: what each paint cost before the layout was kept.
    start = Clock::now();
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

    std::printf("page of a person with %d children (%zu links)\n", kChildren, page.Links().size());
    std::printf("  names only (baseline):        %8.4f ms\n", baseline * 1e3);
    std::printf("  layout and paint:             %8.4f ms   ratio %.3f\n", layout * 1e3, layout / baseline);
    std::printf("  paint, whole page, kept:      %8.4f ms   ratio %.3f\n", whole * 1e3, whole / baseline);
    std::printf("  paint, 500 x 400 window:      %8.4f ms   ratio %.4f\n", windowPaint * 1e3, windowPaint / baseline);
    std::printf("  allocations per kept paint:   %zu\n", perPaint);
    std::printf("  (checksum %zu, %zu bytes drawn)\n", checksum, surface.m_bytes);
    return 0;
}
