#include "shell/file_types.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace stirpex {
namespace {

namespace fs = std::filesystem;
using Commands = std::vector<std::vector<std::string>>;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, std::string_view text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class FileTypes : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_home = fs::temp_directory_path() / ("stirpex-file-types-" + std::string(test->name()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        m_registration.dataHome = m_home / "share";
        m_registration.dataDirs = {m_home / "usr/local/share", m_home / "usr/share"};
        m_registration.programPath = "/opt/stirpex/bin/stirpex";
    }
    void TearDown() override { fs::remove_all(m_home); }

    fs::path mimePackage() const { return m_registration.dataHome / "mime/packages/stirpex-gedcom.xml"; }
    fs::path desktopEntry() const {
        return m_registration.dataHome / "applications/example.tesselforge.Stirpex.desktop";
    }
    FileTypeResult registerRecording() {
        return RegisterFileTypes(m_registration, [this](const std::vector<std::string>& command) {
            m_commands.push_back(command);
            return true;
        });
    }

    fs::path m_home;
    FileTypeRegistration m_registration;
    Commands m_commands;
};

TEST(UserDataHome, AbsoluteXdgDataHomeElseHomeLocalShare) {
    EXPECT_EQ(UserDataHome("/x/data", "/home/ann"), fs::path("/x/data"));
    EXPECT_EQ(UserDataHome(nullptr, "/home/ann"), fs::path("/home/ann/.local/share"));
    EXPECT_EQ(UserDataHome("", "/home/ann"), fs::path("/home/ann/.local/share"));
    EXPECT_EQ(UserDataHome("relative/data", "/home/ann"), fs::path("/home/ann/.local/share"));
    EXPECT_EQ(UserDataHome(nullptr, nullptr), fs::path());
    EXPECT_EQ(UserDataHome("", "home/ann"), fs::path());
}

TEST_F(FileTypes, RegisterWritesTheMimePackageAndTheDesktopEntry) {
    m_registration.printers = {"Office Laser", "lp0"};
    const FileTypeResult result = registerRecording();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(readFile(mimePackage()), MimePackageText());
    EXPECT_EQ(readFile(desktopEntry()),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Stirpex\n"
              "GenericName=Genealogy Viewer\n"
              "Comment=Browse GEDCOM family files one person at a time\n"
              "Icon=stirpex\n"
              "TryExec=/opt/stirpex/bin/stirpex\n"
              "Exec=/opt/stirpex/bin/stirpex %F\n"
              "Terminal=false\n"
              "Categories=Office;Viewer;\n"
              "Keywords=genealogy;family tree;ancestors;descendants;GEDCOM;\n"
              "MimeType=text/vnd.familysearch.gedcom;application/x-gedcom;application/x-gedzip;\n"
              "Actions=Print;PrintTo1;PrintTo2;\n"
              "X-Stirpex-FileType=Stirpex.Document\n"
              "\n"
              "[Desktop Action Print]\n"
              "Name=Print\n"
              "Exec=/opt/stirpex/bin/stirpex -p %f\n"
              "\n"
              "[Desktop Action PrintTo1]\n"
              "Name=Print to Office Laser\n"
              "Exec=/opt/stirpex/bin/stirpex -pt %f \"Office Laser\"\n"
              "\n"
              "[Desktop Action PrintTo2]\n"
              "Name=Print to lp0\n"
              "Exec=/opt/stirpex/bin/stirpex -pt %f lp0\n");
    EXPECT_EQ(m_commands, (Commands{{"update-mime-database", (m_registration.dataHome / "mime").string()},
                                    {"update-desktop-database", (m_registration.dataHome / "applications").string()}}));
}

// The installed files live in res/desktop/, beside the samples' folder.
fs::path installedFile(std::string_view name) {
    return fs::path(STIRPEX_SAMPLES_DIR) / ".." / "res" / "desktop" / name;
}

// The keys of an entry's main group.
std::map<std::string, std::string> entryKeys(std::string_view text) {
    std::map<std::string, std::string> keys;
    std::istringstream lines{std::string(text)};
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && !line.starts_with('[')) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

// A start from the build folder must register exactly what the package
// installs, or the desktop would know two kinds of GEDCOM file and two faces
// of Stirpex depending on how it was started.
TEST_F(FileTypes, TheUsersCopyIsTheInstalledOneWithTheProgramsPath) {
    EXPECT_EQ(MimePackageText(), readFile(installedFile("stirpex-gedcom.xml")));

    const std::string installedText = readFile(installedFile("example.tesselforge.Stirpex.desktop"));
    ASSERT_TRUE(installedText.starts_with("[Desktop Entry]\n"));
    auto installed = entryKeys(installedText);
    auto user = entryKeys(DesktopEntryText(m_registration));
    EXPECT_EQ(installed["Exec"], "stirpex %F");
    EXPECT_EQ(user["Exec"], "/opt/stirpex/bin/stirpex %F");
    EXPECT_EQ(installed["TryExec"], "stirpex");
    EXPECT_EQ(user["TryExec"], "/opt/stirpex/bin/stirpex");
    EXPECT_EQ(installed.count("X-Stirpex-FileType"), 0u) << "a menu editor's copy would be taken for ours";
    for (const char* own : {"Exec", "TryExec", "Actions", "X-Stirpex-FileType"}) {
        installed.erase(own);
        user.erase(own);
    }
    EXPECT_EQ(user, installed);
}

// Launchers unescape the value first and then split the Exec line as a
// shell would; a path with blanks, "%", "$", a quote or a backslash must
// come back whole.
// The desktop's own tool must accept the package: a malformed one is
// silently ignored and .ged files stay unknown.
TEST_F(FileTypes, TheMimeDatabaseToolCompilesThePackage) {
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "update-mime-database is not installed";
    }
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    const fs::path mime = m_registration.dataHome / "mime";
    const std::string command = "update-mime-database '" + mime.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string globs = readFile(mime / "globs2");
    EXPECT_NE(globs.find("\n60:text/vnd.familysearch.gedcom:*.ged\n"), std::string::npos) << globs;
    EXPECT_NE(globs.find("\n60:text/vnd.familysearch.gedcom:*.gedcom\n"), std::string::npos) << globs;
    EXPECT_NE(globs.find("\n60:application/x-gedzip:*.gdz\n"), std::string::npos) << globs;
    EXPECT_EQ(readFile(mime / "aliases"), "application/x-gedcom text/vnd.familysearch.gedcom\n");
    const std::string subclasses = readFile(mime / "subclasses"); // in no fixed order
    EXPECT_NE(subclasses.find("text/vnd.familysearch.gedcom text/plain\n"), std::string::npos) << subclasses;
    EXPECT_NE(subclasses.find("application/x-gedzip application/zip\n"), std::string::npos) << subclasses;
    EXPECT_EQ(subclasses.size(), 77u) << subclasses;
    EXPECT_NE(readFile(mime / "magic").find("0 HEAD"), std::string::npos);
    EXPECT_NE(readFile(mime / "text/vnd.familysearch.gedcom.xml").find("<comment>Gedcom Document</comment>"),
              std::string::npos);
}

TEST_F(FileTypes, ExecQuotesAPathWithSpecialCharacters) {
    m_registration.programPath = "/opt/my apps/50%/a$b\"c\\d";
    const std::string entry = DesktopEntryText(m_registration);
    EXPECT_NE(entry.find("\nTryExec=/opt/my apps/50%/a$b\"c\\\\d\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/50%%/a\\\\$b\\\\\"c\\\\\\\\d\" %F\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/50%%/a\\\\$b\\\\\"c\\\\\\\\d\" -p %f\n"), std::string::npos) << entry;
}

TEST_F(FileTypes, IconsGoIntoTheHicolorThemeBySize) {
    m_registration.appIcons = {{16, "app16"}, {48, "app48"}};
    m_registration.documentIcons = {{32, "doc32"}};
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    const fs::path theme = m_registration.dataHome / "icons/hicolor";
    EXPECT_EQ(readFile(theme / "16x16/apps/stirpex.png"), "app16");
    EXPECT_EQ(readFile(theme / "48x48/apps/stirpex.png"), "app48");
    EXPECT_EQ(readFile(theme / "32x32/mimetypes/text-vnd.familysearch.gedcom.png"), "doc32");
}

TEST_F(FileTypes, UnchangedFilesAreLeftAloneAndOnlyWhatDiffersIsRewritten) {
    m_registration.appIcons = {{16, "app16"}};
    ASSERT_TRUE(registerRecording().ok);
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24);
    const fs::path icon = m_registration.dataHome / "icons/hicolor/16x16/apps/stirpex.png";
    for (const fs::path& path : {mimePackage(), desktopEntry(), icon}) {
        fs::last_write_time(path, past);
    }
    m_commands.clear();

    const FileTypeResult again = registerRecording();
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.changed);
    EXPECT_TRUE(m_commands.empty());
    for (const fs::path& path : {mimePackage(), desktopEntry(), icon}) {
        EXPECT_EQ(fs::last_write_time(path), past) << path;
    }

    // The program moved: only its entry is written anew.
    m_registration.programPath = "/usr/local/bin/stirpex";
    const FileTypeResult moved = registerRecording();
    EXPECT_TRUE(moved.ok);
    EXPECT_TRUE(moved.changed);
    EXPECT_EQ(m_commands, (Commands{{"update-desktop-database", (m_registration.dataHome / "applications").string()}}));
    EXPECT_EQ(fs::last_write_time(mimePackage()), past);
    EXPECT_NE(readFile(desktopEntry()).find("\nExec=/usr/local/bin/stirpex %F\n"), std::string::npos);

    // A package cut short by someone else is repaired.
    writeFile(mimePackage(), "<?xml");
    EXPECT_TRUE(registerRecording().changed);
    EXPECT_EQ(readFile(mimePackage()), MimePackageText());
}

TEST_F(FileTypes, UnregisterRemovesWhatRegisterWroteAndNothingElse) {
    m_registration.appIcons = {{16, "app16"}};
    m_registration.documentIcons = {{16, "doc16"}, {256, "doc256"}};
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    const fs::path neighbour = m_registration.dataHome / "applications/other.desktop";
    const fs::path otherIcon = m_registration.dataHome / "icons/hicolor/16x16/apps/other.png";
    writeFile(neighbour, "[Desktop Entry]\n");
    writeFile(otherIcon, "png");

    Commands commands;
    const auto record = [&commands](const std::vector<std::string>& command) {
        commands.push_back(command);
        return false; // a tool that cannot be started changes nothing
    };
    const FileTypeResult removed = UnregisterFileTypes(m_registration.dataHome, record);
    EXPECT_TRUE(removed.ok) << removed.error;
    EXPECT_TRUE(removed.changed);
    EXPECT_EQ(commands.size(), 2u);
    EXPECT_FALSE(fs::exists(mimePackage()));
    EXPECT_FALSE(fs::exists(desktopEntry()));
    const fs::path theme = m_registration.dataHome / "icons/hicolor";
    EXPECT_FALSE(fs::exists(theme / "16x16/apps/stirpex.png"));
    EXPECT_FALSE(fs::exists(theme / "16x16/mimetypes/text-vnd.familysearch.gedcom.png"));
    EXPECT_FALSE(fs::exists(theme / "256x256/mimetypes/text-vnd.familysearch.gedcom.png"));
    EXPECT_TRUE(fs::exists(neighbour));
    EXPECT_TRUE(fs::exists(otherIcon));

    const FileTypeResult twice = UnregisterFileTypes(m_registration.dataHome, record);
    EXPECT_TRUE(twice.ok);
    EXPECT_FALSE(twice.changed);
    EXPECT_EQ(commands.size(), 2u);
}

TEST_F(FileTypes, FoldersThatCannotBeWrittenGiveAnErrorText) {
    writeFile(m_home / "plain-file", "x");
    m_registration.dataHome = m_home / "plain-file/share";
    const FileTypeResult blocked = RegisterFileTypes(m_registration);
    EXPECT_FALSE(blocked.ok);
    EXPECT_FALSE(blocked.changed);
    EXPECT_EQ(blocked.error,
              "Cannot create the folder " + (m_home / "plain-file/share/mime/packages").string() + ": Not a directory");

    // A folder where the entry belongs: the package is written, the entry
    // fails, and no temporary file is left behind.
    m_registration.dataHome = m_home / "share";
    fs::create_directories(desktopEntry() / "inside");
    const FileTypeResult occupied =
        RegisterFileTypes(m_registration, [](const auto&) -> bool { throw std::runtime_error("no tools here"); });
    EXPECT_FALSE(occupied.ok);
    EXPECT_TRUE(occupied.changed);
    EXPECT_EQ(occupied.error, "Cannot write " + desktopEntry().string() + ": Is a directory");
    EXPECT_EQ(readFile(mimePackage()), MimePackageText());
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(desktopEntry().parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);

    // An entry that is no file is not ours to remove; the package is.
    fs::remove(mimePackage());
    fs::create_directories(mimePackage() / "inside");
    const FileTypeResult stuck = UnregisterFileTypes(m_registration.dataHome);
    EXPECT_FALSE(stuck.ok);
    EXPECT_EQ(stuck.error, "Cannot remove " + mimePackage().string() + ": Directory not empty");
}

TEST_F(FileTypes, MissingFoldersOrProgramPathAreErrorsNotCrashes) {
    m_registration.dataHome.clear();
    EXPECT_EQ(RegisterFileTypes(m_registration).error,
              "No folder for the desktop's files: neither XDG_DATA_HOME nor HOME is usable");
    EXPECT_FALSE(UnregisterFileTypes(fs::path()).ok);

    m_registration.dataHome = m_home / "share";
    m_registration.programPath = "stirpex";
    const FileTypeResult relative = RegisterFileTypes(m_registration);
    EXPECT_FALSE(relative.ok);
    EXPECT_EQ(relative.error, "The program's own path is unknown: stirpex");
    EXPECT_FALSE(fs::exists(m_registration.dataHome));
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        const char* const saved = std::getenv(name);
        m_had = saved != nullptr;
        m_previous = m_had ? saved : "";
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_had) {
            ::setenv(m_name, m_previous.c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_previous;
};

TEST_F(FileTypes, WithoutFoldersTheEnvironmentsAreUsed) {
    const ScopedEnv dataHome("XDG_DATA_HOME", m_registration.dataHome.string());
    const ScopedEnv dataDirs("XDG_DATA_DIRS", (m_home / "usr/share").string());
    EXPECT_TRUE(RegisterFileTypes(std::string_view("/usr/bin/stirpex")).changed);
    EXPECT_NE(readFile(desktopEntry()).find("\nExec=/usr/bin/stirpex %F\n"), std::string::npos);

    writeFile(m_home / "usr/share/applications/example.tesselforge.Stirpex.desktop", "[Desktop Entry]\n");
    const FileTypeResult installed = RegisterFileTypes(std::string_view("/usr/bin/stirpex"));
    EXPECT_TRUE(installed.changed);
    EXPECT_FALSE(fs::exists(desktopEntry()));

    writeFile(desktopEntry(), DesktopEntryText(m_registration));
    EXPECT_TRUE(UnregisterFileTypes().changed);
    EXPECT_FALSE(fs::exists(desktopEntry()));
}

TEST(SystemDataDirs, AbsoluteFoldersInOrderElseTheDefaults) {
    using Dirs = std::vector<fs::path>;
    EXPECT_EQ(SystemDataDirs("/opt/share:/usr/share"), (Dirs{"/opt/share", "/usr/share"}));
    EXPECT_EQ(SystemDataDirs("relative::/usr/share/:"), (Dirs{"/usr/share/"}));
    EXPECT_EQ(SystemDataDirs(""), (Dirs{"/usr/local/share", "/usr/share"}));
    EXPECT_EQ(SystemDataDirs("relative"), (Dirs{"/usr/local/share", "/usr/share"}));
    EXPECT_EQ(SystemDataDirs(nullptr), (Dirs{"/usr/local/share", "/usr/share"}));
}

TEST_F(FileTypes, AnEntryInASystemFolderMeansInstalledButNotTheUsersOwnFolder) {
    EXPECT_EQ(InstalledDesktopEntry(m_registration.dataDirs, m_registration.dataHome), fs::path());

    // A desktop session may list the user's own folder among the system's,
    // by another spelling; the copy written there is no installation.
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    const std::vector<fs::path> withHome = {m_home / "share/./", m_home / "usr/share"};
    EXPECT_EQ(InstalledDesktopEntry(withHome, m_registration.dataHome), fs::path());
    EXPECT_TRUE(RegisterFileTypes(m_registration).ok);
    EXPECT_TRUE(fs::exists(desktopEntry()));

    const fs::path usrShare = m_home / "usr/share/applications/example.tesselforge.Stirpex.desktop";
    const fs::path usrLocal = m_home / "usr/local/share/applications/example.tesselforge.Stirpex.desktop";
    writeFile(usrShare, "[Desktop Entry]\n");
    EXPECT_EQ(InstalledDesktopEntry(withHome, m_registration.dataHome), usrShare);
    writeFile(usrLocal, "[Desktop Entry]\n");
    EXPECT_EQ(InstalledDesktopEntry(m_registration.dataDirs, m_registration.dataHome), usrLocal);
    // Another id, or a folder where the entry belongs, is not ours.
    fs::remove(usrLocal);
    fs::remove(usrShare);
    writeFile(m_home / "usr/share/applications/Stirpex.desktop", "[Desktop Entry]\n");
    fs::create_directories(usrLocal);
    EXPECT_EQ(InstalledDesktopEntry(m_registration.dataDirs, m_registration.dataHome), fs::path());
}

// The menu must show one Stirpex: once installed, the copy a start from the
// build folder wrote goes, and none is written again.
TEST_F(FileTypes, WhenInstalledTheUsersCopyIsRemovedAndNotWrittenAgain) {
    m_registration.appIcons = {{16, "app16"}};
    m_registration.documentIcons = {{48, "doc48"}};
    ASSERT_TRUE(registerRecording().ok);
    const fs::path theme = m_registration.dataHome / "icons/hicolor";
    const fs::path installed = m_home / "usr/share/applications/example.tesselforge.Stirpex.desktop";
    writeFile(installed, "[Desktop Entry]\n");
    const fs::path otherEntry = m_registration.dataHome / "applications/other.desktop";
    writeFile(otherEntry, "[Desktop Entry]\nX-Stirpex-FileType=Stirpex.Document\n");
    m_commands.clear();

    const FileTypeResult result = registerRecording();
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.installedEntry, installed);
    EXPECT_FALSE(fs::exists(desktopEntry()));
    EXPECT_FALSE(fs::exists(mimePackage()));
    EXPECT_FALSE(fs::exists(theme / "16x16/apps/stirpex.png"));
    EXPECT_FALSE(fs::exists(theme / "48x48/mimetypes/text-vnd.familysearch.gedcom.png"));
    EXPECT_TRUE(fs::exists(otherEntry));
    EXPECT_TRUE(fs::exists(installed));
    EXPECT_EQ(m_commands, (Commands{{"update-mime-database", (m_registration.dataHome / "mime").string()},
                                    {"update-desktop-database", (m_registration.dataHome / "applications").string()}}));

    m_commands.clear();
    const FileTypeResult again = registerRecording();
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.changed);
    EXPECT_TRUE(m_commands.empty());
    EXPECT_FALSE(fs::exists(desktopEntry()));

    // An entry of our id that a menu editor made from the installed one is the user's.
    writeFile(desktopEntry(), "[Desktop Entry]\nName=My genealogy\nExec=stirpex %F\n");
    EXPECT_FALSE(registerRecording().changed);
    EXPECT_TRUE(fs::exists(desktopEntry()));
    EXPECT_FALSE(UnregisterFileTypes(m_registration.dataHome).changed);
    EXPECT_TRUE(fs::exists(desktopEntry()));
}

// Earlier versions wrote their entry under another id and the alias as a
// type of its own: left behind, the menu would show two Stirpex.
TEST_F(FileTypes, WhatEarlierVersionsWroteIsRemoved) {
    const fs::path oldEntry = m_registration.dataHome / "applications/Stirpex.Document.desktop";
    const fs::path oldIcon = m_registration.dataHome / "icons/hicolor/32x32/mimetypes/application-x-gedcom.png";
    const auto writeOldFiles = [&] {
        writeFile(oldEntry, "[Desktop Entry]\nName=Stirpex\nX-Stirpex-FileType=Stirpex.Document\n");
        writeFile(oldIcon, "png");
        writeFile(mimePackage(), "<mime-type type=\"application/x-gedcom\">");
    };
    writeOldFiles();
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    EXPECT_FALSE(fs::exists(oldEntry));
    EXPECT_FALSE(fs::exists(oldIcon));
    EXPECT_EQ(readFile(mimePackage()), MimePackageText());

    writeOldFiles();
    writeFile(m_home / "usr/share/applications/example.tesselforge.Stirpex.desktop", "[Desktop Entry]\n");
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    EXPECT_FALSE(fs::exists(oldEntry));
    EXPECT_FALSE(fs::exists(oldIcon));
    EXPECT_FALSE(fs::exists(mimePackage()));
}

} // namespace
} // namespace stirpex
