#include "model/stirpex_doc.h"

#include "model/parent_table.h"

#include <unordered_set>

namespace stirpex {

namespace {

constexpr std::size_t kInitialTableRoom = 1000;

template <typename Step> const CPerson* walkLine(const CPerson* person, Step step) {
    if (!person) {
        return nullptr;
    }
    std::unordered_set<const CPerson*> met{person};
    for (const CPerson* next = step(person); next && met.insert(next).second; next = step(next)) {
        person = next;
    }
    return person;
}

} // namespace

// Tables grow geometrically: stepping by a fixed 1000 entries would copy the
// whole table again every thousand records, quadratic on large files.
template <typename Record>
Record& CStirpexDoc::appendRecord(std::vector<RecordPtr<Record>>& table, std::int32_t& count,
                                  RecordMap<std::vector<RecordPtr<Record>>>& map, ArenaStr key) {
    RecordPtr<Record> record(new (m_arena.allocate(sizeof(Record), alignof(Record))) Record());
    record->m_nIndex = count;
    record->m_strID = key;
    Record& added = *record;
    table.push_back(std::move(record));
    ++count;
    if (!m_bulkLoad) {
        map.insert(added);
    }
    return added;
}

void CStirpexDoc::EndBulkLoad() {
    if (!m_bulkLoad) {
        return;
    }
    m_bulkLoad = false;
    MapRecordsSoFar();
}

void CStirpexDoc::MapRecordsSoFar() {
    m_mapPersons.insertRest();
    m_mapFamilies.insertRest();
    m_mapNotes.insertRest();
    m_mapSources.insertRest();
    m_mapExtObjs.insertRest();
}

template <typename Record>
void CStirpexDoc::moveRecords(std::vector<RecordPtr<Record>>& from, std::int32_t& fromCount,
                              std::vector<RecordPtr<Record>>& to, std::int32_t& toCount) {
    for (auto& record : from) {
        record->m_nIndex = toCount++;
        to.push_back(std::move(record));
    }
    from.clear();
    fromCount = 0;
}

void CStirpexDoc::AppendRecordsOf(CStirpexDoc& part) {
    moveRecords(part.m_ppPersons, part.m_nPersons, m_ppPersons, m_nPersons);
    moveRecords(part.m_ppFamilies, part.m_nFamilies, m_ppFamilies, m_nFamilies);
    moveRecords(part.m_ppNotes, part.m_nNotes, m_ppNotes, m_nNotes);
    moveRecords(part.m_ppSources, part.m_nSources, m_ppSources, m_nSources);
    moveRecords(part.m_ppExtObjs, part.m_nExtObjs, m_ppExtObjs, m_nExtObjs);
    m_arena.adopt(part.m_arena);
}

CStirpexDoc::CStirpexDoc() {
    m_ppPersons.reserve(kInitialTableRoom);
    m_ppFamilies.reserve(kInitialTableRoom);
    m_ppNotes.reserve(kInitialTableRoom);
    m_ppSources.reserve(kInitialTableRoom);
    m_ppExtObjs.reserve(kInitialTableRoom);
}

CStirpexDoc::~CStirpexDoc() = default;

const CPerson* CStirpexDoc::GetMother(const CPerson* person) const noexcept {
    if (!person) {
        return nullptr;
    }
    const CFamily* family = FindFamily(person->m_strParentFamily.view());
    return family ? FindPerson(family->m_strWife.view()) : nullptr;
}

const CPerson* CStirpexDoc::GetFather(const CPerson* person) const noexcept {
    if (!person) {
        return nullptr;
    }
    const CFamily* family = FindFamily(person->m_strParentFamily.view());
    return family ? FindPerson(family->m_strHusband.view()) : nullptr;
}

const CPerson* CStirpexDoc::GetSpouse(const CPerson* person, const CFamily* family) const noexcept {
    if (!person || !family) {
        return nullptr;
    }
    // The file names the couple: whatever SEX says or lacks, a husband's
    // spouse is the wife and a wife's the husband, also when both are men or
    // both women. Keys are compared, as every lookup does, never names.
    const std::string_view key = person->m_strID.view();
    const bool isHusband = !key.empty() && family->m_strHusband.view() == key;
    const bool isWife = !key.empty() && family->m_strWife.view() == key;
    if (isHusband != isWife) {
        return FindPerson(isHusband ? family->m_strWife.view() : family->m_strHusband.view());
    }
    // Neither partner (a FAMS the family does not answer) or, in a broken
    // file, both: the partner goes by sex, a man's being the wife.
    return FindPerson(person->m_cSex == 'M' ? family->m_strWife.view() : family->m_strHusband.view());
}

const CPerson* CStirpexDoc::GetChild(const CFamily* family, int i) const {
    return family ? FindPerson(family->m_arrChildren[i].view()) : nullptr;
}

const CPerson* CStirpexDoc::GetFirstMaternalAncestor(const CPerson* person) const {
    return walkLine(person, [this](const CPerson* p) { return GetMother(p); });
}

const CPerson* CStirpexDoc::GetFirstPaternalAncestor(const CPerson* person) const {
    return walkLine(person, [this](const CPerson* p) { return GetFather(p); });
}

StartPerson CStirpexDoc::GetStartPerson() const {
    StartPerson start;
    if (m_nPersons == 0) {
        start.placeholder = std::make_unique<CPerson>();
        static const ArenaStr kEmptySurname = PermanentText("Empty...");
        start.placeholder->m_strSurname = kEmptySurname;
        start.person = start.placeholder.get();
        return start;
    }
    start.person = m_strStartID.empty() ? nullptr : FindPerson(m_strStartID);
    if (!start.person) {
        start.person = m_ppPersons.front().get();
    }
    return start;
}

CPerson& CStirpexDoc::AddPerson(ArenaStr key) {
    return appendRecord(m_ppPersons, m_nPersons, m_mapPersons, key);
}

CFamily& CStirpexDoc::AddFamily(ArenaStr key) {
    return appendRecord(m_ppFamilies, m_nFamilies, m_mapFamilies, key);
}

CNote& CStirpexDoc::AddNote(ArenaStr key) {
    return appendRecord(m_ppNotes, m_nNotes, m_mapNotes, key);
}

CSource& CStirpexDoc::AddSource(ArenaStr key) {
    return appendRecord(m_ppSources, m_nSources, m_mapSources, key);
}

CExtObj& CStirpexDoc::AddExtObj(ArenaStr key) {
    return appendRecord(m_ppExtObjs, m_nExtObjs, m_mapExtObjs, key);
}

} // namespace stirpex
