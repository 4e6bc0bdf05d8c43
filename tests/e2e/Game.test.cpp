#include "core/ImageTable.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;


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

    // Written to a file, the console holds the progress lines one after the
    // other, without the terminal's clear-screen sequence, and ends on the
    // line for the last image.
    const std::string console = testsupport::readFile(out);
    CHECK(console.find('\x1b') == std::string::npos);
    std::string lines;
    for (int id : imageLoadOrder())
        lines += testsupport::progressLine(id, false);
    CHECK(console == lines);
    const std::string last = testsupport::progressLine(image::quest1, false);
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
    CHECK(testsupport::readFile(err).find("henhouse: cannot load the sound file src/sounds/chikensong.wav") != std::string::npos);
}

TEST_CASE("mouse input from an event script opens the sorting window", "[e2e]")
{
    const fs::path dir = testsupport::scratchDir("events");
    const fs::path script = dir / "open-sorter.events";
    {
        std::ofstream out(script);
        // Frame 2: press the magnifier button; frame 3: start the machine.
        out << "2 click 738 1000\n3 click 1278 781\n";
    }
    const fs::path shot = dir / "sorter.png";
    const int status = testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 3 --fixed-dt 0.016 --frames 6 --events "
                                               + script.string() + " --screenshot " + shot.string() + " >/dev/null 2>&1");
    REQUIRE(status == 0);
    sf::Image frame;
    REQUIRE(frame.loadFromFile(shot));
    sf::Image window;
    REQUIRE(window.loadFromFile("src/images/WinSort.png"));
    // The window's header band, where nothing else is drawn over it.
    int opaque = 0, same = 0;
    for (unsigned y = 10; y < 90; y += 4)
        for (unsigned x = 20; x < 760; x += 8) {
            const sf::Color c = window.getPixel({x, y});
            if (c.a != 255)
                continue;
            ++opaque;
            same += frame.getPixel({530 + x, 100 + y}) == c ? 1 : 0;
        }
    REQUIRE(opaque > 100);
    CHECK(same > opaque * 9 / 10);

    // A script that cannot be read stops the game before it starts.
    CHECK(testsupport::runCommand("env -u DISPLAY " + std::string(HENHOUSE_EXE) + " --events " + (dir / "none").string()
                                  + " >/dev/null 2>&1")
          == 2);
}
