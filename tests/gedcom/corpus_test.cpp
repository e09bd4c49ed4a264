// Public GEDCOM files read end to end. Every expected value here was read off the
// file itself, not off the program's output.

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace stirpex {
namespace {

using Texts = std::vector<std::string>;

Texts TextsOf(const ArenaStrList& list) {
    Texts out;
    for (const ArenaStr& text : list) {
        out.emplace_back(text.view());
    }
    return out;
}

std::string Id(const CPerson* person) {
    return person ? std::string(person->m_strID.view()) : std::string("(null)");
}

// A text form of the whole model. Generated keys come from a counter shared by every
// load in the process, so they are written as the table index of the record they name.
class Dump {
public:
    explicit Dump(const CStirpexDoc& doc) : m_doc(doc) {}

    std::string Write() {
        const CStirpexDoc& d = m_doc;
        line({d.m_strSourceSystem, d.m_strDestination, d.m_strFileDate, d.m_strGedcomVersion, d.m_strCharSet,
              d.m_strSubmitter, StatisticsText(d), std::to_string(d.m_nExtObjs)});
        for (const auto& p : d.m_ppPersons) {
            line({std::to_string(p->m_nIndex), std::string(p->m_strID.view()), str(p->m_strSurname),
                  str(p->m_strGivenNames), std::to_string(static_cast<std::uint32_t>(p->m_cSex)), p->GetDisplayName(),
                  str(p->m_strParentFamily)});
            list(p->Details().m_arrAltSurnames, 0);
            list(p->Details().m_arrAltGivenNames, 0);
            list(p->m_arrSpouseFamilies, 0);
            list(p->Details().m_arrNotes, 'N');
            citations(p->Details().m_arrSources, p->Details().m_arrSourceTexts);
            list(p->Details().m_arrObjects, 'O');
            facts(p->Details().m_facts);
        }
        for (const auto& f : d.m_ppFamilies) {
            line({std::string(f->m_strID.view()), str(f->m_strHusband), str(f->m_strWife)});
            list(f->m_arrChildren, 0);
            list(f->Details().m_arrNotes, 'N');
            citations(f->Details().m_arrSources, f->Details().m_arrSourceTexts);
            list(f->Details().m_arrObjects, 'O');
            facts(f->Details().m_facts);
        }
        for (const auto& n : d.m_ppNotes) {
            line({key(n->m_strID, 'N')});
            list(n->m_pLines, 0);
        }
        for (const auto& s : d.m_ppSources) {
            line({key(s->m_strID, 'S'), str(s->m_strTitle), str(s->m_strAuthor), str(s->m_strPublication)});
            list(s->m_arrNotes, 'N');
            list(s->m_arrText, 0);
            list(s->m_arrObjects, 'O');
        }
        for (const auto& o : d.m_ppExtObjs) {
            line({key(o->m_strID, 'O'), str(o->m_strFile), str(o->m_strTitle), str(o->m_strForm)});
        }
        return m_out;
    }

private:
    static std::string str(ArenaStr text) { return std::string(text.view()); }

    std::string key(ArenaStr text, char kind) const {
        if (kind == 0 || text.empty() || text.view()[0] != ' ') {
            return str(text);
        }
        int index = -1;
        if (kind == 'N' && m_doc.FindNote(text.view())) {
            index = m_doc.FindNote(text.view())->m_nIndex;
        } else if (kind == 'S' && m_doc.FindSource(text.view())) {
            index = m_doc.FindSource(text.view())->m_nIndex;
        } else if (kind == 'O' && m_doc.FindExtObj(text.view())) {
            index = m_doc.FindExtObj(text.view())->m_nIndex;
        }
        return std::string("#") + kind + std::to_string(index);
    }
    void line(std::initializer_list<std::string> fields) {
        for (const std::string& field : fields) {
            m_out += field;
            m_out += '|';
        }
        m_out += '\n';
    }
    void list(const ArenaStrList& items, char kind) {
        m_out += '[';
        for (const ArenaStr& item : items) {
            m_out += key(item, kind);
            m_out += '|';
        }
        m_out += "]\n";
    }
    void facts(const FactList& facts) {
        for (const Fact& fact : facts) {
            const FactDetails& d = fact.Details();
            line({str(fact.m_strTag), str(fact.m_strValue), str(fact.m_strDate), str(fact.m_strPlace),
                  str(d.m_strType)});
            list(d.m_arrAddress, 0);
            list(d.m_arrNotes, 'N');
            citations(d.m_arrSources, d.m_arrSourceTexts);
            list(d.m_arrObjects, 'O');
            list(d.m_arrLines, 0);
            list(d.m_arrCitationLines, 0);
        }
    }
    void citations(const ArenaStrList& keys, const ArenaStrList& texts) {
        for (int i = 0; i < keys.size(); ++i) {
            m_out += key(keys[i], 'S') + "=" + str(texts[i]) + ";";
        }
        m_out += '\n';
    }

    const CStirpexDoc& m_doc;
    std::string m_out;
};

// The public files kept in the repository.
class Corpus : public ::testing::Test {
protected:
    static std::filesystem::path Folder() { return STIRPEX_REPO_CORPUS_DIR; }

    static std::unique_ptr<CStirpexDoc> Load(const char* name) { return LoadFrom(Folder() / name); }

    static std::unique_ptr<CStirpexDoc> LoadFrom(const std::filesystem::path& path) {
        auto doc = std::make_unique<CStirpexDoc>();
        std::string error;
        const LoadResult result = LoadGedcomFile(*doc, path, LoadEnvironment{}, error);
        EXPECT_EQ(error, "") << path;
        EXPECT_EQ(result.outcome, LoadOutcome::Loaded) << path;
        return doc;
    }

    static const CPerson& Person(const CStirpexDoc& doc, const char* key) {
        const CPerson* person = doc.FindPerson(key);
        if (!person) {
            throw std::logic_error(std::string("no person ") + key);
        }
        return *person;
    }
};

// Public files whose licence is not stated stay outside the repository; a
// checkout without them skips these.
class OutsideCorpus : public Corpus {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(STIRPEX_CORPUS_DIR)) {
            GTEST_SKIP() << "no public files at " << STIRPEX_CORPUS_DIR;
        }
    }

    static std::unique_ptr<CStirpexDoc> Load(const char* name) {
        return LoadFrom(std::filesystem::path(STIRPEX_CORPUS_DIR) / name);
    }
};

TEST_F(OutsideCorpus, Royal92CountsAndHeader) {
    const auto doc = Load("royal92.ged");
    EXPECT_EQ(StatisticsText(*doc), "3010 people, 1422 families, 1 notes, 0 sources.");
    EXPECT_EQ(doc->m_strFileName, "royal92.ged");
    EXPECT_EQ(doc->m_nFileLength, 468984);
    EXPECT_EQ(doc->m_strSourceSystem, "PAF 2.2");
    EXPECT_EQ(doc->m_strDestination, "PAF");
    EXPECT_EQ(doc->m_strFileDate, "20 NOV 1992");
    EXPECT_EQ(doc->m_strCharSet, "ANSEL");
    EXPECT_EQ(doc->m_strSubmitter, "Denis R. Reid");
    EXPECT_EQ(doc->m_strGedcomVersion, "");
    // The submitter's ADDR is the one note, with its CONT lines (the old reader lost them).
    ASSERT_EQ(doc->m_nNotes, 1);
    EXPECT_EQ(TextsOf(doc->m_ppNotes[0]->m_pLines),
              (Texts{"Address:  149 Kimrose Lane", "Broadview Heights, Ohio 44147-1258",
                     "Internet Email address:  ah189@cleveland.freenet.edu"}));
}

TEST_F(OutsideCorpus, Royal92Victoria) {
    const auto doc = Load("royal92.ged");
    const CPerson& victoria = Person(*doc, "I1");
    EXPECT_EQ(victoria.m_nIndex, 0);
    EXPECT_EQ(victoria.m_strSurname.view(), "Hanover");
    EXPECT_EQ(victoria.m_strGivenNames.view(), "Victoria");
    EXPECT_EQ(victoria.m_cSex, U'F');
    EXPECT_EQ(victoria.Event(ClassicEvent::Birth).date, "24 MAY 1819");
    EXPECT_EQ(victoria.Event(ClassicEvent::Birth).place, "Kensington,Palace,London,England");
    EXPECT_EQ(victoria.Event(ClassicEvent::Death).date, "22 JAN 1901");
    EXPECT_EQ(victoria.Event(ClassicEvent::Death).place, "Osborne House,Isle of Wight,England");
    EXPECT_EQ(victoria.Event(ClassicEvent::Burial).place, "Royal Mausoleum,Frogmore,Berkshire,England");
    EXPECT_EQ(victoria.GetDisplayName(), "Hanover, Victoria (1819-1901)");
    EXPECT_EQ(victoria.m_strParentFamily.view(), "F42");
    EXPECT_EQ(TextsOf(victoria.m_arrSpouseFamilies), Texts{"F1"});
    EXPECT_EQ(Id(doc->GetFather(&victoria)), "I133");
    EXPECT_EQ(Id(doc->GetMother(&victoria)), "I138");
    EXPECT_EQ(Person(*doc, "I133").FormatName(0), "Edward Augustus Hanover");

    const CFamily* family = doc->FindFamily("F1");
    ASSERT_NE(family, nullptr);
    const CPerson* albert = doc->GetSpouse(&victoria, family);
    EXPECT_EQ(Id(albert), "I2");
    EXPECT_EQ(albert->FormatName(1), ", Albert Augustus Charles");
    EXPECT_EQ(Id(doc->GetSpouse(albert, family)), "I1");
    EXPECT_EQ(TextsOf(family->m_arrChildren), (Texts{"I3", "I4", "I5", "I6", "I7", "I8", "I9", "I10", "I11"}));
    EXPECT_EQ(family->Event(ClassicEvent::Marriage).date, "10 FEB 1840");
    EXPECT_EQ(family->Event(ClassicEvent::Marriage).place, "Chapel Royal,St. James Palace,England");
    EXPECT_EQ(family->Event(ClassicEvent::Divorce).date, ""); // DIV N
    // DIV Y with no date of its own; the blanks before 1916 are skipped.
    EXPECT_EQ(doc->FindFamily("F24")->Event(ClassicEvent::Divorce).date, "    ");
    EXPECT_EQ(doc->FindFamily("F24")->Event(ClassicEvent::Marriage).date, "1916");
}

TEST_F(OutsideCorpus, Royal92HasSeventyFourUndatedDivorces) {
    const auto doc = Load("royal92.ged");
    int divorces = 0;
    for (const auto& family : doc->m_ppFamilies) {
        if (!family->Event(ClassicEvent::Divorce).date.empty()) {
            EXPECT_EQ(family->Event(ClassicEvent::Divorce).date, "    ") << family->m_strID.view();
            ++divorces;
        }
    }
    EXPECT_EQ(divorces, 74);
}

TEST_F(OutsideCorpus, LineEndsDoNotChangeTheModel) {
    struct Case {
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"royal92.ged", "royal92_crlf.ged"}, // LF and CR LF
        {"TGC55C.ged", "TGC55CLF.ged"},      // lone CR and CR LF
        {"TGC551.ged", "TGC551LF.ged"},
    };
    for (const Case& c : cases) {
        const auto first = Load(c.first);
        const auto second = Load(c.second);
        EXPECT_GT(first->m_nPersons, 1) << c.first;
        EXPECT_EQ(Dump(*first).Write(), Dump(*second).Write()) << c.first << " vs " << c.second;
    }
}

TEST_F(Corpus, AnselFileConvertsSpecialCharactersAndCombiningMarks) {
    const auto doc = Load("gramps_ansel_lf.ged");
    EXPECT_EQ(StatisticsText(*doc), "35 people, 1 families, 2 notes, 0 sources.");
    EXPECT_EQ(doc->m_strSourceSystem, "REGISTERED_SOURCE_NAME");
    EXPECT_EQ(doc->m_strFileDate, "20 JAN 1998");
    EXPECT_EQ(doc->m_strGedcomVersion, "5.5");
    EXPECT_EQ(doc->m_strSubmitter, "H. Eichmann");
    EXPECT_EQ(Person(*doc, "CHILD0").Event(ClassicEvent::Birth).place,
              "slash l - uppercase (Ł), slash o - uppercase (Ø), slash d - uppercase (Đ), thorn - uppercase (Þ)");
    const CPerson& acute = Person(*doc, "CHILD6");
    EXPECT_EQ(acute.m_strSurname.view(), "acute accent");
    EXPECT_EQ(acute.m_strGivenNames.view(), "code: E2 (Unicode: acute, 0301)");
    // Every letter keeps its mark: precomposed where Unicode has the letter, else followed by it.
    EXPECT_EQ(acute.Event(ClassicEvent::Birth).place,
              "ÁB\u0301ĆD\u0301ÉF\u0301ǴH\u0301ÍJ\u0301ḰĹḾŃÓṔQ\u0301ŔŚT\u0301ÚV\u0301ẂX\u0301ÝŹ");
    EXPECT_EQ(acute.Event(ClassicEvent::Death).place,
              "áb\u0301ćd\u0301éf\u0301ǵh\u0301íj\u0301ḱĺḿńóṕq\u0301ŕśt\u0301úv\u0301ẃx\u0301ýź");
    EXPECT_EQ(Person(*doc, "CHILD12").Event(ClassicEvent::Birth).place,
              "ÄB\u0308C\u0308D\u0308ËF\u0308G\u0308ḦÏJ\u0308K\u0308L\u0308M\u0308N\u0308ÖP\u0308Q\u0308R\u0308S\u0308T"
              "\u0308ÜV\u0308ẄẌŸZ\u0308");

    const CFamily* family = doc->FindFamily("FAMILY");
    ASSERT_NE(family, nullptr);
    EXPECT_EQ(family->m_nChildren, 33);
    EXPECT_EQ(doc->GetChild(family, 6), &acute);
    EXPECT_EQ(Id(doc->GetMother(&acute)), "MOTHER");
    EXPECT_EQ(Id(doc->GetFather(&acute)), "FATHER");

    // The header note (first line and 27 level-2 CONT lines) and the submitter's address.
    ASSERT_EQ(doc->m_nNotes, 2);
    const Texts header = TextsOf(doc->m_ppNotes[0]->m_pLines);
    ASSERT_EQ(header.size(), 28U);
    EXPECT_EQ(header[0], "This GEDCOM transmission contains a charcter set test. It consists");
    EXPECT_EQ(header[27], "http://www.gendex.com/gedcom55/55gcappd.htm");
    EXPECT_EQ(TextsOf(doc->m_ppNotes[1]->m_pLines), Texts{"Address:  email: h.eichmann@@gmx.de"});
}

TEST_F(Corpus, Utf8FileKeepsEveryScript) {
    const auto doc = Load("utf8-unicode.ged");
    EXPECT_EQ(StatisticsText(*doc), "10 people, 0 families, 15 notes, 0 sources.");
    EXPECT_EQ(doc->m_strSourceSystem, "Unicode Test");
    EXPECT_EQ(doc->m_strCharSet, "UTF-8");
    const CPerson& alexei = Person(*doc, "I4");
    EXPECT_EQ(alexei.m_strSurname.view(), "Иванов");
    EXPECT_EQ(alexei.m_strGivenNames.view(), "Алексей");
    EXPECT_EQ(alexei.Event(ClassicEvent::Birth).place, "Москва, Россия");
    EXPECT_EQ(alexei.GetDisplayName(), "Иванов, Алексей (1965-?)");
    EXPECT_EQ(Person(*doc, "I5").FormatName(1), "太郎, 田中");
    EXPECT_EQ(Person(*doc, "I7").m_cSex, U'F');
    EXPECT_EQ(Person(*doc, "I1").Event(ClassicEvent::Birth).place, "Paris, Île-de-France, France");

    const CPerson& nino = Person(*doc, "I10");
    ASSERT_EQ(nino.Details().m_nNotes, 5);
    const CNote* hearts = doc->FindNote(nino.Details().m_arrNotes[4].view());
    ASSERT_NE(hearts, nullptr);
    EXPECT_EQ(TextsOf(hearts->m_pLines), Texts{"Hearts: ♥ ♡ 💕 💖 💗"});

    const CNote* note = doc->FindNote("N1");
    ASSERT_NE(note, nullptr);
    const Texts lines = TextsOf(note->m_pLines);
    ASSERT_EQ(lines.size(), 17U);
    EXPECT_EQ(lines[0], "This file tests UTF-8 encoding with various Unicode characters:");
    EXPECT_EQ(lines[7], "- Hebrew: אבגדהוזחטיכלמנסעפצקרשת");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[16], "5. Combining diacritical marks");
}

TEST_F(Corpus, BronteFamilyLinesAndHeader) {
    const auto doc = Load("bronte.ged");
    EXPECT_EQ(StatisticsText(*doc), "14 people, 4 families, 0 notes, 0 sources.");
    EXPECT_EQ(doc->m_strSourceSystem, "webtreeprint.com");
    EXPECT_EQ(doc->m_strGedcomVersion, "5.5"); // GEDC's, not the 1.0 under SOUR
    EXPECT_EQ(doc->m_strFileDate, "25 OCT 2012");
    EXPECT_EQ(doc->m_strSubmitter, "webTreePrint");

    const CPerson& patrick = Person(*doc, "I0001");
    EXPECT_EQ(patrick.GetDisplayName(), "Brontë, Patrick (1777-1861)");
    EXPECT_EQ(patrick.Details().m_nAltNames, 1);
    EXPECT_EQ(patrick.FormatAltName(0, 1), ", Brunty");
    EXPECT_EQ(patrick.Event(ClassicEvent::Birth).place, "County Down, Ireland");
    // "abt" in lower case is no qualifier.
    EXPECT_EQ(Person(*doc, "I0011").GetDisplayName(), "Brunty, Hugh (1755-1808)");

    const CPerson& charlotte = Person(*doc, "I0005");
    EXPECT_EQ(Id(doc->GetMother(&charlotte)), "I0002");
    EXPECT_EQ(Id(doc->GetFather(&charlotte)), "I0001");
    EXPECT_EQ(Id(doc->GetFirstPaternalAncestor(&charlotte)), "I0011");
    EXPECT_EQ(Id(doc->GetFirstMaternalAncestor(&charlotte)), "I0012");
    EXPECT_EQ(Id(doc->GetSpouse(&charlotte, doc->FindFamily("F002"))), "I0009");
    EXPECT_EQ(doc->FindFamily("F001")->Event(ClassicEvent::Marriage).date, "29 December 1812");
    EXPECT_EQ(doc->FindFamily("F001")->m_nChildren, 6);
}

} // namespace
} // namespace stirpex
