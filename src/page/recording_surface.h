#pragma once

// A surface that draws nothing and keeps every text drawn, with its point,
// face and colour: the page as data, for stirpex-cli and the tests. Every
// character is 8 units wide in every face.

#include "page/page_surface.h"

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

struct DrawnText {
    int x = 0;
    int y = 0;
    std::string text;
    PageFace face = PageFace::Text;
    Rgb color;
};

class RecordingSurface final : public PageSurface {
public:
    static constexpr int kCharWidth = 8;

    PageFace SelectFace(PageFace face) override;
    void SetTextColor(Rgb color) override { m_color = color; }
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

    const std::vector<DrawnText>& ops() const noexcept { return m_ops; }
    void clear() noexcept { m_ops.clear(); }

private:
    std::vector<DrawnText> m_ops;
    PageFace m_face = PageFace::Text;
    Rgb m_color = kTextColor;
};

std::string_view FaceName(PageFace face) noexcept; // "text", "link", "smallLink", "print", "printBold"

} // namespace stirpex
