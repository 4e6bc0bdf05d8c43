#include "core/TTextureStore.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A small asset folder: every image present at 8 x 8 except those in `missing`,
// with odd-sized icons so the centred origins land on half pixels.
fs::path makeAssetDir(const std::string& name, std::initializer_list<int> missing, bool withFont)
{
    const fs::path dir = testsupport::scratchDir(name);
    for (const auto& entry : TTextureStore::assetTable()) {
        if (std::find(missing.begin(), missing.end(), entry.id) != missing.end())
            continue;
        const unsigned side = (entry.id >= 142 && entry.id <= 150) ? 63 : (entry.id == 78 ? 1024 : 8);
        testsupport::writePng(dir / "src/images" / entry.file, side, side, sf::Color(200, 100, 50));
    }
    if (withFont) {
        fs::create_directories(dir / "src/fonts");
        fs::copy_file(fs::path(HENHOUSE_RUN_DIR) / "src/fonts/Arial.ttf", dir / "src/fonts/Arial.ttf");
    }
    return dir;
}

} // namespace

TEST_CASE("the store prints one progress line per image in its load order", "[store]")
{
    const fs::path dir = makeAssetDir("order", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console);
        CHECK(store.textures.size() == 167);
        CHECK(store.sprites.size() == 167);
        CHECK_FALSE(store.hasTexture(2));
    });

    std::string expected;
    for (int id = 0; id <= 167; ++id) {
        if (id == 2 || id == 69 || id == 106)
            continue;
        if (id == 107) {
            expected += testsupport::progressLine(107) + testsupport::progressLine(106);
            continue;
        }
        expected += testsupport::progressLine(id);
        if (id == 124)
            expected += testsupport::progressLine(69);
    }
    CHECK(console.str() == expected);
    // The console ends on the line for id 167 of 167, byte for byte.
    const std::string last = testsupport::progressLine(167);
    REQUIRE(console.str().size() >= last.size());
    CHECK(console.str().substr(console.str().size() - last.size()) == last);
}

TEST_CASE("the store takes the game's own font when the system one is absent", "[store]")
{
    SECTION("with the local copy the font is loaded")
    {
        const fs::path dir = makeAssetDir("font", {}, true);
        std::ostringstream console;
        testsupport::inDirectory(dir, [&] {
            TTextureStore store(console);
            CHECK_FALSE(store.getFont().getInfo().family.empty());
        });
    }
    SECTION("without any font the store still loads every image")
    {
        const fs::path dir = makeAssetDir("nofont", {}, false);
        std::ostringstream console;
        testsupport::inDirectory(dir, [&] {
            TTextureStore store(console);
            CHECK(store.getFont().getInfo().family.empty());
            CHECK(store.textures.size() == 167);
        });
    }
}

TEST_CASE("a missing image leaves its id empty and lookups fall back", "[store]")
{
    const fs::path dir = makeAssetDir("missing", {53}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console);
        CHECK_FALSE(store.hasTexture(53));
        CHECK(store.hasTexture(54));
        CHECK(console.str().find(testsupport::progressLine(53) + testsupport::progressLine(54)) != std::string::npos);
        // Lookups of the empty id give the placeholder of id 0, never garbage.
        CHECK(&store.getTexture(53) == &store.getTexture(0));
        sf::Sprite& stand = store.getSprite(53);
        CHECK(&stand.getTexture() == &store.getTexture(0));
        CHECK(&store.getSprite(53) == &stand);
        stand.setPosition({10.f, 20.f});
        CHECK(store.spriteContains(53, 18.f, 28.f));
    });
}

TEST_CASE("without even the placeholder a built-in texture stands in", "[store]")
{
    const fs::path dir = makeAssetDir("noplaceholder", {0, 7}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console);
        const sf::Texture& t = store.getTexture(7);
        CHECK(t.getSize() == sf::Vector2u(64, 64));
        CHECK(&store.getTexture(0) == &t);
    });
}

TEST_CASE("a second image under a loaded id is refused with a message", "[store]")
{
    const fs::path dir = makeAssetDir("duplicate", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console);
        const sf::Texture* first = &store.getTexture(5);
        console.str("");
        store.loadTexture(5, "src/images/egg2.png", false);
        CHECK(console.str() == "\xD0\x9F\xD0\xBE \xD1\x82\xD0\xB0\xD0\xBA\xD0\xBE\xD0\xBC\xD1\x83 ID \xD1\x83\xD0\xB6\xD0\xB5 "
                               "\xD0\xB7\xD0\xB0\xD0\xB3\xD1\x80\xD1\x83\xD0\xB6\xD0\xB5\xD0\xBD\xD0\xB0 "
                               "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82\xD1\x83\xD1\x80\xD0\xB0!\n"
                + testsupport::progressLine(5));
        CHECK(&store.getTexture(5) == first);
    });
}

TEST_CASE("shared sprites start where the store puts them", "[store]")
{
    const fs::path dir = makeAssetDir("origins", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console);
        SECTION("icons 142 to 150 are centred, half pixels included")
        {
            for (int id = 142; id <= 150; ++id)
                CHECK(store.getSprite(id).getOrigin() == sf::Vector2f(31.5f, 31.5f));
            CHECK(store.getSprite(141).getOrigin() == sf::Vector2f(0.f, 0.f));
            CHECK(store.getSprite(151).getOrigin() == sf::Vector2f(0.f, 0.f));
        }
        SECTION("the walk sheet shows only its first frame")
        {
            CHECK(store.getSprite(78).getTextureRect() == sf::IntRect({0, 0}, {512, 512}));
            CHECK(store.getSprite(79).getTextureRect() == sf::IntRect({0, 0}, {8, 8}));
        }
        SECTION("spriteContains tests the last drawn place, inclusive, unscaled")
        {
            sf::Sprite& sprite = store.getSprite(64);
            sprite.setPosition({682.f, 944.f});
            sprite.setScale({2.f, 2.f});
            CHECK(store.spriteContains(64, 682.f, 944.f));
            CHECK(store.spriteContains(64, 690.f, 952.f));
            CHECK_FALSE(store.spriteContains(64, 690.1f, 950.f));
            CHECK_FALSE(store.spriteContains(64, 681.9f, 950.f));
        }
    });
}

TEST_CASE("the game's own store holds every generated image at its size", "[store]")
{
    TTextureStore& store = TTextureStore::instance();
    CHECK(store.textures.size() == 167);
    CHECK(store.getTexture(78).getSize() == sf::Vector2u(4096, 2560));
    CHECK(store.getTexture(151).getSize() == sf::Vector2u(2048, 2048));
    CHECK(store.getTexture(53).getSize() == sf::Vector2u(30, 40));
    CHECK(store.getSprite(142).getOrigin() == sf::Vector2f(31.5f, 31.5f));
}
