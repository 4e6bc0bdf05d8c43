// A scripted play session through the real event path: synthetic window
// events into TGame::handleEvent, interleaved with world steps and frames.
#include "app/TGame.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <string>

namespace {

class Session {
public:
    Session()
        : window(sf::VideoMode({1920, 1000}), "eggline session")
        , frameTarget({1920, 1080})
    {
        world.placeSharedSprites();
        frame();
    }

    void frame(float dt = 0.05f)
    {
        world.update(dt);
        frameTarget.clear(sf::Color::Black);
        world.draw(frameTarget);
        frameTarget.display();
    }

    void frames(int n)
    {
        for (int i = 0; i < n; ++i)
            frame();
    }

    void send(const sf::Event& event) { TGame::handleEvent(event, window, world, mouseLocal); }

    void moveTo(sf::Vector2i p) { send(sf::Event::MouseMoved{p}); }
    void press() { send(sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, sf::Vector2i(mouseLocal)}); }
    void release() { send(sf::Event::MouseButtonReleased{sf::Mouse::Button::Left, sf::Vector2i(mouseLocal)}); }

    // The player waits until no bird stands and no story message shows where
    // they mean to click.
    void waitClear(sf::Vector2i p)
    {
        const auto covered = [&] {
            if (world.coverAt(static_cast<float>(p.x), static_cast<float>(p.y)) == TWorld::Cover::Story)
                return true;
            for (TChiken2& chicken : world.vecChikens)
                if (chicken.contains(static_cast<float>(p.x), static_cast<float>(p.y)))
                    return true;
            return false;
        };
        for (int i = 0; i < 2000 && covered(); ++i)
            frame();
        REQUIRE_FALSE(covered());
    }

    void click(sf::Vector2i p)
    {
        waitClear(p);
        moveTo(p);
        press();
        release();
        frame();
    }

    void drag(sf::Vector2i from, sf::Vector2i to)
    {
        waitClear(from);
        moveTo(from);
        press();
        moveTo((from + to) / 2);
        moveTo(to);
        release();
        frame();
    }

    // Share of the opaque pixels of a window image that show unchanged in the
    // frame, sampled over the window's header band (screen y 120..200).
    double showsImage(int textureId)
    {
        const sf::Image frameImage = frameTarget.getTexture().copyToImage();
        const sf::Image art = TTextureStore::instance().getTexture(textureId).copyToImage();
        int opaque = 0;
        int same = 0;
        for (unsigned y = 20; y <= 100; y += 10)
            for (unsigned x = 30; x <= 770; x += 20) {
                const sf::Color a = art.getPixel({x, y});
                if (a.a != 255)
                    continue;
                ++opaque;
                if (frameImage.getPixel({530 + x, 100 + y}) == a)
                    ++same;
            }
        REQUIRE(opaque >= 50);
        return static_cast<double>(same) / opaque;
    }

    sf::RenderWindow window;
    sf::RenderTexture frameTarget;
    TWorld world;
    sf::Vector2f mouseLocal{0.f, 0.f};
};

sf::Vector2i rounded(sf::Vector2f p)
{
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

const sf::Vector2i scanToggleAt{700, 1000};
const sf::Vector2i shopToggleAt{850, 1000};
const sf::Vector2i cleanButtonAt{1150, 1000};
const sf::Vector2i closeImageAt{1340, 170};
const sf::Vector2i startButtonAt{1250, 750};
const sf::Vector2i packC0{640, 650};
const sf::Vector2i packC1{640, 790};
const sf::Vector2i buy{900, 830};
const sf::Vector2i tabs[3] = {{480, 400}, {480, 540}, {480, 680}};
const sf::Vector2i plusItem[2] = {{765, 465}, {1005, 465}};
const sf::Vector2i plusItem2{1245, 465};

} // namespace

TEST_CASE("a scripted session: collect, sort and pack eggs, shop, feed, clean and use the cards", "[eggline][session]")
{
    testsupport::freshGame();
    Session s;
    TWorld& world = s.world;
    REQUIRE(world.vecChikens.size() == 5);
    REQUIRE(s.showsImage(63) < 0.5);

    // Twelve eggs laid by the flock through the world step.
    for (int laid = 0; laid < 12;) {
        for (TChiken2& chicken : world.vecChikens)
            if (laid < 12 && !chicken.eggReady) {
                chicken.eggReady = true;
                ++laid;
            }
        s.frame();
    }
    REQUIRE(world.eggsOnFloor.size() == 12);
    s.frames(40);

    // Collect them with clicks; each lands on the sorting table.
    for (int guard = 0; !world.eggsOnFloor.empty() && guard < 100; ++guard)
        s.click(rounded(world.eggsOnFloor.back().getPosition()));
    CHECK(world.eggsOnFloor.empty());
    REQUIRE(world.eggsOnTable.size() == 12);
    CHECK(eggsCollected == 12);
    s.frame();
    CHECK(world.eggCountText.getString() == "12");
    for (const TEgg2& egg : world.eggsOnTable) {
        CHECK(egg.getPosition().x >= 740.f);
        CHECK(egg.getPosition().x <= 1169.f);
        CHECK(egg.getPosition().y >= 260.f);
        CHECK(egg.getPosition().y <= 469.f);
    }

    // Open the sorting window and start the scanner.
    s.click(scanToggleAt);
    CHECK(world.mode == TWorld::ModeSorting);
    CHECK(s.showsImage(63) > 0.9);
    s.click(startButtonAt);
    CHECK(world.mode == TWorld::ModeSortingRunning);
    const float scannerStart = TTextureStore::instance().getSprite(image::sortingMachine2).getPosition().y;
    s.frames(20);
    CHECK(TTextureStore::instance().getSprite(image::sortingMachine2).getPosition().y == scannerStart - 30.f);

    // Pack six eggs into each package, the last egg of the table first.
    int bad = 0;
    for (int n = 0; n < 12; ++n) {
        const sf::Vector2i from = rounded(world.eggsOnTable.back().getPosition());
        s.waitClear(from);
        s.moveTo(from);
        s.press();
        REQUIRE(world.draggedEggPtr() != nullptr);
        // Whatever egg came up, bring its own point into the package.
        const sf::Vector2f grabbed = world.draggedEggPtr()->getPosition();
        bad += world.draggedEggPtr()->defective ? 1 : 0;
        const sf::Vector2i target = n < 6 ? packC0 : packC1;
        s.moveTo(target + (from - rounded(grabbed)));
        s.release();
        s.frame();
    }
    CHECK(world.eggsOnTable.empty());
    CHECK(packC0Count == 0);
    CHECK(packC1Count == 0);
    CHECK(coinsEarned == 66);
    const int afterPacking = 100 + 36 + 30 - 10 * bad;
    CHECK(coins == afterPacking);
    CHECK(world.coinText.getString() == std::to_string(afterPacking));
    REQUIRE(coins >= 103);

    // Straight from the sorting window into the shop.
    s.click(shopToggleAt);
    CHECK(world.mode == TWorld::ModeShop);
    CHECK(s.showsImage(108) > 0.9);
    s.click(plusItem[0]);
    s.click(plusItem[1]);
    s.frame();
    CHECK(shop->totalText.getString() == "60");
    s.click(buy);
    CHECK(inventorySlots[0].count == 1);
    CHECK(inventorySlots[1].count == 1);
    s.click(tabs[1]);
    CHECK(s.showsImage(109) > 0.9);
    s.click(plusItem[0]);
    s.click(buy);
    CHECK(chickensToSpawn == 0); // placed by the frame after the purchase
    CHECK(world.vecChikens.size() == 8);
    s.click(tabs[2]);
    s.click(plusItem[0]);
    s.click(plusItem[1]);
    s.click(plusItem2); // nothing for sale there on this page
    s.click(buy);
    CHECK(psychologistCount == 1);
    CHECK(vetCount == 1);
    const int afterShopping = afterPacking - 60 - 25 - 18;
    CHECK(coins == afterShopping);
    s.click(closeImageAt);
    CHECK(world.mode == TWorld::ModeField);
    CHECK(s.showsImage(108) < 0.5);
    CHECK(s.showsImage(110) < 0.5);

    // Refill the nursery feeder and a yard feeder from the inventory.
    const float nurseryFood = world.feeders[0].food;
    s.drag({100, 960}, {100, 250});
    CHECK(inventorySlots[0].count == 0);
    CHECK(inventorySlots[0].label.getString() == "0");
    CHECK(world.feeders[0].food > nurseryFood);
    const float yardFood = world.feeders[2].food;
    s.drag({170, 960}, {973, 720});
    CHECK(inventorySlots[1].count == 0);
    CHECK(world.feeders[2].food > yardFood);

    // Clean the pen.
    world.pollution.assign(4, sf::Sprite(TTextureStore::instance().getTexture(image::pollution1)));
    const std::size_t bubblesBefore = world.bubbles.size();
    s.waitClear(cleanButtonAt);
    s.moveTo(cleanButtonAt);
    s.press();
    CHECK(world.pollution.empty());
    CHECK(world.bubbles.size() == bubblesBefore + 100);
    CHECK(world.cleanCount == 1);
    s.release();
    s.frame();

    // The cards: the psychologist and the vet each use their one visit; the
    // kurort finds no old bird yet and earns nothing.
    const std::size_t flock = world.vecChikens.size();
    const std::size_t before = world.bubbles.size();
    s.waitClear({1720, 900});
    s.moveTo({1720, 900});
    s.press();
    s.moveTo({1000, 600});
    CHECK(world.psychologistCard.getPosition() == sf::Vector2f(1000.f, 600.f));
    s.release();
    CHECK(psychologistCount == 0);
    CHECK(world.bubbles.size() == before + 10 * flock);
    s.frame();
    s.drag({1600, 1050}, {700, 600});
    CHECK(vetCount == 0);
    s.drag({1420, 900}, {700, 600});
    CHECK(coins == afterShopping);
    CHECK(world.activeTool == TWorld::ToolNone);
    CHECK(world.kurortCard.getPosition() == sf::Vector2f(1420.f, 975.f));

    s.frames(5);
    CHECK(world.coinText.getString() == std::to_string(afterShopping));
    CHECK(world.eggCountText.getString() == "12");
    CHECK(world.mode == TWorld::ModeField);
}
