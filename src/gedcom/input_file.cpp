#include "gedcom/input_file.h"

#include "gedcom/gedzip_file.h"
#include "gedcom/pull_buffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
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
    int release() noexcept { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

class DescriptorBuffer final : public PullBuffer {
public:
    explicit DescriptorBuffer(Descriptor fd) noexcept : m_fd(std::move(fd)) {}

protected:
    std::streamsize readSome(char* out, std::streamsize count) override {
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

private:
    Descriptor m_fd;
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

bool hasGedzipExtension(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    return std::ranges::equal(extension, std::string_view(".gdz"), [](char c, char lower) {
        return (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == lower;
    });
}

// An archive by its content, whatever its name; and a .gdz file is always
// taken for one, so that a damaged archive is reported as such.
bool isGedzip(int fd, const std::filesystem::path& path) {
    std::array<char, 4> first{};
    const ssize_t got = ::pread(fd, first.data(), first.size(), 0);
    return (got > 0 && HasZipSignature(std::string_view(first.data(), static_cast<std::size_t>(got)))) ||
           hasGedzipExtension(path);
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
    if (isGedzip(fd.get(), path)) {
        return OpenGedzip(fd.release());
    }
    OpenedFile opened;
    opened.length = static_cast<std::int64_t>(info.st_size);
    opened.stream = std::make_unique<OwningStream<DescriptorBuffer>>(std::move(fd));
    return opened;
}

} // namespace stirpex
