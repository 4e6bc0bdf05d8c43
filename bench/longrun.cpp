// A long day on the farm: the world alone (no drawing, no
// player) for 24 hours of game time at 60 steps a second, 5,184,000 steps.
// Prints the objects the world holds and the process's memory every game
// hour, and a headline at the end. What may grow is what the game keeps by
// design: dirt until cleaned, chickens for good, eggs until picked up.
//
// ./bench.sh longrun [HOURS]
#include "bench/ProcessMemory.hpp"
#include "core/Globals.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr float frameStep = 1.f / 60.f;
constexpr long stepsPerHour = 60L * 60 * 60;

double liveHeapMiB() { return static_cast<double>(liveHeapBytes()) / (1024.0 * 1024.0); }

double keptByDesignMiB(const TWorld& world) { return static_cast<double>(keptByDesign(world)) / (1024.0 * 1024.0); }

void report(const char* label, const TWorld& world, double seconds)
{
    std::printf("longrun: %-8s %zu chickens, %zu floor eggs, %zu dirt spots, %zu bubbles; RSS %.1f MiB, live heap"
                " %.2f MiB (%.2f MiB in the world's vectors); %.1f s wall\n",
                label, world.vecChikens.size(), world.eggsOnFloor.size(), world.pollution.size(), world.bubbles.size(),
                static_cast<double>(residentKiB()) / 1024.0, liveHeapMiB(), keptByDesignMiB(world), seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const int hours = argc > 1 ? std::atoi(argv[1]) : 24;
    buildProcessObjects(false);
    std::srand(7);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();

    const long rssStart = residentKiB();
    const double heapStart = liveHeapMiB();
    report("start", *world, 0.0);
    const auto started = std::chrono::steady_clock::now();
    const auto wall = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(); };
    for (int h = 1; h <= hours; ++h) {
        for (long s = 0; s < stepsPerHour; ++s)
            world->update(frameStep);
        const std::string label = "hour " + std::to_string(h);
        report(label.c_str(), *world, wall());
    }

    const double seconds = wall();
    const long steps = stepsPerHour * hours;
    std::printf("longrun: %d game hours (%ld steps) in %.1f s, %.2f us per step; RSS %.1f -> %.1f MiB,"
                " live heap %+.2f MiB, of which %.2f MiB by design (%zu dirt spots, %zu eggs, %zu chickens)\n",
                hours, steps, seconds, seconds * 1e6 / static_cast<double>(steps),
                static_cast<double>(rssStart) / 1024.0, static_cast<double>(residentKiB()) / 1024.0,
                liveHeapMiB() - heapStart, keptByDesignMiB(*world), world->pollution.size(), world->eggsOnFloor.size(),
                world->vecChikens.size());
    world.reset();
    destroyProcessObjects();
    return 0;
}
