#pragma once

// Zip archives written in a test, entry by entry, to a file or to memory.

#include <zip.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex::test {

struct ZipEntry {
    std::string name;
    std::string bytes;
    bool stored = false; // kept as it is instead of deflated
};

// The archive's bytes. Throws std::runtime_error when libzip fails.
inline std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (target == nullptr) {
        throw std::runtime_error("zip_source_buffer_create");
    }
    zip_source_keep(target); // read back after the archive is closed
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_source_free(target);
        throw std::runtime_error("zip_open_from_source");
    }
    for (const ZipEntry& entry : entries) {
        zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        const zip_int64_t index = data ? zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(data);
            zip_discard(archive);
            zip_source_free(target);
            throw std::runtime_error("zip_file_add " + entry.name);
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(target);
        throw std::runtime_error("zip_close");
    }
    std::string bytes;
    zip_stat_t stat;
    if (zip_source_stat(target, &stat) == 0 && zip_source_open(target) == 0) {
        bytes.resize(stat.size);
        const zip_int64_t got = zip_source_read(target, bytes.data(), bytes.size());
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        zip_source_close(target);
    }
    zip_source_free(target);
    return bytes;
}

} // namespace stirpex::test
