#pragma once

// A document as text that two loads of one file, in one process, give alike:
// its JSON dump, with generated keys counted from the load's first (they come
// from a counter of the whole process), and its reading log.

#include "cli/dump_command.h"
#include "cli/json_writer.h"
#include "gedcom/gedcom_line.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace stirpex::test {

inline std::string DumpJson(const CStirpexDoc& doc, const LoadResult& result) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    {
        cli::JsonWriter json(out);
        cli::WriteDumpJson(doc, "file.ged", result.statsText, json);
        json.flush();
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// Each JSON string " N" (a blank and digits) is a generated key.
template <typename Visit> void ForEachGeneratedKey(const std::string& json, Visit visit) {
    for (std::size_t at = json.find("\" "); at != std::string::npos; at = json.find("\" ", at + 1)) {
        std::size_t end = at + 2;
        while (end < json.size() && json[end] >= '0' && json[end] <= '9') {
            ++end;
        }
        const bool digits = end > at + 2 && end - at - 2 <= 18;
        if (digits && end < json.size() && json[end] == '"' && (at == 0 || json[at - 1] != '\\')) {
            visit(at, end + 1, std::stoll(json.substr(at + 2, end - at - 2)));
        }
    }
}

// The keys numbered from `first` up to `end` (not included), the ones a load
// generated, as if that load had been the process's first.
inline std::string FromFirstGeneratedKey(const std::string& json, long long first, long long end) {
    std::string out;
    std::size_t copied = 0;
    ForEachGeneratedKey(json, [&](std::size_t begin, std::size_t stop, long long number) {
        if (number < first || number >= end) {
            return; // a key of the file that looks like a generated one
        }
        out.append(json, copied, begin - copied);
        out += "\" " + std::to_string(number - first) + "\"";
        copied = stop;
    });
    out.append(json, copied);
    return out;
}

inline std::string LogText(const ReadingLog& log) {
    std::ostringstream out;
    out << log.skippedLines() << " skipped;";
    for (const SkippedTag& tag : log.skippedTags()) {
        out << " [" << tag.tag << "] " << tag.lines.count << ":";
        for (const auto line : tag.lines.firstLines) {
            out << ' ' << line;
        }
    }
    out << "; undecodable " << log.undecodable.count << ":";
    for (const auto line : log.undecodable.firstLines) {
        out << ' ' << line;
    }
    return out.str();
}

// Loads `bytes` into `doc` and returns its dump; `result` gets the load's result.
inline std::string LoadComparable(CStirpexDoc& doc, std::string_view bytes, const LoadEnvironment& env,
                                  LoadResult& result) {
    const long long first = ReserveGeneratedKeys(0);
    std::istringstream in{std::string(bytes)};
    result = LoadGedcom(doc, in, static_cast<std::int64_t>(bytes.size()), "file.ged", env);
    const long long end = ReserveGeneratedKeys(0);
    return FromFirstGeneratedKey(DumpJson(doc, result), first, end);
}

} // namespace stirpex::test
