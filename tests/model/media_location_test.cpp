#include "model/media_location.h"

#include "model/media_archive.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace stirpex {
namespace {

namespace fs = std::filesystem;

// An archive held in a map, in the order of its names.
class MapArchive final : public MediaArchive {
public:
    explicit MapArchive(std::initializer_list<std::pair<const std::string, std::string>> entries)
        : m_entries(entries) {}
    std::vector<MediaEntry> Entries() const override {
        std::vector<MediaEntry> entries;
        for (const auto& [name, bytes] : m_entries) {
            entries.push_back({name, static_cast<std::int64_t>(bytes.size())});
        }
        return entries;
    }
    std::optional<std::string> ReadEntry(std::string_view name) const override {
        const auto it = m_entries.find(std::string(name));
        return it == m_entries.end() ? std::nullopt : std::optional<std::string>(it->second);
    }

private:
    std::map<std::string, std::string> m_entries;
};

class MediaLocationTest : public test::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        // The GEDCOM file's folder, inside the scratch folder so that a file beside it is not in it.
        m_folder = m_dir / "tree";
        fs::create_directories(m_folder / "Photos" / "Old");
    }
    fs::path put(const std::string& name) const { return write("tree/" + name, "bytes"); }
    MediaLocation locate(std::string_view file, const MediaArchive* archive = nullptr) const {
        return LocateMedia(file, MediaSearch{m_folder, archive});
    }

    fs::path m_folder;
};

TEST_F(MediaLocationTest, RelativePathIsTakenFromTheGedcomFilesFolder) {
    const fs::path photo = put("Photos/anna.jpg");
    for (const std::string_view value :
         {"Photos/anna.jpg", "./Photos/anna.jpg", "Photos\\anna.jpg", " Photos/anna.jpg "}) {
        const MediaLocation found = locate(value);
        EXPECT_EQ(found.place, MediaPlace::File) << value;
        EXPECT_EQ(fs::weakly_canonical(found.path), fs::weakly_canonical(photo)) << value;
    }
}

TEST_F(MediaLocationTest, AbsolutePathThatExistsIsTakenAsItIs) {
    const fs::path outside = write("elsewhere.png", "bytes");
    const MediaLocation found = locate(outside.string());
    EXPECT_EQ(found.place, MediaPlace::File);
    EXPECT_EQ(found.path, outside);
}

// Another machine's paths: the last folder and the name first, then the name alone.
TEST_F(MediaLocationTest, ForeignAbsolutePathsAreFoundByTheirLastParts) {
    const fs::path byName = put("anna.jpg");
    const fs::path byFolder = put("Photos/bert.jpg");
    const struct {
        std::string_view value;
        fs::path expected;
    } cases[] = {
        {"C:\\Users\\Ann\\Pictures\\anna.jpg", byName}, {"c:/Users/Ann/anna.jpg", byName},
        {"\\\\server\\share\\anna.jpg", byName},        {"/home/ann/anna.jpg", byName},
        {"D:\\Family\\Photos\\bert.jpg", byFolder},     {"file:///C:/Family/Photos/bert.jpg", byFolder},
        {"file://server/share/anna.jpg", byName},       {"file:///home/ann/Photos/b%65rt.jpg", byFolder},
    };
    for (const auto& c : cases) {
        const MediaLocation found = locate(c.value);
        EXPECT_EQ(found.place, MediaPlace::File) << c.value;
        EXPECT_EQ(found.path, c.expected) << c.value;
    }
}

TEST_F(MediaLocationTest, NamesDifferingInCaseOnlyAreFoundWhenTheExactOneIsMissing) {
    const fs::path deep = put("Photos/Old/Carl.JPG");
    EXPECT_EQ(locate("photos/OLD/carl.jpg").path, deep);
    const fs::path photo = put("Photos/Dora.JPG");
    EXPECT_EQ(locate("C:\\photos\\dora.jpg").path, photo);
    // At each step a name as written wins over one that differs in case.
    const fs::path exact = put("Photos/dora.jpg");
    EXPECT_EQ(locate("C:\\photos\\dora.jpg").path, exact);
}

TEST_F(MediaLocationTest, UrlsStayUrlsAndAreNeverLookedFor) {
    for (const std::string_view url : {"http://example.org/a.jpg", "HTTPS://example.org/a.jpg", "ftp://host/x.tif"}) {
        const MediaLocation found = locate(url);
        EXPECT_EQ(found.place, MediaPlace::Url) << url;
        EXPECT_EQ(found.name, url);
        EXPECT_TRUE(found.tried.empty()) << url;
    }
}

TEST_F(MediaLocationTest, ArchiveEntryByExactNameThenByFileName) {
    const MapArchive archive(
        {{"gedcom.ged", "0 HEAD"}, {"media/anna.jpg", "a"}, {"other/anna.jpg", "b"}, {"scans/Deed.PDF", "c"}});
    const struct {
        std::string_view value;
        std::string_view entry;
    } cases[] = {
        {"other/anna.jpg", "other/anna.jpg"},
        {"other\\anna.jpg", "other/anna.jpg"},
        {"C:\\Genealogy\\anna.jpg", "media/anna.jpg"},
        {"scans/deed.pdf", "scans/Deed.PDF"},
        {"deed.pdf", "scans/Deed.PDF"},
    };
    for (const auto& c : cases) {
        const MediaLocation found = locate(c.value, &archive);
        EXPECT_EQ(found.place, MediaPlace::ArchiveEntry) << c.value;
        EXPECT_EQ(found.name, c.entry) << c.value;
    }
}

TEST_F(MediaLocationTest, ArchiveWithoutTheEntryLeavesTheFolderToLookIn) {
    const fs::path photo = put("beside.png");
    const MapArchive archive({{"gedcom.ged", "0 HEAD"}});
    const MediaLocation found = locate("beside.png", &archive);
    EXPECT_EQ(found.place, MediaPlace::File);
    EXPECT_EQ(found.path, photo);
}

TEST_F(MediaLocationTest, NotFoundListsEveryPlaceTried) {
    const MapArchive archive({{"gedcom.ged", "0 HEAD"}});
    const MediaLocation found = locate("C:\\Photos\\gone.jpg", &archive);
    EXPECT_EQ(found.place, MediaPlace::NotFound);
    const std::vector<std::string> tried = {
        "Photos/gone.jpg (in the archive)",
        "gone.jpg (in the archive, any folder)",
        (m_folder / "Photos/gone.jpg").string(),
        (m_folder / "gone.jpg").string(),
    };
    EXPECT_EQ(found.tried, tried);

    const MediaLocation absolute = locate("/nowhere/gone.jpg");
    EXPECT_EQ(absolute.tried, (std::vector<std::string>{"/nowhere/gone.jpg", (m_folder / "nowhere/gone.jpg").string(),
                                                        (m_folder / "gone.jpg").string()}));
}

TEST_F(MediaLocationTest, NothingToLookForWithoutANameOrAFolder) {
    for (const std::string_view value : {"", "   ", "C:\\", "\\\\", "./"}) {
        const MediaLocation found = locate(value);
        EXPECT_EQ(found.place, MediaPlace::NotFound) << value;
        EXPECT_TRUE(found.tried.empty()) << value;
    }
    put("anna.jpg");
    EXPECT_EQ(LocateMedia("anna.jpg", MediaSearch{}).place, MediaPlace::NotFound);
    // A folder of the name is not the file.
    EXPECT_EQ(locate("Photos").place, MediaPlace::NotFound);
}

TEST(MediaKind, ImagesByFormOrExtension) {
    const struct {
        std::string_view file, form;
        bool image;
    } cases[] = {
        {"a.jpg", "", true},
        {"a.JPEG", "", true},
        {"C:\\x\\scan.Tiff", "", true},
        {"a.webp", "", true},
        {"a.svg", "", true},
        {"a.gif", "", true},
        {"a.bmp", "", true},
        {"a.png", "", true},
        {"deed.pdf", "", false},
        {"noextension", "", false},
        {"dir.jpg/readme", "", false},
        {"scan", "jpg", true},
        {"scan", "image/png", true},
        {"scan", "IMAGE/X-ICON", true},
        {"scan.dat", "pdf", false},
        {"photo.jpg", "url", true},
        {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsImageMedia(c.file, c.form), c.image) << c.file << " / " << c.form;
    }
}

} // namespace
} // namespace stirpex
