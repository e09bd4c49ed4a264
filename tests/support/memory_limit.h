#pragma once

// Memory checks without timing: the work runs in a forked child whose address
// space may grow only by a fixed budget past what it holds at the fork. The
// child exits 0 when the work finished and reported success, 1 when memory ran
// out or the work failed; the parent reads the exit status.
//
// AddressSanitizer reserves terabytes of shadow memory, so under it a limit on
// the address space means nothing: callers skip such checks there.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <new>

namespace stirpex::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

inline constexpr std::size_t kMiB = std::size_t{1} << 20;

namespace detail {

inline std::size_t addressSpaceInUse() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1) {
            pages = 0;
        }
        std::fclose(statm);
    }
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

} // namespace detail

// True when `work` returned true in a child limited to `budget` more bytes of address space.
inline bool SucceedsWithin(std::size_t budget, const std::function<bool()>& work) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        const rlim_t limit = detail::addressSpaceInUse() + budget;
        const rlimit bound{limit, limit};
        if (::setrlimit(RLIMIT_AS, &bound) != 0) {
            ::_exit(2);
        }
        bool ok = false;
        try {
            ok = work();
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace stirpex::test
