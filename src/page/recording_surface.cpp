#include "page/recording_surface.h"

#include "model/utf8.h"

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
    return static_cast<int>(CountCodePoints(text)) * kCharWidth;
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
