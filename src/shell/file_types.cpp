#include "shell/file_types.h"

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <sstream>
#include <system_error>
#include <utility>

namespace stirpex {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMimePackage = "mime/packages/stirpex-gedcom.xml";
constexpr std::string_view kApplications = "applications";
constexpr std::string_view kIconTheme = "icons/hicolor";
constexpr std::string_view kAppIconName = "stirpex.png";
constexpr std::string_view kDocumentIconName = "text-vnd.familysearch.gedcom.png";
constexpr std::string_view kOwnMark = "X-Stirpex-FileType=";
// What earlier versions wrote under other names.
constexpr std::string_view kOldDesktopFileId = "Stirpex.Document.desktop";
constexpr std::string_view kOldDocumentIconName = "application-x-gedcom.png";

// The lines that the user's entry shares with the installed one
// (res/desktop/example.tesselforge.Stirpex.desktop; a test holds them equal).
constexpr std::string_view kEntryNames = "Name=Stirpex\n"
                                         "GenericName=Genealogy Viewer\n"
                                         "Comment=Browse GEDCOM family files one person at a time\n"
                                         "Icon=stirpex\n";
constexpr std::string_view kEntryKinds =
    "Terminal=false\n"
    "Categories=Office;Viewer;\n"
    "Keywords=genealogy;family tree;ancestors;descendants;GEDCOM;\n"
    "MimeType=text/vnd.familysearch.gedcom;application/x-gedcom;application/x-gedzip;\n";

// An Exec argument as the desktop's launchers split it: quoted when it holds
// a character a shell would treat specially, "%" doubled so that it is not
// taken for a field code.
std::string execArgument(std::string_view argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string escaped;
    for (const char c : argument) {
        if (c == '%') {
            escaped += "%%";
        } else {
            escaped += c;
        }
    }
    if (!argument.empty() && argument.find_first_of(reserved) == std::string_view::npos) {
        return escaped;
    }
    std::string quoted = "\"";
    for (const char c : escaped) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// A desktop entry value: backslashes and control characters escaped.
// Applied after the Exec quoting, so a backslash in a quoted argument ends
// up written four times, as launchers expect.
std::string entryValue(std::string_view text) {
    std::string value;
    for (const char c : text) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

std::string execLine(const fs::path& program, std::string_view arguments) {
    return "Exec=" + entryValue(execArgument(program.string()) + std::string(arguments)) + '\n';
}

std::string failure(std::string_view what, const fs::path& path, const std::error_code& error) {
    return std::string(what) + ' ' + path.string() + ": " + error.message();
}

// Keeps the first failure.
void fail(FileTypeResult& result, std::string error) {
    if (result.ok) {
        result.ok = false;
        result.error = std::move(error);
    }
}

bool sameContent(const fs::path& path, std::string_view content) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) != content.size() || error) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string existing{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return !in.bad() && existing == content;
}

std::string temporaryName(const fs::path& path) {
    std::random_device random;
    std::ostringstream name;
    name << path.filename().string() << ".tmp-" << std::hex << random() << random();
    return name.str();
}

// Writes `content` unless the file holds it already; true when it wrote.
bool writeIfDiffers(const fs::path& path, std::string_view content, FileTypeResult& result) {
    if (!result.ok || sameContent(path, content)) {
        return false;
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        fail(result, failure("Cannot create the folder", path.parent_path(), error));
        return false;
    }
    const fs::path temporary = path.parent_path() / temporaryName(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            fail(result, failure("Cannot write", temporary, std::make_error_code(std::errc::io_error)));
            return false;
        }
    }
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        fail(result, failure("Cannot write", path, error));
        return false;
    }
    result.changed = true;
    return true;
}

bool removeFile(const fs::path& path, FileTypeResult& result) {
    std::error_code error;
    const bool removed = fs::remove(path, error);
    if (error) {
        fail(result, failure("Cannot remove", path, error));
    }
    result.changed = result.changed || removed;
    return removed;
}

fs::path iconPath(const fs::path& dataHome, int size, std::string_view context, std::string_view name) {
    const std::string sizeFolder = std::to_string(size) + 'x' + std::to_string(size);
    return dataHome / kIconTheme / sizeFolder / context / name;
}

void refresh(const DetachedRunner& run, std::string_view tool, const fs::path& folder) {
    if (!run) {
        return;
    }
    try {
        run({std::string(tool), folder.string()}); // a missing tool only leaves the caches older
    } catch (...) {
    }
}

bool isOwnEntry(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return false; // reading a folder would throw
    }
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return text.find('\n' + std::string(kOwnMark)) != std::string::npos;
}

// A desktop entry goes only when we wrote it: an entry of the same id that a
// menu editor copied from the installed one is the user's own.
bool removeOwnEntry(const fs::path& path, FileTypeResult& result) {
    return isOwnEntry(path) && removeFile(path, result);
}

bool removeIcons(const fs::path& home, std::initializer_list<std::pair<std::string_view, std::string_view>> icons,
                 FileTypeResult& result) {
    bool removed = false;
    std::error_code error;
    for (fs::directory_iterator it(home / kIconTheme, error), end; !error && it != end; it.increment(error)) {
        for (const auto& [context, name] : icons) {
            removed = removeFile(it->path() / context / name, result) || removed;
        }
    }
    return removed;
}

// What earlier versions wrote and this one no longer does.
void removeOldFiles(const fs::path& home, const DetachedRunner& run, FileTypeResult& result) {
    if (removeOwnEntry(home / kApplications / kOldDesktopFileId, result)) {
        refresh(run, "update-desktop-database", home / kApplications);
    }
    removeIcons(home, {{"mimetypes", kOldDocumentIconName}}, result);
}

void removeUserCopy(const fs::path& home, const DetachedRunner& run, FileTypeResult& result) {
    if (removeFile(home / kMimePackage, result)) {
        refresh(run, "update-mime-database", home / "mime");
    }
    if (removeOwnEntry(home / kApplications / kDesktopFileId, result)) {
        refresh(run, "update-desktop-database", home / kApplications);
    }
    removeIcons(home, {{"apps", kAppIconName}, {"mimetypes", kDocumentIconName}}, result);
    removeOldFiles(home, run, result);
}

void writeUserCopy(const FileTypeRegistration& registration, const DetachedRunner& run, FileTypeResult& result) {
    const fs::path& home = registration.dataHome;
    for (const FileTypeIcon& icon : registration.appIcons) {
        writeIfDiffers(iconPath(home, icon.size, "apps", kAppIconName), icon.bytes, result);
    }
    for (const FileTypeIcon& icon : registration.documentIcons) {
        writeIfDiffers(iconPath(home, icon.size, "mimetypes", kDocumentIconName), icon.bytes, result);
    }
    if (writeIfDiffers(home / kMimePackage, MimePackageText(), result)) {
        refresh(run, "update-mime-database", home / "mime");
    }
    if (writeIfDiffers(home / kApplications / kDesktopFileId, DesktopEntryText(registration), result)) {
        refresh(run, "update-desktop-database", home / kApplications);
    }
    removeOldFiles(home, run, result);
}

FileTypeResult registerFiles(const FileTypeRegistration& registration, const DetachedRunner& run) {
    FileTypeResult result;
    const fs::path& home = registration.dataHome;
    if (home.empty() || !home.is_absolute()) {
        return {false, false, "No folder for the desktop's files: neither XDG_DATA_HOME nor HOME is usable", {}};
    }
    result.installedEntry = InstalledDesktopEntry(registration.dataDirs, home);
    if (!result.installedEntry.empty()) {
        removeUserCopy(home, run, result);
        return result;
    }
    if (!registration.programPath.is_absolute()) {
        return {false, false, "The program's own path is unknown: " + registration.programPath.string(), {}};
    }
    writeUserCopy(registration, run, result);
    return result;
}

FileTypeResult unregisterFiles(const fs::path& home, const DetachedRunner& run) {
    FileTypeResult result;
    if (home.empty() || !home.is_absolute()) {
        return {false, false, "No folder for the desktop's files: neither XDG_DATA_HOME nor HOME is usable", {}};
    }
    removeUserCopy(home, run, result);
    return result;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    return !error ? same : a.lexically_normal() == b.lexically_normal();
}

} // namespace

fs::path UserDataHome(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
        return xdgDataHome;
    }
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / ".local" / "share";
    }
    return {};
}

fs::path UserDataHome() {
    return UserDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::vector<fs::path> SystemDataDirs(const char* xdgDataDirs) {
    std::vector<fs::path> folders;
    std::string_view list = xdgDataDirs != nullptr ? xdgDataDirs : "";
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const fs::path folder = list.substr(0, colon);
        if (folder.is_absolute()) {
            folders.push_back(folder);
        }
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    if (folders.empty()) {
        folders = {"/usr/local/share", "/usr/share"};
    }
    return folders;
}

std::vector<fs::path> SystemDataDirs() {
    return SystemDataDirs(std::getenv("XDG_DATA_DIRS"));
}

fs::path InstalledDesktopEntry(const std::vector<fs::path>& dataDirs, const fs::path& dataHome) {
    for (const fs::path& folder : dataDirs) {
        fs::path entry = folder / kApplications / kDesktopFileId;
        std::error_code error;
        if (!sameFolder(folder, dataHome) && fs::is_regular_file(entry, error)) {
            return entry;
        }
    }
    return {};
}

// The installed package (res/desktop/stirpex-gedcom.xml) word for word.
std::string MimePackageText() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + std::string(kGedcomMimeType) + "\">\n";
    text += "    <comment>" + std::string(kFileTypeName) + "</comment>\n";
    text += "    <acronym>GEDCOM</acronym>\n"
            "    <expanded-acronym>GEnealogical Data COMmunication</expanded-acronym>\n"
            "    <sub-class-of type=\"text/plain\"/>\n"
            "    <generic-icon name=\"x-office-document\"/>\n";
    // Desktops that know only the older name, and files typed by it, find this type.
    text += "    <alias type=\"" + std::string(kGedcomMimeAlias) + "\"/>\n";
    // Older shared-mime-info defines the alias as a type of its own, with
    // the same globs and magic at weight 50; ours outweighs it so that a .ged
    // file is of the registered type there too. The magic allows for a UTF-8
    // byte order mark.
    text += "    <magic priority=\"60\">\n"
            "      <match type=\"string\" value=\"0 HEAD\" offset=\"0:3\"/>\n"
            "    </magic>\n"
            "    <glob pattern=\"*.ged\" weight=\"60\"/>\n"
            "    <glob pattern=\"*.gedcom\" weight=\"60\"/>\n"
            "  </mime-type>\n";
    // Known by its name only: its content starts as any zip file's.
    text += "  <mime-type type=\"" + std::string(kGedzipMimeType) + "\">\n";
    text += "    <comment>" + std::string(kGedzipTypeName) + "</comment>\n";
    text += "    <sub-class-of type=\"application/zip\"/>\n"
            "    <generic-icon name=\"x-office-document\"/>\n"
            "    <glob pattern=\"*.gdz\" weight=\"60\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n";
    return text;
}

// The installed entry's lines, with the program's own path instead of its
// name, and the print verbs, which need that path.
std::string DesktopEntryText(const FileTypeRegistration& registration) {
    const fs::path& program = registration.programPath;
    const std::vector<std::string>& printers = registration.printers;
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += kEntryNames;
    // Hides the entry once the program it names is gone, until a start writes it anew.
    text += "TryExec=" + entryValue(program.string()) + '\n';
    text += execLine(program, " %F");
    text += kEntryKinds;
    text += "Actions=Print;";
    for (std::size_t i = 1; i <= printers.size(); ++i) {
        text += "PrintTo" + std::to_string(i) + ';';
    }
    text += '\n' + std::string(kOwnMark) + std::string(kFileTypeId) + '\n';

    text += "\n[Desktop Action Print]\nName=Print\n" + execLine(program, " -p %f");
    // A launcher cannot ask for a printer, so each printer gets its own verb.
    for (std::size_t i = 0; i < printers.size(); ++i) {
        text += "\n[Desktop Action PrintTo" + std::to_string(i + 1) + "]\n";
        text += "Name=Print to " + entryValue(printers[i]) + '\n';
        text += execLine(program, " -pt %f " + execArgument(printers[i]));
    }
    return text;
}

FileTypeResult RegisterFileTypes(const FileTypeRegistration& registration, const DetachedRunner& run) {
    try {
        return registerFiles(registration, run);
    } catch (const std::exception& error) {
        return {false, false, std::string("Cannot register the file type: ") + error.what(), {}};
    }
}

FileTypeResult UnregisterFileTypes(const fs::path& dataHome, const DetachedRunner& run) {
    try {
        return unregisterFiles(dataHome, run);
    } catch (const std::exception& error) {
        return {false, false, std::string("Cannot unregister the file type: ") + error.what(), {}};
    }
}

FileTypeResult RegisterFileTypes(std::string_view programPath, const DetachedRunner& run) {
    FileTypeRegistration registration;
    registration.dataHome = UserDataHome();
    registration.dataDirs = SystemDataDirs();
    registration.programPath = programPath;
    return RegisterFileTypes(registration, run);
}

FileTypeResult UnregisterFileTypes(const DetachedRunner& run) {
    return UnregisterFileTypes(UserDataHome(), run);
}

} // namespace stirpex
