// The story messages wait for an open window: one falling due while the
// sorting window or the shop is open shows once it closes, for its whole
// time, and never takes a press meant for the window.
#include "core/Globals.hpp"
#include "eggline/TShop.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <catch2/catch_test_macros.hpp>

#include <string>
#include <vector>

using namespace eggkit;

namespace {

// The ids of the story pictures the frame shows now.
std::vector<int> shownIds(const TWorld& world)
{
    std::vector<int> ids;
    for (const TWorld::StoryMessage& message : TWorld::storyMessages())
        if (world.storyShows(message))
            ids.push_back(message.id);
    return ids;
}

// Steps the world in steps of 0.1 s up to the play time `until`.
void playUntil(TWorld& world, float until)
{
    while (world.storyClock.getElapsed() < until - 0.05f)
        world.update(0.1f);
}

using Ids = std::vector<int>;

} // namespace

TEST_CASE("with no window open the story keeps the designed times", "[world][story]")
{
    testsupport::freshGame();
    TWorld world;
    struct Row {
        float t;
        Ids shown;
    };
    // Play times and what shows, all bounds strict.
    const Row rows[] = {{0.f, {image::ortomyk}},
                        {4.9f, {image::ortomyk}},
                        {5.f, {}},
                        {10.f, {}},
                        {10.1f, {image::plimsa}},
                        {15.f, {}},
                        {360.5f, {image::scene11msg1}},
                        {370.f, {}},
                        {375.5f, {image::scene11msg2}},
                        {385.f, {}},
                        {385.5f, {image::quest1}}};
    for (const Row& row : rows) {
        world.storyClock.elapsed = row.t;
        INFO("play time " << row.t);
        CHECK(shownIds(world) == row.shown);
    }
    // The quest's closing messages, over the panel's place.
    world.storyClock.elapsed = 400.f;
    showMessage3 = true;
    questComplete = true;
    CHECK(shownIds(world) == Ids{image::scene11msg3});
    CHECK(world.storyHeld == 0.f);
}

TEST_CASE("a message falling due while a window is open waits for it to close", "[world][story]")
{
    testsupport::freshGame();
    TWorld world;
    placeHudSprites(world);
    struct Row {
        const char* what;
        int window;      // the mode opened
        float opened;    // play time the window opens
        float closed;    // and closes
        int message;     // the message waiting
        float remaining; // the seconds it shows once the window is closed
    };
    const Row rows[] = {
        {"the sorter open before the second opening message", TWorld::ModeSorting, 8.f, 30.f, image::plimsa, 5.f},
        {"the shop open before the second opening message", TWorld::ModeShop, 8.f, 30.f, image::plimsa, 5.f},
        {"the shop opened in the middle of it", TWorld::ModeShop, 12.f, 30.f, image::plimsa, 3.f},
        {"the running scanner over the first of the sixth minute", TWorld::ModeSortingRunning, 350.f, 400.f,
         image::scene11msg1, 10.f},
        {"the sorter open over the very first", TWorld::ModeSorting, 0.f, 9.f, image::ortomyk, 5.f},
    };
    for (const Row& row : rows) {
        DYNAMIC_SECTION(row.what)
        {
            playUntil(world, row.opened);
            world.mode = row.window;
            playUntil(world, row.closed);
            // Nothing of the story over the window, and the play time went on.
            CHECK(shownIds(world).empty());
            CHECK(world.storyClock.getElapsed() > row.closed - 0.1f);
            world.mode = TWorld::ModeField;
            world.update(0.1f);
            CHECK(shownIds(world) == Ids{row.message});
            // Shown for what was left of it, then gone.
            playUntil(world, row.closed + row.remaining - 0.2f);
            CHECK(shownIds(world) == Ids{row.message});
            playUntil(world, row.closed + row.remaining + 0.3f);
            CHECK(shownIds(world) != Ids{row.message});
        }
    }
}

TEST_CASE("the story held back is the same story later, the quest panel after its message", "[world][story]")
{
    testsupport::freshGame();
    TWorld world;
    playUntil(world, 370.f);
    world.mode = TWorld::ModeShop;
    playUntil(world, 500.f); // the second message fell due at 375
    CHECK(world.storyHeld > 124.f);
    CHECK(world.storyHeld < 126.f);
    CHECK(shownIds(world).empty()); // no panel before its message
    world.mode = TWorld::ModeField;
    world.update(0.1f);
    CHECK(shownIds(world) == Ids{image::scene11msg2});
    playUntil(world, 511.f);
    CHECK(shownIds(world) == Ids{image::quest1});
}

TEST_CASE("the quest's closing messages wait for a window too", "[world][story]")
{
    testsupport::freshGame();
    TWorld world;
    world.storyClock.elapsed = 400.f;
    coinsEarned = 1000;
    world.mode = TWorld::ModeSorting;
    for (int k = 0; k < 300; ++k)
        world.update(0.1f);
    CHECK(questComplete);
    CHECK(showMessage3);
    CHECK(world.messageTimer.getElapsed() == 0.f);
    CHECK(shownIds(world).empty());
    world.mode = TWorld::ModeField;
    for (int k = 0; k < 50; ++k)
        world.update(0.1f);
    CHECK(shownIds(world) == Ids{image::scene11msg3});
    world.mode = TWorld::ModeShop; // opened in the middle of it: hidden, its time held
    const float held = world.messageTimer.getElapsed();
    for (int k = 0; k < 100; ++k)
        world.update(0.1f);
    CHECK(world.messageTimer.getElapsed() == held);
    CHECK(shownIds(world).empty());
    world.mode = TWorld::ModeField;
    for (int k = 0; k < 52; ++k)
        world.update(0.1f);
    CHECK(shownIds(world) == Ids{image::scene11msg4});
    for (int k = 0; k < 100; ++k)
        world.update(0.1f);
    CHECK(shownIds(world).empty());
    CHECK(messagesDone);
}

TEST_CASE("a press where a held message would be reaches the open window", "[world][story][mouse]")
{
    testsupport::freshGame();
    TWorld world;
    placeHudSprites(world);
    playUntil(world, 8.f);
    clickAt(world, 884.f, 1000.f); // the shop button
    REQUIRE(world.mode == TWorld::ModeShop);
    playUntil(world, 12.f); // the second message (295..1625 x 411..711) is due
    CHECK(world.coverAt(765.f, 465.f) == TWorld::Cover::Window);
    clickAt(world, 765.f, 465.f); // the first plus, under the message's place
    CHECK(quantities[0] == 1);
    CHECK(world.mode == TWorld::ModeShop);
    clickAt(world, 1346.f, 173.f); // the close button
    CHECK(world.mode == TWorld::ModeField);
    world.update(0.1f);
    // Now it shows, over the field, and takes the press itself.
    CHECK(world.coverAt(765.f, 465.f) == TWorld::Cover::Story);
    addFloorEgg(world, {765.f, 465.f});
    clickAt(world, 765.f, 465.f);
    CHECK(eggsCollected == 0);
}

TEST_CASE("a save keeps the story's wait, and lets go of a table egg where it comes to rest", "[world][story][save]")
{
    testsupport::freshGame();
    TWorld world;
    placeHudSprites(world);
    world.mode = TWorld::ModeSorting;
    playUntil(world, 30.f); // the opening messages wait: both still to come
    addTableEgg(world, {800.f, 300.f});
    addTableEgg(world, {900.f, 300.f});
    moveTo(world, 900.f, 300.f);
    press(world);
    moveTo(world, 1500.f, 700.f); // held over the yard as the farm is saved

    std::string problem;
    const auto farm = TFarmSave::fromJson(TFarmSave::toJson(TFarmSave::capture(world)), problem);
    REQUIRE(farm);
    CHECK(farm->storyHeld == world.storyHeld);
    CHECK(farm->storyHeld > 29.f);
    REQUIRE(farm->eggsOnTable.size() == 2);
    CHECK(farm->eggsOnTable[1].position == sf::Vector2f(900.f, 300.f));
    // Saved mid-drag over the table, it stays where it was held.
    moveTo(world, 1000.f, 450.f);
    CHECK(TFarmSave::capture(world).eggsOnTable[1].position == sf::Vector2f(1000.f, 450.f));
    release(world);

    // A save from before the wait was kept (format 1) reads as no wait; one
    // of format 2 without it, or with one beyond the play time, is refused.
    std::string text = TFarmSave::toJson(TFarmSave::capture(world));
    const std::string key = ",\"storyHeld\":";
    const std::size_t at = text.find(key);
    REQUIRE(at != std::string::npos);
    const std::size_t end = text.find_first_of(",}", at + key.size());
    std::string older = text;
    older.erase(at, end - at);
    CHECK_FALSE(TFarmSave::fromJson(older, problem));
    CHECK(problem.find("storyHeld") != std::string::npos);
    const std::string format = "\"format\":2";
    REQUIRE(older.find(format) != std::string::npos);
    older.replace(older.find(format), format.size(), "\"format\":1");
    const auto old = TFarmSave::fromJson(older, problem);
    INFO(problem);
    REQUIRE(old);
    CHECK(old->storyHeld == 0.f);
    std::string beyond = text;
    beyond.replace(at + key.size(), end - at - key.size(), "1e9");
    CHECK_FALSE(TFarmSave::fromJson(beyond, problem));
    CHECK(problem.find("storyHeld") != std::string::npos);
}
