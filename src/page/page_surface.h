#pragma once

// What the person page draws on: the screen view, the printer and the tests
// each implement these four operations. The page never touches a toolkit.
//
// Coordinates. On screen one unit is one pixel and y grows downwards from the
// top of the page (the view has already applied its scroll position). On paper
// one unit is a tenth of a millimetre and y grows upwards from the top of the
// printable area, so every printed line has a negative y. A text is placed with
// the top-left corner of its cell at (x, y), never with its baseline there.

#include <cstdint>
#include <string_view>

namespace stirpex {

// The five faces of the page. Heights are cell heights in the units of the
// surface the face is selected into.
enum class PageFace { Text, Link, SmallLink, Print, PrintBold };

struct FaceSpec {
    std::string_view name;
    int height = 0;
    int weight = 400; // 400 normal, 700 bold
    bool underline = false;
};

constexpr FaceSpec SpecOf(PageFace face) noexcept {
    switch (face) {
    case PageFace::Text:
        return {"Arial", 16, 700, false};
    case PageFace::Link:
        return {"Arial", 16, 700, true};
    case PageFace::SmallLink:
        return {"MS Sans Serif", 12, 400, true};
    case PageFace::Print:
        return {"Times New Roman", 40, 400, false};
    case PageFace::PrintBold:
        return {"Times New Roman", 40, 700, false};
    }
    return {};
}

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) noexcept = default;
};

inline constexpr Rgb kTextColor{0, 0, 0};
inline constexpr Rgb kLinkColor{0, 0, 255};
inline constexpr Rgb kHotLinkColor{0, 192, 255};
inline constexpr Rgb kPressedLinkColor{255, 0, 0};

class PageSurface {
public:
    virtual ~PageSurface() = default;
    // Makes `face` current and gives back the one it replaces.
    virtual PageFace SelectFace(PageFace face) = 0;
    virtual void SetTextColor(Rgb color) = 0;
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Width of `text` in the current face, in the surface's units.
    virtual int TextWidth(std::string_view text) = 0;
};

} // namespace stirpex
