#include "core/ImageTable.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TEST_CASE("the game runs a fixed number of frames and saves its last one", "[e2e]")
{
    const fs::path dir = testsupport::scratchDir("e2e");
    const fs::path shot = dir / "shot.png";
    const fs::path out = dir / "stdout.txt";
    const int status =
        testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 1 --fixed-dt 0.016 --frames 30 --screenshot "
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
    const std::string last = testsupport::progressLine(image::controlsCard, false);
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
    fs::create_directory_symlink(fs::canonical(fs::path(HENHOUSE_RUN_DIR) / "src/images"), dir / "src/images");
    const fs::path err = dir / "stderr.txt";
    const int status = testsupport::runCommand("cd " + dir.string() + " && " + HENHOUSE_EXE
                                               + " --frames 1 >/dev/null 2>" + err.string());
    CHECK(status == 1);
    CHECK(testsupport::readFile(err).find("henhouse: cannot load the sound file src/sounds/chikensong.wav")
          != std::string::npos);
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
    const int status =
        testsupport::runCommand(std::string(HENHOUSE_EXE) + " --seed 3 --fixed-dt 0.016 --frames 6 --events "
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

namespace {

// Mean difference per colour channel between the full-size frame and a
// smaller one, sampled every 24 scene units; `scale` and `offset` say where a
// scene point is drawn in the smaller frame.
double meanDifference(const sf::Image& full, const sf::Image& small, float scale, sf::Vector2f offset)
{
    double sum = 0.0;
    int samples = 0;
    for (unsigned y = 12; y < 1080; y += 24)
        for (unsigned x = 12; x < 1920; x += 24) {
            const sf::Vector2f at{offset.x + static_cast<float>(x) * scale, offset.y + static_cast<float>(y) * scale};
            if (at.x < 0.f || at.y < 0.f || at.x >= static_cast<float>(small.getSize().x)
                || at.y >= static_cast<float>(small.getSize().y)) {
                sum += 255.0;
                ++samples;
                continue;
            }
            const sf::Color a = full.getPixel({x, y});
            const sf::Color b = small.getPixel({static_cast<unsigned>(at.x), static_cast<unsigned>(at.y)});
            sum += (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b)) / 3.0;
            ++samples;
        }
    return sum / samples;
}

} // namespace

TEST_CASE("in a smaller window the whole farm is drawn, scaled to fit and centred", "[e2e][fit]")
{
    const fs::path dir = testsupport::scratchDir("fit");
    const std::string run = std::string(HENHOUSE_EXE) + " --seed 4 --fixed-dt 0.016 --frames 30 --mute";
    REQUIRE(testsupport::runCommand(run + " --screenshot " + (dir / "full.png").string() + " >/dev/null 2>&1") == 0);
    sf::Image full;
    REQUIRE(full.loadFromFile(dir / "full.png"));
    REQUIRE(full.getSize() == sf::Vector2u(1920, 1080));

    for (sf::Vector2u size : {sf::Vector2u{1280, 720}, sf::Vector2u{1366, 768}}) {
        const std::string name = std::to_string(size.x) + "x" + std::to_string(size.y);
        CAPTURE(name);
        const fs::path shot = dir / (name + ".png");
        const fs::path state = dir / (name + ".txt");
        REQUIRE(testsupport::runCommand(run + " --window-size " + name + " --screenshot " + shot.string()
                                        + " --state-file " + state.string() + " >/dev/null 2>&1")
                == 0);
        sf::Image small;
        REQUIRE(small.loadFromFile(shot));
        REQUIRE(small.getSize() == size);
        const float scale = std::min(size.x / 1920.f, size.y / 1080.f);
        const sf::Vector2f offset{(size.x - 1920.f * scale) / 2.f, (size.y - 1080.f * scale) / 2.f};
        const double fitted = meanDifference(full, small, scale, offset);
        // The same frame drawn one to one would show only its top-left part.
        const double cropped = meanDifference(full, small, 1.f, {0.f, 0.f});
        INFO("mean difference fitted " << fitted << ", drawn one to one " << cropped);
        CHECK(fitted < 16.0);
        CHECK(cropped > 3.0 * fitted);
        // Started muted, without a sound device: it runs, and says the music is off.
        CHECK(testsupport::readFile(state).find("\nmusic off\n") != std::string::npos);
        CHECK(testsupport::readFile(state).find("frame 30\n") == 0);
    }
}
