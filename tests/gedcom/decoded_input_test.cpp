#include "gedcom/decoded_input.h"

#include "gedcom/utf16_text.h"

#include <gtest/gtest.h>

#include <ios>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace stirpex {
namespace {

using test::Utf16File;

std::string ReadAll(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads the stream the way the line source does: large blocks into its own memory.
std::string ReadInBlocks(std::istream& in, std::size_t block) {
    std::string all;
    std::string buffer(block, '\0');
    while (in.read(buffer.data(), static_cast<std::streamsize>(block)) || in.gcount() > 0) {
        all.append(buffer, 0, static_cast<std::size_t>(in.gcount()));
    }
    return all;
}

// Text of `length` bytes: GEDCOM lines with high bytes in them.
std::string EightBitText(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; text.size() < length; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME ";
        text += static_cast<char>(0x80 + i % 0x80);
        text += '\n';
    }
    text.resize(length);
    return text;
}

// Serves `data`, then fails as a disk does.
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

// The bytes pass untouched, also where the first bytes looked at end and the rest follows.
TEST(DecodedInput, AsciiCompatibleBytesPassUnchanged) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, kDetectionBytes - 1, kDetectionBytes,
                                     kDetectionBytes + 1, std::size_t{100000}}) {
        const std::string text = EightBitText(length);
        std::istringstream raw(text);
        DecodedInput input(raw, 4096);
        EXPECT_EQ(input.detection(), ByteDetection{});
        EXPECT_FALSE(input.decodes());
        EXPECT_EQ(ReadInBlocks(input.stream(), 4096), text) << length;
        EXPECT_EQ(input.bytesTaken(), static_cast<std::int64_t>(length));
    }
}

TEST(DecodedInput, Utf8MarkIsTakenOff) {
    std::istringstream raw("\xEF\xBB\xBF"
                           "0 HEAD\n1 CHAR UTF-8\n");
    DecodedInput input(raw, 4096);
    EXPECT_EQ(input.detection().form, ByteForm::Utf8);
    EXPECT_EQ(ReadAll(input.stream()), "0 HEAD\n1 CHAR UTF-8\n");
    EXPECT_EQ(input.bytesTaken(), 23);
}

// Longer than a block, so that characters and surrogate pairs fall across block ends.
TEST(DecodedInput, Utf16IsDecodedBlockByBlock) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "1 NOTE \u00B6 \u263A \U00012345 " + std::to_string(i) + "\r\n";
    }
    for (const Utf16File form : {Utf16File::LittleEndian, Utf16File::BigEndian, Utf16File::LittleEndianWithMark,
                                 Utf16File::BigEndianWithMark}) {
        const std::string bytes = test::Utf16Bytes(text, form);
        for (const std::size_t block : {std::size_t{2}, std::size_t{4095}, std::size_t{65536}}) {
            std::istringstream raw(bytes);
            DecodedInput input(raw, block);
            EXPECT_TRUE(input.decodes());
            EXPECT_EQ(ReadInBlocks(input.stream(), 1000), text) << static_cast<int>(form) << " block " << block;
            EXPECT_EQ(input.bytesTaken(), static_cast<std::int64_t>(bytes.size()));
        }
    }
}

TEST(DecodedInput, ReadFailuresReachTheCaller) {
    // In the first bytes: the reader is told at once.
    FailingBuffer early("0 HEAD\n");
    std::istream earlyRaw(&early);
    EXPECT_THROW(DecodedInput(earlyRaw, 4096), std::ios_base::failure);

    // Later, in 8-bit text and in UTF-16: the stream goes bad, as the file's own would.
    for (const std::string& head :
         {std::string(1000, 'x'), test::Utf16Bytes(std::string(1000, 'x'), Utf16File::LittleEndianWithMark)}) {
        FailingBuffer late(head);
        std::istream lateRaw(&late);
        DecodedInput input(lateRaw, 4096);
        ReadInBlocks(input.stream(), 4096);
        EXPECT_TRUE(input.stream().bad());
    }
}

} // namespace
} // namespace stirpex
