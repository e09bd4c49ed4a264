#pragma once

// The person page as plain text: what `stirpex-cli page` prints and what Edit
// Copy puts on the clipboard. The caption, a blank line, then one line per
// row of the page from the top: its label padded to the value column, then
// each text of the row from left to right, a link to a person followed by
// "-> KEY", a notes or sources link in brackets; a blank line and the tree
// commands the page enables ("Trees: ancestors mtdna", "Trees: none").

#include "page/recording_surface.h"

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CPerson;
class CStirpexDoc;
class PersonPage;

// The width the page is laid out at when no window gives one.
inline constexpr int kDefaultPageWidth = 500;

// The text of a page already drawn on a recording surface; `printed` for the
// print geometry, whose y grows upwards.
std::string PageText(const PersonPage& page, const std::vector<DrawnText>& drawn, std::string_view caption,
                     const CStirpexDoc& doc, bool printed);

// The screen page of `person`, laid out afresh at kDefaultPageWidth, with the
// caption "<title> - <key>"; with the home line when `home` is given.
std::string PageText(const CStirpexDoc& doc, const CPerson* person, std::string_view title,
                     const CPerson* home = nullptr);

} // namespace stirpex
