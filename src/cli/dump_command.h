#pragma once

// "dump": every record the viewer knows, as readable text or as JSON.

#include <cstdio>
#include <string_view>

namespace stirpex {
class CStirpexDoc;
}

namespace stirpex::cli {

class JsonWriter;

void WriteDumpJson(const CStirpexDoc& doc, std::string_view path, std::string_view stats, JsonWriter& json);
void WriteDumpText(const CStirpexDoc& doc, std::string_view path, std::string_view stats, std::FILE* out);
void WriteCountsJson(const CStirpexDoc& doc, JsonWriter& json);

} // namespace stirpex::cli
