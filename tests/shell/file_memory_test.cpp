#include "shell/file_memory.h"

#include "gedcom/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

FileMemory memory(std::string path, std::string home = {}, std::string last = {}, int width = 0, int height = 0) {
    FileMemory m;
    m.path = std::move(path);
    m.homeKey = std::move(home);
    m.lastKey = std::move(last);
    m.width = width;
    m.height = height;
    return m;
}

std::vector<std::string> paths(const FileMemories& memories) {
    std::vector<std::string> out;
    for (const FileMemory& memory : memories.Entries()) {
        out.push_back(memory.path);
    }
    return out;
}

TEST(FileMemories, NewestFirstOnePerFileAndAtMostFifty) {
    FileMemories memories;
    memories.Remember(memory("/a.ged", "I1", "I2", 500, 400));
    memories.Remember(memory("/b.ged", "", "I9"));
    memories.Remember(memory("/a.ged", "I3", "I4", 640, 480));
    EXPECT_EQ(paths(memories), (std::vector<std::string>{"/a.ged", "/b.ged"}));
    ASSERT_NE(memories.Find("/a.ged"), nullptr);
    EXPECT_EQ(memories.Find("/a.ged")->homeKey, "I3");
    EXPECT_EQ(memories.Find("/a.ged")->width, 640);
    EXPECT_EQ(memories.Find("/c.ged"), nullptr);
    for (int i = 0; i < 60; ++i) {
        memories.Remember(memory("/many/" + std::to_string(i) + ".ged"));
    }
    EXPECT_EQ(memories.Entries().size(), FileMemories::kMaxFiles);
    EXPECT_EQ(memories.Entries().front().path, "/many/59.ged");
    EXPECT_EQ(memories.Entries().back().path, "/many/10.ged");
    EXPECT_EQ(memories.Find("/a.ged"), nullptr);
}

// A settings file edited by hand, or written by an older run, must not grow the list nor repeat a file.
TEST(FileMemories, StoredListIsCleanedUpInItsOrder) {
    std::vector<FileMemory> stored = {memory("/x.ged", "I1"), memory(""), memory("/y.ged"), memory("/x.ged", "I7")};
    for (int i = 0; i < 60; ++i) {
        stored.push_back(memory("/more/" + std::to_string(i) + ".ged"));
    }
    const FileMemories memories(std::move(stored));
    EXPECT_EQ(memories.Entries().size(), FileMemories::kMaxFiles);
    EXPECT_EQ(memories.Entries()[0].path, "/x.ged");
    EXPECT_EQ(memories.Entries()[0].homeKey, "I1");
    EXPECT_EQ(memories.Entries()[1].path, "/y.ged");
    EXPECT_EQ(memories.Entries()[2].path, "/more/0.ged");
}

constexpr std::string_view kTwo = "0 @I1@ INDI\n1 NAME Ann /Lee/\n0 @I2@ INDI\n1 NAME Bob /Lee/\n0 TRLR\n";

TEST(FileMemoryPersons, KeysThatNameNobodyNowAreIgnored) {
    const test::LoadedDoc loaded = test::LoadText(kTwo);
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(RememberedPerson(doc, memory("/f.ged", "I1", "I2")), doc.FindPerson("I2"));
    EXPECT_EQ(RememberedHome(doc, memory("/f.ged", "I1", "I2")), doc.FindPerson("I1"));
    // The file changed since: the keys are gone, and the document's own start person stands.
    EXPECT_EQ(RememberedPerson(doc, memory("/f.ged", "I77", "I78")), nullptr);
    EXPECT_EQ(RememberedHome(doc, memory("/f.ged", "I77", "I78")), nullptr);
    EXPECT_EQ(RememberedPerson(doc, memory("/f.ged")), nullptr);
    EXPECT_EQ(RememberedHome(doc, memory("/f.ged")), nullptr);
}

TEST(FileMemoryPersons, StartOptionNamingAPersonWins) {
    const FileMemory remembered = memory("/f.ged", "", "I2");
    LoadEnvironment withOption;
    withOption.argumentText = "f.ged -i I1";
    const test::LoadedDoc named = test::LoadText(kTwo, withOption);
    EXPECT_EQ(named.doc->m_strStartID, "I1");
    EXPECT_EQ(RememberedPerson(*named.doc, remembered), nullptr);
    // An option naming nobody in this file leaves the choice to the memory.
    withOption.argumentText = "f.ged -i I404";
    const test::LoadedDoc unnamed = test::LoadText(kTwo, withOption);
    EXPECT_EQ(RememberedPerson(*unnamed.doc, remembered), unnamed.doc->FindPerson("I2"));
}

TEST(FileMemorySize, OnlySizesAWindowCanHave) {
    const auto size = [](int width, int height) {
        const std::optional<WindowSize> s = RememberedSize(memory("/f.ged", "", "", width, height));
        return s ? std::make_pair(s->width, s->height) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(size(640, 480), std::make_pair(640, 480));
    EXPECT_EQ(size(100, 16384), std::make_pair(100, 16384));
    EXPECT_EQ(size(0, 0), std::make_pair(-1, -1)); // never remembered
    EXPECT_EQ(size(99, 480), std::make_pair(-1, -1));
    EXPECT_EQ(size(640, -5), std::make_pair(-1, -1));
    EXPECT_EQ(size(640, 16385), std::make_pair(-1, -1));
}

} // namespace
} // namespace stirpex
