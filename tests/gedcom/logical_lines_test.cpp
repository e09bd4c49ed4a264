#include "gedcom/logical_lines.h"

#include "gedcom/parser_test_support.h"
#include "support/memory_limit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace stirpex {
namespace {

using Lines = std::vector<std::string>;

struct Read {
    Lines lines;
    std::vector<std::size_t> counted;
};

Read ReadLogical(const std::string& input, std::size_t blockSize = std::size_t{1} << 20) {
    std::istringstream in{input};
    LineSource source(in, blockSize);
    LogicalLines logical(source);
    Read read;
    std::string_view line;
    while (logical.next(line)) {
        read.lines.emplace_back(line);
        read.counted.push_back(logical.countedBytes());
    }
    EXPECT_FALSE(logical.next(line)); // the end stays the end
    return read;
}

struct Case {
    const char* input;
    Lines lines;
};

// Every case at tiny block sizes too, where reading ahead moves the line in hand.
void ExpectLines(const Case (&cases)[], std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const Case& c = cases[i];
        for (const std::size_t block : {std::size_t{1} << 20, std::size_t{1}, std::size_t{3}, std::size_t{8}}) {
            EXPECT_EQ(ReadLogical(c.input, block).lines, c.lines) << c.input << " (block " << block << ")";
        }
    }
}

TEST(LogicalLines, ConcJoinsTheLineItContinuesWithNothingBetween) {
    static const Case cases[] = {
        {"  0 HEAD \r\n1 NAME x\t\r\n\r\n", {"0 HEAD", "1 NAME x", ""}},
        {"1 NOTE abc\n2 CONC def", {"1 NOTE abcdef"}},
        {"1 NOTE a\n2 CONC b\n2 CONC c\n1 SEX M", {"1 NOTE abc", "1 SEX M"}},
        {"1 NOTE a\r2 CONC b\r\n2 CONT c\r\n2 CONC d\n2 CONC e", {"1 NOTE ab", "2 CONT cde"}},
        {"  1 NOTE a\n\t 2 CONC b", {"1 NOTE ab"}},
        // The value after "CONC" and one delimiter, and what ends the line before it, are text.
        {"1 NOTE a \n2 CONC b", {"1 NOTE a b"}},
        {"1 NOTE a\n2 CONC  b", {"1 NOTE a b"}},
        {"1 NOTE a\n2 CONC\t\tb", {"1 NOTE a\tb"}},
        {"1 NOTE a\t\n2 CONC b \n2 CONC c \r\n", {"1 NOTE a\tb c"}},
        // A line that ends at its tag gets a delimiter, so that its tag stays a tag.
        {"1 NOTE\n2 CONC abc", {"1 NOTE abc"}},
        {"1 CONT\n1 CONC x", {"1 CONT x"}},
        {"1 NOTE\n2 CONC\n2 CONC b", {"1 NOTE b"}},
        {"1 NOTE a\n2 CONC\n2 CONT b", {"1 NOTE a", "2 CONT b"}},
        // At level 0 only a note record carries text.
        {"0 @N1@ NOTE a\n1 CONC b", {"0 @N1@ NOTE ab"}},
        {"0 @N1@ NOTE\n1 CONC b", {"0 @N1@ NOTE b"}},
        {"0 @N1@ SNOTE a\n1 CONC b", {"0 @N1@ SNOTE ab"}},
        {"0 @I1@ INDI\n1 CONC x", {"0 @I1@ INDI", "1 CONC x"}},
        {"0 HEAD\n1 CONC x", {"0 HEAD", "1 CONC x"}},
    };
    ExpectLines(cases, std::size(cases));
}

TEST(LogicalLines, ConcWithNothingToContinueIsPassedOn) {
    static const Case cases[] = {
        {"2 CONC first", {"2 CONC first"}},
        {"1 BIRT\n1 CONC x", {"1 BIRT", "1 CONC x"}},
        {"1 NOTE a\n3 CONC x", {"1 NOTE a", "3 CONC x"}},
        {"1 NOTE a\n2 DATE x\n2 CONC y", {"1 NOTE a", "2 DATE x", "2 CONC y"}},
        {"1 NOTE a\n2 CONC b\n3 CONC c", {"1 NOTE ab", "3 CONC c"}},
        {"1 NOTE a\n2 CONC b\n1 CONC c", {"1 NOTE ab", "1 CONC c"}},
        // An orphan CONC is continued like any other line of text.
        {"1 CONC a\n1 CONC b", {"1 CONC ab"}},
        // Only the tag CONC itself joins.
        {"1 NOTE a\n2 CONCX b\n2 conc c\n2 CONT d", {"1 NOTE a", "2 CONCX b", "2 conc c", "2 CONT d"}},
        {"1 NOTE a\n12 CONC b", {"1 NOTE a", "12 CONC b"}},
    };
    ExpectLines(cases, std::size(cases));
}

// A writer may split a line inside the bytes of one character: the bytes come together again.
TEST(LogicalLines, JoinsRawBytesSplitInsideACharacter) {
    const Read read = ReadLogical("1 NOTE caf\xC3\n2 CONC \xA9 au lait\n1 NOTE \xE2\x82\n2 CONC \xAC 5", 2);
    EXPECT_EQ(read.lines, (Lines{"1 NOTE caf\xC3\xA9 au lait", "1 NOTE \xE2\x82\xAC 5"}));
}

// Progress counts each line of the file, trimmed, plus two for its end, as before the join.
TEST(LogicalLines, CountsEveryLineOfTheFileForProgress) {
    const Read read = ReadLogical("  0 HEAD \r\n1 NOTE ab \r\n 2 CONC cd\t\r\n2 CONC e\n\n1 X");
    EXPECT_EQ(read.lines, (Lines{"0 HEAD", "1 NOTE ab cd\te", "", "1 X"}));
    EXPECT_EQ(read.counted, (std::vector<std::size_t>{8, 9 + 2 + 9 + 2 + 8 + 2, 2, 5}));
}

// A note of 100,000 CONC lines: the join must not copy what it has joined so far
// again for every line (10 MB of text).
TEST(LogicalLines, LongNoteTakesMemoryInProportionToItsLength) {
    if (test::kAddressSanitizer) {
        GTEST_SKIP() << "an address-space limit means nothing under AddressSanitizer";
    }
    constexpr std::size_t kLines = 100000;
    const std::string piece(100, 'x');
    std::string text = "0 @N1@ NOTE start\n";
    for (std::size_t i = 0; i < kLines; ++i) {
        text += "1 CONC " + piece + "\n";
    }
    const bool linear = test::SucceedsWithin(96 * test::kMiB, [&] {
        const auto loaded = test::LoadText(text);
        const CNote* note = loaded.doc->FindNote("N1");
        return note && note->m_pLines.size() == 1 && note->m_pLines[0].size() == 5 + kLines * piece.size();
    });
    EXPECT_TRUE(linear);
}

} // namespace
} // namespace stirpex
