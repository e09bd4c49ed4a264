#pragma once

// How names are put in order and matched while typing. The core sorts and
// searches through this interface only; the desktop app and stirpex-cli hand
// it the user's locale collation, the tests a plain ASCII one. Texts are model
// text (UTF-8).

#include <cstdint>
#include <memory_resource>
#include <span>
#include <string_view>

namespace stirpex {

// One entry of a name list: its text and the index of the person it names.
struct NameEntry {
    std::string_view text;
    std::int32_t person = -1;
};

class Collator {
public:
    virtual ~Collator() = default;

    // Negative, zero or positive as `a` sorts before, with or after `b`.
    virtual int compare(std::string_view a, std::string_view b) const = 0;

    // Whether `text` begins with `prefix`, ignoring case. Typed prefixes and
    // most names are ASCII: those are decided here byte by byte, and only a
    // text pair with other characters reaches startsWithFolded.
    bool startsWith(std::string_view text, std::string_view prefix) const;

    // Where `text` stands to the texts that begin with `prefix` ignoring case
    // and accents: zero for one of them, negative when it sorts before them
    // all, positive after. Those texts stand together in this order, which is
    // what lets a sorted list find the first of them by halving. The default
    // suits a collator that orders case-folded texts character by character
    // and knows no accents.
    virtual int comparePrefix(std::string_view text, std::string_view prefix) const;

    // Puts the entries in ascending order of their texts as a list shows them
    // (model/shown_text.h); entries shown alike keep their order. The default
    // compares pairwise; a collator with a cheaper way to sort many texts at
    // once overrides it, taking what it needs for that from `scratch` and
    // giving it back before it returns.
    virtual void sort(std::span<NameEntry> entries, std::pmr::memory_resource* scratch) const;

protected:
    // The prefix test for texts that are not both ASCII where they meet.
    virtual bool startsWithFolded(std::string_view text, std::string_view prefix) const = 0;
};

} // namespace stirpex
