#include "gedcom/load_driver.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"
#include "support/memory_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace stirpex {
namespace {

// Records every window made and every position sent to it.
class RecordingProgress : public ProgressSink {
public:
    struct Window : ProgressWindow {
        explicit Window(std::vector<int>& positions, int throwFrom) : m_positions(positions), m_throwFrom(throwFrom) {}
        void SetPos(int percent) override {
            m_positions.push_back(percent);
            if (percent >= m_throwFrom) {
                throw std::bad_alloc();
            }
        }
        std::vector<int>& m_positions;
        int m_throwFrom;
    };

    std::unique_ptr<ProgressWindow> Create(std::string_view text) override {
        texts.emplace_back(text);
        return std::make_unique<Window>(positions, throwFrom);
    }

    std::vector<std::string> texts;
    std::vector<int> positions;
    int throwFrom = 1 << 30;
};

class RecordingMessages : public MessageSink {
public:
    void Show(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

class FakeNameIndex : public NameIndexBuilder {
public:
    bool Reserve(std::size_t entries) override {
        reserved.push_back(entries);
        return reserveSucceeds;
    }
    void Build(const CStirpexDoc& doc, ProgressSink* progress) override {
        builtFor.push_back(&doc);
        buildProgress = progress;
    }

    bool reserveSucceeds = true;
    std::vector<std::size_t> reserved;
    std::vector<const CStirpexDoc*> builtFor;
    ProgressSink* buildProgress = nullptr;
};

// `count` lines of `width` characters each ending in `lineEnd`.
std::string Lines(int count, std::size_t width, const std::string& lineEnd) {
    std::string line(width, 'x');
    line += lineEnd;
    std::string text;
    text.reserve(line.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

struct Harness {
    RecordingProgress progress;
    RecordingMessages messages;
    FakeNameIndex nameIndex;
    LoadEnvironment env(std::string_view arguments = {}) {
        return LoadEnvironment{&progress, &messages, &nameIndex, arguments};
    }
};

TEST(LoadDriverStatistics, CountsPeopleFamiliesNotesAndSources) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NOTE a\n1 SOUR inline\n0 @I2@ INDI\n0 @F1@ FAM\n"
                                       "0 @N1@ NOTE\n0 @S1@ SOUR\n0 @O1@ OBJE\n");
    EXPECT_EQ(loaded.result.statsText, "2 people, 1 families, 2 notes, 2 sources.");
    EXPECT_EQ(StatisticsText(*loaded.doc), loaded.result.statsText);
    EXPECT_EQ(loaded.result.outcome, LoadOutcome::Loaded);
}

TEST(LoadDriverStatistics, FilesWithoutRecordsGiveFourZeros) {
    for (const char* text : {"", "plain text\nwithout levels\n", "\n\n\n", "x 0 @I1@ INDI\n"}) {
        Harness h;
        const auto loaded = test::LoadText(text, h.env());
        EXPECT_EQ(loaded.result.statsText, "0 people, 0 families, 0 notes, 0 sources.") << text;
        EXPECT_EQ(loaded.result.outcome, LoadOutcome::Loaded);
        EXPECT_TRUE(h.progress.texts.empty());
        EXPECT_EQ(h.nameIndex.builtFor.size(), 1U);
    }
}

TEST(LoadDriverProgress, WindowOnlyForFilesLongerThan50000Bytes) {
    struct Case {
        std::size_t length;
        bool window;
    };
    for (const Case c : {Case{50000, false}, Case{50001, true}}) {
        Harness h;
        const std::string text = "0 HEAD\n" + std::string(c.length - 8, 'x') + "\n";
        ASSERT_EQ(text.size(), c.length);
        test::LoadText(text, h.env(), "big.ged");
        if (c.window) {
            EXPECT_EQ(h.progress.texts, std::vector<std::string>{"Reading GEDCOM file big.ged"});
        } else {
            EXPECT_TRUE(h.progress.texts.empty());
            EXPECT_TRUE(h.progress.positions.empty());
        }
    }
}

std::vector<int> Range(int first, int last) {
    std::vector<int> values;
    for (int i = first; i <= last; ++i) {
        values.push_back(i);
    }
    return values;
}

TEST(LoadDriverProgress, CrLfFileSendsEachPercentOnceUpTo100) {
    Harness h;
    test::LoadText(Lines(100, 998, "\r\n"), h.env());
    EXPECT_EQ(h.progress.positions, Range(1, 100));
}

// Each line counts two bytes of line end: with LF ends the count runs ahead of the file.
TEST(LoadDriverProgress, LfFileRunsPast100) {
    Harness h;
    test::LoadText(Lines(30000, 1, "\n"), h.env());
    EXPECT_EQ(h.progress.positions, Range(1, 150));
}

// Trimmed white space is not counted, so an indented file stops short of 100.
TEST(LoadDriverProgress, TrimmedWhiteSpaceIsNotCounted) {
    Harness h;
    const std::string line = "  " + std::string(29994, 'x') + " \t\r\n";
    test::LoadText(line + line, h.env());
    // 29994 + 2 per line of 60000 bytes: 49% after the first, 99% after the second.
    EXPECT_EQ(h.progress.positions, (std::vector<int>{49, 99}));
}

TEST(LoadDriverProgress, PercentagesOnlyRiseOverUnevenLines) {
    Harness h;
    // 15000 + 2, then 30 empty lines of 2, then 44936 + 2: 25, 25 (not resent), then 100.
    const std::string text = std::string(15000, 'x') + "\r\n" + Lines(30, 0, "\r\n") + std::string(44936, 'x') + "\r\n";
    ASSERT_EQ(text.size(), 60000U);
    test::LoadText(text, h.env());
    EXPECT_EQ(h.progress.positions, (std::vector<int>{25, 100}));
}

// `lines` lines of eight characters and CR LF, made as they are read rather
// than held in memory; memory runs out once `failAfter` lines have been made.
class GeneratedLines : public std::streambuf {
public:
    explicit GeneratedLines(std::int64_t lines, std::int64_t failAfter = -1) : m_left(lines), m_failAfter(failAfter) {
        for (std::size_t i = 0; i < kBlockLines; ++i) {
            std::memcpy(m_block + i * 10, "xxxxxxxx\r\n", 10);
        }
    }

protected:
    int_type underflow() override {
        if (m_left == 0) {
            return traits_type::eof();
        }
        if (m_failAfter >= 0 && m_made >= m_failAfter) {
            throw std::bad_alloc();
        }
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(m_left, kBlockLines));
        m_left -= static_cast<std::int64_t>(count);
        m_made += static_cast<std::int64_t>(count);
        setg(m_block, m_block, m_block + count * 10);
        return traits_type::to_int_type(m_block[0]);
    }

private:
    static constexpr std::size_t kBlockLines = 4096;
    std::int64_t m_left;
    std::int64_t m_failAfter;
    std::int64_t m_made = 0;
    char m_block[kBlockLines * 10];
};

TEST(LoadDriverProgress, LengthBeyond32BitsNeitherTruncatesNorOverflows) {
    Harness h;
    CStirpexDoc doc;
    constexpr std::int64_t kClaimed = std::int64_t{3} << 30;
    // 66 MB read of a claimed 3 GiB: bytes read x 100 passes 2^31 and 2^32 on the way to 2%.
    GeneratedLines lines(6600000);
    std::istream in(&lines);
    const LoadResult result = LoadGedcom(doc, in, kClaimed, "huge.ged", h.env());
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(doc.m_nFileLength, kClaimed);
    EXPECT_EQ(h.progress.texts.size(), 1U);
    EXPECT_EQ(h.progress.positions, (std::vector<int>{1, 2}));
    EXPECT_EQ(h.nameIndex.reserved, std::vector<std::size_t>{12884901});
}

TEST(LoadDriverStartOption, OptionSetsTheStartKeyAndDefersTheIndex) {
    struct Case {
        const char* arguments;
        bool deferred;
        const char* startId;
    };
    const Case cases[] = {
        {"family.ged -i I2", true, "I2"},
        {"family.ged -iI2", true, "I2"},
        {"family.ged -i   I2 more", true, "I2"},
        {"family.ged -i", true, ""},
        {"family.ged -i I9", true, "I9"},
        {"family.ged -I I2", false, ""},
        {"family.ged", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        Harness h;
        const auto loaded = test::LoadText("0 @I1@ INDI\n0 @I2@ INDI\n", h.env(c.arguments));
        EXPECT_EQ(loaded.doc->m_strStartID, c.startId) << c.arguments;
        EXPECT_EQ(loaded.result.indexBuilt, !c.deferred) << c.arguments;
        if (c.deferred) {
            EXPECT_TRUE(h.nameIndex.builtFor.empty()) << c.arguments;
        } else {
            EXPECT_EQ(h.nameIndex.builtFor, std::vector<const CStirpexDoc*>{loaded.doc.get()}) << c.arguments;
            EXPECT_EQ(h.nameIndex.buildProgress, &h.progress) << c.arguments;
        }
        EXPECT_EQ(loaded.result.statsText, "2 people, 0 families, 0 notes, 0 sources.") << c.arguments;
    }
}

TEST(LoadDriverNameIndex, RoomIsReservedFromTheFileLength) {
    Harness h;
    const std::string text = "0 @I1@ INDI\n" + std::string(100000 - 13, 'x') + "\n";
    test::LoadText(text, h.env());
    EXPECT_EQ(h.nameIndex.reserved, std::vector<std::size_t>{400});
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(LoadDriverNameIndex, RefusedRoomIsReportedAndLoadingGoesOn) {
    Harness h;
    h.nameIndex.reserveSucceeds = false;
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Ann /Lee/\n", h.env());
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"Not enough memory for name index"});
    EXPECT_EQ(loaded.result.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.result.statsText, "1 people, 0 families, 0 notes, 0 sources.");
    EXPECT_EQ(loaded.doc->FindPerson("I1")->m_strSurname.view(), "Lee");
    EXPECT_EQ(h.nameIndex.builtFor.size(), 1U);
}

TEST(LoadDriverOutOfMemory, FailureInsideTheLoopIsReportedWithPercentAndLine) {
    Harness h;
    h.progress.throwFrom = 50;
    // 13 + 29982 bytes reach 49%; the NAME line (16 + 2) reaches 50%, where the bar fails.
    const std::string text = "0 @I1@ INDI\r\n" + std::string(29980, 'x') + "\r\n1 NAME Ann /Lee/\r\n" +
                             "0 @I2@ INDI\r\n" + std::string(29972, 'x') + "\r\n";
    ASSERT_EQ(text.size(), 60000U);
    const auto loaded = test::LoadText(text, h.env());
    const std::string expected =
        "Out of memory after reading 50% of file.\n1 NAME Ann /Lee/\nPlease close some applications and try again.";
    EXPECT_EQ(loaded.result.outcome, LoadOutcome::OutOfMemory);
    EXPECT_EQ(loaded.result.outOfMemoryText, expected);
    // Shown by the caller once the document has let go of its memory.
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.progress.positions, (std::vector<int>{49, 50}));
    EXPECT_EQ(loaded.doc->m_nPersons, 1);
    EXPECT_TRUE(h.nameIndex.builtFor.empty());
    EXPECT_FALSE(loaded.result.indexBuilt);
}

// Without a progress window the percentage used to be 0 whatever had been read.
TEST(LoadDriverOutOfMemory, PercentCountsTheBytesReadAlsoWithoutAWindow) {
    CStirpexDoc doc;
    // Memory runs out while the second megabyte block is read: the first
    // block's 104857 whole lines of 10 bytes are 26% of a 4 MB file.
    GeneratedLines lines(400000, 4096 * 30);
    std::istream in(&lines);
    in.exceptions(std::ios::badbit); // what the generator throws leaves the stream as it is
    const LoadResult result = LoadGedcom(doc, in, 4000000, "large.ged", LoadEnvironment{});
    EXPECT_EQ(result.outcome, LoadOutcome::OutOfMemory);
    // No line was in hand: the one read last may already be overwritten by the next block.
    EXPECT_EQ(result.outOfMemoryText,
              "Out of memory after reading 26% of file.\n\nPlease close some applications and try again.");
}

// The quoted line is cut after 255 bytes, never inside a character, so that
// any line can be quoted with little memory and shown on a screen.
TEST(LoadDriverOutOfMemory, LongLineIsQuotedShort) {
    struct Case {
        std::string line;
        std::string quoted;
    };
    const std::string accents = [] {
        std::string text;
        for (int i = 0; i < 20000; ++i) {
            text += "\u00e9";
        }
        return text;
    }();
    const Case cases[] = {
        {std::string(255, 'x'), std::string(255, 'x')},
        {std::string(40000, 'x'), std::string(255, 'x') + "\u2026"},
        {accents, accents.substr(0, 254) + "\u2026"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.progress.throwFrom = 50;
        // The long line is the one that takes the count past half of the file, where the bar fails.
        const std::string head = "0 HEAD\r\n" + std::string(49992, 'x') + "\r\n";
        const std::string text = head + c.line + "\r\n" + std::string(50000, 'x');
        const auto loaded = test::LoadText(text, h.env());
        const int percent = static_cast<int>((head.size() + c.line.size() + 2) * 100 / text.size());
        EXPECT_EQ(loaded.result.outOfMemoryText, "Out of memory after reading " + std::to_string(percent) +
                                                     "% of file.\n" + c.quoted +
                                                     "\nPlease close some applications and try again.")
            << c.line.size();
    }
}

TEST(LoadDriverProgress, LargeFileLoadsWithoutAnySink) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n" + Lines(5000, 20, "\n"));
    EXPECT_EQ(loaded.result.statsText, "1 people, 0 families, 0 notes, 0 sources.");
    EXPECT_FALSE(loaded.result.indexBuilt);
}

// A lineage of one person and one family per generation, nothing else: the
// file with the most records per byte. Its records used to take 6 times the
// file (a 336-byte person and a 168-byte family whatever they held, 16-byte
// map slots, a heap block each); ordinary files take about 2 times.
TEST(LoadDriverMemory, DeepLineageTakesLessThanThreeTimesItsSize) {
    if (test::kAddressSanitizer) {
        GTEST_SKIP() << "an address-space limit means nothing under AddressSanitizer";
    }
    constexpr int kGenerations = 100000;
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (int n = 1; n <= kGenerations; ++n) {
        const std::string person = std::to_string(n);
        text += "0 @I" + person + "@ INDI\n1 NAME Given" + std::to_string(n % 997) + " /Line/\n1 SEX M\n";
        if (n > 1) {
            text += "1 FAMC @F" + std::to_string(n - 1) + "@\n";
        }
        text += "1 FAMS @F" + person + "@\n0 @F" + person + "@ FAM\n1 HUSB @I" + person + "@\n1 CHIL @I" +
                std::to_string(n + 1) + "@\n";
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("stirpex_lineage_" + std::to_string(::getpid()) + ".ged");
    std::ofstream(path, std::ios::binary) << text;
    const std::size_t size = text.size();
    text = std::string(); // the child should not inherit a copy it does not need

    const bool fits = test::SucceedsWithin(3 * size, [&] {
        CStirpexDoc doc;
        std::string error;
        const LoadResult result = LoadGedcomFile(doc, path, {}, error);
        const CPerson* last = doc.FindPerson("I" + std::to_string(kGenerations));
        return result.outcome == LoadOutcome::Loaded && doc.m_nFamilies == kGenerations &&
               doc.GetFirstPaternalAncestor(last) == doc.FindPerson("I1");
    });
    std::filesystem::remove(path);
    EXPECT_TRUE(fits) << size << " bytes";
}

} // namespace
} // namespace stirpex
