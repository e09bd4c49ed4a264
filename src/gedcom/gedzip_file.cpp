#include "gedcom/gedzip_file.h"

#include "gedcom/pull_buffer.h"

#include <zip.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ios>
#include <limits>
#include <memory>
#include <utility>

namespace stirpex {

namespace {

// The open archive, and the bytes it is read from when they are in memory.
struct Archive {
    Archive() = default;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() {
        if (zip != nullptr) {
            zip_discard(zip); // read only: nothing to write back
        }
    }

    std::string bytes; // read in place by the archive's source: declared first, so gone last
    zip_t* zip = nullptr;
};

using SharedArchive = std::shared_ptr<const Archive>;

std::int64_t sizeOf(const zip_stat_t& stat) {
    if ((stat.valid & ZIP_STAT_SIZE) == 0) {
        return 0;
    }
    constexpr auto kMax = static_cast<zip_uint64_t>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(stat.size < kMax ? stat.size : kMax);
}

// One entry, inflated as it is read.
class EntryBuffer final : public PullBuffer {
public:
    EntryBuffer(SharedArchive archive, zip_file_t* file) noexcept : m_archive(std::move(archive)), m_file(file) {}
    EntryBuffer(const EntryBuffer&) = delete;
    EntryBuffer& operator=(const EntryBuffer&) = delete;
    ~EntryBuffer() override { zip_fclose(m_file); }

protected:
    std::streamsize readSome(char* out, std::streamsize count) override {
        const zip_int64_t got = zip_fread(m_file, out, static_cast<zip_uint64_t>(count));
        if (got < 0) {
            // A damaged entry, its data or its checksum; the stream passes the reason on.
            throw std::ios_base::failure(zip_file_strerror(m_file));
        }
        return static_cast<std::streamsize>(got);
    }

private:
    SharedArchive m_archive;
    zip_file_t* m_file;
};

class GedzipMedia final : public MediaArchive {
public:
    explicit GedzipMedia(SharedArchive archive) noexcept : m_archive(std::move(archive)) {}

    std::vector<MediaEntry> Entries() const override {
        std::vector<MediaEntry> entries;
        const zip_int64_t count = zip_get_num_entries(m_archive->zip, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const auto index = static_cast<zip_uint64_t>(i);
            zip_stat_t stat;
            zip_stat_init(&stat);
            const char* name = zip_get_name(m_archive->zip, index, ZIP_FL_ENC_GUESS); // as UTF-8
            if (name != nullptr && zip_stat_index(m_archive->zip, index, 0, &stat) == 0) {
                entries.push_back({name, sizeOf(stat)});
            }
        }
        return entries;
    }

    std::optional<std::string> ReadEntry(std::string_view name) const override {
        if (name.find('\0') != std::string_view::npos) {
            return std::nullopt; // the library takes the name up to its first zero byte, which would name another
        }
        const zip_int64_t index = zip_name_locate(m_archive->zip, std::string(name).c_str(), ZIP_FL_ENC_GUESS);
        if (index < 0) {
            return std::nullopt;
        }
        zip_file_t* file = zip_fopen_index(m_archive->zip, static_cast<zip_uint64_t>(index), 0);
        if (file == nullptr) {
            return std::nullopt;
        }
        EntryBuffer entry(m_archive, file);
        std::string bytes;
        std::istream in(&entry);
        char block[65536];
        while (in.read(block, sizeof block) || in.gcount() > 0) {
            bytes.append(block, static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad()) {
            return std::nullopt;
        }
        return bytes;
    }

private:
    SharedArchive m_archive;
};

OpenedFile failed(std::string reason) {
    OpenedFile opened;
    opened.error = std::move(reason);
    return opened;
}

std::string archiveError(zip_error_t& error) {
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// The archive on `source`, which it takes over in every case.
OpenedFile openArchive(const std::shared_ptr<Archive>& archive, zip_source_t* source) {
    zip_error_t error;
    zip_error_init(&error);
    archive->zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive->zip == nullptr) {
        zip_source_free(source);
        return failed(archiveError(error));
    }
    zip_error_fini(&error);
    zip_t* const zip = archive->zip;
    // Writers differ in the case of the name; none puts the text elsewhere.
    const zip_int64_t index = zip_name_locate(zip, std::string(kGedzipTextEntry).c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
        return failed("The archive holds no " + std::string(kGedzipTextEntry));
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_file_t* file = nullptr;
    if (zip_stat_index(zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        (file = zip_fopen_index(zip, static_cast<zip_uint64_t>(index), 0)) == nullptr) {
        return failed(zip_strerror(zip));
    }
    OpenedFile opened;
    opened.length = sizeOf(stat);
    opened.stream = std::make_unique<OwningStream<EntryBuffer>>(archive, file);
    opened.stream->exceptions(std::ios::badbit); // so that a read error says what is damaged
    opened.media = std::make_unique<GedzipMedia>(archive);
    return opened;
}

} // namespace

bool HasZipSignature(std::string_view firstBytes) noexcept {
    const std::string_view start = firstBytes.substr(0, 4);
    return start == std::string_view("PK\x03\x04", 4) || start == std::string_view("PK\x05\x06", 4);
}

OpenedFile OpenGedzip(int fd) {
    FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        const int reason = errno;
        ::close(fd);
        return failed(std::strerror(reason));
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_filep_create(stream, 0, -1, &error);
    if (source == nullptr) {
        std::fclose(stream);
        return failed(archiveError(error));
    }
    zip_error_fini(&error);
    return openArchive(std::make_shared<Archive>(), source);
}

OpenedFile OpenGedzip(std::string bytes) {
    auto archive = std::make_shared<Archive>();
    archive->bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive->bytes.data(), archive->bytes.size(), 0, &error);
    if (source == nullptr) {
        return failed(archiveError(error));
    }
    zip_error_fini(&error);
    return openArchive(archive, source);
}

} // namespace stirpex
