#pragma once

// One link drawn on the person page, and the kinds and topics that say what
// a click on it opens. The values are fixed: the notes and sources viewer
// switches on the topics.

#include <cstdint>

namespace stirpex {

enum LinkKind : int { LINK_END = -1, LINK_PERSON = 1, LINK_NOTES = 2, LINK_SOURCES = 3, LINK_MEDIA = 4 };

enum LinkTopic : int {
    TOPIC_RELATIVE = 1,
    TOPIC_PERSON = 2,
    TOPIC_BIRTH = 3,
    TOPIC_BAPTISM = 4,
    TOPIC_MARRIAGE = 5,
    TOPIC_DIVORCE = 6,
    TOPIC_DEATH = 7,
    TOPIC_BURIAL = 8,
    TOPIC_FACT = 9,         // one of the person's other facts: nFact says which
    TOPIC_FAMILY_FACT = 10, // one of a family's other facts: nIndex is the family, nFact the fact
    TOPIC_MEDIA = 11,       // a multimedia record; the link is a LINK_MEDIA
};

// A rectangle in page coordinates; (0, 0, 0, 0) is the empty one, which holds
// no point and matches no link.
struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const noexcept { return left >= right || top >= bottom; }
    bool contains(int x, int y) const noexcept { return left <= x && x < right && top <= y && y < bottom; }
    friend bool operator==(const PageRect&, const PageRect&) noexcept = default;
};

struct PageLink {
    PageRect rect; // (x, y, x + text width, y + 20)
    int nKind = LINK_END;
    int nTopic = 0;
    int nIndex = -1; // the person, the family for the marriage, divorce and family fact topics, the media record for
                     // TOPIC_MEDIA
    int nFact = -1;  // the fact's position in its record's facts, for the fact topics
};

} // namespace stirpex
