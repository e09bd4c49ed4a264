#pragma once

// Opening a GEDCOM file for reading: a plain file, or a GEDZIP archive (a zip
// file holding gedcom.ged and its media), known by its first bytes or by the
// .gdz extension, whose text is read from inside it (gedcom/gedzip_file.h).
//
// Only a regular file is read: a pipe, a
// device or a socket can block the opening or the reading for ever, so
// anything else is refused, and refused without waiting on it. What was
// actually opened is checked again, so that a file swapped for a pipe after
// its path was looked at is caught as well.
//
// The one place where the core calls the operating system itself: standard
// C++ can neither open a file without blocking nor tell what an open stream
// refers to.

#include "model/media_archive.h"

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace stirpex {

// The reason given for a pipe, a device, a socket.
inline constexpr std::string_view kNotARegularFile = "Not a regular file";

// The file, opened for reading, with its length; or the reason it cannot be read.
struct OpenedFile {
    std::unique_ptr<std::istream> stream; // of an archive: its gedcom.ged, inflated as read
    std::int64_t length = 0;              // of an archive: gedcom.ged's uncompressed size
    std::string error;                    // empty on success
    std::unique_ptr<MediaArchive> media;  // an archive's files; null for a plain file
};

// `path` holds the name's bytes as the system stores them, whatever their
// encoding. Read errors of the stream leave it in its bad state.
OpenedFile OpenGedcomFile(const std::filesystem::path& path);

} // namespace stirpex
