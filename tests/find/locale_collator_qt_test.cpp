#include "find/locale_collator_qt.h"

#include "find/type_ahead.h"

#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <memory_resource>
#include <string>
#include <vector>

namespace stirpex {
namespace {

std::vector<std::string> TextsOf(const std::vector<NameEntry>& entries) {
    std::vector<std::string> texts;
    for (const NameEntry& entry : entries) {
        texts.emplace_back(entry.text);
    }
    return texts;
}

std::vector<NameEntry> EntriesOf(const std::vector<std::string_view>& texts) {
    std::vector<NameEntry> entries;
    for (const std::string_view text : texts) {
        entries.push_back({text, static_cast<std::int32_t>(entries.size())});
    }
    return entries;
}

TEST(LocaleCollatorLocale, CAndPosixCollateAsEnglishOthersAsThemselves) {
    EXPECT_EQ(CollationLocale(QLocale::c()).name().toStdString(), "en_US");
    EXPECT_EQ(CollationLocale(QLocale(QLocale::German, QLocale::Germany)).name().toStdString(), "de_DE");
    EXPECT_EQ(LocaleCollator(QLocale(QLocale::Swedish, QLocale::Sweden)).localeName(), "sv_SE");
    // The tests run under LC_ALL=C, as a bare shell or a service does.
    EXPECT_EQ(LocaleCollator().localeName(), "en_US");
}

TEST(LocaleCollatorOrder, AccentedLettersBesideTheirBaseLettersAndCaseIgnored) {
    const LocaleCollator collator;
    std::vector<NameEntry> entries = EntriesOf({"Zola, Anne (?-?)", "Émile, Jean (?-?)", "Duchêne, Hélène (1854-1931)",
                                                "emile, Jean (?-?)", "Duchêne, Émile (1822-1890)", "Edgar, Ann (?-?)",
                                                "EMILE, JEAN (?-?)", "Lindqvist, Åsa (1868-c1941)"});
    collator.sort(entries, std::pmr::get_default_resource());
    // The three texts equal but for case keep the order they came in.
    EXPECT_EQ(TextsOf(entries),
              (std::vector<std::string>{"Duchêne, Émile (1822-1890)", "Duchêne, Hélène (1854-1931)", "Edgar, Ann (?-?)",
                                        "emile, Jean (?-?)", "EMILE, JEAN (?-?)", "Émile, Jean (?-?)",
                                        "Lindqvist, Åsa (1868-c1941)", "Zola, Anne (?-?)"}));
    EXPECT_EQ(collator.compare("Emile", "eMILE"), 0);
    EXPECT_LT(collator.compare("Emile", "Émile"), 0);
    EXPECT_LT(collator.compare("Émile", "Zola"), 0);
}

// The sort goes through the beginnings of collation keys; it must agree with comparing pairwise,
// and move every entry, text and person together, to its place.
TEST(LocaleCollatorOrder, KeySortAgreesWithPairwiseSort) {
    const LocaleCollator collator;
    const std::vector<std::string_view> texts = {
        "Björk, Ingrid",
        "Bjork, Inga",
        "Muñoz, Clara",
        "Munoz, Carl",
        "MUÑOZ, clara",
        "Løvaas, Astrid",
        "Lovaas, Ann",
        ", Lee",
        "Smith-Jones, Al",
        "Smith, Al",
        "Smith Al",
        "Ibáñez, Tomás",
        "ibanez, tomas",
        "Zoë",
        "Zoe",
        "zoë",
        "Ærø, Ida",
        "Aero, Ida",
        "Ödegaard",
        "Odegaard",
        "Øst",
        "Ost",
        "1850 Smith",
        "Þór",
        // Alike in the first bytes of their keys, so compared whole.
        "Smith-Jonesworth, Alexandrina (?-?)",
        "SMITH-JONESWORTH, ALEXANDRA (?-?)",
        "Smith-Jonesworth, Alexandra (?-?)",
        "Smith-Jönesworth, Alexandra (?-?)",
        "Smith-Jonesworth",
        "Smith-Jonesworth,",
    };
    std::vector<NameEntry> byKeys = EntriesOf(texts);
    std::vector<NameEntry> pairwise = byKeys;
    collator.sort(byKeys, std::pmr::get_default_resource());
    collator.Collator::sort(pairwise, std::pmr::get_default_resource());
    ASSERT_EQ(byKeys.size(), pairwise.size());
    for (std::size_t i = 0; i < byKeys.size(); ++i) {
        EXPECT_EQ(byKeys[i].text, pairwise[i].text) << i;
        EXPECT_EQ(byKeys[i].person, pairwise[i].person) << i;
        EXPECT_EQ(texts[static_cast<std::size_t>(byKeys[i].person)], byKeys[i].text) << i;
    }
}

// Collation keys are made of what the list shows of a name, not of 50 MB.
TEST(LocaleCollatorOrder, TextsAlikeInAllTheListShowsKeepTheirOrder) {
    const LocaleCollator collator;
    const std::string shown(kMaxShownCodePoints, 'a');
    const std::string b = shown + "b", a = shown + "a", before = shown.substr(1) + "0";
    std::vector<NameEntry> entries = {{b, 0}, {a, 1}, {before, 2}};
    collator.sort(entries, std::pmr::get_default_resource());
    EXPECT_EQ(entries[0].person, 2);
    EXPECT_EQ(entries[1].person, 0);
    EXPECT_EQ(entries[2].person, 1);
}

TEST(LocaleCollatorStartsWith, NonAsciiLettersMatchInEitherCase) {
    const LocaleCollator collator;
    struct Case {
        std::string_view text, prefix;
        bool starts;
    };
    const Case cases[] = {
        {"Émile Zola", "émi", true},
        {"ÉMILE", "émile", true},
        {"Émile", "e", false}, // an accent is not a case
        {"Emile", "é", false},
        {"Zoë (1912-2001)", "ZOË", true},
        {"Zoë", "Zoë!", false},
        {"Åsa", "åsa", true},
        {"Åsa", "ösa", false}, // a second prefix right after the first is not mistaken for it
        {"ÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉ", "éééé", true},
        {"Straße", "STRASSE", false}, // folding keeps one letter for one
    };
    for (const Case& c : cases) {
        EXPECT_EQ(collator.startsWith(c.text, c.prefix), c.starts) << c.text << " / " << c.prefix;
    }
}

// Typing "lowe" finds Löwe and typing "émi" finds Emile: the prefix test of
// the name list's typing knows neither case nor accents, and tells where a
// text that fails it stands, as the list's order has it.
TEST(LocaleCollatorPrefix, BeginningIgnoresCaseAndAccentsAndOrdersTheRest) {
    const LocaleCollator collator;
    for (const auto& [text, prefix] :
         std::vector<std::pair<std::string_view, std::string_view>>{{"Löwe, Anna (?-?)", "lowe"},
                                                                    {"Löwe, Anna (?-?)", "LÖWE, A"},
                                                                    {"Emile, Jean (?-?)", "émi"},
                                                                    {"Ørsted, Hans (?-?)", "ørs"},
                                                                    {"Anything", ""}}) {
        EXPECT_EQ(collator.comparePrefix(text, prefix), 0) << text << " / " << prefix;
    }
    EXPECT_LT(collator.comparePrefix("Lowa, Ben (?-?)", "lowe"), 0);
    EXPECT_LT(collator.comparePrefix("Low", "lowe"), 0);
    EXPECT_LT(collator.comparePrefix("Low, Ann (?-?)", "lowe"), 0);
    EXPECT_GT(collator.comparePrefix("Lozano, Eva (?-?)", "löwe"), 0);
    EXPECT_GT(collator.comparePrefix("Lowell, Amy (?-?)", "lowe,"), 0);
}

TEST(LocaleCollatorPrefix, TypedTextSelectsTheFirstEntryBeginningWithIt) {
    const LocaleCollator collator;
    std::vector<NameEntry> entries =
        EntriesOf({"Lozano, Eva (?-?)", "Löwe, Bert (?-?)", "Lowell, Amy (?-?)", "LOWE, Anna (?-?)",
                   "Lindqvist, Åsa (1868-c1941)", "Åberg, Per (?-?)", "Abel, Ann (?-?)"});
    collator.sort(entries, std::pmr::get_default_resource());
    const auto typed = [&](std::string_view text) {
        const int position = FindTyped(entries, collator, text);
        return position < 0 ? std::string("none") : std::string(entries[static_cast<std::size_t>(position)].text);
    };
    EXPECT_EQ(typed("lowe"), "LOWE, Anna (?-?)");
    EXPECT_EQ(typed("löwe, b"), "Löwe, Bert (?-?)");
    EXPECT_EQ(typed("lowel"), "Lowell, Amy (?-?)");
    EXPECT_EQ(typed("ab"), "Abel, Ann (?-?)");
    EXPECT_EQ(typed("abe"), "Abel, Ann (?-?)");
    EXPECT_EQ(typed("aber"), "Åberg, Per (?-?)");
    EXPECT_EQ(typed("lo"), "LOWE, Anna (?-?)");
    EXPECT_EQ(typed("lox"), "none");
    EXPECT_EQ(typed("lowe, c"), "none");
}

} // namespace
} // namespace stirpex
