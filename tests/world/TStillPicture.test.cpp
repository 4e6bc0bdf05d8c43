// The still picture: what it paints again, what it puts back, and that no
// change to one of the farm's still layers or plates goes unseen.
#include "world/TStillPicture.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

bool samePixels(const sf::Image& a, const sf::Image& b)
{
    return a.getSize() == b.getSize()
           && std::memcmp(a.getPixelsPtr(), b.getPixelsPtr(), std::size_t{a.getSize().x} * a.getSize().y * 4) == 0;
}

sf::Texture solid(unsigned w, unsigned h, sf::Color colour) { return sf::Texture(sf::Image({w, h}, colour)); }

// One small target for every scene (made once: each target is a context of
// its own).
sf::RenderTexture& smallCanvas()
{
    static sf::RenderTexture canvas(sf::Vector2u(64, 48));
    return canvas;
}

// A small scene of each kind of layer on a 64 x 48 target: a floor of 8 x 6
// tiles of 8 pixels, dirt on it, a wall and a post stamped at three places.
struct Scene {
    sf::Texture tileTexture = solid(8, 8, sf::Color(90, 160, 60));
    sf::Texture spotTexture = solid(4, 4, sf::Color(100, 70, 30, 200));
    sf::Texture wallTexture = solid(30, 10, sf::Color(170, 40, 40));
    sf::Texture postTexture = solid(3, 12, sf::Color(230, 230, 200));
    sf::Sprite tile{tileTexture};
    sf::Sprite wall{wallTexture};
    sf::Sprite post{postTexture};
    std::vector<sf::Sprite> dirt;
    TStillPicture still;
    sf::RenderTexture& canvas = smallCanvas();

    Scene()
    {
        canvas.setView(canvas.getDefaultView());
        addSpot({5.f, 30.f});
        wall.setPosition({20.f, 2.f});
        still.addFloor(tile, 8, 6, 8.f);
        still.addSpots(dirt);
        still.addSprite(wall);
        still.addStamps(post, {{10.f, 20.f}, {30.f, 20.f}, {50.f, 24.f}});
    }
    void addSpot(sf::Vector2f at)
    {
        dirt.emplace_back(spotTexture);
        dirt.back().setPosition(at);
    }
    // One quick frame: the still picture, then the plates over it.
    sf::Image frame(const std::vector<sf::Sprite>& plates = {}, const std::vector<sf::IntRect>& covered = {})
    {
        canvas.clear(sf::Color::Magenta);
        still.draw(canvas, covered);
        for (const sf::Sprite& plate : plates)
            still.drawPlate(canvas, plate);
        canvas.display();
        return canvas.getTexture().copyToImage();
    }
    // The same, painted the plain way.
    sf::Image plain(const std::vector<sf::Sprite>& plates = {})
    {
        canvas.clear(sf::Color::Magenta);
        still.paintLayers(canvas);
        for (const sf::Sprite& plate : plates)
            canvas.draw(plate);
        canvas.display();
        return canvas.getTexture().copyToImage();
    }
};

// The farm's plain frame, then its quick frame twice (the first paints what
// changed, the second puts it back), all from the same state: true when all
// three are the same. The bowls' needles turn on every drawing, so they are
// set back in between.
bool quickIsPlain(TWorld& world)
{
    sf::RenderTexture& canvas = testsupport::screenCanvas();
    canvas.setView(canvas.getDefaultView());
    sf::Angle needles[3];
    for (int k = 0; k < 3; ++k)
        needles[k] = world.drinkingBowls[k].arrow.getRotation();
    const auto render = [&](bool direct) {
        for (int k = 0; k < 3; ++k)
            world.drinkingBowls[k].arrow.setRotation(needles[k]);
        world.drawDirect = direct;
        canvas.clear(sf::Color::Black);
        world.draw(canvas);
        canvas.display();
        return canvas.getTexture().copyToImage();
    };
    const sf::Image plainFrame = render(true);
    const sf::Image painted = render(false);
    const sf::Image put = render(false);
    return samePixels(plainFrame, painted) && samePixels(plainFrame, put);
}

} // namespace

TEST_CASE("the still picture paints again only what changed", "[scene][still]")
{
    struct Row {
        const char* what;
        void (*change)(Scene&);
        // What the next frame paints: the ground whole, new spots on the
        // kept ground, the picture (ground, layers over it, plates).
        long grounds, spots, pictures;
    };
    const Row rows[] = {
        {"nothing", [](Scene&) {}, 0, 0, 0},
        {"a spot added at the end", [](Scene& s) { s.addSpot({40.f, 40.f}); }, 0, 1, 1},
        {"two spots added at once",
         [](Scene& s) {
             s.addSpot({40.f, 40.f});
             s.addSpot({12.f, 8.f});
         },
         0, 1, 1},
        {"a spot moved", [](Scene& s) { s.dirt[0].move({1.f, 0.f}); }, 1, 0, 1},
        {"a spot put in before the others",
         [](Scene& s) {
             sf::Sprite first(s.spotTexture);
             first.setPosition({50.f, 10.f});
             s.dirt.insert(s.dirt.begin(), first);
         },
         1, 0, 1},
        {"the dirt wiped", [](Scene& s) { s.dirt.clear(); }, 1, 0, 1},
        {"the floor's tile tinted", [](Scene& s) { s.tile.setColor(sf::Color(200, 200, 200)); }, 1, 0, 1},
        {"the wall moved", [](Scene& s) { s.wall.move({0.f, 3.f}); }, 0, 0, 1},
        {"the wall faded", [](Scene& s) { s.wall.setColor(sf::Color(255, 255, 255, 128)); }, 0, 0, 1},
        {"the posts turned", [](Scene& s) { s.post.setRotation(sf::degrees(90.f)); }, 0, 0, 1},
        {"the posts' stamp moved (its drawing moves it anyway)", [](Scene& s) { s.post.setPosition({1.f, 1.f}); }, 0, 0,
         0},
        {"the view moved", [](Scene& s) { s.canvas.setView(sf::View(sf::FloatRect({4.f, 0.f}, {64.f, 48.f}))); }, 1, 0,
         1},
    };
    for (const Row& row : rows) {
        DYNAMIC_SECTION(row.what)
        {
            Scene scene;
            scene.frame();
            // Painted once: the ground, then the picture.
            CHECK(scene.still.groundPaints == 1);
            CHECK(scene.still.penPaints == 1);
            CHECK(scene.still.spotPaints == 0);
            scene.frame();
            REQUIRE(scene.still.lastFramePut);

            row.change(scene);
            const sf::Image quick = scene.frame();
            CHECK(scene.still.groundPaints - 1 == row.grounds);
            CHECK(scene.still.spotPaints == row.spots);
            CHECK(scene.still.penPaints - 1 == row.pictures);
            CHECK(scene.still.lastFramePut == (row.pictures == 0));
            CHECK(samePixels(quick, scene.plain()));
            // And put back the frame after.
            CHECK(samePixels(scene.frame(), scene.plain()));
            CHECK(scene.still.lastFramePut);
        }
    }
}

TEST_CASE("a put-back frame leaves the shared sprites where drawing them would", "[scene][still]")
{
    Scene scene;
    scene.frame();
    scene.frame();
    scene.tile.setPosition({0.f, 0.f});
    scene.post.setPosition({0.f, 0.f});
    scene.frame();
    REQUIRE(scene.still.lastFramePut);
    // The last of 8 x 6 tiles 8 apart, and the post's last place.
    CHECK(scene.tile.getPosition() == sf::Vector2f(56.f, 40.f));
    CHECK(scene.post.getPosition() == sf::Vector2f(50.f, 24.f));
}

TEST_CASE("a put-back frame leaves out the covered pixels; a plate's opaque part is copied", "[scene][still]")
{
    Scene scene;
    sf::Texture plateTexture = solid(20, 12, sf::Color(40, 40, 160));
    sf::Sprite plate(plateTexture);
    plate.setPosition({30.f, 30.f});
    const sf::IntRect cover({31, 31}, {18, 10});
    scene.still.addPlate(plate, cover);
    scene.frame({plate});
    scene.frame({plate});
    REQUIRE(scene.still.lastFramePut);
    CHECK(scene.still.platesCopied == 2);
    CHECK(samePixels(scene.frame({plate}), scene.plain({plate})));

    // Without the plates drawn after it, what is covered stays as it was.
    const sf::Image bare = scene.frame({}, {sf::IntRect({10, 4}, {6, 5})});
    int untouched = 0;
    for (unsigned y = 0; y < 48; ++y)
        for (unsigned x = 0; x < 64; ++x)
            untouched += bare.getPixel({x, y}) == sf::Color::Magenta ? 1 : 0;
    CHECK(untouched == 6 * 5);
    CHECK(bare.getPixel({10, 4}) == sf::Color::Magenta);
    CHECK(bare.getPixel({15, 8}) == sf::Color::Magenta);
    CHECK(bare.getPixel({16, 8}) != sf::Color::Magenta);
}

TEST_CASE("every still layer and plate of the farm, changed, is seen by the picture", "[scene][still]")
{
    testsupport::freshGame();
    std::srand(7);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    for (int i = 0; i < 1500; ++i)
        world->update(0.1f);
    REQUIRE(!world->pollution.empty());
    REQUIRE(quickIsPlain(*world));
    TTextureStore& store = TTextureStore::instance();

    SECTION("each still layer, bottom up")
    {
        struct Row {
            const char* what;
            void (*change)(TWorld&);
        };
        const auto stamp = [](int id) -> sf::Sprite& { return TTextureStore::instance().getSprite(id); };
        const Row rows[] = {
            {"the floor's tile tinted", [](TWorld&) { cellSprite->setColor(sf::Color(200, 200, 200)); }},
            {"a spot of dirt moved", [](TWorld& w) { w.pollution[0].move({7.f, 0.f}); }},
            {"the back wall moved", [](TWorld& w) { w.rect221Sprite.move({0.f, 6.f}); }},
            {"the nest house moved", [](TWorld& w) { w.frame60Sprite.move({0.f, 5.f}); }},
            {"the straw moved", [](TWorld& w) { w.frame49Sprite.move({4.f, 0.f}); }},
            {"the yard overlay faded", [](TWorld& w) { w.subtractSprite.setColor(sf::Color(255, 255, 255, 128)); }},
            {"the trough shrunk",
             [](TWorld&) { TTextureStore::instance().getSprite(image::zherlob).scale({0.5f, 0.5f}); }},
            {"the fans tinted",
             [](TWorld&) {
                 TTextureStore::instance().getSprite(image::ventilation).setColor(sf::Color(120, 200, 255));
             }},
            {"the nursery panels shifted by their origin",
             [](TWorld&) {
                 sf::Sprite& panel = TTextureStore::instance().getSprite(image::panel1);
                 panel.setOrigin(panel.getOrigin() + sf::Vector2f(9.f, 0.f));
             }},
        };
        // Each change undone by putting the layers' sprites back as they were.
        sf::Sprite* const shared[] = {&*cellSprite,          &stamp(image::zherlob), &stamp(image::ventilation),
                                      &stamp(image::panel1), &world->rect221Sprite,  &world->frame60Sprite,
                                      &world->frame49Sprite, &world->subtractSprite};
        std::vector<sf::Sprite> kept;
        for (const sf::Sprite* sprite : shared)
            kept.push_back(*sprite);
        const std::vector<sf::Sprite> dirt = world->pollution;
        // A row for every layer the picture keeps: a new layer needs its own.
        REQUIRE(world->stillPicture.layerCount() == std::size(rows));
        for (std::size_t k = 0; k < std::size(rows); ++k) {
            INFO(rows[k].what);
            const std::vector<TSpriteLook> before = world->stillPicture.layerLook(k);
            rows[k].change(*world);
            CHECK(world->stillPicture.layerLook(k) != before);
            CHECK(quickIsPlain(*world));
            for (std::size_t i = 0; i < std::size(shared); ++i)
                *shared[i] = kept[i];
            world->pollution = dirt;
            CHECK(world->stillPicture.layerLook(k) == before);
        }
        CHECK(quickIsPlain(*world));
    }
    SECTION("each plate of the head-up display, tinted")
    {
        // The tray, four sockets, three counters and the inventory bar are
        // kept in the picture (the round buttons have no opaque part big
        // enough): each of those, tinted, paints the picture again.
        int repainted = 0;
        std::string seen;
        for (const TWorld::HudPlate& plate : TWorld::hudPlates()) {
            sf::Sprite& sprite = store.getSprite(plate.picture(*world));
            const sf::Color colour = sprite.getColor();
            const long paints = world->stillPicture.penPaints;
            sprite.setColor(sf::Color(180, 220, 255));
            CHECK(quickIsPlain(*world));
            repainted += world->stillPicture.penPaints > paints ? 1 : 0;
            seen += " " + std::to_string(plate.picture(*world)) + ":"
                    + std::to_string(world->stillPicture.penPaints - paints);
            sprite.setColor(colour);
            REQUIRE(quickIsPlain(*world));
        }
        INFO(seen);
        CHECK(repainted == 9);
        CHECK(quickIsPlain(*world));
    }
}
