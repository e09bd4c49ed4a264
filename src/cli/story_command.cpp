// "story": the caption and text of the notes and sources viewer for one link
// of a person's page.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/stirpex_doc.h"
#include "page/page_link.h"
#include "story/story_text.h"

#include <array>
#include <string>
#include <utility>

namespace stirpex::cli {

namespace {

int kindOf(std::string_view word) {
    if (word == "notes") {
        return LINK_NOTES;
    }
    if (word == "sources") {
        return LINK_SOURCES;
    }
    throw UsageError("unknown list '" + std::string(word) + "': notes or sources");
}

int topicOf(std::string_view word) {
    constexpr std::array<std::pair<std::string_view, int>, 9> kTopics = {{
        {"person", TOPIC_PERSON},
        {"birth", TOPIC_BIRTH},
        {"baptism", TOPIC_BAPTISM},
        {"marriage", TOPIC_MARRIAGE},
        {"divorce", TOPIC_DIVORCE},
        {"death", TOPIC_DEATH},
        {"burial", TOPIC_BURIAL},
        {"fact", TOPIC_FACT},
        {"family-fact", TOPIC_FAMILY_FACT},
    }};
    for (const auto& [name, topic] : kTopics) {
        if (name == word) {
            return topic;
        }
    }
    throw UsageError("unknown topic '" + std::string(word) +
                     "': person, birth, baptism, marriage, divorce, death, burial, fact or family-fact");
}

// The page hands a family only to the marriage, divorce and family fact lists; so does the command line.
const CFamily* familyFor(const CommandInput& in, int topic) {
    const bool needsFamily = topic == TOPIC_MARRIAGE || topic == TOPIC_DIVORCE || topic == TOPIC_FAMILY_FACT;
    if (!in.has("--family")) {
        if (needsFamily) {
            throw UsageError("marriage, divorce and family-fact lists need --family INDEX");
        }
        return nullptr;
    }
    if (!needsFamily) {
        throw UsageError("--family belongs to marriage, divorce and family-fact lists only");
    }
    const int index = ParseIntOption("--family", in.value("--family"));
    if (index < 0 || index >= in.doc.m_nFamilies) {
        throw UsageError("no family with index " + std::to_string(index));
    }
    return in.doc.m_ppFamilies[static_cast<std::size_t>(index)].get();
}

// A fact's list names the fact by its position among the record's facts.
int factFor(const CommandInput& in, int topic) {
    const bool needsFact = topic == TOPIC_FACT || topic == TOPIC_FAMILY_FACT;
    if (needsFact != in.has("--fact")) {
        throw UsageError(needsFact ? "fact lists need --fact POSITION" : "--fact belongs to fact lists only");
    }
    return needsFact ? ParseIntOption("--fact", in.value("--fact")) : -1;
}

} // namespace

int RunStoryCommand(const CommandInput& in) {
    const CPerson& person = RequirePerson(in.doc, in.operand(0, "ID"));
    const int kind = kindOf(in.operand(1, "list: notes or sources"));
    const int topic = topicOf(in.operand(2, "topic"));
    if (in.operands.size() > 3) {
        throw UsageError("unexpected argument '" + in.operands[3] + "'");
    }
    const StoryText story = AssembleStory(in.doc, person, kind, topic, familyFor(in, topic), factFor(in, topic));
    if (in.json) {
        JsonWriter json(in.out);
        json.beginObject();
        json.field("caption", story.caption);
        json.field("text", story.text);
        json.endObject();
        json.flush();
        std::fputc('\n', in.out);
    } else {
        std::fprintf(in.out, "%s\n\n", story.caption.c_str());
        std::fwrite(story.text.data(), 1, story.text.size(), in.out);
    }
    return 0;
}

} // namespace stirpex::cli
