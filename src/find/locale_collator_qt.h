#pragma once

// The user's locale collation for names: case-insensitive, numbers compared
// as text. The C and POSIX locales have no collation of their own (they order
// by code point, which puts "Émile" after "Zola"), so with those the names are
// collated as in English.
//
// The order is ICU's collator for the locale, set up as QCollator sets up its
// own (secondary strength for case-insensitivity, normalisation on,
// punctuation not ignored), used directly so that model text (UTF-8) is
// compared without conversion and a sort can take just the beginnings of the
// collation keys. Qt picks the locale and folds case for the prefix test.
//
// Qt and ICU stay behind this header: callers see the core's Collator only.

#include "find/collator.h"

#include <memory>
#include <string>

class QLocale;

namespace stirpex {

class LocaleCollator final : public Collator {
public:
    // The system locale (QLocale::system()), or English where that is C.
    LocaleCollator();
    explicit LocaleCollator(const QLocale& locale);
    ~LocaleCollator() override;
    LocaleCollator(const LocaleCollator&) = delete;
    LocaleCollator& operator=(const LocaleCollator&) = delete;

    int compare(std::string_view a, std::string_view b) const override;
    // By the primary weights of the collation keys, the level that knows
    // neither case nor accents: a text begins with the prefix when its key
    // begins with the prefix's primary weights.
    int comparePrefix(std::string_view text, std::string_view prefix) const override;
    // By the beginnings of the collation keys (find/key_prefix_sort.h): fewer
    // collator calls than comparing texts pairwise, and 24 bytes an entry.
    void sort(std::span<NameEntry> entries, std::pmr::memory_resource* scratch) const override;

    // The name of the locale collated for, such as "en_US".
    std::string localeName() const;

protected:
    bool startsWithFolded(std::string_view text, std::string_view prefix) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The locale names are collated for when the user's locale is `system`.
QLocale CollationLocale(const QLocale& system);

} // namespace stirpex
