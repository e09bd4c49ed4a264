#include "model/arena_memory.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace stirpex::detail {

void ArenaMemoryDeleter::operator()(char* block) const noexcept {
    std::free(block);
}

ArenaMemory AllocateArenaMemory(std::size_t bytes) {
    const bool huge = bytes % kHugePageBytes == 0;
    void* block = huge ? std::aligned_alloc(kHugePageBytes, bytes) : std::malloc(bytes);
    if (!block) {
        throw std::bad_alloc();
    }
#if defined(__linux__)
    if (huge) {
        // Only advice: without huge pages the block works as well.
        ::madvise(block, bytes, MADV_HUGEPAGE);
    }
#endif
    return ArenaMemory(static_cast<char*>(block));
}

} // namespace stirpex::detail
