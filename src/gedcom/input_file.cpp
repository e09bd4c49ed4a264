#include "gedcom/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <streambuf>
#include <system_error>
#include <utility>

namespace stirpex {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const noexcept { return m_fd; }

private:
    int m_fd;
};

// Reads straight from the descriptor into the caller's memory: the line
// source asks for up to a megabyte at a time, which a buffer here would only
// copy. A read error leaves as an exception, which the stream turns into its
// bad state.
class DescriptorBuffer final : public std::streambuf {
public:
    explicit DescriptorBuffer(Descriptor fd) noexcept : m_fd(std::move(fd)) {}

protected:
    int_type underflow() override {
        const std::streamsize got = readSome(m_small.data(), static_cast<std::streamsize>(m_small.size()));
        if (got == 0) {
            return traits_type::eof();
        }
        setg(m_small.data(), m_small.data(), m_small.data() + got);
        return traits_type::to_int_type(m_small[0]);
    }

    std::streamsize xsgetn(char* out, std::streamsize count) override {
        std::streamsize done = std::min<std::streamsize>(count, egptr() - gptr());
        std::copy_n(gptr(), done, out);
        gbump(static_cast<int>(done));
        while (done < count) {
            const std::streamsize got = readSome(out + done, count - done);
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

private:
    std::streamsize readSome(char* out, std::streamsize count) {
        for (;;) {
            const ssize_t got = ::read(m_fd.get(), out, static_cast<std::size_t>(count));
            if (got >= 0) {
                return got;
            }
            if (errno != EINTR) {
                throw std::system_error(errno, std::generic_category(), "read");
            }
        }
    }

    Descriptor m_fd;
    std::array<char, 4096> m_small{}; // for reads of a few characters only
};

class DescriptorStream final : public std::istream {
public:
    explicit DescriptorStream(Descriptor fd) : std::istream(nullptr), m_buffer(std::move(fd)) { rdbuf(&m_buffer); }

private:
    DescriptorBuffer m_buffer;
};

OpenedFile failed(std::string reason) {
    OpenedFile opened;
    opened.error = std::move(reason);
    return opened;
}

// Why a file of this kind is not read; empty for a regular file.
std::string refusal(mode_t mode) {
    if (S_ISREG(mode)) {
        return {};
    }
    if (S_ISDIR(mode)) {
        return std::strerror(EISDIR);
    }
    return std::string(kNotARegularFile);
}

} // namespace

OpenedFile OpenGedcomFile(const std::filesystem::path& path) {
    // The path is asked first, so that a device is never opened at all:
    // opening one can have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return failed(std::strerror(errno));
    }
    if (std::string reason = refusal(info.st_mode); !reason.empty()) {
        return failed(std::move(reason));
    }
    // Without blocking: the path may lead to a pipe by now, whose opening waits for a writer.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        return failed(std::strerror(errno));
    }
    if (::fstat(fd.get(), &info) != 0) {
        return failed(std::strerror(errno));
    }
    if (std::string reason = refusal(info.st_mode); !reason.empty()) {
        return failed(std::move(reason));
    }
    // A regular file is read as any other: the flag only served the opening.
    if (const int flags = ::fcntl(fd.get(), F_GETFL); flags >= 0) {
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    OpenedFile opened;
    opened.length = static_cast<std::int64_t>(info.st_size);
    opened.stream = std::make_unique<DescriptorStream>(std::move(fd));
    return opened;
}

} // namespace stirpex
