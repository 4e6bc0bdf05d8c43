#include "poultry/Yard.hpp"
#include "poultry/TChiken2.hpp"
#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <algorithm>
#include <cstdlib>

namespace {

bool inYard(sf::Vector2f p)
{
    return p.x >= yard::left && p.x <= yard::right && p.y >= yard::top && p.y <= yard::bottom;
}

// Share of a grid of cells over the yard that some target fell in.
double cellsReached(const std::vector<sf::Vector2f>& targets, int columns, int rows)
{
    std::vector<bool> hit(static_cast<std::size_t>(columns * rows), false);
    for (sf::Vector2f p : targets) {
        const int c =
            std::min(columns - 1, static_cast<int>((p.x - yard::left) / (yard::right - yard::left) * columns));
        const int r = std::min(rows - 1, static_cast<int>((p.y - yard::top) / (yard::bottom - yard::top) * rows));
        hit[static_cast<std::size_t>(r * columns + c)] = true;
    }
    return static_cast<double>(std::count(hit.begin(), hit.end(), true)) / static_cast<double>(hit.size());
}

} // namespace

TEST_CASE("stroll and drop targets are spread evenly over the yard the screen shows", "[chicken][yard]")
{
    SECTION("the ends of the drawn ranges land on the yard's edges, the middle in its middle")
    {
        CHECK(yard::strollTarget(50, 430) == sf::Vector2f{yard::left, yard::top});
        CHECK(yard::strollTarget(1949, 1429) == sf::Vector2f{yard::right, yard::bottom});
        CHECK(yard::dropTarget(1949, 1099) == sf::Vector2f{yard::right, yard::bottom});
        CHECK(yard::dropTarget(50, 430) == sf::Vector2f{yard::left, yard::top});
        // 999.5 is the middle of 50..1949; 764.5 of 430..1099: (80 + 1840) / 2 = 960, (430 + 900) / 2 = 665.
        const sf::Vector2f a = yard::dropTarget(999, 764);
        const sf::Vector2f b = yard::dropTarget(1000, 765);
        CHECK(a.x < 960.f);
        CHECK(b.x > 960.f);
        CHECK(a.y < 665.f);
        CHECK(b.y > 665.f);
    }

    SECTION("over many seeded strolls and drops no target leaves the yard, and they reach all of it")
    {
        std::vector<sf::Vector2f> strolls;
        std::vector<sf::Vector2f> drops;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            std::srand(seed);
            for (int i = 0; i < 2500; ++i) {
                const int sy = std::rand() % 1000 + 430;
                const int sx = std::rand() % 1900 + 50;
                strolls.push_back(yard::strollTarget(sx, sy));
                const int dy = std::rand() % 670 + 430;
                const int dx = std::rand() % 1900 + 50;
                drops.push_back(yard::dropTarget(dx, dy));
            }
        }
        CHECK(std::all_of(strolls.begin(), strolls.end(), inYard));
        CHECK(std::all_of(drops.begin(), drops.end(), inYard));
        // 10,000 even draws into 20 x 10 cells miss none; a clamp to the edges
        // would leave the inner cells thin and pile a third on the border row.
        CHECK(cellsReached(strolls, 20, 10) == 1.0);
        CHECK(cellsReached(drops, 20, 10) == 1.0);
        const auto bottomRow = std::count_if(strolls.begin(), strolls.end(), [](sf::Vector2f p) {
            return p.y > yard::bottom - (yard::bottom - yard::top) / 10.f;
        });
        CHECK(bottomRow < 1300); // about 1000 expected of 10,000
    }
}

TEST_CASE("a grown hen standing anywhere in the yard is wholly on screen and above the toolbar", "[chicken][yard]")
{
    testsupport::freshGame();
    TChiken2 hen;
    hen.stage = TChiken2::Adult;
    hen.age = 300.f; // full size
    hen.setAnimation(TChiken2::AnimWalk);
    hen.update(0.f);
    REQUIRE(hen.getScale().y == 0.3f);
    for (int facing : {1, -1}) {
        hen.facing = facing;
        hen.updateScale(0.f);
        for (sf::Vector2f corner : {sf::Vector2f{yard::left, yard::top}, sf::Vector2f{yard::right, yard::top},
                                    sf::Vector2f{yard::left, yard::bottom}, sf::Vector2f{yard::right, yard::bottom}}) {
            hen.setPosition(corner);
            const sf::FloatRect box = hen.getGlobalBounds();
            CHECK(box.position.x >= 0.f);
            CHECK(box.position.x + box.size.x <= 1920.f);
            CHECK(box.position.y >= 0.f);
            CHECK(box.position.y + box.size.y <= 944.f); // the toolbar's top
        }
    }
}
