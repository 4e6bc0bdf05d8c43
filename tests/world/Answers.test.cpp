// The farm's answers to the player: payouts and fines rising, refusals,
// the coin pulse, the quest's celebration and the tooltips. They read the
// game and draw over it; none of them changes the state or draws a number.
#include "app/TStateFile.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace eggkit;

namespace {

const sf::Vector2f firstPlus{765.f, 465.f}; // plus area 0: (745, 445) 40 x 40

} // namespace

TEST_CASE("a carton that pays rises its payout; a packed red egg rises its fine", "[answers][feedback]")
{
    testsupport::freshGame();
    TWorld world;
    openSorting(world);
    const auto pack = [&](sf::Vector2f p, bool defective) { packAt(world, p, defective); };
    struct Row {
        const char* what;
        int c0;
        int c1;
        sf::Vector2f into;
        bool defective;
        std::vector<std::string> risen;
        sf::Vector2f payoutAt;
    };
    const Row rows[] = {
        {"a fifth egg in C0 pays nothing", 4, 0, inC0, false, {}, {}},
        {"the sixth good egg in C0", 5, 0, inC0, false, {"+36"}, {638.f, 595.f}},
        {"the sixth good egg in C1", 0, 5, inC1, false, {"+30"}, {638.f, 730.f}},
        {"a red egg that closes C1",
         0,
         5,
         inC1,
         true,
         {"+30", "\xe2\x88\x92"
                 "10"},
         {638.f, 730.f}},
        {"a red egg that closes nothing",
         2,
         0,
         inC0,
         true,
         {"\xe2\x88\x92"
          "10"},
         {}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.what);
        world.feedback.risings.clear();
        packC0Count = row.c0;
        packC1Count = row.c1;
        pack(row.into, row.defective);
        REQUIRE(world.feedback.risings.size() == row.risen.size());
        for (std::size_t k = 0; k < row.risen.size(); ++k) {
            const auto utf8 = world.feedback.risings[k].text.toUtf8();
            CHECK(std::string(utf8.begin(), utf8.end()) == row.risen[k]);
        }
        if (!row.risen.empty() && row.risen[0][0] == '+')
            CHECK(world.feedback.risings[0].at == row.payoutAt);
        // The fine rises from where the egg went in, in red.
        if (row.defective) {
            CHECK(world.feedback.risings.back().at == row.into + sf::Vector2f(0.f, -30.f));
            CHECK(world.feedback.risings.back().colour.r > 200);
            CHECK(world.feedback.risings.back().colour.g < 100);
        }
    }
    SECTION("an egg dropped beside the cartons says nothing")
    {
        world.feedback.risings.clear();
        pack({900.f, 400.f}, true);
        CHECK(world.feedback.risings.empty());
    }
}

TEST_CASE("a plus or the buy button the coins cannot cover is refused visibly", "[answers][feedback]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    clickAt(world, 850.f, 1000.f); // the shop
    REQUIRE(world.mode == TWorld::ModeShop);
    struct Row {
        const char* what;
        int coins;
        int page;
        sf::Vector2f at;
        bool refused;
        sf::FloatRect area;
    };
    const Row rows[] = {
        {"a plus the coins cover", 100, 0, firstPlus, false, {}},
        {"a plus they do not (10 for crumbs, 9 coins)", 9, 0, firstPlus, true, {{745.f, 445.f}, {40.f, 40.f}}},
        {"the big sack's plus at 99", 99, 0, {1245.f, 465.f}, true, {{1225.f, 445.f}, {40.f, 40.f}}},
        {"buying an empty order with a debt", -10, 0, {900.f, 830.f}, true, {{750.f, 787.f}, {415.f, 93.f}}},
        {"buying an empty order at 0", 0, 0, {900.f, 830.f}, false, {}},
        {"a minus is never refused", 0, 0, {675.f, 465.f}, false, {}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.what);
        coins = row.coins;
        shop->resetQuantities();
        world.feedback.refusalAge = -1.f;
        clickAt(world, row.at.x, row.at.y);
        CHECK((world.feedback.refusalAge == 0.f) == row.refused);
        if (row.refused)
            CHECK(world.feedback.refusedArea == row.area);
        CHECK(coins == row.coins); // nothing was bought
    }
}

TEST_CASE("the answers age with play time and end on time", "[answers][feedback]")
{
    testsupport::freshGame();
    TFeedback feedback;
    feedback.watch(100, false);
    CHECK(feedback.pulseAge < 0.f); // the first look only takes note
    feedback.watch(100, false);
    CHECK(feedback.pulseAge < 0.f);
    feedback.watch(136, false);
    CHECK(feedback.pulseAge == 0.f);
    feedback.rise({10.f, 10.f}, "+36", sf::Color::Yellow);
    feedback.refuse({{1.f, 2.f}, {3.f, 4.f}});
    feedback.watch(136, true);
    CHECK(feedback.celebrationAge == 0.f);

    struct Step {
        float dt;
        bool pulse, rising, refusal, celebration;
    };
    // Hand-worked: 0.5 s pulse, 1.2 s refusal, 1.5 s rise, 5 s celebration.
    const Step steps[] = {{0.25f, true, true, true, true},    {0.25f, false, true, true, true},
                          {0.5f, false, true, true, true},    {0.25f, false, true, false, true},
                          {0.25f, false, false, false, true}, {3.25f, false, false, false, true},
                          {0.25f, false, false, false, false}};
    float t = 0.f;
    for (const Step& step : steps) {
        t += step.dt;
        CAPTURE(t);
        feedback.update(step.dt);
        CHECK((feedback.pulseAge >= 0.f) == step.pulse);
        CHECK(feedback.risings.empty() != step.rising);
        CHECK((feedback.refusalAge >= 0.f) == step.refusal);
        CHECK((feedback.celebrationAge >= 0.f) == step.celebration);
    }
    SECTION("a farm resumed with its quest done does not celebrate again")
    {
        TFeedback resumed;
        resumed.watch(500, true);
        resumed.watch(500, true);
        CHECK(resumed.celebrationAge < 0.f);
    }
}

TEST_CASE("the quest completing starts the celebration through the world's answer", "[answers][feedback]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    world.answer(0.1f, {0.f, 0.f});
    coinsEarned = 1000;
    world.update(0.1f);
    REQUIRE(questComplete);
    world.answer(0.1f, {0.f, 0.f});
    CHECK(world.feedback.celebrationAge == 0.1f);
}

TEST_CASE("hints name what shows on top under the pointer", "[answers][tooltip]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    psychologistCount = 2;
    struct Row {
        const char* what;
        int mode;
        int page;
        sf::Vector2f at;
        std::string hint;
    };
    const Row rows[] = {
        {"the shop button", TWorld::ModeField, 0, {850.f, 1000.f}, "Shop: feed, chicks and specialists"},
        {"the music button", TWorld::ModeField, 0, {1030.f, 1000.f}, "Music: playing (M turns it off)"},
        {"the broom", TWorld::ModeField, 0, {1150.f, 1000.f}, "Broom: sweeps the dirt away"},
        {"the resort card", TWorld::ModeField, 0, {1420.f, 900.f}, "Resort: each old hen leaves and pays 10 coins"},
        {"the psychologist with two visits",
         TWorld::ModeField,
         0,
         {1720.f, 900.f},
         "Psychologist: the whole flock dances (2 left)"},
        {"the vet, not bought", TWorld::ModeField, 0, {1600.f, 1050.f}, ""},
        {"the open field", TWorld::ModeField, 0, {900.f, 600.f}, ""},
        {"carton C0", TWorld::ModeSorting, 0, inC0, "C0: six good eggs pay 36 coins"},
        {"carton C1 with the scanner running", TWorld::ModeSortingRunning, 0, inC1, "C1: six good eggs pay 30 coins"},
        {"a carton's place with the shop open: the shop's card on top", TWorld::ModeShop, 0, inC0,
         "Vitamins: kept in the inventory, 15 coins"},
        {"the big sack", TWorld::ModeShop, 0, {1200.f, 300.f}, "Big sack: 60 food for one yard feeder, 100 coins"},
        {"the vitamins", TWorld::ModeShop, 0, {700.f, 600.f}, "Vitamins: kept in the inventory, 15 coins"},
        {"the chicks page's first card",
         TWorld::ModeShop,
         1,
         {700.f, 300.f},
         "3 chicks: they hatch in the nursery, 25 coins"},
        {"an empty place on the chicks page", TWorld::ModeShop, 1, {1200.f, 300.f}, ""},
        {"the open shop's frame off the cards", TWorld::ModeShop, 0, {1000.f, 880.f}, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.what);
        world.mode = row.mode;
        if (shop->page != row.page)
            shop->setPage(row.page);
        sf::FloatRect area;
        CHECK(world.hintAt(row.at.x, row.at.y, area) == row.hint);
        if (!row.hint.empty())
            CHECK(area.contains(row.at));
    }
    SECTION("nothing while something is carried")
    {
        world.mode = TWorld::ModeField;
        world.activeTool = TWorld::ToolKurort;
        sf::FloatRect area;
        CHECK(world.hintAt(850.f, 1000.f, area).empty());
    }
    SECTION("nothing under a story message")
    {
        world.mode = TWorld::ModeField;
        world.storyClock.update(376.f - world.storyClock.getElapsed()); // message 2 shows over the resort card
        sf::FloatRect area;
        CHECK(world.hintAt(1420.f, 900.f, area).empty());
        world.storyClock.update(10.f); // and is gone
        CHECK(world.hintAt(1420.f, 900.f, area) == "Resort: each old hen leaves and pays 10 coins");
    }
}

TEST_CASE("a tooltip shows after half a second on one thing, beside it, and goes at once", "[answers][tooltip]")
{
    testsupport::freshGame();
    TTooltip tip;
    const sf::FloatRect button{{828.f, 944.f}, {113.f, 113.f}};
    struct Step {
        float dt;
        const char* hint;
        bool showing;
    };
    const Step steps[] = {{0.f, "Shop", false},   {0.25f, "Shop", false}, {0.125f, "Shop", false},
                          {0.125f, "Shop", true}, {1.f, "Shop", true},    {0.25f, "Broom", false},
                          {0.5f, "Broom", true},  {0.25f, "", false},     {5.f, "", false}};
    for (const Step& step : steps) {
        CAPTURE(step.hint, step.dt);
        tip.update(step.dt, step.hint, button);
        CHECK(tip.showing() == step.showing);
    }

    struct Place {
        const char* what;
        sf::FloatRect area;
        bool above;
    };
    const Place places[] = {{"the toolbar: above", button, true},
                            {"a card near the left edge: above, kept inside", {{-20.f, 840.f}, {180.f, 270.f}}, true},
                            {"the top edge: below", {{1718.f, 15.f}, {173.f, 62.f}}, false}};
    for (const Place& place : places) {
        CAPTURE(place.what);
        tip.update(0.f, "Resort: each old hen leaves and pays 10 coins", place.area);
        const sf::FloatRect plate = tip.plate();
        CHECK(plate.position.x >= 4.f);
        CHECK(plate.position.x + plate.size.x <= 1916.f);
        CHECK(plate.size.x > 300.f);
        // Never over the thing pointed at.
        CHECK_FALSE(plate.findIntersection(place.area).has_value());
        CHECK((plate.position.y < place.area.position.y) == place.above);
    }
}

TEST_CASE("the answers change neither the state nor the random numbers", "[answers][identity]")
{
    // The same scripted afternoon twice, one with the answers looked at and
    // drawn every frame (the pointer resting on things, cartons paying,
    // refusals), one without: the state, frame by frame, and the random
    // generator afterwards are the same.
    const auto play = [](bool answers) {
        testsupport::freshGame();
        std::srand(7);
        chickensToSpawn = 4;
        TWorld world;
        placeHudSprites(world);
        sf::RenderTexture& canvas = testsupport::screenCanvas();
        std::vector<std::string> states;
        sf::Vector2f pointer{0.f, 0.f};
        for (int frame = 1; frame <= 400; ++frame) {
            // The player's hand: open the sorter, pack eggs, open the shop
            // and press a plus it cannot pay, rest on the cards.
            if (frame == 30)
                clickAt(world, 700.f, 1000.f);
            if (frame >= 40 && frame < 200 && frame % 10 == 0) {
                addTableEgg(world, {800.f, 300.f}, frame % 30 == 0);
                dragTo(world, {800.f, 300.f}, frame % 20 == 0 ? inC0 : inC1);
            }
            if (frame == 210)
                clickAt(world, 850.f, 1000.f);
            if (frame == 220) {
                coins = 5;
                clickAt(world, firstPlus.x, firstPlus.y);
            }
            if (frame == 240)
                clickAt(world, 1340.f, 170.f);
            if (frame == 340)
                coinsEarned = 1000;
            if (frame >= 260) {
                pointer = frame < 330 ? sf::Vector2f{1420.f, 900.f} : sf::Vector2f{850.f, 1000.f};
                moveTo(world, pointer.x, pointer.y);
            }
            world.update(0.05f);
            if (answers) {
                world.answer(0.05f, pointer);
                canvas.clear();
                world.draw(canvas);
                world.drawAnswers(canvas);
                canvas.display();
            }
            states.push_back(TStateFile::text(world, frame, false));
        }
        if (answers) {
            // They did show.
            CHECK(world.tooltip.showing());
            CHECK(world.feedback.celebrationAge > 0.f);
        }
        states.push_back(std::to_string(std::rand()));
        return states;
    };
    const std::vector<std::string> plain = play(false);
    const std::vector<std::string> answered = play(true);
    REQUIRE(plain.size() == answered.size());
    for (std::size_t k = 0; k < plain.size(); ++k) {
        CAPTURE(k);
        REQUIRE(plain[k] == answered[k]);
    }
}

namespace {

// The frame as the game draws it, with or without the answers over it.
sf::Image frameOf(TWorld& world, bool answers)
{
    sf::RenderTexture& canvas = testsupport::screenCanvas();
    canvas.clear(sf::Color::Black);
    world.draw(canvas);
    if (answers)
        world.drawAnswers(canvas);
    canvas.display();
    return canvas.getTexture().copyToImage();
}

// Pixels that differ between two frames, inside and outside `area`.
struct Differences {
    int inside = 0;
    int outside = 0;
};
Differences compare(const sf::Image& a, const sf::Image& b, sf::FloatRect area)
{
    Differences d;
    for (unsigned y = 0; y < a.getSize().y; ++y)
        for (unsigned x = 0; x < a.getSize().x; ++x) {
            if (a.getPixel({x, y}) == b.getPixel({x, y}))
                continue;
            const sf::Vector2f p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            (area.contains(p) ? d.inside : d.outside) += 1;
        }
    return d;
}

} // namespace

TEST_CASE("the answers change only the pixels they draw", "[answers][pixels]")
{
    testsupport::freshGame();
    TWorld world;
    pastOpeningStory(world);
    placeHudSprites(world);
    world.update(0.016f);
    frameOf(world, false); // the kept pictures are taken

    struct Row {
        const char* what;
        std::function<void()> cause;
        std::function<sf::FloatRect()> area;
    };
    const Row rows[] = {
        {"the shop button's tooltip",
         [&] {
             moveTo(world, 850.f, 1000.f);
             world.answer(0.f, {850.f, 1000.f});
             world.answer(0.6f, {850.f, 1000.f});
             REQUIRE(world.tooltip.showing());
         },
         [&] { return world.tooltip.plate(); }},
        {"a payout rising over C0", [&] { world.feedback.rise({638.f, 595.f}, "+36", sf::Color(0xF7, 0xC5, 0x31)); },
         [] { return sf::FloatRect({560.f, 540.f}, {160.f, 110.f}); }},
        {"a refused plus", [&] { world.feedback.refuse({{745.f, 445.f}, {40.f, 40.f}}); },
         [] { return sf::FloatRect({735.f, 435.f}, {320.f, 60.f}); }},
    };
    for (const Row& row : rows) {
        CAPTURE(row.what);
        world.feedback = TFeedback();
        world.tooltip = TTooltip();
        row.cause();
        const sf::Image plain = frameOf(world, false);
        const sf::Image answered = frameOf(world, true);
        const Differences d = compare(plain, answered, row.area());
        CHECK(d.inside > 200);
        CHECK(d.outside == 0);
    }
}
