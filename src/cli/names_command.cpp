// "names": the name index in the viewer's list order, and the find window's
// search for the first entry that begins with a typed text.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "find/name_index.h"
#include "model/stirpex_doc.h"

#include <string>

namespace stirpex::cli {

namespace {

// The start option ("-i KEY" or "-iKEY") is read by the reader from the whole
// argument text; its words are no operands of this command.
void requireOnlyStartOption(const CommandInput& in) {
    const auto& words = in.operands;
    std::size_t used = 0;
    if (!words.empty() && words[0].starts_with("-i")) {
        used = words[0] == "-i" && words.size() > 1 ? 2 : 1;
    }
    if (used < words.size()) {
        throw UsageError("unexpected argument '" + words[used] + "'");
    }
}

void writeJson(const CommandInput& in, const NameIndex& index, int found) {
    JsonWriter json(in.out);
    json.beginObject();
    json.key("entries");
    json.beginArray();
    for (const NameEntry& entry : index.entries()) {
        json.beginArray();
        json.value(entry.text);
        json.value(entry.person);
        json.endArray();
    }
    json.endArray();
    json.field("found", found);
    json.endObject();
    json.flush();
    std::fputc('\n', in.out);
}

void writeText(const CommandInput& in, const NameIndex& index, int found) {
    for (const NameEntry& entry : index.entries()) {
        const std::string_view id = in.doc.m_ppPersons[static_cast<std::size_t>(entry.person)]->m_strID.view();
        std::fprintf(in.out, "%.*s\t%.*s\n", static_cast<int>(entry.text.size()), entry.text.data(),
                     static_cast<int>(id.size()), id.data());
    }
    if (in.has("--find")) {
        std::fprintf(in.out, "found: %d\n", found);
    }
}

} // namespace

int RunNamesCommand(const CommandInput& in) {
    requireOnlyStartOption(in);
    if (in.nameIndex == nullptr) {
        throw UsageError("names needs the name index");
    }
    NameIndex& index = *in.nameIndex;
    // As the Find command does: a list left empty by the start option is built now.
    if (index.empty()) {
        index.BuildIndex(in.doc);
    }
    const int found = in.has("--find") ? index.findPrefix(in.value("--find")) : -1;
    if (in.json) {
        writeJson(in, index, found);
    } else {
        writeText(in, index, found);
    }
    return 0;
}

} // namespace stirpex::cli
