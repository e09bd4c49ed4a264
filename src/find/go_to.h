#pragma once

// Going to a person by identifier: the text typed into the go-to dialog is
// kept as the document's last go-to text and looked up exactly as typed,
// among individuals only. At-signs, other case or a stray blank find nobody.

#include <string_view>

namespace stirpex {

class CPerson;
class CStirpexDoc;

// Accepting the dialog: stores `typed` in m_strGoToID and returns the
// individual with that key, or null.
const CPerson* AcceptGoTo(CStirpexDoc& doc, std::string_view typed);

} // namespace stirpex
