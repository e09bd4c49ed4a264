#pragma once

// Every arena carves its chunks out of one reservation of address space, made
// once for the whole program, so that a handle to a text or block in any
// arena is a 32-bit number: its distance from the reservation's start in
// steps of two bytes. A large file's model holds tens of millions of such
// handles, and halving them took a quarter off the model of a large file.
//
// The reservation costs no memory until a chunk is taken: its pages are
// filled in then, and given back to the system when the chunk is. Address
// ranges given back are taken again, so opening and closing files never
// runs the reservation out; only models adding up to more than it holds
// at once do, and they meet std::bad_alloc as any allocation would.
//
// A limit on the address space (RLIMIT_AS, `ulimit -v`) holds for the
// chunks as if each were mapped beside the reservation: the reservation is
// made when the program starts, at most half of what such a limit leaves
// then, and a chunk that would take the program past the limit is refused.

#include <cstddef>
#include <cstdint>

namespace stirpex::arena_space {

// Handles count in steps of this many bytes: a text's first byte, and every
// block a handle points at, lies at an even address.
inline constexpr std::size_t kStep = 2;
// The most the reservation holds, when no limit on the address space is lower.
inline constexpr std::size_t kBytes = std::size_t{1} << 33;

namespace detail {
struct Reservation {
    char* base = nullptr; // null when the system refused even a small one
    std::size_t bytes = 0;
};
const Reservation& TheReservation() noexcept;
} // namespace detail

// Where the reservation starts: handles are offsets from here. Every text
// read goes through it, so it is a plain constant read, with no check on
// each use that it was made: it is made before main, and no text is read
// earlier.
inline char* const kBase = detail::TheReservation().base;
inline char* Base() noexcept {
    return kBase;
}

// A chunk of `bytes` (rounded up to whole pages) with its pages filled in;
// std::bad_alloc when the reservation has no free range that large.
char* Take(std::size_t bytes);
// Gives a chunk from Take back: its pages go to the system, its addresses to
// later chunks. `bytes` is what was asked of Take.
void Give(char* chunk, std::size_t bytes) noexcept;

// The bytes of the reservation now given out in chunks.
std::size_t BytesTaken() noexcept;
// The address space the program holds, the reservation whole, with the
// chunks taken from it counted once more: what a limit on it bounds.
std::size_t AddressSpaceInUse() noexcept;

// The handle of an address in the reservation, and back; 0 is no address.
inline std::uint32_t HandleOf(const void* address) noexcept {
    return static_cast<std::uint32_t>((static_cast<const char*>(address) - Base()) / kStep);
}
inline char* AddressOf(std::uint32_t handle) noexcept {
    return Base() + std::size_t{handle} * kStep;
}

} // namespace stirpex::arena_space
