// "relation": what the second person is to the first, every relationship
// found, each as its sentence and the chain of people it runs through.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/person.h"
#include "trees/relationship.h"

#include <string>
#include <vector>

namespace stirpex::cli {

namespace {

void writeJson(std::FILE* out, const CPerson& a, const CPerson& b, const std::vector<Relationship>& found) {
    const auto keys = [](JsonWriter& json, std::string_view name, const std::vector<const CPerson*>& people) {
        json.key(name);
        json.beginArray();
        for (const CPerson* person : people) {
            json.value(person->m_strID.view());
        }
        json.endArray();
    };
    JsonWriter json(out);
    json.beginObject();
    json.field("a", a.m_strID.view());
    json.field("b", b.m_strID.view());
    json.key("relationships");
    json.beginArray();
    for (const Relationship& r : found) {
        json.beginObject();
        json.field("words", r.words);
        json.field("sentence", r.sentence);
        json.field("byMarriage", r.byMarriage);
        keys(json, "path", r.path);
        keys(json, "commonAncestors", r.commonAncestors);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.flush();
    std::fputc('\n', out);
}

void writeText(std::FILE* out, const CPerson& a, const CPerson& b, const std::vector<Relationship>& found) {
    if (found.empty()) {
        std::fprintf(out, "%s\n", NoRelationshipSentence(a, b).c_str());
        return;
    }
    for (const Relationship& r : found) {
        std::string line = "  ";
        for (const CPerson* person : r.path) {
            line.append(line.size() > 2 ? " -> " : "").append(person->FormatName(0));
            line.append(" (").append(person->m_strID.view()).append(")");
        }
        std::fprintf(out, "%s\n%s\n", r.sentence.c_str(), line.c_str());
    }
}

} // namespace

int RunRelationCommand(const CommandInput& in) {
    const CPerson& a = RequirePerson(in.doc, in.operand(0, "individual ID"));
    const CPerson& b = RequirePerson(in.doc, in.operand(1, "second individual ID"));
    if (in.operands.size() > 2) {
        throw UsageError("unexpected argument '" + in.operands[2] + "'");
    }
    const std::vector<Relationship> found = FindRelationships(in.doc, a, b);
    if (in.json) {
        writeJson(in.out, a, b, found);
    } else {
        writeText(in.out, a, b, found);
    }
    return 0;
}

} // namespace stirpex::cli
