#include "model/text_arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <limits>
#include <mutex>
#include <new>
#include <stdexcept>

namespace stirpex {

namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;
constexpr std::size_t kFirstChunkSize = std::size_t{1} << 14;
std::size_t alignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

constexpr std::uint32_t kHugeLength = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint8_t kLongMark = ArenaStr::kLongLengthMark;
constexpr std::uint8_t kExactMark = ArenaStr::kExactLengthMark;

bool isHugeText(std::size_t length) {
    return length >= kHugeLength;
}

// How a text's length is written before it: one byte, 32 bits (a growing
// text with room of a power of two, or with none), or 32 + 64 bits.
enum class LengthForm : std::uint8_t { Short, Long, Exact, Huge };

LengthForm formFor(std::size_t length, bool growing) {
    if (isHugeText(length)) {
        return LengthForm::Huge;
    }
    return growing || length >= kExactMark ? LengthForm::Long : LengthForm::Short;
}

std::size_t headerSize(LengthForm form) {
    switch (form) {
    case LengthForm::Short:
        return 1;
    case LengthForm::Long:
    case LengthForm::Exact:
        return 1 + sizeof(std::uint32_t);
    case LengthForm::Huge:
        break;
    }
    return 1 + sizeof(std::uint32_t) + sizeof(std::uint64_t);
}

// The bytes and NUL of a growing text of this length own this many bytes.
std::size_t growingRoom(std::size_t length) {
    return std::bit_ceil(length + 1);
}

void writeLength(char* chars, std::size_t length, LengthForm form) {
    chars[length] = '\0';
    if (form == LengthForm::Short) {
        chars[-1] = static_cast<char>(length);
        return;
    }
    chars[-1] = static_cast<char>(form == LengthForm::Exact ? kExactMark : kLongMark);
    const std::uint32_t longLength = form == LengthForm::Huge ? kHugeLength : static_cast<std::uint32_t>(length);
    std::memcpy(chars - 1 - sizeof longLength, &longLength, sizeof longLength);
    if (form == LengthForm::Huge) {
        const std::uint64_t hugeLength = length;
        std::memcpy(chars - 1 - sizeof longLength - sizeof hugeLength, &hugeLength, sizeof hugeLength);
    }
}

// Whether a growing text of `length` bytes at `chars` takes `grown` where it
// is: in the room its block has, or by lengthening the block at the arena's
// end. `form` is the length's form it then has.
bool growsInPlace(TextArena& arena, const char* chars, std::size_t length, std::size_t grown,
                  LengthForm& form) noexcept {
    if (isHugeText(grown) != isHugeText(length)) {
        return false;
    }
    if (static_cast<std::uint8_t>(chars[-1]) == kExactMark) {
        form = LengthForm::Exact;
        return arena.extendLast(chars + length + 1, grown - length);
    }
    form = formFor(grown, true);
    const std::size_t room = growingRoom(length);
    return growingRoom(grown) == room || arena.extendLast(chars + room, growingRoom(grown) - room);
}

} // namespace

std::size_t ArenaStr::longSize() const noexcept {
    std::uint32_t length = 0;
    std::memcpy(&length, chars() - 1 - sizeof length, sizeof length);
    if (length != kHugeLength) {
        return length;
    }
    std::uint64_t hugeLength = 0;
    std::memcpy(&hugeLength, chars() - 1 - sizeof length - sizeof hugeLength, sizeof hugeLength);
    return static_cast<std::size_t>(hugeLength);
}

ArenaStr PermanentText(std::string_view text) {
    // Never destroyed: texts taken from it may be read until the program ends.
    static auto* const permanent = new TextArena;
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    return permanent->copy(text);
}

TextArena::Chunk TextArena::newChunk(std::size_t size) {
    return Chunk(arena_space::Take(size), ChunkRelease{size});
}

void TextArena::ChunkRelease::operator()(char* chunk) const noexcept {
    arena_space::Give(chunk, size);
}

void* TextArena::allocateSlow(std::size_t bytes, std::size_t alignment) {
    // Large blocks get a chunk of their own so that the current chunk's rest is not wasted.
    if (bytes + alignment > kChunkSize / 4) {
        Chunk chunk = newChunk(bytes + alignment);
        char* raw = chunk.get();
        const auto address = reinterpret_cast<std::uintptr_t>(raw);
        char* result = raw + (alignUp(address, alignment) - address);
        m_chunks.push_back(std::move(chunk));
        m_reserved += bytes + alignment;
        return result;
    }
    // A small first chunk keeps tiny documents tiny; from then on, full chunks.
    const std::size_t size = m_chunks.empty() ? kFirstChunkSize : kChunkSize;
    Chunk chunk = newChunk(size);
    m_cursor = chunk.get();
    m_end = m_cursor + size;
    m_chunks.push_back(std::move(chunk));
    m_reserved += size;
    return allocate(bytes, alignment);
}

char* TextArena::startText(std::size_t length, std::size_t room, bool growing) {
    const LengthForm form = formFor(length, growing);
    const std::size_t header = headerSize(form);
    if (room > std::numeric_limits<std::size_t>::max() - header) {
        throw std::bad_alloc();
    }
    char* chars = allocateText(header, room);
    writeLength(chars, length, form);
    return chars;
}

char* TextArena::allocateTextSlow(std::size_t header, std::size_t room) {
    // A chunk starts at a page: a block aligned to the step, with the header
    // rounded up to it, puts the text at an even address.
    constexpr std::size_t kStep = arena_space::kStep;
    const std::size_t paddedHeader = (header + kStep - 1) / kStep * kStep;
    return static_cast<char*>(allocate(paddedHeader + room, kStep)) + paddedHeader;
}

ArenaStr TextArena::copy(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    char* chars = startText(text.size(), text.size() + 1, false);
    std::memcpy(chars, text.data(), text.size());
    return ArenaStr(chars);
}

ArenaStr TextArena::reserve(std::size_t room) {
    return ArenaStr(startText(0, room + 1, true));
}

void TextArena::fill(ArenaStr reserved, std::string_view text) noexcept {
    // The arena's own chunks are writable; the handle only shows them as const.
    char* chars = const_cast<char*>(reserved.chars());
    std::memcpy(chars, text.data(), text.size());
    writeLength(chars, text.size(), formFor(text.size(), true));
}

void TextArena::adopt(TextArena& other) {
    // Nothing will be carved from the rest of the other's last chunk: its
    // whole pages go back to the system, or each part of a file read in
    // parts would keep half a chunk of filled-in pages for nothing.
    if (other.m_cursor != nullptr) {
        const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const auto cursor = reinterpret_cast<std::uintptr_t>(other.m_cursor);
        char* const unused = other.m_cursor + (alignUp(cursor, pageSize) - cursor);
        if (unused < other.m_end) {
            ::madvise(unused, static_cast<std::size_t>(other.m_end - unused), MADV_DONTNEED);
        }
    }
    for (auto& chunk : other.m_chunks) {
        m_chunks.push_back(std::move(chunk));
    }
    m_reserved += other.m_reserved;
    other.m_chunks.clear();
    other.m_cursor = nullptr;
    other.m_end = nullptr;
    other.m_reserved = 0;
}

ArenaStr TextArena::append(ArenaStr text, std::string_view more) {
    if (more.empty()) {
        return text;
    }
    const std::size_t length = text.size();
    // Past this, the room of the next power of two could not be counted.
    constexpr std::size_t kLongest = std::numeric_limits<std::size_t>::max() / 4;
    if (more.size() > kLongest - length) {
        throw std::bad_alloc();
    }
    const std::size_t grown = length + more.size();
    // The arena's own chunks are writable; the handle only shows them as const.
    char* chars = text.m_handle ? const_cast<char*>(text.chars()) : nullptr;
    LengthForm form = isHugeText(grown) ? LengthForm::Huge : LengthForm::Exact;
    if (!chars) {
        chars = startText(grown, form == LengthForm::Exact ? grown + 1 : growingRoom(grown), true);
    } else if (!growsInPlace(*this, chars, length, grown, form)) {
        form = formFor(grown, true);
        char* moved = startText(grown, growingRoom(grown), true);
        std::memcpy(moved, chars, length);
        chars = moved;
    }
    std::memcpy(chars + length, more.data(), more.size());
    writeLength(chars, grown, form);
    return ArenaStr(chars);
}

void ArenaStrList::append(TextArena& arena, ArenaStr text) {
    Block* block = m_block.get();
    if (block && block->size == block->capacity && block->capacity < std::numeric_limits<int>::max() &&
        arena.extendLast(items(block) + block->capacity, sizeof(ArenaStr))) {
        ++block->capacity;
    }
    if (!block || block->size == block->capacity) {
        const int capacity = block ? block->capacity * 2 : 1;
        if (capacity <= 0) {
            throw std::bad_alloc();
        }
        void* memory =
            arena.allocate(sizeof(Block) + sizeof(ArenaStr) * static_cast<std::size_t>(capacity), alignof(Block));
        auto* grown = new (memory) Block{block ? block->size : 0, capacity};
        if (block) {
            std::memcpy(static_cast<void*>(items(grown)), items(block), sizeof(ArenaStr) * block->size);
        }
        block = grown;
        m_block = grown;
    }
    items(block)[block->size++] = text;
}

ArenaStr ArenaStrList::operator[](int i) const {
    if (i < 0 || i >= size()) {
        throw std::invalid_argument("string list index out of range");
    }
    return items(m_block.get())[i];
}

ArenaStr& ArenaStrList::last() {
    if (empty()) {
        throw std::invalid_argument("string list is empty");
    }
    return items(m_block.get())[m_block->size - 1];
}

} // namespace stirpex
