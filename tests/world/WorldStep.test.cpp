#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/TWorld.hpp"

#include <catch2/catch_approx.hpp>
#include <catch2/catch_test_macros.hpp>

#include <cstdlib>

using Catch::Approx;

namespace {

// A world with no chickens waiting to be placed and one bird at `where`,
// content (both needs at 0.9) and standing still.
TChiken2& onlyChicken(TWorld& world, sf::Vector2f where)
{
    chickensToSpawn = 0;
    world.spawnChicken(where.x, where.y);
    TChiken2& c = world.vecChikens.back();
    c.satiety = 0.9f;
    c.hydration = 0.9f;
    return c;
}

} // namespace

TEST_CASE("the first world step places the waiting chickens in the nursery", "[world]")
{
    testsupport::freshGame();
    TWorld world;
    REQUIRE(world.vecChikens.empty());

    SECTION("the five starting chickens land in x 20..459, y 135..334")
    {
        REQUIRE(chickensToSpawn == 5);
        world.update(0.f);
        REQUIRE(world.vecChikens.size() == 5);
        CHECK(chickensToSpawn == 0);
        for (TChiken2& c : world.vecChikens) {
            CHECK(c.getPosition().x >= 20.f);
            CHECK(c.getPosition().x <= 459.f);
            CHECK(c.getPosition().y >= 135.f);
            CHECK(c.getPosition().y <= 334.f);
        }
        world.update(0.f);
        CHECK(world.vecChikens.size() == 5);
    }
    SECTION("three waiting chickens: y, x, satiety, hydration drawn per bird, template's laying period")
    {
        chickensToSpawn = 3;
        std::srand(21);
        int expected[3][4];
        for (auto& bird : expected)
            for (int& draw : bird)
                draw = std::rand();
        std::srand(21);
        world.update(0.f);
        REQUIRE(world.vecChikens.size() == 3);
        CHECK(chickensToSpawn == 0);
        for (int i = 0; i < 3; ++i) {
            const TChiken2& c = world.vecChikens[static_cast<std::size_t>(i)];
            CHECK(c.getPosition().y == static_cast<float>(expected[i][0] % 200 + 135));
            CHECK(c.getPosition().x == static_cast<float>(expected[i][1] % 440 + 20));
            CHECK(c.getSatiety() == static_cast<float>(expected[i][2] % 50 + 50) / 100.f);
            CHECK(c.getHydration() == static_cast<float>(expected[i][3] % 50 + 50) / 100.f);
            CHECK(c.age == 0.f);
            CHECK(c.layTimer.getPeriod() == world.chickenTemplate.layTimer.getPeriod());
            CHECK(c.getOrigin() == sf::Vector2f{65.f, 100.f});
        }
    }
}

TEST_CASE("the flock loop sends thirsty birds to a bowl before hungry ones to a feeder", "[world]")
{
    testsupport::freshGame();
    TWorld world;

    SECTION("a thirsty and hungry bird goes to drink 32 px below bowl 1")
    {
        TChiken2& c = onlyChicken(world, {694.f, 600.f});
        c.hydration = 0.3f;
        c.satiety = 0.3f;
        world.updateFlock(0.f);
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.getNextState() == TChiken2::Drinking);
        CHECK(c.target.x == Approx(694.f));
        CHECK(c.target.y == Approx(491.f));
    }
    SECTION("a laying bird with both needs empty is never sent away")
    {
        TChiken2& c = onlyChicken(world, {900.f, 220.f});
        c.hydration = 0.f;
        c.satiety = 0.f;
        c.state = TChiken2::Laying;
        c.target = {900.f, 220.f};
        world.updateFlock(0.f);
        CHECK(c.getState() == TChiken2::Laying);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(c.target == sf::Vector2f{900.f, 220.f});
    }
    SECTION("a bird on its way to the nest keeps going")
    {
        TChiken2& c = onlyChicken(world, {900.f, 600.f});
        c.goTo({1000.f, 220.f}, "behavior");
        c.setNextState(TChiken2::Laying);
        c.hydration = 0.1f;
        world.updateFlock(0.f);
        CHECK(c.getNextState() == TChiken2::Laying);
        CHECK(c.target == sf::Vector2f{1000.f, 220.f});
    }
    SECTION("a bird as far from bowls 1 and 2 stays and drinks where it stands")
    {
        TChiken2& c = onlyChicken(world, {889.f, 600.f});
        c.hydration = 0.3f;
        world.updateFlock(0.f);
        CHECK(c.getNextState() == TChiken2::Drinking);
        CHECK(c.velocity == sf::Vector2f{0.f, 0.f});
        world.updateFlock(0.1f);
        CHECK(c.getState() == TChiken2::Drinking);
        CHECK(c.getPosition() == sf::Vector2f{889.f, 600.f});
    }
    SECTION("a dancing bird gives way to thirst")
    {
        TChiken2& c = onlyChicken(world, {694.f, 600.f});
        c.stage = TChiken2::Adult;
        REQUIRE(c.command("dance"));
        c.hydration = 0.4f;
        world.updateFlock(0.f);
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.getNextState() == TChiken2::Drinking);
    }
}

TEST_CASE("a hungry bird only ever tries its nearest feeder, and only while it holds food", "[world]")
{
    testsupport::freshGame();
    TWorld world;
    TChiken2& c = onlyChicken(world, {586.f, 800.f});
    c.satiety = 0.3f;
    world.feeders[2].addFood(10.f);

    SECTION("its empty nearest feeder keeps it home, though feeder 2 has food")
    {
        world.updateFlock(0.f);
        CHECK(c.getState() == TChiken2::Waiting);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(c.feeder == nullptr);
        CHECK(c.getPosition() == sf::Vector2f{586.f, 800.f});
    }
    SECTION("once feeder 1 is stocked it walks to 32 px below it and eats from it")
    {
        world.feeders[1].addFood(5.f);
        world.updateFlock(0.f);
        CHECK(c.getNextState() == TChiken2::Eating);
        CHECK(c.feeder == &world.feeders[1]);
        CHECK(c.target.x == Approx(586.f));
        CHECK(c.target.y == Approx(770.f));
        // 30 px at 200 px/s: there within 0.15 s.
        world.updateFlock(0.1f);
        world.updateFlock(0.1f);
        CHECK(c.getState() == TChiken2::Eating);
        world.updateFlock(1.f);
        CHECK(world.feeders[1].getFood() == Approx(4.9f));
    }
    SECTION("a bird standing on a stocked feeder aims at the feeder's own position")
    {
        c.setPosition(world.feeders[1].getPosition());
        world.feeders[1].addFood(5.f);
        world.updateFlock(0.f);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(c.feeder == &world.feeders[1]);
    }
}

TEST_CASE("a ready egg is laid 25 px above its hen with a rotation drawn from rand()", "[world]")
{
    testsupport::freshGame();
    TWorld world;
    TChiken2& hen = onlyChicken(world, {800.f, 220.f});
    hen.stage = TChiken2::Adult;
    hen.eggUrge = 1.f;
    hen.state = TChiken2::Laying;
    hen.layTimer.elapsed = hen.layTimer.getPeriod() - 0.05f;
    hen.hydration = 0.1f; // thirsty, but the egg comes first this frame

    std::srand(42);
    const int rotation = std::rand() % 360;
    std::srand(42);
    world.updateFlock(0.1f);

    REQUIRE(world.eggsOnFloor.size() == 1);
    const TEgg2& egg = world.eggsOnFloor.front();
    CHECK(egg.getPosition() == sf::Vector2f{800.f, 195.f});
    CHECK(egg.getRotation().asDegrees() == Approx(static_cast<float>(rotation)));
    CHECK_FALSE(hen.eggReady);
    CHECK(hen.eggUrge == 0.f);
    CHECK(hen.getState() == TChiken2::Waiting);
    CHECK(hen.getNextState() == TChiken2::Waiting);

    SECTION("the thirst is dealt with on the next frame")
    {
        world.updateFlock(0.f);
        CHECK(hen.getNextState() == TChiken2::Drinking);
        CHECK(world.eggsOnFloor.size() == 1);
    }
}

TEST_CASE("dirt starts after 120 s of play, one spot per 5 s", "[world]")
{
    testsupport::freshGame();
    TWorld world;

    SECTION("at 120 s or less no dirt and the dirt timer does not run")
    {
        world.storyClock.elapsed = 120.f;
        world.spawnPollution(10.f);
        CHECK(world.pollution.empty());
        CHECK(world.pollutionTimer.getElapsed() == 0.f);
    }
    SECTION("past 120 s: a spot after 5 s with texture, y and x drawn in that order")
    {
        world.storyClock.elapsed = 120.5f;
        world.spawnPollution(2.5f);
        CHECK(world.pollution.empty());
        std::srand(3);
        const int id = std::rand() % 5 + 154;
        const int y = std::rand() % 1000;
        const int x = std::rand() % 1900;
        std::srand(3);
        world.spawnPollution(2.5f);
        REQUIRE(world.pollution.size() == 1);
        CHECK(&world.pollution[0].getTexture() == &TTextureStore::instance().getTexture(id));
        CHECK(world.pollution[0].getPosition() == sf::Vector2f{static_cast<float>(x), static_cast<float>(y)});
    }
    SECTION("a 12 s frame still adds one spot")
    {
        world.storyClock.elapsed = 200.f;
        world.spawnPollution(12.f);
        CHECK(world.pollution.size() == 1);
    }
    SECTION("the world step counts play time before it looks at the dirt")
    {
        world.storyClock.elapsed = 119.f;
        world.pollutionTimer.elapsed = 4.f;
        world.update(1.5f);
        CHECK(world.storyClock.getElapsed() == 120.5f);
        CHECK(world.pollution.size() == 1);
    }
}

TEST_CASE("the day clock runs 24 game minutes per second and wraps at midnight", "[world]")
{
    testsupport::freshGame();
    TWorld world;

    SECTION("half a second after 0:00 is 00:12")
    {
        world.updateClock(0.5f);
        CHECK(world.timeText.getString() == "00:12");
        CHECK(world.coinText.getString() == "100");
        CHECK(world.eggCountText.getString() == "0");
    }
    SECTION("one game second before midnight plus a real second shows 00:23")
    {
        world.dayTime = 86399.f;
        world.updateClock(1.f);
        CHECK(world.dayTime == 1439.f);
        CHECK(world.timeText.getString() == "00:23");
    }
    SECTION("13:05 has no padding on the hours and one on the minutes")
    {
        world.dayTime = 13.f * 3600.f + 5.f * 60.f;
        coins = 250;
        eggsCollected = 7;
        world.updateClock(0.f);
        CHECK(world.timeText.getString() == "13:05");
        CHECK(world.coinText.getString() == "250");
        CHECK(world.eggCountText.getString() == "7");
    }
}

TEST_CASE("the world step updates feeders and bubbles", "[world]")
{
    testsupport::freshGame();
    TWorld world;
    chickensToSpawn = 0;

    SECTION("empty feeders turn to the empty picture on the first step")
    {
        world.feeders[3].addFood(1.f);
        world.update(0.1f);
        CHECK(&world.feeders[0].getTexture() == &TTextureStore::instance().getTexture(image::emptyFeeding));
        CHECK(&world.feeders[3].getTexture() == &TTextureStore::instance().getTexture(image::feeding));
    }
    SECTION("live bubbles rise; dead ones leave the vector")
    {
        world.bubbles.emplace_back();
        world.bubbles.back().spawn(500.f, 500.f);
        world.bubbles.emplace_back();
        world.bubbles.back().spawn(500.f, -49.f);
        world.update(0.1f);
        REQUIRE(world.bubbles.size() == 1);
        CHECK(world.bubbles[0].getPosition().y < 500.f);
        CHECK(world.bubbles[0].alive);
    }
}
