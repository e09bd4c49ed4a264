#include "shell/file_properties.h"

#include "model/stirpex_doc.h"

namespace stirpex {

namespace {

FileProperty text(int controlId, std::string_view label, std::string_view value) {
    return {controlId, label, std::string(value), PropertyAlignment::Left};
}

FileProperty number(int controlId, std::string_view label, std::int64_t value) {
    return {controlId, label, std::to_string(value), PropertyAlignment::Right};
}

} // namespace

FileProperties GetFileProperties(const CStirpexDoc& doc, std::string_view title, std::string_view fullPath) {
    return {
        text(1012, "File name", title),
        text(1013, "File date", doc.m_strFileDate),
        text(1018, "Character set", doc.m_strCharSet),
        text(1014, "Submitter", doc.m_strSubmitter),
        text(1015, "Source", doc.m_strSourceSystem),
        text(1016, "Destination", doc.m_strDestination),
        text(1017, "GEDCOM version", doc.m_strGedcomVersion),
        text(1019, "Full file path", fullPath),
        number(1024, "File size (bytes)", doc.m_nFileLength),
        number(1020, "Individuals", doc.m_nPersons),
        number(1021, "Families", doc.m_nFamilies),
        number(1022, "Notes", doc.m_nNotes),
        number(1023, "Sources", doc.m_nSources),
        number(1025, "External references", doc.m_nExtObjs),
    };
}

} // namespace stirpex
