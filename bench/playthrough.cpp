// Playthrough: single slow frames in three minutes of scripted play.
//
// The game's own world, step and mouse handlers, on a window of the game's
// size, from a fresh start: the first frame comes right after the world is
// made, the mipmaps are made one a frame as the game makes them, and the
// player then goes through everything the farm offers, every thirty seconds
// again: the shop and each of its pages, a purchase of feed and of visits,
// the sorting window and its scanner, the eggs gathered, a feed bag dropped
// on each kind of feeder, the broom, the psychologist's, the vet's and the
// resort's cards, the music button, a hen carried off. A frame is what the
// game loop does: the frame's input, the world's step by 1/30 s, clear,
// draw, display. Every frame is timed; the report gives the percentiles, the
// slowest frames with what happened in them, and the peak memory.
//
// ./bench.sh playthrough [SECONDS]   (of play; 180 unless given)
#include "bench/ProcessMemory.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/EgglineObjects.hpp"
#include "platform/StartupMemory.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

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

constexpr float frameStep = 1.f / 30.f;
constexpr int framesPerSecond = 30;

using Clock = std::chrono::steady_clock;

sf::Vector2f centreOf(TActor& actor)
{
    const sf::FloatRect bounds = actor.getBounds();
    return bounds.position + bounds.size / 2.f;
}

// The player: each action goes through the world's handlers as the game's
// event loop hands them on (the pointer moves there first).
class Player {
public:
    explicit Player(TWorld& w)
        : world(w)
    {
    }
    void move(sf::Vector2f at)
    {
        world.onMouseMoved(at.x, at.y);
        mousePos = at;
    }
    void press(sf::Vector2f at)
    {
        move(at);
        world.onMousePressed(0, at.x, at.y);
    }
    void release(sf::Vector2f at)
    {
        move(at);
        world.onMouseReleased(0, at.x, at.y);
    }
    void click(sf::Vector2f at)
    {
        press(at);
        release(at);
    }

private:
    TWorld& world;
};

// What the player does, frame by frame: a label and the action.
struct Step {
    long frame;
    std::string what;
    std::function<void(TWorld&, Player&)> act;
};

sf::Vector2f toolbarButton(TWorld& world, int index) { return centreOf(*world.toolbarButtons[index]); }

// A drag over three frames: pressed at `from`, half way, released at `to`.
void addDrag(std::vector<Step>& steps, long frame, const std::string& what, std::function<sf::Vector2f(TWorld&)> from,
             std::function<sf::Vector2f(TWorld&)> to)
{
    steps.push_back({frame, what, [from](TWorld& world, Player& player) { player.press(from(world)); }});
    steps.push_back(
        {frame + 1, what, [from, to](TWorld& world, Player& player) { player.move((from(world) + to(world)) / 2.f); }});
    steps.push_back({frame + 2, what, [to](TWorld& world, Player& player) { player.release(to(world)); }});
}

// One round of play from `start` (a frame): every window, page and card.
void addRound(std::vector<Step>& steps, long start)
{
    const auto at = [start](double seconds) { return start + static_cast<long>(seconds * framesPerSecond); };
    const auto clickOn = [](std::function<sf::Vector2f(TWorld&)> where) {
        return [where](TWorld& world, Player& player) { player.click(where(world)); };
    };
    const auto tab = [](int k) { return [k](TWorld&) { return centreOf(*(*shop).pageTabs[k]); }; };
    const auto plus = [](int i) { return [i](TWorld&) { return centreOf(*(*shop).quantityButtons[i]); }; };
    const auto buy = [](TWorld&) { return centreOf(*(*shop).buyButton); };

    steps.push_back({at(0), "shop opened", clickOn([](TWorld& w) { return toolbarButton(w, 1); })});
    steps.push_back({at(1), "shop: chicks page", clickOn(tab(1))});
    steps.push_back({at(2), "shop: visitors page", clickOn(tab(2))});
    steps.push_back({at(2.5), "shop: a psychologist and a vet", [plus](TWorld& world, Player& player) {
                         player.click(plus(0)(world));
                         player.click(plus(1)(world));
                     }});
    steps.push_back({at(3), "shop: bought visits", clickOn(buy)});
    steps.push_back({at(4), "shop: feed page", clickOn(tab(0))});
    steps.push_back({at(4.5), "shop: three bags", [plus](TWorld& world, Player& player) {
                         for (int i = 0; i < 3; ++i)
                             player.click(plus(i)(world));
                     }});
    steps.push_back({at(5), "shop: bought feed", clickOn(buy)});
    steps.push_back({at(6), "shop closed", clickOn([](TWorld&) { return centreOf(*(*shop).closeButton); })});

    steps.push_back({at(7), "sorting opened", clickOn([](TWorld& w) { return toolbarButton(w, 0); })});
    steps.push_back({at(8), "scanner started", clickOn([](TWorld&) { return centreOf(*(*sortMachine).startButton); })});
    steps.push_back(
        {at(10), "scanner stopped", clickOn([](TWorld&) { return centreOf(*(*sortMachine).startButton); })});
    steps.push_back({at(11), "sorting closed", clickOn([](TWorld& w) { return toolbarButton(w, 0); })});

    steps.push_back({at(12), "eggs gathered", [](TWorld& world, Player& player) {
                         // Each click sends one egg to the table (or picks up a hen over it).
                         std::vector<sf::Vector2f> eggs;
                         for (TEgg2& egg : world.eggsOnFloor)
                             eggs.push_back(egg.getPosition());
                         for (const sf::Vector2f egg : eggs) {
                             player.click(egg);
                             if (dragKind != TWorld::DragNone)
                                 player.release(egg);
                         }
                     }});
    for (int bag = 0; bag < 3; ++bag)
        addDrag(
            steps, at(13 + bag), "feed bag " + std::to_string(bag + 1) + " dropped",
            [bag](TWorld&) { return centreOf((*inventorySlots)[static_cast<std::size_t>(bag)]); },
            [bag](TWorld& world) { return centreOf(world.feeders[bag]); });
    steps.push_back({at(16), "broom", clickOn([](TWorld& w) { return toolbarButton(w, 3); })});
    const auto field = [](TWorld&) { return sf::Vector2f{900.f, 600.f}; };
    addDrag(steps, at(17), "psychologist's card", [](TWorld& w) { return centreOf(w.psychologistCard); }, field);
    addDrag(steps, at(19), "vet's card", [](TWorld& w) { return centreOf(w.vetCard); }, field);
    addDrag(steps, at(21), "resort card", [](TWorld& w) { return centreOf(w.kurortCard); }, field);
    steps.push_back({at(22), "music off", clickOn([](TWorld& w) { return toolbarButton(w, 2); })});
    steps.push_back({at(23), "music on", clickOn([](TWorld& w) { return toolbarButton(w, 2); })});
    addDrag(
        steps, at(24), "a hen carried",
        [](TWorld& world) {
            return world.vecChikens.empty() ? sf::Vector2f{1000.f, 700.f} : world.vecChikens.front().getPosition();
        },
        [](TWorld&) { return sf::Vector2f{1000.f, 700.f}; });
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t index =
        std::min(values.size() - 1, static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size())));
    return values[index];
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(30, std::atoi(argv[1])) : 180;
    const long frames = static_cast<long>(seconds) * framesPerSecond;

    // As the game starts (see TGame::run).
    if (softwareRenderingLikely())
        shareOneHeap();
    buildProcessObjects(true);
    std::srand(7);
    sf::RenderWindow window(sf::VideoMode({1920, 1000}, 32), "playthrough", sf::Style::Default, sf::State::Windowed,
                            sf::ContextSettings{});
    window.setMaximumSize(sf::Vector2u(1920, 1080));
    window.setMinimumSize(sf::Vector2u(1920, 1080));
    window.setView(sf::View(sf::FloatRect({0.f, 0.f}, {1920.f, 1080.f})));
    window.clear(sf::Color::Black);
    window.display();
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();
    // Enough for every page's order in every round.
    coins = 100000;
    chickensToSpawn = 20;
    Player player(*world);

    std::vector<Step> steps;
    for (long start = 16L * framesPerSecond; start + 30L * framesPerSecond <= frames; start += 30L * framesPerSecond)
        addRound(steps, start);
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.frame < b.frame; });

    std::vector<double> times;
    std::map<long, std::string> happened;
    std::size_t next = 0;
    bool started = false;
    for (long frame = 0; frame < frames; ++frame) {
        const auto begin = Clock::now();
        if (frame > 0 && !started) {
            started = !continueStart(frame == 1);
            happened[frame] += started ? "a mipmap, the start over; " : "a mipmap; ";
        }
        for (; next < steps.size() && steps[next].frame == frame; ++next) {
            steps[next].act(*world, player);
            if (happened[frame].find(steps[next].what) == std::string::npos)
                happened[frame] += steps[next].what + "; ";
        }
        world->update(frameStep);
        window.clear(sf::Color::Black);
        world->drawDirect = frame == 0;
        world->draw(window);
        window.display();
        while (window.pollEvent()) {
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }

    // What the script got done, so a run that missed its targets shows it.
    std::printf("playthrough: %d s of play, %ld frames; %d coins left of 100000, %d hens, %d cleanings, %d visits "
                "left, %d eggs gathered, bags %d %d %d\n",
                seconds, frames, coins, static_cast<int>(world->vecChikens.size()), world->cleanCount,
                psychologistCount + vetCount, eggsCollected, (*inventorySlots)[0].count, (*inventorySlots)[1].count,
                (*inventorySlots)[2].count);

    const double p50 = percentile(times, 50), p90 = percentile(times, 90), p99 = percentile(times, 99);
    const double p999 = percentile(times, 99.9);
    double worst = 0, worstLater = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        worst = std::max(worst, times[i]);
        if (i >= static_cast<std::size_t>(framesPerSecond))
            worstLater = std::max(worstLater, times[i]);
    }
    std::vector<std::size_t> order(times.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return times[a] > times[b]; });
    std::printf("playthrough: the slowest frames:\n");
    for (std::size_t k = 0; k < std::min<std::size_t>(15, order.size()); ++k) {
        const long f = static_cast<long>(order[k]);
        std::printf("  frame %5ld (%6.2f s): %7.2f ms, %.1f x p50  %s\n", f, static_cast<double>(f) / framesPerSecond,
                    times[order[k]], times[order[k]] / p50, happened.count(f) ? happened[f].c_str() : "");
    }
    long over = 0;
    for (std::size_t i = static_cast<std::size_t>(framesPerSecond); i < times.size(); ++i)
        if (times[i] > 2 * p50)
            ++over;
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) < 1)
        load[0] = -1;
    std::printf("playthrough: p90 %.2f ms, p99.9 %.2f ms; after the first second: max %.2f ms (%.2f x p50), %ld "
                "frames over 2 x p50; peak RSS %.0f MiB; load average %.2f\n",
                p90, p999, worstLater, worstLater / p50, over, static_cast<double>(peakResidentKiB()) / 1024.0,
                load[0]);
    std::printf("playthrough: p50 %.2f ms, p99 %.2f ms, max %.2f ms (p99/p50 %.2f x, max/p50 %.2f x)\n", p50, p99,
                worst, p99 / p50, worst / p50);
    world.reset();
    destroyProcessObjects();
    return 0;
}
