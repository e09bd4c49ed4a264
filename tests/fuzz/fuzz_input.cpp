#include "fuzz_input.h"

#include "gedcom/gedzip_file.h"

#include <cstdio>
#include <cstdlib>
#include <ios>
#include <sstream>

namespace stirpex::fuzz {

void Require(bool holds, std::string_view what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz finding: %.*s\n", static_cast<int>(what.size()), what.data());
        std::abort();
    }
}

namespace {

// As the viewer opens an archive: one that cannot be opened, or whose text
// turns out damaged while it is read, leaves no document, only its message.
std::unique_ptr<CStirpexDoc> loadArchive(std::string bytes, const LoadEnvironment& env) {
    OpenedFile opened = OpenGedzip(std::move(bytes));
    if (!opened.stream) {
        Require(!opened.error.empty(), "an archive that does not open says why");
        return std::make_unique<CStirpexDoc>();
    }
    auto doc = std::make_unique<CStirpexDoc>();
    try {
        const LoadResult result = LoadGedcom(*doc, opened, kFileName, env);
        Require(result.outcome == LoadOutcome::Loaded, "the reader did not load the archive's text");
    } catch (const std::ios_base::failure&) {
        return std::make_unique<CStirpexDoc>();
    }
    Require(doc->m_media != nullptr, "the document keeps the archive's media");
    for (const MediaEntry& entry : doc->m_media->Entries()) {
        doc->m_media->ReadEntry(entry.name);
    }
    return doc;
}

} // namespace

std::unique_ptr<CStirpexDoc> LoadDocument(std::span<const std::uint8_t> bytes, const LoadEnvironment& env) {
    std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (HasZipSignature(text)) {
        return loadArchive(std::move(text), env);
    }
    auto doc = std::make_unique<CStirpexDoc>();
    std::istringstream in(std::move(text));
    const LoadResult result = LoadGedcom(*doc, in, static_cast<std::int64_t>(bytes.size()), kFileName, env);
    Require(result.outcome == LoadOutcome::Loaded, "the reader did not load the input");
    return doc;
}

} // namespace stirpex::fuzz
