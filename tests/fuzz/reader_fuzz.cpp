// Any bytes must load without a crash, a hang or ill-formed model text, in
// every character set the file can switch to, UTF-16 and GEDZIP archives
// included, and into a document whose memory stays in proportion to the file.

#include "fuzz_input.h"
#include "gedcom/char_set.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using namespace stirpex;
using fuzz::Require;

// Beyond the arena's first two chunks, a document may hold this many bytes of
// text and records per byte of its file: a small record in a hostile file costs
// a few dozen, while a text that grows by copying itself on every line costs
// thousands.
constexpr std::size_t kArenaBytesPerFileByte = 64;
constexpr std::size_t kArenaBaseBytes = std::size_t{2} << 20;

void requireWellFormed(std::string_view text) {
    Require(IsWellFormedUtf8(text), "model text is not well-formed UTF-8");
}

void checkModelText(const CStirpexDoc& doc) {
    for (const auto& person : doc.m_ppPersons) {
        requireWellFormed(person->m_strID.view());
        requireWellFormed(person->GetDisplayName());
        for (const Fact& fact : person->Details().m_facts) {
            requireWellFormed(fact.m_strTag.view());
            requireWellFormed(fact.m_strValue.view());
            requireWellFormed(fact.m_strPlace.view());
            for (const ArenaStr& line : fact.Details().m_arrLines) {
                requireWellFormed(line.view());
            }
        }
        for (int i = 0; i < person->Details().m_nAltNames; ++i) {
            requireWellFormed(person->GetAltDisplayName(i));
        }
        for (const ArenaStr& text : person->Details().m_arrSourceTexts) {
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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const CharSet set : {CharSet::Ansel, CharSet::None, CharSet::Utf8, CharSet::IbmPc, CharSet::Macintosh}) {
        std::string scratch;
        requireWellFormed(ConvertLine(set, bytes, scratch));
    }

    LoadEnvironment env;
    env.argumentText = "file.ged";
    const auto doc = fuzz::LoadDocument({data, size}, env);
    checkModelText(*doc);
    // An archive's text is longer than the archive.
    const auto fileSize = std::max(size, static_cast<std::size_t>(std::max<std::int64_t>(doc->m_nFileLength, 0)));
    Require(doc->Arena().bytesReserved() <= kArenaBaseBytes + kArenaBytesPerFileByte * fileSize,
            "the document holds far more memory than its file");
    for (const auto& person : doc->m_ppPersons) {
        doc->GetFirstMaternalAncestor(person.get());
        doc->GetFirstPaternalAncestor(person.get());
    }
    return 0;
}
