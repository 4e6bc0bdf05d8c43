#include "core/TTextureStore.hpp"
#include "core/ImageTable.hpp"

#include "support/TestSupport.hpp"

#include <catch2/catch_test_macros.hpp>

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// A small asset folder: every image present at 8 x 8 except those in `missing`,
// with odd-sized icons so the centred origins land on half pixels. A store
// on it takes any size.
fs::path makeAssetDir(const std::string& name, std::initializer_list<int> missing, bool withFont)
{
    const fs::path dir = testsupport::scratchDir(name);
    for (const TImageInfo& entry : imageTable) {
        if (std::find(missing.begin(), missing.end(), entry.id) != missing.end())
            continue;
        const unsigned side =
            (entry.id >= image::iconScan && entry.id <= image::start) ? 63 : (entry.id == image::walk ? 1024 : 8);
        testsupport::writePng(dir / "src/images" / entry.file, side, side, sf::Color(200, 100, 50));
    }
    if (withFont) {
        fs::create_directories(dir / "src/fonts");
        fs::copy_file(fs::path(HENHOUSE_RUN_DIR) / "src/fonts/Arial.ttf", dir / "src/fonts/Arial.ttf");
    }
    return dir;
}

const TTextureStore::Settings anySize{true, false};

} // namespace

TEST_CASE("the store prints one progress line per image in its load order", "[store]")
{
    const fs::path dir = makeAssetDir("order", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anySize);
        CHECK(store.textureCount() == 173);
        CHECK(store.spriteCount() == 173);
        CHECK_FALSE(store.hasTexture(2)); // never used
    });

    std::string expected;
    for (int id = 0; id <= 173; ++id) {
        if (id == 2 || id == image::buttonClose || id == image::shopSlotDisable)
            continue;
        if (id == image::shopSlot) {
            expected += testsupport::progressLine(image::shopSlot) + testsupport::progressLine(image::shopSlotDisable);
            continue;
        }
        expected += testsupport::progressLine(id);
        if (id == image::buttonMinusDisabled)
            expected += testsupport::progressLine(image::buttonClose);
    }
    CHECK(console.str() == expected);
    // The console ends on the line for id 173 of 173, byte for byte.
    const std::string last = testsupport::progressLine(image::controlsCard);
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
            TTextureStore store(console, anySize);
            CHECK_FALSE(store.getFont().getInfo().family.empty());
        });
    }
    SECTION("without any font the store still loads every image")
    {
        const fs::path dir = makeAssetDir("nofont", {}, false);
        std::ostringstream console;
        testsupport::inDirectory(dir, [&] {
            TTextureStore store(console, anySize);
            CHECK(store.getFont().getInfo().family.empty());
            CHECK(store.textureCount() == 173);
        });
    }
}

TEST_CASE("a missing image leaves its id empty and lookups fall back", "[store]")
{
    const fs::path dir = makeAssetDir("missing", {image::eggC1}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anySize);
        CHECK_FALSE(store.hasTexture(image::eggC1));
        CHECK(store.hasTexture(image::rectangle260));
        CHECK(
            console.str().find(testsupport::progressLine(image::eggC1) + testsupport::progressLine(image::rectangle260))
            != std::string::npos);
        // Lookups of the empty id give the placeholder of id 0, never garbage.
        CHECK(&store.getTexture(image::eggC1) == &store.getTexture(image::placeholder));
        sf::Sprite& stand = store.getSprite(image::eggC1);
        CHECK(&stand.getTexture() == &store.getTexture(image::placeholder));
        CHECK(&store.getSprite(image::eggC1) == &stand);
        stand.setPosition({10.f, 20.f});
        CHECK(store.spriteContains(image::eggC1, 18.f, 28.f));
    });
}

TEST_CASE("without even the placeholder a built-in texture stands in", "[store]")
{
    const fs::path dir = makeAssetDir("noplaceholder", {image::placeholder, image::egg1}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anySize);
        const sf::Texture& t = store.getTexture(image::egg1);
        CHECK(t.getSize() == sf::Vector2u(64, 64));
        CHECK(&store.getTexture(image::placeholder) == &t);
    });
}

TEST_CASE("a second image under a loaded id is refused with a message", "[store]")
{
    const fs::path dir = makeAssetDir("duplicate", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anySize);
        const sf::Texture* first = &store.getTexture(image::win1);
        console.str("");
        store.loadTexture(image::win1, "src/images/egg2.png", false);
        CHECK(console.str()
              == "\xD0\x9F\xD0\xBE \xD1\x82\xD0\xB0\xD0\xBA\xD0\xBE\xD0\xBC\xD1\x83 ID \xD1\x83\xD0\xB6\xD0\xB5 "
                 "\xD0\xB7\xD0\xB0\xD0\xB3\xD1\x80\xD1\x83\xD0\xB6\xD0\xB5\xD0\xBD\xD0\xB0 "
                 "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82\xD1\x83\xD1\x80\xD0\xB0!\n"
                     + testsupport::progressLine(image::win1));
        CHECK(&store.getTexture(image::win1) == first);
    });
}

TEST_CASE("shared sprites start where the store puts them", "[store]")
{
    const fs::path dir = makeAssetDir("origins", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] {
        TTextureStore store(console, anySize);
        SECTION("icons 142 to 150 are centred, half pixels included")
        {
            for (int id = image::iconScan; id <= image::start; ++id)
                CHECK(store.getSprite(id).getOrigin() == sf::Vector2f(31.5f, 31.5f));
            CHECK(store.getSprite(image::circleButtonPressed).getOrigin() == sf::Vector2f(0.f, 0.f));
            CHECK(store.getSprite(image::kurort1).getOrigin() == sf::Vector2f(0.f, 0.f));
        }
        SECTION("the walk sheet shows only its first frame")
        {
            CHECK(store.getSprite(image::walk).getTextureRect() == sf::IntRect({0, 0}, {512, 512}));
            CHECK(store.getSprite(image::dance).getTextureRect() == sf::IntRect({0, 0}, {8, 8}));
        }
        SECTION("spriteContains tests the last drawn place, inclusive, unscaled")
        {
            sf::Sprite& sprite = store.getSprite(image::buttonSort);
            sprite.setPosition({682.f, 944.f});
            sprite.setScale({2.f, 2.f});
            CHECK(store.spriteContains(image::buttonSort, 682.f, 944.f));
            CHECK(store.spriteContains(image::buttonSort, 690.f, 952.f));
            CHECK_FALSE(store.spriteContains(image::buttonSort, 690.1f, 950.f));
            CHECK_FALSE(store.spriteContains(image::buttonSort, 681.9f, 950.f));
        }
    });
}

TEST_CASE("the game's own store holds every generated image at its size", "[store]")
{
    TTextureStore& store = TTextureStore::instance();
    CHECK(store.textureCount() == 173);
    CHECK(store.getTexture(image::walk).getSize() == sf::Vector2u(4096, 2560));
    CHECK(store.getTexture(image::kurort1).getSize() == sf::Vector2u(2048, 2048));
    CHECK(store.getTexture(image::eggC1).getSize() == sf::Vector2u(30, 40));
    CHECK(store.getSprite(image::iconScan).getOrigin() == sf::Vector2f(31.5f, 31.5f));
}

TEST_CASE("something other than a file in place of an image is damaged, named and never opened", "[store]")
{
    const fs::path dir = makeAssetDir("not-files", {image::cell, image::buttonSort, image::eggC1}, true);
    fs::create_directories(dir / "src/images/cell.png");
    REQUIRE(mkfifo((dir / "src/images/buttonSort.png").c_str(), 0600) == 0);
    // A link to a directory is no better.
    fs::create_directory_symlink(dir / "src/images/cell.png", dir / "src/images/eggC1.png");
    std::ostringstream console, errors;
    testsupport::inDirectory(dir, [&] {
        const testsupport::ErrorsInto capture(errors);
        // Opening the pipe would wait here for ever.
        TTextureStore store(console, anySize);
        CHECK(store.textureCount() == 170);
        for (int id : {image::cell, image::buttonSort, image::eggC1}) {
            CHECK_FALSE(store.hasTexture(id));
            CHECK(&store.getTexture(id) == &store.getTexture(image::placeholder));
        }
        CHECK(store.hasTexture(image::rectangle221));
    });
    const std::string said = errors.str();
    INFO(said);
    CHECK(testsupport::countOf(said, "henhouse: cannot load image src/images/cell.png: it is a directory, not a file\n")
          == 1);
    CHECK(
        testsupport::countOf(said, "henhouse: cannot load image src/images/buttonSort.png: it is a pipe, not a file\n")
        == 1);
    CHECK(
        testsupport::countOf(said, "henhouse: cannot load image src/images/eggC1.png: it is a directory, not a file\n")
        == 1);
    // Then, like any image that failed, named once where the placeholder stands in.
    CHECK(testsupport::countOf(said,
                               "henhouse: image 28 (src/images/cell.png) is not loaded; showing a placeholder instead")
          == 1);
    // And the progress goes on as usual.
    CHECK(console.str().find(testsupport::progressLine(image::cell) + testsupport::progressLine(image::rectangle221))
          != std::string::npos);
}

TEST_CASE("an image of another size than its designed one is refused once", "[store]")
{
    // Every image at 8 x 8 (the icons at 63 x 63): only those designed so are used.
    const fs::path dir = makeAssetDir("sizes", {image::cell, image::feeding}, true);
    testsupport::writePng(dir / "src/images/cell.png", 24, 24, sf::Color(200, 100, 50)); // its size
    // A file the quick decoder declines (not a PNG inside) is checked once loaded.
    const fs::path bitmap = dir / "feeding.bmp";
    REQUIRE(sf::Image({40, 30}, sf::Color::Red).saveToFile(bitmap));
    fs::rename(bitmap, dir / "src/images/feeding.png");

    std::ostringstream console, errors;
    testsupport::inDirectory(dir, [&] {
        const testsupport::ErrorsInto capture(errors);
        TTextureStore store(console, TTextureStore::Settings{true, true});
        CHECK(store.hasTexture(image::cell));
        CHECK(store.getTexture(image::cell).getSize() == sf::Vector2u(24, 24));
        CHECK_FALSE(store.hasTexture(image::buttonSort));
        CHECK_FALSE(store.hasTexture(image::feeding));
        // The cell, and the nine icons, which the folder has at their 63 x 63.
        CHECK(store.hasTexture(image::iconScan));
        CHECK(store.textureCount() == 10);
        // The lookups stand the placeholder in without a second word.
        (void)store.getTexture(image::buttonSort);
        store.drawSpriteAt(testsupport::screenCanvas(), image::buttonSort, {10.f, 10.f});
    });
    const std::string said = errors.str();
    INFO(said);
    CHECK(testsupport::countOf(
              said, "henhouse: image 64 (src/images/buttonSort.png) is 8 x 8, not 113 x 113; showing a placeholder "
                    "instead\n")
          == 1);
    CHECK(testsupport::countOf(
              said, "henhouse: image 41 (src/images/feeding.png) is 40 x 30, not 130 x 113; showing a placeholder "
                    "instead\n")
          == 1);
    CHECK(testsupport::countOf(said, "image 64 ") == 1);
    // Every image still has its progress line.
    CHECK(testsupport::countOf(console.str(), "loading textures ") == 173);
}

TEST_CASE("the progress lines clear the screen only on a terminal", "[store]")
{
    const fs::path dir = makeAssetDir("log", {}, true);
    std::ostringstream console;
    testsupport::inDirectory(dir, [&] { TTextureStore store(console, TTextureStore::Settings{false, false}); });
    std::string expected;
    for (int id : imageLoadOrder())
        expected += testsupport::progressLine(id, false);
    CHECK(console.str() == expected);
}

TEST_CASE("the system font path is tried quietly", "[store]")
{
    const fs::path dir = makeAssetDir("quiet-font", {}, true);
    std::ostringstream console, errors;
    testsupport::inDirectory(dir, [&] {
        const testsupport::ErrorsInto capture(errors);
        TTextureStore store(console, anySize);
        CHECK_FALSE(store.getFont().getInfo().family.empty());
    });
    CHECK(errors.str().empty());
}
