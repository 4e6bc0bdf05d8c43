#include "poultry/TChiken2.hpp"
#include "core/TTextureStore.hpp"
#include "poultry/TFeeding.hpp"
#include "poultry/Yard.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <catch2/catch_approx.hpp>
#include <catch2/catch_test_macros.hpp>

#include <cstdlib>

using Catch::Approx;

namespace {

sf::IntRect cell(int left, int top) { return sf::IntRect({left * 512, top * 512}, {512, 512}); }

// A grown bird on the walk sheet, standing still.
TChiken2 adultAt(sf::Vector2f position)
{
    TChiken2 c;
    c.stage = TChiken2::Adult;
    c.setAnimation(TChiken2::AnimWalk);
    c.setPosition(position);
    return c;
}

} // namespace

TEST_CASE("a new chicken draws satiety, hydration and laying period in that order", "[chicken]")
{
    testsupport::freshGame();
    std::srand(11);
    const int a = std::rand();
    const int b = std::rand();
    const int p = std::rand();
    std::srand(11);
    TChiken2 c;

    CHECK(c.getSatiety() == static_cast<float>(a % 50 + 50) / 100.f);
    CHECK(c.getHydration() == static_cast<float>(b % 50 + 50) / 100.f);
    CHECK(c.layTimer.getPeriod() == static_cast<float>(p % 200) / 100.f + 20.f);
    CHECK(c.getSatiety() >= 0.5f);
    CHECK(c.getSatiety() < 1.f);
    CHECK(c.layTimer.getPeriod() >= 20.f);
    CHECK(c.layTimer.getPeriod() < 22.f);

    SECTION("it starts as a chick on the chick walk sheet, at a tenth of its size")
    {
        CHECK(c.stage == TChiken2::Chick);
        CHECK(c.getState() == TChiken2::Waiting);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::chickWalk));
        CHECK(c.getTextureRect() == cell(0, 0));
        CHECK(c.getOrigin() == sf::Vector2f{256.f, 384.f});
        CHECK(c.getScale().x == Approx(0.1f));
        CHECK(c.getScale().y == Approx(0.1f));
    }
    SECTION("a copy keeps the laying period, frames and timers")
    {
        c.walkFrame = 7;
        c.waitTimer.elapsed = 0.4f;
        const TChiken2 copy = c;
        CHECK(copy.layTimer.getPeriod() == c.layTimer.getPeriod());
        CHECK(copy.walkFrame == 7);
        CHECK(copy.waitTimer.getElapsed() == 0.4f);
    }
}

TEST_CASE("a chicken's needs fall by 0.01 a second and stay between 0 and 1", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c;

    SECTION("a need at 0.004 is empty after one second, never negative")
    {
        c.satiety = 0.004f;
        c.hydration = 0.004f;
        c.update(1.f);
        CHECK(c.getSatiety() == 0.f);
        CHECK(c.getHydration() == 0.f);
    }
    SECTION("both needs lose 0.005 in half a second")
    {
        c.satiety = 0.8f;
        c.hydration = 0.6f;
        c.update(0.5f);
        CHECK(c.getSatiety() == Approx(0.795f));
        CHECK(c.getHydration() == Approx(0.595f));
    }
    SECTION("a drinking bird at 1 stays at 1 and stops drinking")
    {
        c.hydration = 1.f;
        c.state = TChiken2::Drinking;
        c.update(0.5f); // -0.005, then +0.05: capped
        CHECK(c.getHydration() == 1.f);
        CHECK(c.getState() == TChiken2::Waiting);
    }
    SECTION("an eating bird at 1 stays at 1, stops eating and lets go of its feeder")
    {
        TFeeding feeder;
        feeder.food = 1.f;
        c.satiety = 1.f;
        c.feeder = &feeder;
        c.state = TChiken2::Eating;
        c.update(0.5f);
        CHECK(c.getSatiety() == 1.f);
        CHECK(c.getState() == TChiken2::Waiting);
        CHECK(c.feeder == nullptr);
        CHECK(feeder.getFood() == Approx(0.95f));
    }
    SECTION("eating takes from the feeder what the bird gains, even past empty")
    {
        TFeeding feeder;
        feeder.food = 0.02f;
        c.satiety = 0.5f;
        c.feeder = &feeder;
        c.state = TChiken2::Eating;
        c.behaviorEating(0.5f);
        CHECK(c.getSatiety() == Approx(0.55f));
        CHECK(feeder.getFood() == Approx(-0.03f));
        CHECK(c.getState() == TChiken2::Eating);
    }
}

TEST_CASE("a chicken grows one stage per update and sizes itself by age", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c;

    SECTION("age 59 is still a chick, 60 an adult on the adult sheet of the same mode")
    {
        c.age = 58.5f;
        c.update(0.5f);
        CHECK(c.stage == TChiken2::Chick);
        c.age = 59.5f;
        c.state = TChiken2::Laying; // keep it from strolling
        c.update(0.5f);
        CHECK(c.stage == TChiken2::Adult);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::walk));
    }
    SECTION("a jump from 0 to 1000 s is Adult, then Old, then Leaving")
    {
        c.update(1000.f);
        CHECK(c.stage == TChiken2::Adult);
        c.update(0.f);
        CHECK(c.stage == TChiken2::Old);
        c.update(0.f);
        CHECK(c.stage == TChiken2::Leaving);
        CHECK(c.animation == TChiken2::AnimKurortStart);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::kurort1));
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.target == sf::Vector2f{10000000.f, 500.f});
        CHECK(c.facing == 1);
    }
    SECTION("scale is 0.1 at birth, 0.15 at 90 s, 0.2 at 180 s and 0.3 just after")
    {
        c.age = 0.f;
        c.updateScale(0.f);
        CHECK(c.getScale().x == Approx(0.1f));
        c.age = 90.f;
        c.updateScale(0.f);
        CHECK(c.getScale().x == Approx(0.15f));
        c.age = 180.f;
        c.updateScale(0.f);
        CHECK(c.getScale().x == Approx(0.2f));
        CHECK(c.getScale().y == Approx(0.2f));
        c.age = 180.01f;
        c.updateScale(0.f);
        CHECK(c.getScale().x == Approx(0.3f));
    }
    SECTION("a bird facing left is mirrored")
    {
        c.age = 200.f;
        c.facing = -1;
        c.updateScale(0.f);
        CHECK(c.getScale() == sf::Vector2f{-0.3f, 0.3f});
    }
}

TEST_CASE("the egg urge starts at age 60 and sends the bird to the nest row at about 100", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c;
    // One-second steps: the urge gains 0.025 per step from the step that
    // reaches age 60, so 40 steps fill it at age 99 (or 100 if the float sum
    // lands just under 1).
    float leftAt = -1.f;
    for (int second = 1; second <= 110 && leftAt < 0.f; ++second) {
        c.update(1.f);
        if (c.age < 60.f)
            REQUIRE(c.eggUrge == 0.f);
        if (c.getNextState() == TChiken2::Laying)
            leftAt = c.age;
    }
    CHECK(leftAt >= 99.f);
    CHECK(leftAt <= 100.f);
    CHECK(c.eggUrge == 1.f);
    CHECK(c.getState() == TChiken2::Walking);
    CHECK(c.target.y == 220.f);
    CHECK(c.target.x >= 730.f);
    CHECK(c.target.x <= 1859.f);

    SECTION("a full urge does not send a laying bird again")
    {
        const sf::Vector2f nest = c.target;
        c.state = TChiken2::Laying;
        c.setNextState(TChiken2::Waiting);
        c.update(0.1f);
        CHECK(c.getState() == TChiken2::Laying);
        CHECK(c.target == nest);
    }
    SECTION("the nest point comes from rand() % 1130 + 730")
    {
        c.state = TChiken2::Waiting;
        c.setNextState(TChiken2::Waiting);
        c.waitTimer.elapsed = 0.f;
        std::srand(99);
        const float expected = static_cast<float>(std::rand() % 1130 + 730);
        std::srand(99);
        c.update(0.1f);
        CHECK(c.target == sf::Vector2f{expected, 220.f});
    }
}

TEST_CASE("a walk ends exactly on its target and never beyond", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c = adultAt({0.f, 0.f});

    SECTION("with 0.1 s frames the bird steps 20 px and lands on the target")
    {
        c.goTo({100.f, 0.f}, "test");
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.velocity == sf::Vector2f{200.f, 0.f});
        CHECK(c.facing == 1);
        for (int i = 0; i < 4; ++i)
            c.behaviorWalking(0.1f);
        CHECK(c.getPosition().x == 80.f);
        c.behaviorWalking(0.1f); // 20 px left: within one step
        CHECK(c.getPosition() == sf::Vector2f{100.f, 0.f});
        CHECK(c.getState() == TChiken2::Waiting);
        c.behaviorWalking(0.1f);
        CHECK(c.getPosition() == sf::Vector2f{100.f, 0.f});
    }
    SECTION("a target 30 px away is reached on the second 0.1 s step")
    {
        c.goTo({-30.f, 0.f}, "test");
        CHECK(c.facing == -1);
        c.behaviorWalking(0.1f);
        CHECK(c.getPosition().x == -20.f);
        c.behaviorWalking(0.1f);
        CHECK(c.getPosition().x == -30.f);
    }
    SECTION("a walk to its own spot has no velocity and ends on the next step")
    {
        c.setPosition({50.f, 60.f});
        c.goTo({50.f, 60.f}, "test");
        CHECK(c.velocity == sf::Vector2f{0.f, 0.f});
        c.behaviorWalking(0.1f);
        CHECK(c.getPosition() == sf::Vector2f{50.f, 60.f});
        CHECK(c.getState() == TChiken2::Waiting);
    }
    SECTION("arriving with Laying pending sits down; with Drinking pending shows the eat sheet")
    {
        c.goTo({0.f, 0.f}, "test");
        c.setNextState(TChiken2::Laying);
        c.behaviorWalking(0.1f);
        CHECK(c.getState() == TChiken2::Laying);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(c.animation == TChiken2::AnimSit);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::seat));

        c.goTo({0.f, 0.f}, "test");
        c.setNextState(TChiken2::Drinking);
        c.behaviorWalking(0.1f);
        CHECK(c.getState() == TChiken2::Drinking);
        CHECK(c.animation == TChiken2::AnimEat);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::eat));
    }
    SECTION("a bird on the kurort sheet keeps it when it arrives")
    {
        c.setAnimation(TChiken2::AnimKurortStart);
        c.goTo({0.f, 0.f}, "test");
        CHECK(c.animation == TChiken2::AnimKurortStart);
        c.setNextState(TChiken2::Laying);
        c.behaviorWalking(0.1f);
        CHECK(c.getState() == TChiken2::Laying);
        CHECK(c.animation == TChiken2::AnimKurortStart);
    }
    SECTION("a leaving bird ignores goTo altogether")
    {
        c.stage = TChiken2::Leaving;
        c.state = TChiken2::Waiting;
        c.target = {5.f, 5.f};
        c.goTo({300.f, 300.f}, "test");
        CHECK(c.getState() == TChiken2::Waiting);
        CHECK(c.target == sf::Vector2f{5.f, 5.f});
        CHECK(c.velocity == sf::Vector2f{0.f, 0.f});
    }
}

TEST_CASE("a waiting bird strolls once a second, drawing y before x", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c;

    SECTION("a chick stays in the nursery")
    {
        std::srand(5);
        const int y = std::rand() % 200 + 150;
        const int x = std::rand() % 450 + 50;
        std::srand(5);
        c.behaviorWaiting(0.5f);
        CHECK(c.getState() == TChiken2::Waiting);
        c.behaviorWaiting(0.5f);
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.target == sf::Vector2f{static_cast<float>(x), static_cast<float>(y)});
    }
    SECTION("a grown bird strolls in the yard")
    {
        c.stage = TChiken2::Adult;
        std::srand(6);
        const int y = std::rand() % 1000 + 430;
        const int x = std::rand() % 1900 + 50;
        std::srand(6);
        c.behaviorWaiting(1.f);
        CHECK(c.target == yard::strollTarget(x, y));
    }
}

TEST_CASE("dance and kurort are accepted by stage", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c = adultAt({100.f, 100.f});

    SECTION("a chick will not dance and keeps its state")
    {
        TChiken2 chick;
        CHECK_FALSE(chick.command("dance"));
        CHECK(chick.getState() == TChiken2::Waiting);
        CHECK(chick.animation == TChiken2::AnimWalk);
    }
    SECTION("an adult dances and then resumes its walk with the old velocity")
    {
        c.goTo({500.f, 100.f}, "test");
        c.setNextState(TChiken2::Eating);
        CHECK(c.command("dance"));
        CHECK(c.getState() == TChiken2::Dancing);
        CHECK(c.getNextState() == TChiken2::Walking);
        CHECK(c.animation == TChiken2::AnimDance);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::dance));
        c.behaviorDancing(9.5f);
        CHECK(c.getState() == TChiken2::Dancing);
        c.behaviorDancing(0.5f);
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.getNextState() == TChiken2::Waiting);
        CHECK(c.velocity == sf::Vector2f{200.f, 0.f});
        CHECK(c.animation == TChiken2::AnimDance);
    }
    SECTION("an adult refuses the resort; an old bird accepts and heads right")
    {
        CHECK_FALSE(c.command("kurort"));
        CHECK(c.stage == TChiken2::Adult);
        c.stage = TChiken2::Old;
        CHECK(c.command("kurort"));
        CHECK(c.stage == TChiken2::Leaving);
        CHECK(c.getState() == TChiken2::Walking);
        CHECK(c.target == sf::Vector2f{10000000.f, 500.f});
        CHECK(c.animation == TChiken2::AnimKurortStart);
        CHECK_FALSE(c.command("kurort"));
        CHECK_FALSE(c.command("dance"));
    }
    SECTION("an unknown command is refused")
    {
        CHECK_FALSE(c.command("sing"));
        CHECK(c.getState() == TChiken2::Waiting);
    }
}

TEST_CASE("the sprite sheets advance one frame per update at most", "[chicken]")
{
    testsupport::freshGame();
    TChiken2 c = adultAt({0.f, 0.f});

    SECTION("a long step still advances the walk by one frame; 39 wraps to 0")
    {
        c.animate(1.f);
        CHECK(c.walkFrame == 1);
        CHECK(c.getTextureRect() == cell(1, 0));
        c.walkFrame = 38;
        c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(7, 4));
        c.animate(0.1f);
        CHECK(c.walkFrame == 0);
        CHECK(c.getTextureRect() == cell(0, 0));
    }
    SECTION("Sit keeps the old rectangle, shows 1..35 once and then cycles 4..35")
    {
        for (int i = 0; i < 3; ++i)
            c.animate(0.1f);
        REQUIRE(c.getTextureRect() == cell(3, 0));
        c.setAnimation(TChiken2::AnimSit);
        CHECK(c.poseFrame == 0);
        CHECK(c.getTextureRect() == cell(3, 0));
        c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(1, 0));
        for (int i = 2; i <= 35; ++i)
            c.animate(0.1f);
        CHECK(c.poseFrame == 35);
        CHECK(c.getTextureRect() == cell(3, 4));
        c.animate(0.1f);
        CHECK(c.poseFrame == 4);
        CHECK(c.getTextureRect() == cell(4, 0));
    }
    SECTION("KurortStart shows 1..14 four to a row, then the Kurort sheet from frame 0")
    {
        c.setAnimation(TChiken2::AnimKurortStart);
        c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(1, 0));
        for (int i = 2; i <= 5; ++i)
            c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(1, 1));
        for (int i = 6; i <= 14; ++i)
            c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(2, 3));
        CHECK(&c.getTexture() == testsupport::storeTexture(image::kurort1));
        c.animate(0.1f);
        CHECK(c.animation == TChiken2::AnimKurort);
        CHECK(c.poseFrame == 0);
        CHECK(&c.getTexture() == testsupport::storeTexture(image::kurort2));
        CHECK(c.getTextureRect() == cell(0, 0));
        c.animate(0.1f);
        CHECK(c.getTextureRect() == cell(1, 0));
    }
    SECTION("a chick has no dance sheet: picture and rectangle stay, and only animation changes")
    {
        TChiken2 chick;
        chick.animate(0.1f);
        chick.animate(0.1f);
        REQUIRE(chick.getTextureRect() == cell(2, 0));
        chick.setAnimation(TChiken2::AnimDance);
        chick.animate(0.1f);
        CHECK(chick.animation == TChiken2::AnimDance);
        CHECK(&chick.getTexture() == testsupport::storeTexture(image::chickWalk));
        CHECK(chick.getTextureRect() == cell(2, 0));
        CHECK(chick.poseFrame == 0);
        chick.setAnimation(TChiken2::AnimEat);
        chick.animate(0.1f);
        CHECK(&chick.getTexture() == testsupport::storeTexture(image::chickEat));
        CHECK(chick.getTextureRect() == cell(1, 0));
    }
    SECTION("at 12 frames a second, a 1/24 s step shows nothing new")
    {
        c.animate(1.f / 24.f);
        CHECK(c.walkFrame == 0);
        c.animate(1.f / 24.f + 0.001f);
        CHECK(c.walkFrame == 1);
    }
}

TEST_CASE("a chicken draws the mood icon of its stage or state above itself", "[chicken]")
{
    testsupport::freshGame();
    sf::RenderTexture canvas({64, 64});
    TChiken2 c = adultAt({40.f, 50.f});

    SECTION("an old bird shows the resort icon even while laying")
    {
        c.stage = TChiken2::Old;
        c.state = TChiken2::Laying;
        kurortEmotionSprite->setPosition({0.f, 0.f});
        frame68Sprite->setPosition({0.f, 0.f});
        c.draw(canvas);
        CHECK(kurortEmotionSprite->getPosition() == sf::Vector2f{40.f, 50.f});
        CHECK(frame68Sprite->getPosition() == sf::Vector2f{0.f, 0.f});
    }
    SECTION("a drinking adult shows the drinking icon")
    {
        c.state = TChiken2::Drinking;
        frame69Sprite->setPosition({0.f, 0.f});
        c.draw(canvas);
        CHECK(frame69Sprite->getPosition() == sf::Vector2f{40.f, 50.f});
    }
}
