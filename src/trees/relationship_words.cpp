#include "trees/relationship_words.h"

#include "model/person.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace stirpex {

namespace {

// A word in the three forms; `neutral` empty where English has none, and the
// two sexed words are then offered together.
struct Forms {
    std::string_view male;
    std::string_view female;
    std::string_view neutral;
};

constexpr Forms kParent{"father", "mother", "parent"};
constexpr Forms kChild{"son", "daughter", "child"};
constexpr Forms kSibling{"brother", "sister", "sibling"};
constexpr Forms kAuntUncle{"uncle", "aunt", ""};
constexpr Forms kNieceNephew{"nephew", "niece", ""};
constexpr Forms kSpouse{"husband", "wife", "spouse"};

// "1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st".
std::string numberOrdinal(int n) {
    const int lastTwo = n % 100;
    const int last = n % 10;
    std::string_view suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        suffix = last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    }
    return std::to_string(n).append(suffix);
}

std::string wordOrdinal(int n) {
    constexpr std::array<std::string_view, 10> words = {"first", "second",  "third",  "fourth", "fifth",
                                                        "sixth", "seventh", "eighth", "ninth",  "tenth"};
    return n >= 1 && n <= 10 ? std::string(words[static_cast<std::size_t>(n - 1)]) : numberOrdinal(n);
}

std::string timesRemoved(int n) {
    constexpr std::array<std::string_view, 10> words = {"once",       "twice",     "three times", "four times",
                                                        "five times", "six times", "seven times", "eight times",
                                                        "nine times", "ten times"};
    const std::string times =
        n >= 1 && n <= 10 ? std::string(words[static_cast<std::size_t>(n - 1)]) : std::to_string(n) + " times";
    return times + " removed";
}

std::string greats(int count) {
    if (count <= 0) {
        return {};
    }
    if (count <= 2) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += "great-";
        }
        return text;
    }
    return numberOrdinal(count) + " great-";
}

// The word with `prefix` before it, "-in-law" or the like after it, for the sex.
std::string sexed(const Forms& forms, Sex sex, std::string_view prefix = {}, std::string_view suffix = {}) {
    const auto one = [&](std::string_view word) { return std::string(prefix).append(word).append(suffix); };
    switch (sex) {
    case Sex::Male:
        return one(forms.male);
    case Sex::Female:
        return one(forms.female);
    case Sex::Unknown:
        break;
    }
    return forms.neutral.empty() ? one(forms.female) + " or " + one(forms.male) : one(forms.neutral);
}

std::string lineal(const Forms& forms, int generations, Sex sex, std::string_view prefix, std::string_view suffix) {
    if (generations == 1) {
        return sexed(forms, sex, prefix, suffix);
    }
    return sexed(forms, sex, std::string(prefix) + greats(generations - 2) + "grand", suffix);
}

std::string cousin(Kinship k) {
    const int degree = std::min(k.up, k.down) - 1;
    const int removed = std::abs(k.up - k.down);
    std::string text = k.half ? "half " : "";
    text += wordOrdinal(degree) + " cousin";
    if (removed > 0) {
        text += " " + timesRemoved(removed);
    }
    return text;
}

bool isSiblingLine(Kinship k) noexcept {
    return k.up == 1 && k.down == 1;
}
bool isCousin(Kinship k) noexcept {
    return k.up >= 2 && k.down >= 2;
}

// Words for a collateral relative (neither line passes through the other),
// with `suffix` after each sexed word.
std::string collateral(Kinship k, Sex sex, std::string_view suffix) {
    const std::string_view half = k.half ? "half-" : "";
    if (isSiblingLine(k)) {
        return sexed(kSibling, sex, half, suffix);
    }
    if (k.down == 1) {
        return sexed(kAuntUncle, sex, std::string(half) + greats(k.up - 2), suffix);
    }
    if (k.up == 1) {
        return sexed(kNieceNephew, sex, std::string(half) + greats(k.down - 2), suffix);
    }
    return cousin(k) + std::string(suffix);
}

} // namespace

Sex SexOf(const CPerson& person) noexcept {
    return person.m_cSex == 'M' ? Sex::Male : person.m_cSex == 'F' ? Sex::Female : Sex::Unknown;
}

std::string BloodWords(Kinship k, Sex sex) {
    if (k.up == 0 && k.down == 0) {
        return "self";
    }
    if (k.down == 0) {
        return lineal(kParent, k.up, sex, {}, {});
    }
    if (k.up == 0) {
        return lineal(kChild, k.down, sex, {}, {});
    }
    return collateral(k, sex, {});
}

std::string InLawWords(Kinship k, Sex sex, MarriageSide side) {
    const bool ofSpouse = side == MarriageSide::RelativeOfSpouse;
    if (k.down == 0 && k.up > 0) {
        // The spouse's parent is a parent-in-law; a parent's spouse a step-parent.
        return ofSpouse ? lineal(kParent, k.up, sex, {}, "-in-law") : lineal(kParent, k.up, sex, "step-", {});
    }
    if (k.up == 0 && k.down > 0) {
        return ofSpouse ? lineal(kChild, k.down, sex, "step-", {}) : lineal(kChild, k.down, sex, {}, "-in-law");
    }
    if (isSiblingLine(k)) {
        return collateral(k, sex, "-in-law");
    }
    if (isCousin(k) || k.up > 0) {
        return collateral(k, sex, {}) + " by marriage";
    }
    return SpouseWords(sex);
}

std::string SpouseWords(Sex sex) {
    return sexed(kSpouse, sex);
}

} // namespace stirpex
