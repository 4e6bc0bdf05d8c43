// The scanner's marks tell good eggs from bad by shape as well as colour: a
// screenshot of the running scanner, put through a simulation of red-green
// colour blindness, still shows the two apart.
#include "core/Globals.hpp"
#include "support/EgglineKit.hpp"
#include "support/TestSupport.hpp"
#include "world/TFarmSave.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>

#include <catch2/catch_test_macros.hpp>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Rgb = std::array<double, 3>;

double toLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double toGamma(double c)
{
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

// Machado, Oliveira and Fernandes (2009), full severity, on linear RGB.
using Matrix = std::array<Rgb, 3>;
constexpr Matrix deuteranopia{
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix protanopia{
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix normalVision{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// The pixel as a viewer with that vision sees it, in 0..1 sRGB.
Rgb seen(const sf::Image& shot, unsigned x, unsigned y, const Matrix& m)
{
    const sf::Color c = shot.getPixel({x, y});
    const Rgb lin{toLinear(c.r / 255.0), toLinear(c.g / 255.0), toLinear(c.b / 255.0)};
    Rgb out{};
    for (int i = 0; i < 3; ++i)
        out[i] = toGamma(m[i][0] * lin[0] + m[i][1] * lin[1] + m[i][2] * lin[2]);
    return out;
}

// An egg's square of the screenshot, as seen.
constexpr int half = 24;
using Patch = std::vector<Rgb>;
Patch patchAt(const sf::Image& shot, sf::Vector2f centre, const Matrix& m)
{
    Patch p;
    for (int dy = -half; dy < half; ++dy)
        for (int dx = -half; dx < half; ++dx)
            p.push_back(seen(shot, static_cast<unsigned>(static_cast<int>(centre.x) + dx),
                             static_cast<unsigned>(static_cast<int>(centre.y) + dy), m));
    return p;
}

// The mean colour distance of two patches (0..sqrt 3), over the pixels where
// they differ from the table around them in either.
double colourDistance(const Patch& a, const Patch& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::sqrt((a[i][0] - b[i][0]) * (a[i][0] - b[i][0]) + (a[i][1] - b[i][1]) * (a[i][1] - b[i][1])
                         + (a[i][2] - b[i][2]) * (a[i][2] - b[i][2]));
    return sum / static_cast<double>(a.size());
}

// Where the mark's strokes are: the patch's light pixels.
std::vector<bool> strokes(const Patch& p)
{
    std::vector<bool> s;
    for (const Rgb& c : p)
        s.push_back(0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2] > 0.8);
    return s;
}

// Shared part of two stroke masks (intersection over union).
double overlap(const std::vector<bool>& a, const std::vector<bool>& b)
{
    int both = 0, either = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either == 0 ? 1.0 : static_cast<double>(both) / either;
}

} // namespace

TEST_CASE("under the running scanner good and bad eggs differ in shape, not only in colour", "[e2e][colour]")
{
    const fs::path dir = testsupport::scratchDir("colourblind");
    const fs::path save = dir / "farm.json";
    // A farm with the scanner running over a row of eggs on the machine's
    // board, good and bad in turn, four lying straight and four turned.
    struct Egg {
        sf::Vector2f at;
        float degrees;
        bool bad;
    };
    std::vector<Egg> eggs;
    for (int k = 0; k < 8; ++k)
        eggs.push_back({{785.f + 53.f * static_cast<float>(k), 340.f}, k < 4 ? 0.f : 135.f, k % 2 == 1});
    {
        testsupport::freshGame();
        TWorld world;
        world.placeSharedSprites();
        world.storyClock.elapsed = 30.f; // past the opening story
        world.mode = TWorld::ModeSortingRunning;
        world.vecChikens.clear();
        chickensToSpawn = 0;
        for (const Egg& e : eggs) {
            TEgg2& egg = eggkit::addTableEgg(world, e.at, e.bad);
            egg.setRotation(sf::degrees(e.degrees));
        }
        std::ofstream(save) << TFarmSave::toJson(TFarmSave::capture(world));
    }
    const fs::path shot = dir / "scanner.png";
    REQUIRE(testsupport::runCommand(std::string(HENHOUSE_EXE) + " --save " + save.string()
                                    + " --seed 1 --fixed-dt 0.001 --frames 3 --mute --screenshot " + shot.string()
                                    + " >" + (dir / "out.txt").string() + " 2>&1")
            == 0);
    sf::Image image;
    REQUIRE(image.loadFromFile(shot));
    REQUIRE(image.getSize() == sf::Vector2u(1920, 1080));

    struct Vision {
        const char* name;
        const Matrix& m;
    };
    for (const Vision vision :
         {Vision{"normal", normalVision}, Vision{"deuteranopia", deuteranopia}, Vision{"protanopia", protanopia}}) {
        INFO(vision.name << " vision");
        std::vector<Patch> patches;
        for (const Egg& e : eggs)
            patches.push_back(patchAt(image, e.at, vision.m));
        // Each egg against every other lying at the same turn.
        double apart = 1e9, alike = 0, shapeApart = 1, shapeAlike = 1;
        for (std::size_t i = 0; i < eggs.size(); ++i)
            for (std::size_t j = i + 1; j < eggs.size(); ++j) {
                if (eggs[i].degrees != eggs[j].degrees)
                    continue;
                const double d = colourDistance(patches[i], patches[j]);
                const double o = overlap(strokes(patches[i]), strokes(patches[j]));
                if (eggs[i].bad != eggs[j].bad) {
                    apart = std::min(apart, d);
                    shapeApart = std::min(shapeApart, 1 - o);
                } else {
                    alike = std::max(alike, d);
                    shapeAlike = std::min(shapeAlike, o);
                }
            }
        UNSCOPED_INFO("good against bad: colour distance at least " << apart << ", strokes apart " << shapeApart
                                                                    << "; like against like: at most " << alike
                                                                    << ", strokes shared " << shapeAlike);
        // Like eggs look alike; unlike ones clearly apart, by colour as seen
        // and by the strokes of the mark alone.
        CHECK(alike < 0.02);
        CHECK(apart > 0.075);
        CHECK(apart > 5 * alike);
        CHECK(shapeAlike > 0.9);
        CHECK(shapeApart > 0.6);
    }
}
