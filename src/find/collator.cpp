#include "find/collator.h"

#include "model/shown_text.h"

#include <algorithm>

namespace stirpex {

namespace {

constexpr bool isAscii(unsigned char c) noexcept {
    return c < 0x80;
}

constexpr unsigned char foldAscii(unsigned char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

} // namespace

bool Collator::startsWith(std::string_view text, std::string_view prefix) const {
    // While both texts are ASCII each byte is one character and folding an
    // ASCII character gives its ASCII lower case, so a mismatch there is final.
    // From the first other byte on, the rest of both goes to the collator's folding.
    const std::size_t length = std::min(text.size(), prefix.size());
    for (std::size_t i = 0; i < length; ++i) {
        const auto t = static_cast<unsigned char>(text[i]);
        const auto p = static_cast<unsigned char>(prefix[i]);
        if (!isAscii(t) || !isAscii(p)) {
            return startsWithFolded(text.substr(i), prefix.substr(i));
        }
        if (foldAscii(t) != foldAscii(p)) {
            return false;
        }
    }
    // Folding keeps one character for one, so a prefix longer than the text cannot match.
    return prefix.size() <= text.size();
}

int Collator::comparePrefix(std::string_view text, std::string_view prefix) const {
    if (startsWith(text, prefix)) {
        return 0;
    }
    return compare(text, prefix) < 0 ? -1 : 1;
}

void Collator::sort(std::span<NameEntry> entries, std::pmr::memory_resource* /*scratch*/) const {
    std::stable_sort(entries.begin(), entries.end(), [this](const NameEntry& a, const NameEntry& b) {
        return compare(ShownPrefix(a.text), ShownPrefix(b.text)) < 0;
    });
}

} // namespace stirpex
