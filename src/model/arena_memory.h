#pragma once

// The large blocks a text arena is carved from. A block of the huge-page
// size is aligned to it and offered to the kernel for huge pages: the model
// of a large file is hundreds of thousands of fresh pages, and faulting them
// in one small page at a time was a large share of a load.

#include <cstddef>
#include <memory>

namespace stirpex::detail {

struct ArenaMemoryDeleter {
    void operator()(char* block) const noexcept;
};
using ArenaMemory = std::unique_ptr<char[], ArenaMemoryDeleter>;

// The size of a huge page, which full arena blocks have.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// `bytes` of uninitialised memory; throws std::bad_alloc.
ArenaMemory AllocateArenaMemory(std::size_t bytes);

} // namespace stirpex::detail
