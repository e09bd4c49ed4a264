// "search": the people a search finds, in the name list's order, each with
// what matched.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "find/search.h"
#include "model/person.h"

#include <optional>
#include <string>

namespace stirpex::cli {

namespace {

[[noreturn]] void badYears(std::string_view text) {
    throw UsageError("--years needs A..B, A.., ..B or A (whole years, before the common era negative), not '" +
                     std::string(text) + "'");
}

void readYears(std::string_view text, SearchQuery& query) {
    if (!ReadYearRange(text, query)) {
        badYears(text);
    }
}

SearchQuery queryOf(const CommandInput& in) {
    SearchQuery query;
    query.surname = in.value("--surname");
    query.given = in.value("--given");
    query.soundex = in.value("--soundex");
    query.place = in.value("--place");
    query.text = in.value("--text");
    if (in.has("--years")) {
        readYears(in.value("--years"), query);
    }
    if (in.has("--sex")) {
        const std::string_view sex = in.value("--sex");
        if (sex != "M" && sex != "F" && sex != "m" && sex != "f") {
            throw UsageError("--sex needs M or F, not '" + std::string(sex) + "'");
        }
        query.sex = static_cast<char32_t>(sex[0] & ~0x20);
    }
    if (query.empty()) {
        throw UsageError("search needs a criterion: --surname, --given, --soundex, --place, --years, --sex or --text");
    }
    return query;
}

void writeQuery(JsonWriter& json, const SearchQuery& query) {
    json.key("query");
    json.beginObject();
    for (const auto& [name, text] : {std::pair<std::string_view, const std::string&>{"surname", query.surname},
                                     {"given", query.given},
                                     {"soundex", query.soundex},
                                     {"place", query.place},
                                     {"text", query.text}}) {
        if (!text.empty()) {
            json.field(name, std::string_view(text));
        }
    }
    if (query.fromYear) {
        json.field("fromYear", *query.fromYear);
    }
    if (query.toYear) {
        json.field("toYear", *query.toYear);
    }
    if (query.sex != 0) {
        json.field("sex", std::string_view(query.sex == U'M' ? "M" : "F"));
    }
    json.endObject();
}

void writeJson(const CommandInput& in, const SearchQuery& query, const std::vector<SearchHit>& hits) {
    JsonWriter json(in.out);
    json.beginObject();
    writeQuery(json, query);
    json.key("hits");
    json.beginArray();
    for (const SearchHit& hit : hits) {
        json.beginObject();
        json.field("id", hit.person->m_strID.view());
        json.field("name", std::string_view(hit.name));
        json.field("years", std::string_view(hit.years));
        json.field("places", std::string_view(hit.places));
        json.field("matched", std::string_view(hit.matched));
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.flush();
    std::fputc('\n', in.out);
}

void writeText(const CommandInput& in, const std::vector<SearchHit>& hits) {
    for (const SearchHit& hit : hits) {
        std::string line = hit.name;
        line.append(" ").append(hit.person->m_strID.view());
        if (!hit.matched.empty()) {
            line.append(" — ").append(hit.matched);
        }
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), in.out);
    }
}

} // namespace

int RunSearchCommand(const CommandInput& in) {
    RequireNoOperands(in);
    const SearchQuery query = queryOf(in);
    if (in.collator == nullptr) {
        throw UsageError("search needs a collator");
    }
    const std::vector<SearchHit> hits = Search(in.doc, *in.collator, query);
    if (in.json) {
        writeJson(in, query, hits);
    } else {
        writeText(in, hits);
    }
    return 0;
}

} // namespace stirpex::cli
