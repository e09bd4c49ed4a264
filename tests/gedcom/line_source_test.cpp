#include "gedcom/line_source.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

constexpr std::size_t kDefaultBlock = std::size_t{1} << 20;

Lines ReadLines(const std::string& input, std::size_t blockSize = kDefaultBlock) {
    std::istringstream in{input};
    LineSource source(in, blockSize);
    Lines lines;
    std::string_view line;
    // The line before the last stays readable, wherever the buffer moved it, so that a reader can look ahead.
    std::string before;
    while (source.next(line)) {
        EXPECT_EQ(source.previous(), before) << "before line " << lines.size() << ", block " << blockSize;
        lines.emplace_back(line);
        before = lines.back();
    }
    EXPECT_EQ(source.previous(), before);
    // The end stays the end.
    EXPECT_FALSE(source.next(line));
    EXPECT_EQ(source.previous(), before);
    return lines;
}

// A device that serves `data` and then fails, as a disk or network read does.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string data) : m_data(std::move(data)) {
        setg(m_data.data(), m_data.data(), m_data.data() + m_data.size());
    }

protected:
    int_type underflow() override { throw std::runtime_error("device failed"); }

private:
    std::string m_data;
};

TEST(LineSource, LineEndsGiveTheSameLinesAtEveryBlockSize) {
    const struct {
        std::string input;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"A", {"A"}},
        {"A\n", {"A"}},
        {"A\nB", {"A", "B"}},
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\rB\r", {"A", "B"}},
        {"A\r", {"A"}},
        {"\r\n", {""}},
        {"\n\n\n", {"", "", ""}},
        {"\r\r", {"", ""}},
        {"A\r\rB", {"A", "", "B"}},
        {"A\n\rB", {"A", "", "B"}},
        {"A\r\n\nB", {"A", "", "B"}},
        {"A\r\n\r\n", {"A", ""}},
        {"\n \n\t\n", {"", " ", "\t"}}, // blank lines are lines; trimming is not done here
        {"0 HEAD\r\n1 CHAR ANSEL\r\n0 TRLR", {"0 HEAD", "1 CHAR ANSEL", "0 TRLR"}},
        {"A\0B\n\0"s, {"A\0B"s, "\0"s}},
        // High bytes and the control bytes next to LF and CR must not be taken for line ends.
        {"\x8A\x8D\x0B\x0C\x0E\x09\xFF\xCA\x8A\x8D\n\x8D\x8A",
         {"\x8A\x8D\x0B\x0C\x0E\x09\xFF\xCA\x8A\x8D", "\x8D\x8A"}},
    };
    for (const auto& c : cases) {
        for (const std::size_t blockSize :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4}, std::size_t{5}, std::size_t{7},
              std::size_t{8}, std::size_t{9}, std::size_t{16}, kDefaultBlock}) {
            EXPECT_EQ(ReadLines(c.input, blockSize), c.lines)
                << "input " << testing::PrintToString(c.input) << ", block " << blockSize;
        }
    }
}

// LF, CR LF or a lone CR end a line; a last line without an end is a line.
Lines SplitByteByByte(std::string_view bytes) {
    Lines lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') {
            line += bytes[i];
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        lines.push_back(std::exchange(line, {}));
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// Line ends are looked for many bytes at a time: lines of every length up to
// 130, ending in LF, CR LF or CR at every place against those steps, read
// from a stream at block sizes around them and from bytes in memory, must
// give what a byte-by-byte split gives.
TEST(LineSource, LinesAcrossTheSteps) {
    std::string input;
    Lines expected;
    const std::string_view ends[] = {"\n", "\r\n", "\r"};
    for (std::size_t length = 0; length <= 130; ++length) {
        std::string line(length, static_cast<char>('a' + length % 26));
        if (length % 5 == 1) {
            line[length / 2] = '\x8D'; // a high byte with CR's low bits, not a line end
        }
        input += line;
        input += ends[length % 3];
        expected.push_back(line);
    }
    input += "last";
    expected.emplace_back("last");
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65},
                                        std::size_t{100}, std::size_t{128}, kDefaultBlock}) {
        EXPECT_EQ(ReadLines(input, blockSize), expected) << "block " << blockSize;
    }
    EXPECT_EQ(SplitByteByByte(input), expected);
    for (std::size_t skip = 0; skip < 64; skip += 9) {
        // From bytes in memory, starting at every place against the steps.
        const std::string_view bytes = std::string_view(input).substr(skip);
        LineSource source(bytes);
        Lines lines;
        std::string_view line;
        while (source.next(line)) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, SplitByteByByte(bytes)) << "skip " << skip;
    }
}

TEST(LineSource, CrAtTheEndOfABlockWaitsForTheLfOfTheNext) {
    // A CR that is the last byte read must not be taken for a lone CR, which would add an empty line.
    EXPECT_EQ(ReadLines("ABC\r\nD", 4), (Lines{"ABC", "D"}));
    EXPECT_EQ(ReadLines("ABCDEFG\r\nH\r\n", 8), (Lines{"ABCDEFG", "H"}));
    EXPECT_EQ(ReadLines("A\nBCDEFG\r\nH", 8), (Lines{"A", "BCDEFG", "H"}));
}

TEST(LineSource, LastLineFillingTheWholeBufferLosesItsLoneCr) {
    // The last read grows the buffer before it finds the end of the file; the CR must be
    // looked for in the grown buffer, not in the one it replaced.
    EXPECT_EQ(ReadLines("ABC\r", 4), (Lines{"ABC"}));
    EXPECT_EQ(ReadLines("A\nBCD\r", 4), (Lines{"A", "BCD"}));
    const std::string full(kDefaultBlock - 1, 'x');
    EXPECT_EQ(ReadLines(full + "\r"), (Lines{full}));
}

TEST(LineSource, LinesLongerThanTheBufferAreReadWhole) {
    const std::string longLine(100003, 'x');
    EXPECT_EQ(ReadLines("head\n" + longLine + "\r\nB\n" + longLine, 8), (Lines{"head", longLine, "B", longLine}));

    std::string huge(5 * kDefaultBlock / 2, 'y');
    huge[kDefaultBlock] = '\0';
    EXPECT_EQ(ReadLines("A\n" + huge + "\r\n"), (Lines{"A", huge}));
}

TEST(LineSource, ZeroBlockSizeStillReadsEveryLine) {
    EXPECT_EQ(ReadLines("A\r\nB", 0), (Lines{"A", "B"}));
}

TEST(LineSource, ReadFailureThrows) {
    FailingBuffer buffer("");
    std::istream in(&buffer);
    LineSource source(in);
    std::string_view line;
    EXPECT_THROW(source.next(line), std::ios_base::failure);
}

TEST(LineSource, LinesBeforeAReadFailureAreDelivered) {
    FailingBuffer buffer("A\nB\n");
    std::istream in(&buffer);
    LineSource source(in, 4);
    std::string_view line;
    ASSERT_TRUE(source.next(line));
    EXPECT_EQ(line, "A");
    ASSERT_TRUE(source.next(line));
    EXPECT_EQ(line, "B");
    // Running out of data on a failing device is an error, not the end of the file.
    EXPECT_THROW(source.next(line), std::ios_base::failure);
}

} // namespace
} // namespace stirpex
