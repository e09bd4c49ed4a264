#pragma once

// The fourteen values of the file properties dialog, in the order the dialog
// lists them: what the GEDCOM header says about the file, where the file lies,
// its size and how many records of each kind were read. The window only lays
// these out; it decides none of them.

#include <array>
#include <string>
#include <string_view>

namespace stirpex {

class CStirpexDoc;

enum class PropertyAlignment { Left, Right };

struct FileProperty {
    int controlId = 0;      // the value's control, 1012 to 1025
    std::string_view label; // for the full path: the title of its group
    std::string value;
    PropertyAlignment alignment = PropertyAlignment::Left; // texts left, numbers right
};

inline constexpr std::size_t kFilePropertyCount = 14;
using FileProperties = std::array<FileProperty, kFilePropertyCount>;

// `title` is the file name with its extension as the window shows it,
// `fullPath` the file's full path. Empty header fields give empty values;
// numbers are plain decimal digits, the file size whole even past 2^31.
FileProperties GetFileProperties(const CStirpexDoc& doc, std::string_view title, std::string_view fullPath);

} // namespace stirpex
