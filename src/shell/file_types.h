#pragma once

// The .ged and .gdz file types for the desktop. An installed Stirpex brings its desktop
// entry, MIME package and icons in a system data folder; a Stirpex run from
// where it was built has none, so at every start it writes the same files for
// the current user:
//
//   <data home>/mime/packages/stirpex-gedcom.xml       text/vnd.familysearch.gedcom (alias application/x-gedcom),
//                                                      application/x-gedzip
//   <data home>/applications/example.tesselforge.Stirpex.desktop    open, print and print-to verbs
//   <data home>/icons/hicolor/NxN/apps/stirpex.png                  when icons are given
//   <data home>/icons/hicolor/NxN/mimetypes/text-vnd.familysearch.gedcom.png
//
// The user's entry has the installed entry's desktop-file id, and the user's
// data home comes first, so with both present the menu would start whatever
// program the user's copy was written for. Hence, once an entry with that id
// exists in one of the system's data folders, nothing is written for the user,
// and the user's copy that an earlier start wrote (marked by its
// X-Stirpex-FileType key, which the installed entry lacks) is removed. The
// files of earlier versions (Stirpex.Document.desktop, a separate
// application/x-gedcom type and its icons) go in either case: they would show
// a second Stirpex and define the alias as a type of its own.
//
// A file is written only when its content differs, through a temporary file
// renamed over it, so that repeated starts leave everything untouched and a
// reader never sees half a file. Nothing here throws.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

inline constexpr std::string_view kFileTypeId = "Stirpex.Document";
inline constexpr std::string_view kFileTypeName = "Gedcom Document";
inline constexpr std::string_view kDesktopFileId = "example.tesselforge.Stirpex.desktop";
inline constexpr std::string_view kGedcomMimeType = "text/vnd.familysearch.gedcom";
inline constexpr std::string_view kGedcomMimeAlias = "application/x-gedcom";
// A zip archive of gedcom.ged and its media (.gdz); no registered name is known for it.
inline constexpr std::string_view kGedzipMimeType = "application/x-gedzip";
inline constexpr std::string_view kGedzipTypeName = "Gedcom Archive";

struct FileTypeIcon {
    int size = 0;      // width and height in pixels
    std::string bytes; // PNG data
};

struct FileTypeRegistration {
    std::filesystem::path dataHome;              // UserDataHome()
    std::vector<std::filesystem::path> dataDirs; // SystemDataDirs(): where an installed entry is looked for
    std::filesystem::path programPath;           // absolute path of the program to start
    std::vector<FileTypeIcon> appIcons;
    std::vector<FileTypeIcon> documentIcons;
    // One "print to" verb per printer named here; none without printers.
    std::vector<std::string> printers;
};

struct FileTypeResult {
    bool ok = true;
    bool changed = false;                 // something was written or removed
    std::string error;                    // the first failure, when !ok
    std::filesystem::path installedEntry; // the system's entry that made the user's copy unneeded
};

// Starts a program with arguments without waiting for it; false when it cannot be started.
using DetachedRunner = std::function<bool(const std::vector<std::string>& command)>;

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty when neither is usable.
std::filesystem::path UserDataHome(const char* xdgDataHome, const char* home);
std::filesystem::path UserDataHome();

// The absolute folders of $XDG_DATA_DIRS in order, or /usr/local/share and
// /usr/share when it names none.
std::vector<std::filesystem::path> SystemDataDirs(const char* xdgDataDirs);
std::vector<std::filesystem::path> SystemDataDirs();

// The first <dir>/applications/example.tesselforge.Stirpex.desktop of
// `dataDirs`, skipping `dataHome` should it be listed there too; empty when
// the program is not installed.
std::filesystem::path InstalledDesktopEntry(const std::vector<std::filesystem::path>& dataDirs,
                                            const std::filesystem::path& dataHome);

std::string MimePackageText();
std::string DesktopEntryText(const FileTypeRegistration& registration);

// Writes what differs, or, when the program is installed, removes the user's
// copy instead (see above). When something changed and `run` is given, asks
// it to refresh the desktop's MIME and application caches; their absence or
// failure is no error.
FileTypeResult RegisterFileTypes(const FileTypeRegistration& registration, const DetachedRunner& run = {});

// Removes every file RegisterFileTypes or an earlier version can have
// written; files already gone are no error.
FileTypeResult UnregisterFileTypes(const std::filesystem::path& dataHome, const DetachedRunner& run = {});

// The same for the user's own data folder and the system's folders, without icons or printers.
FileTypeResult RegisterFileTypes(std::string_view programPath, const DetachedRunner& run = {});
FileTypeResult UnregisterFileTypes(const DetachedRunner& run = {});

} // namespace stirpex
