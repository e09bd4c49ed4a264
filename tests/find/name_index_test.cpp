#include "find/name_index.h"

#include "find/find_test_support.h"
#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using Entries = std::vector<std::pair<std::string, int>>;

Entries EntriesOf(const NameIndex& index) {
    Entries entries;
    for (const NameEntry& entry : index.entries()) {
        entries.emplace_back(entry.text, entry.person);
    }
    return entries;
}

// Mary Smith has two husbands named Jones, a family key that finds nothing, a
// family without a husband and one whose husband is not on record. Anna Berg
// has two further names; Lee has no surname; Kim has no sex; the men are
// husbands with wives on record.
constexpr std::string_view kFamily = "0 HEAD\n1 CHAR UTF-8\n"
                                     "0 @I1@ INDI\n1 NAME Mary /Smith/\n1 SEX F\n"
                                     "1 FAMS @F1@\n1 FAMS @F2@\n1 FAMS @F9@\n1 FAMS @F3@\n1 FAMS @F5@\n"
                                     "0 @I2@ INDI\n1 NAME John /Jones/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
                                     "0 @I3@ INDI\n1 NAME Paul /Jones/\n1 SEX M\n1 FAMS @F2@\n1 FAMS @F7@\n"
                                     "0 @I4@ INDI\n1 NAME Anna /Berg/\n1 NAME Ann /Burke/\n1 NAME Annie /Bergh/\n"
                                     "1 SEX F\n1 BIRT\n2 DATE ABT 1801\n1 DEAT\n2 DATE 1870\n"
                                     "0 @I5@ INDI\n1 NAME Lee //\n1 SEX U\n1 FAMS @F4@\n"
                                     "0 @I6@ INDI\n1 NAME Kim /Young/\n1 FAMS @F7@\n"
                                     "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n"
                                     "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I1@\n"
                                     "0 @F3@ FAM\n1 WIFE @I1@\n"
                                     "0 @F4@ FAM\n1 HUSB @I2@\n1 WIFE @I5@\n"
                                     "0 @F5@ FAM\n1 HUSB @I99@\n1 WIFE @I1@\n"
                                     "0 @F7@ FAM\n1 HUSB @I3@\n1 WIFE @I6@\n"
                                     "0 TRLR\n";

const Entries kWithMarriedNames = {
    {", Lee (?-?)", 4},
    {"Berg, Anna (c1801-1870)", 3},
    {"Bergh, Annie (c1801-1870)", 3},
    {"Burke, Ann (c1801-1870)", 3},
    {"Jones, John (1850-?)", 1},
    {"Jones, Mary [Smith] (?-?)", 0},
    {"Jones, Mary [Smith] (?-?)", 0},
    {"Jones, Paul (?-?)", 2},
    {"Smith, Mary (?-?)", 0},
    {"Young, Kim (?-?)", 5},
};

struct Fixture {
    test::AsciiCollator collator;
    test::RecordingMessages messages;
    test::LoadedDoc loaded = test::LoadText(kFamily);
    NameIndex index{collator, &messages};
};

TEST(NameIndexEntries, MainAlternativeAndMarriedEntriesInCollatorOrder) {
    Fixture f;
    f.index.BuildIndex(*f.loaded.doc);
    EXPECT_EQ(EntriesOf(f.index), kWithMarriedNames);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(NameIndexEntries, OptionOffLeavesOnlyMainAndAlternativeEntriesAndEachBuildStartsAfresh) {
    Fixture f;
    f.index.m_bMarriedNames = false;
    f.index.BuildIndex(*f.loaded.doc);
    Entries expected = kWithMarriedNames;
    std::erase_if(expected, [](const auto& entry) { return entry.first.starts_with("Jones, Mary"); });
    EXPECT_EQ(EntriesOf(f.index), expected);

    f.index.m_bMarriedNames = true;
    f.index.BuildIndex(*f.loaded.doc);
    EXPECT_EQ(EntriesOf(f.index), kWithMarriedNames);
}

// Married names follow the couple as the file records it: the wife of two
// women takes the surname of the one recorded as husband, who takes none from
// her; a woman the family does not name as a partner takes its husband's.
TEST(NameIndexEntries, MarriedNameIsTheRecordedHusbandsSurnameForTheWifeOnly) {
    test::AsciiCollator collator;
    const auto loaded = test::LoadText("0 @KIM@ INDI\n1 NAME Kim /Ash/\n1 SEX F\n1 FAMS @F1@\n"
                                       "0 @LOU@ INDI\n1 NAME Lou /Birch/\n1 SEX F\n1 FAMS @F1@\n"
                                       "0 @EVE@ INDI\n1 NAME Eve /Cole/\n1 SEX F\n1 FAMS @F2@\n"
                                       "0 @TOM@ INDI\n1 NAME Tom /Dale/\n1 SEX M\n"
                                       "0 @F1@ FAM\n1 HUSB @KIM@\n1 WIFE @LOU@\n0 @F2@ FAM\n1 HUSB @TOM@\n");
    NameIndex index(collator);
    index.BuildIndex(*loaded.doc);
    EXPECT_EQ(EntriesOf(index), (Entries{{"Ash, Kim (?-?)", 0},
                                         {"Ash, Lou [Birch] (?-?)", 1},
                                         {"Birch, Lou (?-?)", 1},
                                         {"Cole, Eve (?-?)", 2},
                                         {"Dale, Eve [Cole] (?-?)", 2},
                                         {"Dale, Tom (?-?)", 3}}));
}

// Guards against sorting by bytes, which puts lower case after every capital.
TEST(NameIndexEntries, SortsWithTheCollatorItIsGiven) {
    test::AsciiCollator collator;
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Zed /Abbot/\n"
                                       "0 @I2@ INDI\n1 NAME Carl /Baker/\n"
                                       "0 @I3@ INDI\n1 NAME bob /abbot/\n");
    NameIndex index(collator);
    index.BuildIndex(*loaded.doc);
    EXPECT_EQ(EntriesOf(index), (Entries{{"abbot, bob (?-?)", 2}, {"Abbot, Zed (?-?)", 0}, {"Baker, Carl (?-?)", 1}}));
}

TEST(NameIndexEntries, FileWithoutIndividualsStaysEmpty) {
    test::AsciiCollator collator;
    const auto loaded = test::LoadText("0 HEAD\n0 @F1@ FAM\n0 TRLR\n");
    NameIndex index(collator);
    for (int build = 0; build < 2; ++build) {
        index.BuildIndex(*loaded.doc);
        EXPECT_TRUE(index.empty());
        EXPECT_EQ(index.findPrefix(""), -1);
    }
}

TEST(NameIndexProgress, WindowOnlyForFilesLongerThan50000Bytes) {
    for (const std::int64_t length : {std::int64_t{50000}, std::int64_t{50001}}) {
        Fixture f;
        f.loaded.doc->m_nFileLength = length;
        f.loaded.doc->m_strFileName = "big family.ged";
        test::RecordingProgress progress;
        f.index.BuildIndex(*f.loaded.doc, &progress);
        if (length > 50000) {
            EXPECT_EQ(progress.texts, std::vector<std::string>{"Indexing GEDCOM file big family.ged"});
            // Six people: after person i the bar shows i * 100 / 6, each value once, never 0.
            EXPECT_EQ(progress.positions, (std::vector<int>{16, 33, 50, 66, 83}));
            EXPECT_FALSE(progress.windowOpen);
        } else {
            EXPECT_TRUE(progress.texts.empty());
            EXPECT_TRUE(progress.positions.empty());
        }
        EXPECT_EQ(f.index.size(), 10);
    }
}

// 300 people whose names sort in the reverse of file order.
std::string ManyPeople(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME P /" + std::to_string(9999 - i) + "/\n";
    }
    return text;
}

TEST(NameIndexOutOfMemory, KeepsTheEntriesMadeSoFarSortedAndSaysSoOnce) {
    const auto loaded = test::LoadText(ManyPeople(300));
    test::AsciiCollator collator;
    test::RecordingMessages messages;
    // Room for the first block of texts and some entries, not for 300.
    test::LimitedResource resource(70000);
    NameIndex index(collator, &messages, &resource);
    test::RecordingProgress progress;
    loaded.doc->m_nFileLength = 60000;
    index.BuildIndex(*loaded.doc, &progress);

    EXPECT_EQ(messages.shown, std::vector<std::string>{"Not enough memory for complete name index"});
    EXPECT_FALSE(progress.windowOpen);
    const int kept = index.size();
    ASSERT_GT(kept, 0);
    ASSERT_LT(kept, 300);
    // The first `kept` people, in ascending order: their names run backwards.
    for (int position = 0; position < kept; ++position) {
        const int person = kept - 1 - position;
        EXPECT_EQ(index.personAt(position), person);
        EXPECT_EQ(index.entries()[static_cast<std::size_t>(position)].text,
                  std::to_string(9999 - person) + ", P (?-?)");
    }
}

// A deep lineage has a person for every 130 bytes of file, with short names:
// what the index and its sort hold per entry decides its memory, which must
// stay well under the file's size. 100 bytes an entry leaves room for the
// entry, its text and the sort's prefix, not for a whole collation key too.
TEST(NameIndexMemory, DeepLineageOfShortNamesIndexedWithinABudgetPerPerson) {
    constexpr int kPersons = 100000;
    std::string text;
    for (int i = 1; i <= kPersons; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Given" + std::to_string(i % 997) + " /Line/\n";
    }
    const auto loaded = test::LoadText(text);
    ASSERT_EQ(loaded.doc->m_nPersons, kPersons);
    const test::PrefixSortingCollator collator;
    const auto build = [&](std::size_t bytesPerPerson) {
        test::LimitedResource resource(bytesPerPerson * kPersons);
        test::RecordingMessages messages;
        NameIndex index(collator, &messages, &resource);
        index.BuildIndex(*loaded.doc);
        return messages.shown.empty() && index.size() == kPersons && index.entries()[0].text == "Line, Given0 (?-?)";
    };
    EXPECT_TRUE(build(100));
    // The sort takes its memory from the index's resource too: without room
    // for the prefixes beside the entries and texts the index is incomplete.
    EXPECT_FALSE(build(60));
}

TEST(NameIndexReserve, RoomThatCannotBeHadIsRefusedWithoutThrowing) {
    test::AsciiCollator collator;
    test::LimitedResource resource(1 << 20);
    NameIndex index(collator, nullptr, &resource);
    EXPECT_TRUE(index.Reserve(1000));
    EXPECT_GE(resource.inUse(), std::size_t{1000} * (sizeof(NameEntry) + 40));
    EXPECT_FALSE(index.Reserve(100000));
    EXPECT_FALSE(index.Reserve(static_cast<std::size_t>(-1) / 8));
}

// The reader reserves file length / 250 entries: for a file of 1 MiB the
// entry table alone is larger than any one allocation the resource allows,
// while the build itself needs far less.
TEST(NameIndexReserve, FailedReservationThroughTheLoadIsReportedAndTheIndexStillBuilt) {
    test::AsciiCollator collator;
    test::RecordingMessages messages;
    test::LimitedResource resource(std::size_t{16} << 20, std::size_t{64} << 10);
    NameIndex index(collator, &messages, &resource);
    LoadEnvironment env;
    env.messages = &messages;
    env.nameIndex = &index;
    const std::string text =
        "0 @I1@ INDI\n1 NAME Ada /Lovel/\n0 @I2@ INDI\n1 NAME Bo /Ek/\n" + std::string(1 << 20, ' ');
    const auto loaded = test::LoadText(text, env);

    EXPECT_EQ(messages.shown, std::vector<std::string>{"Not enough memory for name index"});
    EXPECT_TRUE(loaded.result.indexBuilt);
    EXPECT_EQ(EntriesOf(index), (Entries{{"Ek, Bo (?-?)", 1}, {"Lovel, Ada (?-?)", 0}}));
}

TEST(NameIndexSearch, FirstEntryInListOrderThatBeginsWithTheTextInAnyCase) {
    Fixture f;
    f.index.BuildIndex(*f.loaded.doc);
    EXPECT_EQ(f.index.findPrefix("smi"), 8);
    EXPECT_EQ(f.index.findPrefix("JONES, M"), 5);
    EXPECT_EQ(f.index.findPrefix("jones"), 4);
    EXPECT_EQ(f.index.findPrefix(", lee"), 0);
    EXPECT_EQ(f.index.findPrefix("Young, Kim (?-?) and more"), -1);
    EXPECT_EQ(f.index.findPrefix("x"), -1);
    EXPECT_EQ(f.index.personAt(f.index.findPrefix("berGH")), 3);
    EXPECT_EQ(f.index.personAt(-1), -1);
    EXPECT_EQ(f.index.personAt(f.index.size()), -1);
}

TEST(NameIndexSearch, CurrentPersonSelectsTheFirstEntryWithItsDisplayName) {
    Fixture f;
    f.index.BuildIndex(*f.loaded.doc);
    const CStirpexDoc& doc = *f.loaded.doc;
    EXPECT_EQ(f.index.SelectCurrentPerson(doc.FindPerson("I1")), 8); // her main entry, not a married one
    EXPECT_EQ(f.index.SelectCurrentPerson(doc.FindPerson("I4")), 1);
    EXPECT_EQ(f.index.SelectCurrentPerson(nullptr), -1);
    f.index.m_bMarriedNames = false;
    f.index.BuildIndex(doc);
    EXPECT_EQ(f.index.SelectCurrentPerson(doc.FindPerson("I1")), 6);
}

// A document closed while its index is built in the background sets the
// stop: the build ends within a few thousand people, leaves the index empty
// and reports no failure; the next build starts afresh and is whole.
TEST(NameIndexStop, AStoppedBuildEndsEarlyEmptyAndSilent) {
    std::string text = "0 HEAD\n";
    constexpr int kPeople = 20000;
    for (int i = 0; i < kPeople; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Ann /Lee" + std::to_string(i) + "/\n";
    }
    test::AsciiCollator collator;
    test::RecordingMessages messages;
    const auto loaded = test::LoadText(text);
    loaded.doc->m_nFileLength = static_cast<std::int64_t>(text.size());
    NameIndex index(collator, &messages);

    // Stopped from "another thread" once the build is under way: at its first step on the bar.
    std::atomic<bool> stop{false};
    struct StoppingSink final : ProgressSink {
        struct Window final : ProgressWindow {
            explicit Window(std::atomic<bool>& stop) : m_stop(stop) {}
            void SetPos(int) override { m_stop = true; }
            std::atomic<bool>& m_stop;
        };
        explicit StoppingSink(std::atomic<bool>& stop) : m_stop(stop) {}
        std::unique_ptr<ProgressWindow> Create(std::string_view) override { return std::make_unique<Window>(m_stop); }
        std::atomic<bool>& m_stop;
    } stopping(stop);
    index.BuildIndex(*loaded.doc, &stopping, &stop);
    EXPECT_TRUE(stop);
    EXPECT_TRUE(index.empty());
    EXPECT_TRUE(messages.shown.empty());

    stop = false;
    index.BuildIndex(*loaded.doc, nullptr, &stop);
    EXPECT_EQ(index.size(), kPeople);
}

} // namespace
} // namespace stirpex
