#include "find/go_to.h"

#include "model/stirpex_doc.h"

namespace stirpex {

const CPerson* AcceptGoTo(CStirpexDoc& doc, std::string_view typed) {
    doc.m_strGoToID = typed;
    return doc.FindPerson(doc.m_strGoToID);
}

} // namespace stirpex
