#include "model/shown_text.h"

#include "model/utf8.h"

namespace stirpex {

std::string_view ShownPrefix(std::string_view text) noexcept {
    // A character takes at least one byte: a text of no more bytes is short enough.
    if (text.size() <= kMaxShownCodePoints) {
        return text;
    }
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < kMaxShownCodePoints; ++count) {
        end += CodePointLength(static_cast<unsigned char>(text[end]));
    }
    return text.substr(0, end);
}

std::string ShownText(std::string_view text) {
    const std::string_view prefix = ShownPrefix(text);
    std::string shown(prefix);
    if (prefix.size() < text.size()) {
        shown.append(kEllipsis);
    }
    return shown;
}

void CutToShown(std::string& text) {
    const std::size_t shown = ShownPrefix(text).size();
    if (shown < text.size()) {
        text.resize(shown);
        text.append(kEllipsis);
    }
}

} // namespace stirpex
