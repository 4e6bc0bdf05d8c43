#include "app/TDesktopArea.hpp"
#include "app/TSceneFit.hpp"

#include <catch2/catch_test_macros.hpp>

namespace {

TDesktopArea desktop(sf::Vector2i position, sf::Vector2u size, unsigned left, unsigned right, unsigned top,
                     unsigned bottom)
{
    TDesktopArea area;
    area.position = position;
    area.size = size;
    area.frameLeft = left;
    area.frameRight = right;
    area.frameTop = top;
    area.frameBottom = bottom;
    area.managed = true;
    return area;
}

} // namespace

TEST_CASE("the window and its frame fit in the work area", "[app][window]")
{
    struct Row {
        const char* what;
        TDesktopArea area;
        sf::Vector2u window;   // the farm's window for that room
        sf::Vector2i position; // where its frame goes
    };
    const Row rows[] = {
        // No manager: the whole screen, one pixel per scene unit at 1920 x 1080.
        {"a bare 1920 x 1080 screen", desktop({0, 0}, {1920, 1080}, 0, 0, 0, 0), {1920, 1080}, {0, 0}},
        // openbox's frame (1, 1, 18, 5): room 1918 x 1057, the height decides:
        // 1057 / 1080 of 1920 is 1879.1.
        {"1920 x 1080 under a title bar", desktop({0, 0}, {1920, 1080}, 1, 1, 18, 5), {1879, 1057}, {19, 0}},
        // 768 - 23 = 745 tall, 1324.4 wide; the frame 1326 x 768 centred: (1366 - 1326) / 2 = 20.
        {"1366 x 768 under a title bar", desktop({0, 0}, {1366, 768}, 1, 1, 18, 5), {1324, 745}, {20, 0}},
        // A panel of 40 at the top: the work area starts below it.
        {"a panel above", desktop({0, 40}, {1920, 1040}, 2, 2, 30, 2), {1792, 1008}, {62, 40}},
        // A big screen: the farm's own size, the frame centred.
        {"a 2560 x 1440 desktop", desktop({0, 0}, {2560, 1440}, 1, 1, 18, 5), {1920, 1080}, {319, 168}},
    };
    for (const Row& row : rows) {
        INFO(row.what);
        const sf::Vector2u window = TSceneFit::windowSizeFor(row.area.room());
        CHECK(window == row.window);
        CHECK(row.area.framePositionFor(window) == row.position);
    }
}

TEST_CASE("a frame as large as the work area leaves a window of one pixel, not a wrapped size", "[app][window]")
{
    const TDesktopArea tiny = desktop({0, 0}, {20, 20}, 10, 10, 30, 0);
    CHECK(tiny.room() == sf::Vector2u(1, 1));
    CHECK(tiny.framePositionFor({1, 1}) == sf::Vector2i(0, 0));
}
