#include "gedcom/byte_encoding.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace stirpex {

namespace {

bool startsWith(std::string_view bytes, std::string_view mark) noexcept {
    return bytes.substr(0, mark.size()) == mark;
}

// The first unit after blanks and line ends is an ASCII digit, the level of the first line.
bool looksLikeUtf16(std::string_view bytes, bool little) noexcept {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char low = little ? bytes[i] : bytes[i + 1];
        const char high = little ? bytes[i + 1] : bytes[i];
        if (high != '\0') {
            return false;
        }
        if (low >= '0' && low <= '9') {
            return true;
        }
        if (low != ' ' && low != '\t' && low != '\r' && low != '\n') {
            return false;
        }
    }
    return false;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

// Whether a CHAR value names the encoding that the bytes showed. UNICODE
// goes with either: it stands for UTF-16, but many writers put it in UTF-8 files.
bool charValueAgrees(ByteForm form, std::string_view value) noexcept {
    constexpr std::array<std::string_view, 3> utf8Names{"UTF-8", "UTF8", "UNICODE"};
    constexpr std::array<std::string_view, 3> utf16Names{"UTF-16", "UTF16", "UNICODE"};
    const auto& names = form == ByteForm::Utf8 ? utf8Names : utf16Names;
    return std::ranges::any_of(names, [value](std::string_view name) { return equalsIgnoringCase(value, name); });
}

TextEncoding encodingOf(CharSet set) noexcept {
    switch (set) {
    case CharSet::Ansel:
        return TextEncoding::Ansel;
    case CharSet::None:
        return TextEncoding::Ansi;
    case CharSet::Utf8:
        return TextEncoding::Utf8;
    case CharSet::IbmPc:
        return TextEncoding::IbmPc;
    case CharSet::Macintosh:
        return TextEncoding::Macintosh;
    }
    return TextEncoding::Ansel;
}

} // namespace

ByteDetection DetectByteForm(std::string_view firstBytes) noexcept {
    if (startsWith(firstBytes, "\xEF\xBB\xBF")) {
        return {ByteForm::Utf8, true, 3};
    }
    if (startsWith(firstBytes, "\xFF\xFE")) {
        return {ByteForm::Utf16LE, true, 2};
    }
    if (startsWith(firstBytes, "\xFE\xFF")) {
        return {ByteForm::Utf16BE, true, 2};
    }
    if (looksLikeUtf16(firstBytes, true)) {
        return {ByteForm::Utf16LE, false, 0};
    }
    if (looksLikeUtf16(firstBytes, false)) {
        return {ByteForm::Utf16BE, false, 0};
    }
    return {};
}

EncodingDecision DecideEncoding(const ByteDetection& detection, CharSet charSet, std::string_view charValue,
                                bool gedcom7) noexcept {
    EncodingDecision decision;
    switch (detection.form) {
    case ByteForm::Bytes:
        decision.encoding = encodingOf(charSet);
        if (gedcom7) {
            decision.reason = EncodingReason::GedcomVersion;
            return decision;
        }
        decision.reason = charSet != CharSet::Ansel || CharSetFromValue(charValue) ? EncodingReason::CharValue
                                                                                   : EncodingReason::NoCharValue;
        return decision;
    case ByteForm::Utf8:
        decision.encoding = TextEncoding::Utf8;
        break;
    case ByteForm::Utf16LE:
        decision.encoding = TextEncoding::Utf16LE;
        break;
    case ByteForm::Utf16BE:
        decision.encoding = TextEncoding::Utf16BE;
        break;
    }
    decision.reason = detection.byMark ? EncodingReason::ByteOrderMark : EncodingReason::FirstBytes;
    decision.charValueOverruled = !charValue.empty() && !charValueAgrees(detection.form, charValue);
    return decision;
}

} // namespace stirpex
