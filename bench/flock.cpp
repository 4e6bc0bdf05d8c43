// The world step with a flock of 10, 1,000 and 10,000 chickens living their
// normal life (strolling, drinking, eating from stocked feeders, laying),
// timed in nanoseconds per chicken per step. Fixed seed and fixed frame step,
// so every run simulates exactly the same thing.
#include "core/Globals.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr float frameStep = 1.f / 60.f;
constexpr unsigned seed = 12345;
constexpr long stepsPerRound = 3600; // one minute at 60 steps a second

// Runs `steps` world steps and returns the wall time in nanoseconds.
double timeSteps(TWorld& world, long steps)
{
    const auto start = std::chrono::steady_clock::now();
    for (long s = 0; s < steps; ++s)
        world.update(frameStep);
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(stop - start).count();
}

// One round: a fresh world with `chickens` birds, a minute of play to settle
// in (not timed), then a timed minute. Adds the timed nanoseconds to `ns`.
void runRound(int chickens, double& ns, bool report)
{
    resetGlobalValues();
    std::srand(seed);
    TWorld world;
    // Feeders deep enough that nobody empties them during the run.
    for (TFeeding& feeder : world.feeders)
        feeder.addFood(1.0e7f);
    chickensToSpawn = chickens;
    world.update(0.f);

    // A mixed flock: chicks, layers and old birds (none old enough to leave
    // before the round ends), with the egg urge spread so eggs keep coming.
    for (int i = 0; i < chickens; ++i) {
        TChiken2& c = world.vecChikens[static_cast<std::size_t>(i)];
        c.age = static_cast<float>((i * 7) % 700);
        c.eggUrge = static_cast<float>(i % 100) / 100.f;
    }

    timeSteps(world, stepsPerRound);
    ns += timeSteps(world, stepsPerRound);

    if (!report)
        return;
    int eating = 0, drinking = 0, laying = 0, walking = 0;
    for (const TChiken2& c : world.vecChikens) {
        eating += c.getState() == TChiken2::Eating;
        drinking += c.getState() == TChiken2::Drinking;
        laying += c.getState() == TChiken2::Laying;
        walking += c.getState() == TChiken2::Walking;
    }
    std::printf("flock: %5d chickens at the end of a round: walking %d, eating %d, drinking %d, laying %d;"
                " %zu eggs laid\n",
                chickens, walking, eating, drinking, laying, world.eggsOnFloor.size());
}

double nsPerChickenStep(int chickens)
{
    // About 36 million timed chicken-steps per size, one round at least.
    const int rounds = std::max(1, 36000000 / (chickens * static_cast<int>(stepsPerRound)));
    double ns = 0.0;
    for (int r = 0; r < rounds; ++r)
        runRound(chickens, ns, r == 0);
    const double perChickenStep = ns / (static_cast<double>(rounds) * stepsPerRound * chickens);
    std::printf("flock: %5d chickens, %4d rounds of %ld steps: %6.1f ns per chicken per step\n", chickens, rounds,
                stepsPerRound, perChickenStep);
    return perChickenStep;
}

} // namespace

int main()
{
    buildProcessObjects(false);
    double last = 0.0;
    for (int chickens : {10, 1000, 10000})
        last = nsPerChickenStep(chickens);
    std::printf("flock: %ld ns per chicken per step at 10000 chickens\n", std::lround(last));
    destroyProcessObjects();
    return 0;
}
