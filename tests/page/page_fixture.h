#pragma once

// A page over a document loaded from inline GEDCOM text, painted on a
// recording surface as the screen view would paint it.

#include "gedcom/test_support.h"

#include <gtest/gtest.h>
#include "page/person_page.h"
#include "page/recording_surface.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace stirpex::test {

struct PageFixture {
    explicit PageFixture(std::string_view gedcom) : loaded(LoadText(gedcom)) {}

    const CStirpexDoc& doc() const { return *loaded.doc; }
    const CPerson* person(std::string_view key) const { return doc().FindPerson(key); }

    PaintOutcome paint(int clientRight = 500) {
        surface.clear();
        return page.OnDraw(surface, doc(), clientRight, "test.ged");
    }
    void show(std::string_view key) {
        page.m_pPerson = person(key);
        page.m_bFirstDraw = false;
        page.m_bNewPerson = true;
    }
    // The first text drawn that equals `text`; fails the test when there is none.
    const DrawnText& op(std::string_view text) const {
        const auto& ops = surface.ops();
        const auto it = std::find_if(ops.begin(), ops.end(), [&](const DrawnText& t) { return t.text == text; });
        if (it == ops.end()) {
            static const DrawnText missing{-99999, -99999, "<missing>", PageFace::Text, {}};
            ADD_FAILURE() << "no text \"" << text << "\" drawn";
            return missing;
        }
        return *it;
    }
    bool drew(std::string_view text) const {
        const auto& ops = surface.ops();
        return std::any_of(ops.begin(), ops.end(), [&](const DrawnText& t) { return t.text == text; });
    }

    LoadedDoc loaded;
    PersonPage page;
    RecordingSurface surface;
};

} // namespace stirpex::test
