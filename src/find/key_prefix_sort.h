#pragma once

// Sorting a long name list by the beginnings of its collation keys.
//
// A whole collation key per name, each in an allocation of its own, costs
// more than the name list itself for a file of many short names (a deep
// lineage: 100 bytes a name against 45 for the entry and its text). The
// first 20 bytes of each key, kept with the entry's place in one array of
// 24 bytes an entry, decide nearly every comparison as the whole keys would
// (a name's surname, given names and most of its life span); only names
// whose beginnings are alike are compared whole by the collator. The array
// is the sort's only memory and is freed before the sort returns.

#include "find/collator.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <span>
#include <string_view>

namespace stirpex::detail {

inline constexpr std::size_t kKeyPrefixBytes = 20;
using KeyPrefix = std::array<std::uint8_t, kKeyPrefixBytes>;

// Writes the first kKeyPrefixBytes bytes of the collation key of `text`, and
// zeros past the key's end. Collation keys order their texts bytewise and hold
// no zero byte, so a key that ends inside its prefix is whole.
using KeyPrefixMaker = std::function<void(std::string_view text, KeyPrefix& prefix)>;

// Puts the entries in ascending order of their shown texts (model/shown_text.h)
// as `collator.compare` orders them; entries shown alike keep their order.
// The array comes from `scratch`; std::bad_alloc, with the entries as they
// were, when it cannot be had.
void SortByKeyPrefix(std::span<NameEntry> entries, const Collator& collator, const KeyPrefixMaker& makePrefix,
                     std::pmr::memory_resource* scratch);

} // namespace stirpex::detail
