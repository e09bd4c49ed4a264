#include "find/name_index.h"

#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace stirpex {

namespace {

constexpr std::size_t kTextBytesPerEntry = 40;
// Large enough that a build without a reservation takes few blocks, small
// enough that a tiny file does not hold much more than it needs.
constexpr std::size_t kMinBlockBytes = std::size_t{64} << 10;
// People indexed between two looks at a stop: a few milliseconds' work.
constexpr std::int32_t kStopLook = 4096;

} // namespace

namespace detail {

NameTextPool::NameTextPool(std::pmr::memory_resource* resource) : m_resource(resource), m_blocks(resource) {}

NameTextPool::~NameTextPool() {
    for (const Block& block : m_blocks) {
        m_resource->deallocate(block.data, block.size, 1);
    }
}

void NameTextPool::addBlock(std::size_t size) {
    // The slot first: once the block is had, recording it cannot fail.
    m_blocks.reserve(m_blocks.size() + 1);
    char* data = static_cast<char*>(m_resource->allocate(size, 1));
    m_blocks.push_back({data, size});
}

void NameTextPool::reserve(std::size_t bytes) {
    std::size_t room = 0;
    for (std::size_t i = m_block; i < m_blocks.size(); ++i) {
        room += m_blocks[i].size - (i == m_block ? m_used : 0);
    }
    if (room < bytes) {
        addBlock(bytes - room);
    }
}

std::string_view NameTextPool::store(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    while (m_block < m_blocks.size() && m_blocks[m_block].size - m_used < text.size()) {
        ++m_block;
        m_used = 0;
    }
    if (m_block == m_blocks.size()) {
        addBlock(std::max(kMinBlockBytes, text.size()));
    }
    char* copy = m_blocks[m_block].data + m_used;
    std::memcpy(copy, text.data(), text.size());
    m_used += text.size();
    return {copy, text.size()};
}

void NameTextPool::rewind() noexcept {
    m_block = 0;
    m_used = 0;
}

} // namespace detail

NameIndex::NameIndex(const Collator& collator, MessageSink* messages, std::pmr::memory_resource* resource)
    : m_collator(collator), m_messages(messages), m_texts(resource), m_entries(resource) {}

bool NameIndex::Reserve(std::size_t entries) {
    if (entries > m_entries.max_size() || entries > std::numeric_limits<std::size_t>::max() / kTextBytesPerEntry) {
        return false;
    }
    try {
        m_entries.reserve(entries);
        m_texts.reserve(entries * kTextBytesPerEntry);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void NameIndex::clear() noexcept {
    m_entries.clear();
    m_texts.rewind();
}

void NameIndex::add(std::string_view text, std::int32_t person) {
    const std::string_view stored = m_texts.store(text);
    m_entries.push_back({stored, person});
}

void NameIndex::addPerson(const CStirpexDoc& doc, const CPerson& person, std::string& scratch) {
    add(person.GetDisplayName(), person.m_nIndex);
    for (int j = 0; j < person.Details().m_nAltNames; ++j) {
        add(person.GetAltDisplayName(j), person.m_nIndex);
    }
    if (!m_bMarriedNames || person.m_cSex != U'F') {
        return;
    }
    std::string lifeSpan;
    for (const ArenaStr& key : person.m_arrSpouseFamilies) {
        // A woman the family records as its husband (a couple of two women)
        // takes no name from her wife.
        const CFamily* family = doc.FindFamily(key.view());
        if (family != nullptr && family->m_strHusband.view() == person.m_strID.view()) {
            continue;
        }
        const CPerson* husband = doc.GetSpouse(&person, family);
        if (husband == nullptr) {
            continue;
        }
        if (lifeSpan.empty()) {
            lifeSpan = person.GetLifeSpan();
        }
        scratch.assign(husband->m_strSurname.view())
            .append(", ")
            .append(person.m_strGivenNames.view())
            .append(" [")
            .append(person.m_strSurname.view())
            .append("]")
            .append(lifeSpan);
        add(scratch, person.m_nIndex);
    }
}

bool NameIndex::sortEntries() noexcept {
    try {
        m_collator.sort(m_entries, m_entries.get_allocator().resource());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void NameIndex::BuildIndex(const CStirpexDoc& doc, ProgressSink* progress, const std::atomic<bool>* stop) {
    ProgressTracker tracker;
    if (doc.m_nFileLength > kProgressThreshold && progress != nullptr) {
        tracker = ProgressTracker(progress->Create("Indexing GEDCOM file " + doc.m_strFileName));
    }
    clear();
    bool complete = true;
    try {
        std::string scratch;
        for (std::int32_t i = 0; i < doc.m_nPersons; ++i) {
            if (stop != nullptr && i % kStopLook == 0 && stop->load(std::memory_order_relaxed)) {
                clear();
                return;
            }
            addPerson(doc, *doc.m_ppPersons[static_cast<std::size_t>(i)], scratch);
            if (tracker.shown()) {
                tracker.advance(static_cast<int>(std::int64_t{i} * 100 / doc.m_nPersons));
            }
        }
    } catch (const std::bad_alloc&) {
        complete = false;
    }
    // The entries kept are sorted all the same; a sort that runs out of memory
    // itself leaves them as they are, which is reported as the same failure.
    complete = sortEntries() && complete;
    if (!complete && m_messages != nullptr) {
        m_messages->Show("Not enough memory for complete name index");
    }
}

std::int32_t NameIndex::personAt(int position) const noexcept {
    if (position < 0 || position >= size()) {
        return -1;
    }
    return m_entries[static_cast<std::size_t>(position)].person;
}

int NameIndex::findPrefix(std::string_view prefix) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const NameEntry& entry) { return m_collator.startsWith(entry.text, prefix); });
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

int NameIndex::SelectCurrentPerson(const CPerson* current) const {
    return current == nullptr ? -1 : findPrefix(current->GetDisplayName());
}

} // namespace stirpex
