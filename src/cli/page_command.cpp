// "page": the person page as the viewer lays it out, on screen or on paper.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/stirpex_doc.h"
#include "page/fact_rows.h"
#include "page/page_text.h"
#include "page/person_page.h"
#include "page/recording_surface.h"

#include <string>

namespace stirpex::cli {

namespace {

struct LaidOutPage {
    int height = 0;
    std::string caption;
};

LaidOutPage layOut(PersonPage& page, RecordingSurface& surface, const CommandInput& in, int width) {
    if (!in.operands.empty()) {
        page.m_pPerson = &RequirePerson(in.doc, in.operands.front());
        page.m_bFirstDraw = false;
    }
    if (in.has("--home")) {
        page.SetHomePerson(&RequirePerson(in.doc, in.value("--home")));
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
    case RowGroup::Media:
        return "media";
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
            } else if (part.media) {
                json.pair(part.text, part.media->m_strID.view());
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

} // namespace

int RunPageCommand(const CommandInput& in) {
    if (in.operands.size() > 1) {
        throw UsageError("unexpected argument '" + in.operands[1] + "'");
    }
    const int width = in.has("--width") ? ParseIntOption("--width", in.value("--width"), 0, PersonPage::kMaxClientWidth)
                                        : kDefaultPageWidth;
    PersonPage page;
    RecordingSurface surface;
    const LaidOutPage laidOut = layOut(page, surface, in, width);
    if (in.json) {
        writeJson(page, surface, laidOut, in.doc, in.out);
    } else {
        const std::string text = PageText(page, surface.ops(), laidOut.caption, in.doc, in.has("--print"));
        std::fwrite(text.data(), 1, text.size(), in.out);
    }
    return 0;
}

} // namespace stirpex::cli
