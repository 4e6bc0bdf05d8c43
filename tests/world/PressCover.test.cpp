// A press reaches only what the frame shows under the pointer: the open
// window over the field and the HUD, the HUD over the birds and the floor
// eggs, the story messages over everything.
#include "core/Globals.hpp"
#include "eggline/EgglineObjects.hpp"
#include "eggline/TShop.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdlib>
#include <vector>

using namespace eggkit;

namespace {

// A grown hen at full size (scale 0.3): its hit box runs 77 px to each side
// of its feet, 115 above and 38 below.
TChiken2& addHen(TWorld& world, sf::Vector2f feet)
{
    TChiken2& hen = addChicken(world, feet);
    hen.age = 300.f;
    hen.stage = TChiken2::Adult;
    hen.setAnimation(TChiken2::AnimWalk);
    hen.updateScale(0.f);
    hen.setPosition(feet);
    return hen;
}

// The HUD's plates as the art places them (tray, four sockets, three
// counters, inventory bar, the round buttons on the sockets).
struct Plate {
    int id;
    sf::Vector2f at;
};
const std::vector<Plate> hudPlates = {{image::buttonControl, {600.f, 1000.f}}, {image::buttonSort, {682.f, 944.f}},
                                      {image::buttonShop, {828.f, 944.f}},     {image::buttonSound, {974.f, 944.f}},
                                      {image::buttonClean, {1120.f, 944.f}},   {image::frameCountEggs, {735.f, 0.f}},
                                      {image::frameCurCoin, {1718.f, 15.f}},   {image::frameTimer, {29.f, 15.f}},
                                      {image::inventory, {55.f, 870.f}},       {image::circleButton, {682.f, 944.f}},
                                      {image::circleButton, {828.f, 944.f}},   {image::circleButton, {974.f, 944.f}},
                                      {image::circleButton, {1120.f, 944.f}}};

// Whether the picture's own pixels show at the point: read from the image
// itself, for each question anew.
bool inkAt(const sf::Image& image, sf::Vector2f local)
{
    if (!(local.x >= 0.f && local.y >= 0.f && local.x < static_cast<float>(image.getSize().x)
          && local.y < static_cast<float>(image.getSize().y)))
        return false;
    return image.getPixel({static_cast<unsigned>(local.x), static_cast<unsigned>(local.y)}).a > TPressShape::threshold;
}

} // namespace

TEST_CASE("a press goes to what is drawn on top", "[eggline][mouse][cover]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);

    SECTION("with the shop open, an egg on the hidden sorting table does not block the shop's first plus")
    {
        TEgg2& egg = addTableEgg(world, {765.f, 465.f}); // under the plus area 745..785 x 445..485
        clickAt(world, 850.f, 1000.f);
        REQUIRE(world.mode == TWorld::ModeShop);
        clickAt(world, 765.f, 465.f);
        CHECK(quantities[0] == 1);
        dragTo(world, {765.f, 465.f}, {900.f, 600.f});
        CHECK(quantities[0] == 2);
        CHECK(egg.getPosition() == sf::Vector2f(765.f, 465.f)); // the hidden egg never moved
        CHECK(dragKind == TWorld::DragNone);
    }
    SECTION("a hen walking behind the sorting window does not take the egg drag")
    {
        clickAt(world, 738.f, 1000.f);
        REQUIRE(world.mode == TWorld::ModeSorting);
        addTableEgg(world, {900.f, 400.f});
        addHen(world, {900.f, 450.f});
        dragTo(world, {900.f, 400.f}, {638.f, 652.f});
        CHECK(packC0Count == 1);
        CHECK(world.eggsOnTable.empty());
        CHECK(world.vecChikens[0].getPosition() == sf::Vector2f(900.f, 450.f));
        SECTION("nor anything else inside the window's frame; outside it the hen is there to take")
        {
            addHen(world, {1200.f, 600.f});
            clickAt(world, 1200.f, 560.f);
            CHECK(world.vecChikens[1].getState() == TChiken2::Waiting);
            addHen(world, {300.f, 600.f});
            moveTo(world, 300.f, 560.f);
            press(world);
            CHECK(dragKind == TWorld::DragChicken);
            CHECK(world.draggedChicken == 2);
        }
    }
    SECTION("a hen behind the scan button does not swallow the click")
    {
        addHen(world, {738.f, 990.f}); // box 661..815 x 875..1028
        clickAt(world, 738.f, 1000.f);
        CHECK(world.mode == TWorld::ModeSorting);
        CHECK(world.vecChikens[0].getState() == TChiken2::Waiting);
        clickAt(world, 738.f, 1000.f);
        CHECK(world.mode == TWorld::ModeField);
    }
    SECTION("a hen behind a card leaves the card to be taken")
    {
        addHen(world, {1420.f, 950.f});
        moveTo(world, 1420.f, 900.f);
        press(world);
        CHECK(dragKind == TWorld::DragNone);
        CHECK(world.activeTool == TWorld::ToolKurort);
        release(world);
        CHECK(world.activeTool == TWorld::ToolNone);
    }
    SECTION("a floor egg under the inventory bar is not collected, one beside it is")
    {
        addFloorEgg(world, {300.f, 900.f});
        addFloorEgg(world, {600.f, 850.f});
        clickAt(world, 300.f, 900.f);
        CHECK(eggsCollected == 0);
        clickAt(world, 600.f, 850.f);
        CHECK(eggsCollected == 1);
        CHECK(world.eggsOnFloor.size() == 1);
    }
    SECTION("a story message covers the field under it; one due over an open window waits")
    {
        TWorld fresh; // its opening message shows at 295..1625 x 411..711
        addHen(fresh, {900.f, 600.f});
        moveTo(fresh, 900.f, 560.f);
        press(fresh);
        CHECK(dragKind == TWorld::DragNone);
        release(fresh);
        fresh.mode = TWorld::ModeSorting;
        addTableEgg(fresh, {900.f, 450.f});
        moveTo(fresh, 900.f, 450.f);
        press(fresh);
        CHECK(dragKind == TWorld::DragEgg);
        release(fresh);
    }
}

TEST_CASE("a press follows the drawn shape of what covers the field", "[eggline][mouse][cover]")
{
    testsupport::freshGame();
    TWorld world;
    placeHudSprites(world);
    struct Row {
        const char* what;
        float t; // the play time (the second opening message shows 10..15)
        sf::Vector2f p;
        bool henTaken; // else nothing, or the card
        int tool;      // what the press picks up besides
    };
    const Row rows[] = {
        {"a round socket's see-through corner", 20.f, {684.f, 946.f}, true, TWorld::ToolNone},
        {"the egg sign's see-through top, between its ropes", 20.f, {935.f, 20.f}, true, TWorld::ToolNone},
        {"a message's rounded corner", 12.f, {296.f, 412.f}, true, TWorld::ToolNone},
        {"the body of that message", 12.f, {700.f, 600.f}, false, TWorld::ToolNone},
        {"the inventory bar's face", 20.f, {270.f, 950.f}, false, TWorld::ToolNone},
        // The resort card leans 15 degrees back about its middle (1420, 975).
        {"the tilted card's edge, outside its upright rectangle", 20.f, {1323.9f, 886.9f}, false, TWorld::ToolKurort},
        {"inside the card's upright rectangle, beside its turned edge", 20.f, {1500.f, 850.f}, true, TWorld::ToolNone},
    };
    for (const Row& row : rows) {
        DYNAMIC_SECTION(row.what)
        {
            world.storyClock.elapsed = row.t;
            addHen(world, row.p + sf::Vector2f{0.f, 40.f});
            REQUIRE(world.vecChikens[0].contains(row.p.x, row.p.y));
            moveTo(world, row.p.x, row.p.y);
            press(world);
            CHECK((dragKind == TWorld::DragChicken) == row.henTaken);
            CHECK(world.activeTool == row.tool);
            release(world);
        }
    }
}

TEST_CASE("where nothing covers them, every press picks what the designed order picks", "[eggline][mouse][cover]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    // Birds and eggs in the open yard, overlapping each other, and some
    // reaching under the inventory bar, the egg counter, the toolbar and a card.
    for (sf::Vector2f feet : {sf::Vector2f{1000.f, 600.f}, sf::Vector2f{1050.f, 630.f}, sf::Vector2f{300.f, 930.f},
                              sf::Vector2f{960.f, 150.f}, sf::Vector2f{900.f, 960.f}, sf::Vector2f{1500.f, 880.f},
                              sf::Vector2f{1700.f, 300.f}})
        addHen(world, feet);
    for (sf::Vector2f p : {sf::Vector2f{1010.f, 590.f}, sf::Vector2f{400.f, 880.f}, sf::Vector2f{200.f, 500.f},
                           sf::Vector2f{1400.f, 820.f}})
        addFloorEgg(world, p);
    const std::vector<TEgg2> floor = world.eggsOnFloor;
    std::vector<sf::Image> plateImages;
    for (const Plate& plate : hudPlates)
        plateImages.push_back(TTextureStore::instance().getTexture(plate.id).copyToImage());
    const sf::Image cardImage = world.kurortCard.getTexture().copyToImage();

    int mismatches = 0;
    int picked = 0;
    int hidden = 0;
    for (float y = 2.f; y < 1080.f; y += 12.f) {
        for (float x = 2.f; x < 1920.f; x += 12.f) {
            moveTo(world, x, y); // the cards rise under the pointer as they do in play
            // Where a plate's or the card's own pixels show (the card turned).
            bool covered = inkAt(cardImage, world.kurortCard.getInverseTransform().transformPoint({x, y}));
            for (std::size_t k = 0; k < hudPlates.size(); ++k)
                covered = covered || inkAt(plateImages[k], sf::Vector2f{x, y} - hudPlates[k].at);
            // The designed order: the first bird, else the first floor egg.
            int hen = -1;
            int egg = -1;
            for (std::size_t i = 0; i < world.vecChikens.size() && hen < 0; ++i)
                if (world.vecChikens[i].contains(x, y))
                    hen = static_cast<int>(i);
            for (std::size_t i = 0; i < world.eggsOnFloor.size() && hen < 0 && egg < 0; ++i)
                if (world.eggsOnFloor[i].contains(x, y))
                    egg = static_cast<int>(i);
            if (covered && (hen >= 0 || egg >= 0))
                ++hidden;
            if (covered)
                hen = egg = -1;

            const int collectedBefore = eggsCollected;
            std::srand(9);
            press(world);
            const int draws = std::rand();
            bool same = true;
            if (hen >= 0)
                same = dragKind == TWorld::DragChicken && world.draggedChicken == static_cast<std::size_t>(hen);
            else
                same = dragKind != TWorld::DragChicken;
            if (egg >= 0) {
                // Collecting draws y, x and the bad-egg roll before anything else.
                std::srand(9);
                std::rand(), std::rand(), std::rand();
                same = same && eggsCollected == collectedBefore + 1 && world.eggsOnFloor.size() == floor.size() - 1
                       && draws == std::rand();
            } else {
                same = same && eggsCollected == collectedBefore;
            }
            picked += hen >= 0 || egg >= 0 ? 1 : 0;
            mismatches += same ? 0 : 1;
            if (!same)
                UNSCOPED_INFO("press at " << x << ", " << y << " differs");

            release(world);
            world.eggsOnFloor = floor;
            world.eggsOnTable.clear();
            world.mode = TWorld::ModeField;
            world.activeTool = TWorld::ToolNone;
            world.bubbles.clear();
        }
    }
    CHECK(mismatches == 0);
    CHECK(picked > 500); // many presses reached birds and eggs as designed ...
    CHECK(hidden > 100); // ... and many found them under the HUD instead
}
