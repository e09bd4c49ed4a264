// The file read in parts on several threads gives exactly the document one
// pass gives: its dump, its reading log, its encoding, its statistics, also
// where the parts are a single record each and lines act across records.

#include "gedcom/comparable_dump.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace stirpex {
namespace {

class RecordingProgress : public ProgressSink {
public:
    struct Window : ProgressWindow {
        explicit Window(std::vector<int>& positions) : m_positions(positions) {}
        void SetPos(int percent) override { m_positions.push_back(percent); }
        std::vector<int>& m_positions;
    };
    std::unique_ptr<ProgressWindow> Create(std::string_view) override { return std::make_unique<Window>(positions); }
    std::vector<int> positions;
};

struct Reading {
    std::string dump;
    std::string log;
    EncodingDecision encoding;
    std::vector<int> progress;
};

Reading Read(const std::string& bytes, unsigned threads, std::size_t partBytes) {
    CStirpexDoc doc;
    RecordingProgress progress;
    LoadEnvironment env;
    env.progress = &progress;
    env.threads = threads;
    env.partBytes = partBytes;
    LoadResult result;
    std::string dump = test::LoadComparable(doc, bytes, env, result);
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded);
    return {std::move(dump), test::LogText(doc.m_readingLog), doc.m_encoding, progress.positions};
}

// One pass against parts of `partBytes` on three threads.
void ExpectSameInParts(const std::string& bytes, std::size_t partBytes, const std::string& name) {
    const Reading whole = Read(bytes, 1, 0);
    const Reading parts = Read(bytes, 3, partBytes);
    EXPECT_EQ(whole.dump, parts.dump) << name << " in parts of " << partBytes;
    EXPECT_EQ(whole.log, parts.log) << name << " in parts of " << partBytes;
    EXPECT_EQ(whole.encoding, parts.encoding) << name << " in parts of " << partBytes;
    // Parts advance the bar a part at a time, but to the same end.
    ASSERT_EQ(whole.progress.empty(), parts.progress.empty()) << name;
    if (!whole.progress.empty()) {
        EXPECT_EQ(whole.progress.back(), parts.progress.back()) << name;
    }
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PartReader, EveryFileOfTheRepositoryReadsAlikeInManyParts) {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {STIRPEX_REPO_CORPUS_DIR, STIRPEX_TEST_DATA_DIR, STIRPEX_SAMPLES_DIR}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".ged") {
                files.push_back(entry.path());
            }
        }
    }
    ASSERT_GT(files.size(), 20U);
    for (const auto& file : files) {
        const std::string bytes = FileBytes(file);
        // About fifty parts a file, and for the small ones a part per record.
        ExpectSameInParts(bytes, std::max<std::size_t>(bytes.size() / 50, 64), file.filename().string());
        if (bytes.size() < 100000) {
            ExpectSameInParts(bytes, 1, file.filename().string());
        }
    }
}

// Lines that act on what an earlier record made, or on the file as a whole:
// a part that holds them cannot be read on its own.
TEST(PartReader, LinesThatReachBackAcrossRecordsReadAsInOnePass) {
    const std::string head = "0 HEAD\n1 CHAR UTF-8\n1 GEDC\n2 VERS 5.5.1\n";
    const std::string cases[] = {
        // The current note, source and external reference outlive their record.
        "0 @N1@ NOTE first\n0 @I1@ INDI\n1 NOTE @N1@\n2 CONT more of N1\n",
        "0 @I1@ INDI\n1 SOUR inline title\n0 @I2@ INDI\n1 BIRT\n2 SOUR @S1@\n3 TEXT to the current source\n",
        "0 @O1@ OBJE\n0 @I1@ INDI\n1 OBJE @O1@\n2 FILE photo.jpg\n2 TITL A photo\n",
        "0 @F1@ FAM\n1 OBJE\n0 @S1@ SOUR\n1 FILE x.jpg\n",
        // A deeper line right after a level-0 line is kept under the level-1 line held last.
        "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 RESI Paris\n0 @I2@ INDI\n2 DATE 1900\n3 NOTE under it\n",
        // Header fields and the character set, set from any record.
        "0 @I1@ INDI\n1 NAME A\n0 @I2@ INDI\n1 CHAR ANSEL\n1 NAME \xE2"
        "e\n0 @I3@ INDI\n1 NAME \xE2"
        "e\n",
        "0 @I1@ INDI\n0 @I2@ INDI\n1 DEST elsewhere\n0 @X1@ SUBM\n1 NAME Sam /Smith/\n",
        "0 @I1@ INDI\n0 HEAD\n1 GEDC\n2 VERS 7.0\n0 @I2@ INDI\n1 NAME @@at /x/\n",
        // Duplicate keys: the later record is found.
        "0 @I1@ INDI\n1 NAME First\n0 @I1@ INDI\n1 NAME Second\n0 @F1@ FAM\n1 HUSB @I1@\n",
        // Generated keys in file order across parts.
        "0 @I1@ INDI\n1 NOTE a\n1 SOUR b\n1 OBJE\n2 FILE c\n0 @I2@ INDI\n1 NOTE d\n0 @I3@ INDI\n1 NOTE e\n",
        // Lines at the cut: CR LF, lone CR, CONC, level-0 lines of odd shape.
        "0 @I1@ INDI\r\n1 NOTE x\r\n2 CONC y\r\n0 @I2@ INDI\r1 NAME B\r0 CONC z\n05 junk\n0\n0 @N1@ NOTE a\n1 CONC b\n",
        // Undecodable bytes and skipped lines, numbered in the file.
        "0 @I1@ INDI\n1 NAME \xFF\xFE\n0 @I2@ INDI\n1 ZZZ skipped\n0 YYY\nno level\n0 @I3@ INDI\n1 ZZZ again\n",
    };
    for (const std::string& body : cases) {
        for (const std::size_t partBytes : {1, 16, 40}) {
            ExpectSameInParts(head + body + "0 TRLR\n", partBytes, body);
        }
    }
}

// Past 200 different tags, the log counts new ones together: the parts'
// logs are joined in the order their tags were first met.
TEST(PartReader, ManySkippedTagsAreLumpedAsInOnePass) {
    std::string text = "0 HEAD\n";
    for (int i = 0; i < 450; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 Z" + std::to_string(i % 230) + " x\n1 Q" +
                std::to_string(i % 7) + " y\n";
    }
    for (const std::size_t partBytes : {1, 300, 5000}) {
        ExpectSameInParts(text, partBytes, "many tags");
    }
}

// A file made of every kind of record, long enough for thousands of parts.
TEST(PartReader, GeneratedFileReadsAlikeInPartsOfEverySize) {
    std::string text = "0 HEAD\n1 SOUR writer\n1 CHAR ANSEL\n1 GEDC\n2 VERS 5.5.1\n";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        text += "0 @I" + n +
                "@ INDI\n1 NAME Jos\xE2"
                "e /Ma\xF0"
                "c" +
                n + "/\n1 SEX " + (i % 2 ? "M" : "F") + "\n1 BIRT\n2 DATE " + std::to_string(1700 + i % 200) +
                "\n2 PLAC Town " + n + "\n2 SOUR @S1@\n3 PAGE p. " + n + "\n1 FAMC @F" + std::to_string(i / 3) +
                "@\n1 NOTE inline " + n + "\n2 CONC tinued\n2 CONT next\n";
        if (i % 3 == 0) {
            text += "0 @F" + std::to_string(i / 3) + "@ FAM\n1 HUSB @I" + n + "@\n1 MARR\n2 DATE ABT 1750\n";
        }
        if (i % 50 == 0) {
            text += "0 @N" + n + "@ NOTE a note\n1 CONT line\n0 @S" + n + "@ SOUR\n1 TITL Book " + n + "\n";
        }
    }
    text += "0 TRLR\n";
    for (const std::size_t partBytes : {1, 100, 1000, 20000}) {
        ExpectSameInParts(text, partBytes, "generated");
    }
}

} // namespace
} // namespace stirpex
