#include "shell/frame_geometry.h"

#include <algorithm>

namespace stirpex {

std::string NumberedTitle(std::string_view title, int number) {
    std::string numbered(title);
    if (number > 0) {
        numbered.append(":").append(std::to_string(number));
    }
    return numbered;
}

std::vector<CascadeRect> CascadeRects(int count, int width, int height, int step) {
    std::vector<CascadeRect> rects;
    if (count <= 0 || width <= 0 || height <= 0) {
        return rects;
    }
    step = std::max(1, step);
    const int offset = step * (count - 1);
    const int windowWidth = std::min(width, std::max(width - offset, width * 2 / 3));
    const int windowHeight = std::min(height, std::max(height - offset, height * 2 / 3));
    // How many steps fit before a window would cross the area's right or bottom edge.
    const int places = std::min(width - windowWidth, height - windowHeight) / step + 1;
    rects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int at = (i % places) * step;
        rects.push_back({at, at, windowWidth, windowHeight});
    }
    return rects;
}

int StatsPaneWidth(int barWidth, int promptWidth, int preferred) noexcept {
    return std::clamp(barWidth - promptWidth, 0, std::max(0, preferred));
}

} // namespace stirpex
