#include "find/soundex.h"

#include "find/search_fold.h"

#include <algorithm>
#include <array>

namespace stirpex {

namespace {

// American Soundex digits of A to Z; 0 for the vowels and Y, which part two
// consonants of one digit, and for H and W, which do not.
constexpr std::string_view kAmericanDigits = "01230120022455012623010202";

// A rule of Daitch-Mokotoff Soundex: the letters it reads and the code they
// give at the start of the name, before a vowel, and anywhere else. An empty
// code gives nothing; "a|b" reads the letters either way, each a code of its own.
struct DmRule {
    std::string_view letters;
    std::string_view atStart;
    std::string_view beforeVowel;
    std::string_view other;
};

// Longer spellings before the shorter ones they begin with, as the longest
// one that fits is read.
constexpr std::array kDmRules = std::to_array<DmRule>({
    {"SCHTSCH", "2", "4", "4"},
    {"SCHTSH", "2", "4", "4"},
    {"SCHTCH", "2", "4", "4"},
    {"SHTSCH", "2", "4", "4"},
    {"TTSCH", "4", "4", "4"},
    {"SHTCH", "2", "4", "4"},
    {"SHTSH", "2", "4", "4"},
    {"STSCH", "2", "4", "4"},
    {"ZHDZH", "2", "4", "4"},
    {"SCHT", "2", "43", "43"},
    {"SCHD", "2", "43", "43"},
    {"SHCH", "2", "4", "4"},
    {"STCH", "2", "4", "4"},
    {"STRZ", "2", "4", "4"},
    {"STRS", "2", "4", "4"},
    {"STSH", "2", "4", "4"},
    {"SZCZ", "2", "4", "4"},
    {"SZCS", "2", "4", "4"},
    {"TTCH", "4", "4", "4"},
    {"TSCH", "4", "4", "4"},
    {"TTSZ", "4", "4", "4"},
    {"ZDZH", "2", "4", "4"},
    {"ZSCH", "4", "4", "4"},
    {"CHS", "5", "54", "54"},
    {"CSZ", "4", "4", "4"},
    {"CZS", "4", "4", "4"},
    {"DRZ", "4", "4", "4"},
    {"DRS", "4", "4", "4"},
    {"DSH", "4", "4", "4"},
    {"DSZ", "4", "4", "4"},
    {"DZH", "4", "4", "4"},
    {"DZS", "4", "4", "4"},
    {"SCH", "4", "4", "4"},
    {"SHT", "2", "43", "43"},
    {"SZT", "2", "43", "43"},
    {"SHD", "2", "43", "43"},
    {"SZD", "2", "43", "43"},
    {"TCH", "4", "4", "4"},
    {"TRZ", "4", "4", "4"},
    {"TRS", "4", "4", "4"},
    {"TSH", "4", "4", "4"},
    {"TTS", "4", "4", "4"},
    {"TTZ", "4", "4", "4"},
    {"TZS", "4", "4", "4"},
    {"TSZ", "4", "4", "4"},
    {"ZDZ", "2", "4", "4"},
    {"ZHD", "2", "43", "43"},
    {"ZSH", "4", "4", "4"},
    {"AI", "0", "1", ""},
    {"AJ", "0", "1", ""},
    {"AY", "0", "1", ""},
    {"AU", "0", "7", ""},
    {"CH", "5|4", "5|4", "5|4"},
    {"CK", "5|45", "5|45", "5|45"},
    {"CZ", "4", "4", "4"},
    {"CS", "4", "4", "4"},
    {"DS", "4", "4", "4"},
    {"DZ", "4", "4", "4"},
    {"DT", "3", "3", "3"},
    {"EI", "0", "1", ""},
    {"EJ", "0", "1", ""},
    {"EY", "0", "1", ""},
    {"EU", "1", "1", ""},
    {"FB", "7", "7", "7"},
    {"IA", "1", "", ""},
    {"IE", "1", "", ""},
    {"IO", "1", "", ""},
    {"IU", "1", "", ""},
    {"KS", "5", "54", "54"},
    {"KH", "5", "5", "5"},
    {"MN", "66", "66", "66"},
    {"NM", "66", "66", "66"},
    {"OI", "0", "1", ""},
    {"OJ", "0", "1", ""},
    {"OY", "0", "1", ""},
    {"PF", "7", "7", "7"},
    {"PH", "7", "7", "7"},
    {"RS", "4|94", "4|94", "4|94"},
    {"RZ", "4|94", "4|94", "4|94"},
    {"SH", "4", "4", "4"},
    {"SC", "2", "4", "4"},
    {"SD", "2", "43", "43"},
    {"ST", "2", "43", "43"},
    {"SZ", "4", "4", "4"},
    {"TH", "3", "3", "3"},
    {"TC", "4", "4", "4"},
    {"TS", "4", "4", "4"},
    {"TZ", "4", "4", "4"},
    {"UI", "0", "1", ""},
    {"UJ", "0", "1", ""},
    {"UY", "0", "1", ""},
    {"UE", "0", "", ""},
    {"ZD", "2", "43", "43"},
    {"ZH", "4", "4", "4"},
    {"ZS", "4", "4", "4"},
    {"A", "0", "", ""},
    {"B", "7", "7", "7"},
    {"C", "5|4", "5|4", "5|4"},
    {"D", "3", "3", "3"},
    {"E", "0", "", ""},
    {"F", "7", "7", "7"},
    {"G", "5", "5", "5"},
    {"H", "5", "5", ""},
    {"I", "0", "", ""},
    {"J", "1|4", "|4", "|4"},
    {"K", "5", "5", "5"},
    {"L", "8", "8", "8"},
    {"M", "6", "6", "6"},
    {"N", "6", "6", "6"},
    {"O", "0", "", ""},
    {"P", "7", "7", "7"},
    {"Q", "5", "5", "5"},
    {"R", "9", "9", "9"},
    {"S", "4", "4", "4"},
    {"T", "3", "3", "3"},
    {"U", "0", "", ""},
    {"V", "7", "7", "7"},
    {"W", "7", "7", "7"},
    {"X", "5", "54", "54"},
    {"Y", "1", "", ""},
    {"Z", "4", "4", "4"},
});

constexpr std::size_t kDmDigits = 6;
// Names with many ambiguous letters would double the readings at each; past
// this many the first ones stand for the rest.
constexpr std::size_t kMaxReadings = 64;

bool isVowel(char c) noexcept {
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
}

const DmRule& ruleAt(std::string_view letters) noexcept {
    for (const DmRule& rule : kDmRules) {
        if (letters.starts_with(rule.letters)) {
            return rule;
        }
    }
    return kDmRules.back(); // not reached: every capital has a rule of its own
}

// One way of reading the name so far: its digits and the code of the last
// letters read, which a following equal code does not repeat.
struct Reading {
    std::string digits;
    std::string_view last;
    bool operator==(const Reading&) const = default;
};

void readCode(std::vector<Reading>& readings, std::string_view codes) {
    std::vector<Reading> next;
    for (const Reading& reading : readings) {
        std::string_view rest = codes;
        while (true) {
            const std::size_t bar = rest.find('|');
            const std::string_view code = rest.substr(0, bar);
            Reading read = reading;
            if (!read.last.ends_with(code) && read.digits.size() < kDmDigits) {
                read.digits.append(code.substr(0, kDmDigits - read.digits.size()));
            }
            read.last = code;
            if (std::find(next.begin(), next.end(), read) == next.end() && next.size() < kMaxReadings) {
                next.push_back(std::move(read));
            }
            if (bar == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(bar + 1);
        }
    }
    readings = std::move(next);
}

} // namespace

std::string SoundexLetters(std::string_view name) {
    std::string folded;
    FoldForSearch(name, folded);
    std::string letters;
    for (const char c : folded) {
        if (c >= 'a' && c <= 'z') {
            letters.push_back(static_cast<char>(c - ('a' - 'A')));
        }
    }
    return letters;
}

std::string AmericanSoundex(std::string_view name) {
    const std::string letters = SoundexLetters(name);
    if (letters.empty()) {
        return {};
    }
    std::string code(1, letters[0]);
    char last = kAmericanDigits[static_cast<std::size_t>(letters[0] - 'A')];
    for (std::size_t i = 1; i < letters.size() && code.size() < 4; ++i) {
        const char c = letters[i];
        if (c == 'H' || c == 'W') {
            continue;
        }
        const char digit = kAmericanDigits[static_cast<std::size_t>(c - 'A')];
        if (digit != '0' && digit != last) {
            code.push_back(digit);
        }
        last = digit;
    }
    code.resize(4, '0');
    return code;
}

std::vector<std::string> DaitchMokotoffSoundex(std::string_view name) {
    const std::string letters = SoundexLetters(name);
    if (letters.empty()) {
        return {};
    }
    std::vector<Reading> readings(1);
    std::size_t at = 0;
    while (at < letters.size()) {
        const DmRule& rule = ruleAt(std::string_view(letters).substr(at));
        const std::size_t after = at + rule.letters.size();
        const std::string_view codes = at == 0                                             ? rule.atStart
                                       : after < letters.size() && isVowel(letters[after]) ? rule.beforeVowel
                                                                                           : rule.other;
        readCode(readings, codes);
        at = after;
    }
    std::vector<std::string> codes;
    for (Reading& reading : readings) {
        reading.digits.resize(kDmDigits, '0');
        codes.push_back(std::move(reading.digits));
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

} // namespace stirpex
