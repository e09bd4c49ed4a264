#pragma once

// Going to a person by identifier: the text typed into the go-to dialog is
// kept as the document's last go-to text and looked up among individuals
// only. The key exactly as typed wins; failing that, a key that differs only
// in the case of its letters ("i1" for I1), the first such in the file where
// several do. At-signs or a stray blank find nobody.

#include <string_view>

namespace stirpex {

class CPerson;
class CStirpexDoc;

// The individual `typed` names by the rule above, or null.
const CPerson* FindGoToPerson(const CStirpexDoc& doc, std::string_view typed);

// Accepting the dialog: stores `typed` in m_strGoToID and returns the
// individual it names, or null.
const CPerson* AcceptGoTo(CStirpexDoc& doc, std::string_view typed);

} // namespace stirpex
