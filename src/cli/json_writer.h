#pragma once

// A streaming JSON writer: the dump of a file with a million people is
// written as it is walked, never held whole in memory. Strings are model text
// (well-formed UTF-8) and are written as they are, with the characters JSON
// requires escaped.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : m_out(out) {}
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void value(int number) { value(static_cast<std::int64_t>(number)); }
    void value(bool flag);
    void null();
    // A two-element array of texts, as dates with places and citations are written.
    void pair(std::string_view first, std::string_view second);

    template <typename T> void field(std::string_view name, const T& v) {
        key(name);
        value(v);
    }
    void pairField(std::string_view name, std::string_view first, std::string_view second) {
        key(name);
        pair(first, second);
    }

    void flush();

private:
    void separate();
    void raw(std::string_view text);

    std::FILE* m_out;
    std::string m_buffer;
    std::vector<bool> m_first; // one per open container: no member written yet
    bool m_afterKey = false;
};

} // namespace stirpex::cli
