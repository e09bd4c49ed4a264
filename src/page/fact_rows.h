#pragma once

// The rows of the person page below the families: the person's other facts,
// associations and parent families, each family's other events, and "Other
// data" for what the program does not know. What a row says is decided here,
// without a surface; the page lays the rows out and draws them.

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CExtObj;
class CFamily;
class CPerson;
class CStirpexDoc;
struct Fact;

// A piece of a row's value: plain text, or a link to a person or a media record.
struct RowPart {
    std::string text;
    const CPerson* person = nullptr;
    const CExtObj* media = nullptr;

    friend bool operator==(const RowPart&, const RowPart&) = default;
};

enum class RowGroup { Facts, Associations, Family, Media, OtherData };

struct FactRow {
    RowGroup group = RowGroup::Facts;
    std::string label;
    std::vector<RowPart> value;
    std::vector<std::string> more;   // further lines under the value: an address, lines kept as written
    const CFamily* family = nullptr; // set for a family's facts
    int fact = -1;                   // the fact's position in its record, -1 for a row of no fact
    int notes = 0;
    int sources = 0;
};

// The rows in page order. A classic event's fact gets a row only when the
// fixed rows above do not show all of it: a second birth, a death's cause.
std::vector<FactRow> BuildFactRows(const CStirpexDoc& doc, const CPerson& person);

// A media record's text on the page: "title (file)", or whichever of the two it has.
std::string MediaCaption(const CExtObj& object);

// A fact's date, place, value and particulars as one line of text.
std::string FactValueText(const Fact& fact);

// "adopted" or "foster" where the child's record says it is so in that
// family (a pedigree under its FAMC, or an adoption naming the family);
// empty otherwise.
std::string_view ChildRelation(const CPerson& child, std::string_view familyKey);

} // namespace stirpex
