#pragma once

// A NAME or ALIA value in two parts: each '/' or backslash toggles between the
// given names (first) and the surname, and is dropped. Each part is tidied:
// no blanks at either end, tabs as blanks, one blank per run, none before a comma.
// Parts are never cut short, however long.

#include <string>
#include <string_view>

namespace stirpex {

struct NameParts {
    std::string surname;
    std::string givenNames;
};

// Fills `parts` (reusing its buffers) from `value`.
void SplitName(std::string_view value, NameParts& parts);

// The value without any '/' or backslash, as a submitter's name is kept.
std::string WithoutSlashes(std::string_view value);

} // namespace stirpex
