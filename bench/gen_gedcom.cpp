// stirpex-gen: writes a large, realistic GEDCOM file for the load benchmark.
//
//   stirpex-gen --size-mb N --charset ansel|utf8 --eol crlf|lf [--seed S] [--chain] OUTPUT
//
// With --chain the file is instead one father-to-son line, a person and a
// family per generation and nothing else: the deepest file of its size, and
// the one with the most records per byte.
//
// The output depends on the arguments alone: one splitmix64 stream drives
// every choice, and no library distribution or clock is consulted, so the same
// arguments give the same bytes on every machine. ANSEL and UTF-8 files of the
// same seed hold the same records in the same order, up to where the size
// limit ends each; only the bytes of accented letters differ.
//
// Shape of the tree: a fixed number of family lines run side by side. Each
// step adds one family to a line: its husband and wife are the heir of the
// line's previous family and a spouse who is either a child of the
// neighbouring line's previous family or a newcomer without parents; its
// children are born in that step. A line occasionally dies out and is started
// again by a newcomer couple, so lines reach from a few to thousands of
// generations; every eighth line passes from father to son and seldom ends.
// Every person is written after the family they marry into, so all FAMS,
// FAMC, HUSB, WIFE and CHIL pointers name records that are in the file; NOTE,
// SOUR and OBJE pointers only name records written earlier.
//
// Once N MB (N * 2^20 bytes) have been written, the family being written is
// finished together with its couple and children, the few persons still
// waiting for a marriage are written without one, and TRLR ends the file: it
// comes out some kilobytes longer than N MB.

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Random numbers: splitmix64, and integer-only helpers on top of it.

class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() noexcept {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n-1, by the multiply-shift method (no modulo bias worth mentioning, no library).
    std::uint32_t below(std::uint32_t n) noexcept { return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32); }
    int between(int low, int high) noexcept {
        return low + static_cast<int>(below(static_cast<std::uint32_t>(high - low + 1)));
    }
    // True with probability permille / 1000.
    bool chance(std::uint32_t permille) noexcept { return below(1000) < permille; }
    template <typename T> const T& pick(const std::vector<T>& items) noexcept {
        return items[below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::uint64_t m_state;
};

// ---------------------------------------------------------------------------
// Text in the output character set. Every table is written here in UTF-8 and
// converted once at start-up; a letter the ANSEL table does not know stops the
// program, so the tables cannot silently drift from the encoder.

enum class Charset { Ansel, Utf8 };

struct AnselLetter {
    char32_t codePoint;
    unsigned char mark; // combining mark written before the base, or 0
    unsigned char base; // base letter, or the letter's one ANSEL byte
};

// Grave E1, acute E2, circumflex E3, tilde E4, umlaut E8, caron E9, ring EA, cedilla F0.
constexpr AnselLetter kAnselLetters[] = {
    {U'À', 0xE1, 'A'},
    {U'Á', 0xE2, 'A'},
    {U'Â', 0xE3, 'A'},
    {U'Ã', 0xE4, 'A'},
    {U'Ä', 0xE8, 'A'},
    {U'Å', 0xEA, 'A'},
    {U'Ç', 0xF0, 'C'},
    {U'È', 0xE1, 'E'},
    {U'É', 0xE2, 'E'},
    {U'Ê', 0xE3, 'E'},
    {U'Ë', 0xE8, 'E'},
    {U'Í', 0xE2, 'I'},
    {U'Î', 0xE3, 'I'},
    {U'Ñ', 0xE4, 'N'},
    {U'Ó', 0xE2, 'O'},
    {U'Ô', 0xE3, 'O'},
    {U'Ö', 0xE8, 'O'},
    {U'Ú', 0xE2, 'U'},
    {U'Ü', 0xE8, 'U'},
    {U'Š', 0xE9, 'S'},
    {U'Ž', 0xE9, 'Z'},
    {U'à', 0xE1, 'a'},
    {U'á', 0xE2, 'a'},
    {U'â', 0xE3, 'a'},
    {U'ã', 0xE4, 'a'},
    {U'ä', 0xE8, 'a'},
    {U'å', 0xEA, 'a'},
    {U'ç', 0xF0, 'c'},
    {U'è', 0xE1, 'e'},
    {U'é', 0xE2, 'e'},
    {U'ê', 0xE3, 'e'},
    {U'ë', 0xE8, 'e'},
    {U'ì', 0xE1, 'i'},
    {U'í', 0xE2, 'i'},
    {U'î', 0xE3, 'i'},
    {U'ï', 0xE8, 'i'},
    {U'ñ', 0xE4, 'n'},
    {U'ò', 0xE1, 'o'},
    {U'ó', 0xE2, 'o'},
    {U'ô', 0xE3, 'o'},
    {U'õ', 0xE4, 'o'},
    {U'ö', 0xE8, 'o'},
    {U'ù', 0xE1, 'u'},
    {U'ú', 0xE2, 'u'},
    {U'û', 0xE3, 'u'},
    {U'ü', 0xE8, 'u'},
    {U'ý', 0xE2, 'y'},
    {U'ÿ', 0xE8, 'y'},
    {U'š', 0xE9, 's'},
    {U'ž', 0xE9, 'z'},
    // Letters that Windows-1252 lacks: the reader keeps them only through Unicode.
    {U'ě', 0xE9, 'e'},
    {U'ř', 0xE9, 'r'},
    {U'ź', 0xE2, 'z'},
    // Letters of one ANSEL byte.
    {U'Æ', 0, 0xA5},
    {U'æ', 0, 0xB5},
    {U'Ø', 0, 0xA2},
    {U'ø', 0, 0xB2},
    {U'Œ', 0, 0xA6},
    {U'œ', 0, 0xB6},
    {U'ß', 0, 0xCF},
    {U'Ł', 0, 0xA1},
    {U'ł', 0, 0xB1},
};

std::string toAnsel(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (i + length > utf8.size()) {
            throw std::runtime_error("truncated UTF-8 in a text table");
        }
        char32_t cp = lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += length;
        bool found = false;
        for (const AnselLetter& letter : kAnselLetters) {
            if (letter.codePoint == cp) {
                if (letter.mark) {
                    out += static_cast<char>(letter.mark);
                }
                out += static_cast<char>(letter.base);
                found = true;
                break;
            }
        }
        if (!found) {
            throw std::runtime_error("no ANSEL form for a letter in: " + std::string(utf8));
        }
    }
    return out;
}

std::vector<std::string> encodeAll(std::initializer_list<std::string_view> items, Charset charset) {
    std::vector<std::string> out;
    out.reserve(items.size());
    for (const std::string_view item : items) {
        out.push_back(charset == Charset::Ansel ? toAnsel(item) : std::string(item));
    }
    return out;
}

struct Tables {
    std::vector<std::string> maleNames, femaleNames, surnames, places, occupations, words, causes, titles, authors,
        publishers, objectTitles, suffixes;

    explicit Tables(Charset c) {
        maleNames =
            encodeAll({"John",     "William",   "Thomas",   "James",    "George", "Henry",   "Charles", "Robert",
                       "Richard",  "Edward",    "Samuel",   "Joseph",   "Johann", "Jürgen",  "Jörg",    "Jóhann",
                       "José",     "André",     "François", "Frédéric", "Émile",  "Jérôme",  "Søren",   "Bjørn",
                       "Nicolás",  "Sebastián", "Ægidius",  "Mikaël",   "Łukasz", "Ignacio", "Hans",    "Pieter",
                       "Giuseppe", "Niccolò",   "Anders",   "Håkon",    "Olav",   "Stefan",  "Václav",  "Zoltán"},
                      c);
        femaleNames =
            encodeAll({"Mary",   "Elizabeth", "Sarah",  "Anne",     "Margaret", "Catherine", "Jane",    "Alice",
                       "Hannah", "Martha",    "Emma",   "Rose",     "Zoë",      "Renée",     "Hélène",  "Thérèse",
                       "Chloé",  "Maria",     "Anna",   "Gretchen", "Käthe",    "Jütte",     "Ingrid",  "Åsa",
                       "Sigrún", "Inés",      "Begoña", "María",    "Lucía",    "Françoise", "Noémie",  "Brigitte",
                       "Øydis",  "Ærwyn",     "Giulia", "Agnès",    "Dóra",     "Mathilde",  "Johanna", "Eleanor"},
                      c);
        surnames =
            encodeAll({"Smith",        "Johnson",    "Brown",     "Taylor",    "Wilson",     "Walker",      "Wright",
                       "Thompson",     "Hughes",     "Edwards",   "Müller",    "Schäfer",    "Schröder",    "Köhler",
                       "Weiß",         "Groß",       "Gómez",     "Peña",      "Núñez",      "Muñoz",       "Ibáñez",
                       "Lefèvre",      "Bérubé",     "Côté",      "Gagné",     "Lévêque",    "Søndergaard", "Kjær",
                       "Ørsted",       "Åström",     "Lindqvist", "Ærøe",      "Štěpánek",   "Žižka",       "Dvořák",
                       "Van der Berg", "de la Cruz", "O'Brien",   "MacDonald", "Fitzgerald", "Rossi",       "Esposito",
                       "Bianchi",      "Nørgaard",   "Bœuf",      "Hæggström", "Dahl",       "Berg",        "Nagy",
                       "Kovács"},
                      c);
        places = encodeAll({"Zürich, Zürich, Switzerland",
                            "København, Hovedstaden, Denmark",
                            "Besançon, Doubs, France",
                            "São Paulo, São Paulo, Brazil",
                            "Kraków, Małopolska, Poland",
                            "Málaga, Andalucía, Spain",
                            "Århus, Midtjylland, Denmark",
                            "Tromsø, Troms, Norway",
                            "Göteborg, Västra Götaland, Sweden",
                            "Reykjavík, Iceland",
                            "Dublin, Ireland",
                            "Boston, Suffolk, Massachusetts, USA",
                            "Salem, Essex, Massachusetts, USA",
                            "York, Yorkshire, England",
                            "St. Mary's, Bristol, Gloucestershire, England",
                            "Québec, Québec, Canada",
                            "Montréal, Québec, Canada",
                            "München, Bayern, Germany",
                            "Köln, Nordrhein-Westfalen, Germany",
                            "Düsseldorf, Germany",
                            "Nürnberg, Bayern, Germany",
                            "Lübeck, Schleswig-Holstein, Germany",
                            "Genève, Switzerland",
                            "Sevilla, Spain",
                            "Córdoba, Andalucía, Spain",
                            "Bergen, Hordaland, Norway",
                            "Ålesund, Norway",
                            "Pécs, Baranya, Hungary",
                            "Wien, Österreich",
                            "Łódź, Poland",
                            "Cork, Ireland",
                            "Philadelphia, Pennsylvania, USA",
                            "Charleston, South Carolina, USA",
                            "New Amsterdam, New Netherland",
                            "Edinburgh, Midlothian, Scotland",
                            "Aberdeen, Scotland",
                            "Toulouse, Haute-Garonne, France",
                            "Nîmes, Gard, France",
                            "Orléans, Loiret, France",
                            "Liège, Belgium"},
                           c);
        occupations =
            encodeAll({"Farmer",    "Blacksmith",    "Weaver",        "Miller",           "Carpenter", "Innkeeper",
                       "Fisherman", "Schoolteacher", "Merchant",      "Cordonnier",       "Tischler",  "Schäfer",
                       "Bäcker",    "Laborer",       "Sailor",        "Clergyman",        "Physician", "Seamstress",
                       "Midwife",   "Cooper",        "Mason",         "Tailor",           "Brewer",    "Shoemaker",
                       "Clerk",     "Soldier",       "Tenant farmer", "Ship's carpenter", "Notaire",   "Müller"},
                      c);
        words = encodeAll({"he",        "she",        "was",        "born",     "in",        "the",       "village",
                           "of",        "and",        "later",      "moved",    "to",        "where",     "worked",
                           "as",        "a",          "for",        "many",     "years",     "married",   "at",
                           "church",    "recorded",   "parish",     "register", "according", "family",    "tradition",
                           "emigrated", "with",       "brothers",   "settled",  "near",      "river",     "farm",
                           "inherited", "from",       "father",     "mother",   "died",      "after",     "long",
                           "illness",   "buried",     "churchyard", "census",   "lists",     "household", "servant",
                           "two",       "three",      "children",   "baptised", "witnesses", "were",      "uncle",
                           "aunt",      "godparents", "will",       "proved",   "estate",    "land",      "deed",
                           "Zürich",    "Québec",     "Århus",      "Málaga",   "Köln",      "Besançon",  "Tromsø",
                           "café",      "naïve",      "fiancée",    "née",      "Cœur",      "Straße",    "Ærø"},
                          c);
        causes = encodeAll({"Consumption", "Fever", "Old age", "Smallpox", "Drowned", "Childbirth", "Cholera",
                            "Accident", "Typhus", "Pneumonia"},
                           c);
        titles = encodeAll({"Parish register of St. Mary", "Kirchenbuch der Gemeinde", "Registre paroissial de Nîmes",
                            "Census of the county", "Probate records", "Family Bible of the household",
                            "Land and deed books", "Militärkirchenbuch", "Libro de bautismos, Málaga",
                            "Ministerialbog for Århus Domsogn", "Passenger lists", "Tax rolls"},
                           c);
        authors =
            encodeAll({"Church of St. Mary", "Pfarramt", "Archives départementales", "County clerk", "Probate court",
                       "Sørensen, Niels", "Gómez, Ana María", "Müller, Hans", "Lefèvre, Jérôme", "State archives"},
                      c);
        publishers = encodeAll({"Manuscript", "Microfilm, state archives", "Archives départementales du Gard",
                                "Rigsarkivet, København", "County Record Office", "Privately printed, 1898",
                                "Landesarchiv, München", "Archivo Histórico Provincial"},
                               c);
        objectTitles = encodeAll({"Portrait", "Gravestone", "Marriage certificate", "Baptism entry", "House",
                                  "Family group", "Letter", "Passport photograph", "Café in Québec"},
                                 c);
        suffixes = encodeAll({"Jr.", "Sr.", "III", "Esq."}, c);
    }
};

// ---------------------------------------------------------------------------
// Output: lines collected in a large buffer and written in blocks.

class Writer {
public:
    Writer(std::FILE* file, std::string_view eol) : m_file(file), m_eol(eol) { m_buffer.reserve(kBlock + 65536); }

    std::uint64_t bytes() const noexcept { return m_flushed + m_buffer.size(); }

    Writer& text(std::string_view s) {
        m_buffer.append(s);
        return *this;
    }
    Writer& ch(char c) {
        m_buffer.push_back(c);
        return *this;
    }
    Writer& num(std::uint64_t value) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0) {
            m_buffer.push_back(digits[--n]);
        }
        return *this;
    }
    // "@P123@"
    Writer& xref(char prefix, std::uint64_t id) {
        ch('@').ch(prefix).num(id).ch('@');
        return *this;
    }
    // Starts a line: "L TAG" (value follows after a blank, when given).
    Writer& line(int level, std::string_view tag) {
        ch(static_cast<char>('0' + level)).ch(' ').text(tag);
        return *this;
    }
    Writer& end() {
        m_buffer.append(m_eol);
        if (m_buffer.size() >= kBlock) {
            flush();
        }
        return *this;
    }
    void flush() {
        if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
            throw std::runtime_error("write failed");
        }
        m_flushed += m_buffer.size();
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kBlock = std::size_t{4} << 20;
    std::FILE* m_file;
    std::string_view m_eol;
    std::string m_buffer;
    std::uint64_t m_flushed = 0;
};

// ---------------------------------------------------------------------------
// The generator.

constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr int kLines = 64;

struct Person {
    std::uint32_t id = 0;
    std::uint32_t parentFamily = 0; // 0: a newcomer without parents in the file
    std::uint16_t surname = 0;
    bool male = false;
    int birthYear = 0;
    std::uint32_t depth = 1;         // generations in the longest ancestor chain, the person included
    std::uint32_t paternalDepth = 1; // generations along fathers only
};

struct FamilyLine {
    bool active = false;
    Person heir;
    bool hasIncoming = false;
    Person incoming; // spouse for the heir, from the neighbouring line
};

struct Counts {
    std::uint64_t persons = 0, families = 0, notes = 0, sources = 0, objects = 0;
    std::uint32_t deepest = 0, deepestPaternal = 0;
};

class Generator {
public:
    Generator(Writer& out, Charset charset, std::uint64_t seed)
        : m_out(out), m_charset(charset), m_rng(seed), m_t(charset) {}

    Counts run(std::uint64_t limitBytes) {
        header();
        for (int i = 0; i < 5; ++i) {
            noteRecord();
        }
        for (int i = 0; i < 20; ++i) {
            sourceRecord();
        }
        for (int i = 0; i < 5; ++i) {
            objectRecord();
        }
        while (m_out.bytes() < limitBytes) {
            for (int line = 0; line < kLines && m_out.bytes() < limitBytes; ++line) {
                step(line);
                if (m_rng.chance(80)) {
                    noteRecord();
                }
                if (m_rng.chance(20)) {
                    sourceRecord();
                }
                if (m_rng.chance(20)) {
                    objectRecord();
                }
            }
        }
        // Persons still waiting for a marriage are written unmarried, so every CHIL names a record.
        for (FamilyLine& line : m_lines) {
            if (line.active) {
                person(line.heir, 0);
            }
            if (line.hasIncoming) {
                person(line.incoming, 0);
            }
        }
        m_out.line(0, "TRLR").end();
        m_out.flush();
        return m_counts;
    }

private:
    // --- pieces of lines ----------------------------------------------------

    void date(int year) {
        const int month = m_rng.between(0, 11);
        const int day = m_rng.between(1, 28);
        const std::uint32_t form = m_rng.below(100);
        Writer& o = m_out;
        if (form < 55) {
            o.num(static_cast<std::uint64_t>(day))
                .ch(' ')
                .text(kMonths[month])
                .ch(' ')
                .num(static_cast<std::uint64_t>(year));
        } else if (form < 65) {
            o.text(kMonths[month]).ch(' ').num(static_cast<std::uint64_t>(year));
        } else if (form < 72) {
            o.num(static_cast<std::uint64_t>(year));
        } else if (form < 82) {
            o.text("ABT ").num(static_cast<std::uint64_t>(year));
        } else if (form < 87) {
            o.text("BEF ").num(static_cast<std::uint64_t>(year));
        } else if (form < 92) {
            o.text("AFT ").num(static_cast<std::uint64_t>(year));
        } else if (form < 97) {
            // Double dating for the months before the old new year: "12 FEB 1750/51".
            const int next = (year + 1) % 100;
            o.num(static_cast<std::uint64_t>(day)).ch(' ').text(kMonths[m_rng.between(0, 2)]).ch(' ');
            o.num(static_cast<std::uint64_t>(year)).ch('/').ch(static_cast<char>('0' + next / 10));
            o.ch(static_cast<char>('0' + next % 10));
        } else {
            o.text("BET ").num(static_cast<std::uint64_t>(year)).text(" AND ");
            o.num(static_cast<std::uint64_t>(year + m_rng.between(1, 3)));
        }
    }

    void dateLine(int level, int year) {
        m_out.line(level, "DATE ");
        date(year);
        m_out.end();
    }

    void placeLine(int level) { m_out.line(level, "PLAC ").text(m_rng.pick(m_t.places)).end(); }

    // Letters in a text of the output set: UTF-8 continuation bytes and ANSEL marks are no letters of their own.
    std::size_t letters(std::string_view text) const noexcept {
        std::size_t count = 0;
        for (const char c : text) {
            const auto b = static_cast<unsigned char>(c);
            count += m_charset == Charset::Utf8 ? (b & 0xC0) != 0x80 : b < 0xE0;
        }
        return count;
    }

    // Words up to about `length` letters. Counting letters, not bytes, keeps the
    // random choices, and so the records, the same in both character sets.
    void words(std::string& into, std::size_t length) {
        into.clear();
        bool sentenceStart = true;
        for (std::size_t written = 0; written < length;) {
            if (!into.empty()) {
                into += ' ';
                ++written;
            }
            const std::string& word = m_rng.pick(m_t.words);
            into += word;
            written += letters(word);
            if (sentenceStart && !word.empty() && word[0] >= 'a' && word[0] <= 'z') {
                into[into.size() - word.size()] = static_cast<char>(word[0] - 'a' + 'A');
            }
            sentenceStart = m_rng.chance(90);
            if (sentenceStart) {
                into += '.';
                ++written;
            }
        }
    }

    // Where to end one line of a long text: at most about 200 bytes, between two
    // printable ASCII bytes, so that neither a letter (UTF-8), a mark and its base
    // (ANSEL) nor a blank at either side of the cut is split off.
    static std::size_t cutPoint(std::string_view rest) noexcept {
        constexpr std::size_t kWidth = 200;
        if (rest.size() <= kWidth) {
            return rest.size();
        }
        auto plain = [](char c) { return c > ' ' && static_cast<unsigned char>(c) < 0x7F; };
        for (std::size_t take = kWidth; take > 1; --take) {
            if (plain(rest[take - 1]) && plain(rest[take])) {
                return take;
            }
        }
        for (std::size_t take = kWidth + 1; take < rest.size(); ++take) {
            if (plain(rest[take - 1]) && plain(rest[take])) {
                return take;
            }
        }
        return rest.size();
    }

    // A text of a few lines under `level`: the first after `tag`, long lines cut with CONC, paragraphs with CONT.
    void longText(int level, std::string_view tag, bool withPointer, std::uint64_t id) {
        const int paragraphs = m_rng.between(1, 4);
        for (int p = 0; p < paragraphs; ++p) {
            words(m_scratch, static_cast<std::size_t>(m_rng.between(20, 400)));
            std::string_view rest = m_scratch;
            bool first = true;
            while (!rest.empty()) {
                const std::size_t take = cutPoint(rest);
                if (p == 0 && first) {
                    if (withPointer) {
                        m_out.line(0, "").xref('N', id).ch(' ').text(tag).ch(' ');
                    } else {
                        m_out.line(level, tag).ch(' ');
                    }
                } else {
                    m_out.line(withPointer ? 1 : level + 1, first ? "CONT " : "CONC ");
                }
                m_out.text(rest.substr(0, take)).end();
                rest.remove_prefix(take);
                first = false;
            }
        }
    }

    void citation(int level, bool withData) {
        m_out.line(level, "SOUR ").xref('S', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.sources))).end();
        m_out.line(level + 1, "PAGE ");
        if (m_rng.chance(500)) {
            m_out.text("p. ").num(m_rng.between(1, 900));
        } else {
            m_out.text("Vol. ").num(m_rng.between(1, 40)).text(", folio ").num(m_rng.between(1, 300));
        }
        m_out.end();
        if (withData) {
            m_out.line(level + 1, "DATA").end();
            if (m_rng.chance(400)) {
                dateLine(level + 2, m_rng.between(1500, 1990));
            }
            words(m_scratch, static_cast<std::size_t>(m_rng.between(20, 120)));
            m_out.line(level + 2, "TEXT ").text(m_scratch).end();
        }
        if (m_rng.chance(200)) {
            m_out.line(level + 1, "QUAY ").num(m_rng.between(0, 3)).end();
        }
    }

    void event(std::string_view tag, int year, bool withCitation) {
        m_out.line(1, tag).end();
        dateLine(2, year);
        if (m_rng.chance(850)) {
            placeLine(2);
        }
        if (withCitation) {
            citation(2, m_rng.chance(600));
        }
    }

    int clampYear(int year) const noexcept { return year > 2020 ? year - 900 : year; }

    // --- records ------------------------------------------------------------

    void header() {
        const bool ansel = m_charset == Charset::Ansel;
        m_out.line(0, "HEAD").end();
        m_out.line(1, "SOUR STIRPEX_GEN").end();
        m_out.line(2, "VERS 1.0").end();
        m_out.line(2, "NAME Stirpex benchmark generator").end();
        m_out.line(1, "DEST ANY").end();
        m_out.line(1, "DATE 1 JAN 2024").end();
        m_out.line(2, "TIME 12:00:00").end();
        m_out.line(1, "SUBM @U1@").end();
        m_out.line(1, "GEDC").end();
        m_out.line(2, "VERS 5.5.1").end();
        m_out.line(2, "FORM LINEAGE-LINKED").end();
        m_out.line(1, "CHAR ").text(ansel ? "ANSEL" : "UTF-8").end();
        m_out.line(1, "LANG English").end();
        m_out.line(0, "@U1@ SUBM").end();
        m_out.line(1, "NAME ").text(m_t.maleNames[13]).text(" /").text(m_t.surnames[12]).ch('/').end();
        m_out.line(1, "ADDR 12 Harbour Street").end();
        m_out.line(2, "CONT ").text(m_t.places[0]).end();
    }

    void noteRecord() {
        ++m_counts.notes;
        longText(0, "NOTE", true, m_counts.notes);
    }

    void sourceRecord() {
        const std::uint64_t id = ++m_counts.sources;
        m_out.line(0, "").xref('S', id).text(" SOUR").end();
        m_out.line(1, "TITL ").text(m_rng.pick(m_t.titles)).text(", ").text(m_rng.pick(m_t.places)).end();
        m_out.line(1, "AUTH ").text(m_rng.pick(m_t.authors)).end();
        m_out.line(1, "PUBL ").text(m_rng.pick(m_t.publishers)).end();
        if (m_rng.chance(600)) {
            words(m_scratch, static_cast<std::size_t>(m_rng.between(40, 180)));
            m_out.line(1, "TEXT ").text(m_scratch).end();
            if (m_rng.chance(500)) {
                words(m_scratch, static_cast<std::size_t>(m_rng.between(40, 180)));
                m_out.line(2, "CONT ").text(m_scratch).end();
            }
        }
        if (m_rng.chance(200)) {
            m_out.line(1, "NOTE ").xref('N', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.notes))).end();
        }
        if (m_rng.chance(100) && m_counts.objects > 0) {
            m_out.line(1, "OBJE ").xref('O', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.objects))).end();
        }
    }

    void objectRecord() {
        const std::uint64_t id = ++m_counts.objects;
        const bool jpeg = m_rng.chance(700);
        m_out.line(0, "").xref('O', id).text(" OBJE").end();
        m_out.line(1, "FORM ").text(jpeg ? "jpeg" : "tiff").end();
        m_out.line(1, "TITL ").text(m_rng.pick(m_t.objectTitles)).end();
        m_out.line(1, "FILE media/").num(id).text(jpeg ? ".jpg" : ".tif").end();
    }

    Person newPerson(bool male, std::uint16_t surname, std::uint32_t parentFamily, int birthYear) {
        Person p;
        p.id = ++m_nextPerson;
        p.male = male;
        p.surname = surname;
        p.parentFamily = parentFamily;
        p.birthYear = clampYear(birthYear);
        return p;
    }

    Person newcomer(bool male, int birthYear) {
        return newPerson(male, static_cast<std::uint16_t>(m_rng.below(static_cast<std::uint32_t>(m_t.surnames.size()))),
                         0, birthYear);
    }

    void person(const Person& p, std::uint32_t spouseFamily) {
        ++m_counts.persons;
        if (p.depth > m_counts.deepest) {
            m_counts.deepest = p.depth;
        }
        if (p.paternalDepth > m_counts.deepestPaternal) {
            m_counts.deepestPaternal = p.paternalDepth;
        }
        const auto& given = p.male ? m_t.maleNames : m_t.femaleNames;
        const std::string& surname = m_t.surnames[p.surname];
        const std::string& first = m_rng.pick(given);
        Writer& o = m_out;
        o.line(0, "").xref('I', p.id).text(" INDI").end();
        o.line(1, "NAME ").text(first);
        if (m_rng.chance(350)) {
            o.ch(' ').text(m_rng.pick(given));
        }
        o.text(" /").text(surname).ch('/');
        if (m_rng.chance(20)) {
            o.ch(' ').text(m_rng.pick(m_t.suffixes));
        }
        o.end();
        if (m_rng.chance(300)) {
            o.line(2, "GIVN ").text(first).end();
            o.line(2, "SURN ").text(surname).end();
        }
        if (m_rng.chance(100)) {
            // A second name: another spelling, or a married name.
            o.line(1, "NAME ").text(m_rng.pick(given)).text(" /").text(m_rng.pick(m_t.surnames)).ch('/').end();
        }
        if (m_rng.chance(50)) {
            o.line(1, "ALIA ").text(first).text(" /").text(m_rng.pick(m_t.surnames)).ch('/').end();
        } else if (m_rng.chance(10) && m_nextPerson > 1) {
            o.line(1, "ALIA ").xref('I', 1 + m_rng.below(m_nextPerson)).end();
        }
        o.line(1, "SEX ").ch(p.male ? 'M' : 'F').end();
        event("BIRT", p.birthYear, m_rng.chance(350));
        if (m_rng.chance(400)) {
            event("CHR", p.birthYear, m_rng.chance(150));
        }
        if (m_rng.chance(300)) {
            o.line(1, "OCCU ").text(m_rng.pick(m_t.occupations)).end();
        }
        const int deathYear = p.birthYear + m_rng.between(0, 95);
        if (m_rng.chance(650) && deathYear <= 2023) {
            event("DEAT", deathYear, m_rng.chance(200));
            if (m_rng.chance(200)) {
                o.line(2, "CAUS ").text(m_rng.pick(m_t.causes)).end();
            }
            if (m_rng.chance(400)) {
                event("BURI", deathYear, false);
            }
        }
        if (p.parentFamily) {
            o.line(1, "FAMC ").xref('F', p.parentFamily).end();
        }
        if (spouseFamily) {
            o.line(1, "FAMS ").xref('F', spouseFamily).end();
        }
        if (m_rng.chance(200)) {
            longText(1, "NOTE", false, 0);
        }
        if (m_rng.chance(120)) {
            o.line(1, "NOTE ").xref('N', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.notes))).end();
        }
        if (m_rng.chance(450)) {
            citation(1, m_rng.chance(500));
        }
        if (m_rng.chance(30)) {
            o.line(1, "SOUR ").text(m_rng.pick(m_t.titles)).end(); // a citation without a source record
        }
        if (m_rng.chance(60)) {
            o.line(1, "OBJE ").xref('O', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.objects))).end();
        }
        if (m_rng.chance(30)) {
            o.line(1, "OBJE").end();
            o.line(2, "FORM jpeg").end();
            o.line(2, "TITL ").text(m_rng.pick(m_t.objectTitles)).end();
            o.line(2, "FILE photos/").num(p.id).text(".jpg").end();
        }
        if (m_rng.chance(500)) {
            o.line(1, "CHAN").end();
            o.line(2, "DATE ").num(m_rng.between(1, 28)).ch(' ').text(kMonths[m_rng.below(12)]).ch(' ');
            o.num(m_rng.between(1998, 2023)).end();
            o.line(3, "TIME ").num(m_rng.between(10, 23)).ch(':').num(m_rng.between(10, 59)).ch(':');
            o.num(m_rng.between(10, 59)).end();
        }
    }

    // One family on one line: the marriage, the children, and the records of the couple.
    void step(int index) {
        FamilyLine& line = m_lines[index];
        if (!line.active) {
            line.heir = newcomer(m_rng.chance(700), 1000 + static_cast<int>(m_rng.below(900)));
            line.active = true;
        }
        const Person heir = line.heir;
        Person spouse;
        if (line.hasIncoming) {
            spouse = line.incoming;
            line.hasIncoming = false;
        } else {
            spouse = newcomer(!heir.male, heir.birthYear + m_rng.between(-8, 8));
        }
        const Person& husband = heir.male ? heir : spouse;
        const Person& wife = heir.male ? spouse : heir;
        const std::uint32_t family = static_cast<std::uint32_t>(++m_counts.families);
        const int marriageYear = clampYear((husband.birthYear > wife.birthYear ? husband.birthYear : wife.birthYear) +
                                           m_rng.between(18, 32));

        // Children: 0 to 7, most often two to four.
        static constexpr std::uint32_t kChildWeights[] = {40, 140, 220, 220, 160, 100, 70, 50}; // per mille
        std::uint32_t roll = m_rng.below(1000);
        int childCount = 0;
        while (childCount < 7 && roll >= kChildWeights[childCount]) {
            roll -= kChildWeights[childCount];
            ++childCount;
        }
        // Every eighth line is an old house: always a son to carry the name, and it
        // seldom dies out, so its father-to-son chain runs for hundreds of generations.
        const bool oldHouse = index % 8 == 0;
        if (oldHouse && childCount == 0) {
            childCount = 1;
        }
        m_children.clear();
        int year = marriageYear;
        for (int i = 0; i < childCount; ++i) {
            year += m_rng.between(1, 3);
            Person child = newPerson(m_rng.chance(500), husband.surname, family, year);
            child.depth = 1 + (husband.depth > wife.depth ? husband.depth : wife.depth);
            child.paternalDepth = 1 + husband.paternalDepth;
            m_children.push_back(child);
        }

        // The heir carries the line on; now and then a line dies out and is started afresh.
        int heirIndex = -1;
        if (childCount > 0 && !m_rng.chance(oldHouse ? 1 : 4)) {
            heirIndex = static_cast<int>(m_rng.below(static_cast<std::uint32_t>(childCount)));
            m_children[heirIndex].male = oldHouse || m_rng.chance(700);
            line.heir = m_children[heirIndex];
        } else {
            line.active = false;
        }
        // Another child marries the heir of the neighbouring line, born earlier in this round.
        int outIndex = -1;
        if (index > 0 && childCount >= 2 && m_rng.chance(750)) {
            FamilyLine& neighbour = m_lines[index - 1];
            if (neighbour.active && !neighbour.hasIncoming) {
                const auto others = static_cast<std::uint32_t>(childCount - 1);
                outIndex = heirIndex < 0 ? static_cast<int>(m_rng.below(static_cast<std::uint32_t>(childCount)))
                                         : (heirIndex + 1 + static_cast<int>(m_rng.below(others))) % childCount;
                m_children[outIndex].male = !neighbour.heir.male;
                neighbour.incoming = m_children[outIndex];
                neighbour.hasIncoming = true;
            }
        }

        Writer& o = m_out;
        o.line(0, "").xref('F', family).text(" FAM").end();
        o.line(1, "HUSB ").xref('I', husband.id).end();
        o.line(1, "WIFE ").xref('I', wife.id).end();
        for (const Person& child : m_children) {
            o.line(1, "CHIL ").xref('I', child.id).end();
        }
        event("MARR", marriageYear, m_rng.chance(250));
        if (m_rng.chance(40)) {
            if (m_rng.chance(200)) {
                o.line(1, "DIV Y").end();
            } else {
                event("DIV", marriageYear + m_rng.between(1, 20), false);
            }
        }
        if (m_rng.chance(50)) {
            o.line(1, "NOTE ").xref('N', 1 + m_rng.below(static_cast<std::uint32_t>(m_counts.notes))).end();
        }
        if (m_rng.chance(200)) {
            citation(1, false);
        }

        person(husband, family);
        person(wife, family);
        for (int i = 0; i < childCount; ++i) {
            if (i != heirIndex && i != outIndex) {
                person(m_children[i], 0);
            }
        }
    }

    Writer& m_out;
    Charset m_charset;
    Rng m_rng;
    Tables m_t;
    FamilyLine m_lines[kLines];
    std::vector<Person> m_children;
    std::string m_scratch;
    std::uint32_t m_nextPerson = 0;
    Counts m_counts;
};

// One paternal line: I1 is the father of I2, ... until the size is reached.
// Persons come before the family that makes them a father, children after.
Counts writeChain(Writer& out, std::uint64_t limitBytes) {
    out.line(0, "HEAD").end();
    out.line(1, "CHAR UTF-8").end();
    Counts counts;
    for (std::uint64_t n = 1;; ++n) {
        out.ch('0').ch(' ').xref('I', n).text(" INDI").end();
        out.line(1, "NAME Given").num(n % 997).text(" /Line/").end();
        out.line(1, "SEX M").end();
        if (n > 1) {
            out.line(1, "FAMC ").xref('F', n - 1).end();
        }
        ++counts.persons;
        if (out.bytes() >= limitBytes) {
            break;
        }
        out.line(1, "FAMS ").xref('F', n).end();
        out.ch('0').ch(' ').xref('F', n).text(" FAM").end();
        out.line(1, "HUSB ").xref('I', n).end();
        out.line(1, "CHIL ").xref('I', n + 1).end();
        ++counts.families;
    }
    counts.deepest = counts.deepestPaternal = static_cast<std::uint32_t>(counts.persons);
    out.line(0, "TRLR").end();
    out.flush();
    return counts;
}

[[noreturn]] void usage(const char* message) {
    std::fprintf(stderr,
                 "stirpex-gen: %s\n"
                 "usage: stirpex-gen --size-mb N --charset ansel|utf8 --eol crlf|lf [--seed S] [--chain] OUTPUT\n",
                 message);
    std::exit(2);
}

std::uint64_t parseNumber(const char* text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-') {
        usage(what);
    }
    return value;
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t sizeMb = 0;
    std::uint64_t seed = 0x5EEDF00DCAFEull;
    const char* charset = nullptr;
    const char* eol = nullptr;
    const char* output = nullptr;
    bool chain = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--size-mb" && hasValue) {
            sizeMb = parseNumber(argv[++i], "--size-mb needs a whole number of megabytes");
        } else if (arg == "--charset" && hasValue) {
            charset = argv[++i];
        } else if (arg == "--eol" && hasValue) {
            eol = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            seed = parseNumber(argv[++i], "--seed needs a number");
        } else if (arg == "--chain") {
            chain = true;
        } else if (!arg.empty() && arg[0] == '-') {
            usage("unknown option or missing value");
        } else if (!output) {
            output = argv[i];
        } else {
            usage("one output file only");
        }
    }
    if (!charset || !eol || !output) {
        usage("--size-mb, --charset, --eol and the output file are all needed");
    }
    if (sizeMb == 0 || sizeMb > (std::uint64_t{1} << 20)) {
        usage("--size-mb is 1 to 1048576");
    }
    const std::string_view charsetName = charset;
    const std::string_view eolName = eol;
    if (charsetName != "ansel" && charsetName != "utf8") {
        usage("--charset is ansel or utf8");
    }
    if (eolName != "crlf" && eolName != "lf") {
        usage("--eol is crlf or lf");
    }

    std::FILE* file = std::fopen(output, "wb");
    if (!file) {
        std::fprintf(stderr, "stirpex-gen: cannot write %s: %s\n", output, std::strerror(errno));
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        Writer writer(file, eolName == "crlf" ? "\r\n" : "\n");
        Generator generator(writer, charsetName == "ansel" ? Charset::Ansel : Charset::Utf8, seed);
        const Counts counts = chain ? writeChain(writer, sizeMb << 20) : generator.run(sizeMb << 20);
        if (std::fclose(file) != 0) {
            throw std::runtime_error("close failed");
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr,
                     "stirpex-gen: %s: %llu bytes in %.2f s; %llu people, %llu families, %llu notes, %llu sources, "
                     "%llu objects; longest ancestor chain %u generations, longest paternal line %u\n",
                     output, static_cast<unsigned long long>(writer.bytes()), seconds,
                     static_cast<unsigned long long>(counts.persons), static_cast<unsigned long long>(counts.families),
                     static_cast<unsigned long long>(counts.notes), static_cast<unsigned long long>(counts.sources),
                     static_cast<unsigned long long>(counts.objects), counts.deepest, counts.deepestPaternal);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stirpex-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
