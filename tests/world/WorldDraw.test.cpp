#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <memory>

namespace {

sf::Image renderFrame(TWorld& world)
{
    sf::RenderTexture& canvas = testsupport::screenCanvas();
    canvas.clear(sf::Color::Black);
    world.draw(canvas);
    canvas.display();
    return canvas.getTexture().copyToImage();
}

// Share of the image's opaque pixels (sampled on a grid) that appear
// unchanged in the frame at `position`.
double matchShare(const sf::Image& frame, int id, sf::Vector2f position)
{
    static std::map<int, sf::Image> images;
    if (!images.count(id))
        images.emplace(id, TTextureStore::instance().getTexture(id).copyToImage());
    const sf::Image& image = images.at(id);
    int opaque = 0, same = 0;
    const unsigned step = std::max(1u, std::min(image.getSize().x, image.getSize().y) / 24);
    for (unsigned y = 0; y < image.getSize().y; y += step)
        for (unsigned x = 0; x < image.getSize().x; x += step) {
            const sf::Color c = image.getPixel({x, y});
            if (c.a != 255)
                continue;
            const int fx = static_cast<int>(position.x) + static_cast<int>(x);
            const int fy = static_cast<int>(position.y) + static_cast<int>(y);
            if (fx < 0 || fy < 0 || fx >= 1920 || fy >= 1080)
                continue;
            ++opaque;
            const sf::Color f = frame.getPixel({static_cast<unsigned>(fx), static_cast<unsigned>(fy)});
            same += (f.r == c.r && f.g == c.g && f.b == c.b) ? 1 : 0;
        }
    return opaque == 0 ? 0.0 : static_cast<double>(same) / opaque;
}

// The bounding box of the pixels inside `region` that differ between two
// frames; empty when none. (The bowls' needles turn on every drawn frame, so
// whole frames always differ a little.)
sf::IntRect changedArea(const sf::Image& a, const sf::Image& b, const sf::IntRect& region)
{
    int left = 1920, top = 1080, right = -1, bottom = -1;
    for (unsigned y = static_cast<unsigned>(region.position.y);
         y < static_cast<unsigned>(region.position.y + region.size.y); ++y)
        for (unsigned x = static_cast<unsigned>(region.position.x);
             x < static_cast<unsigned>(region.position.x + region.size.x); ++x)
            if (a.getPixel({x, y}) != b.getPixel({x, y})) {
                left = std::min(left, static_cast<int>(x));
                top = std::min(top, static_cast<int>(y));
                right = std::max(right, static_cast<int>(x));
                bottom = std::max(bottom, static_cast<int>(y));
            }
    if (right < 0)
        return {};
    return sf::IntRect({left, top}, {right - left + 1, bottom - top + 1});
}

bool within(const sf::IntRect& inner, const sf::IntRect& outer)
{
    return inner.position.x >= outer.position.x && inner.position.y >= outer.position.y
           && inner.position.x + inner.size.x <= outer.position.x + outer.size.x
           && inner.position.y + inner.size.y <= outer.position.y + outer.size.y;
}

} // namespace

TEST_CASE("a new world starts empty, with its furniture and cards in place", "[world]")
{
    testsupport::freshGame();
    TWorld world;
    world.placeSharedSprites();

    CHECK(world.mode == 0);
    CHECK(world.activeTool == 0);
    CHECK(world.vecChikens.empty());
    CHECK(world.eggsOnFloor.empty());
    CHECK(world.eggsOnTable.empty());
    CHECK(world.pollution.empty());
    CHECK(world.bubbles.empty());
    CHECK(world.draggedChicken == TWorld::none);
    CHECK(world.draggedEgg == TWorld::none);
    CHECK(world.timeText.getString().isEmpty());
    CHECK(world.coinText.getString().isEmpty());
    CHECK(world.eggCountText.getString().isEmpty());
    CHECK(world.questText.getString().isEmpty());
    CHECK(world.storyClock.getPeriod() == 9999999.f);

    SECTION("the cards stand at y 975, half size, centred, tilted outward")
    {
        CHECK(world.kurortCard.getPosition() == sf::Vector2f(1420.f, 975.f));
        CHECK(world.vetCard.getPosition() == sf::Vector2f(1570.f, 975.f));
        CHECK(world.psychologistCard.getPosition() == sf::Vector2f(1720.f, 975.f));
        for (TActor* card : {&world.kurortCard, &world.vetCard, &world.psychologistCard}) {
            CHECK(card->getOrigin() == sf::Vector2f(179.f, 270.f));
            CHECK(card->getScale() == sf::Vector2f(0.5f, 0.5f));
        }
        CHECK(world.kurortCard.getRotation().asDegrees() == 345.f);
        CHECK(world.psychologistCard.getRotation().asDegrees() == 15.f);
        CHECK(world.vetCard.getRotation().asDegrees() == 0.f);
    }
    SECTION("the furniture stands where the pen is laid out")
    {
        CHECK(world.feeders[0].getPosition() == sf::Vector2f(100.f, 275.f));
        CHECK(world.feeders[2].getPosition() == sf::Vector2f(973.6f, 738.f));
        CHECK(world.gutterSprites[2].getPosition() == sf::Vector2f(1360.54f, 658.f));
        CHECK(world.drinkingBowls[2].getPosition() == sf::Vector2f(1084.f, 459.f));
        CHECK(world.chickenTemplate.getOrigin() == sf::Vector2f(65.f, 100.f));
        CHECK(world.timeText.getCharacterSize() == 40);
        CHECK(world.coinText.getPosition() == sf::Vector2f(1780.f, 20.f));
    }
    SECTION("shared sprites are placed once after the world is built")
    {
        for (auto* mood : {&frame68Sprite, &frame69Sprite, &frame70Sprite, &kurortEmotionSprite})
            CHECK((*mood)->getOrigin() == sf::Vector2f(28.f, 168.f));
        CHECK(TTextureStore::instance().getSprite(image::sortingMachine2).getPosition() == sf::Vector2f(627.f, 285.f));
        CHECK(TTextureStore::instance().getSprite(image::veterinar).getOrigin() == sf::Vector2f(179.f, 270.f));
    }
}

TEST_CASE("the coin quest shows its closing messages in turn", "[quest]")
{
    testsupport::freshGame();
    TWorld world;
    world.updateQuest(1.f);
    CHECK_FALSE(questComplete);
    CHECK(world.messageTimer.getElapsed() == 0.f);

    coinsEarned = 1000;
    world.updateQuest(4.f);
    CHECK(questComplete);
    CHECK(showMessage3);
    CHECK(world.messageTimer.getElapsed() == 4.f);
    world.updateQuest(4.f);
    CHECK(showMessage3);
    // 12 s: message 3 ends; in the same frame message 4's timer is advanced
    // by the same 4 s again, over the 2 s remainder.
    world.updateQuest(4.f);
    CHECK_FALSE(showMessage3);
    CHECK(showMessage4);
    CHECK(world.messageTimer.getElapsed() == 6.f);
    world.updateQuest(3.f);
    CHECK(showMessage4);
    world.updateQuest(1.f);
    CHECK_FALSE(showMessage4);
    CHECK(messagesDone);
    world.updateQuest(100.f);
    CHECK_FALSE(showMessage3);
    CHECK_FALSE(showMessage4);
}

TEST_CASE("the opening frame shows the HUD where it belongs", "[scene]")
{
    testsupport::freshGame();
    TWorld world;
    world.placeSharedSprites();
    const sf::Image frame = renderFrame(world);

    CHECK(matchShare(frame, 59, {735.f, 0.f}) > 0.8);    // egg counter sign
    CHECK(matchShare(frame, 58, {1718.f, 15.f}) > 0.8);  // coin plate
    CHECK(matchShare(frame, 57, {29.f, 15.f}) > 0.8);    // clock plate
    CHECK(matchShare(frame, 84, {55.f, 870.f}) > 0.8);   // inventory bar
    CHECK(matchShare(frame, 82, {295.f, 411.f}) > 0.95); // the farmer's welcome
    CHECK(matchShare(frame, 115, {25.f, 132.f}) > 0.6);  // nursery floor
    // The round toolbar buttons cover their sockets.
    CHECK(matchShare(frame, 139, {682.f, 944.f}) > 0.5);
    CHECK(matchShare(frame, 139, {1120.f, 944.f}) > 0.5);
    // No window is open.
    CHECK(matchShare(frame, 63, {530.f, 100.f}) < 0.5);
}

TEST_CASE("the story messages keep to their strict time windows", "[scene]")
{
    testsupport::freshGame();
    TWorld world;
    world.placeSharedSprites();
    auto shows = [&](float t, int id, sf::Vector2f where) {
        world.storyClock.elapsed = t;
        return matchShare(renderFrame(world), id, where) > 0.95;
    };
    CHECK(shows(4.9f, 82, {295.f, 411.f}));
    CHECK_FALSE(shows(5.f, 82, {295.f, 411.f}));
    CHECK_FALSE(shows(6.f, 82, {295.f, 411.f}));
    CHECK_FALSE(shows(10.f, 83, {295.f, 411.f}));
    CHECK(shows(12.f, 83, {295.f, 411.f}));
    CHECK_FALSE(shows(15.f, 83, {295.f, 411.f}));
    CHECK_FALSE(shows(360.f, 163, {313.f, 422.f}));
    CHECK(shows(365.f, 163, {313.f, 422.f}));
    CHECK_FALSE(shows(370.f, 163, {313.f, 422.f}));
    CHECK_FALSE(shows(375.f, 164, {313.f, 714.f}));
    CHECK(shows(380.f, 164, {313.f, 714.f}));
    CHECK_FALSE(shows(385.f, 164, {313.f, 714.f}));

    SECTION("the quest panel appears only after 385 s")
    {
        world.storyClock.elapsed = 385.f;
        (void)renderFrame(world);
        CHECK(world.questText.getString().isEmpty());
        world.storyClock.elapsed = 385.01f;
        coinsEarned = 42;
        CHECK(matchShare(renderFrame(world), 167, {29.f, 92.f}) > 0.6);
        CHECK(world.questText.getString() == "42/1000");
        questComplete = true;
        CHECK(matchShare(renderFrame(world), 167, {29.f, 92.f}) < 0.5);
    }
}

TEST_CASE("packed eggs fill each package as two rows of three", "[scene]")
{
    testsupport::freshGame();
    TWorld world;
    world.placeSharedSprites();
    world.storyClock.elapsed = 6.f; // no message in the way
    world.mode = TWorld::ModeSorting;
    const float rowY[2] = {617.f, 753.f};
    for (int package = 0; package < 2; ++package) {
        int& count = package == 0 ? packC0Count : packC1Count;
        for (int i = 0; i < 5; ++i) {
            count = i;
            const sf::Image before = renderFrame(world);
            count = i + 1;
            const sf::Image after = renderFrame(world);
            const sf::IntRect expected({583 + 36 * (i % 3), static_cast<int>(rowY[package]) + 36 * (i / 3)}, {34, 34});
            // Look over the whole package area, well beyond the expected cell.
            const sf::IntRect changed = changedArea(before, after, sf::IntRect({530, 560}, {260, 330}));
            INFO("package " << package << ", egg " << i);
            CHECK(changed.size.x > 0);
            CHECK(within(changed, expected));
        }
        count = 0;
    }
}

TEST_CASE("the held feed bag follows the pointer; other tools draw nothing", "[scene]")
{
    testsupport::freshGame();
    TWorld world;
    world.placeSharedSprites();
    world.storyClock.elapsed = 6.f;
    mousePos = {1200.f, 300.f};
    const sf::Image empty = renderFrame(world);
    for (int tool : {1, 2, 3, 5, 6, 7}) {
        world.activeTool = tool;
        const sf::IntRect changed = changedArea(empty, renderFrame(world), sf::IntRect({1100, 200}, {300, 300}));
        INFO("tool " << tool);
        if (tool <= 3) {
            const sf::Vector2u size = TTextureStore::instance().getTexture(image::cormbaby1 + (tool - 1)).getSize();
            CHECK(changed.size.x > 0);
            CHECK(within(changed, sf::IntRect({1200, 300}, sf::Vector2i(size))));
        } else {
            CHECK(changed.size.x == 0);
        }
    }
}
