#include "find/type_ahead.h"

#include "model/shown_text.h"

#include <algorithm>

namespace stirpex {

int FindTyped(std::span<const NameEntry> entries, const Collator& collator, std::string_view typed) {
    // The list was sorted on the shown texts, so those are what the halving compares.
    const auto first = std::partition_point(entries.begin(), entries.end(), [&](const NameEntry& entry) {
        return collator.comparePrefix(ShownPrefix(entry.text), typed) < 0;
    });
    if (first == entries.end() || collator.comparePrefix(ShownPrefix(first->text), typed) != 0) {
        return -1;
    }
    return static_cast<int>(first - entries.begin());
}

} // namespace stirpex
