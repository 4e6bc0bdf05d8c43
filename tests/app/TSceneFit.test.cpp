#include "app/TSceneFit.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <cstdlib>

namespace {

bool near(sf::Vector2f a, sf::Vector2f b, float tolerance)
{
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

} // namespace

TEST_CASE("the scene fits any window, centred, with bars on the free sides", "[fit]")
{
    SECTION("at exactly 1920 x 1080 a pixel is a scene unit, unchanged")
    {
        const sf::View view = TSceneFit::view({1920, 1080});
        CHECK(view.getViewport() == sf::FloatRect({0.f, 0.f}, {1.f, 1.f}));
        CHECK(view.getSize() == sf::Vector2f(1920.f, 1080.f));
        CHECK(view.getCenter() == sf::Vector2f(960.f, 540.f));
        for (int y = -3; y < 1090; y += 7)
            for (int x = -3; x < 1930; x += 11)
                REQUIRE(TSceneFit::toScene(view, {1920, 1080}, {x, y})
                        == sf::Vector2f(static_cast<float>(x), static_cast<float>(y)));
    }
    SECTION("1280 x 720 has the same shape: scaled by 2/3, no bars")
    {
        const sf::View view = TSceneFit::view({1280, 720});
        CHECK(view.getViewport() == sf::FloatRect({0.f, 0.f}, {1.f, 1.f}));
        CHECK(TSceneFit::toScene(view, {1280, 720}, {492, 667}) == sf::Vector2f(738.f, 1000.5f));
        CHECK(TSceneFit::toWindow(view, {1280, 720}, {1920.f, 1080.f}) == sf::Vector2f(1280.f, 720.f));
    }
    SECTION("a tall window gets bars above and below, a wide one at the sides")
    {
        // 1000 x 1000: scale 1000/1920, the scene 562.5 high from y 218.75.
        const sf::View tall = TSceneFit::view({1000, 1000});
        CHECK(near(TSceneFit::toWindow(tall, {1000, 1000}, {0.f, 0.f}), {0.f, 218.75f}, 1e-3f));
        CHECK(near(TSceneFit::toWindow(tall, {1000, 1000}, {1920.f, 1080.f}), {1000.f, 781.25f}, 1e-3f));
        // 2000 x 800: scale 800/1080, the scene 1422.2 wide from x 288.9.
        const sf::View wide = TSceneFit::view({2000, 800});
        const sf::Vector2f left = TSceneFit::toWindow(wide, {2000, 800}, {0.f, 0.f});
        const sf::Vector2f right = TSceneFit::toWindow(wide, {2000, 800}, {1920.f, 1080.f});
        CHECK(near(left, {1000.f - 1920.f * 800.f / 1080.f / 2.f, 0.f}, 1e-2f));
        CHECK(near(right, {1000.f + 1920.f * 800.f / 1080.f / 2.f, 800.f}, 1e-2f));
        // A press in a bar lies outside the scene, where nothing is hit.
        CHECK(TSceneFit::toScene(wide, {2000, 800}, {100, 400}).x < 0.f);
        CHECK(TSceneFit::toScene(tall, {1000, 1000}, {500, 990}).y > 1080.f);
    }
    SECTION("pointer positions round-trip at every size the game is tried on")
    {
        for (sf::Vector2u size : {sf::Vector2u{1280, 720}, sf::Vector2u{1366, 768}, sf::Vector2u{1920, 1000},
                                  sf::Vector2u{1024, 768}, sf::Vector2u{3840, 2160}, sf::Vector2u{800, 1200}}) {
            const sf::View view = TSceneFit::view(size);
            for (int i = 0; i < 500; ++i) {
                const sf::Vector2f scene{static_cast<float>(std::rand() % 1920),
                                         static_cast<float>(std::rand() % 1080)};
                const sf::Vector2f window = TSceneFit::toWindow(view, size, scene);
                REQUIRE(window.x >= 0.f);
                REQUIRE(window.x <= static_cast<float>(size.x));
                REQUIRE(window.y >= 0.f);
                REQUIRE(window.y <= static_cast<float>(size.y));
                // A whole pixel is at most one pixel's worth of scene units off.
                const sf::Vector2i pixel{static_cast<int>(std::lround(window.x)),
                                         static_cast<int>(std::lround(window.y))};
                const float unitsPerPixel = 1920.f / (1920.f * std::min(size.x / 1920.f, size.y / 1080.f));
                REQUIRE(near(TSceneFit::toScene(view, size, pixel), scene, unitsPerPixel * 0.5f + 1e-3f));
            }
        }
    }
    SECTION("the window asked for fits the desktop")
    {
        CHECK(TSceneFit::windowSizeFor({1920, 1080}) == sf::Vector2u(1920, 1080));
        CHECK(TSceneFit::windowSizeFor({2560, 1440}) == sf::Vector2u(1920, 1080));
        CHECK(TSceneFit::windowSizeFor({1366, 768}) == sf::Vector2u(1365, 768));
        CHECK(TSceneFit::windowSizeFor({1280, 1024}) == sf::Vector2u(1280, 720));
        CHECK(TSceneFit::windowSizeFor({1920, 1050}) == sf::Vector2u(1866, 1050));
    }
}
