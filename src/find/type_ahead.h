#pragma once

// The name list following the keys typed into its field: each key selects the
// first entry, in list order, whose text begins with what is typed, ignoring
// case and accents as the list's collator compares them. The list is sorted
// by that collator, so the entries that begin alike stand together and the
// first of them is found by halving: some twenty comparisons on millions of
// entries, however long the list.

#include "find/collator.h"

#include <span>
#include <string_view>

namespace stirpex {

// The position of that entry among `entries` (sorted by `collator` on their
// shown texts), or -1 when no entry begins with `typed`. Every entry begins
// with an empty text.
int FindTyped(std::span<const NameEntry> entries, const Collator& collator, std::string_view typed);

} // namespace stirpex
