// The quick frame (still layers copied from their picture, small things in
// batches, covered parts left out) against the plain one that draws every
// object by itself: the same pixels, every one of them, in the busy scenes.
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/TButton2.hpp"
#include "eggline/TShop.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TInkBounds.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr float step = 1.f / 60.f;

sf::Image render(TWorld& world, sf::RenderTarget& target, sf::RenderTexture& canvas, bool direct)
{
    world.drawDirect = direct;
    canvas.clear(sf::Color::Black);
    world.draw(target);
    canvas.display();
    return canvas.getTexture().copyToImage();
}

// Pixels of `quick` that differ from `plain`; the first is described in `where`.
long differences(const sf::Image& plain, const sf::Image& quick, std::string& where)
{
    if (plain.getSize() != quick.getSize())
        return -1;
    long differ = 0;
    const sf::Vector2u size = plain.getSize();
    const std::uint8_t* a = plain.getPixelsPtr();
    const std::uint8_t* b = quick.getPixelsPtr();
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) {
            const std::size_t at = (std::size_t{y} * size.x + x) * 4;
            if (std::memcmp(a + at, b + at, 4) == 0)
                continue;
            if (differ++ == 0)
                where = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return differ;
}

// Draws the frame the plain way, then the quick way twice (the first paints
// what changed and keeps it, the second puts it back), all from the same
// state: the bowls' needles turn on every drawing, so they are set back in
// between. Counts the pixels that differ; the first is described in `where`.
long differingPixels(TWorld& world, sf::RenderTexture& canvas, std::string& where)
{
    sf::Angle needles[3];
    for (int k = 0; k < 3; ++k)
        needles[k] = world.drinkingBowls[k].arrow.getRotation();
    const auto again = [&] {
        for (int k = 0; k < 3; ++k)
            world.drinkingBowls[k].arrow.setRotation(needles[k]);
    };
    const sf::Image plain = render(world, canvas, canvas, true);
    again();
    const sf::Image painted = render(world, canvas, canvas, false);
    again();
    const sf::Image put = render(world, canvas, canvas, false);
    where.clear();
    const long first = differences(plain, painted, where);
    std::string second;
    const long differ = differences(plain, put, second);
    if (where.empty() && !second.empty())
        where = "once put back, " + second;
    return first < 0 || differ < 0 ? -1 : first + differ;
}

// A flock of 20 after `seconds` of play; the floor eggs are left lying.
std::unique_ptr<TWorld> playedWorld(float seconds)
{
    testsupport::freshGame();
    std::srand(7);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    chickensToSpawn = 20;
    for (float t = 0.f; t < seconds; t += step)
        world->update(step);
    return world;
}

void press(TWorld& world, sf::Vector2f at)
{
    world.onMouseMoved(at.x, at.y);
    mousePos = at;
    world.onMousePressed(0, at.x, at.y);
    world.onMouseReleased(0, at.x, at.y);
}

// The broom pressed three times, a third of a second apart (a hen sitting on
// its button lifted off first): a few hundred bubbles.
void broomThreeTimes(TWorld& world)
{
    for (int i = 0; i < 3; ++i) {
        const sf::Vector2f at = world.toolbarButtons[3]->getPosition() + sf::Vector2f{56.f, 56.f};
        for (TChiken2& hen : world.vecChikens)
            if (hen.contains(at.x, at.y))
                hen.move({0.f, -400.f});
        press(world, at);
        for (int f = 0; f < 20; ++f)
            world.update(step);
    }
    REQUIRE(world.bubbles.size() >= 200);
}

} // namespace

TEST_CASE("the quick frame paints exactly the plain frame's pixels", "[scene][quick]")
{
    auto world = playedWorld(300.f);
    REQUIRE(world->vecChikens.size() == 20);
    REQUIRE(!world->pollution.empty());
    sf::RenderTexture& canvas = testsupport::screenCanvas();
    std::string where;

    const auto same = [&](const char* scene) {
        const long differ = differingPixels(*world, canvas, where);
        INFO(scene << ": " << differ << " pixels differ, " << where);
        CHECK(differ == 0);
        // The still layers were put back from their picture (painted
        // afresh, the frame before) unless pictures are turned off.
        CHECK(world->stillPicture.lastFramePut == world->stillPicture.picturesAllowed);
    };

    SECTION("the field, frame after frame, as dirt comes and goes")
    {
        for (int frame = 0; frame < 4; ++frame) {
            world->update(step);
            same("field");
        }
        // New spots land on the kept picture; a clean wipes it.
        for (int i = 0; i < 3; ++i) {
            world->spawnPollution(5.f);
            same("a spot added");
        }
        world->pollution.clear();
        same("cleaned");
        for (int i = 0; i < 2000; ++i)
            world->spawnPollution(5.f);
        same("2,000 spots");
        // A spot changed in place (as a loaded game might) is noticed too.
        world->pollution[10].move({3.f, 0.f});
        same("a spot moved");
        world->pollution.erase(world->pollution.begin() + 5);
        same("a spot removed");
    }
    SECTION("furniture that changes is painted anew")
    {
        same("before");
        world->frame60Sprite.move({0.f, 5.f});
        same("nest house moved");
        world->subtractSprite.setColor(sf::Color(255, 255, 255, 128));
        same("yard overlay faded");
        TTextureStore::instance().getSprite(image::ventilation).setScale({0.5f, 0.5f});
        same("fans shrunk");
        TTextureStore::instance().getSprite(image::ventilation).setScale({1.f, 1.f});
        cellSprite->setColor(sf::Color(200, 200, 200));
        same("floor tinted");
        cellSprite->setColor(sf::Color::White);
        same("floor as it was");
    }
    SECTION("the sorting window with sixty eggs and the scanner running")
    {
        while (world->eggsOnTable.size() < 60) {
            world->eggTemplate.setPosition(
                {static_cast<float>(std::rand() % 1200 + 300), static_cast<float>(std::rand() % 300 + 450)});
            world->eggTemplate.setRotation(sf::degrees(static_cast<float>(std::rand() % 360)));
            world->eggsOnFloor.push_back(world->eggTemplate);
            const sf::Vector2f at = world->eggsOnFloor.back().getPosition();
            world->onMousePressed(0, at.x, at.y);
            world->onMouseReleased(0, at.x, at.y);
        }
        packC0Count = 5;
        packC1Count = 4;
        world->mode = TWorld::ModeSortingRunning;
        world->refreshToolbarIcons();
        // Most of the sorting window is opaque: the field under it is left out.
        const sf::FloatRect hidden = world->hiddenArea();
        CHECK(hidden.size.x > 700.f);
        CHECK(hidden.size.y > 600.f);
        for (int frame = 0; frame < 40; frame += 8) {
            for (int i = 0; i < 8; ++i)
                world->update(0.1f);
            same("sorting");
        }
        world->mode = TWorld::ModeSorting;
        same("sorting, machine idle");
    }
    SECTION("the shop")
    {
        world->mode = TWorld::ModeShop;
        world->refreshToolbarIcons();
        world->update(step);
        CHECK(world->hiddenArea().size.x > 700.f);
        const long copied = world->stillPicture.platesCopied;
        same("shop");
        // The display's nine plates and the shop's page, in each quick frame.
        CHECK(world->stillPicture.platesCopied - copied == 2 * 10);
        // A hen wholly under the window, another half under its edge.
        world->vecChikens[0].setPosition({900.f, 500.f});
        world->vecChikens[1].setPosition(world->hiddenArea().position + sf::Vector2f{0.f, 200.f});
        same("hens under the shop");
        shop->visible = false;
        CHECK(world->hiddenArea().size.x == 0.f);
        same("shop hidden");
    }
    SECTION("the broom's bubbles and the psychologist's notes")
    {
        broomThreeTimes(*world);
        same("bubbles");
        // Some of them lie wholly on a plate's opaque part and are left out.
        long underPlates = 0;
        for (const TBubble& bubble : world->bubbles) {
            const sf::FloatRect b = bubble.getGlobalBounds();
            for (const sf::IntRect& cover : world->covers)
                underPlates += cover.contains(sf::Vector2i(b.position) - sf::Vector2i(1, 1))
                               && cover.contains(sf::Vector2i(b.position + b.size) + sf::Vector2i(1, 1));
        }
        CHECK(underPlates > 0);
        psychologistCount = 2;
        const sf::Vector2f card = world->psychologistCard.getPosition();
        world->onMouseMoved(card.x, card.y);
        mousePos = card;
        world->onMousePressed(0, card.x, card.y);
        world->onMouseMoved(900.f, 600.f);
        mousePos = {900.f, 600.f};
        world->onMouseReleased(0, 900.f, 600.f);
        world->update(step);
        REQUIRE(world->bubbles.size() >= 400);
        same("notes");
    }
    SECTION("after drawing on a target of another size (a window before its first resize)")
    {
        sf::RenderTexture smaller(sf::Vector2u(1920, 1000));
        world->drawDirect = false;
        smaller.clear(sf::Color::Black);
        world->draw(smaller);
        smaller.display();
        same("field");
        world->mode = TWorld::ModeShop;
        same("shop");
    }
    SECTION("the head-up display's plates, copied, as they change")
    {
        const long copied = world->stillPicture.platesCopied;
        same("plates as they start");
        // The tray, four sockets, three counters and the inventory bar (the
        // round buttons have no opaque part big enough to count), in each
        // quick frame.
        CHECK(world->stillPicture.platesCopied - copied == 2 * 9);
        world->toolbarButtons[0]->state = TButton2::Hover;
        same("a button under the pointer");
        world->toolbarButtons[1]->state = TButton2::Pressed;
        same("a button pressed");
        world->mode = TWorld::ModeShop;
        same("the shop's socket glowing, the shop open");
        world->toolbarButtons[0]->state = TButton2::Normal;
        world->toolbarButtons[1]->state = TButton2::Normal;
        world->mode = TWorld::ModeField;
        same("all as it was");
    }
    SECTION("painted every frame, as on a driver without framebuffer copies")
    {
        world->stillPicture.picturesAllowed = false;
        same("field");
        world->spawnPollution(5.f);
        same("a spot added");
        world->mode = TWorld::ModeShop;
        same("shop");
        world->mode = TWorld::ModeSortingRunning;
        same("sorting");
    }
    SECTION("through a scaled, letterboxed view")
    {
        sf::View view(sf::FloatRect({0.f, 0.f}, {1920.f, 1080.f}));
        view.setViewport(sf::FloatRect({0.1f, 0.05f}, {0.8f, 0.9f}));
        canvas.setView(view);
        same("letterboxed field");
        world->mode = TWorld::ModeShop;
        same("letterboxed shop");
        canvas.setView(canvas.getDefaultView());
        same("back to the plain view");
    }
    canvas.setView(canvas.getDefaultView());
}

TEST_CASE("chicks, growing hens and birds at the window's edge are drawn only where they show", "[scene][quick]")
{
    auto world = playedWorld(30.f);
    sf::RenderTexture& canvas = testsupport::screenCanvas();
    canvas.setView(canvas.getDefaultView());
    std::string where;
    const auto same = [&](const char* scene) {
        const long differ = differingPixels(*world, canvas, where);
        INFO(scene << ": " << differ << " pixels differ, " << where);
        CHECK(differ == 0);
        // The still layers were put back from their picture (painted
        // afresh, the frame before) unless pictures are turned off.
        CHECK(world->stillPicture.lastFramePut == world->stillPicture.picturesAllowed);
    };
    same("chicks");
    // Every size from a day-old chick to a hen, some facing each way, some
    // half off the screen.
    for (std::size_t i = 0; i < world->vecChikens.size(); ++i) {
        TChiken2& bird = world->vecChikens[i];
        const float s = 0.1f + 0.01f * static_cast<float>(i);
        bird.setScale({i % 2 ? -s : s, s});
        bird.setPosition({-20.f + 97.f * static_cast<float>(i), 120.f + 45.f * static_cast<float>(i)});
    }
    same("every size");
    world->vecChikens[3].setPosition({1915.f, 1075.f});
    world->vecChikens[4].setPosition({3.f, 1078.f});
    same("at the screen's edges");
    for (int f = 0; f < 30; ++f)
        world->update(step);
    same("walking on");
}

TEST_CASE("on the game's own window, opened smaller and grown, the quick frame is the plain one", "[scene][quick]")
{
    auto world = playedWorld(200.f);
    // As the game opens it: 1000 pixels high, then held to its minimum of
    // 1080, with a view of whole pixels set on the resize.
    sf::RenderWindow window(sf::VideoMode({1920, 1000}), "quick frame");
    const auto frame = [&](bool direct) {
        world->drawDirect = direct;
        window.clear(sf::Color::Black);
        world->draw(window);
        sf::Texture shot(window.getSize());
        shot.update(window);
        window.display();
        return shot.copyToImage();
    };
    (void)frame(false);
    (void)frame(false);
    CHECK(world->stillPicture.lastFramePut);
    window.setSize({1920, 1080});
    while (window.pollEvent()) {
    }
    window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(window.getSize()))));
    // At full size, then fitted into the middle of the window with bars, as
    // a smaller screen shows the farm.
    sf::View fitted(sf::FloatRect({0.f, 0.f}, {1920.f, 1080.f}));
    fitted.setViewport(sf::FloatRect({0.125f, 0.125f}, {0.75f, 0.75f}));
    // The plain frame, then the quick one twice (painting what changed, then
    // putting it back), from the same state.
    const auto same = [&](const std::string& scene) {
        sf::Angle needles[3];
        for (int k = 0; k < 3; ++k)
            needles[k] = world->drinkingBowls[k].arrow.getRotation();
        const auto again = [&] {
            for (int k = 0; k < 3; ++k)
                world->drinkingBowls[k].arrow.setRotation(needles[k]);
        };
        const sf::Image plain = frame(true);
        again();
        const sf::Image painted = frame(false);
        again();
        const sf::Image put = frame(false);
        std::string where;
        const long differ = differences(plain, painted, where) + differences(plain, put, where);
        INFO(scene << ": " << differ << " pixels differ, " << where);
        CHECK(differ == 0);
    };
    for (const sf::View& view : {window.getView(), fitted}) {
        window.setView(view);
        const std::string how = view.getViewport().size.x < 1.f ? "fitted, " : "";
        for (int mode : {TWorld::ModeField, TWorld::ModeShop, TWorld::ModeSortingRunning}) {
            world->mode = mode;
            same(how + "mode " + std::to_string(mode));
        }
    }
    // The broom's bubbles, seen through the fitted view.
    world->mode = TWorld::ModeField;
    broomThreeTimes(*world);
    same("fitted, bubbles");

    // The picture is taken once and put back on every frame after; a new
    // spot is painted onto the kept ground, not the whole floor again.
    window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(window.getSize()))));
    world->mode = TWorld::ModeField;
    (void)frame(false);
    const long paints = world->stillPicture.penPaints;
    const long grounds = world->stillPicture.groundPaints;
    const long spots = world->stillPicture.spotPaints;
    for (int i = 0; i < 5; ++i) {
        (void)frame(false);
        CHECK(world->stillPicture.lastFramePut);
    }
    CHECK(world->stillPicture.penPaints == paints);
    world->spawnPollution(5.f);
    (void)frame(false);
    (void)frame(false);
    CHECK(world->stillPicture.penPaints == paints + 1);
    CHECK(world->stillPicture.groundPaints == grounds);
    CHECK(world->stillPicture.spotPaints == spots + 1);
}

TEST_CASE("the still layers' copy leaves out exactly the covered pixels", "[scene][quick]")
{
    // Every pixel of a small area, by how many parts and covers hold it.
    const auto check = [](const sf::IntRect& area, const std::vector<sf::IntRect>& covered) {
        const std::vector<sf::IntRect> parts = TStillPicture::uncoveredParts(area, covered);
        long wrong = 0;
        for (int y = area.position.y; y < area.position.y + area.size.y; ++y)
            for (int x = area.position.x; x < area.position.x + area.size.x; ++x) {
                int inParts = 0;
                for (const sf::IntRect& p : parts)
                    inParts += p.contains({x, y}) ? 1 : 0;
                bool inCover = false;
                for (const sf::IntRect& c : covered)
                    inCover = inCover || c.contains({x, y});
                wrong += inParts != (inCover ? 0 : 1) ? 1 : 0;
            }
        for (const sf::IntRect& p : parts)
            wrong += p.size.x > 0 && p.size.y > 0 && area.findIntersection(p) == p ? 0 : 1;
        return std::pair{wrong, parts.size()};
    };
    const sf::IntRect area({3, 2}, {40, 30});
    SECTION("nothing covered: the area in one part") { CHECK(check(area, {}) == std::pair{0L, std::size_t{1}}); }
    SECTION("one cover inside: four parts around it")
    {
        CHECK(check(area, {sf::IntRect({10, 10}, {5, 5})}) == std::pair{0L, std::size_t{4}});
    }
    SECTION("covers that overlap, touch, stick out or are empty")
    {
        const std::vector<sf::IntRect> covers{sf::IntRect({10, 10}, {5, 5}), sf::IntRect({12, 12}, {20, 3}),
                                              sf::IntRect({0, 0}, {8, 40}),  sf::IntRect({32, 12}, {4, 9}),
                                              sf::IntRect({20, 20}, {0, 5}), sf::IntRect({-5, 25}, {100, 2})};
        CHECK(check(area, covers).first == 0);
    }
    SECTION("all of it covered: nothing to copy")
    {
        CHECK(check(area, {sf::IntRect({0, 0}, {50, 50})}) == std::pair{0L, std::size_t{0}});
    }
    SECTION("the game's plates on a window of whole pixels")
    {
        auto world = playedWorld(1.f);
        sf::RenderTexture& canvas = testsupport::screenCanvas();
        canvas.setView(canvas.getDefaultView());
        world->drawDirect = false;
        canvas.clear(sf::Color::Black);
        world->draw(canvas);
        // The tray, the counters' frames and the inventory bar at least.
        CHECK(world->covers.size() >= 5);
        long covered = 0;
        for (const sf::IntRect& c : world->covers)
            covered += static_cast<long>(c.size.x) * c.size.y;
        CHECK(covered > 100000);
        // A scaled view: none.
        sf::View view(sf::FloatRect({0.f, 0.f}, {1920.f, 1080.f}));
        view.setViewport(sf::FloatRect({0.1f, 0.05f}, {0.8f, 0.9f}));
        canvas.setView(view);
        world->draw(canvas);
        CHECK(world->covers.empty());
        canvas.setView(canvas.getDefaultView());
    }
}

TEST_CASE("a bird's bands of ink are drawn as strips that cover each row once", "[scene][quick]")
{
    // Each pixel row of a 40 x 40 area: held by which boxes, and by how many strips.
    const auto check = [](const std::vector<sf::IntRect>& boxes) {
        const std::vector<sf::IntRect> strips = TInkBounds::rowStrips(boxes);
        long wrong = 0;
        for (int y = 0; y < 40; ++y) {
            int left = 1000, right = -1000;
            for (const sf::IntRect& box : boxes)
                if (box.size.x > 0 && box.position.y <= y && y < box.position.y + box.size.y) {
                    left = std::min(left, box.position.x);
                    right = std::max(right, box.position.x + box.size.x);
                }
            for (int x = 0; x < 40; ++x) {
                int inStrips = 0;
                for (const sf::IntRect& strip : strips)
                    inStrips += strip.contains({x, y}) ? 1 : 0;
                // Once across the boxes' reach in that row, nowhere else.
                wrong += inStrips != (left <= x && x < right ? 1 : 0) ? 1 : 0;
            }
        }
        return std::pair{wrong, strips.size()};
    };
    SECTION("none, or only empty ones: nothing to draw")
    {
        CHECK(check({}) == std::pair{0L, std::size_t{0}});
        CHECK(check({{{5, 5}, {0, 10}}, {{5, 5}, {10, 0}}}) == std::pair{0L, std::size_t{0}});
    }
    SECTION("one box: itself") { CHECK(check({{{3, 4}, {10, 20}}}) == std::pair{0L, std::size_t{1}}); }
    SECTION("bands that overlap by a few rows, as a bird's do")
    {
        const auto [wrong, count] = check({{{10, 0}, {10, 12}}, {{4, 9}, {24, 12}}, {{6, 18}, {20, 12}}});
        CHECK(wrong == 0);
        CHECK(count == 3); // the top band, the widest rows joined, the bottom band
    }
    SECTION("bands of the same columns are joined, a gap between bands stays empty")
    {
        CHECK(check({{{2, 0}, {8, 5}}, {{2, 5}, {8, 5}}}) == std::pair{0L, std::size_t{1}});
        CHECK(check({{{2, 0}, {8, 5}}, {{2, 9}, {8, 5}}}) == std::pair{0L, std::size_t{2}});
    }
}
