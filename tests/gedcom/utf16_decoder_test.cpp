#include "gedcom/utf16_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
namespace {

// Code units as the bytes of a file in the given order.
std::string Bytes(const std::u16string& units, ByteOrder order) {
    std::string bytes;
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += order == ByteOrder::Little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// Decodes the bytes in pieces of `piece` bytes each, then finishes.
std::string Decode(std::string_view bytes, ByteOrder order, std::size_t piece) {
    Utf16Decoder decoder(order);
    std::string out;
    for (std::size_t at = 0; at <= bytes.size(); at += piece) {
        const std::string_view part = bytes.substr(at, piece);
        const std::size_t start = out.size();
        out.resize(start + Utf16Decoder::MaxOutput(part.size()));
        out.resize(static_cast<std::size_t>(decoder.decode(part, out.data() + start) - out.data()));
    }
    const std::size_t start = out.size();
    out.resize(start + Utf16Decoder::MaxOutput(0));
    out.resize(static_cast<std::size_t>(decoder.finish(out.data() + start) - out.data()));
    return out;
}

const std::vector<std::size_t> kPieces{1, 2, 3, 5, 7, 8, 9, 1000};

TEST(Utf16Decoder, GivesTheSameUtf8EitherWayRoundInPiecesOfAnySize) {
    const struct {
        std::u16string units;
        std::string utf8;
    } cases[] = {
        {u"", ""},
        {u"0 HEAD\r\n1 CHAR UNICODE\n", "0 HEAD\r\n1 CHAR UNICODE\n"},
        {u"\u00B6 \u263A \U00012345", "\u00B6 \u263A \U00012345"},
        {u"Ł\u0301ódź 東京", "Ł\u0301ódź 東京"},
        {std::u16string(u"A\0B", 3), std::string("A\0B", 3)},
        // ASCII after and around the eight-byte steps, a pair across them.
        {u"abcdefg\U0001F600hijklmnop\u00E9qrstuvwxyz", "abcdefg\U0001F600hijklmnop\u00E9qrstuvwxyz"},
        {u"\uFFFF\uFEFF\u07FF\u0800\u007F\u0080", "\uFFFF\uFEFF\u07FF\u0800\u007F\u0080"},
    };
    for (const auto& c : cases) {
        for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
            for (const std::size_t piece : kPieces) {
                EXPECT_EQ(Decode(Bytes(c.units, order), order, piece), c.utf8)
                    << testing::PrintToString(c.utf8) << " big-endian " << (order == ByteOrder::Big) << " piece "
                    << piece;
            }
        }
    }
}

TEST(Utf16Decoder, IllFormedInputBecomesReplacementCharacters) {
    const std::u16string high(1, 0xD83D);
    const std::u16string low(1, 0xDE00);
    const struct {
        std::string bytes; // little-endian
        std::string utf8;
    } cases[] = {
        {Bytes(u"a" + high + u"b", ByteOrder::Little), "a\uFFFDb"},
        {Bytes(u"a" + low + u"b", ByteOrder::Little), "a\uFFFDb"},
        {Bytes(u"a" + low + high + u"b", ByteOrder::Little), "a\uFFFD\uFFFDb"},
        {Bytes(high + high + low, ByteOrder::Little), "\uFFFD\U0001F600"},
        {Bytes(u"abcd" + high, ByteOrder::Little), "abcd\uFFFD"},         // a pair cut by the end
        {Bytes(u"ab", ByteOrder::Little) + "c", "ab\uFFFD"},              // an odd last byte
        {Bytes(u"ab" + high, ByteOrder::Little) + "c", "ab\uFFFD\uFFFD"}, // both
        {"x", "\uFFFD"},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : kPieces) {
            EXPECT_EQ(Decode(c.bytes, ByteOrder::Little, piece), c.utf8)
                << testing::PrintToString(c.bytes) << " piece " << piece;
        }
    }
}

TEST(Utf16Decoder, LengthCountsTheCodeUnitsOfUtf8Text) {
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("0 HEAD"), 6u);
    EXPECT_EQ(Utf16Length("\u00B6 \u263A \U00012345"), 6u); // one, one, one, one, two
}

} // namespace
} // namespace stirpex
