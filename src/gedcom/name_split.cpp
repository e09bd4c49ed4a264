#include "gedcom/name_split.h"

#include "gedcom/gedcom_line.h"

#include <algorithm>

namespace stirpex {

namespace {

// A part is built from the runs of its words, not byte by byte: a million
// names of a large file are read on the way.
class TidyPart {
public:
    explicit TidyPart(std::string& out) : m_out(out) { m_out.clear(); }

    void put(std::string_view text) {
        for (std::size_t i = 0; i < text.size();) {
            if (IsBlank(text[i])) {
                m_blankPending = !m_out.empty();
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < text.size() && !IsBlank(text[end])) {
                ++end;
            }
            if (m_blankPending && text[i] != ',') {
                m_out += ' ';
            }
            m_blankPending = false;
            m_out.append(text.substr(i, end - i));
            i = end;
        }
    }

private:
    std::string& m_out;
    bool m_blankPending = false;
};

} // namespace

void SplitName(std::string_view value, NameParts& parts) {
    TidyPart given(parts.givenNames);
    TidyPart surname(parts.surname);
    bool inSurname = false;
    for (;;) {
        // A plain loop: find_first_of looks each byte up in the set with a call of its own.
        const auto found = std::find_if(value.begin(), value.end(), [](char c) { return c == '/' || c == '\\'; });
        const std::size_t slash =
            found == value.end() ? std::string_view::npos : static_cast<std::size_t>(found - value.begin());
        (inSurname ? surname : given).put(value.substr(0, slash));
        if (slash == std::string_view::npos) {
            return;
        }
        inSurname = !inSurname;
        value.remove_prefix(slash + 1);
    }
}

std::string WithoutSlashes(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (const char c : value) {
        if (c != '/' && c != '\\') {
            result += c;
        }
    }
    return result;
}

} // namespace stirpex
