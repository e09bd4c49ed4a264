#include "cli/json_writer.h"

namespace stirpex::cli {

namespace {
constexpr std::size_t kFlushSize = std::size_t{1} << 16;
}

JsonWriter::~JsonWriter() {
    flush();
}

void JsonWriter::flush() {
    if (!m_buffer.empty()) {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
        m_buffer.clear();
    }
}

void JsonWriter::raw(std::string_view text) {
    m_buffer.append(text);
    if (m_buffer.size() >= kFlushSize) {
        flush();
    }
}

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) {
            raw(",");
        }
        m_first.back() = false;
    }
}

void JsonWriter::beginObject() {
    separate();
    raw("{");
    m_first.push_back(true);
}

void JsonWriter::endObject() {
    m_first.pop_back();
    raw("}");
}

void JsonWriter::beginArray() {
    separate();
    raw("[");
    m_first.push_back(true);
}

void JsonWriter::endArray() {
    m_first.pop_back();
    raw("]");
}

void JsonWriter::key(std::string_view name) {
    value(name);
    raw(":");
    m_afterKey = true;
}

void JsonWriter::value(std::string_view text) {
    separate();
    m_buffer += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            m_buffer += "\\\"";
            break;
        case '\\':
            m_buffer += "\\\\";
            break;
        case '\n':
            m_buffer += "\\n";
            break;
        case '\r':
            m_buffer += "\\r";
            break;
        case '\t':
            m_buffer += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                m_buffer += escaped;
            } else {
                m_buffer += c;
            }
        }
    }
    raw("\"");
}

void JsonWriter::value(std::int64_t number) {
    separate();
    raw(std::to_string(number));
}

void JsonWriter::value(bool flag) {
    separate();
    raw(flag ? "true" : "false");
}

void JsonWriter::null() {
    separate();
    raw("null");
}

void JsonWriter::pair(std::string_view first, std::string_view second) {
    beginArray();
    value(first);
    value(second);
    endArray();
}

} // namespace stirpex::cli
