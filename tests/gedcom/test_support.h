#pragma once

// Loading GEDCOM text written inline in a test, as the viewer loads a file.

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace stirpex::test {

struct LoadedDoc {
    std::unique_ptr<CStirpexDoc> doc = std::make_unique<CStirpexDoc>();
    LoadResult result;
};

inline LoadedDoc LoadText(std::string_view text, const LoadEnvironment& env = {},
                          std::string_view fileName = "test.ged") {
    LoadedDoc loaded;
    std::istringstream in{std::string(text)};
    loaded.result = LoadGedcom(*loaded.doc, in, static_cast<std::int64_t>(text.size()), fileName, env);
    return loaded;
}

} // namespace stirpex::test
