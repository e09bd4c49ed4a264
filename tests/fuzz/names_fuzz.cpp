// The name index as the viewer makes it (built by the load) and the find
// window's prefix search over it: every entry checked against its person, the
// list order, the first match of prefixes of the entries in both cases and of
// a text typed from the input, each person's own entry found, the married
// names turned off and on, and a build that runs out of memory part way.
// The index sorts by key prefixes (find/key_prefix_sort.h) over the ASCII
// order, whose prefixes are the folded bytes; the starved build pairwise.

#include "find/find_test_support.h"
#include "find/name_index.h"
#include "fuzz_input.h"
#include "model/shown_text.h"
#include "gedcom/char_set.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace stirpex;
using fuzz::Require;

constexpr int kMaxSearches = 32;          // entries whose prefixes are searched per input
constexpr int kMaxPersons = 32;           // persons whose own entry is looked for
constexpr std::size_t kMaxTyped = 64;     // bytes of the typed search text
constexpr std::size_t kMaxBudget = 65536; // bytes the memory-starved build may have

// Copies: a rebuild rewrites the texts the entries view.
using Entries = std::vector<std::pair<std::string, std::int32_t>>;

Entries entriesOf(const NameIndex& index) {
    Entries entries;
    for (const NameEntry& entry : index.entries()) {
        entries.emplace_back(entry.text, entry.person);
    }
    return entries;
}

void checkEntries(const NameIndex& index, const CStirpexDoc& doc, const Collator& collator) {
    std::int64_t expected = 0;
    for (const auto& person : doc.m_ppPersons) {
        expected += 1 + person->Details().m_nAltNames;
    }
    Require(index.m_bMarriedNames ? index.size() >= expected : index.size() == expected,
            "one entry per name, and married names only while they are on");
    const auto entries = index.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Require(entries[i].person >= 0 && entries[i].person < doc.m_nPersons, "an entry names a person");
        Require(IsWellFormedUtf8(entries[i].text), "an entry is not well-formed UTF-8");
        // In the order of what the list shows: texts past any screen's width are cut there.
        Require(i == 0 || collator.compare(ShownPrefix(entries[i - 1].text), ShownPrefix(entries[i].text)) <= 0,
                "the list is in order");
    }
}

// The first entry in list order that begins with `prefix`, found the slow way.
void checkSearch(const NameIndex& index, const Collator& collator, std::string_view prefix) {
    const int found = index.findPrefix(prefix);
    const auto entries = index.entries();
    const auto first = std::find_if(entries.begin(), entries.end(),
                                    [&](const NameEntry& entry) { return collator.startsWith(entry.text, prefix); });
    Require(found == (first == entries.end() ? -1 : static_cast<int>(first - entries.begin())),
            "the search finds the first entry that begins with the text");
    Require(index.personAt(found) == (found < 0 ? -1 : entries[static_cast<std::size_t>(found)].person),
            "the found position names the entry's person");
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

void searchAll(const NameIndex& index, const CStirpexDoc& doc, test::AsciiCollator& collator, fuzz::Choices& choices) {
    const auto entries = index.entries();
    const int count = std::min(index.size(), kMaxSearches);
    const int first = index.empty() ? 0 : choices.pick(0, index.size() - 1);
    for (int i = 0; i < count; ++i) {
        const std::string_view text = entries[static_cast<std::size_t>((first + i) % index.size())].text;
        // Whole, cut at a chosen byte (which may split a character), and one character longer.
        const std::size_t cut = choices.pick<std::size_t>(0, text.size());
        for (const std::string& prefix : {std::string(text), std::string(text.substr(0, cut)), std::string(text) + "e",
                                          upperAscii(text.substr(0, cut))}) {
            checkSearch(index, collator, prefix);
        }
        Require(index.findPrefix(text) >= 0, "an entry's own text finds an entry");
        collator.folded.clear();
    }
    checkSearch(index, collator, choices.text(kMaxTyped));
    fuzz::ForSomePersons(doc, choices, kMaxPersons, [&](const CPerson& person) {
        const int found = index.SelectCurrentPerson(&person);
        Require(found >= 0 &&
                    collator.startsWith(index.entries()[static_cast<std::size_t>(found)].text, person.GetDisplayName()),
                "the current person selects an entry that begins with their name");
    });
    Require(index.SelectCurrentPerson(nullptr) == -1, "no current person selects nothing");
    collator.folded.clear();
}

// Running out of memory part way keeps the entries made so far, sorted, and says so once.
void buildStarved(const CStirpexDoc& doc, const Collator& collator, const Entries& whole, bool marriedNames,
                  fuzz::Choices& choices) {
    test::LimitedResource resource(choices.pick<std::size_t>(0, kMaxBudget));
    test::RecordingMessages messages;
    NameIndex index(collator, &messages, &resource);
    index.m_bMarriedNames = marriedNames;
    index.Reserve(choices.pick<std::size_t>(0, 4096));
    index.BuildIndex(doc);
    Require(messages.shown.size() <= 1, "running out of memory is said once");
    const Entries kept = entriesOf(index);
    if (messages.shown.empty()) {
        Require(kept == whole, "a build with enough memory makes the whole index");
        return;
    }
    Require(messages.shown.front() == "Not enough memory for complete name index", "the message names the index");
    Require(kept.size() <= whole.size(), "a starved build keeps no more entries than the whole index has");
    for (std::size_t i = 1; i < kept.size(); ++i) {
        Require(collator.compare(kept[i - 1].first, kept[i].first) <= 0, "the entries kept are in order");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices({data, size});
    // Sorted as the locale collator sorts, by key prefixes and whole texts where those are alike.
    test::PrefixSortingCollator collator;
    test::RecordingMessages messages;
    NameIndex index(collator, &messages);
    index.m_bMarriedNames = choices.flip();
    LoadEnvironment env;
    env.messages = &messages;
    env.nameIndex = &index;
    const auto doc = fuzz::LoadDocument({data, size}, env);
    Require(messages.shown.empty(), "a small file is indexed without a message");
    checkEntries(index, *doc, collator);
    searchAll(index, *doc, collator, choices);
    const Entries built = entriesOf(index);

    index.m_bMarriedNames = !index.m_bMarriedNames;
    index.BuildIndex(*doc);
    checkEntries(index, *doc, collator);
    index.m_bMarriedNames = !index.m_bMarriedNames;
    index.BuildIndex(*doc);
    Require(entriesOf(index) == built, "each build starts afresh");

    // A starved sort of the prefixes leaves the entries as they were; the
    // locale collator then sorts pairwise, as this one does.
    const test::AsciiCollator pairwise;
    buildStarved(*doc, pairwise, built, index.m_bMarriedNames, choices);
    return 0;
}
