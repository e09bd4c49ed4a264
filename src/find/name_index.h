#pragma once

// The document's name index: one entry for every name under which a person
// can be looked up (the display name, each alternative name and, while the
// married-names option is on, each married woman's name under her husband's
// surname), sorted by the collator the caller supplies, each entry pointing
// back to its person by table index.
//
// The list is filled first and sorted once at the end. Entry texts live in a
// pool owned by the index; an entry is a view into it and a person index, so
// files of millions of people keep the index compact. Entry storage, the
// pool and what the collator's sort needs come from one memory resource, so
// that the index's peak is what that resource handed out: running out of it while building leaves
// the entries made so far (sorted) and reports "Not enough memory for
// complete name index" once through the message sink.

#include "find/collator.h"
#include "gedcom/load_sinks.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CPerson;

namespace detail {

// Texts carved out of large blocks of one memory resource. Rewinding keeps
// the blocks for the next build, which fills them again from the first.
class NameTextPool {
public:
    explicit NameTextPool(std::pmr::memory_resource* resource);
    ~NameTextPool();
    NameTextPool(const NameTextPool&) = delete;
    NameTextPool& operator=(const NameTextPool&) = delete;

    // Room for `bytes` more bytes of text; throws std::bad_alloc.
    void reserve(std::size_t bytes);
    // A copy of `text` that lives until the pool is rewound; throws std::bad_alloc.
    std::string_view store(std::string_view text);
    void rewind() noexcept;

private:
    struct Block {
        char* data = nullptr;
        std::size_t size = 0;
    };
    void addBlock(std::size_t size);

    std::pmr::memory_resource* m_resource;
    std::pmr::vector<Block> m_blocks;
    std::size_t m_block = 0; // the block being filled
    std::size_t m_used = 0;  // bytes used in it
};

} // namespace detail

class NameIndex final : public NameIndexBuilder {
public:
    explicit NameIndex(const Collator& collator, MessageSink* messages = nullptr,
                       std::pmr::memory_resource* resource = std::pmr::get_default_resource());

    // Room for `entries` entries with 40 bytes of text each; false when it cannot be had.
    bool Reserve(std::size_t entries) override;
    void Build(const CStirpexDoc& doc, ProgressSink* progress) override { BuildIndex(doc, progress); }
    // Empties the index and fills it from `doc`, with a progress window when
    // the file is longer than kProgressThreshold. A build that `stop` ends
    // (set from another thread: the document is being closed) leaves the
    // index empty and says nothing.
    void BuildIndex(const CStirpexDoc& doc, ProgressSink* progress = nullptr, const std::atomic<bool>* stop = nullptr);

    int size() const noexcept { return static_cast<int>(m_entries.size()); }
    bool empty() const noexcept { return m_entries.empty(); }
    std::span<const NameEntry> entries() const noexcept { return m_entries; }
    // The order of entries().
    const Collator& collator() const noexcept { return m_collator; }
    // The person index at a position; -1 for a position outside the list, as for no selection.
    std::int32_t personAt(int position) const noexcept;

    // The first position, in list order, whose text begins with `prefix`
    // ignoring case; -1 when there is none.
    int findPrefix(std::string_view prefix) const;
    // The first position whose text begins with the display name of
    // `current`; -1 without a current person or when nothing matches.
    int SelectCurrentPerson(const CPerson* current) const;

    // Index women's married names; true when the index is made.
    bool m_bMarriedNames = true;

private:
    void clear() noexcept;
    void addPerson(const CStirpexDoc& doc, const CPerson& person, std::string& scratch);
    void add(std::string_view text, std::int32_t person);
    bool sortEntries() noexcept;

    const Collator& m_collator;
    MessageSink* m_messages;
    detail::NameTextPool m_texts;
    std::pmr::vector<NameEntry> m_entries;
};

} // namespace stirpex
