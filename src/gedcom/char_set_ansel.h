#pragma once

// ANSEL, as GEDCOM writes it, to model text. Every spacing character becomes
// its Unicode character. A combining mark is written before its base letter
// and follows it in Unicode, so the marks before a letter are moved behind it,
// in their order, and the whole is composed (NFC) where Unicode has a
// precomposed character (of a stack longer than any script writes, the marks
// past the 30th follow as written). Marks whose base is not a letter, and
// marks that end the line, are dropped; so are the control bytes 0x80-0x9F. A
// byte that the character set leaves undefined becomes U+FFFD.

#include <string>
#include <string_view>

namespace stirpex::detail {

// Appends the UTF-8 form of one line of ANSEL bytes.
void AppendAnselAsUtf8(std::string& out, std::string_view ansel);

} // namespace stirpex::detail
