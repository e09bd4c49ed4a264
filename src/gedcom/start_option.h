#pragma once

// The "-i KEY" start option, read from the program's argument text (the
// arguments after the program path, joined by single blanks).

#include <optional>
#include <string>
#include <string_view>

namespace stirpex {

// Present when " -i" follows the document title in the text; the key runs
// from the first non-blank after it to the next blank (possibly empty).
// While a file is read its title is still empty, so the search starts at the
// beginning of the text.
std::optional<std::string> ParseStartOption(std::string_view argumentText, std::string_view title = {});

} // namespace stirpex
