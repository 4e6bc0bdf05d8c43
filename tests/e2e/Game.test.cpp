#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_CASE("the game runs a fixed number of frames and saves its last one", "[e2e]")
{
    const fs::path dir = testsupport::scratchDir("e2e");
    const fs::path shot = dir / "shot.png";
    const fs::path out = dir / "stdout.txt";
    const int status = testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 1 --fixed-dt 0.016 --frames 30 --screenshot "
                                               + shot.string() + " >" + out.string() + " 2>" + (dir / "stderr.txt").string());
    REQUIRE(status == 0);

    sf::Image image;
    REQUIRE(image.loadFromFile(shot));
    CHECK(image.getSize().x == 1920);
    CHECK(image.getSize().y >= 1000);
    CHECK(testsupport::distinctColours(image, 0, 0, 1920, 1000) >= 16);

    // The console ends on the progress line for the last image.
    const std::string console = readFile(out);
    const std::string last = "\x1b[2J\x1b[1;1Hloading textures 167/167\n";
    REQUIRE(console.size() >= last.size());
    CHECK(console.substr(console.size() - last.size()) == last);
}

TEST_CASE("help and bad options need neither a display nor the assets", "[e2e]")
{
    const fs::path dir = testsupport::scratchDir("options");
    const std::string cd = "cd " + dir.string() + " && env -u DISPLAY ";
    CHECK(testsupport::runCommand(cd + HENHOUSE_EXE + " --help >/dev/null") == 0);
    CHECK(testsupport::runCommand(cd + HENHOUSE_EXE + " --frames >/dev/null 2>&1") == 2);
    CHECK(testsupport::runCommand(cd + HENHOUSE_EXE + " --what >/dev/null 2>&1") == 2);
}

TEST_CASE("a missing sound file stops the start with one line and status 1", "[e2e]")
{
    const fs::path dir = testsupport::scratchDir("nosound");
    fs::create_directories(dir / "src/sounds");
    fs::copy_file(fs::path(HENHOUSE_RUN_DIR) / "src/sounds/MainTheme.wav", dir / "src/sounds/MainTheme.wav");
    const fs::path err = dir / "stderr.txt";
    const int status = testsupport::runCommand("cd " + dir.string() + " && " + HENHOUSE_EXE + " --frames 1 >/dev/null 2>"
                                               + err.string());
    CHECK(status == 1);
    CHECK(readFile(err).find("henhouse: cannot load the sound file src/sounds/chikensong.wav") != std::string::npos);
}
