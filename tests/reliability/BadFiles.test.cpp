// The real game started on damaged copies of its asset folder: a missing or
// corrupt image and a missing font cost only pictures or texts (the game
// plays on and says once what is missing); a missing sound stops the start
// with one line and status 1.
#include "actors/Geometry.hpp"
#include "core/TTextureStore.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string lastLine(const std::string& text)
{
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n')
        trimmed.pop_back();
    const std::size_t cut = trimmed.rfind('\n');
    return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

// A working directory holding a full copy of the game's assets.
fs::path copyOfAssets(const std::string& name)
{
    const fs::path dir = testsupport::scratchDir(name);
    fs::copy(fs::path(HENHOUSE_RUN_DIR) / "src", dir / "src", fs::copy_options::recursive);
    return dir;
}

struct Run {
    int status;
    std::string err;
    fs::path shot;
};

// Sixty frames at a fixed step from `workDir`, saving the last one; the
// console goes to files in `logDir`.
Run startGame(const fs::path& workDir, const fs::path& logDir, const fs::path& shot)
{
    const fs::path err = logDir / "stderr.txt";
    const int status = testsupport::runCommand("cd " + workDir.string() + " && " + HENHOUSE_EXE
                                               + " --seed 1 --fixed-dt 0.05 --frames 60 --screenshot " + shot.string()
                                               + " >" + (logDir / "stdout.txt").string() + " 2>" + err.string());
    return {status, testsupport::readFile(err), shot};
}

Run startGame(const fs::path& dir) { return startGame(dir, dir, dir / "shot.png"); }

} // namespace

TEST_CASE("a missing image leaves a placeholder, is named once and the game plays on", "[reliability][files]")
{
    const fs::path dir = copyOfAssets("no-image");
    // One image the HUD draws in every frame, and one the game loads but never shows.
    fs::remove(dir / "src/images/buttonSort.png");
    fs::remove(dir / "src/images/xray.png");
    const Run run = startGame(dir);
    INFO(run.err);
    CHECK(run.status == 0);
    CHECK(fs::file_size(run.shot) > 0);
    CHECK(testsupport::countOf(run.err, "henhouse: image 64 (src/images/buttonSort.png) is not loaded") == 1);
    // The unused one is named by the media library's own message, path included.
    CHECK(run.err.find("src/images/xray.png") != std::string::npos);
}

TEST_CASE("a corrupt image is treated as missing and the game plays on", "[reliability][files]")
{
    const fs::path dir = copyOfAssets("corrupt-image");
    // The file's first bytes are a real PNG's, the rest is cut off.
    const fs::path file = dir / "src/images/buttonShop.png";
    const std::string head = testsupport::readFile(file).substr(0, 60);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << head;
    const Run run = startGame(dir);
    INFO(run.err);
    CHECK(run.status == 0);
    CHECK(fs::file_size(run.shot) > 0);
    CHECK(testsupport::countOf(run.err, "henhouse: image 68 (src/images/buttonShop.png) is not loaded") == 1);
}

TEST_CASE("a missing font is named in one line and the game plays on without texts", "[reliability][files]")
{
    const fs::path dir = copyOfAssets("no-font");
    fs::remove(dir / "src/fonts/Arial.ttf");
    const Run run = startGame(dir);
    INFO(run.err);
    CHECK(run.status == 0);
    CHECK(fs::file_size(run.shot) > 0);
    CHECK(testsupport::countOf(run.err, "henhouse: font src/fonts/Arial.ttf is missing; texts will not be shown") == 1);
}

TEST_CASE("a missing music track stops the start with one line naming it and status 1", "[reliability][files]")
{
    const fs::path dir = copyOfAssets("no-theme");
    fs::remove(dir / "src/sounds/MainTheme.wav");
    const Run run = startGame(dir);
    INFO(run.err);
    CHECK(run.status == 1);
    CHECK(lastLine(run.err)
          == "henhouse: cannot load the sound file src/sounds/MainTheme.wav: no such file (the game looks its files up"
             " under the working directory; tried "
                 + (fs::canonical(dir) / "src/sounds/MainTheme.wav").string() + ")");
    CHECK(testsupport::countOf(run.err, "henhouse:") == 1);
    CHECK_FALSE(fs::exists(run.shot));
}

TEST_CASE("a text on a font that could not be opened is skipped, not drawn", "[reliability][files]")
{
    testsupport::freshGame();
    sf::RenderTexture canvas({200, 60});
    const auto litPixels = [&](const sf::Text& text) {
        canvas.clear(sf::Color::Black);
        drawText(canvas, text);
        canvas.display();
        return testsupport::distinctColours(canvas.getTexture().copyToImage(), 0, 0, 200, 60);
    };
    const sf::Font unopened;
    CHECK(litPixels(sf::Text(unopened, "1234", 30)) == 1);
    // The same text on the game's font does show.
    CHECK(litPixels(sf::Text(TTextureStore::instance().getFont(), "1234", 30)) > 1);
}
