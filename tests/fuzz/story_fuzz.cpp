// The notes and sources viewer's texts for several persons of the document:
// every list a link can open (notes of the person and of each marriage, the
// sources of the person, of each event, of each marriage and divorce) and the
// lists no link opens, each checked for its caption and for a text made of
// whole lines, plus each source formatted with a citation text from the input.

#include "fuzz_input.h"
#include "gedcom/char_set.h"
#include "page/page_link.h"
#include "story/story_text.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace stirpex;
using fuzz::Require;

constexpr int kMaxPersons = 24;          // persons whose lists are assembled per input
constexpr std::size_t kMaxFamilies = 4;  // of each person's marriages
constexpr int kMaxSources = 32;          // sources formatted on their own
constexpr std::size_t kMaxCitation = 64; // bytes of the citation text taken from the input

// The viewer's text box breaks lines at "\r\n" only: a lone CR or LF would
// show a line break the file never had.
bool wholeLines(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            return false;
        }
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            return false;
        }
    }
    return true;
}

void checkStory(const CStirpexDoc& doc, const CPerson& person, int kind, int topic, const CFamily* family,
                int fact = -1) {
    const StoryText story = AssembleStory(doc, person, kind, topic, family, fact);
    Require(story.caption == story.heading + " for " + person.FormatName(0), "the caption names the list and person");
    Require(IsWellFormedUtf8(story.text) && IsWellFormedUtf8(story.caption), "a story is not well-formed UTF-8");
    Require(wholeLines(story.text), "a story's text is made of whole lines");
    const bool ofFamily = topic == TOPIC_MARRIAGE || topic == TOPIC_DIVORCE;
    // A fact's list is known when the fact is: the person's, or the family's given.
    const bool factTopic = topic == TOPIC_FACT || topic == TOPIC_FAMILY_FACT;
    const FactList* facts = topic == TOPIC_FACT                               ? &person.Details().m_facts
                            : topic == TOPIC_FAMILY_FACT && family != nullptr ? &family->Details().m_facts
                                                                              : nullptr;
    const bool knownFact = (kind == LINK_NOTES || kind == LINK_SOURCES) && facts && facts->at(fact) != nullptr;
    const bool known = factTopic ? knownFact
                                 : kind == LINK_NOTES || (kind == LINK_SOURCES && (family != nullptr || !ofFamily) &&
                                                          topic >= TOPIC_PERSON && topic <= TOPIC_BURIAL);
    Require(known != story.heading.empty(), "every list a link can open has a heading, and only those");
    Require(known || story.text.empty(), "a list the viewer does not know stays empty");
    Require(kind != LINK_SOURCES || story.text.empty() || story.text.ends_with("\r\n\r\n"),
            "each citation ends with an empty line");
}

std::vector<const CFamily*> marriagesOf(const CStirpexDoc& doc, const CPerson& person) {
    std::vector<const CFamily*> families{nullptr};
    for (const ArenaStr& key : person.m_arrSpouseFamilies) {
        if (families.size() > kMaxFamilies) {
            break;
        }
        if (const CFamily* family = doc.FindFamily(key.view())) {
            families.push_back(family);
        }
    }
    return families;
}

void checkPerson(const CStirpexDoc& doc, const CPerson& person, fuzz::Choices& choices) {
    // Notes go by the family alone, so one topic with each family covers them.
    for (const CFamily* family : marriagesOf(doc, person)) {
        checkStory(doc, person, LINK_NOTES, choices.pick(0, 9), family);
        checkStory(doc, person, LINK_SOURCES, TOPIC_MARRIAGE, family);
        checkStory(doc, person, LINK_SOURCES, TOPIC_DIVORCE, family);
    }
    for (int topic = 0; topic <= 9; ++topic) {
        if (topic != TOPIC_MARRIAGE && topic != TOPIC_DIVORCE) {
            checkStory(doc, person, LINK_SOURCES, topic, nullptr);
        }
    }
    for (const int kind : {int{LINK_END}, 0, int{LINK_PERSON}, 4}) {
        checkStory(doc, person, kind, choices.pick(0, 9), nullptr);
    }
    // A fact's lists, by a position in or out of the record's facts.
    const int position = choices.pick(-1, person.Details().m_facts.size());
    checkStory(doc, person, LINK_NOTES, TOPIC_FACT, nullptr, position);
    checkStory(doc, person, LINK_SOURCES, TOPIC_FACT, nullptr, position);
    for (const CFamily* family : marriagesOf(doc, person)) {
        const int familyFact = family ? choices.pick(-1, family->Details().m_facts.size()) : 0;
        checkStory(doc, person, LINK_SOURCES, TOPIC_FAMILY_FACT, family, familyFact);
    }
}

void checkSources(const CStirpexDoc& doc, fuzz::Choices& choices) {
    // As a file's citation texts, without line breaks.
    std::string citation = choices.text(kMaxCitation);
    std::erase(citation, '\r');
    std::erase(citation, '\n');
    for (int i = 0; i < doc.m_nSources && i < kMaxSources; ++i) {
        const std::string text = FormatSource(doc, *doc.m_ppSources[static_cast<std::size_t>(i)], citation);
        Require(text.ends_with("\r\n\r\n"), "a citation ends with an empty line");
        const std::size_t firstBreak = text.find("\r\n");
        Require(firstBreak > 0 && text[firstBreak - 1] == '.', "a citation's first line ends with a full stop");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices({data, size});
    const auto doc = fuzz::LoadDocument({data, size});
    fuzz::ForSomePersons(*doc, choices, kMaxPersons,
                         [&](const CPerson& person) { checkPerson(*doc, person, choices); });
    checkSources(*doc, choices);
    return 0;
}
