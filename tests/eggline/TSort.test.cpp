#include "eggline/TSort.hpp"
#include "core/TTextureStore.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

namespace {

sf::Sprite& scanner() { return TTextureStore::instance().getSprite(image::sortingMachine2); }

} // namespace

TEST_CASE("the sorting window is built with its two buttons", "[eggline][sort]")
{
    testsupport::freshGame();
    TSort& sort = *sortMachine;
    CHECK(sort.getPosition() == sf::Vector2f(530.f, 100.f));
    CHECK(&sort.getTexture() == &TTextureStore::instance().getTexture(image::winSort));
    CHECK(sort.scanningUp);
    CHECK(sort.closeButton->getPosition() == sf::Vector2f(1323.f, 150.f));
    CHECK(sort.closeButton->stateTextures[3] == 125);
    CHECK(sort.startButton->getPosition() == sf::Vector2f(1222.f, 725.f));
    CHECK(sort.startButton->iconIndex == 0);
    CHECK(sort.startButton->iconTextures[0] == 150);
    CHECK(sort.startButton->iconOffsets[0] == sf::Vector2f(56.5f, 56.5f));
}

TEST_CASE("the scanner sweeps at 30 pixels a second and turns past its bounds", "[eggline][sort]")
{
    testsupport::freshGame();
    TSort& sort = *sortMachine;
    scanner().setPosition({627.f, 285.f});

    SECTION("upward first, turning only once below 220")
    {
        for (int i = 0; i < 4; ++i)
            sort.update(0.5f); // 285 - 4 x 15
        CHECK(scanner().getPosition().y == 225.f);
        CHECK(sort.scanningUp);
        sort.update(0.5f);
        CHECK(scanner().getPosition().y == 210.f);
        CHECK_FALSE(sort.scanningUp);

        SECTION("then downward; 375 itself does not turn it, 390 does")
        {
            for (int i = 0; i < 11; ++i)
                sort.update(0.5f);
            CHECK(scanner().getPosition().y == 375.f);
            CHECK_FALSE(sort.scanningUp);
            sort.update(0.5f);
            CHECK(scanner().getPosition().y == 390.f);
            CHECK(sort.scanningUp);
            CHECK(scanner().getPosition().x == 627.f);
        }
    }
    SECTION("a long frame carries it a whole step beyond the bound")
    {
        sort.update(3.f);
        CHECK(scanner().getPosition().y == 195.f);
        CHECK_FALSE(sort.scanningUp);
        sort.update(10.f);
        CHECK(scanner().getPosition().y == 495.f);
        CHECK(sort.scanningUp);
    }
}

TEST_CASE("the scanner rectangle is its place truncated and its image's size", "[eggline][sort]")
{
    testsupport::freshGame();
    const sf::Vector2u size = TTextureStore::instance().getTexture(image::sortingMachine2).getSize();
    scanner().setPosition({627.f, 284.75f});
    const sf::IntRect rect = TSort::scannerRect();
    CHECK(rect.position == sf::Vector2i(627, 284));
    CHECK(rect.size == sf::Vector2i(size));
}

TEST_CASE("the scanner moves only while the machine runs", "[eggline][sort]")
{
    testsupport::freshGame();
    TWorld world;
    eggkit::placeHudSprites(world);

    SECTION("mode 1: still")
    {
        world.mode = TWorld::ModeSorting;
        world.update(1.f);
        CHECK(scanner().getPosition() == sf::Vector2f(627.f, 285.f));
    }
    SECTION("mode 2: a second moves it 30 up")
    {
        world.mode = TWorld::ModeSortingRunning;
        world.update(1.f);
        CHECK(scanner().getPosition() == sf::Vector2f(627.f, 255.f));
    }
}

TEST_CASE("the window draws its machine and packages at their places", "[eggline][sort]")
{
    testsupport::freshGame();
    TTextureStore& store = TTextureStore::instance();
    for (int id : {image::buttonClose, image::sortingMachine1, image::eggPackagingC0, image::eggPackagingC1,
                   image::circleButton, image::start})
        store.getSprite(id).setPosition({0.f, 0.f});
    sf::RenderTexture target({1920, 1080});
    sortMachine->draw(target);
    CHECK(store.getSprite(image::buttonClose).getPosition() == sf::Vector2f(1323.f, 150.f));
    CHECK(store.getSprite(image::circleButton).getPosition() == sf::Vector2f(1222.f, 725.f));
    CHECK(store.getSprite(image::start).getPosition() == sf::Vector2f(1278.5f, 781.5f));
    CHECK(store.getSprite(image::sortingMachine1).getPosition() == sf::Vector2f(648.f, 220.f));
    CHECK(store.getSprite(image::eggPackagingC0).getPosition() == sf::Vector2f(575.f, 595.f));
    CHECK(store.getSprite(image::eggPackagingC1).getPosition() == sf::Vector2f(575.f, 730.f));
}

TEST_CASE("the window passes the pointer to its close and start buttons", "[eggline][sort]")
{
    testsupport::freshGame();
    TSort& sort = *sortMachine;
    sort.onHover(1250.f, 750.f);
    CHECK(sort.startButton->state == TButton2::Hover);
    sort.onPress(0, 1340.f, 170.f);
    CHECK(sort.closeButton->state == TButton2::Pressed);
    CHECK(sort.startButton->state == TButton2::Hover);
    sort.onRelease(0, 1340.f, 170.f);
    CHECK(sort.closeButton->state == TButton2::Normal);
    CHECK(sort.startButton->state == TButton2::Normal);
}

TEST_CASE("table eggs are marked only in mode 2 and only strictly inside the scanner", "[eggline][sort]")
{
    testsupport::freshGame();
    TWorld world;
    eggkit::placeHudSprites(world);
    world.update(0.f); // places the starting chickens, away from the table
    const sf::IntRect scan = TSort::scannerRect();
    REQUIRE(scan.position == sf::Vector2i(627, 285));
    const sf::Vector2f inside{900.f, static_cast<float>(scan.position.y) + 40.f};
    const sf::Vector2f onEdge{1000.f, static_cast<float>(scan.position.y)};
    sf::RenderTexture target({1920, 1080});

    // The 40 x 46 patch around an egg (its image reaches 15 left and 20 up of its point).
    const auto patch = [&](int mode, sf::Vector2f at, bool defective) {
        world.eggsOnTable.clear();
        eggkit::addTableEgg(world, at, defective);
        world.mode = mode;
        target.clear(sf::Color::Black);
        world.draw(target);
        target.display();
        const sf::Image frame = target.getTexture().copyToImage();
        sf::Image out({40, 46});
        REQUIRE(out.copy(frame, {0, 0}, sf::IntRect({int(at.x) - 20, int(at.y) - 23}, {40, 46})));
        return out;
    };
    const auto same = [](const sf::Image& a, const sf::Image& b) {
        for (unsigned y = 0; y < 46; ++y)
            for (unsigned x = 0; x < 40; ++x)
                if (a.getPixel({x, y}) != b.getPixel({x, y}))
                    return false;
        return true;
    };

    SECTION("inside, mode 2 marks the egg, red and green differing; mode 1 does not")
    {
        const sf::Image plain = patch(TWorld::ModeSorting, inside, true);
        const sf::Image red = patch(TWorld::ModeSortingRunning, inside, true);
        const sf::Image green = patch(TWorld::ModeSortingRunning, inside, false);
        CHECK(same(plain, patch(TWorld::ModeSorting, inside, false)));
        CHECK_FALSE(same(plain, red));
        CHECK_FALSE(same(plain, green));
        CHECK_FALSE(same(red, green));
    }
    SECTION("on the scanner's top edge the egg stays plain")
    {
        CHECK(same(patch(TWorld::ModeSorting, onEdge, true), patch(TWorld::ModeSortingRunning, onEdge, true)));
    }
}
