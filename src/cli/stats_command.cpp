// "stats": the statistics line the viewer puts in its status bar.

#include "cli/commands.h"
#include "cli/dump_command.h"
#include "cli/json_writer.h"
#include "find/name_index.h"
#include "gedcom/load_driver.h"

namespace stirpex::cli {

int RunStatsCommand(const CommandInput& in) {
    RequireNoOperands(in);
    if (in.json) {
        JsonWriter writer(in.out);
        writer.beginObject();
        writer.field("stats", in.load.statsText);
        writer.key("counts");
        WriteCountsJson(in.doc, writer);
        writer.field("nameEntries", in.nameIndex != nullptr ? in.nameIndex->size() : 0);
        writer.endObject();
        writer.flush();
        std::fputc('\n', in.out);
    } else {
        std::fprintf(in.out, "%s\n", in.load.statsText.c_str());
    }
    return 0;
}

} // namespace stirpex::cli
