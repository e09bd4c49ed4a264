#pragma once

// The .ged file type for the desktop, written for the current user at every
// start so that the desktop opens and prints GEDCOM files with this program:
//
//   <data home>/mime/packages/stirpex-gedcom.xml          application/x-gedcom, "*.ged"
//   <data home>/applications/Stirpex.Document.desktop     open, print and print-to verbs
//   <data home>/icons/hicolor/NxN/apps/stirpex.png        when icons are given
//   <data home>/icons/hicolor/NxN/mimetypes/application-x-gedcom.png
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
inline constexpr std::string_view kGedcomMimeType = "application/x-gedcom";

struct FileTypeIcon {
    int size = 0;      // width and height in pixels
    std::string bytes; // PNG data
};

struct FileTypeRegistration {
    std::filesystem::path dataHome;    // UserDataHome()
    std::filesystem::path programPath; // absolute path of the program to start
    std::vector<FileTypeIcon> appIcons;
    std::vector<FileTypeIcon> documentIcons;
    // One "print to" verb per printer named here; none without printers.
    std::vector<std::string> printers;
};

struct FileTypeResult {
    bool ok = true;
    bool changed = false; // something was written or removed
    std::string error;    // the first failure, when !ok
};

// Starts a program with arguments without waiting for it; false when it cannot be started.
using DetachedRunner = std::function<bool(const std::vector<std::string>& command)>;

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty when neither is usable.
std::filesystem::path UserDataHome(const char* xdgDataHome, const char* home);
std::filesystem::path UserDataHome();

std::string MimePackageText();
std::string DesktopEntryText(const FileTypeRegistration& registration);

// Writes what differs. When something changed and `run` is given, asks it to
// refresh the desktop's MIME and application caches; their absence or
// failure is no error.
FileTypeResult RegisterFileTypes(const FileTypeRegistration& registration, const DetachedRunner& run = {});

// Removes every file RegisterFileTypes can write; files already gone are no error.
FileTypeResult UnregisterFileTypes(const std::filesystem::path& dataHome, const DetachedRunner& run = {});

// The same for the user's own data folder (UserDataHome()), without icons or printers.
FileTypeResult RegisterFileTypes(std::string_view programPath, const DetachedRunner& run = {});
FileTypeResult UnregisterFileTypes(const DetachedRunner& run = {});

} // namespace stirpex
