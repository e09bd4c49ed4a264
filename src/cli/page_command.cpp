// "page": the person page as the viewer lays it out, on screen or on paper.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/stirpex_doc.h"
#include "page/fact_rows.h"
#include "page/person_page.h"
#include "page/recording_surface.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace stirpex::cli {

namespace {

constexpr int kDefaultWidth = 500;

struct LaidOutPage {
    int height = 0;
    std::string caption;
};

LaidOutPage layOut(PersonPage& page, RecordingSurface& surface, const CommandInput& in, int width) {
    if (!in.operands.empty()) {
        page.m_pPerson = &RequirePerson(in.doc, in.operands.front());
        page.m_bFirstDraw = false;
    }
    if (!in.has("--print")) {
        const PaintOutcome outcome = page.OnDraw(surface, in.doc, width, in.fileName);
        return {outcome.height, outcome.caption};
    }
    if (page.m_bFirstDraw) {
        page.TakeStartPerson(in.doc);
    }
    page.OnBeginPrinting(surface);
    const int height = page.PrintPage(surface, in.doc);
    page.OnEndPrinting();
    return {height, page.Caption(in.fileName)};
}

std::string_view groupName(RowGroup group) {
    switch (group) {
    case RowGroup::Facts:
        return "facts";
    case RowGroup::Associations:
        return "associations";
    case RowGroup::Family:
        return "family";
    case RowGroup::OtherData:
        return "other";
    }
    return {};
}

// The rows below the families as data: what each says and what it links to.
void writeFactRows(JsonWriter& json, const CStirpexDoc& doc, const CPerson* person) {
    json.beginArray();
    for (const FactRow& row : person ? BuildFactRows(doc, *person) : std::vector<FactRow>()) {
        json.beginObject();
        json.field("group", groupName(row.group));
        json.field("label", row.label);
        std::string value;
        for (const RowPart& part : row.value) {
            value += part.text;
        }
        json.field("value", value);
        json.key("links");
        json.beginArray();
        for (const RowPart& part : row.value) {
            if (part.person) {
                json.pair(part.text, part.person->m_strID.view());
            }
        }
        json.endArray();
        json.key("more");
        json.beginArray();
        for (const std::string& line : row.more) {
            json.value(line);
        }
        json.endArray();
        json.field("family", row.family ? row.family->m_nIndex : -1);
        json.field("fact", row.fact);
        json.field("notes", row.notes);
        json.field("sources", row.sources);
        json.endObject();
    }
    json.endArray();
}

void writeJson(const PersonPage& page, const RecordingSurface& surface, const LaidOutPage& laidOut,
               const CStirpexDoc& doc, std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.field("person", page.m_pPerson ? page.m_pPerson->m_nIndex : -1);
    json.field("id", page.m_pPerson ? page.m_pPerson->m_strID.view() : std::string_view());
    json.field("caption", laidOut.caption);
    json.field("height", laidOut.height);
    json.key("ops");
    json.beginArray();
    for (const DrawnText& op : surface.ops()) {
        json.beginObject();
        json.field("x", op.x);
        json.field("y", op.y);
        json.field("text", op.text);
        json.field("face", FaceName(op.face));
        json.key("color");
        json.beginArray();
        json.value(static_cast<int>(op.color.r));
        json.value(static_cast<int>(op.color.g));
        json.value(static_cast<int>(op.color.b));
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("links");
    json.beginArray();
    for (const PageLink& link : page.Links()) {
        json.beginObject();
        json.key("rect");
        json.beginArray();
        for (const int edge : {link.rect.left, link.rect.top, link.rect.right, link.rect.bottom}) {
            json.value(edge);
        }
        json.endArray();
        json.field("kind", link.nKind);
        json.field("topic", link.nTopic);
        json.field("index", link.nIndex);
        json.field("fact", link.nFact);
        json.endObject();
    }
    json.endArray();
    json.key("flags");
    json.beginObject();
    json.field("ancestors", page.m_bCanAncestors);
    json.field("descendants", page.m_bCanDescendants);
    json.field("mtdna", page.m_bCanMtDNA);
    json.field("ychromosome", page.m_bCanYChromosome);
    json.endObject();
    json.key("facts");
    writeFactRows(json, doc, page.m_pPerson);
    json.endObject();
    json.flush();
    std::fputc('\n', out);
}

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
    // the notes column was pushed over stays a value.
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

// Label and value lines, top of the page first, each line's texts from left to right.
void writeText(const PersonPage& page, const RecordingSurface& surface, const LaidOutPage& laidOut,
               const CStirpexDoc& doc, bool printed, std::FILE* out) {
    const LinksByCorner links(page.Links());
    std::vector<const DrawnText*> ops;
    ops.reserve(surface.ops().size());
    for (const DrawnText& op : surface.ops()) {
        ops.push_back(&op);
    }
    const int down = printed ? -1 : 1; // paper y grows upwards
    const int labelX = printed ? 100 : 0;
    constexpr std::size_t kValueColumn = 14;
    std::stable_sort(ops.begin(), ops.end(), [down](const DrawnText* a, const DrawnText* b) {
        return a->y * down != b->y * down ? a->y * down < b->y * down : a->x < b->x;
    });
    std::fprintf(out, "%s\n\n", laidOut.caption.c_str());
    for (std::size_t i = 0; i < ops.size();) {
        const int y = ops[i]->y;
        // A line without a label starts in the value column.
        std::string line = ops[i]->x == labelX ? std::string() : std::string(kValueColumn, ' ');
        for (; i < ops.size() && ops[i]->y == y; ++i) {
            const std::string text = readableText(*ops[i], links, doc);
            if (ops[i]->x == labelX) {
                line = text;
                line.resize(std::max(line.size() + 2, kValueColumn), ' ');
            } else if (!text.empty()) {
                line.append(text).append("  ");
            }
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        std::fprintf(out, "%s\n", line.c_str());
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
    std::fprintf(out, "\nTrees:%s\n", commands.empty() ? " none" : commands.c_str());
}

} // namespace

int RunPageCommand(const CommandInput& in) {
    if (in.operands.size() > 1) {
        throw UsageError("unexpected argument '" + in.operands[1] + "'");
    }
    const int width = in.has("--width") ? ParseIntOption("--width", in.value("--width"), 0, PersonPage::kMaxClientWidth)
                                        : kDefaultWidth;
    PersonPage page;
    RecordingSurface surface;
    const LaidOutPage laidOut = layOut(page, surface, in, width);
    if (in.json) {
        writeJson(page, surface, laidOut, in.doc, in.out);
    } else {
        writeText(page, surface, laidOut, in.doc, in.has("--print"), in.out);
    }
    return 0;
}

} // namespace stirpex::cli
