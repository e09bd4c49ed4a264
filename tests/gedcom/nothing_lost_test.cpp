// Nothing of an individual or family record is lost: every level-1 line of
// every such record in the repository's files ends up somewhere in the model
// (a name, the sex, a family link, a note, a citation, an object, or a fact
// with its tag and value), and in the paired GEDCOM 7 and 5.5.1 files every
// line below them too (a fact's field, a kept line, a note's or citation's
// text). The files are read a second time as raw lines to know what they hold.
//
// Values are compared where both sides are plain ASCII; for any other value
// (which the reader converts from the file's character set) the tag is checked.

#include "gedcom/load_driver.h"
#include "model/readable_date.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
namespace {

namespace fs = std::filesystem;

struct RawLine {
    int level = -1;
    std::string tag;
    std::string value;
    std::int64_t number = 0;
};

struct RawRecord {
    std::string kind; // "INDI" or "FAM"
    std::string key;
    std::vector<RawLine> lines; // every line after the record's own
};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

RawLine ParseRaw(std::string_view line, std::int64_t number) {
    RawLine raw;
    raw.number = number;
    line = Trimmed(line);
    std::size_t pos = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        ++pos;
    }
    if (pos == 0 || pos > 2) {
        return raw;
    }
    raw.level = std::stoi(std::string(line.substr(0, pos)));
    line = Trimmed(line.substr(pos));
    if (raw.level == 0 && !line.empty() && line[0] == '@') {
        const std::size_t close = line.find('@', 1);
        raw.value = std::string(line.substr(0, close == std::string_view::npos ? line.size() : close + 1));
        line = Trimmed(line.substr(raw.value.size()));
    }
    const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
    raw.tag = std::string(line.substr(0, end));
    if (raw.level > 0) {
        raw.value = std::string(Trimmed(line.substr(end)));
    }
    return raw;
}

// The individual and family records of a file, as its bytes have them. A
// UTF-16 file loses its zero bytes, which leaves its ASCII as it was.
std::vector<RawRecord> ReadRawRecords(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() > 2 && (bytes[0] == '\0' || bytes[1] == '\0' || bytes.substr(0, 2) == "\xFF\xFE" ||
                             bytes.substr(0, 2) == "\xFE\xFF")) {
        bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    }
    const std::size_t firstDigit = bytes.find_first_of("0123456789");
    bytes.erase(0, std::min(firstDigit, bytes.size()));
    std::vector<RawRecord> records;
    bool inRecord = false;
    std::int64_t number = 0;
    for (std::size_t begin = 0; begin < bytes.size();) {
        std::size_t end = std::min(bytes.find_first_of("\r\n", begin), bytes.size());
        const RawLine line = ParseRaw(std::string_view(bytes).substr(begin, end - begin), ++number);
        begin = end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? end + 2
                                                                                                             : end + 1;
        if (line.level == 0) {
            inRecord = (line.tag == "INDI" || line.tag == "FAM") && line.value.size() > 2;
            if (inRecord) {
                records.push_back({line.tag, line.value.substr(1, line.value.size() - 2), {}});
            }
        } else if (inRecord && line.level > 0) {
            records.back().lines.push_back(line);
        }
    }
    return records;
}

std::string Pointer(std::string_view key) {
    return "@" + std::string(key) + "@";
}

// What the model holds of one record: (tag, text) items a level-1 line can
// match, each at most once, and every text a line below one may be found in.
class ModelRecord {
public:
    ModelRecord(const CStirpexDoc& doc, const CPerson& person) : m_doc(doc) {
        const PersonDetails& d = person.Details();
        if (!person.m_strSurname.empty() || !person.m_strGivenNames.empty()) {
            item("NAME", "");
        }
        text(person.m_strSurname.view());
        text(person.m_strGivenNames.view());
        for (int i = 0; i < d.m_nAltNames; ++i) {
            item("NAME", "");
            text(d.m_arrAltSurnames[i].view());
            text(d.m_arrAltGivenNames[i].view());
        }
        if (person.m_cSex != 0) {
            item("SEX", person.m_cSex < 0x80 ? std::string(1, static_cast<char>(person.m_cSex)) : "");
        }
        if (!person.m_strParentFamily.empty()) {
            item("FAMC", Pointer(person.m_strParentFamily.view()));
        }
        for (const ArenaStr& key : person.m_arrSpouseFamilies) {
            item("FAMS", Pointer(key.view()));
        }
        common(d.m_arrNotes, d.m_arrSources, d.m_arrSourceTexts, d.m_arrObjects, d.m_facts);
        texts(d.m_arrCitationLines);
        item("CHAR", doc.m_strCharSet);
        item("DEST", doc.m_strDestination);
    }

    ModelRecord(const CStirpexDoc& doc, const CFamily& family) : m_doc(doc) {
        const FamilyDetails& d = family.Details();
        if (!family.m_strHusband.empty()) {
            item("HUSB", Pointer(family.m_strHusband.view()));
        }
        if (!family.m_strWife.empty()) {
            item("WIFE", Pointer(family.m_strWife.view()));
        }
        for (const ArenaStr& key : family.m_arrChildren) {
            item("CHIL", Pointer(key.view()));
        }
        common(d.m_arrNotes, d.m_arrSources, d.m_arrSourceTexts, d.m_arrObjects, d.m_facts);
        texts(d.m_arrCitationLines);
    }

    // Takes the item a level-1 line stands for; false when none is left.
    bool take(const RawLine& line, bool gedcom7) {
        std::string tag = line.tag;
        std::string value = line.value;
        if (gedcom7 && value.starts_with("@@")) {
            value.erase(0, 1);
        }
        if (tag == "HIST" || tag == "SNOTE") {
            tag = "NOTE";
        }
        if (tag == "ALIA" && !value.starts_with("@")) {
            tag = "NAME";
        }
        const bool byValue = tag != "NAME" && IsAscii(value);
        // A fact with the line's own tag first: a FAMC with a pedigree, a
        // NAME with its parts are kept as facts beside what they link or name.
        for (Item& item : m_items) {
            if (!item.taken && item.fact && item.tag == line.tag && (!byValue || item.text.starts_with(value))) {
                item.taken = true;
                return true;
            }
        }
        for (Item& item : m_items) {
            if (!item.taken && !item.fact && item.tag == tag &&
                (!byValue || item.text.starts_with(value) || (tag == "NOTE" && IsHtml(value)))) {
                item.taken = true;
                return true;
            }
        }
        return false;
    }

    // Whether a line below level 1 is found: its value within a text of the
    // record, or the line itself among the kept lines.
    bool holds(const RawLine& line, bool gedcom7) const {
        std::string value = line.value;
        if (gedcom7 && value.starts_with("@@")) {
            value.erase(0, 1);
        }
        if (line.tag == "DATE") {
            std::string buffer;
            value = std::string(ReadableDate(value, buffer));
        }
        if (value.empty()) {
            return true; // a structure's own line (DATA, MAP, an empty CONT): its lines are checked
        }
        return std::any_of(m_texts.begin(), m_texts.end(),
                           [&](const std::string& text) { return text.find(value) != std::string::npos; });
    }

private:
    struct Item {
        std::string tag;
        std::string text;
        bool fact = false;
        bool taken = false;
    };

    static bool IsHtml(std::string_view value) { return value.find('<') != std::string_view::npos; }

    void item(std::string tag, std::string_view value, bool fact = false) {
        m_items.push_back({std::move(tag), std::string(value), fact, false});
    }
    void text(std::string_view value) {
        if (!value.empty()) {
            m_texts.emplace_back(value);
        }
    }
    void texts(const ArenaStrList& list) {
        for (const ArenaStr& value : list) {
            text(value.view());
        }
    }
    void noteTexts(const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            text(key.view());
            if (const CNote* note = m_doc.FindNote(key.view())) {
                texts(note->m_pLines);
            }
        }
    }
    void sourceTexts(const ArenaStrList& keys, const ArenaStrList& citations) {
        for (const ArenaStr& key : keys) {
            text(key.view());
            if (const CSource* source = m_doc.FindSource(key.view())) {
                text(source->m_strTitle.view());
                texts(source->m_arrText);
            }
        }
        texts(citations);
    }
    void objectTexts(const ArenaStrList& keys) {
        for (const ArenaStr& key : keys) {
            text(key.view());
            if (const CExtObj* object = m_doc.FindExtObj(key.view())) {
                text(object->m_strFile.view());
                text(object->m_strForm.view());
                text(object->m_strTitle.view());
            }
        }
    }

    std::string firstNoteLine(ArenaStr key) const {
        const CNote* note = m_doc.FindNote(key.view());
        if (!note) {
            return Pointer(key.view());
        }
        return note->m_pLines.empty() ? std::string() : std::string(note->m_pLines[0].view());
    }

    void common(const ArenaStrList& notes, const ArenaStrList& sources, const ArenaStrList& citations,
                const ArenaStrList& objects, const FactList& facts) {
        // A note made for the line holds its text; a note record linked is named by its pointer.
        for (const ArenaStr& key : notes) {
            const bool made = !key.empty() && key.view()[0] == ' ';
            item("NOTE", made ? firstNoteLine(key) : Pointer(key.view()));
        }
        for (const ArenaStr& key : sources) {
            const CSource* source = m_doc.FindSource(key.view());
            const bool made = !key.empty() && key.view()[0] == ' ';
            item("SOUR", made && source ? std::string(source->m_strTitle.view()) : Pointer(key.view()));
        }
        for (const ArenaStr& key : objects) {
            const bool made = !key.empty() && key.view()[0] == ' ';
            item("OBJE", made ? std::string() : Pointer(key.view()));
        }
        noteTexts(notes);
        sourceTexts(sources, citations);
        objectTexts(objects);
        for (const Fact& fact : facts) {
            const FactDetails& d = fact.Details();
            const bool address = fact.m_strTag.view() == "ADDR";
            item(std::string(fact.m_strTag.view()),
                 address && !d.m_arrAddress.empty() ? d.m_arrAddress[0].view() : fact.m_strValue.view(), true);
            for (const ArenaStr& field : {fact.m_strValue, fact.m_strDate, fact.m_strPlace, d.m_strType}) {
                text(field.view());
            }
            // A value continued by CONT lines is one text; each line is found in it.
            texts(d.m_arrAddress);
            texts(d.m_arrLines);
            texts(d.m_arrCitationLines);
            noteTexts(d.m_arrNotes);
            sourceTexts(d.m_arrSources, d.m_arrSourceTexts);
            objectTexts(d.m_arrObjects);
        }
    }

    const CStirpexDoc& m_doc;
    std::vector<Item> m_items;
    std::vector<std::string> m_texts;
};

// Where a file loses a line: "file:line TAG value".
std::vector<std::string> LostLines(const fs::path& path, bool belowLevelOne) {
    CStirpexDoc doc;
    std::string error;
    const LoadResult result = LoadGedcomFile(doc, path, LoadEnvironment{}, error);
    if (result.outcome != LoadOutcome::Loaded) {
        return {path.filename().string() + ": not loaded: " + error};
    }
    const bool gedcom7 = doc.m_strGedcomVersion.starts_with("7");
    std::vector<std::string> lost;
    const auto report = [&](const RawLine& line) {
        lost.push_back(path.filename().string() + ":" + std::to_string(line.number) + " " + line.tag + " " +
                       line.value);
    };
    // A key a file gives twice names two records, in file order.
    std::map<std::string, std::vector<const CPerson*>> persons;
    for (const auto& person : doc.m_ppPersons) {
        persons[std::string(person->m_strID.view())].push_back(person.get());
    }
    std::map<std::string, std::vector<const CFamily*>> families;
    for (const auto& family : doc.m_ppFamilies) {
        families[std::string(family->m_strID.view())].push_back(family.get());
    }
    std::map<std::string, std::size_t> seen;
    for (const RawRecord& record : ReadRawRecords(path)) {
        const std::size_t nth = seen[record.kind + " " + record.key]++;
        const auto& samePersons = persons[record.key];
        const auto& sameFamilies = families[record.key];
        const CPerson* person = record.kind == "INDI" && nth < samePersons.size() ? samePersons[nth] : nullptr;
        const CFamily* family = record.kind == "FAM" && nth < sameFamilies.size() ? sameFamilies[nth] : nullptr;
        if (!person && !family) {
            lost.push_back(path.filename().string() + ": no record " + record.key);
            continue;
        }
        ModelRecord model = person ? ModelRecord(doc, *person) : ModelRecord(doc, *family);
        for (const RawLine& line : record.lines) {
            // Level-1 CONT and CONC have nothing to continue there; MIME changes the note it stands under.
            if (line.tag == "CONC" || line.tag == "MIME") {
                continue;
            }
            // A name without a letter says nothing that could be lost.
            if (line.level == 1 && line.tag == "NAME" &&
                std::none_of(line.value.begin(), line.value.end(), [](char c) { return std::isalnum(c) != 0; })) {
                continue;
            }
            const bool found =
                line.level == 1 ? model.take(line, gedcom7) : !belowLevelOne || model.holds(line, gedcom7);
            if (!found) {
                report(line);
            }
        }
    }
    return lost;
}

std::vector<fs::path> RepositoryFiles() {
    std::vector<fs::path> files;
    // The public files are in a folder of their own there.
    for (const fs::path& folder : {fs::path(STIRPEX_TEST_DATA_DIR), fs::path(STIRPEX_REPO_CORPUS_DIR)}) {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (entry.is_regular_file() && extension == ".ged") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

TEST(NothingLost, EveryLevelOneLineOfEveryIndividualAndFamilyIsInTheModel) {
    const std::vector<fs::path> files = RepositoryFiles();
    ASSERT_GE(files.size(), 40U);
    for (const fs::path& path : files) {
        EXPECT_EQ(LostLines(path, false), std::vector<std::string>{}) << path;
    }
}

TEST(NothingLost, EveryLineOfThePairedGedcom7And551FilesIsInTheModel) {
    const fs::path pairs = fs::path(STIRPEX_REPO_CORPUS_DIR) / "gedcom7code";
    int files = 0;
    for (const char* version : {"5", "7"}) {
        for (const auto& entry : fs::directory_iterator(pairs / version)) {
            EXPECT_EQ(LostLines(entry.path(), true), std::vector<std::string>{}) << entry.path();
            ++files;
        }
    }
    EXPECT_GE(files, 40);
}

// The check must see a loss: a record whose line the model lacks is reported.
TEST(NothingLost, ModelWithoutALineIsReported) {
    CStirpexDoc doc;
    TextArena& arena = doc.Arena();
    CPerson& person = doc.AddPerson(arena.copy("I1"));
    Fact& occupation = person.EditDetails(arena).m_facts.append(arena, KnownTagText("OCCU"));
    occupation.m_strValue = arena.copy("Farmer");
    ModelRecord model(doc, person);
    EXPECT_TRUE(model.take({1, "OCCU", "Farmer", 1}, false));
    EXPECT_FALSE(model.take({1, "OCCU", "Farmer", 2}, false)); // each item stands for one line
    EXPECT_FALSE(model.take({1, "RESI", "", 3}, false));
    EXPECT_FALSE(model.take({1, "NOTE", "text", 4}, false));
    EXPECT_TRUE(model.holds({2, "DATE", "", 5}, false));
    EXPECT_TRUE(model.holds({2, "CONT", "Farm", 6}, false));
    EXPECT_FALSE(model.holds({2, "PLAC", "Kent", 7}, false));
}

} // namespace
} // namespace stirpex
