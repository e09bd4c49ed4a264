#pragma once

// One link drawn on the person page, and the kinds and topics that say what
// a click on it opens. The values are fixed: the notes and sources viewer
// switches on the topics.

#include <cstdint>

namespace stirpex {

enum LinkKind : int { LINK_END = -1, LINK_PERSON = 1, LINK_NOTES = 2, LINK_SOURCES = 3 };

enum LinkTopic : int {
    TOPIC_RELATIVE = 1,
    TOPIC_PERSON = 2,
    TOPIC_BIRTH = 3,
    TOPIC_BAPTISM = 4,
    TOPIC_MARRIAGE = 5,
    TOPIC_DIVORCE = 6,
    TOPIC_DEATH = 7,
    TOPIC_BURIAL = 8,
};

} // namespace stirpex
