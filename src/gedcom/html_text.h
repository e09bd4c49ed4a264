#pragma once

// A note written as HTML (GEDCOM 7 lets a note say so with MIME text/html),
// as the plain text its reader sees: tags are removed; each paragraph (and
// each list item, heading, division or table row) and each <br> starts a new
// line; a run of white space is one blank, as in a browser; and character
// references are decoded (the five of XML, &nbsp; and the numeric ones; any
// other stays as written). Lines are separated by '\n', with no empty line at
// either end.

#include <string>
#include <string_view>

namespace stirpex {

std::string HtmlToPlainText(std::string_view html);

} // namespace stirpex
