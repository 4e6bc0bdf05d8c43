// The world left alone for an hour of game time at 60 steps a second: what it
// keeps by design (dirt until cleaned, chickens for good, eggs until picked
// up) may grow, and nothing else may. The full day is bench/longrun.cpp.
//
// HENHOUSE_LONGRUN_HOURS=H plays H game hours instead of one.
#include "bench/ProcessMemory.hpp"
#include "core/Globals.hpp"
#include "support/TestSupport.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <catch2/catch_test_macros.hpp>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

TEST_CASE("an hour of the world alone keeps only what the game keeps by design", "[reliability][longrun]")
{
    const double hours = testsupport::envDouble("HENHOUSE_LONGRUN_HOURS", 1.0);
    const long steps = std::lround(hours * 3600.0 * 60.0);
    constexpr float dt = 1.f / 60.f;

    testsupport::freshGame();
    std::srand(7);
    auto world = std::make_unique<TWorld>();
    world->placeSharedSprites();

    // Settle for twenty minutes: every bird has grown up, laid and grown old.
    const long settle = std::min(steps, 20L * 60 * 60);
    for (long s = 0; s < settle; ++s)
        world->update(dt);
    const std::size_t heapBefore = liveHeapBytes();
    const std::size_t designBefore = keptByDesign(*world);
    const long rssBefore = residentKiB();
    const std::size_t eggsBefore = world->eggsOnFloor.size();

    double clock = static_cast<double>(settle) / 60.0;
    for (long s = settle; s < steps; ++s) {
        world->update(dt);
        clock += 1.0 / 60.0;
    }

    const std::size_t heapAfter = liveHeapBytes();
    const std::size_t designAfter = keptByDesign(*world);
    const long rssAfter = residentKiB();
    std::printf("longrun: %.2f game hours, %ld steps: %zu chickens, %zu floor eggs, %zu dirt spots, %zu bubbles;"
                " live heap %+.1f KiB (%+.1f KiB by design) after minute 20; RSS %ld KiB -> %ld KiB\n",
                hours, steps, world->vecChikens.size(), world->eggsOnFloor.size(), world->pollution.size(),
                world->bubbles.size(), (static_cast<double>(heapAfter) - static_cast<double>(heapBefore)) / 1024.0,
                (static_cast<double>(designAfter) - static_cast<double>(designBefore)) / 1024.0, rssBefore, rssAfter);

    // Nobody bought or picked anything: five birds, no bubbles, nothing on the table.
    CHECK(world->vecChikens.size() == 5);
    CHECK(world->bubbles.empty());
    CHECK(world->eggsOnTable.empty());
    // A dirt spot every 5 s once two minutes have passed.
    const double expectedDirt = (clock - 120.0) / 5.0;
    CHECK(std::abs(static_cast<double>(world->pollution.size()) - expectedDirt) <= 2.0);
    // Birds of fifteen minutes are off to the resort, so laying stopped before minute 20.
    CHECK(world->eggsOnFloor.size() == eggsBefore);
    for (const TChiken2& chicken : world->vecChikens)
        CHECK(chicken.stage == TChiken2::Leaving);

    // Nothing beyond the designed vectors grew by more than small change.
    constexpr double slack = 512.0 * 1024.0;
    CHECK(static_cast<double>(heapAfter) - static_cast<double>(heapBefore)
          <= static_cast<double>(designAfter) - static_cast<double>(designBefore) + slack);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizer holds freed memory in quarantine, so only the plain build
    // judges the resident size.
    CHECK(rssAfter - rssBefore <= static_cast<long>((designAfter - designBefore) / 1024) + 8 * 1024);
#endif
}
