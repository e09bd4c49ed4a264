#pragma once

// Finding people by what is known of them rather than by the first letters
// of their names: surname, given name, the sound of the surname, a place,
// years, sex and words of their notes and citations. Every criterion given
// must hold; a criterion left empty holds for everyone, and a query without
// any finds nobody.
//
// A name is a surname with its given names: the person's own, each alias,
// and each married name (a "_MARNM" line under a NAME, or a fact of its own,
// with the given names of the person's name). The name criteria must all hold
// for one of them. A place and a range of years must hold for one fact:
// "Boston" from 1850 to 1860 finds a residence in Boston in 1855, not a
// birth in Boston in 1820 and a death in Chicago in 1858. The facts of a
// person's marriages (the family's facts) count as the person's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class Collator;
class CPerson;
class CStirpexDoc;

struct SearchQuery {
    std::string surname; // prefix or whole surname, compared as the collator compares (case and accents ignored)
    std::string given;   // each word begins a given name, as the collator compares
    std::string soundex; // a name: matches surnames with the same American or any shared D-M code
    std::string place;   // substring of any fact's place, ignoring case and accents
    std::optional<int> fromYear, toYear; // any fact's year in range, inclusive (BC negative)
    char32_t sex = 0;                    // 'M' or 'F', 0 for any
    std::string text;                    // words, each beginning a word of the person's notes, citations or fact values

    // Whether no criterion is given: blanks alone give none.
    bool empty() const;
};

struct SearchHit {
    const CPerson* person = nullptr;
    std::string name;    // GetDisplayName()
    std::string years;   // the life span's years: "c1801-1870"
    std::string places;  // the places of the person's birth and death, or of the fact that matched
    std::string matched; // what matched: "Residence 1850, Boston", "note: …", "alias Ann Burke"; may be empty
};

// "1850..1860", "1850..", "..1860", or "1850" for that year alone, into the
// query's range; false (the query unchanged) for anything else or a range
// that ends before it begins.
bool ReadYearRange(std::string_view text, SearchQuery& query);

// The people the query finds, in the name list's order (surname, given names).
std::vector<SearchHit> Search(const CStirpexDoc& doc, const Collator& collator, const SearchQuery& query);

} // namespace stirpex
