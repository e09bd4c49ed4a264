#pragma once

// Where the file of a multimedia record is, so that the desktop can open it.
// A FILE value was written on whatever machine made the GEDCOM file: a URL, a
// path relative to the GEDCOM file, an absolute path of that machine (often
// Windows: "C:\Photos\x.jpg", "\\server\share\x.jpg"), or, in an archive, the
// name of one of its entries. Paths of another machine are looked for by
// their last parts in the GEDCOM file's folder, exactly first, then ignoring
// the case of ASCII letters, as a Windows file system would.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class MediaArchive;

enum class MediaPlace { NotFound, File, ArchiveEntry, Url };

struct MediaLocation {
    MediaPlace place = MediaPlace::NotFound;
    std::filesystem::path path; // MediaPlace::File: an existing file
    std::string name;           // MediaPlace::ArchiveEntry: the entry's name; MediaPlace::Url: the URL
    // Every place looked at, in order, as text to show: the paths, and the
    // archive's entries as "name (in the archive)".
    std::vector<std::string> tried;
};

struct MediaSearch {
    std::filesystem::path folder;          // of the GEDCOM file; empty when unknown
    const MediaArchive* archive = nullptr; // the document's archive, when it was read from one
};

// Finds the file a FILE value names. Only an existing file or entry is
// found; a URL is taken as it is, never fetched.
MediaLocation LocateMedia(std::string_view file, const MediaSearch& search);

// Whether the media looks like an image a window can show: its FORM ("jpg",
// "image/jpeg") or the file's extension says so. A FORM is often missing or
// a program's own word, so either is enough; what then does not decode
// goes to the desktop all the same.
bool IsImageMedia(std::string_view file, std::string_view form);

// The last part of a path of either kind of separator: "x.jpg" of "C:\Photos\x.jpg".
std::string_view MediaFileName(std::string_view file) noexcept;

} // namespace stirpex
