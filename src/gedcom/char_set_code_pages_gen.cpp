// Writes the header of the 8-bit code page tables (bytes 0x80-0xFF to Unicode)
// from ICU's converters, so that no entry is typed by hand. The build runs it
// and the reader includes what it writes:
//
//   stirpex-char-set-gen OUTPUT.h

#include <unicode/ucnv.h>
#include <unicode/uclean.h>
#include <unicode/utf16.h>
#include <unicode/uversion.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

struct CodePage {
    const char* tableName;
    const char* converter; // ICU's canonical name
    const char* about;
};

constexpr CodePage kCodePages[] = {
    {"kIbmPcToUnicode", "ibm-437_P100-1995", "IBM PC, code page 437"},
    {"kMacRomanToUnicode", "macos-0_2-10.2", "Macintosh, Mac OS Roman"},
    // ICU gives the five codes that Windows-1252 leaves undefined as the C1
    // controls of the same number, which is the model's rule too.
    {"kWindows1252ToUnicode", "ibm-5348_P100-1997", "ANSI, Windows-1252"},
};

// The code point of each byte 0x80-0xFF, or an empty string and a message on stderr.
std::string tableOf(const CodePage& page) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(page.converter, &status);
    if (U_FAILURE(status)) {
        std::cerr << "no converter " << page.converter << ": " << u_errorName(status) << '\n';
        return {};
    }
    // Stop at a byte the converter does not map instead of substituting for it.
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::string table;
    for (int byte = 0x80; byte <= 0xFF && U_SUCCESS(status); ++byte) {
        const char in = static_cast<char>(byte);
        UChar units[4] = {};
        const int32_t length = ucnv_toUChars(converter, units, 4, &in, 1, &status);
        UChar32 codePoint = -1;
        if (U_SUCCESS(status) && length > 0) {
            int32_t offset = 0;
            U16_NEXT(units, offset, length, codePoint);
            if (offset != length) {
                codePoint = -1;
            }
        }
        if (U_FAILURE(status) || codePoint < 0) {
            std::cerr << page.converter << " does not give one character for byte " << byte << '\n';
            status = U_INVALID_CHAR_FOUND;
            break;
        }
        char entry[16];
        std::snprintf(entry, sizeof entry, "%s0x%04X,%s", byte % 8 == 0 ? "    " : " ",
                      static_cast<unsigned>(codePoint), byte % 8 == 7 ? "\n" : "");
        table += entry;
    }
    ucnv_close(converter);
    return U_SUCCESS(status) ? table : std::string();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: stirpex-char-set-gen OUTPUT.h\n";
        return 2;
    }
    std::string header = "#pragma once\n\n// Written by stirpex-char-set-gen from the converters of ICU " U_ICU_VERSION
                         "; do not edit.\n// Bytes 0x80-0xFF of each code page to Unicode.\n\n#include <array>\n\n"
                         "namespace stirpex::detail {\n";
    for (const CodePage& page : kCodePages) {
        const std::string table = tableOf(page);
        if (table.empty()) {
            return 1;
        }
        header += "\n// " + std::string(page.about) + " (" + page.converter +
                  ")\ninline constexpr std::array<char32_t, 128> " + page.tableName + " = {\n" + table + "};\n";
    }
    header += "\n} // namespace stirpex::detail\n";
    u_cleanup();

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << header;
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
