#include "model/media_location.h"

#include "model/media_archive.h"

#include <algorithm>
#include <array>
#include <optional>
#include <system_error>

namespace stirpex {

namespace {

namespace fs = std::filesystem;

char asciiLower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

bool startsIgnoringCase(std::string_view text, std::string_view prefix) noexcept {
    return text.size() >= prefix.size() && equalIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool isSeparator(char c) noexcept {
    return c == '/' || c == '\\';
}

std::string_view trimmed(std::string_view text) noexcept {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isUrl(std::string_view value) noexcept {
    static constexpr std::array<std::string_view, 3> kSchemes{"http://", "https://", "ftp://"};
    return std::any_of(kSchemes.begin(), kSchemes.end(),
                       [value](std::string_view scheme) { return startsIgnoringCase(value, scheme); });
}

int hexValue(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = asciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A file: URL as the path it names ("file:///C:/x%20y.jpg" is "C:/x y.jpg",
// "file://server/share/x.jpg" is "//server/share/x.jpg"); any other value as it is.
std::string localPath(std::string_view value) {
    static constexpr std::string_view kFileScheme = "file://";
    if (!startsIgnoringCase(value, kFileScheme)) {
        return std::string(value);
    }
    std::string_view rest = value.substr(kFileScheme.size());
    std::string path;
    if (rest.size() >= 3 && rest[0] == '/' && rest[2] == ':') {
        rest.remove_prefix(1); // the slash in front of a drive letter
    } else if (!rest.empty() && rest[0] != '/') {
        path = "//"; // a host: a server's share
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int high = i + 2 < rest.size() ? hexValue(rest[i + 1]) : -1;
        const int low = i + 2 < rest.size() ? hexValue(rest[i + 2]) : -1;
        if (rest[i] == '%' && high >= 0 && low >= 0) {
            path.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            path.push_back(rest[i]);
        }
    }
    return path;
}

// What kind of path a value is, and its names between separators; a drive
// ("C:") is not among them, nor are empty names and ".".
struct PathParts {
    bool relative = true;       // to the GEDCOM file's folder
    bool localAbsolute = false; // "/home/x.jpg": a path of this machine as it is
    std::vector<std::string_view> names;
};

PathParts splitPath(std::string_view path) {
    PathParts parts;
    const bool hasBackslash = path.find('\\') != std::string_view::npos;
    if (path.size() >= 2 && path[1] == ':' && asciiLower(path[0]) >= 'a' && asciiLower(path[0]) <= 'z') {
        parts.relative = false;
        path.remove_prefix(2);
    } else if (!path.empty() && isSeparator(path[0])) {
        parts.relative = false;
        // "\\server\share" and "//server/share" are another machine's.
        parts.localAbsolute = !hasBackslash && !(path.size() >= 2 && isSeparator(path[1]));
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        const std::string_view name = path.substr(start, end - start);
        if (!name.empty() && name != ".") {
            parts.names.push_back(name);
        }
        start = end + 1;
    }
    return parts;
}

std::string joined(const std::vector<std::string_view>& names, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (!text.empty()) {
            text.push_back('/');
        }
        text.append(names[i]);
    }
    return text;
}

// An entry of exactly the name, then one whose last part is the file's name;
// each exactly first, then ignoring case.
std::optional<std::string> findInArchive(const MediaArchive& archive, const PathParts& parts,
                                         std::vector<std::string>& tried) {
    const std::vector<MediaEntry> entries = archive.Entries();
    const std::string whole = joined(parts.names, 0);
    const std::string_view fileName = parts.names.back();
    tried.push_back(whole + " (in the archive)");
    if (whole != fileName) {
        tried.push_back(std::string(fileName) + " (in the archive, any folder)");
    }
    using Match = bool (*)(std::string_view, std::string_view);
    static constexpr std::array<Match, 2> kMatches{[](std::string_view a, std::string_view b) { return a == b; },
                                                   &equalIgnoringCase};
    for (const Match match : kMatches) {
        for (const bool byFileName : {false, true}) {
            for (const MediaEntry& entry : entries) {
                const std::string_view name = byFileName ? MediaFileName(entry.name) : std::string_view(entry.name);
                if (match(name, byFileName ? fileName : std::string_view(whole))) {
                    return entry.name;
                }
            }
        }
    }
    return std::nullopt;
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Follows the names down from the folder, taking at each step the name as
// written or else the first, in sorted order, that differs from it in case only.
std::optional<fs::path> findIgnoringCase(const fs::path& folder, const std::vector<std::string_view>& names,
                                         std::size_t first) {
    fs::path at = folder;
    for (std::size_t i = first; i < names.size(); ++i) {
        const fs::path exact = at / std::string(names[i]);
        std::error_code error;
        if (fs::exists(exact, error)) {
            at = exact;
            continue;
        }
        std::optional<fs::path> best;
        for (fs::directory_iterator it(at, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (equalIgnoringCase(name, names[i]) && (!best || it->path() < *best)) {
                best = it->path();
            }
        }
        if (!best) {
            return std::nullopt;
        }
        at = *best;
    }
    return isFile(at) ? std::optional<fs::path>(at) : std::nullopt;
}

// Which names to look for below the GEDCOM file's folder, each the index of
// the first name taken: the most particular first, a whole relative path,
// then the last folder with the file's name, then the name alone.
std::vector<std::size_t> folderCandidates(const PathParts& parts) {
    const std::size_t count = parts.names.size();
    std::vector<std::size_t> candidates;
    const auto add = [&candidates](std::size_t first) {
        if (std::find(candidates.begin(), candidates.end(), first) == candidates.end()) {
            candidates.push_back(first);
        }
    };
    if (parts.relative) {
        add(0);
    }
    if (count >= 2) {
        add(count - 2);
    }
    add(count - 1);
    return candidates;
}

void findOnDisk(const std::string& path, const PathParts& parts, const fs::path& folder, MediaLocation& location) {
    if (parts.localAbsolute) {
        location.tried.push_back(path);
        if (isFile(path)) {
            location.place = MediaPlace::File;
            location.path = path;
            return;
        }
    }
    if (folder.empty()) {
        return;
    }
    const std::vector<std::size_t> candidates = folderCandidates(parts);
    for (const std::size_t first : candidates) {
        const fs::path exact = folder / joined(parts.names, first);
        location.tried.push_back(exact.string());
        if (isFile(exact)) {
            location.place = MediaPlace::File;
            location.path = exact;
            return;
        }
    }
    for (const std::size_t first : candidates) {
        if (const auto found = findIgnoringCase(folder, parts.names, first)) {
            location.place = MediaPlace::File;
            location.path = *found;
            return;
        }
    }
}

} // namespace

std::string_view MediaFileName(std::string_view file) noexcept {
    const std::size_t separator = file.find_last_of("/\\");
    return separator == std::string_view::npos ? file : file.substr(separator + 1);
}

MediaLocation LocateMedia(std::string_view file, const MediaSearch& search) {
    MediaLocation location;
    const std::string_view value = trimmed(file);
    if (isUrl(value)) {
        location.place = MediaPlace::Url;
        location.name = std::string(value);
        return location;
    }
    const std::string path = localPath(value);
    const PathParts parts = splitPath(path);
    if (parts.names.empty()) {
        return location;
    }
    if (search.archive) {
        if (auto entry = findInArchive(*search.archive, parts, location.tried)) {
            location.place = MediaPlace::ArchiveEntry;
            location.name = std::move(*entry);
            return location;
        }
    }
    findOnDisk(path, parts, search.folder, location);
    return location;
}

bool IsImageMedia(std::string_view file, std::string_view form) {
    static constexpr std::array<std::string_view, 9> kImageTypes{"jpg", "jpeg", "png",  "gif", "bmp",
                                                                 "tif", "tiff", "webp", "svg"};
    const auto isImageType = [](std::string_view type) {
        return std::any_of(kImageTypes.begin(), kImageTypes.end(),
                           [type](std::string_view image) { return equalIgnoringCase(type, image); });
    };
    form = trimmed(form);
    if (startsIgnoringCase(form, "image/") || isImageType(form)) {
        return true;
    }
    const std::string_view name = MediaFileName(trimmed(file));
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && isImageType(name.substr(dot + 1));
}

} // namespace stirpex
