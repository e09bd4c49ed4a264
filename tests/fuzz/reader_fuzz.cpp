// Any bytes must load without a crash, a hang or ill-formed model text, in
// every character set the file can switch to.

#include "gedcom/char_set.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using namespace stirpex;

void requireWellFormed(std::string_view text) {
    if (!IsWellFormedUtf8(text)) {
        std::abort();
    }
}

void checkModelText(const CStirpexDoc& doc) {
    for (const auto& person : doc.m_ppPersons) {
        requireWellFormed(person->m_strID.view());
        requireWellFormed(person->GetDisplayName());
        requireWellFormed(person->m_strBirthPlace.view());
        for (int i = 0; i < person->m_nAltNames; ++i) {
            requireWellFormed(person->GetAltDisplayName(i));
        }
        for (const ArenaStr& text : person->m_arrSourceTexts) {
            requireWellFormed(text.view());
        }
    }
    for (const auto& note : doc.m_ppNotes) {
        for (const ArenaStr& line : note->m_pLines) {
            requireWellFormed(line.view());
        }
    }
    for (const auto& source : doc.m_ppSources) {
        requireWellFormed(source->m_strTitle.view());
    }
    requireWellFormed(doc.m_strCharSet);
    requireWellFormed(doc.m_strSubmitter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    for (const CharSet set : {CharSet::Ansel, CharSet::None, CharSet::Utf8, CharSet::IbmPc, CharSet::Macintosh}) {
        std::string scratch;
        requireWellFormed(ConvertLine(set, bytes, scratch));
    }

    CStirpexDoc doc;
    std::istringstream in(bytes);
    LoadEnvironment env;
    env.argumentText = "file.ged";
    const LoadResult result = LoadGedcom(doc, in, static_cast<std::int64_t>(size), "fuzz.ged", env);
    if (result.outcome != LoadOutcome::Loaded) {
        std::abort();
    }
    checkModelText(doc);
    for (const auto& person : doc.m_ppPersons) {
        doc.GetFirstMaternalAncestor(person.get());
        doc.GetFirstPaternalAncestor(person.get());
    }
    return 0;
}
