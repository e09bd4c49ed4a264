#include "page/recording_surface.h"

#include "model/utf8.h"

#include <limits>

namespace stirpex {

PageFace RecordingSurface::SelectFace(PageFace face) {
    const PageFace previous = m_face;
    m_face = face;
    return previous;
}

void RecordingSurface::TextOut(int x, int y, std::string_view text) {
    m_ops.push_back(DrawnText{x, y, std::string(text), m_face, m_color});
}

int RecordingSurface::TextWidth(std::string_view text) {
    // Counting stops where the width would pass the largest int.
    constexpr std::size_t kWidest = std::numeric_limits<int>::max() / kCharWidth;
    const std::size_t count = CountCodePoints(text, kWidest + 1);
    return count > kWidest ? std::numeric_limits<int>::max() : static_cast<int>(count) * kCharWidth;
}

std::string_view FaceName(PageFace face) noexcept {
    switch (face) {
    case PageFace::Text:
        return "text";
    case PageFace::Link:
        return "link";
    case PageFace::SmallLink:
        return "smallLink";
    case PageFace::Print:
        return "print";
    case PageFace::PrintBold:
        return "printBold";
    }
    return "text";
}

} // namespace stirpex
