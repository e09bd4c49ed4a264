#pragma once

// One loaded GEDCOM file: five tables of records in file order, a key map per
// table, the header properties, and the lookups every view uses. Filled by one
// run of the reader, read-only afterwards. References between records are keys,
// resolved only when asked; a key that names nothing yields null.

#include "model/encoding_decision.h"
#include "model/family.h"
#include "model/media_archive.h"
#include "model/person.h"
#include "model/reading_log.h"
#include "model/record_map.h"
#include "model/source.h"
#include "model/text_arena.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

// Records live in the document's arena beside their texts: a heap block per
// record would add the allocator's bookkeeping to each of millions of small
// records. The table's handle runs the destructor; the arena frees the memory.
struct RecordDeleter {
    template <typename Record> void operator()(Record* record) const noexcept { record->~Record(); }
};
template <typename Record> using RecordPtr = std::unique_ptr<Record, RecordDeleter>;

// The person a new page opens on; owns the placeholder of a file without individuals.
struct StartPerson {
    const CPerson* person = nullptr;
    std::unique_ptr<CPerson> placeholder;
};

class ParentTable;

class CStirpexDoc {
public:
    CStirpexDoc();
    CStirpexDoc(const CStirpexDoc&) = delete;
    CStirpexDoc& operator=(const CStirpexDoc&) = delete;
    virtual ~CStirpexDoc();

    const CPerson* FindPerson(std::string_view key) const noexcept { return m_mapPersons.find(key); }
    const CFamily* FindFamily(std::string_view key) const noexcept { return m_mapFamilies.find(key); }
    const CNote* FindNote(std::string_view key) const noexcept { return m_mapNotes.find(key); }
    const CSource* FindSource(std::string_view key) const noexcept { return m_mapSources.find(key); }
    const CExtObj* FindExtObj(std::string_view key) const noexcept { return m_mapExtObjs.find(key); }

    const CPerson* GetMother(const CPerson* person) const noexcept;
    const CPerson* GetFather(const CPerson* person) const noexcept;
    // The family's other partner: the wife for its husband, the husband for
    // its wife, whatever their sex; for someone who is neither, the wife for a
    // man (SEX M) and the husband for anyone else. Null when there is none.
    const CPerson* GetSpouse(const CPerson* person, const CFamily* family) const noexcept;
    const CPerson* GetChild(const CFamily* family, int i) const;
    // Follow mothers (fathers) while they lead to someone not yet met on this
    // walk; a loop in the parent links ends the walk at the last new person.
    const CPerson* GetFirstMaternalAncestor(const CPerson* person) const;
    const CPerson* GetFirstPaternalAncestor(const CPerson* person) const;
    StartPerson GetStartPerson() const;
    // Every person's parents by index (model/parent_table.h), made on the first call.
    const ParentTable& GetParentTable() const;

    // Building, for the reader only: a new record with the key, appended to its table and map.
    CPerson& AddPerson(ArenaStr key);
    CFamily& AddFamily(ArenaStr key);
    CNote& AddNote(ArenaStr key);
    CSource& AddSource(ArenaStr key);
    CExtObj& AddExtObj(ArenaStr key);

    TextArena& Arena() noexcept { return m_arena; }

    // The reader appends whole files without looking anything up: between
    // these two calls records go into their tables only, and the key maps are
    // filled at the end in one sized pass.
    void BeginBulkLoad() noexcept { m_bulkLoad = true; }
    void EndBulkLoad();
    // While reading in bulk: enters the records read so far into the key
    // maps, so that EndBulkLoad has only the rest to do. A reader in parts
    // calls it while later parts are parsed; the lookups must not be used
    // before EndBulkLoad, as the maps hold only the earlier records.
    void MapRecordsSoFar();
    // During a bulk load: appends the records of `part`, the document of a
    // later stretch of the same file read on its own, as if they had been
    // read here, and takes over its arena. `part` keeps its header fields and
    // log; its tables are left empty.
    void AppendRecordsOf(CStirpexDoc& part);

private:
    template <typename Record>
    Record& appendRecord(std::vector<RecordPtr<Record>>& table, std::int32_t& count,
                         RecordMap<std::vector<RecordPtr<Record>>>& map, ArenaStr key);

    template <typename Record>
    static void moveRecords(std::vector<RecordPtr<Record>>& from, std::int32_t& fromCount,
                            std::vector<RecordPtr<Record>>& to, std::int32_t& toCount);

    TextArena m_arena;
    bool m_bulkLoad = false;
    mutable std::once_flag m_parentTableOnce;
    mutable std::unique_ptr<const ParentTable> m_parentTable;

public:
    std::string m_strFileName;
    std::string m_strSourceSystem;
    std::string m_strDestination;
    std::string m_strFileDate;
    std::string m_strGedcomVersion;
    std::string m_strCharSet;
    std::string m_strSubmitter;
    std::string m_strStartID;
    std::string m_strGoToID;
    EncodingDecision m_encoding;
    std::unique_ptr<MediaArchive> m_media; // the archive's other files, when the file was one

    ReadingLog m_readingLog;

    // Declared so that destruction runs persons, families, notes, sources, external
    // references, all before the arena they live in.
    std::vector<RecordPtr<CExtObj>> m_ppExtObjs;
    std::vector<RecordPtr<CSource>> m_ppSources;
    std::vector<RecordPtr<CNote>> m_ppNotes;
    std::vector<RecordPtr<CFamily>> m_ppFamilies;
    std::vector<RecordPtr<CPerson>> m_ppPersons;

    std::int64_t m_nFileLength = 0;
    std::int32_t m_nPersons = 0;
    std::int32_t m_nFamilies = 0;
    std::int32_t m_nSources = 0;
    std::int32_t m_nNotes = 0;
    std::int32_t m_nExtObjs = 0;

    RecordMap<std::vector<RecordPtr<CExtObj>>> m_mapExtObjs{m_ppExtObjs};
    RecordMap<std::vector<RecordPtr<CSource>>> m_mapSources{m_ppSources};
    RecordMap<std::vector<RecordPtr<CNote>>> m_mapNotes{m_ppNotes};
    RecordMap<std::vector<RecordPtr<CFamily>>> m_mapFamilies{m_ppFamilies};
    RecordMap<std::vector<RecordPtr<CPerson>>> m_mapPersons{m_ppPersons};
};

} // namespace stirpex
