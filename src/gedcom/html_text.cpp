#include "gedcom/html_text.h"

#include "model/utf8.h"

#include <array>
#include <utility>

namespace stirpex {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kLongestReference = 10; // "#x0010FFFF"

bool isAsciiSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text as it is written out: white space is held back until more text
// follows on the same line.
class PlainText {
public:
    void text(std::string_view chars) {
        if (m_space && lineHasText()) {
            m_out += ' ';
        }
        m_space = false;
        m_out.append(chars);
    }
    void space() noexcept { m_space = true; }
    void lineBreak() {
        m_out += '\n';
        m_space = false;
    }
    void paragraphBreak() {
        if (lineHasText()) {
            lineBreak();
        }
        m_space = false;
    }
    std::string take() {
        while (!m_out.empty() && m_out.back() == '\n') {
            m_out.pop_back();
        }
        return std::move(m_out);
    }

private:
    bool lineHasText() const noexcept { return !m_out.empty() && m_out.back() != '\n'; }

    std::string m_out;
    bool m_space = false;
};

// The character a reference names, from the text after its '&' up to its ';'.
// Nothing when it is no reference this decoder knows.
bool decodeReference(std::string_view name, std::string& out) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNamed = {{
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
        {"nbsp", "\u00A0"},
    }};
    for (const auto& [entity, text] : kNamed) {
        if (name == entity) {
            // Not `out = text`: GCC 12 at -O3 takes that for an overlapping copy (-Wrestrict).
            out.clear();
            out.append(text);
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#') {
        return false;
    }
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    char32_t cp = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && lower(c) >= 'a' && lower(c) <= 'f') {
            digit = lower(c) - 'a' + 10;
        }
        if (digit < 0) {
            return false;
        }
        cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacement;
    }
    out.clear();
    AppendUtf8(out, cp);
    return true;
}

// Elements a browser starts on a line of their own: a paragraph, and those a
// note's writer uses like one (lists, headings, table rows, divisions).
bool isBlock(std::string_view name) noexcept {
    static constexpr std::array<std::string_view, 16> kBlocks = {
        "p", "div", "li", "ul", "ol", "dl", "dt", "dd", "tr", "table", "blockquote", "pre", "h1", "h2", "h3", "h4"};
    for (const std::string_view block : kBlocks) {
        if (name == block) {
            return true;
        }
    }
    return name == "h5" || name == "h6";
}

// The lower-case name of the tag that starts at `tag` (just after '<' and any '/').
std::string tagName(std::string_view tag) {
    std::string name;
    for (const char c : tag) {
        if (!isAsciiLetter(c) && !(c >= '0' && c <= '9')) {
            break;
        }
        name += lower(c);
    }
    return name;
}

} // namespace

std::string HtmlToPlainText(std::string_view html) {
    PlainText plain;
    std::string decoded;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<' && html.substr(i, 4) == "<!--") {
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
        } else if (c == '<' && i + 1 < html.size() &&
                   (isAsciiLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!' || html[i + 1] == '?')) {
            const std::size_t end = html.find('>', i);
            if (end == std::string_view::npos) {
                plain.text(html.substr(i)); // not a tag after all
                break;
            }
            const std::size_t nameStart = html[i + 1] == '/' ? i + 2 : i + 1;
            const std::string name = tagName(html.substr(nameStart, end - nameStart));
            if (name == "br") {
                plain.lineBreak();
            } else if (isBlock(name)) {
                plain.paragraphBreak();
            }
            i = end + 1;
        } else if (c == '&') {
            // References are short: look no further, or a text of many '&' would take quadratic time.
            const std::size_t length = html.substr(i + 1, kLongestReference + 1).find(';');
            if (length != std::string_view::npos && length > 0 &&
                decodeReference(html.substr(i + 1, length), decoded)) {
                plain.text(decoded);
                i += length + 2;
            } else {
                plain.text("&");
                ++i;
            }
        } else if (isAsciiSpace(c)) {
            plain.space();
            ++i;
        } else {
            std::size_t end = i + 1;
            while (end < html.size() && html[end] != '<' && html[end] != '&' && !isAsciiSpace(html[end])) {
                ++end;
            }
            plain.text(html.substr(i, end - i));
            i = end;
        }
    }
    return plain.take();
}

} // namespace stirpex
