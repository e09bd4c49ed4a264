#pragma once

// A GEDZIP file: a zip archive holding the GEDCOM text as gedcom.ged at its
// top and the media files the text names. The text is inflated as it is
// read, never extracted to disk; the archive stays open, shared by that
// stream and by the media it hands out, for as long as either lives.

#include "gedcom/input_file.h"

#include <string>
#include <string_view>

namespace stirpex {

inline constexpr std::string_view kGedzipTextEntry = "gedcom.ged";

// True when the bytes start as a zip archive does: a file's local header, or
// the end record of an archive without files.
bool HasZipSignature(std::string_view firstBytes) noexcept;

// Opens the archive on the descriptor, which it takes over in every case.
// The error names what is wrong: not an archive, damaged, no gedcom.ged, ...
// Damage found later, in the compressed text, throws std::ios_base::failure
// from the stream's reads, naming it.
OpenedFile OpenGedzip(int fd);
// The same for an archive held in memory.
OpenedFile OpenGedzip(std::string bytes);

} // namespace stirpex
