#include "page/page_text.h"

#include "model/stirpex_doc.h"
#include "page/person_page.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace stirpex {

namespace {

// The links of the page by the corner they were drawn at, the first one for
// a corner drawn twice: one look-up per text keeps a page of 100,000
// children as quick as its JSON.
class LinksByCorner {
public:
    explicit LinksByCorner(const std::vector<PageLink>& links) {
        m_links.reserve(links.size());
        for (const PageLink& link : links) {
            m_links.try_emplace(corner(link.rect.left, link.rect.top), &link);
        }
    }

    // The link drawn as `op`: only a text in a link face is one, so a value
    // drawn where a link of another row starts stays a value.
    const PageLink* find(const DrawnText& op) const {
        if (op.face != PageFace::Link && op.face != PageFace::SmallLink) {
            return nullptr;
        }
        const auto it = m_links.find(corner(op.x, op.y));
        return it == m_links.end() ? nullptr : it->second;
    }

private:
    static std::uint64_t corner(int x, int y) noexcept {
        return std::uint64_t{static_cast<std::uint32_t>(x)} << 32 | static_cast<std::uint32_t>(y);
    }

    std::unordered_map<std::uint64_t, const PageLink*> m_links;
};

// One drawn text as a reader sees it: links marked with what they lead to.
std::string readableText(const DrawnText& op, const LinksByCorner& links, const CStirpexDoc& doc) {
    const PageLink* link = links.find(op);
    if (link == nullptr) {
        return op.text;
    }
    if (link->nKind != LINK_PERSON) {
        return "[" + op.text + "]";
    }
    const CPerson* target = link->nIndex >= 0 && link->nIndex < doc.m_nPersons
                                ? doc.m_ppPersons[static_cast<std::size_t>(link->nIndex)].get()
                                : nullptr;
    return target ? op.text + " -> " + std::string(target->m_strID.view()) : op.text;
}

} // namespace

std::string PageText(const PersonPage& page, const std::vector<DrawnText>& drawn, std::string_view caption,
                     const CStirpexDoc& doc, bool printed) {
    const LinksByCorner links(page.Links());
    std::vector<const DrawnText*> ops;
    ops.reserve(drawn.size());
    for (const DrawnText& op : drawn) {
        ops.push_back(&op);
    }
    const int down = printed ? -1 : 1; // paper y grows upwards
    const int labelX = printed ? 100 : 0;
    constexpr std::size_t kValueColumn = 14;
    std::stable_sort(ops.begin(), ops.end(), [down](const DrawnText* a, const DrawnText* b) {
        return a->y * down != b->y * down ? a->y * down < b->y * down : a->x < b->x;
    });
    std::string text;
    text.append(caption).append("\n\n");
    for (std::size_t i = 0; i < ops.size();) {
        const int y = ops[i]->y;
        // A line without a label starts in the value column.
        std::string line = ops[i]->x == labelX ? std::string() : std::string(kValueColumn, ' ');
        for (; i < ops.size() && ops[i]->y == y; ++i) {
            const std::string part = readableText(*ops[i], links, doc);
            if (ops[i]->x == labelX) {
                line = part;
                line.resize(std::max(line.size() + 2, kValueColumn), ' ');
            } else if (!part.empty()) {
                line.append(part).append("  ");
            }
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        text.append(line).append("\n");
    }
    std::string commands;
    const std::pair<bool, const char*> flags[] = {{page.m_bCanAncestors, " ancestors"},
                                                  {page.m_bCanDescendants, " descendants"},
                                                  {page.m_bCanMtDNA, " mtdna"},
                                                  {page.m_bCanYChromosome, " ychromosome"}};
    for (const auto& [enabled, name] : flags) {
        if (enabled) {
            commands += name;
        }
    }
    text.append("\nTrees:").append(commands.empty() ? " none" : commands).append("\n");
    return text;
}

std::string PageText(const CStirpexDoc& doc, const CPerson* person, std::string_view title, const CPerson* home) {
    PersonPage page;
    page.SetPerson(person);
    page.SetHomePerson(home);
    page.m_bFirstDraw = false;
    RecordingSurface surface;
    const PaintOutcome outcome = page.OnDraw(surface, doc, kDefaultPageWidth, title);
    return PageText(page, surface.ops(), outcome.caption, doc, false);
}

} // namespace stirpex
