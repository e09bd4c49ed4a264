#include "gedcom/name_split.h"

namespace stirpex {

namespace {

class TidyPart {
public:
    explicit TidyPart(std::string& out) : m_out(out) { m_out.clear(); }

    void put(char c) {
        if (c == ' ' || c == '\t') {
            m_blankPending = !m_out.empty();
            return;
        }
        if (m_blankPending && c != ',') {
            m_out += ' ';
        }
        m_blankPending = false;
        m_out += c;
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
    for (const char c : value) {
        if (c == '/' || c == '\\') {
            inSurname = !inSurname;
        } else {
            (inSurname ? surname : given).put(c);
        }
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
