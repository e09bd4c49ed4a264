#include "find/locale_collator_qt.h"

#include "model/shown_text.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <new>
#include <numeric>
#include <vector>

namespace stirpex {

namespace {

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A UTF-8 character takes at most 4 bytes, and case folding keeps one UTF-16
// unit for one: matching a prefix of n bytes never looks past 4 n bytes of
// the text, so long texts are not converted whole.
constexpr std::size_t kMaxUtf8Bytes = 4;

// Puts entries[order[i]] at position i, following each cycle of the
// permutation in place: a second copy of millions of entries is not needed.
void applyOrder(std::span<NameEntry> entries, std::vector<std::uint32_t>& order) {
    constexpr std::uint32_t kPlaced = UINT32_MAX;
    for (std::uint32_t start = 0; start < order.size(); ++start) {
        if (order[start] == kPlaced) {
            continue;
        }
        const NameEntry first = entries[start];
        std::uint32_t at = start;
        while (order[at] != start) {
            const std::uint32_t from = order[at];
            entries[at] = entries[from];
            order[at] = kPlaced;
            at = from;
        }
        entries[at] = first;
        order[at] = kPlaced;
    }
}

} // namespace

struct LocaleCollator::Impl {
    explicit Impl(const QLocale& locale) : collator(CollationLocale(locale)) {
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
    }

    QCollator collator;
    // The prefix of a search is the same for every entry: converted once.
    mutable std::string lastPrefix;
    mutable QString lastPrefixText;
};

QLocale CollationLocale(const QLocale& system) {
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}

LocaleCollator::LocaleCollator() : LocaleCollator(QLocale::system()) {}

LocaleCollator::LocaleCollator(const QLocale& locale) : m_impl(std::make_unique<Impl>(locale)) {}

LocaleCollator::~LocaleCollator() = default;

int LocaleCollator::compare(std::string_view a, std::string_view b) const {
    return m_impl->collator.compare(fromModel(a), fromModel(b));
}

bool LocaleCollator::startsWithFolded(std::string_view text, std::string_view prefix) const {
    if (m_impl->lastPrefix != prefix) {
        m_impl->lastPrefixText = fromModel(prefix);
        m_impl->lastPrefix = prefix;
    }
    const std::string_view needed = text.substr(0, std::min(text.size(), prefix.size() * kMaxUtf8Bytes));
    return fromModel(needed).startsWith(m_impl->lastPrefixText, Qt::CaseInsensitive);
}

void LocaleCollator::sort(std::span<NameEntry> entries) const {
    if (entries.size() < 2) {
        return;
    }
    std::vector<std::uint32_t> order;
    try {
        order = sortedOrder(entries);
    } catch (const std::bad_alloc&) {
        // No room for the keys: the pairwise sort needs none.
        Collator::sort(entries);
        return;
    }
    applyOrder(entries, order);
}

std::vector<std::uint32_t> LocaleCollator::sortedOrder(std::span<const NameEntry> entries) const {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const NameEntry& entry : entries) {
        keys.push_back(m_impl->collator.sortKey(fromModel(ShownPrefix(entry.text))));
    }
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    // Equal keys keep their entries' order, as a stable sort would.
    std::sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : a < b;
    });
    return order;
}

std::string LocaleCollator::localeName() const {
    return m_impl->collator.locale().name().toStdString();
}

} // namespace stirpex
