#include "model/fact_kinds.h"

#include <array>

namespace stirpex {

namespace {

// Sorted by tag (byte order), for the binary search.
constexpr FactKind kFactKinds[] = {
    {"ADDR", "Address", FactGroup::Attribute},
    {"ADOP", "Adoption", FactGroup::Event},
    {"AFN", "Ancestral File number", FactGroup::Other},
    {"AGE", "Age", FactGroup::Attribute},
    {"AGNC", "Agency", FactGroup::Attribute},
    {"ALIA", "Alias", FactGroup::Link},
    {"ANCI", "Ancestor interest", FactGroup::Other},
    {"ANUL", "Annulment", FactGroup::Event},
    {"ASSO", "Associate", FactGroup::Link},
    {"BAPL", "LDS baptism", FactGroup::Event},
    {"BAPM", "Baptism", FactGroup::Event},
    {"BARM", "Bar mitzvah", FactGroup::Event},
    {"BASM", "Bat mitzvah", FactGroup::Event},
    {"BIRT", "Birth", FactGroup::Event},
    {"BLES", "Blessing", FactGroup::Event},
    {"BURI", "Burial", FactGroup::Event},
    {"CAST", "Caste", FactGroup::Attribute},
    {"CAUS", "Cause", FactGroup::Attribute},
    {"CENS", "Census", FactGroup::Event},
    {"CHAN", "Changed", FactGroup::Other},
    {"CHIL", "Child", FactGroup::Link},
    {"CHR", "Christening", FactGroup::Event},
    {"CHRA", "Adult christening", FactGroup::Event},
    {"CONF", "Confirmation", FactGroup::Event},
    {"CONL", "LDS confirmation", FactGroup::Event},
    {"CREA", "Created", FactGroup::Other},
    {"CREM", "Cremation", FactGroup::Event},
    {"DEAT", "Death", FactGroup::Event},
    {"DESI", "Descendant interest", FactGroup::Other},
    {"DIV", "Divorce", FactGroup::Event},
    {"DIVF", "Divorce filed", FactGroup::Event},
    {"DSCR", "Description", FactGroup::Attribute},
    {"EDUC", "Education", FactGroup::Attribute},
    {"EMAIL", "Email", FactGroup::Attribute},
    {"EMIG", "Emigration", FactGroup::Event},
    {"ENDL", "LDS endowment", FactGroup::Event},
    {"ENGA", "Engagement", FactGroup::Event},
    {"EVEN", "Event", FactGroup::Event},
    {"EXID", "External identifier", FactGroup::Other},
    {"FACT", "Fact", FactGroup::Attribute},
    {"FAMC", "Child of", FactGroup::Link},
    {"FAMS", "Spouse in", FactGroup::Link},
    {"FAX", "Fax", FactGroup::Attribute},
    {"FCOM", "First communion", FactGroup::Event},
    {"GIVN", "Given name", FactGroup::Name},
    {"GRAD", "Graduation", FactGroup::Event},
    {"HUSB", "Husband", FactGroup::Link},
    {"IDNO", "Identity number", FactGroup::Attribute},
    {"IMMI", "Immigration", FactGroup::Event},
    {"INIL", "LDS initiatory", FactGroup::Event},
    {"MARB", "Marriage banns", FactGroup::Event},
    {"MARC", "Marriage contract", FactGroup::Event},
    {"MARL", "Marriage licence", FactGroup::Event},
    {"MARR", "Marriage", FactGroup::Event},
    {"MARS", "Marriage settlement", FactGroup::Event},
    {"NAME", "Name", FactGroup::Name},
    {"NATI", "Nationality", FactGroup::Attribute},
    {"NATU", "Naturalisation", FactGroup::Event},
    {"NCHI", "Number of children", FactGroup::Attribute},
    {"NICK", "Nickname", FactGroup::Name},
    {"NMR", "Number of marriages", FactGroup::Attribute},
    {"NO", "Did not happen", FactGroup::Event},
    {"NPFX", "Name prefix", FactGroup::Name},
    {"NSFX", "Name suffix", FactGroup::Name},
    {"OCCU", "Occupation", FactGroup::Attribute},
    {"ORDN", "Ordination", FactGroup::Event},
    {"PEDI", "Pedigree", FactGroup::Attribute},
    {"PHON", "Phone", FactGroup::Attribute},
    {"PROB", "Probate", FactGroup::Event},
    {"PROP", "Property", FactGroup::Attribute},
    {"REFN", "Reference number", FactGroup::Other},
    {"RELA", "Relation", FactGroup::Attribute},
    {"RELI", "Religion", FactGroup::Attribute},
    {"RESI", "Residence", FactGroup::Event},
    {"RESN", "Restriction", FactGroup::Other},
    {"RETI", "Retirement", FactGroup::Event},
    {"RFN", "Record file number", FactGroup::Other},
    {"RIN", "Record ID number", FactGroup::Other},
    {"ROLE", "Role", FactGroup::Attribute},
    {"SEX", "Sex", FactGroup::Attribute},
    {"SLGC", "LDS child sealing", FactGroup::Event},
    {"SLGS", "LDS spouse sealing", FactGroup::Event},
    {"SPFX", "Surname prefix", FactGroup::Name},
    {"SSN", "Social security number", FactGroup::Attribute},
    {"STAT", "Status", FactGroup::Attribute},
    {"SUBM", "Submitter", FactGroup::Other},
    {"SURN", "Surname", FactGroup::Name},
    {"TIME", "Time", FactGroup::Attribute},
    {"TITL", "Title", FactGroup::Attribute},
    {"TYPE", "Type", FactGroup::Attribute},
    {"UID", "Unique identifier", FactGroup::Other},
    {"WIFE", "Wife", FactGroup::Link},
    {"WILL", "Will", FactGroup::Event},
    {"WWW", "Web page", FactGroup::Attribute},
    {"_AKA", "Also known as", FactGroup::Name},
    {"_MARNM", "Married name", FactGroup::Name},
    {"_UID", "Unique identifier", FactGroup::Other},
};

constexpr bool sortedByTag() {
    for (std::size_t i = 1; i < std::size(kFactKinds); ++i) {
        if (!(kFactKinds[i - 1].tag < kFactKinds[i].tag)) {
            return false;
        }
    }
    return true;
}
static_assert(sortedByTag(), "the kinds are kept in tag order, each tag once");

constexpr std::size_t kLongestTag = 7;

constexpr bool tagsFit() {
    for (const FactKind& kind : kFactKinds) {
        if (kind.tag.size() > kLongestTag) {
            return false;
        }
    }
    return true;
}
static_assert(tagsFit(), "a tag text holds at most kLongestTag characters");

constexpr std::string_view kEventType = "EVEN";
constexpr std::string_view kFactType = "FACT";

bool startsWith(std::string_view tag, std::string_view prefix) noexcept {
    return tag.substr(0, prefix.size()) == prefix;
}

// A tag of up to seven bytes as one number, its length in the highest byte
// (so that a tag holding a NUL differs from the shorter one): a look-up on
// every fact line hashes and compares numbers, not texts.
constexpr std::uint64_t packTag(std::string_view tag) noexcept {
    std::uint64_t packed = std::uint64_t{tag.size()} << 56;
    for (std::size_t i = 0; i < tag.size(); ++i) {
        packed |= std::uint64_t{static_cast<unsigned char>(tag[i])} << (8 * i);
    }
    return packed;
}

// The kinds by their packed tags, open addressing: every fact line finds its
// kind in a probe or two, where a binary search took seven steps.
constexpr std::size_t kSlotBits = 8;
static_assert(std::size(kFactKinds) * 2 < std::size_t{1} << kSlotBits, "the table is kept at most half full");

constexpr std::size_t slotOf(std::uint64_t packed) noexcept {
    return static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits));
}

struct KindSlot {
    std::uint64_t packed = 0; // 0: empty, as every packed tag holds its length
    std::uint8_t kind = 0;
};
static_assert(std::size(kFactKinds) <= 255, "a slot holds a kind's index in one byte");

constexpr auto makeKindSlots() {
    std::array<KindSlot, std::size_t{1} << kSlotBits> slots{};
    for (std::size_t i = 0; i < std::size(kFactKinds); ++i) {
        const std::uint64_t packed = packTag(kFactKinds[i].tag);
        std::size_t slot = slotOf(packed);
        while (slots[slot].packed != 0) {
            slot = (slot + 1) % slots.size();
        }
        slots[slot] = {packed, static_cast<std::uint8_t>(i)};
    }
    return slots;
}
constexpr auto kKindSlots = makeKindSlots();

} // namespace

std::span<const FactKind> FactKinds() noexcept {
    return kFactKinds;
}

const FactKind* FindFactKind(std::string_view tag) noexcept {
    if (tag.empty() || tag.size() > kLongestTag) {
        return nullptr;
    }
    const std::uint64_t packed = packTag(tag);
    for (std::size_t slot = slotOf(packed);; slot = (slot + 1) % kKindSlots.size()) {
        if (kKindSlots[slot].packed == packed) {
            return &kFactKinds[kKindSlots[slot].kind];
        }
        if (kKindSlots[slot].packed == 0) {
            return nullptr;
        }
    }
}

ArenaStr KnownTagText(std::string_view tag) {
    // The tags as model texts, stored once for every model to share.
    static const auto kTagTexts = [] {
        std::array<ArenaStr, std::size(kFactKinds)> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = PermanentText(kFactKinds[i].tag);
        }
        return texts;
    }();
    const FactKind* kind = FindFactKind(tag);
    return kind ? kTagTexts[static_cast<std::size_t>(kind - std::begin(kFactKinds))] : ArenaStr();
}

std::string_view TagLabel(std::string_view tag) noexcept {
    const FactKind* kind = FindFactKind(tag);
    return kind ? kind->label : tag;
}

std::string_view FactLabel(const Fact& fact) noexcept {
    const std::string_view tag = fact.m_strTag.view();
    if ((tag == kEventType || tag == kFactType) && !fact.Details().m_strType.empty()) {
        return fact.Details().m_strType.view();
    }
    return TagLabel(tag);
}

bool IsOtherData(const Fact& fact) noexcept {
    const FactKind* kind = FindFactKind(fact.m_strTag.view());
    return kind == nullptr || kind->group == FactGroup::Other;
}

ClassicEvent ClassicEventOf(std::string_view tag, bool familyRecord) noexcept {
    if (familyRecord) {
        if (startsWith(tag, "MARR")) {
            return ClassicEvent::Marriage;
        }
        return startsWith(tag, "DIV") ? ClassicEvent::Divorce : ClassicEvent::None;
    }
    if (startsWith(tag, "BIRT")) {
        return ClassicEvent::Birth;
    }
    if (startsWith(tag, "BAP") || startsWith(tag, "CHR")) {
        return ClassicEvent::Baptism;
    }
    if (startsWith(tag, "DEAT")) {
        return ClassicEvent::Death;
    }
    return startsWith(tag, "BURI") ? ClassicEvent::Burial : ClassicEvent::None;
}

EventSummary SummarizeEvent(const FactList& facts, ClassicEvent event) noexcept {
    const bool family = InfoOf(event).family;
    EventSummary summary;
    bool saidToHappen = false;
    for (const Fact& fact : facts) {
        if (event == ClassicEvent::None || ClassicEventOf(fact.m_strTag.view(), family) != event) {
            continue;
        }
        ++summary.facts;
        summary.notes += fact.Details().notes();
        summary.sources += fact.Details().sources();
        if (!fact.m_strDate.empty()) {
            summary.date = fact.m_strDate.view();
        }
        if (!fact.m_strPlace.empty()) {
            summary.place = fact.m_strPlace.view();
        }
        const std::string_view value = fact.m_strValue.view();
        saidToHappen = saidToHappen || value.empty() || value[0] != 'N';
    }
    if (event == ClassicEvent::Divorce && summary.date.empty() && saidToHappen) {
        summary.date = "    ";
    }
    return summary;
}

} // namespace stirpex
