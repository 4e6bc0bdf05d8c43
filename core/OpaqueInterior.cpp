#include "core/OpaqueInterior.hpp"

#include <algorithm>
#include <cstddef>
#include <vector>

sf::IntRect opaqueInteriorOf(const std::uint8_t* rgba, sf::Vector2u size)
{
    const int w = static_cast<int>(size.x), h = static_cast<int>(size.y);
    // Counts of pixels that are not fully opaque, summed over rectangles
    // from the top left corner.
    std::vector<int> sums(static_cast<std::size_t>((w + 1) * (h + 1)), 0);
    const auto at = [&](int x, int y) -> int& { return sums[static_cast<std::size_t>(y * (w + 1) + x)]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t index =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            const int seeThrough = rgba[index * 4 + 3] != 255;
            at(x + 1, y + 1) = seeThrough + at(x, y + 1) + at(x + 1, y) - at(x, y);
        }
    const auto clear = [&](int l, int t, int r, int b) { return at(r, b) - at(l, b) - at(r, t) + at(l, t) == 0; };
    int l = 0, t = 0, r = w, b = h;
    const int stepX = std::max(1, w / 64), stepY = std::max(1, h / 64);
    while (r - l > 2 * stepX && b - t > 2 * stepY && !clear(l, t, r, b)) {
        // Move in the edge with the most see-through pixels along it.
        const int left = at(l + stepX, b) - at(l, b) - at(l + stepX, t) + at(l, t);
        const int right = at(r, b) - at(r - stepX, b) - at(r, t) + at(r - stepX, t);
        const int top = at(r, t + stepY) - at(l, t + stepY) - at(r, t) + at(l, t);
        const int bottom = at(r, b) - at(l, b) - at(r, b - stepY) + at(l, b - stepY);
        const int most = std::max({left, right, top, bottom});
        if (most == left)
            l += stepX;
        else if (most == right)
            r -= stepX;
        else if (most == top)
            t += stepY;
        else
            b -= stepY;
    }
    return clear(l, t, r, b) ? sf::IntRect({l, t}, {r - l, b - t}) : sf::IntRect();
}
