#include "find/locale_collator_qt.h"

#include "find/key_prefix_sort.h"

#include <QLocale>
#include <QString>

#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cstdint>
#include <new>
#include <stdexcept>

namespace stirpex {

namespace {

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A UTF-8 character takes at most 4 bytes, and case folding keeps one UTF-16
// unit for one: matching a prefix of n bytes never looks past 4 n bytes of
// the text, so long texts are not converted whole.
constexpr std::size_t kMaxUtf8Bytes = 4;

// ICU takes lengths as int32_t. Texts the list collates are shown prefixes
// (8000 bytes at most); a longer text is compared by its first 2 GB.
std::int32_t icuLength(std::string_view text) noexcept {
    return static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
}

struct CollatorCloser {
    void operator()(UCollator* collator) const noexcept { ucol_close(collator); }
};
using CollatorHandle = std::unique_ptr<UCollator, CollatorCloser>;

void check(UErrorCode status, const char* what) {
    if (status == U_MEMORY_ALLOCATION_ERROR) {
        throw std::bad_alloc();
    }
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string(what) + u_errorName(status));
    }
}

// ICU falls back by itself to a parent locale or to the root collation; it
// fails only without memory or without its data.
CollatorHandle openCollator(const QLocale& locale) {
    const std::string name = locale.bcp47Name().replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
    UErrorCode status = U_ZERO_ERROR;
    CollatorHandle collator(ucol_open(name.c_str(), &status));
    check(status, "Cannot open the name collation: ");
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    check(status, "Cannot set up the name collation: ");
    return collator;
}

} // namespace

struct LocaleCollator::Impl {
    explicit Impl(const QLocale& locale) : locale(CollationLocale(locale)) {}

    // Opened on first use: its data is a few megabytes that a run without a
    // name list never needs. Throws std::bad_alloc without memory.
    UCollator* collator() const {
        if (!opened) {
            opened = openCollator(locale);
        }
        return opened.get();
    }

    QLocale locale;
    mutable CollatorHandle opened;
    // The primary weights of `prefix`: its collation key up to the first
    // level separator. Kept for the last prefix, which a search asks for at
    // every step.
    const std::string& primaryKey(std::string_view prefix) const;

    // The prefix of a search is the same for every entry: converted once.
    mutable std::string lastPrefix;
    mutable QString lastPrefixText;
    mutable std::string lastKeyed;
    mutable std::string lastPrimary;
    mutable bool keyed = false;
};

// The byte ICU writes between the levels of a key; no weight holds it.
constexpr char kLevelSeparator = 0x01;

const std::string& LocaleCollator::Impl::primaryKey(std::string_view prefix) const {
    if (keyed && lastKeyed == prefix) {
        return lastPrimary;
    }
    const QString text = fromModel(prefix);
    const auto* units = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<std::int32_t>(text.size());
    std::string key(static_cast<std::size_t>(ucol_getSortKey(collator(), units, length, nullptr, 0)), '\0');
    ucol_getSortKey(collator(), units, length, reinterpret_cast<std::uint8_t*>(key.data()),
                    static_cast<std::int32_t>(key.size()));
    key.resize(std::min(key.size(), key.find(kLevelSeparator)));
    lastPrimary = std::move(key);
    lastKeyed = prefix;
    keyed = true;
    return lastPrimary;
}

QLocale CollationLocale(const QLocale& system) {
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}

LocaleCollator::LocaleCollator() : LocaleCollator(QLocale::system()) {}

LocaleCollator::LocaleCollator(const QLocale& locale) : m_impl(std::make_unique<Impl>(locale)) {}

LocaleCollator::~LocaleCollator() = default;

int LocaleCollator::compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(m_impl->collator(), a.data(), icuLength(a), b.data(), icuLength(b), &status);
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

int LocaleCollator::comparePrefix(std::string_view text, std::string_view prefix) const {
    const std::string& wanted = m_impl->primaryKey(prefix);
    if (wanted.empty()) {
        return 0;
    }
    // Only as much of the text's key as the prefix's weights take: a long
    // text is not keyed whole. A shorter primary level runs into the
    // separator, which is below every weight, so the text sorts before.
    std::string got(wanted.size(), '\0');
    UCharIterator characters;
    uiter_setUTF8(&characters, text.data(), icuLength(text));
    std::uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t written =
        ucol_nextSortKeyPart(m_impl->collator(), &characters, state, reinterpret_cast<std::uint8_t*>(got.data()),
                             static_cast<std::int32_t>(got.size()), &status);
    check(status, "Cannot key a name: ");
    const auto kept = static_cast<std::size_t>(std::max(written, 0));
    const int order = std::memcmp(got.data(), wanted.data(), kept);
    if (order != 0) {
        return order < 0 ? -1 : 1;
    }
    return kept < wanted.size() ? -1 : 0;
}

bool LocaleCollator::startsWithFolded(std::string_view text, std::string_view prefix) const {
    if (m_impl->lastPrefix != prefix) {
        m_impl->lastPrefixText = fromModel(prefix);
        m_impl->lastPrefix = prefix;
    }
    const std::string_view needed = text.substr(0, std::min(text.size(), prefix.size() * kMaxUtf8Bytes));
    return fromModel(needed).startsWith(m_impl->lastPrefixText, Qt::CaseInsensitive);
}

void LocaleCollator::sort(std::span<NameEntry> entries, std::pmr::memory_resource* scratch) const {
    UCollator* const collator = m_impl->collator();
    const auto makePrefix = [collator](std::string_view text, detail::KeyPrefix& prefix) {
        UCharIterator characters;
        uiter_setUTF8(&characters, text.data(), icuLength(text));
        std::uint32_t state[2] = {0, 0};
        UErrorCode status = U_ZERO_ERROR;
        const std::int32_t written = ucol_nextSortKeyPart(collator, &characters, state, prefix.data(),
                                                          static_cast<std::int32_t>(prefix.size()), &status);
        // A failed key (it needs memory ICU could not have) sorts first rather than at random.
        const std::size_t kept = U_FAILURE(status) ? 0 : static_cast<std::size_t>(std::max(written, 0));
        std::fill(prefix.begin() + static_cast<std::ptrdiff_t>(kept), prefix.end(), std::uint8_t{0});
    };
    try {
        detail::SortByKeyPrefix(entries, *this, makePrefix, scratch);
    } catch (const std::bad_alloc&) {
        // No room for the prefixes: the pairwise sort needs none.
        Collator::sort(entries, scratch);
    }
}

std::string LocaleCollator::localeName() const {
    return m_impl->locale.name().toStdString();
}

} // namespace stirpex
