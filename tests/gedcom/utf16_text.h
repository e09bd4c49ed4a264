#pragma once

// UTF-8 test text re-encoded as a UTF-16 file would hold it, by the C
// library's own converter, so that the reader is checked against a decoder
// that is not its own.

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace stirpex::test {

enum class Utf16File { LittleEndian, BigEndian, LittleEndianWithMark, BigEndianWithMark };

inline std::string Utf16Bytes(std::string_view utf8, Utf16File form) {
    const bool little = form == Utf16File::LittleEndian || form == Utf16File::LittleEndianWithMark;
    const iconv_t converter = ::iconv_open(little ? "UTF-16LE" : "UTF-16BE", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv_open");
    }
    std::string out(utf8.size() * 4 + 4, '\0');
    std::string in(utf8);
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    ::iconv_close(converter);
    if (done == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("iconv: the test text is not UTF-8");
    }
    out.resize(out.size() - outLeft);
    if (form == Utf16File::LittleEndianWithMark) {
        out.insert(0, "\xFF\xFE");
    } else if (form == Utf16File::BigEndianWithMark) {
        out.insert(0, "\xFE\xFF");
    }
    return out;
}

} // namespace stirpex::test
