#pragma once

// Model text lives in one arena per document: the model is written once by the
// reader and never changed afterwards, so every string and list block, and the
// records and their details too, are carved out of large chunks and freed all
// at once with the document. A string
// handle is 32 bits (model/arena_space.h), which keeps a record with thirty
// text fields small on files of millions of people.
//
// Layout of a stored string: its length, the UTF-8 bytes, NUL. The handle
// points at the first byte of the text; the length is read backwards from
// there. Most texts are short, so the byte just before the text holds a length
// under 254; 254 or 255 there means a 32-bit length before it, and a 32-bit
// length of 0xFFFFFFFF a 64-bit length before that, for texts of 4 GiB and
// more. A text starts at an even address, as handles count in steps of two,
// and is not aligned further: ten million texts of a large file would
// otherwise spend more on the padding than on many of their words.
//
// A text that grows line by line (a citation's PAGE and TEXT values, a note
// continued) always has the 32-bit length, so that it grows in place whatever
// its length. While it is the last thing the arena gave out, it grows at the
// arena's end with no room to spare (mark 254): lines of one text mostly come
// one after another. Once something else was stored behind it, it moves to a
// block of the next power of two (mark 255), a room its length alone tells,
// so the handle stays 32 bits; appending then writes in place until the
// room is full and only then moves the text to a block twice as large, and
// the blocks left behind add up to less than the last.

#include "model/arena_space.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

namespace stirpex {

class ArenaStr {
public:
    constexpr ArenaStr() noexcept = default;

    std::string_view view() const noexcept { return m_handle ? std::string_view(chars(), size()) : std::string_view(); }
    operator std::string_view() const noexcept { return view(); }
    bool empty() const noexcept { return m_handle == 0 || size() == 0; }
    std::size_t size() const noexcept {
        if (!m_handle) {
            return 0;
        }
        const auto shortLength = static_cast<std::uint8_t>(chars()[-1]);
        return shortLength < kExactLengthMark ? shortLength : longSize();
    }
    const char* c_str() const noexcept { return m_handle ? chars() : ""; }

    friend bool operator==(const ArenaStr& a, std::string_view b) noexcept { return a.view() == b; }

    // The byte before a text whose length is the 32-bit number before it:
    // with the room of the next power of two behind a growing text, or with
    // none (a growing text at the arena's end).
    static constexpr std::uint8_t kLongLengthMark = 0xFF;
    static constexpr std::uint8_t kExactLengthMark = 0xFE;

private:
    friend class TextArena;
    std::size_t longSize() const noexcept;
    const char* chars() const noexcept { return arena_space::AddressOf(m_handle); }
    explicit ArenaStr(const char* chars) noexcept : m_handle(arena_space::HandleOf(chars)) {}

    std::uint32_t m_handle = 0;
};

// A pointer to a record or block an arena gave out, kept in 32 bits as a
// text handle is: a model holds millions of them.
template <typename T> class ArenaPtr {
public:
    constexpr ArenaPtr() noexcept = default;
    ArenaPtr(T* object) noexcept : m_handle(object ? arena_space::HandleOf(object) : 0) {}

    T* get() const noexcept { return m_handle ? reinterpret_cast<T*>(arena_space::AddressOf(m_handle)) : nullptr; }
    T* operator->() const noexcept { return get(); }
    T& operator*() const noexcept { return *get(); }
    explicit operator bool() const noexcept { return m_handle != 0; }

private:
    std::uint32_t m_handle = 0;
};

// A text that lives as long as the program, for the fixed texts a model
// shares (the known tags, the date qualifiers): keep the result, as each
// call stores the text anew.
ArenaStr PermanentText(std::string_view text);

class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;
    TextArena(TextArena&&) noexcept = default;
    TextArena& operator=(TextArena&&) noexcept = default;

    ArenaStr copy(std::string_view text);
    // `text` + `more`, in time and memory proportional to `more` (amortised).
    // `text` must be empty or a result of append, as only those have room to
    // grow, and is spent: it may now read as the longer text.
    ArenaStr append(ArenaStr text, std::string_view more);
    // Every text and record comes from here: the common case is kept inline.
    void* allocate(std::size_t bytes, std::size_t alignment) {
        // The padding moves the pointer itself, so the compiler keeps its provenance.
        const auto cursor = reinterpret_cast<std::uintptr_t>(m_cursor);
        const std::size_t padding = (alignment - (cursor & (alignment - 1))) & (alignment - 1);
        if (m_cursor && padding + bytes <= static_cast<std::size_t>(m_end - m_cursor)) {
            char* const start = m_cursor + padding;
            m_cursor = start + bytes;
            return start;
        }
        return allocateSlow(bytes, alignment);
    }
    // Lengthens the block that ends at `blockEnd` by `bytes` when it is the
    // last one given out and the chunk has room; false, and nothing changed,
    // otherwise.
    bool extendLast(const void* blockEnd, std::size_t bytes) noexcept {
        if (blockEnd != m_cursor || m_cursor == nullptr || bytes > static_cast<std::size_t>(m_end - m_cursor)) {
            return false;
        }
        m_cursor += bytes;
        return true;
    }
    // An empty text with room for `room` bytes, to be written once later
    // with fill(): for a text whose value is known only after the handles
    // to it have been handed out (a key numbered once its place is known).
    ArenaStr reserve(std::size_t room);
    // Writes `text` into a text from reserve(), which must have room for it;
    // every handle to it reads the new text.
    static void fill(ArenaStr reserved, std::string_view text) noexcept;
    // Takes over everything `other` holds, which is left empty: texts and
    // records carved out of it stay where they are and now live as long as
    // this arena.
    void adopt(TextArena& other);
    // A value-initialised object that needs no destructor, freed with the arena.
    template <typename T> T& make() {
        static_assert(std::is_trivially_destructible_v<T>, "the arena runs no destructors");
        return *new (allocate(sizeof(T), alignof(T))) T{};
    }

    std::size_t bytesReserved() const noexcept { return m_reserved; }

private:
    void* allocateSlow(std::size_t bytes, std::size_t alignment);
    // A growing text's length is written in the 32-bit form, which any length it grows to fits.
    char* startText(std::size_t length, std::size_t room, bool growing);
    // `header` + `room` bytes with an even address `header` bytes in; that address.
    char* allocateText(std::size_t header, std::size_t room) {
        const std::size_t padding = (reinterpret_cast<std::uintptr_t>(m_cursor) + header) % arena_space::kStep;
        if (m_cursor && padding + header + room <= static_cast<std::size_t>(m_end - m_cursor)) {
            char* const chars = m_cursor + padding + header;
            m_cursor = chars + room;
            return chars;
        }
        return allocateTextSlow(header, room);
    }
    char* allocateTextSlow(std::size_t header, std::size_t room);

    // Chunks come from the one reservation (model/arena_space.h) with their
    // pages filled in at once: a large file's model takes a quarter of a
    // million pages, and a fault for each cost the reader a fifth of its time.
    struct ChunkRelease {
        std::size_t size = 0;
        void operator()(char* chunk) const noexcept;
    };
    using Chunk = std::unique_ptr<char[], ChunkRelease>;
    static Chunk newChunk(std::size_t size);

    std::vector<Chunk> m_chunks;
    char* m_cursor = nullptr;
    char* m_end = nullptr;
    std::size_t m_reserved = 0;
};

// A growable list of texts kept in the arena: one handle in the record, the
// block holds size, capacity and the handles. A block still at the arena's
// end grows in place by one handle; otherwise growth doubles, so the blocks
// left behind in the arena never add up to more than the final one.
class ArenaStrList {
public:
    constexpr ArenaStrList() noexcept = default;

    void append(TextArena& arena, ArenaStr text);
    int size() const noexcept { return m_block ? m_block->size : 0; }
    bool empty() const noexcept { return size() == 0; }
    // Reading outside 0 to size-1 is a programming error: throws std::invalid_argument.
    ArenaStr operator[](int i) const;
    ArenaStr& last();
    const ArenaStr* begin() const noexcept { return m_block ? items(m_block.get()) : nullptr; }
    const ArenaStr* end() const noexcept { return m_block ? items(m_block.get()) + m_block->size : nullptr; }

private:
    // The handles follow the header in the same allocation.
    struct alignas(ArenaStr) Block {
        int size;
        int capacity;
    };
    static ArenaStr* items(Block* block) noexcept { return reinterpret_cast<ArenaStr*>(block + 1); }

    ArenaPtr<Block> m_block;
};

} // namespace stirpex
