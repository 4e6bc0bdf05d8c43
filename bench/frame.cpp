// Frame time: the game's world and drawing in its busy scenes, next to one
// full-screen textured layer on the same window.
//
// Each scene is a real world (seed 7) brought to its state by the game's own
// step and mouse handlers: the field after ten minutes of play with 20 hens,
// the sorting window with 60 eggs and the scanner running, the shop, the
// broom's bubbles, the psychologist's notes, and a field with 20,000 dirt
// spots. A frame is what the game loop does: step the world by 1/60 s,
// clear, draw, display. The reference frame is a clear, one sprite with a
// window-sized texture, and a display. Only frames after a warm-up are timed;
// scene and reference frames alternate in short blocks, so both see the same
// machine. Each scene prints its median frame and its ratio to the
// reference (the median over the blocks); the last line is the worst ratio.
//
// ./bench.sh frame [ROUNDS [SCENE]]   (SCENE: only the scenes whose name contains it)
#include "bench/ProcessMemory.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "platform/StartupMemory.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float frameStep = 1.f / 60.f;
constexpr int blockFrames = 12;
constexpr int warmFrames = 30;

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// One scene: how to bring a fresh world to it, and what to do between frames
// (a player who keeps clicking, say).
struct Scene {
    const char* name;
    std::function<void(TWorld&)> setup;
    std::function<void(TWorld&, long frame)> everyFrame;
};

void click(TWorld& world, sf::Vector2f at)
{

    world.onMouseMoved(at.x, at.y);
    mousePos = at;
    world.onMousePressed(0, at.x, at.y);
    world.onMouseReleased(0, at.x, at.y);
}

// Ten minutes of play with 20 hens; the eggs they lay are collected as they
// come (a player at the farm), the dirt is left.
void tenMinutes(TWorld& world)
{
    chickensToSpawn = 20;
    for (long step = 0; step < 600L * 60; ++step) {
        world.update(frameStep);
        if (step % 60 == 0)
            world.eggsOnFloor.clear();
    }
}

std::vector<Scene> scenes()
{
    std::vector<Scene> list;
    list.push_back({"field", tenMinutes, nullptr});
    list.push_back({"sorting",
                    [](TWorld& world) {
                        tenMinutes(world);
                        // Sixty eggs laid and clicked onto the table by the mouse handler.
                        while (world.eggsOnTable.size() < 60) {
                            world.eggTemplate.setPosition({static_cast<float>(std::rand() % 1200 + 300),
                                                           static_cast<float>(std::rand() % 300 + 450)});
                            world.eggTemplate.setRotation(sf::degrees(static_cast<float>(std::rand() % 360)));
                            world.eggsOnFloor.push_back(world.eggTemplate);
                            world.mode = TWorld::ModeField;
                            const sf::Vector2f at = world.eggsOnFloor.back().getPosition();
                            world.onMousePressed(0, at.x, at.y);
                            world.onMouseReleased(0, at.x, at.y);
                        }
                        packC0Count = 5;
                        packC1Count = 4;
                        world.mode = TWorld::ModeSortingRunning;
                        world.refreshToolbarIcons();
                    },
                    nullptr});
    list.push_back({"shop",
                    [](TWorld& world) {
                        tenMinutes(world);
                        world.mode = TWorld::ModeShop;
                        world.refreshToolbarIcons();
                    },
                    nullptr});
    list.push_back({"broom bubbles", tenMinutes, [](TWorld& world, long frame) {
                        // The broom, twice a second; a hen sitting on the button is lifted off it first.
                        if (frame % 30 != 0)
                            return;
                        const sf::Vector2f at = world.toolbarButtons[3]->getPosition() + sf::Vector2f{56.f, 56.f};
                        for (TChiken2& hen : world.vecChikens)
                            if (hen.contains(at.x, at.y))
                                hen.move({0.f, -400.f});
                        click(world, at);
                    }});
    list.push_back({"psychologist notes",
                    [](TWorld& world) {
                        tenMinutes(world);
                        psychologistCount = 1000000;
                    },
                    [](TWorld& world, long frame) {
                        // The card dragged onto the field every second and a half.
                        if (frame % 90 != 0)
                            return;
                        const sf::Vector2f card = world.psychologistCard.getPosition();
                        world.onMouseMoved(card.x, card.y);
                        mousePos = card;
                        world.onMousePressed(0, card.x, card.y);
                        world.onMouseMoved(900.f, 600.f);
                        mousePos = {900.f, 600.f};
                        world.onMouseReleased(0, 900.f, 600.f);
                    }});
    list.push_back({"20,000 dirt spots",
                    [](TWorld& world) {
                        tenMinutes(world);
                        while (world.pollution.size() < 20000)
                            world.spawnPollution(5.f);
                    },
                    nullptr});
    return list;
}

double mib(double bytes) { return bytes / (1024.0 * 1024.0); }

// Where the resident memory goes, next to what the textures need.
void reportMemory(long playRss)
{
    double pixels = 0, mipmaps = 0;
    TTextureStore& store = TTextureStore::instance();
    for (const int id : store.loadedIds()) {
        const sf::Texture& texture = store.getTexture(id);
        const double bytes = 4.0 * texture.getSize().x * texture.getSize().y;
        pixels += bytes;
        if (texture.isSmooth())
            mipmaps += bytes / 3.0;
    }
    std::map<std::string, long> kinds = residentByMapping();
    long files = 0;
    std::string largest;
    long largestKib = 0;
    for (const auto& [name, kib] : kinds)
        if (name.rfind("file ", 0) == 0) {
            files += kib;
            if (kib > largestKib) {
                largestKib = kib;
                largest = name.substr(5);
            }
        }
    std::printf("frame: memory: textures' pixels %.0f MiB + mipmaps %.0f MiB; resident %.0f MiB in play: heap %.0f MiB"
                " (%.0f MiB in use, %.0f MiB free), other anonymous %.0f MiB, files %.0f MiB (largest %s %.0f MiB)\n",
                mib(pixels), mib(mipmaps), static_cast<double>(playRss) / 1024.0, kinds["heap"] / 1024.0,
                mib(static_cast<double>(liveHeapBytes())), mib(static_cast<double>(freeHeapBytes())),
                kinds["anonymous"] / 1024.0, files / 1024.0, largest.c_str(), largestKib / 1024.0);
    std::printf("frame: resident memory in play %.0f MiB, %.0f MiB above the textures' pixels and mipmaps\n",
                static_cast<double>(playRss) / 1024.0, static_cast<double>(playRss) / 1024.0 - mib(pixels + mipmaps));
}

struct Figures {
    std::string name;
    std::vector<double> frames;
    std::vector<double> ratios;
};

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    const std::string only = argc > 2 ? argv[2] : "";
    // As the game starts.
    if (softwareRenderingLikely())
        shareOneHeap();
    buildProcessObjects(false);

    // The game's own window.
    sf::RenderWindow window(sf::VideoMode({1920, 1000}, 32), "frame", sf::Style::Default, sf::State::Windowed,
                            sf::ContextSettings{});
    window.setMaximumSize(sf::Vector2u(1920, 1080));
    window.setMinimumSize(sf::Vector2u(1920, 1080));
    while (window.pollEvent()) {
    }
    // Whatever grows the window to its minimum size, the view stays one unit per pixel.
    window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(window.getSize()))));
    // One empty frame at that size, as the game shows before its first.
    window.clear(sf::Color::Black);
    window.display();
    std::printf("frame: window %ux%u\n", window.getSize().x, window.getSize().y);

    // The reference layer: an opaque, varied picture as big as the window
    // (its pixels in this process's memory only as the texture's, like the
    // game's own pictures).
    const sf::Texture layer = [&] {
        sf::Image picture(window.getSize());
        for (unsigned y = 0; y < picture.getSize().y; ++y)
            for (unsigned x = 0; x < picture.getSize().x; ++x)
                picture.setPixel({x, y},
                                 sf::Color(static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 3),
                                           static_cast<std::uint8_t>(x ^ y), 255));
        return sf::Texture(picture);
    }();
    const sf::Sprite layerSprite(layer);
    const auto referenceFrame = [&] {
        const auto start = Clock::now();
        window.clear(sf::Color::Black);
        window.draw(layerSprite);
        window.display();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };

    double worst = 0.0;
    std::string worstName;
    long playRss = 0;
    for (const Scene& scene : scenes()) {
        if (std::string(scene.name).find(only) == std::string::npos)
            continue;
        resetGlobalValues();
        resetGameObjects();
        std::srand(7);
        auto world = std::make_unique<TWorld>();
        world->placeSharedSprites();
        scene.setup(*world);

        long frame = 0;
        const auto sceneFrame = [&] {
            const auto start = Clock::now();
            if (scene.everyFrame)
                scene.everyFrame(*world, frame);

            ++frame;
            world->update(frameStep);
            window.clear(sf::Color::Black);
            world->draw(window);
            window.display();
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        };
        // The start's tail, as the game goes through it: every mipmap made.
        for (bool first = true; continueStart(first); first = false)
            (void)sceneFrame();
        for (int i = 0; i < warmFrames; ++i) {
            (void)sceneFrame();
            (void)referenceFrame();
        }
        // A player who keeps clicking: until the bubbles of the first clicks fade.
        if (scene.everyFrame)
            for (int i = 0; i < 200; ++i)
                (void)sceneFrame();
        if (playRss == 0) {
            playRss = residentKiB();
            reportMemory(playRss);
        }

        Figures figures{scene.name, {}, {}};
        for (int r = 0; r < rounds; ++r) {
            std::vector<double> ref, own;
            for (int i = 0; i < blockFrames; ++i)
                ref.push_back(referenceFrame());
            for (int i = 0; i < blockFrames; ++i)
                own.push_back(sceneFrame());
            for (int i = 0; i < blockFrames; ++i)
                ref.push_back(referenceFrame());
            figures.frames.insert(figures.frames.end(), own.begin(), own.end());
            figures.ratios.push_back(median(own) / median(ref));
        }
        const double ratio = median(figures.ratios);
        std::printf("frame: %-20s %6.2f ms a frame, %.2f x one full-screen layer (%zu hens, %zu dirt spots, %zu "
                    "bubbles, %zu table eggs)\n",
                    scene.name, median(figures.frames), ratio, world->vecChikens.size(), world->pollution.size(),
                    world->bubbles.size(), world->eggsOnTable.size());
        std::fflush(stdout);
        if (ratio > worst) {
            worst = ratio;
            worstName = scene.name;
        }
    }

    std::vector<double> ref;
    for (int i = 0; i < blockFrames * rounds; ++i)
        ref.push_back(referenceFrame());
    std::printf("frame: reference layer %.2f ms a frame\n", median(ref));
    std::printf("frame: peak resident memory %.0f MiB (in play %.0f MiB)\n",
                static_cast<double>(peakResidentKiB()) / 1024.0, static_cast<double>(playRss) / 1024.0);
    std::printf("frame: worst %.2f x one full-screen layer (%s)\n", worst, worstName.c_str());
    destroyProcessObjects();
    return 0;
}
