// Clicks and drags through the real event path in windows smaller than the
// farm: window pixels go back into scene units and land as at full size.
#include "app/TGame.hpp"
#include "app/TSceneFit.hpp"
#include "app/TStateFile.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <filesystem>

namespace {

class ScaledSession {
public:
    explicit ScaledSession(sf::Vector2u size)
        : window(sf::VideoMode(size), "scaled session")
    {
        window.setView(TSceneFit::view(window.getSize()));
        world.placeSharedSprites();
        world.storyClock.update(20.f); // past the opening story messages
        frame();
    }

    void frame()
    {
        world.update(0.02f);
        window.clear(sf::Color::Black);
        world.draw(window);
    }

    // Where the player points, in window pixels, for a scene point.
    sf::Vector2i pixelOf(sf::Vector2f scene) const
    {
        const sf::Vector2f p = TSceneFit::toWindow(window.getView(), window.getSize(), scene);
        return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    }

    void send(const sf::Event& event) { TGame::handleEvent(event, window, world, mouseLocal); }
    void moveTo(sf::Vector2f scene) { send(sf::Event::MouseMoved{pixelOf(scene)}); }
    void press() { send(sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, {}}); }
    void release() { send(sf::Event::MouseButtonReleased{sf::Mouse::Button::Left, {}}); }
    void click(sf::Vector2f scene)
    {
        moveTo(scene);
        press();
        release();
        frame();
    }

    sf::RenderWindow window;
    TWorld world;
    sf::Vector2f mouseLocal{0.f, 0.f};
};

} // namespace

TEST_CASE("in a smaller window every toolbar button and an egg drag land as at full size", "[fit][session]")
{
    for (sf::Vector2u size : {sf::Vector2u{1280, 720}, sf::Vector2u{1366, 768}}) {
        CAPTURE(size.x, size.y);
        testsupport::freshGame();
        ScaledSession s(size);
        if (s.window.getSize() != size)
            SKIP("the display gave the window another size");
        TWorld& world = s.world;

        s.click({738.f, 1000.f}); // scan
        CHECK(world.mode == TWorld::ModeSorting);
        s.click({738.f, 1000.f});
        CHECK(world.mode == TWorld::ModeField);
        s.click({884.f, 1000.f}); // shop
        CHECK(world.mode == TWorld::ModeShop);
        s.click({1346.f, 173.f}); // the window's close button
        CHECK(world.mode == TWorld::ModeField);
        s.click({1030.f, 1000.f}); // music
        CHECK_FALSE(musicOn);
        s.click({1030.f, 1000.f});
        CHECK(musicOn);
        world.pollution.assign(3, sf::Sprite(TTextureStore::instance().getTexture(image::pollution1)));
        s.click({1176.f, 1000.f}); // clean
        CHECK(world.pollution.empty());
        CHECK(world.cleanCount == 1);

        // An egg on the open sorting table, dragged into carton C0.
        s.click({738.f, 1000.f});
        REQUIRE(world.mode == TWorld::ModeSorting);
        TEgg2 egg = world.eggTemplate;
        egg.setPosition({900.f, 400.f});
        world.eggsOnTable.push_back(egg);
        s.moveTo({900.f, 400.f});
        s.press();
        REQUIRE(dragKind == TWorld::DragEgg);
        s.moveTo({760.f, 520.f});
        s.moveTo({638.f, 652.f});
        s.release();
        CHECK(packC0Count == 1);
        CHECK(world.eggsOnTable.empty());
        // The pointer's scene position is what the title and the held bag use.
        CHECK(std::abs(s.mouseLocal.x - 638.f) <= 1.f);
        CHECK(std::abs(s.mouseLocal.y - 652.f) <= 1.f);
    }
}

TEST_CASE("a resize fits the scene to the new size", "[fit]")
{
    testsupport::freshGame();
    ScaledSession s({1280, 720});
    TGame::handleEvent(sf::Event::Resized{{1000, 1000}}, s.window, s.world, s.mouseLocal);
    const sf::View view = s.window.getView();
    CHECK(view.getSize() == sf::Vector2f(1920.f, 1080.f));
    CHECK(view.getViewport().size.x == 1.f);
    CHECK(std::abs(view.getViewport().size.y - 0.5625f) < 1e-6f);
}

TEST_CASE("the state file tells the game's numbers and eggs, and is replaced whole", "[state]")
{
    testsupport::freshGame();
    TWorld world;
    world.mode = TWorld::ModeShop;
    coins = 87;
    coinsEarned = 36;
    eggsCollected = 7;
    packC0Count = 2;
    packC1Count = 5;
    quantities[0] = 3;
    musicOn = false;
    world.storyClock.update(61.9f);
    TEgg2 egg = world.eggTemplate;
    egg.setPosition({800.4f, 300.6f});
    world.eggsOnTable.push_back(egg);
    egg.setPosition({100.f, 195.f});
    world.eggsOnFloor.push_back(egg);
    world.eggsOnFloor.push_back(egg);
    const std::string text = TStateFile::text(world, 12, false);
    CHECK(text
          == "frame 12\nseconds 61\nmode 3\ncoins 87\nearned 36\ncollected 7\npackages 2 5\norder 3 0 0 0 0 0\n"
             "music off\ncleanings 0\nchickens 0\nfloor 2 100,195 100,195\ntable 1 800,301\npaused 0\n");
    CHECK(TStateFile::text(world, 12, true).ends_with("\npaused 1\n"));

    const std::filesystem::path dir = testsupport::scratchDir("state");
    const std::filesystem::path path = dir / "state.txt";
    REQUIRE(TStateFile::write(path.string(), "first\n"));
    REQUIRE(TStateFile::write(path.string(), text));
    CHECK(testsupport::readFile(path) == text);
    CHECK_FALSE(std::filesystem::exists(dir / "state.txt.part"));
    CHECK_FALSE(TStateFile::write((dir / "missing" / "state.txt").string(), text));
}
