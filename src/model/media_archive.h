#pragma once

// The files packed beside the GEDCOM text in an archive (a .gdz file): the
// media its records name. The document keeps the archive open so that they
// can be read when shown; a document read from a plain file has none.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

struct MediaEntry {
    std::string name;      // as stored, UTF-8, folders separated by '/'
    std::int64_t size = 0; // uncompressed, in bytes

    bool operator==(const MediaEntry&) const = default;
};

class MediaArchive {
public:
    virtual ~MediaArchive() = default;

    // Every entry, the GEDCOM text's own included, in the archive's order.
    virtual std::vector<MediaEntry> Entries() const = 0;
    // The whole entry of exactly that name; nothing when there is none or it cannot be read.
    virtual std::optional<std::string> ReadEntry(std::string_view name) const = 0;
};

} // namespace stirpex
