#include "gedcom/char_set_ansel.h"

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"
#include "model/utf8.h"

#include <gtest/gtest.h>
#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
namespace {

using namespace std::string_literals;

std::string Ansel(std::string_view line) {
    std::string out;
    detail::AppendAnselAsUtf8(out, line);
    return out;
}

struct Case {
    std::string_view ansel;
    std::string_view text;
};

void ExpectAll(const std::initializer_list<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Ansel(c.ansel), c.text) << c.ansel;
    }
}

TEST(Ansel, SpacingCharactersBecomeTheirUnicodeCharacters) {
    // Every defined byte 0xA1-0xCF, in order; the undefined ones among them give U+FFFD.
    EXPECT_EQ(Ansel("\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xB0"
                    "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBC\xBD\xBE\xBF"
                    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xCD\xCE\xCF"),
              "ŁØĐÞÆŒʹ·♭®±ƠƯʾʿ"
              "łøđþæœʺı£ðơư□■"
              "°ℓ℗©♯¿¡ß€eoß");
}

TEST(Ansel, ControlBytesAreDroppedAndUndefinedBytesReplaced) {
    ExpectAll({
        {"A\x80\x88\x8D\x9F"
         "B\0\x7F"s,
         "AB\0\x7F"s},
        {"a\xA0z", "a z"}, // the blank of old
        {"\xAF\xBB\xC9\xCC\xD0\xDF", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        // Undefined bytes among the marks are no marks: they stand for themselves.
        {"\xFCx\xFDy\xFF", "\uFFFDx\uFFFDy\uFFFD"},
    });
}

// Letters are written as hex escapes where a letter would continue the escape before it.
TEST(Ansel, EveryMarkFollowsItsLetterComposedWhereUnicodeCan) {
    ExpectAll({
        {"\xE0\x61", "ả"},                   // hook above
        {"\xE1\x65", "è"},                   // grave
        {"\xE2\x43\xE2n\xE2S\xE2Z", "ĆńŚŹ"}, // acute
        {"\xE3w", "ŵ"},                      // circumflex
        {"\xE4n", "ñ"},                      // tilde
        {"\xE5\x61", "ā"},                   // macron
        {"\xE6g", "ğ"},                      // breve
        {"\xE7z", "ż"},                      // dot above
        {"\xE8u", "ü"},                      // diaeresis
        {"\xE9\x43\xE9r\xE9\x45", "ČřĚ"},    // caron
        {"\xEAu", "ů"},                      // ring above
        {"\xEBt\xECs", "t\uFE20s\uFE21"},    // ligature, left and right half
        {"\xEDg", "g\u0315"},                // high comma, off centre
        {"\xEEo", "ő"},                      // double acute
        {"\xEFm", "m\u0310"},                // candrabindu
        {"\xF0s", "ş"},                      // cedilla
        {"\xF1\x65", "ę"},                   // right hook (ogonek)
        {"\xF2t", "ṭ"},                      // dot below
        {"\xF3u", "ṳ"},                      // double dot below
        {"\xF4\x61", "ḁ"},                   // ring below
        {"\xF5\x61", "a\u0333"},             // double underscore
        {"\xF6\x62", "b\u0332"},             // underscore (the line below, not the macron below of ḇ)
        {"\xF7s\xF7t", "șț"},                // left hook: the comma below of Romanian
        {"\xF8\x65", "e\u031C"},             // right cedilla
        {"\xF9h", "ḫ"},                      // half circle below
        {"\xFAn\xFBg", "n\uFE22g\uFE23"},    // double tilde, left and right half
        {"\xFEk", "k\u0313"},                // high comma, centred
    });
}

TEST(Ansel, MarksComposeWithTheOneByteLetters) {
    ExpectAll({
        {"\xE2\xAC\xF2\xBD", "Ớự"}, // Vietnamese horn letters
        {"\xE2\xA2\xE2\xA5", "ǾǼ"}, // O stroke, AE
        {"\xE2\xB1", "ł\u0301"},    // no precomposed form: the mark stays behind the letter
        {"\xE2\xB8\xE8\xB8", "íï"}, // the dotless i takes a mark as i
        {"\xE1\xCD", "è"},          // midline e is an e
        {"\xE9\xA3", "Đ\u030C"},
    });
}

TEST(Ansel, StackedMarksKeepTheirOrder) {
    ExpectAll({
        {"\xE3\xE2\x61", "ấ"},       // circumflex then acute: a circumflex with acute
        {"\xE2\xE3\x61", "á\u0302"}, // acute then circumflex: the acute composes, the circumflex follows
        {"\xE8\xE5u", "ǖ"},          // diaeresis then macron
        {"\xE5\xE8u", "ṻ"},          // macron then diaeresis: another letter
        // A mark above and one below are in canonical order whichever was written first.
        {"\xF2\xE3\x65", "ệ"},
        {"\xE3\xF2\x65", "ệ"},
        {"\xE2\xE2\x65x", "é\u0301x"},
    });
}

TEST(Ansel, MarksOnSomethingOtherThanALetterAreDropped) {
    ExpectAll({
        {"\xE2\x30", "0"},
        {"\xE3 x", " x"},
        {"\xE2?\xE1@\xE8[", "?@["},
        {"\xE2\xE3 1", " 1"},   // a whole stack
        {"\xE8\xB9", "£"},      // an ANSEL symbol
        {"\xE8\xAF", "\uFFFD"}, // an undefined byte
        {"\xE8\x8D\x61", "a"},  // a control byte, which is dropped in turn: the mark does not reach the letter
        {"\xE2\x7F", "\x7F"},
    });
}

TEST(Ansel, MarksThatEndTheLineAreDropped) {
    ExpectAll({
        {"ab\xE2", "ab"},
        {"\xE9", ""},
        {"x\xE2\xE3\xFE", "x"},
        {"\xE2\x65\xE0", "é"},
    });
}

TEST(Ansel, LongLinesAndLongStacksStayWhole) {
    std::string ansel;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        ansel += "\xE2\x65\xA1";
        text += "éŁ";
    }
    EXPECT_EQ(Ansel(ansel), text);
    // A stack longer than a letter's short buffer: NFC moves the first fifteen underscores (below) before
    // the acutes (above) and composes a with the first acute; past the 30th mark they follow as written,
    // which also keeps a hostile stack from costing time that grows with its square.
    std::string stack;
    for (int i = 0; i < 10000; ++i) {
        stack += "\xE2\xF6";
    }
    std::string expected = "á";
    for (int i = 0; i < 15; ++i) {
        expected += "\u0332";
    }
    for (int i = 1; i < 15; ++i) {
        expected += "\u0301";
    }
    for (int i = 15; i < 10000; ++i) {
        expected += "\u0301\u0332";
    }
    EXPECT_EQ(Ansel(stack + "a"), expected);
}

// The repository's ANSEL file and its UTF-8 twin, written by one program from
// the same data. They share the test children: four of spacing characters,
// each given in parentheses after its name, and one per combining mark, whose
// birth place holds the mark on each capital letter and whose death place the
// mark on each small letter. The UTF-8 twin instead names the mark's code
// point and lists, for the letters Unicode composes with it, the letters
// (birth place) and the composed characters (death place), the same order.
class AnselTwin : public ::testing::Test {
protected:
    static std::unique_ptr<CStirpexDoc> Load(const char* name) {
        auto doc = std::make_unique<CStirpexDoc>();
        std::string error;
        LoadGedcomFile(*doc, std::filesystem::path(STIRPEX_REPO_CORPUS_DIR) / name, LoadEnvironment{}, error);
        EXPECT_EQ(error, "") << name;
        return doc;
    }

    static const CPerson& Child(const CStirpexDoc& doc, int number) {
        const CPerson* child = doc.FindPerson("CHILD" + std::to_string(number));
        if (!child) {
            throw std::logic_error("no child " + std::to_string(number));
        }
        return *child;
    }

    // The texts in parentheses, in order.
    static std::vector<std::string> Parenthesised(std::string_view text) {
        std::vector<std::string> out;
        for (std::size_t open = text.find('('); open != std::string_view::npos; open = text.find('(', open + 1)) {
            const std::size_t close = text.find(')', open);
            out.emplace_back(text.substr(open + 1, close - open - 1));
        }
        return out;
    }

    // Each UTF-8 character of a list written in groups of five ("AEIOU,Yaeio,uy"); none for "- none -".
    static std::vector<std::string> Characters(std::string_view list) {
        std::vector<std::string> out;
        if (list == "- none -") {
            return out;
        }
        for (std::size_t i = 0; i < list.size();) {
            const std::size_t length = CodePointLength(static_cast<unsigned char>(list[i]));
            if (list[i] != ',') {
                out.emplace_back(list.substr(i, length));
            }
            i += length;
        }
        return out;
    }

    static std::string Normalized(std::string_view text, bool compose) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* normalizer =
            compose ? icu::Normalizer2::getNFCInstance(status) : icu::Normalizer2::getNFDInstance(status);
        std::string out;
        icu::StringByteSink<std::string> sink(&out);
        if (U_SUCCESS(status)) {
            normalizer->normalizeUTF8(0, icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), sink,
                                      nullptr, status);
        }
        EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
        return out;
    }

    // What the ANSEL child's place must read: each letter from `first` to `last`
    // with the mark, as the twin writes it where it does, else as Unicode composes it.
    static std::string Expected(char first, char last, const std::map<std::string, std::string>& twin,
                                std::string_view mark) {
        std::string out;
        for (char letter = first; letter <= last; ++letter) {
            const auto found = twin.find(std::string(1, letter));
            out += found != twin.end() ? found->second : Normalized(std::string(1, letter) + std::string(mark), true);
        }
        return out;
    }

    std::unique_ptr<CStirpexDoc> m_ansel = Load("gramps_ansel_lf.ged");
    std::unique_ptr<CStirpexDoc> m_utf8 = Load("gramps_utf8_nobom_lf.ged");
};

TEST_F(AnselTwin, SpacingCharactersAreTheTwinsCharacters) {
    for (int number = 0; number <= 3; ++number) {
        const CPerson& ansel = Child(*m_ansel, number);
        const CPerson& utf8 = Child(*m_utf8, number);
        EXPECT_EQ(Parenthesised(ansel.Event(ClassicEvent::Birth).place),
                  Parenthesised(utf8.Event(ClassicEvent::Birth).place))
            << number;
        EXPECT_EQ(Parenthesised(ansel.Event(ClassicEvent::Death).place),
                  Parenthesised(utf8.Event(ClassicEvent::Death).place))
            << number;
        EXPECT_GE(Parenthesised(ansel.Event(ClassicEvent::Birth).place).size(), 4U) << number;
    }
}

TEST_F(AnselTwin, CombiningMarksComposeAsTheTwinWritesThem) {
    std::vector<int> twinOwnMistakes;
    for (int number = 4; number <= 32; ++number) {
        const CPerson& twin = Child(*m_utf8, number);
        // The twin's given name is "code: 0309": the mark's code point.
        const std::string_view given = twin.m_strGivenNames.view();
        ASSERT_EQ(given.substr(0, 6), "code: ") << number;
        std::string mark;
        AppendUtf8(mark, static_cast<char32_t>(std::strtoul(std::string(given.substr(6)).c_str(), nullptr, 16)));

        const std::vector<std::string> letters = Characters(twin.Event(ClassicEvent::Birth).place);
        const std::vector<std::string> composed = Characters(twin.Event(ClassicEvent::Death).place);
        ASSERT_EQ(letters.size(), composed.size()) << number;
        std::map<std::string, std::string> twinComposed;
        for (std::size_t i = 0; i < letters.size(); ++i) {
            if (Normalized(composed[i], false) == letters[i] + mark) {
                twinComposed[letters[i]] = composed[i];
            } else if (twinOwnMistakes.empty() || twinOwnMistakes.back() != number) {
                twinOwnMistakes.push_back(number);
            }
        }

        const CPerson& ansel = Child(*m_ansel, number);
        EXPECT_EQ(ansel.Event(ClassicEvent::Birth).place, Expected('A', 'Z', twinComposed, mark)) << number;
        EXPECT_EQ(ansel.Event(ClassicEvent::Death).place, Expected('a', 'z', twinComposed, mark)) << number;
    }
    // The twin names U+0332 (line below) for the underscore but lists the letters with
    // U+0331 (macron below), another mark; the ANSEL letters keep the line below.
    EXPECT_EQ(twinOwnMistakes, std::vector<int>{26});
}

} // namespace
} // namespace stirpex
