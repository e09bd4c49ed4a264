#include "model/arena_space.h"
#include "model/address_ranges.h"

#include <sys/mman.h>
#include <unistd.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <new>
#include <optional>

namespace stirpex::arena_space {

namespace {

std::size_t PageSize() noexcept {
    static const auto size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t WholePages(std::size_t bytes) noexcept {
    const std::size_t page = PageSize();
    return (bytes + page - 1) / page * page;
}

// The reservation's free ranges, shared by every thread. The first page is
// never given out, so that handle 0 stays free to mean none.
class Ranges {
public:
    std::size_t take(std::size_t bytes) {
        const std::lock_guard lock(m_mutex);
        return m_ranges.take(bytes);
    }
    void give(std::size_t offset, std::size_t bytes) noexcept {
        const std::lock_guard lock(m_mutex);
        m_ranges.give(offset, bytes);
    }
    std::size_t taken() const noexcept {
        const std::lock_guard lock(m_mutex);
        return m_ranges.taken();
    }

private:
    mutable std::mutex m_mutex;
    AddressRanges m_ranges{PageSize(), detail::TheReservation().bytes};
};

Ranges& TheRanges() {
    // Never destroyed: an arena may be freed by another static's destructor.
    static auto* const ranges = new Ranges;
    return *ranges;
}

// The system's limit on the address space, or none.
std::optional<std::size_t> AddressSpaceLimit() noexcept {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

std::size_t MappedBytes() noexcept {
    std::FILE* statm = std::fopen("/proc/self/statm", "re");
    unsigned long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1) {
            pages = 0;
        }
        std::fclose(statm);
    }
    return pages * PageSize();
}

detail::Reservation Reserve() noexcept {
    std::size_t bytes = kBytes;
    if (const auto limit = AddressSpaceLimit()) {
        const std::size_t mapped = MappedBytes();
        bytes = std::min(bytes, (*limit > mapped ? *limit - mapped : 0) / 2 / PageSize() * PageSize());
    }
    for (; bytes >= 16 * PageSize(); bytes /= 2) {
        void* const start = ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (start != MAP_FAILED) {
            return {static_cast<char*>(start), bytes};
        }
    }
    return {};
}

} // namespace

const detail::Reservation& detail::TheReservation() noexcept {
    static const Reservation reservation = Reserve();
    return reservation;
}

char* Take(std::size_t bytes) {
    char* const base = detail::TheReservation().base;
    if (base == nullptr || bytes == 0 || bytes > detail::TheReservation().bytes) {
        throw std::bad_alloc();
    }
    const std::size_t size = WholePages(bytes);
    if (const auto limit = AddressSpaceLimit(); limit && AddressSpaceInUse() + size > *limit) {
        throw std::bad_alloc();
    }
    const std::size_t offset = TheRanges().take(size);
    void* const chunk = ::mmap(base + offset, size, PROT_READ | PROT_WRITE,
                               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_POPULATE, -1, 0);
    if (chunk == MAP_FAILED) {
        TheRanges().give(offset, size);
        throw std::bad_alloc();
    }
    return static_cast<char*>(chunk);
}

void Give(char* chunk, std::size_t bytes) noexcept {
    const std::size_t size = WholePages(bytes);
    // Mapped over with nothing: the pages go back to the system, the addresses stay reserved.
    if (::mmap(chunk, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0) == MAP_FAILED) {
        // Out of mappings: the pages go back all the same, and the next Take maps over them.
        ::madvise(chunk, size, MADV_DONTNEED);
    }
    TheRanges().give(static_cast<std::size_t>(chunk - detail::TheReservation().base), size);
}

std::size_t BytesTaken() noexcept {
    return TheRanges().taken();
}

std::size_t AddressSpaceInUse() noexcept {
    return MappedBytes() + BytesTaken();
}

} // namespace stirpex::arena_space
