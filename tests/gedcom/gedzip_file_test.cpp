#include "gedcom/gedzip_file.h"

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"
#include "support/scratch_folder.h"
#include "support/zip_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <string>
#include <vector>

namespace stirpex {
namespace {

namespace fs = std::filesystem;
using test::ZipBytes;
using test::ZipEntry;

const std::string kText = "0 HEAD\r\n1 SOUR Archive\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Zo\u00EB /Lee/\r\n"
                          "1 OBJE\r\n2 FILE media/zo\u00EB.jpg\r\n0 TRLR\r\n";
// Bytes of every value, as an image's are.
const std::string kPhoto = [] {
    std::string bytes;
    for (int i = 0; i < 70000; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    return bytes;
}();

std::string ReadAll(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GedzipFile : public test::ScratchFolderTest {};

TEST_F(GedzipFile, TheTextIsReadFromInsideTheArchiveWithItsUncompressedLength) {
    for (const bool stored : {false, true}) {
        const OpenedFile opened = OpenGedzip(ZipBytes({{"gedcom.ged", kText, stored}}));
        ASSERT_EQ(opened.error, "");
        EXPECT_EQ(opened.length, static_cast<std::int64_t>(kText.size()));
        EXPECT_EQ(ReadAll(*opened.stream), kText);
        EXPECT_FALSE(opened.stream->bad());
    }
}

TEST_F(GedzipFile, MediaCanBeListedAndReadBack) {
    OpenedFile opened = OpenGedzip(ZipBytes({{"media/", ""},
                                             {"GEDCOM.GED", kText}, // writers differ in the case of the name
                                             {"media/zo\u00EB.jpg", kPhoto},
                                             {"notes.txt", "plain", true}}));
    ASSERT_EQ(opened.error, "");
    ASSERT_TRUE(opened.media);
    EXPECT_EQ(ReadAll(*opened.stream), kText);
    opened.stream.reset(); // the media outlive the text's stream
    const MediaArchive& media = *opened.media;
    EXPECT_EQ(media.Entries(), (std::vector<MediaEntry>{{"media/", 0},
                                                        {"GEDCOM.GED", static_cast<std::int64_t>(kText.size())},
                                                        {"media/zo\u00EB.jpg", 70000},
                                                        {"notes.txt", 5}}));
    EXPECT_EQ(media.ReadEntry("media/zo\u00EB.jpg"), kPhoto);
    EXPECT_EQ(media.ReadEntry("notes.txt"), "plain");
    EXPECT_EQ(media.ReadEntry("media/"), "");
    EXPECT_EQ(media.ReadEntry("missing.jpg"), std::nullopt);
    EXPECT_EQ(media.ReadEntry("Notes.txt"), std::nullopt); // a media name is exact
    EXPECT_EQ(media.ReadEntry(std::string("notes.txt\0.jpg", 14)), std::nullopt);
}

TEST_F(GedzipFile, ArchivesAreKnownByTheirBytesAndByTheirName) {
    const std::string archive = ZipBytes({{"gedcom.ged", kText}});
    for (const char* name : {"family.gdz", "FAMILY.GDZ", "family.ged", "family"}) {
        CStirpexDoc doc;
        std::string error;
        const LoadResult result = LoadGedcomFile(doc, write(name, archive), {}, error);
        ASSERT_EQ(error, "") << name;
        EXPECT_EQ(result.statsText, "1 people, 0 families, 0 notes, 0 sources.") << name;
        EXPECT_EQ(doc.m_strFileName, name);
        EXPECT_EQ(doc.m_nFileLength, static_cast<std::int64_t>(kText.size()));
        EXPECT_EQ(doc.m_strSourceSystem, "Archive");
        EXPECT_EQ(doc.FindPerson("I1")->m_strGivenNames.view(), "Zo\u00EB");
        ASSERT_TRUE(doc.m_media) << name;
        EXPECT_EQ(doc.m_media->Entries().size(), 1u);
    }
    // A plain file has no media.
    CStirpexDoc plain;
    std::string error;
    LoadGedcomFile(plain, write("plain.ged", kText), {}, error);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(plain.m_media);
}

TEST_F(GedzipFile, WhatCannotBeOpenedSaysWhy) {
    const std::string archive = ZipBytes({{"gedcom.ged", kText}, {"photo.jpg", kPhoto}});
    const struct {
        const char* name;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"media-only.gdz", ZipBytes({{"photo.jpg", kPhoto}}), "The archive holds no gedcom.ged"},
        {"in-a-folder.gdz", ZipBytes({{"family/gedcom.ged", kText}}), "The archive holds no gedcom.ged"},
        {"empty-archive.gdz", std::string("PK\x05\x06", 4) + std::string(18, '\0'), "The archive holds no gedcom.ged"},
        {"plain.gdz", kText, "Not a zip archive"},
        {"empty.gdz", "", "Not a zip archive"},
        {"cut-short.gdz", archive.substr(0, archive.size() / 2), "Not a zip archive"},
    };
    for (const auto& c : cases) {
        const OpenedFile opened = OpenGedcomFile(write(c.name, c.bytes));
        EXPECT_EQ(opened.error, c.error) << c.name;
        EXPECT_FALSE(opened.stream) << c.name;
    }
}

// Damage inside the compressed text shows only as it is read: the read fails, as a disk's would.
TEST_F(GedzipFile, DamagedTextIsAReadError) {
    const std::string text(200000, 'x');
    std::string archive = ZipBytes({{"gedcom.ged", "0 HEAD\n1 NOTE " + text}});
    // The entry's data follows the local header's 30 bytes and its name's 10.
    constexpr std::size_t kDamaged = 30 + 10 + 4;
    archive[kDamaged] = static_cast<char>(archive[kDamaged] ^ 0x55);
    CStirpexDoc doc;
    std::string error;
    try {
        LoadGedcomFile(doc, write("damaged.gdz", archive), {}, error);
        ADD_FAILURE() << "the damage went unnoticed";
    } catch (const std::ios_base::failure& failure) {
        EXPECT_TRUE(std::string(failure.what()).starts_with("Zlib error")) << failure.what();
    }
}

} // namespace
} // namespace stirpex
