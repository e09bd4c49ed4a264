#include "find/search_words.h"

#include "find/search_fold.h"

#include <algorithm>
#include <cstring>

namespace stirpex {

namespace {

constexpr std::size_t kExcerptBytes = 60;
constexpr std::size_t kExcerptLead = 20;

bool isWordByte(unsigned char c) noexcept {
    return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isContinuation(char c) noexcept {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The words sought mostly begin with common letters: the library's search
// for the whole word skips far better than one that stops at each first letter.
std::size_t findFolded(std::string_view folded, std::string_view word, std::size_t from) noexcept {
    if (from > folded.size()) {
        return std::string_view::npos;
    }
    const void* at = memmem(folded.data() + from, folded.size() - from, word.data(), word.size());
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - folded.data()) : std::string_view::npos;
}

} // namespace

SearchWords::SearchWords(std::string_view query) {
    std::string folded;
    FoldForSearch(query, folded);
    std::size_t i = 0;
    while (i < folded.size() && m_words.size() < kMaxWords) {
        while (i < folded.size() && !isWordByte(static_cast<unsigned char>(folded[i]))) {
            ++i;
        }
        const std::size_t start = i;
        while (i < folded.size() && isWordByte(static_cast<unsigned char>(folded[i]))) {
            ++i;
        }
        if (i > start) {
            std::string word = folded.substr(start, i - start);
            if (std::find(m_words.begin(), m_words.end(), word) == m_words.end()) {
                m_words.push_back(std::move(word));
            }
        }
    }
    m_all = m_words.empty() ? 0 : (WordSet{1} << m_words.size()) - 1;
}

WordSet SearchWords::find(std::string_view text, WordSet wanted, std::size_t* first) const {
    if (first != nullptr) {
        *first = std::string_view::npos;
    }
    wanted &= m_all;
    if (wanted == 0 || text.empty()) {
        return 0;
    }
    // Most texts are ASCII, and most hold none of the words: those are searched as they are.
    const bool ascii = IsAscii(text);
    if (!ascii) {
        FoldForSearch(text, m_folded);
    }
    const std::string_view folded = ascii ? text : std::string_view(m_folded);
    const auto next = [&](const std::string& word, std::size_t from) {
        return ascii ? FindInAscii(folded, word, from) : findFolded(folded, word, from);
    };
    WordSet found = 0;
    for (std::size_t w = 0; w < m_words.size(); ++w) {
        const WordSet bit = WordSet{1} << w;
        if ((wanted & bit) == 0) {
            continue;
        }
        for (std::size_t at = next(m_words[w], 0); at != std::string_view::npos; at = next(m_words[w], at + 1)) {
            if (StartsWord(folded, at)) {
                found |= bit;
                if (first != nullptr) {
                    *first = std::min(*first, at);
                }
                break;
            }
        }
    }
    return found;
}

bool SearchWords::contains(std::string_view text, std::string_view needle) const {
    if (text.size() < needle.size()) {
        return false;
    }
    if (IsAscii(text)) {
        return FindInAscii(text, needle) != std::string_view::npos;
    }
    FoldForSearch(text, m_folded);
    return m_folded.find(needle) != std::string::npos;
}

std::string Excerpt(std::string_view text, std::size_t position) {
    if (text.size() <= kExcerptBytes) {
        return std::string(text);
    }
    std::size_t begin = position > kExcerptLead ? std::min(position - kExcerptLead, text.size()) : 0;
    while (begin > 0 && isContinuation(text[begin])) {
        --begin;
    }
    std::size_t end = std::min(begin + kExcerptBytes, text.size());
    while (end < text.size() && isContinuation(text[end])) {
        --end;
    }
    std::string excerpt = begin > 0 ? "…" : "";
    excerpt.append(text.substr(begin, end - begin));
    if (end < text.size()) {
        excerpt.append("…");
    }
    return excerpt;
}

} // namespace stirpex
