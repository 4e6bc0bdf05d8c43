// The real game started on an asset folder where images are not what they
// should be: something other than a file in an image's place, and an image
// of the wrong size. Each is named once, a placeholder stands in, and the
// game plays on. And a normal start complains about nothing.
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Runs the game for sixty frames from `dir`; its status and its error stream.
std::pair<int, std::string> play(const fs::path& dir)
{
    // Bounded: a start that waits on a pipe must fail the test, not hang it.
    const int status = testsupport::runCommand(
        "cd " + dir.string() + " && timeout 600 " + HENHOUSE_EXE + " --seed 1 --fixed-dt 0.05 --frames 60 --screenshot "
        + (dir / "shot.png").string() + " >" + (dir / "stdout.txt").string() + " 2>" + (dir / "stderr.txt").string());
    return {status, testsupport::readFile(dir / "stderr.txt")};
}

} // namespace

TEST_CASE("images that are not files or not their size are named once and the game plays on", "[reliability][files]")
{
    const fs::path dir = testsupport::scratchDir("damaged-images");
    fs::copy(fs::path(HENHOUSE_RUN_DIR) / "src", dir / "src", fs::copy_options::recursive);
    const fs::path images = dir / "src/images";
    // The floor tile, drawn all over the field, is a directory now.
    fs::remove(images / "cell.png");
    fs::create_directories(images / "cell.png");
    // The egg counter's frame is a pipe nobody writes to.
    fs::remove(images / "FrameCountEggs.png");
    REQUIRE(mkfifo((images / "FrameCountEggs.png").c_str(), 0600) == 0);
    // The sort button is a good picture, far too big: it would cover the toolbar.
    REQUIRE(sf::Image({1024, 1024}, sf::Color::Magenta).saveToFile(images / "buttonSort.png"));

    const auto [status, err] = play(dir);
    INFO(err);
    CHECK(status == 0);
    CHECK(fs::file_size(dir / "shot.png") > 0);
    CHECK(testsupport::countOf(err, "henhouse: cannot load image src/images/cell.png: it is a directory, not a file")
          == 1);
    CHECK(testsupport::countOf(err,
                               "henhouse: image 28 (src/images/cell.png) is not loaded; showing a placeholder instead")
          == 1);
    CHECK(
        testsupport::countOf(err, "henhouse: cannot load image src/images/FrameCountEggs.png: it is a pipe, not a file")
        == 1);
    CHECK(testsupport::countOf(
              err, "henhouse: image 64 (src/images/buttonSort.png) is 1024 x 1024, not 113 x 113; showing a "
                   "placeholder instead")
          == 1);
    CHECK(testsupport::countOf(err, "buttonSort.png") == 1);
    CHECK(err.find("bad_alloc") == std::string::npos);

    sf::Image shot;
    REQUIRE(shot.loadFromFile(dir / "shot.png"));
    // Where the sort button's socket stood, nothing magenta was drawn.
    bool magenta = false;
    for (unsigned y = 944; y < 1000; ++y)
        for (unsigned x = 682; x < 795; ++x)
            magenta = magenta || shot.getPixel({x, y}) == sf::Color::Magenta;
    CHECK_FALSE(magenta);
}

TEST_CASE("a normal start names no font and no image", "[reliability][files]")
{
    const fs::path dir = testsupport::scratchDir("clean-start");
    fs::create_directory_symlink(fs::path(HENHOUSE_RUN_DIR) / "src", dir / "src");
    const auto [status, err] = play(dir);
    INFO(err);
    CHECK(status == 0);
    // The system font the game first looks for is absent here, and that is no news.
    CHECK(err.find("Arial.ttf") == std::string::npos);
    CHECK(err.find("henhouse: image") == std::string::npos);
    CHECK(err.find("henhouse: cannot load image") == std::string::npos);
}
