#include "find/key_prefix_sort.h"

#include "model/shown_text.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace stirpex::detail {

namespace {

struct SortItem {
    KeyPrefix prefix;
    std::uint32_t entry; // the entry's place before the sort
};

// Puts entries[items[i].entry] at position i, following each cycle of the
// permutation in place: a second copy of millions of entries is not needed.
void applyOrder(std::span<NameEntry> entries, std::pmr::vector<SortItem>& items) {
    constexpr std::uint32_t kPlaced = std::numeric_limits<std::uint32_t>::max();
    for (std::uint32_t start = 0; start < items.size(); ++start) {
        if (items[start].entry == kPlaced) {
            continue;
        }
        const NameEntry first = entries[start];
        std::uint32_t at = start;
        while (items[at].entry != start) {
            const std::uint32_t from = items[at].entry;
            entries[at] = entries[from];
            items[at].entry = kPlaced;
            at = from;
        }
        entries[at] = first;
        items[at].entry = kPlaced;
    }
}

} // namespace

void SortByKeyPrefix(std::span<NameEntry> entries, const Collator& collator, const KeyPrefixMaker& makePrefix,
                     std::pmr::memory_resource* scratch) {
    if (entries.size() < 2) {
        return;
    }
    if (entries.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::bad_alloc();
    }
    std::pmr::vector<SortItem> items(entries.size(), scratch);
    for (std::uint32_t i = 0; i < items.size(); ++i) {
        items[i].entry = i;
        makePrefix(ShownPrefix(entries[i].text), items[i].prefix);
    }
    // Prefixes that differ order their keys; a prefix with a zero in it holds
    // its whole key, so equal ones of that kind are equal keys. The entry's
    // place breaks ties, which makes the order that of a stable sort.
    std::sort(items.begin(), items.end(), [&entries, &collator](const SortItem& a, const SortItem& b) {
        int c = std::memcmp(a.prefix.data(), b.prefix.data(), kKeyPrefixBytes);
        if (c == 0 && a.prefix.back() != 0) {
            const std::string_view x = ShownPrefix(entries[a.entry].text);
            const std::string_view y = ShownPrefix(entries[b.entry].text);
            // Names repeat (a family of Johns, many of them born in no known year).
            c = x == y ? 0 : collator.compare(x, y);
        }
        return c != 0 ? c < 0 : a.entry < b.entry;
    });
    applyOrder(entries, items);
}

} // namespace stirpex::detail
