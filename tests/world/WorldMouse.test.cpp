#include "app/TGame.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "poultry/Yard.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdlib>

using namespace eggkit;

namespace {

// Points on things (hit boxes worked out from positions, origins and image sizes).
const sf::Vector2f scanToggle{700.f, 1000.f};   // sockets 64 / round button 0: 682..795 x 944..1057
const sf::Vector2f shopToggle{850.f, 1000.f};   // socket 68 / round button 1: 828..941
const sf::Vector2f cleanButton{1150.f, 1000.f}; // round button 3: 1120..1233
const sf::Vector2f closeImage{1340.f, 170.f};   // image 69: 1323..1371 x 150..198
const sf::Vector2f startButton{1250.f, 750.f};  // 1222..1335 x 725..838
// Cards at half scale around (179, 270): kurort x 1330.5..1509.5, vet 1480.5..1659.5,
// psychologist 1630.5..1809.5, all y 840..1110.
const sf::Vector2f onKurort{1420.f, 900.f};
const sf::Vector2f onPsychologist{1720.f, 900.f};
const sf::Vector2f onVet{1600.f, 1050.f};

struct Replay {
    int first;
    int second;
};

} // namespace

TEST_CASE("one press picks up at most one thing: chicken, then table egg, then floor egg", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    const sf::Vector2f spot{900.f, 600.f};

    SECTION("a chicken over both eggs is taken, the eggs stay")
    {
        addChicken(world, {500.f, 500.f});
        addChicken(world, spot);
        addChicken(world, spot);
        addTableEgg(world, spot);
        addFloorEgg(world, spot);
        moveTo(world, spot.x, spot.y);
        press(world);
        CHECK(dragKind == TWorld::DragChicken);
        CHECK(world.draggedChicken == 1);
        CHECK(world.draggedChickenPtr() == &world.vecChikens[1]);
        CHECK(world.draggedEgg == TWorld::none);
        CHECK(world.eggsOnFloor.size() == 1);
        CHECK(eggsCollected == 0);
    }
    SECTION("with the sorting window open its first table egg is taken; the floor egg under the window stays")
    {
        world.mode = TWorld::ModeSorting;
        addTableEgg(world, {700.f, 700.f});
        addTableEgg(world, spot);
        addTableEgg(world, spot);
        addFloorEgg(world, spot);
        moveTo(world, spot.x, spot.y);
        press(world);
        CHECK(dragKind == TWorld::DragEgg);
        CHECK(world.draggedEgg == 1);
        CHECK(world.draggedEggPtr() == &world.eggsOnTable[1]);
        CHECK(world.eggsOnFloor.size() == 1);
    }
    SECTION("of two floor eggs only the first is collected")
    {
        addFloorEgg(world, spot);
        addFloorEgg(world, spot + sf::Vector2f{1.f, 0.f});
        moveTo(world, spot.x, spot.y);
        press(world);
        CHECK(dragKind == TWorld::DragNone);
        REQUIRE(world.eggsOnFloor.size() == 1);
        CHECK(world.eggsOnFloor[0].getPosition() == spot + sf::Vector2f{1.f, 0.f});
        CHECK(world.eggsOnTable.size() == 1);
        CHECK(eggsCollected == 1);
    }
    SECTION("a right press picks up nothing")
    {
        addChicken(world, spot);
        addFloorEgg(world, spot);
        moveTo(world, spot.x, spot.y);
        press(world, 1);
        CHECK(dragKind == TWorld::DragNone);
        CHECK(world.draggedChickenPtr() == nullptr);
        CHECK(world.eggsOnFloor.size() == 1);
    }
}

TEST_CASE("a collected floor egg lands on the table at two draws and is bad on the third", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    int bad = 0;
    int good = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        CAPTURE(seed);
        world.eggsOnTable.clear();
        addFloorEgg(world, {300.f, 600.f}).setRotation(sf::degrees(40.f));
        moveTo(world, 300.f, 600.f);
        std::srand(seed);
        press(world);

        std::srand(seed);
        const int y = std::rand() % 210 + 260;
        const int x = std::rand() % 430 + 740;
        const bool defective = std::rand() % 1000 >= 800;
        REQUIRE(world.eggsOnTable.size() == 1);
        CHECK(world.eggsOnFloor.empty());
        const TEgg2& egg = world.eggsOnTable[0];
        CHECK(egg.getPosition() == sf::Vector2f(static_cast<float>(x), static_cast<float>(y)));
        CHECK(egg.defective == defective);
        CHECK(egg.getRotation() == sf::degrees(40.f));
        (defective ? bad : good) += 1;
    }
    CHECK(eggsCollected == 40);
    // Both outcomes occur among the seeds, so the comparison above meant something.
    CHECK(bad > 0);
    CHECK(good > bad);
}

TEST_CASE("presses and releases are judged where the pointer last moved", "[eggline][mouse]")
{
    testsupport::freshGame();
    sf::RenderWindow window(sf::VideoMode({1920, 1000}), "eggline");
    TWorld world;
    pastOpeningStory(world);
    sf::Vector2f mouseLocal{0.f, 0.f};
    const auto send = [&](const sf::Event& event) { TGame::handleEvent(event, window, world, mouseLocal); };
    const sf::Event pressAt900{sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, {900, 600}}};

    SECTION("with no move yet a click counts at (0, 0), not at the event's own place")
    {
        addFloorEgg(world, {900.f, 600.f});
        addFloorEgg(world, {10.f, 15.f}); // its box, 30 x 40 around (15, 20), covers (0, 0)
        send(pressAt900);
        REQUIRE(world.eggsOnFloor.size() == 1);
        CHECK(world.eggsOnFloor[0].getPosition() == sf::Vector2f(900.f, 600.f));
        CHECK(eggsCollected == 1);
    }
    SECTION("after a move the press counts there, and mousePos follows the move")
    {
        addFloorEgg(world, {900.f, 600.f});
        send(sf::Event::MouseMoved{{900, 600}});
        CHECK(mousePos == sf::Vector2f(900.f, 600.f));
        send(sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, {0, 0}});
        CHECK(world.eggsOnFloor.empty());
        CHECK(eggsCollected == 1);
    }
}

TEST_CASE("a dragged chicken or egg follows the pointer by the change since the last move", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);

    SECTION("a chicken keeps its grab offset and is sent to a random yard point when dropped")
    {
        TChiken2& bird = addChicken(world, {900.f, 400.f});
        moveTo(world, 905.f, 410.f);
        press(world);
        moveTo(world, 925.f, 400.f);
        CHECK(world.vecChikens[0].getPosition() == sf::Vector2f(920.f, 390.f));
        moveTo(world, 935.f, 420.f);
        CHECK(world.vecChikens[0].getPosition() == sf::Vector2f(930.f, 410.f));

        SECTION("a right release does not drop it")
        {
            release(world, 1);
            CHECK(dragKind == TWorld::DragChicken);
        }
        std::srand(3);
        release(world);
        std::srand(3);
        const int y = std::rand() % 670 + 430;
        const int x = std::rand() % 1900 + 50;
        CHECK(dragKind == TWorld::DragNone);
        CHECK(world.draggedChicken == TWorld::none);
        CHECK(bird.getState() == TChiken2::Walking);
        CHECK(bird.target == yard::dropTarget(x, y));
        CHECK(bird.getPosition() == sf::Vector2f(930.f, 410.f));
    }
    SECTION("a hidden table egg cannot be taken; on the open window it is dragged and stays where dropped")
    {
        addTableEgg(world, {800.f, 300.f});
        for (int mode : {TWorld::ModeField, TWorld::ModeShop}) {
            world.mode = mode;
            dragTo(world, {805.f, 305.f}, {1005.f, 405.f});
            CHECK(world.eggsOnTable[0].getPosition() == sf::Vector2f(800.f, 300.f));
        }
        world.mode = TWorld::ModeSorting;
        dragTo(world, {805.f, 305.f}, {1005.f, 405.f});
        REQUIRE(world.eggsOnTable.size() == 1);
        CHECK(world.eggsOnTable[0].getPosition() == sf::Vector2f(1000.f, 400.f));
        CHECK(world.draggedEgg == TWorld::none);
        CHECK(dragKind == TWorld::DragNone);
        CHECK(packC0Count == 0);
    }
}

TEST_CASE("a drag holds its chicken or egg while the vectors grow", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);

    SECTION("chickens bought during a drag are placed by the world step")
    {
        chickensToSpawn = 0;
        addChicken(world, {900.f, 700.f});
        moveTo(world, 900.f, 700.f);
        press(world);
        REQUIRE(world.draggedChicken == 0);
        chickensToSpawn = 40;
        world.update(0.01f);
        REQUIRE(world.vecChikens.size() == 41);
        const sf::Vector2f before = world.vecChikens[0].getPosition();
        moveTo(world, 930.f, 690.f);
        CHECK(world.draggedChickenPtr() == &world.vecChikens[0]);
        CHECK(world.vecChikens[0].getPosition() == before + sf::Vector2f(30.f, -10.f));
        release(world);
        CHECK(world.draggedChickenPtr() == nullptr);
    }
    SECTION("eggs added to the table during a drag do not lose the dragged one")
    {
        world.mode = TWorld::ModeSorting;
        addTableEgg(world, {800.f, 300.f});
        moveTo(world, 800.f, 300.f);
        press(world);
        for (int i = 0; i < 50; ++i)
            addTableEgg(world, {1000.f, 300.f});
        moveTo(world, inC0.x, inC0.y);
        release(world);
        CHECK(packC0Count == 1);
        CHECK(world.eggsOnTable.size() == 50);
    }
    SECTION("an index out of range gives no pointer")
    {
        world.draggedChicken = 3;
        world.draggedEgg = 0;
        CHECK(world.draggedChickenPtr() == nullptr);
        CHECK(world.draggedEggPtr() == nullptr);
    }
}

TEST_CASE("packing pays every sixth egg and charges for bad ones", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    openSorting(world);
    const auto pack = [&](sf::Vector2f p, bool defective) { packAt(world, p, defective); };

    SECTION("C0: five pay nothing, the sixth pays 36 and empties it, a seventh starts again")
    {
        for (int i = 0; i < 5; ++i)
            pack(inC0, false);
        CHECK(packC0Count == 5);
        CHECK(coins == 100);
        CHECK(world.eggsOnTable.empty());
        pack(inC0, false);
        CHECK(packC0Count == 0);
        CHECK(coins == 136);
        CHECK(coinsEarned == 36);
        pack(inC0, false);
        CHECK(packC0Count == 1);
        CHECK(packC1Count == 0);
    }
    SECTION("C1: a bad sixth egg nets 30 - 10")
    {
        packC1Count = 5;
        pack(inC1, true);
        CHECK(packC1Count == 0);
        CHECK(coins == 120);
        CHECK(coinsEarned == 30);
    }
    SECTION("a bad egg that closes nothing just costs 10, even below zero")
    {
        coins = 5;
        pack(inC0, true);
        CHECK(packC0Count == 1);
        CHECK(coins == -5);
        CHECK(coinsEarned == 0);
    }
    SECTION("an egg dropped exactly on a package's edge is not packed, and goes back where it was picked up")
    {
        for (sf::Vector2f edge : {sf::Vector2f{583.f, 650.f}, sf::Vector2f{693.f, 650.f}, sf::Vector2f{640.f, 615.f},
                                  sf::Vector2f{640.f, 825.f}}) {
            CAPTURE(edge.x, edge.y);
            world.eggsOnTable.clear();
            pack(edge, true);
            REQUIRE(world.eggsOnTable.size() == 1);
            CHECK(world.eggsOnTable[0].getPosition() == sf::Vector2f(800.f, 300.f));
        }
        CHECK(packC0Count == 0);
        CHECK(packC1Count == 0);
        CHECK(coins == 100);
    }
    SECTION("the egg's own point decides, not the pointer's")
    {
        addTableEgg(world, {800.f, 300.f});
        // Grabbed 10 to the right of its point: the pointer ends inside C0 at x 590, the egg at 580.
        dragTo(world, {810.f, 300.f}, {590.f, 650.f});
        CHECK(packC0Count == 0);
        REQUIRE(world.eggsOnTable.size() == 1);
        CHECK(world.eggsOnTable[0].getPosition() == sf::Vector2f(800.f, 300.f));
    }
}

TEST_CASE("a table egg let go anywhere but on a carton or the table goes back where it was picked up",
          "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    openSorting(world);
    // The table is the machine's board, 648..1261 x 220..520.
    struct Row {
        const char* what;
        sf::Vector2f to;
        sf::Vector2f restsAt;
    };
    const Row rows[] = {
        {"on the table", {1000.f, 450.f}, {1000.f, 450.f}},
        {"on the table's top left corner", {648.f, 220.f}, {648.f, 220.f}},
        {"just past its right edge", {1261.f, 300.f}, {800.f, 300.f}},
        {"just below it", {1000.f, 520.f}, {800.f, 300.f}},
        {"in the yard, outside the window", {1500.f, 700.f}, {800.f, 300.f}},
        {"on the window beside the cartons", {900.f, 700.f}, {800.f, 300.f}},
        {"on the toolbar", {738.f, 1000.f}, {800.f, 300.f}},
    };
    for (const Row& row : rows) {
        DYNAMIC_SECTION(row.what)
        {
            addTableEgg(world, {800.f, 300.f});
            dragTo(world, {800.f, 300.f}, row.to);
            REQUIRE(world.eggsOnTable.size() == 1);
            CHECK(world.eggsOnTable[0].getPosition() == row.restsAt);
            CHECK(world.mode == TWorld::ModeSorting);
            CHECK(packC0Count + packC1Count == 0);
            // And it is there to take again.
            dragTo(world, row.restsAt, inC1);
            CHECK(packC1Count == 1);
            CHECK(world.eggsOnTable.empty());
        }
    }
    SECTION("moved twice, it goes back to where the second drag began")
    {
        addTableEgg(world, {800.f, 300.f});
        dragTo(world, {800.f, 300.f}, {1100.f, 400.f});
        dragTo(world, {1100.f, 400.f}, {1500.f, 700.f});
        CHECK(world.eggsOnTable[0].getPosition() == sf::Vector2f(1100.f, 400.f));
    }
}

TEST_CASE("the sort, shop, close and start controls switch the screen", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    const auto icons = [&] {
        return std::pair{world.toolbarButtons[0]->iconIndex, world.toolbarButtons[1]->iconIndex};
    };
    const auto click = [&](sf::Vector2f p) { clickAt(world, p.x, p.y); };

    click(scanToggle);
    CHECK(world.mode == TWorld::ModeSorting);
    CHECK(icons() == std::pair{1, 0});

    SECTION("start switches the machine on and off")
    {
        click(startButton);
        CHECK(world.mode == TWorld::ModeSortingRunning);
        CHECK(icons() == std::pair{1, 0});
        click(startButton);
        CHECK(world.mode == TWorld::ModeSorting);
    }
    SECTION("close shuts the running window")
    {
        click(startButton);
        click(closeImage);
        CHECK(world.mode == TWorld::ModeField);
        CHECK(icons() == std::pair{0, 0});
    }
    SECTION("the sort toggle shuts it too")
    {
        click(startButton);
        click(scanToggle);
        CHECK(world.mode == TWorld::ModeField);
    }
    SECTION("the shop toggle from the sorting window goes straight to the shop, and back out")
    {
        click(shopToggle);
        CHECK(world.mode == TWorld::ModeShop);
        CHECK(icons() == std::pair{0, 1});
        click(shopToggle);
        CHECK(world.mode == TWorld::ModeField);
        CHECK(icons() == std::pair{0, 0});
    }
    SECTION("from the shop the sort toggle opens the sorting window; close then returns to the field")
    {
        click(shopToggle);
        click(scanToggle);
        CHECK(world.mode == TWorld::ModeSorting);
        click(shopToggle);
        click(closeImage);
        CHECK(world.mode == TWorld::ModeField);
    }
    SECTION("with no window open the close image and start button do nothing")
    {
        click(closeImage);
        CHECK(world.mode == TWorld::ModeField);
        click(startButton);
        CHECK(world.mode == TWorld::ModeField);
    }
    SECTION("the start button is no toggle in the shop")
    {
        click(shopToggle);
        click(startButton);
        CHECK(world.mode == TWorld::ModeShop);
    }
    SECTION("a right click toggles nothing but presses the round button")
    {
        moveTo(world, scanToggle.x, scanToggle.y);
        press(world, 1);
        CHECK(world.mode == TWorld::ModeSorting);
        CHECK(world.toolbarButtons[0]->state == TButton2::Hover);
        press(world, 0);
        CHECK(world.toolbarButtons[0]->state == TButton2::Pressed);
        release(world, 1);
        CHECK(world.toolbarButtons[0]->state == TButton2::Normal);
    }
}

TEST_CASE("the shop gets the pointer only while it is open", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    clickAt(world, 765.f, 465.f); // plus 0 with the shop closed
    CHECK(quantities[0] == 0);
    clickAt(world, shopToggle.x, shopToggle.y);
    clickAt(world, 765.f, 465.f);
    clickAt(world, 765.f, 465.f);
    CHECK(quantities[0] == 2);
    moveTo(world, 1340.f, 170.f);
    CHECK(shop->closeButton->state == TButton2::Hover);
    clickAt(world, 900.f, 830.f); // buy
    CHECK(coins == 80);
    CHECK(inventorySlots[0].count == 2);
    CHECK(inventorySlots[0].label.getString() == "2");
}

TEST_CASE("feed bags refill only their own feeders", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    for (std::size_t k = 0; k < 3; ++k)
        inventorySlots[k].count = 2;
    refreshInventoryTexts();
    // Slot images: 75..137 x 939..997, 145..199 x 929..997, 206..270 x 939..997.
    const sf::Vector2f bags[3] = {{100.f, 960.f}, {170.f, 960.f}, {230.f, 960.f}};
    // Feeders at three quarters scale around (65, 113): feeder 0 covers 51..148 x 190..275,
    // the lower ones 97 wide around x 586, 973.6, 1360.54 and y 653..738.
    const sf::Vector2f feederPoints[4] = {{100.f, 250.f}, {586.f, 720.f}, {973.f, 720.f}, {1360.f, 720.f}};
    const auto useBag = [&](int bag, int feeder) {
        dragTo(world, bags[bag], feederPoints[feeder]);
        CHECK(world.activeTool == TWorld::ToolNone);
    };

    SECTION("the small bag feeds the nursery feeder 10")
    {
        moveTo(world, bags[0].x, bags[0].y);
        press(world);
        CHECK(world.activeTool == 1);
        moveTo(world, feederPoints[0].x, feederPoints[0].y);
        release(world);
        CHECK(world.feeders[0].food == 10.f);
        CHECK(inventorySlots[0].count == 1);
        CHECK(inventorySlots[0].label.getString() == "1");
    }
    SECTION("the small bag on a yard feeder is put back")
    {
        useBag(0, 1);
        CHECK(world.feeders[1].food == 0.f);
        CHECK(inventorySlots[0].count == 2);
    }
    SECTION("the middle bag feeds a yard feeder 30, not the nursery one")
    {
        useBag(1, 2);
        CHECK(world.feeders[2].food == 30.f);
        CHECK(inventorySlots[1].count == 1);
        useBag(1, 0);
        CHECK(world.feeders[0].food == 0.f);
        CHECK(inventorySlots[1].count == 1);
    }
    SECTION("the big bag feeds 60")
    {
        useBag(2, 3);
        CHECK(world.feeders[3].food == 60.f);
        CHECK(world.feeders[1].food == 0.f);
        CHECK(world.feeders[2].food == 0.f);
        CHECK(inventorySlots[2].count == 1);
        CHECK(inventorySlots[2].label.getString() == "1");
    }
    SECTION("released on empty ground a bag goes back")
    {
        useBag(2, 0);
        dragTo(world, bags[2], {1000.f, 500.f});
        CHECK(inventorySlots[2].count == 2);
    }
    SECTION("an empty slot gives no bag")
    {
        inventorySlots[1].count = 0;
        moveTo(world, bags[1].x, bags[1].y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolNone);
    }
    SECTION("no bag is taken while a window is open")
    {
        world.mode = TWorld::ModeSorting;
        moveTo(world, bags[0].x, bags[0].y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolNone);
    }
}

TEST_CASE("the cards follow the pointer and work wherever they are let go", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    chickensToSpawn = 0;
    TChiken2& old1 = addChicken(world, {300.f, 500.f});
    old1.stage = TChiken2::Old;
    addChicken(world, {600.f, 500.f}).stage = TChiken2::Adult;
    addChicken(world, {900.f, 500.f}).stage = TChiken2::Old;

    SECTION("a hovered card rises 20 and sinks back")
    {
        moveTo(world, onKurort.x, onKurort.y);
        CHECK(world.kurortCard.getPosition() == sf::Vector2f(1420.f, 955.f));
        CHECK(world.vetCard.getPosition() == sf::Vector2f(1570.f, 975.f));
        moveTo(world, 1000.f, 500.f);
        CHECK(world.kurortCard.getPosition() == sf::Vector2f(1420.f, 975.f));
    }
    SECTION("the kurort card sends the old birds off at 10 coins each")
    {
        moveTo(world, onKurort.x, onKurort.y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolKurort);
        moveTo(world, 50.f, 60.f);
        CHECK(world.kurortCard.getPosition() == sf::Vector2f(50.f, 60.f));
        release(world);
        CHECK(world.activeTool == TWorld::ToolNone);
        CHECK(world.kurortCard.getPosition() == sf::Vector2f(1420.f, 975.f));
        CHECK(coins == 120);
        CHECK(coinsEarned == 20);
        CHECK(world.coinText.getString() == "120");
        CHECK(world.vecChikens[0].stage == TChiken2::Leaving);
        CHECK(world.vecChikens[1].stage == TChiken2::Adult);
    }
    SECTION("an unpaid psychologist or vet card cannot be picked up")
    {
        moveTo(world, onPsychologist.x, onPsychologist.y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolNone);
        release(world);
        moveTo(world, onVet.x, onVet.y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolNone);
        release(world);
        CHECK(psychologistCount == 0);
        CHECK(vetCount == 0);
        CHECK(world.bubbles.empty());
    }
    SECTION("the psychologist makes the grown birds dance with ten notes over every bird")
    {
        psychologistCount = 2;
        moveTo(world, onPsychologist.x, onPsychologist.y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolPsychologist);
        moveTo(world, 100.f, 100.f);
        std::srand(11);
        release(world);
        std::srand(11);
        const int dy = std::rand() % 100 - 100;
        const int dx = std::rand() % 100 - 50;
        CHECK(psychologistCount == 1);
        CHECK(world.activeTool == TWorld::ToolNone);
        CHECK(world.psychologistCard.getPosition() == sf::Vector2f(1720.f, 975.f));
        CHECK(world.vecChikens[1].getState() == TChiken2::Dancing);
        REQUIRE(world.bubbles.size() == 30);
        CHECK(world.bubbles[0].getPosition() == sf::Vector2f(300.f + dx, 500.f + dy));
        CHECK(&world.bubbles[0].getTexture() == &TTextureStore::instance().getTexture(image::majesticonsMusic));
        CHECK(&world.bubbles[29].getTexture() == &TTextureStore::instance().getTexture(image::majesticonsMusic));
    }
    SECTION("the vet brings its own bubbles and uses one visit")
    {
        vetCount = 1;
        moveTo(world, onVet.x, onVet.y);
        press(world);
        CHECK(world.activeTool == TWorld::ToolVet);
        release(world);
        CHECK(vetCount == 0);
        CHECK(world.vetCard.getPosition() == sf::Vector2f(1570.f, 975.f));
        REQUIRE(world.bubbles.size() == 30);
        CHECK(&world.bubbles[10].getTexture() == &TTextureStore::instance().getTexture(image::bubble2));
        CHECK(coins == 100);
    }
}

TEST_CASE("the clean button wipes the dirt and blows bubbles, emptying them every 101st time", "[eggline][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    TTextureStore& store = TTextureStore::instance();
    world.pollution.assign(3, sf::Sprite(store.getTexture(image::pen1)));
    moveTo(world, cleanButton.x, cleanButton.y);
    std::srand(21);
    press(world);
    std::srand(21);
    const int y = std::rand() % 1000;
    const int x = std::rand() % 2000;
    CHECK(world.pollution.empty());
    CHECK(world.cleanCount == 1);
    REQUIRE(world.bubbles.size() == 100);
    CHECK(world.bubbles[0].getPosition() == sf::Vector2f(static_cast<float>(x), static_cast<float>(y)));
    CHECK(&world.bubbles[0].getTexture() == &store.getTexture(image::bubble));
    release(world);

    for (int i = 2; i <= 100; ++i) {
        press(world);
        release(world);
    }
    CHECK(world.cleanCount == 100);
    CHECK(world.bubbles.size() == 10000);
    press(world);
    CHECK(world.cleanCount == 0);
    CHECK(world.bubbles.size() == 100);
}

TEST_CASE("the music button switches both tracks off and on, its note showing which", "[eggline][mouse][music]")
{
    testsupport::freshGame();
    REQUIRE(musicOn);
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    TButton2& music = *world.toolbarButtons[2];
    const sf::Vector2f onMusic{1030.f, 1000.f}; // round button 2: 974..1087 x 944..1057
    CHECK(music.iconIndex == 0);
    // A plain note while the music plays, a struck-through one while it is
    // off; the button's glow stays for presses.
    CHECK(music.iconTextures[0] == image::iconMusicWhite);
    CHECK(music.iconTextures[1] == image::iconMusicOffWhite);

    // No sound device in the tests: the tracks are not built, the switch still works.
    clickAt(world, onMusic.x, onMusic.y);
    CHECK_FALSE(musicOn);
    CHECK(music.iconIndex == 1);
    CHECK(world.mode == TWorld::ModeField);
    clickAt(world, onMusic.x, onMusic.y);
    CHECK(musicOn);
    CHECK(music.iconIndex == 0);

    SECTION("a right click switches nothing")
    {
        moveTo(world, onMusic.x, onMusic.y);
        press(world, 1);
        release(world, 1);
        CHECK(musicOn);
        CHECK(music.iconIndex == 0);
    }
    SECTION("a game started muted shows the struck-through note from the first frame and plays on the first click")
    {
        musicOn = false;
        startSounds();
        TWorld muted;
        pastOpeningStory(muted);
        CHECK(muted.toolbarButtons[2]->iconIndex == 1);
        clickAt(muted, onMusic.x, onMusic.y);
        CHECK(musicOn);
        CHECK(muted.toolbarButtons[2]->iconIndex == 0);
    }
    SECTION("the M key's path and the pause's hold leave the setting as the button does")
    {
        world.toggleMusic();
        CHECK_FALSE(musicOn);
        CHECK(music.iconIndex == 1);
        holdMusic(true);
        CHECK_FALSE(musicOn);
        holdMusic(false);
        CHECK_FALSE(musicOn);
        world.toggleMusic();
        holdMusic(true);
        CHECK(musicOn); // held, not switched off
        CHECK(music.iconIndex == 0);
        holdMusic(false);
    }
    SECTION("the other buttons leave the music alone")
    {
        for (sf::Vector2f p : {scanToggle, shopToggle, cleanButton, closeImage})
            clickAt(world, p.x, p.y);
        CHECK(musicOn);
        CHECK(music.iconIndex == 0);
    }
}
