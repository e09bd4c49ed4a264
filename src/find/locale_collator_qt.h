#pragma once

// The user's locale collation for names, over QCollator: case-insensitive,
// numbers compared as text. The C and POSIX locales have no collation of
// their own (they order by code point, which puts "Émile" after "Zola"), so
// with those the names are collated as in English.
//
// Qt stays behind this header: callers see the core's Collator only.

#include "find/collator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // One collation key per entry, then a sort of the keys: far fewer
    // conversions and collator calls than comparing texts pairwise.
    void sort(std::span<NameEntry> entries) const override;

    // The name of the locale collated for, such as "en_US".
    std::string localeName() const;

protected:
    bool startsWithFolded(std::string_view text, std::string_view prefix) const override;

private:
    std::vector<std::uint32_t> sortedOrder(std::span<const NameEntry> entries) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The locale names are collated for when the user's locale is `system`.
QLocale CollationLocale(const QLocale& system);

} // namespace stirpex
