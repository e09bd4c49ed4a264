#pragma once

// What every stirpex-cli subcommand is handed once its file has been read:
// the document, the words after the file name, the options with their values,
// and where to write. A subcommand returns the exit status; it reports bad
// operands through UsageError so that every failure reads the same.

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
class CPerson;
class CStirpexDoc;
class Collator;
struct LoadResult;
class NameIndex;
} // namespace stirpex

namespace stirpex::cli {

// Printed as "stirpex-cli: <what>" with exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandInput {
    const CStirpexDoc& doc;
    const LoadResult& load;
    std::string_view path;                                          // as given on the command line
    std::string_view fileName;                                      // without its folder: the document's title
    const std::vector<std::string>& operands;                       // the words after FILE
    const std::map<std::string, std::string, std::less<>>& options; // "--x" -> value ("" for a flag)
    bool json = false;
    NameIndex* nameIndex = nullptr; // built at the end of reading, when the command asks for it
    std::FILE* out = stdout;
    const Collator* collator = nullptr; // the user's collation, for commands that compare names

    bool has(std::string_view option) const { return options.find(option) != options.end(); }
    // The value of an option given with one, or `fallback`.
    std::string_view value(std::string_view option, std::string_view fallback = {}) const;
    // The operand at `position`; UsageError naming `what` when it is missing.
    const std::string& operand(std::size_t position, std::string_view what) const;
};

// UsageError "unexpected argument 'X'" when words follow FILE.
void RequireNoOperands(const CommandInput& in);
// The individual with this key, or UsageError "no individual with ID 'X'".
const CPerson& RequirePerson(const CStirpexDoc& doc, std::string_view id);
// A whole number for an option such as --family; UsageError when it is not one.
int ParseIntOption(std::string_view option, std::string_view text);
// The same within [min, max]; UsageError naming the range for any other number.
int ParseIntOption(std::string_view option, std::string_view text, int min, int max);

} // namespace stirpex::cli
