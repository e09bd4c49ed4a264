#pragma once

// The words of a search and where they occur in a text: each word of the
// query, folded (find/search_fold.h), must begin a word of the text, so that
// "mill" finds "Miller" and "mill" but not "windmill". Which words a text
// holds is a bit set, so that the words of one person may be found across
// many texts and the texts that many people share (notes, sources) are read
// once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

using WordSet = std::uint64_t;

class SearchWords {
public:
    // Words beyond the 63rd are left out: the last bit marks a cached set.
    static constexpr std::size_t kMaxWords = 63;

    // The query's words: runs of letters and digits (and of other scripts'
    // characters), folded.
    explicit SearchWords(std::string_view query);

    bool empty() const noexcept { return m_words.empty(); }
    WordSet all() const noexcept { return m_all; }
    const std::vector<std::string>& words() const noexcept { return m_words; }

    // The words of `wanted` that begin a word of `text`. `first`, when given,
    // receives the folded position of the first of them found (npos for none).
    WordSet find(std::string_view text, WordSet wanted, std::size_t* first = nullptr) const;

    // Whether `text` holds `needle` (folded) anywhere: for places.
    bool contains(std::string_view text, std::string_view needle) const;

private:
    std::vector<std::string> m_words;
    WordSet m_all = 0;
    mutable std::string m_folded; // scratch: one fold at a time
};

// A short piece of `text` around byte `position`: the whole text when it is
// short, else about 60 bytes with "…" where it was cut, cut between characters.
std::string Excerpt(std::string_view text, std::size_t position);

} // namespace stirpex
