#include "shell/file_types.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

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
        m_registration.programPath = "/opt/stirpex/bin/stirpex";
    }
    void TearDown() override { fs::remove_all(m_home); }

    fs::path mimePackage() const { return m_registration.dataHome / "mime/packages/stirpex-gedcom.xml"; }
    fs::path desktopEntry() const { return m_registration.dataHome / "applications/Stirpex.Document.desktop"; }
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
    EXPECT_EQ(readFile(mimePackage()), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<!-- Written by Stirpex at every start; its unregister option removes it. -->\n"
                                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                       "  <mime-type type=\"application/x-gedcom\">\n"
                                       "    <comment>Gedcom Document</comment>\n"
                                       "    <sub-class-of type=\"text/plain\"/>\n"
                                       "    <generic-icon name=\"text-x-generic\"/>\n"
                                       "    <glob pattern=\"*.ged\"/>\n"
                                       "  </mime-type>\n"
                                       "</mime-info>\n");
    EXPECT_EQ(readFile(desktopEntry()), "[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Stirpex\n"
                                        "Comment=Gedcom Document\n"
                                        "Icon=stirpex\n"
                                        "TryExec=/opt/stirpex/bin/stirpex\n"
                                        "Exec=/opt/stirpex/bin/stirpex %f\n"
                                        "Terminal=false\n"
                                        "Categories=Office;Viewer;\n"
                                        "MimeType=application/x-gedcom;\n"
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
    EXPECT_NE(readFile(mime / "globs2").find("\n50:application/x-gedcom:*.ged\n"), std::string::npos);
    EXPECT_NE(readFile(mime / "subclasses").find("application/x-gedcom text/plain\n"), std::string::npos);
    EXPECT_NE(readFile(mime / "application/x-gedcom.xml").find("<comment>Gedcom Document</comment>"),
              std::string::npos);
}

TEST_F(FileTypes, ExecQuotesAPathWithSpecialCharacters) {
    m_registration.programPath = "/opt/my apps/50%/a$b\"c\\d";
    const std::string entry = DesktopEntryText(m_registration);
    EXPECT_NE(entry.find("\nTryExec=/opt/my apps/50%/a$b\"c\\\\d\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/50%%/a\\\\$b\\\\\"c\\\\\\\\d\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/50%%/a\\\\$b\\\\\"c\\\\\\\\d\" -p %f\n"), std::string::npos) << entry;
}

TEST_F(FileTypes, IconsGoIntoTheHicolorThemeBySize) {
    m_registration.appIcons = {{16, "app16"}, {48, "app48"}};
    m_registration.documentIcons = {{32, "doc32"}};
    ASSERT_TRUE(RegisterFileTypes(m_registration).ok);
    const fs::path theme = m_registration.dataHome / "icons/hicolor";
    EXPECT_EQ(readFile(theme / "16x16/apps/stirpex.png"), "app16");
    EXPECT_EQ(readFile(theme / "48x48/apps/stirpex.png"), "app48");
    EXPECT_EQ(readFile(theme / "32x32/mimetypes/application-x-gedcom.png"), "doc32");
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
    EXPECT_NE(readFile(desktopEntry()).find("\nExec=/usr/local/bin/stirpex %f\n"), std::string::npos);

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
    EXPECT_FALSE(fs::exists(theme / "16x16/mimetypes/application-x-gedcom.png"));
    EXPECT_FALSE(fs::exists(theme / "256x256/mimetypes/application-x-gedcom.png"));
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

    const FileTypeResult stuck = UnregisterFileTypes(m_registration.dataHome);
    EXPECT_FALSE(stuck.ok);
    EXPECT_EQ(stuck.error, "Cannot remove " + desktopEntry().string() + ": Directory not empty");
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

TEST_F(FileTypes, WithoutAFolderTheUsersDataHomeIsUsed) {
    const char* const saved = std::getenv("XDG_DATA_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("XDG_DATA_HOME", m_registration.dataHome.c_str(), 1);
    EXPECT_TRUE(RegisterFileTypes(std::string_view("/usr/bin/stirpex")).changed);
    EXPECT_NE(readFile(desktopEntry()).find("\nExec=/usr/bin/stirpex %f\n"), std::string::npos);
    EXPECT_TRUE(UnregisterFileTypes().changed);
    EXPECT_FALSE(fs::exists(desktopEntry()));
    if (saved != nullptr) {
        ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace stirpex
