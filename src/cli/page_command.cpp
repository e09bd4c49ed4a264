// "page": the person page as the viewer lays it out, on screen or on paper.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/stirpex_doc.h"
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

void writeJson(const PersonPage& page, const RecordingSurface& surface, const LaidOutPage& laidOut, std::FILE* out) {
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
        writeJson(page, surface, laidOut, in.out);
    } else {
        const std::string text = PageText(page, surface.ops(), laidOut.caption, in.doc, in.has("--print"));
        std::fwrite(text.data(), 1, text.size(), in.out);
    }
    return 0;
}

} // namespace stirpex::cli
